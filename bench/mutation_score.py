#!/usr/bin/env python3
"""Mutation score of the tests: how many single-point changes to the code of
store/, settings/, the finder's entry editing and the manager's commands make
at least one of that folder's tests fail.

Each change below is one realistic slip (a boundary moved by one, a condition
dropped, a statement left out). The script copies the committed tree into
build/mutation/src, and for each change: applies it, builds the folder's test
programs, runs them (a change the tests do not notice "survives"), and takes
the change back. Builds and test runs go through the command given with
--lock (on a shared machine, the build lock), one change at a time.

    bench/mutation_score.py [--lock CMD] [--only FOLDER] [--what DESCRIPTION]... [--list]

Prints one line per change and the score per folder. A change that does not
compile is left out of the score (none should).
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# (folder, file, text, replacement, what the slip is)
MUTANTS = [
    # --- store
    ("store", "store/data_file.cpp",
     "static_cast<std::uint64_t>(count) + ENTRY_BASE <= recordBytes",
     "static_cast<std::uint64_t>(count) + ENTRY_BASE < recordBytes", "count bound off by one"),
    ("store", "store/data_file.cpp",
     "pictureSize > size - kEmptyFileSize) return size;",
     "pictureSize >= size - kEmptyFileSize) return size;", "picture bound off by one"),
    ("store", "store/data_file.cpp",
     "return text.size() <= kMaxRecordText &&", "return text.size() < kMaxRecordText &&",
     "record limit off by one"),
    ("store", "store/data_file.cpp",
     "    if (st.st_nlink > 1) return Fail(TFailure::HardLinked);\n    m_realPath",
     "    if (st.st_nlink > 2) return Fail(TFailure::HardLinked);\n    m_realPath",
     "hard-link check weakened"),
    ("store", "store/data_file.cpp",
     "    if (change) RemoveLeftoversBeside(*m_fs, m_realPath);", "",
     "leftovers never removed"),
    ("store", "store/data_file.cpp",
     "if (!added && it->second == kDeleted) --m_deleted;", "",
     "replacing a deleted record keeps it counted as deleted"),
    ("store", "store/data_file.cpp",
     "if (added || it->second != kDeleted) ++m_deleted;", "if (added) ++m_deleted;",
     "deleting a replaced record not counted"),
    ("store", "store/data_file.cpp",
     "m_cursor = record.length > size - 1 ?", "m_cursor = record.length >= size - 1 ?",
     "partial read cursor off by one"),
    ("store", "store/data_file.cpp",
     "if (!CountFits(count, RecordsEnd(size, DecodeFixed32(trailer), true) - kRecordsOffset))",
     "if (!CountFits(count, size - kRecordsOffset - kTrailerSize))",
     "count read ignores the picture"),
    ("store", "store/data_file.cpp",
     ": (c >= 'a' && c <= 'f') ? c - 'a' + 10", ": (c >= 'a' && c <= 'f') ? c - 'a'",
     "lower-case hex digits misread"),
    ("store", "store/data_file.cpp", '"%X"', '"%x"', "flags written in lower case"),
    ("store", "store/data_file.cpp",
     "    if (n > size - kEmptyFileSize) return false;\n    out =",
     "    if (n > size - kTrailerSize) return false;\n    out =",
     "picture length checked against too much"),
    ("store", "store/data_file_rewrite.cpp", "    SyncFolderOf(*m_fs, m_realPath);\n    return true;",
     "    return true;", "rename not flushed to disk"),
    ("store", "store/data_file_rewrite.cpp",
     "if (::fchmod(fd, st.st_mode & 07777) != 0) error = errno;", "",
     "permissions not kept"),
    ("store", "store/data_file_rewrite.cpp", "    m_newPath.clear();\n    SyncFolderOf", "    SyncFolderOf",
     "placed dictionary removed as an unplaced new file"),
    ("store", "store/beside_file.cpp", "fs.Lock(fd, LOCK_EX | LOCK_NB) == 0 &&\n            StartsAsDictionary",
     "\n            StartsAsDictionary", "a hidden copy removed while its writer holds it"),
    ("store", "store/data_file_rewrite.cpp",
     "static_cast<std::uint32_t>(m_count) + m_added - m_deleted",
     "static_cast<std::uint32_t>(m_count) + m_added", "deleted entries still counted"),
    ("store", "store/data_file_rewrite.cpp", "        ++k;\n        runStart = pos;",
     "        ++k;", "replaced record copied too"),
    ("store", "store/data_file_rewrite.cpp",
     "        if (!progress.Add(1)) return FailStopped();",
     "        (void)progress.Add(1);", "stop request ignored at a changed record"),
    ("store", "store/data_file_rewrite.cpp", "    if (pos != m_recordsEnd) return Fail(TFailure::Damaged);\n",
     "", "records beyond the count dropped"),
    ("store", "store/data_file_entries.cpp",
     "    const std::int32_t stored = named ? m_count - 1 : m_count;\n    if (!Finish(",
     "    const std::int32_t stored = m_count;\n    if (!Finish(", "stored position ignores the removal"),
    ("store", "store/data_file_entries.cpp", "for (std::int32_t n = -1; n < k; ++n)",
     "for (std::int32_t n = 0; n < k; ++n)", "description k off by one"),
    ("store", "store/data_file_entries.cpp",
     "return wordOnly ? WordOf(record) == WordOf(text) : record == text;",
     "return WordOf(record) == WordOf(text);", "expected record compared by word only"),
    ("store", "store/data_file_merge.cpp",
     "if (end == have.size() || have[end] == kDescriptionMark) return true;",
     "if (end == have.size()) return true;", "repeat found only at the end"),
    ("store", "store/data_file_merge.cpp",
     "output.size() + description.size() <= kMaxRecordText",
     "output.size() + description.size() < kMaxRecordText", "merge limit off by one"),
    ("store", "store/data_file_merge.cpp", "if (k != kRecordPassword && k != kRecordFlags) {",
     "if (k != kRecordPassword) {", "remapping touches the flags"),
    ("store", "store/search.cpp", "if (hits >= 0 && (parsed.empty() || hits >= 1)) {",
     "if (hits >= 0) {", "entries without any term found"),
    ("store", "store/search.cpp", "if (used + recordLength >= outSize - 2) {",
     "if (used + recordLength > outSize - 2) {", "full-buffer boundary off by one"),
    ("store", "store/search.cpp", "(p == 0 || IsWordBoundary(text[p - 1])))",
     "(p == 0 || true))", "whole word ignores what precedes"),
    ("store", "store/search.cpp", "while (i < n && read < kMaxSearchTerms) {",
     "while (i < n && read <= kMaxSearchTerms) {", "one term too many"),
    ("store", "store/search.cpp", "if (!term.exact && i < n && text[i] == '=') {",
     "if (i < n && text[i] == '=') {", "second = swallowed"),
    ("store", "store/sorted_list.cpp", "if (count == 0 || Compare(m_items[0], s) < 1) return 0;",
     "if (count == 0 || Compare(m_items[0], s) < 0) return 0;", "equal to the first not first"),
    ("store", "store/sorted_list.cpp", "if (Compare(m_items[count - 1], s) >= 0) return count;",
     "if (Compare(m_items[count - 1], s) > 0) return count;", "equal to the last not last"),
    ("store", "store/older_formats.cpp", "    if (text.size() < 255) {",
     "    if (text.size() <= 255) {", "counted string form off by one"),
    ("store", "store/older_formats.cpp", "if (n <= 50 && col + n > kFirstGenLineEnd) {",
     "if (n <= 50 && col + n >= kFirstGenLineEnd) {", "wrap one column early"),
    ("store", "store/beside_file.cpp", "        name[1 + dictionaryName.size()] != '.' ||",
     "        false ||", "leftover name without its dot"),
    ("store", "store/coding.cpp", "static_cast<std::uint8_t>((b == 0) | (b == k));",
     "static_cast<std::uint8_t>(b == 0);", "scrambling ignores the key-equal rule"),
    ("store", "store/record_scan.h", "        if (zeros >= n) break;", "        if (zeros > n) break;",
     "block skip one record too far"),
    # the known letters: read, compiled, and the anagram check
    ("store", "store/pattern.cpp", "            if (text.countLetters) return Refuse(problem, TPatternError::RunWithCount, i);",
     "", "a run taken with the letter count"),
    ("store", "store/pattern.cpp", "            if (first == close) return Refuse(problem, TPatternError::EmptySet, open);",
     "", "an empty set taken"),
    ("store", "store/pattern.cpp", "return code >= 0xC0 && code <= 0x24F && code != 0xD7 && code != 0xF7;",
     "return code >= 0xC0 && code <= 0x24F;", "the multiplication sign a letter"),
    ("store", "store/pattern.cpp", "    if (r == UnlistedRank(rank) || IsVowel(rank, c)) return false;",
     "    if (r == UnlistedRank(rank)) return false;", "a vowel also a consonant"),
    ("store", "store/anagram.cpp", "if (m_bOpen ? word.size() < m_nLetters : word.size() != m_nLetters) return false;",
     "if (word.size() < m_nLetters) return false;", "an anagram of more letters than asked"),
    ("store", "store/anagram.cpp", "const bool fits = word.size() - spare == m_nFixed && (m_classes.empty() || ClassesFit());",
     "const bool fits = word.size() - spare == m_nFixed;", "anagram classes not checked"),
    ("store", "store/anagram.cpp", "        m_left[kind] = m_need[kind];\n    }\n    for (std::uint8_t kind : m_spareKinds) m_spare[kind] = 0;",
     "        m_left[kind] = m_need[kind];\n    }", "spare letters carried to the next word"),
    ("store", "store/older_formats_import.cpp", "    if (readOnly == 0) info.flags |= kFlagChangesAllowed;",
     "    if (readOnly != 0) info.flags |= kFlagChangesAllowed;", "older read-only flag read the other way"),
    ("store", "store/older_formats_import.cpp", "    std::reverse(text.begin(), text.end());\n    info.password",
     "    info.password", "older password not reversed"),
    ("store", "store/older_formats_import.cpp", "        m_convertCounts.cut += cut || reader.cut();",
     "        m_convertCounts.cut += cut;", "a cut first-generation line not counted"),
    ("store", "store/older_formats_import.cpp",
     "    if (ok && in.error() != 0) ok = FailErrno(path, in.error());\n    return Finish(ok);\n}\n\nbool TDataFile::ImportCsv",
     "    return Finish(ok);\n}\n\nbool TDataFile::ImportCsv", "a failed read ends a first-generation import as if the file ended"),
    ("store", "store/word_pattern.cpp", "        if (plain(k) == kDescriptionMark) return false;\n",
     "        (void)k;\n", "a '*' takes the description mark"),
    ("store", "store/word_pattern.cpp",
     "        return !m_bCountLetters || length == first || plain(first) == kDescriptionMark;",
     "        return !m_bCountLetters || length == first;", "the letter count ignores the description mark"),
    ("store", "store/word_pattern.cpp", "    if (end < m_nMinLength) return false;\n", "",
     "a pattern with runs takes a word shorter than its letters"),
    ("store", "store/word_pattern.cpp", "        while (from + size <= lastAt && !FitsSegment(plain, s, from)) ++from;",
     "        while (from + size < lastAt && !FitsSegment(plain, s, from)) ++from;",
     "a middle segment never placed just before the last"),
    # --- settings
    ("settings", "settings/registry_helpers.cpp", "            create = create || (flags & kRegCreateKey);",
     "", "ask, then create anyway: answered No"),
    ("settings", "settings/registry_helpers.cpp",
     "if (!overwrite && !(flags & kRegOverwrite)) return false;",
     "if (!overwrite) return false;", "ask, then overwrite anyway: answered No"),
    ("settings", "settings/registry_helpers.cpp", "        if (flags & kRegNeverOverwrite) return false;\n",
     "", "never-overwrite ignored"),
    ("settings", "settings/registry_helpers.cpp", "        if (!(flags & kRegNeverCreate)) {",
     "        if (true) {", "never-create ignored"),
    ("settings", "settings/registry_helpers.cpp",
     "std::min(bufferSize, kMaxRegistryString), value))",
     "std::min(bufferSize, kMaxRegistryString + 1), value))", "read limit off by one"),
    ("settings", "settings/registry_helpers.cpp", "    if (value.data.size() != size) {",
     "    if (value.data.size() > size) {", "short binary value accepted"),
    ("settings", "settings/registry_helpers.cpp", 'Report(who, "The value already exists.");', "",
     "existing value not reported"),
    ("settings", "settings/library_registry.cpp",
     "        if (value.type == TValueType::kString && !value.name.empty()) {\n            paths",
     "        if (!value.name.empty()) {\n            paths", "binary members collected"),
    ("settings", "settings/library_registry.cpp",
     "        if (value.type == TValueType::kString && !value.name.empty()) {\n            paths",
     "        if (value.type == TValueType::kString) {\n            paths", "empty-named members collected"),
    ("settings", "settings/library_registry.cpp",
     "key.EnumValue(i, value, kLibraryNameBuffer, 1) == TRegResult::kOk;",
     "key.EnumValue(i, value, kLibraryNameBuffer, 2) == TRegResult::kOk;",
     "one-byte data does not stop the collection"),
    ("settings", "settings/library_registry.cpp", "        if (r == TRegResult::kMoreData) continue;\n",
     "", "a long member ends the display list"),
    ("settings", "settings/library_registry.cpp", "        path.resize(depth - 1);\n        path.push_back(key);",
     "        path.push_back(key);", "found path keeps siblings"),
    ("settings", "settings/library_registry.cpp", "        if (cut > 0) list.emplace_back(paths.substr(0, cut));",
     "        list.emplace_back(paths.substr(0, cut));", "empty paths listed"),
    ("settings", "settings/library_registry.cpp", "    for (int n = 2; taken.count(name) != 0; ++n) {",
     "    for (int n = 1; taken.count(name) != 0; ++n) {", "new name numbering from 1"),
    ("settings", "settings/library_edit.cpp", "    return !name.empty() && name.size() < kLibraryNameBuffer &&\n           name.find",
     "    return !name.empty() && name.size() <= kLibraryNameBuffer &&\n           name.find",
     "library name limit off by one"),
    ("settings", "settings/library_edit.cpp",
     "           path.find(kDictionarySeparator) == std::string_view::npos;",
     "           true;", "quote allowed in member paths"),
    ("settings", "settings/library_edit.cpp",
     "    if (newName.empty() || newName == oldName) return TLibraryResult::kOk;", "",
     "rename to the own name goes on"),
    ("settings", "settings/library_edit.cpp",
     "        existing.type == TValueType::kString)\n        return TLibraryResult::kAlreadyMember;",
     "        true)\n        return TLibraryResult::kAlreadyMember;", "a value of another type is a member"),
    ("settings", "settings/library_edit.cpp",
     "        if (r == TLibraryResult::kOk) name = candidate;", "",
     "new library's name not handed back"),
    ("settings", "settings/settings_db.cpp",
     '"DELETE FROM vals WHERE key IN sub");', '"DELETE FROM vals WHERE key = ?1");',
     "sub-libraries' members left behind"),
    ("settings", "settings/settings_db.cpp",
     '"SELECT id, name FROM keys WHERE parent = ?1 AND id > ?2 ORDER BY id LIMIT 1");',
     '"SELECT id, name FROM keys WHERE parent = ?1 AND id > ?2 ORDER BY name LIMIT 1");',
     "keys enumerated by name"),
    ("settings", "settings/settings_db.cpp",
     '"ORDER BY id LIMIT 1 OFFSET ?2");', '"ORDER BY name LIMIT 1 OFFSET ?2");',
     "values by position in name order"),
    ("settings", "settings/settings_db.cpp", "    if (rc == SQLITE_ROW) return TRegResult::kInvalidName;\n    if (rc != SQLITE_DONE) return Failure(\"move a key\");",
     "    if (rc != SQLITE_DONE && rc != SQLITE_ROW) return Failure(\"move a key\");",
     "a key may move below itself"),
    ("settings", "settings/settings_db.cpp", "    if (r == TRegResult::kOk) return TRegResult::kAlreadyExists;\n    if (r != TRegResult::kNotFound) return r;\n    if (uniqueBelow",
     "    if (r != TRegResult::kNotFound && r != TRegResult::kOk) return r;\n    if (uniqueBelow",
     "move over an existing key"),
    ("settings", "settings/settings_db_open.cpp", "if (appId != 0 || version != 0 || objects != 0 || pages > 1)",
     "if (version != 0 || objects != 0 || pages > 1)", "another program's empty database filled"),
    ("settings", "settings/settings_db_open.cpp",
     "if (version == kSettingsLayoutVersion || version == kSettingsOldLayoutVersion) {",
     "if (true) {", "any layout version used"),
    ("settings", "settings/reg_types.h", "    return nameLength < buffer;", "    return nameLength <= buffer;",
     "name buffer off by one"),
    ("settings", "settings/reg_types.h",
     "return type == TValueType::kString ? dataLength < buffer : dataLength <= buffer;",
     "return dataLength <= buffer;", "string terminator not counted"),
    ("settings", "settings/reg_key.cpp",
     "    else if (valueCursor_.valid && valueCursor_.index + 1 == index)",
     "    else if (valueCursor_.valid)", "value cursor used for any index"),
    ("settings", "settings/reg_key.cpp", "    if (type == TValueType::kNumber && data.size() != 4) return TRegResult::kInvalidName;",
     "", "number of any size stored"),
    ("settings", "settings/alphabet_rows.cpp",
     "    if (row.text.size() >= kAlphabetRowBuffer) row.text.resize(kAlphabetRowBuffer - 1);",
     "    if (row.text.size() > kAlphabetRowBuffer) row.text.resize(kAlphabetRowBuffer - 1);",
     "a 1000-byte row stored uncut"),
    ("settings", "settings/alphabet_rows.cpp", "    if (SameRow(row, slots[0].row)) return;", "",
     "the same row pushed again"),
    ("settings", "settings/alphabet_rows.cpp",
     "    if (!ReadString(key, name, 2, text) || text.empty()) return false;",
     "    if (!ReadString(key, name, 3, text) || text.empty()) return false;",
     "two-character separator read"),
    # --- finder: the entry editor and its undo history
    ("finder", "finder/entry_editor.cpp", "        host.ShowMessage(refusal, vrk::TMsgIcon::kWarning);",
     "", "refused change not told"),
    ("finder", "finder/entry_editor.cpp", "    m_bTypedSinceStep = true;\n", "",
     "typed text not noted for undo"),
    ("finder", "finder/entry_editor.cpp",
     "        if (!m_host.Ask(vrk::texts::kUnsavedChangesLost)) return TLoadResult::kFailed;",
     "        (void)m_host.Ask(vrk::texts::kUnsavedChangesLost);",
     "load over unsaved changes ignores No"),
    ("finder", "finder/entry_editor.cpp",
     "        PushUndo(kUndoEntryOnly, vrk::texts::kUndoShowWord.arg(shownWord));\n", "",
     "load over unsaved changes records no step"),
    ("finder", "finder/entry_editor.cpp", "substr(0, record.find('\\x01'))) != *expectedWord",
     "substr(0, record.find('\\x01') - 1)) != *expectedWord", "row's word compared one byte short"),
    ("finder", "finder/entry_editor.cpp",
     "if (target < 0 || target >= m_entry.m_nDescCount) return;",
     "if (target < 0 || target > m_entry.m_nDescCount) return;",
     "step past the last description"),
    ("finder", "finder/entry_editor.cpp",
     "if (bRecord && m_entry.m_strEditDesc[cur] != m_entry.m_strSavedDesc[cur])",
     "if (bRecord)", "stepping records an unchanged description"),
    ("finder", "finder/entry_editor.cpp",
     "if (Modified() && !m_host.Ask(vrk::texts::kNotSavedYet)) return;",
     "if (!m_host.Ask(vrk::texts::kNotSavedYet)) return;", "new word asks without changes"),
    ("finder", "finder/entry_editor.cpp",
     "    PushUndo(kUndoEntryOnly, vrk::texts::kUndoNewWord);\n", "", "new word records no step"),
    ("finder", "finder/entry_editor.cpp",
     "m_entry.m_strDataFile.isEmpty() || m_entry.m_nClueIndex < 0) return TSaveResult::kSaveAs;",
     "m_entry.m_strDataFile.isEmpty() || m_entry.m_nClueIndex < 1) return TSaveResult::kSaveAs;",
     "first entry saved as"),
    ("finder", "finder/entry_editor.cpp",
     "        m_host.ShowMessage(vrk::texts::kSaveRefused, vrk::TMsgIcon::kWarning);\n", "",
     "save refusal not told"),
    ("finder", "finder/entry_editor.cpp", "if (m_entry.m_nMoreDescs > 0 &&",
     "if (m_entry.m_nMoreDescs > 1 &&", "one description too many dropped unasked"),
    ("finder", "finder/entry_editor.cpp",
     "    m_entry.Load(dataFile, index, record, m_entry.m_nCurDesc);\n", "",
     "saved word not shown as stored"),
    ("finder", "finder/entry_editor.cpp",
     "if (!SaveEntryToFile(true, dataFile, index, record, &expected))",
     "if (!SaveEntryToFile(true, dataFile, index, record, nullptr))",
     "save overwrites whatever the entry holds"),
    ("finder", "finder/entry_editor.cpp",
     "    if (replaced) m_host.ShowMessage(", "    if (!replaced) m_host.ShowMessage(",
     "replaced characters told inverted"),
    ("finder", "finder/entry_editor.cpp", "step.bOpCreated ? record : step.strOpNewRecord",
     "record", "save as into a held word shows only the new descriptions"),
    ("finder", "finder/entry_editor.cpp", "    m_entry.m_nCurDesc = added;\n", "",
     "added description not shown"),
    ("finder", "finder/entry_editor.cpp", "    m_entry.m_strEditDesc[added].clear();\n", "",
     "added description keeps an old text"),
    ("finder", "finder/entry_editor.cpp", "if (m_entry.m_nDescCount < 2) return;",
     "if (m_entry.m_nDescCount < 1) return;", "the only description removed"),
    ("finder", "finder/entry_editor.cpp", "for (int i = m_entry.m_nCurDesc; i < count - 1; ++i) {",
     "for (int i = m_entry.m_nCurDesc; i < count - 2; ++i) {",
     "last description not moved down"),
    ("finder", "finder/entry_editor.cpp",
     "std::min(m_entry.m_nCurDesc, m_entry.m_nDescCount - 1)",
     "std::min(m_entry.m_nCurDesc, m_entry.m_nDescCount)", "shown description past the last"),
    ("finder", "finder/entry_editor.cpp", "    m_entry.m_nClueIndex = -1;\n", "",
     "deleted word keeps its index"),
    ("finder", "finder/entry_editor.cpp",
     "if (Modified() && m_bTypedSinceStep && !m_host.Ask(",
     "if (Modified() && !m_host.Ask(", "undo asks over text a step holds"),
    ("finder", "finder/entry_editor.cpp", "        if (ok) m_undo.TagResolved(step.nTag, index);", "",
     "undone delete leaves its tag"),
    ("finder", "finder/entry_editor.cpp",
     "ok = index >= 0 && DeleteEntryFromFile(false, dataFile, index, &created);",
     "ok = index >= 0 && DeleteEntryFromFile(false, dataFile, index, nullptr);",
     "undo deletes a created entry whatever it holds"),
    ("finder", "finder/entry_editor.cpp",
     "for (std::size_t i = 0; ok && i < step.otherEntries.size(); ++i) {",
     "for (std::size_t i = 1; ok && i < step.otherEntries.size(); ++i) {",
     "undo skips the first merged entry"),
    ("finder", "finder/entry_editor.cpp", "        m_undo.Clear();\n", "",
     "failed undo keeps the history"),
    ("finder", "finder/entry_editor.cpp", "    m_undo.EntryStored(same, oldIndex, stored);\n", "",
     "stored entry's references not moved"),
    ("finder", "finder/entry_editor.cpp", "    m_host.RowsStored(path, oldIndex, stored, record);\n", "",
     "rows not told of a stored entry"),
    ("finder", "finder/entry_editor.cpp", "    if (bRecord) m_undo.Last().strOpNewRecord = record;\n", "",
     "step does not keep the stored record"),
    ("finder", "finder/entry_editor.cpp", "    changed.pop_back();\n", "",
     "step names its entry among the others too"),
    ("finder", "finder/entry_editor.cpp", "    m_host.RowsStored(path, stored, stored, step.strOpNewRecord);\n",
     "", "row of the merged entry not told"),
    ("finder", "finder/entry_editor.cpp",
     "    if (!m_undo.Empty()) m_undo.EntryDeleted(same, nIndex, m_undo.Last().nTag);\n", "",
     "deleted entry's references not tagged"),
    ("finder", "finder/entry_editor.cpp", "    m_host.RowsDeleted(path, nIndex);\n", "",
     "rows not told of a deleted entry"),
    ("finder", "finder/entry_editor.cpp", "    if (bRecord) m_undo.DropLast();\n    return false;",
     "    return false;", "failed change keeps its step"),
    ("finder", "finder/undo_history.cpp", "if (Count() >= UNDO_MAX) m_steps.pop_front();",
     "if (Count() > UNDO_MAX) m_steps.pop_front();", "one step too many kept"),
    ("finder", "finder/undo_history.cpp", "step.nTag = TagOf(m_nNextSerial++);",
     "step.nTag = TagOf(m_nNextSerial);", "every step has the same tag"),
    ("finder", "finder/undo_history.cpp",
     "        change(step.state.m_strDataFile, step.state.m_nClueIndex);\n", "",
     "step's word index not kept current"),
    ("finder", "finder/undo_history.cpp", "        change(step.strOpDataFile, step.nOpIndex);\n", "",
     "step's changed entry index not kept current"),
    ("finder", "finder/undo_history.cpp",
     "        for (TMergedEntry& other : step.otherEntries) change(step.strOpDataFile, other.nIndex);\n",
     "", "merged entries' indexes not kept current"),
    ("finder", "finder/undo_history.cpp", "    if (oldIndex < 0) return;\n", "",
     "an appended record moves the entries"),
    ("finder", "finder/undo_history.cpp", "if (index < oldIndex || !same(vrk::PathBytes(dataFile))) return;",
     "if (index <= oldIndex || !same(vrk::PathBytes(dataFile))) return;",
     "stored entry's own reference not moved"),
    ("finder", "finder/undo_history.cpp", "index = index == oldIndex ? newIndex : index - 1;",
     "index = index == oldIndex ? newIndex : index;", "entries after a stored one not moved down"),
    ("finder", "finder/undo_history.cpp", "if (reference < index || !same(vrk::PathBytes(dataFile))) return;",
     "if (reference <= index || !same(vrk::PathBytes(dataFile))) return;",
     "deleted entry's reference not tagged"),
    ("finder", "finder/undo_history.cpp", "reference = reference == index ? tag : reference - 1;",
     "reference = reference == index ? tag : reference;", "entries after a deleted one not moved down"),
    ("finder", "finder/undo_history.cpp", "if (reference < index || !same(",
     "if (reference < index || same(", "deletion moves references of other dictionaries"),
    # --- manager: the dictionary and library commands
    ("manager", "manager/dictionary_commands.cpp",
     "result == vrk::TLibraryResult::kOk || result == vrk::TLibraryResult::kAlreadyMember",
     "result == vrk::TLibraryResult::kOk", "a new dictionary already in the library is not listed"),
    ("manager", "manager/dictionary_commands.cpp",
     "failure == vrk::TFailure::NotFound || failure == vrk::TFailure::Damaged",
     "failure == vrk::TFailure::NotFound", "a damaged file in the way is not replaced"),
    ("manager", "manager/dictionary_commands.cpp", "    if (!(flags & kFlagProtected)) return true;",
     "    if (flags & kFlagProtected) return true;", "a protected dictionary replaced without its password"),
    ("manager", "manager/dictionary_commands.cpp", "        if (result != kWizardBack) return;", "",
     "a cancel on the wizard's second page goes back"),
    ("manager", "manager/dictionary_commands.cpp", '    StoreLastDir("NewDFDir", FolderOf(target));', "",
     "the new dictionary's folder not kept"),
    ("manager", "manager/dictionary_commands.cpp",
     "HeaderBytes(dialog.m_texts.notes), password, flags)",
     "HeaderBytes(dialog.m_texts.notes), \"\", flags)", "changing the data drops the password"),
    ("manager", "manager/dictionary_commands.cpp",
     "    if (file.GetName(name, kListTextBuffer)) row->setText(kColName, vrk::FromCp1250(name));", "",
     "the list keeps the old name after the data changed"),
    ("manager", "manager/dictionary_settings.cpp",
     "(flags & kFlagChanges) != 0,\n                         (flags & kFlagExport) != 0",
     "(flags & kFlagExport) != 0,\n                         (flags & kFlagChanges) != 0",
     "export and changes shown swapped"),
    ("manager", "manager/dictionary_settings.cpp", "dialog.m_settings = {false, true, true, {}};",
     "dialog.m_settings = {false, true, false, {}};", "several dictionaries: export off by default"),
    ("manager", "manager/dictionary_settings.cpp",
     "vrk::texts::kSecurityRefused,\n                      vrk::texts::kFileError))\n            continue;",
     "vrk::texts::kSecurityRefused,\n                      vrk::texts::kFileError)) {}",
     "several dictionaries: a locked one changed anyway"),
    ("manager", "manager/dictionary_settings.cpp", '    StoreLastDir("ImageDir", chosen.directory);', "",
     "the picture's folder not kept"),
    ("manager", "manager/dictionary_settings.cpp",
     "texts::kDamagedDictionary.arg(name)))\n            continue;",
     "texts::kDamagedDictionary.arg(name))) {}", "a picture given to a locked dictionary"),
    ("manager", "manager/dictionary_settings.cpp", "            if (!(flags & kFlagChanges)) {",
     "            if (!(flags & kFlagExport)) {", "remapping checks the export flag"),
    ("manager", "manager/dictionary_settings.cpp", "    job.chJobParam2 = dialog.m_chTo;", "",
     "remapping without the letter to map to"),
    ("manager", "manager/library_commands.cpp", "CreateLibrary(selected ? selected->parent() : nullptr);",
     "CreateLibrary(nullptr);", "a new library always made at the top level"),
    ("manager", "manager/library_commands.cpp", "if (m_host.LibraryCount() < 2) {",
     "if (m_host.LibraryCount() < 1) {", "the last library removed"),
    ("manager", "manager/library_commands.cpp", "    if (text.contains('\\\\')) {", "    if (false) {",
     "a backslash in a library name left to the store"),
    ("manager", "manager/library_commands.cpp",
     "    item->setData(0, kNameBytesRole, QByteArray::fromStdString(newName));", "",
     "a renamed library keeps its old key"),
    ("manager", "manager/library_commands.cpp",
     "vrk::ShowMessage(m_host.Window(), vrk::texts::kAlreadyMember, vrk::TMsgIcon::kNone);\n            return;",
     "vrk::ShowMessage(m_host.Window(), vrk::texts::kAlreadyMember, vrk::TMsgIcon::kNone);\n            continue;",
     "adding goes on after a member"),
    ("manager", "manager/library_commands.cpp", "    m_host.RemoveSelectedRows();", "",
     "removed dictionaries stay in the list"),
    ("manager", "manager/library_commands.cpp",
     "value.type == vrk::TValueType::kString && !value.name.empty()",
     "value.type == vrk::TValueType::kString", "the library's unnamed value counts as a member"),
    ("manager", "manager/format_commands.cpp", "job.counts.separators > 0 || job.counts.cut > 0",
     "job.counts.separators > 0", "an import that only cut texts says nothing"),
    ("manager", "manager/format_commands.cpp", "    if (format != TOlderFormat::kSecondGen) {",
     "    if (format == TOlderFormat::kCsv) {", "a first-generation import without data"),
    ("manager", "manager/format_commands.cpp",
     "            job.nJob = kJobImportFirstGen;\n            job.chJobParam = kImportSeparator;",
     "            job.nJob = kJobImportFirstGen;", "first-generation import without its separator"),
    ("manager", "manager/format_commands.cpp", "            if (QString inside = find(library); !inside.isEmpty()) return inside;",
     "", "a member of a sub-library is named with no library"),
    ("manager", "manager/format_commands.cpp", "    if (!(flags & kFlagExport)) {", "    if (!(flags & kFlagProtected)) {",
     "export checks the wrong flag"),
    ("manager", "manager/format_commands.cpp", "if (backups.Open(target).GetFlags() >= 0) {",
     "if (backups.Open(target).GetFlags() > 0) {", "a dictionary with no flags set replaced unasked"),
    ("manager", "manager/format_commands.cpp", "    job.chJobParam = choice.separator;", "",
     "export without the chosen separator"),
    ("manager", "manager/dictionary_drag.cpp",
     "(void)vrk::RemoveLibraryDictionary(m_strDragSourceKey, path);",
     "(void)vrk::RemoveLibraryDictionary(targetKey, path);", "a move removes from the target"),
    ("manager", "manager/dictionary_drag.cpp", "    if (targetKey != m_strDragSourceKey) {",
     "    {", "a drop onto the own library moves"),
]

# A folder's test programs; a program may take a path below the source tree
# (the pattern fuzz harness replays its corpus).
TESTS = {
    "store": ["store/store_test", "store/store_formats_test", "store/store_pattern_test",
              "fuzz/pattern_match_fuzz fuzz/corpus/pattern_match"],
    "settings": ["settings/settings_test"],
    "finder": ["finder/finder_entry_test"],
    "manager": ["manager/manager_test"],
}


def target(test):
    return os.path.basename(test.split()[0])


def command(test, out, src):
    program, *paths = test.split()
    return " ".join([os.path.join(out, program)] + [os.path.join(src, p) for p in paths])


def run(cmd, **kw):
    return subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kw)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--lock", default="", help="command that serialises builds, e.g. /work/bin/serial")
    ap.add_argument("--only", choices=sorted(TESTS))
    ap.add_argument("--list", action="store_true")
    ap.add_argument("--what", action="append", default=[],
                    help="run only the changes so described (again, e.g. the survivors)")
    args = ap.parse_args()
    mutants = [m for m in MUTANTS if (not args.only or m[0] == args.only)
               and (not args.what or m[4] in args.what)]
    if args.list:
        for i, m in enumerate(mutants):
            print(f"{i:3} {m[0]:9} {m[1]:34} {m[4]}")
        return 0
    work = os.path.join(ROOT, "build", "mutation")
    src, out = os.path.join(work, "src"), os.path.join(work, "build")
    shutil.rmtree(src, ignore_errors=True)
    os.makedirs(src)
    archive = subprocess.run(["git", "-C", ROOT, "archive", "HEAD"], stdout=subprocess.PIPE, check=True)
    # The files take the time of extraction, not the commit's: a build left
    # by an earlier run is newer than the commit and would otherwise keep
    # test programs compiled from the tests as they were then.
    subprocess.run(["tar", "-x", "-m", "-C", src], input=archive.stdout, check=True)
    lock = args.lock.split() if args.lock else []
    for m in mutants:  # every change must name exactly one place
        text = open(os.path.join(src, m[1]), encoding="utf-8").read()
        if text.count(m[2]) != 1:
            print(f"change '{m[4]}' finds its text {text.count(m[2])} times in {m[1]}")
            return 2
    gui = "ON" if any(m[0] in ("finder", "manager") for m in mutants) else "OFF"
    r = run(lock + ["cmake", "-S", src, "-B", out, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                    f"-DVRK3_GUI={gui}", "-DVRK3_BENCH=OFF"])
    if r.returncode != 0:
        print(r.stdout)
        return 2
    targets = sorted({target(t) for m in mutants for t in TESTS[m[0]]})
    r = run(lock + ["cmake", "--build", out, "-j2", "--target"] + targets)
    if r.returncode != 0:
        print(r.stdout)
        return 2
    caught = dict.fromkeys(TESTS, 0)
    total = dict.fromkeys(TESTS, 0)
    survivors = []
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", LC_ALL="C.UTF-8")
    for m in mutants:
        folder, path, old, new, what = m
        full = os.path.join(src, path)
        original = open(full, encoding="utf-8").read()
        open(full, "w", encoding="utf-8").write(original.replace(old, new))
        started = time.time()
        script = (f"cmake --build {out} -j2 --target {' '.join(target(t) for t in TESTS[folder])}"
                  " >/dev/null || exit 3; "
                  + "; ".join(f"timeout 300 {command(t, out, src)} >/dev/null 2>&1 || exit 1"
                              for t in TESTS[folder]))
        try:
            r = run(lock + ["bash", "-c", script], env=env)
        finally:
            open(full, "w", encoding="utf-8").write(original)
        if r.returncode == 3:
            print(f"  [does not compile] {folder}: {what}")
            continue
        total[folder] += 1
        ok = r.returncode != 0
        caught[folder] += ok
        if not ok:
            survivors.append(m)
        print(f"{'caught  ' if ok else 'SURVIVED'} {folder:8} {what} ({time.time() - started:.0f} s)",
              flush=True)
    # Put the untouched files back into the build, so a later run starts clean.
    run(lock + ["cmake", "--build", out, "-j2", "--target"] + targets)
    for folder in TESTS:
        if total[folder]:
            print(f"{folder}: {caught[folder]} of {total[folder]} changes caught "
                  f"({100.0 * caught[folder] / total[folder]:.0f} %)")
    for m in survivors:
        print(f"survived: {m[0]}: {m[1]}: {m[4]}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
