// TEntryState: the finder's current word, the one the entry window shows.
// The main frame holds one; every undo step keeps a copy of it. Members keep
// the names the entry editing is described by (m_strWord ... m_nCurDesc).
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The entry state holds at most this many descriptions of a word.
inline constexpr int MAX_DESCRIPTIONS = 100;

struct TEntryState {
    // The unnamed word that belongs to no dictionary, with one empty
    // description: the state of a new word.
    TEntryState();

    QString m_strWord;
    // The dictionary that holds the word; empty for a word of none.
    QString m_strDataFile;
    // The word's entry index in that dictionary; -1 for none. Undo steps may
    // hold a deletion tag here (undo_history.h).
    std::int32_t m_nClueIndex = -1;
    // Descriptions, 1 ... MAX_DESCRIPTIONS, and their number when the word
    // was last loaded or saved.
    int m_nDescCount = 1;
    int m_nSavedDescCount = 1;
    // The description shown, from 0.
    int m_nCurDesc = 0;
    // The descriptions as edited and as last loaded or saved (slots from the
    // count on hold nothing that counts).
    std::array<QString, MAX_DESCRIPTIONS> m_strEditDesc;
    std::array<QString, MAX_DESCRIPTIONS> m_strSavedDesc;
    // The whole record the dictionary holds at m_nClueIndex, as last read or
    // written: every change of that entry expects to find it there, so that
    // a dictionary changed by another program meanwhile is never changed at
    // the wrong entry.
    std::string m_strFileRecord;
    // Descriptions the entry has in its dictionary beyond the
    // MAX_DESCRIPTIONS loaded; a Save asks before it drops them.
    int m_nMoreDescs = 0;

    // Becomes entry `index` of `dataFile` as `record` holds it, showing
    // description `nDesc` (kept within the descriptions). Only the first
    // MAX_DESCRIPTIONS descriptions are taken; an entry without any shows one
    // empty description.
    void Load(const QString& dataFile, std::int32_t index, std::string_view record, int nDesc);
    // The descriptions in use, as edited.
    std::span<const QString> EditedDescriptions() const;
    // True when the descriptions differ from their loaded or saved state:
    // another number of them, or any text.
    bool DiffersFromSaved() const;
};
