#include "ui/cp1250_text.h"

#include <QFile>
#include <QList>
#include <QStringView>

#include "store/text_codec.h"

namespace vrk {

QString FromCp1250(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (unsigned char byte : bytes) {
        // Every Windows-1250 code point lies in the basic plane.
        text.append(QChar(static_cast<char16_t>(Cp1250ToUnicode(byte))));
    }
    return text;
}

std::string ToCp1250(const QString& text, bool* lossless, char replacement) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    bool exact = true;
    // Walk code points, not UTF-16 units, so that a surrogate pair becomes one
    // replacement byte rather than two.
    for (char32_t code : QStringView(text).toUcs4()) {
        if (auto byte = UnicodeToCp1250(code)) {
            bytes.push_back(static_cast<char>(*byte));
        } else {
            bytes.push_back(replacement);
            exact = false;
        }
    }
    if (lossless) *lossless = exact;
    return bytes;
}

QList<char32_t> CharactersOutsideCp1250(const QString& text, qsizetype most) {
    QList<char32_t> found;
    for (const char32_t code : QStringView(text).toUcs4()) {
        if (found.size() == most) break;
        if (!UnicodeToCp1250(code) && !found.contains(code)) found.append(code);
    }
    return found;
}

std::string PathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString PathText(std::string_view bytes) {
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

}  // namespace vrk
