#include "ui/ui_init.h"

#include <QFont>
#include <QStringList>
#include <mutex>

#include "ui/message_box.h"
#include "ui/qt_translation.h"
#include "ui/startup_check.h"

// Outside any namespace, as Q_INIT_RESOURCE requires.
static void InitResourceFiles() {
    Q_INIT_RESOURCE(icons);
    Q_INIT_RESOURCE(help);
}

namespace vrk {

void EnsureUiResources() {
    static std::once_flag once;
    std::call_once(once, InitResourceFiles);
}

void InitUi() {
    EnsureUiResources();
    // Stored fonts and the drawn texts name faces of another desktop; give
    // each the closest face commonly installed here.
    QFont::insertSubstitutions(QStringLiteral("Arial CE"),
                               {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(
        QStringLiteral("Times New Roman"),
        {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"), {QStringLiteral("Liberation Mono"),
                                                               QStringLiteral("DejaVu Sans Mono")});
    InstallQtTranslations();
    InstallRegistryQuestion();
    ArmStartupCheck();
}

}  // namespace vrk
