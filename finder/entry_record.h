// An entry's texts as the finder holds them, and the record a dictionary
// stores for them (the word, then 0x01 and the text of each description,
// Windows-1250). The finder keeps the texts exactly as the dictionary holds
// them; only the entry editor shows line breaks its own way.
#pragma once

#include <QString>
#include <QStringList>
#include <span>
#include <string>
#include <string_view>

// A description as the editor shows it: each CR LF (or lone CR) a line break.
QString EditorText(const QString& description);
// The editor's raw text (QTextDocument::toRawText) as a description: each
// line break becomes `lineBreak` (CR LF, as dictionaries mostly keep them).
QString DescriptionFromEditor(const QString& rawText,
                              const QString& lineBreak = QStringLiteral("\r\n"));
// The line break a description uses (its first one: CR LF, LF or CR), or
// `fallback` when it has none; an edited description keeps its own.
QString LineBreakOf(const QString& description, const QString& fallback);

// A record's word and every description, in order.
struct TSplitRecord {
    QString word;
    QStringList descriptions;
};
TSplitRecord SplitRecord(std::string_view record);

// The record that stores `word` with `descriptions`. A word whose only
// description is empty is stored as the word alone, the way an entry
// without descriptions is shown (one empty description). Characters a record
// cannot hold are replaced: 0x00, 0x01 and 0x02 (they end a record, start a
// description, separate search results) by a space, characters Windows-1250
// has no byte for by "?"; `replaced` tells whether anything was.
std::string BuildRecord(const QString& word, std::span<const QString> descriptions,
                        bool* replaced = nullptr);
