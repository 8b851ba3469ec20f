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
    QList<char32_t> found;
    bool more = false;
    for (const char32_t c : text.toUcs4()) {
        if (found.contains(c) || vrk::FitsCp1250(QString::fromUcs4(&c, 1))) continue;
        if (found.size() == kMaxNamed) {
            more = true;
            break;
        }
        found.append(c);
    }
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
    vrk::ShowWarning(parent, texts::kTextNotStorable.arg(unstorable));
    return false;
}
