#include "finder/entry_record.h"

#include "store/format.h"
#include "ui/cp1250_text.h"

namespace {

// Appends `text` in Windows-1250 with the bytes a record cannot hold replaced.
void AppendField(std::string& record, const QString& text, bool& replaced) {
    bool lossless = true;
    std::string bytes = vrk::ToCp1250(text, &lossless);
    replaced = replaced || !lossless;
    for (char& c : bytes) {
        if (c == vrk::kTerminator || c == vrk::kDescriptionMark || c == vrk::kResultSeparator) {
            c = ' ';
            replaced = true;
        }
    }
    record += bytes;
}

}  // namespace

QString EditorText(const QString& description) {
    QString text = description;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString DescriptionFromEditor(const QString& rawText, const QString& lineBreak) {
    QString text = rawText;
    // The document ends paragraphs with U+2029 and breaks lines with U+2028.
    text.replace(QChar::ParagraphSeparator, lineBreak);
    text.replace(QChar::LineSeparator, lineBreak);
    return text;
}

QString LineBreakOf(const QString& description, const QString& fallback) {
    for (qsizetype i = 0; i < description.size(); ++i) {
        if (description[i] == QLatin1Char('\n')) return QStringLiteral("\n");
        if (description[i] == QLatin1Char('\r'))
            return i + 1 < description.size() && description[i + 1] == QLatin1Char('\n')
                       ? QStringLiteral("\r\n")
                       : QStringLiteral("\r");
    }
    return fallback;
}

TSplitRecord SplitRecord(std::string_view record) {
    TSplitRecord split;
    std::size_t mark = record.find(vrk::kDescriptionMark);
    split.word = vrk::FromCp1250(record.substr(0, mark));
    while (mark != std::string_view::npos) {
        const std::size_t next = record.find(vrk::kDescriptionMark, mark + 1);
        const std::size_t end = next == std::string_view::npos ? record.size() : next;
        split.descriptions.append(vrk::FromCp1250(record.substr(mark + 1, end - mark - 1)));
        mark = next;
    }
    return split;
}

std::string BuildRecord(const QString& word, std::span<const QString> descriptions,
                        bool* replaced) {
    bool changed = false;
    std::string record;
    AppendField(record, word, changed);
    const bool onlyEmpty = descriptions.size() == 1 && descriptions.front().isEmpty();
    if (!onlyEmpty) {
        for (const QString& description : descriptions) {
            record += vrk::kDescriptionMark;
            AppendField(record, description, changed);
        }
    }
    if (replaced) *replaced = changed;
    return record;
}
