// Byte layout of a .vrk3 dictionary file. FORMAT.md beside this file
// describes the format in full, with a worked example.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vrk {

// "Verbatrakon Datafile /3.0/", written at offset 0 and skipped by readers.
inline constexpr std::string_view kMagic = "Verbatrakon Datafile /3.0/";
inline constexpr std::size_t kMagicSize = 26;
inline constexpr std::size_t kHeaderOffset = 26;  // entry count, then 6 zero bytes
inline constexpr std::size_t kHeaderSize = 10;
inline constexpr std::size_t kRecordsOffset = 36;  // first scrambled record
inline constexpr std::size_t kTrailerSize = 20;    // picture length, then 16 zero bytes
inline constexpr std::size_t kEmptyFileSize = kRecordsOffset + 16 + kTrailerSize;  // 72

// Every record buffer holds MAX_RECORD bytes, so a record is at most
// MAX_RECORD - 1 bytes before its 0x00 terminator.
inline constexpr std::size_t MAX_RECORD = 100000;
inline constexpr std::size_t kMaxRecordText = MAX_RECORD - 1;

// Header records 0-15 precede the entries; entry i is record ENTRY_BASE + i.
inline constexpr int ENTRY_BASE = 16;
inline constexpr int kRecordName = 10;
inline constexpr int kRecordAuthor = 11;
inline constexpr int kRecordNotes = 12;
inline constexpr int kRecordPassword = 13;
inline constexpr int kRecordFlags = 14;

// Inside an entry record: word, then 0x01 + text for each description.
inline constexpr char kTerminator = '\x00';
inline constexpr char kDescriptionMark = '\x01';
// Search results: each record is followed by this byte.
inline constexpr char kResultSeparator = '\x02';

// Security flag bits of record 14.
inline constexpr int kFlagPassword = 1;
inline constexpr int kFlagChangesAllowed = 2;
inline constexpr int kFlagExportAllowed = 4;

// The record key table has this many bytes; the key of the byte at absolute
// file offset p is kRecordKeyTable[p % kKeyTableSize].
inline constexpr std::size_t kKeyTableSize = 4096;

}  // namespace vrk
