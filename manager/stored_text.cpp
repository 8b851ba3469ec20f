#include "manager/stored_text.h"

#include <QList>

#include "manager/manager_texts.h"
#include "ui/cp1250_text.h"
#include "ui/message_box.h"

namespace {

// At most this many characters are named; a longer list ends with "…".
constexpr qsizetype kMaxNamed = 10;

}  // namespace

QString UnstorableCharacters(const QString& text) {
    QList<char32_t> found = vrk::CharactersOutsideCp1250(text, kMaxNamed + 1);
    const bool more = found.size() > kMaxNamed;
    if (more) found.removeLast();
    QStringList named;
    for (const char32_t c : found) {
        // The code names characters that show as nothing or as a blank.
        const QString code =
            QStringLiteral("U+%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0')).toUpper();
        named.append(QChar::isPrint(c) && !QChar::isSpace(c)
                         ? QString::fromUcs4(&c, 1) + QStringLiteral(" (") + code + ')'
                         : code);
    }
    if (more) named.append(QStringLiteral("…"));
    return named.join(QStringLiteral(", "));
}

bool CheckStorable(QWidget* parent, const QString& text) {
    const QString unstorable = UnstorableCharacters(text);
    if (unstorable.isEmpty()) return true;
    vrk::ShowWarning(parent, vrk::texts::kTextNotStorable.arg(unstorable));
    return false;
}
