// TDataFile: the dictionary object, the only code that reads or writes a
// .vrk3 file (FORMAT.md). Every public operation is one transaction: it opens
// the dictionary, works, and closes it again; changes are queued in two
// scratch files and applied by one rewrite of the whole file, which is
// written beside the dictionary, flushed and renamed over it.
//
// Locking: a changing operation holds an exclusive advisory lock on the
// dictionary and on its set of scratch files from open to the end of the
// rewrite; a reading operation holds a shared lock. An operation that cannot
// get its lock within LockTimeout() fails; nothing is changed then.
//
// Files: only a regular file is a dictionary (a folder, a pipe or a device
// is refused at once, never waited on). A change follows symbolic links and
// writes beside the file they name, so links stay links. It is refused when
// the user may not write the dictionary itself (a read-only file in a
// writable folder stays as it is), when no new file can be made in its
// folder (TFailure::FolderNotWritable: the new dictionary is only ever
// written beside the old one, never over it), and when the dictionary has
// more than one hard link: replacing it would leave the other names with the
// old content, and writing it in place could leave it damaged if the program
// died half way, so the user is told (TFailure::HardLinked) instead. Hidden
// copies left beside the dictionary by a writer that was killed are removed
// by the next change of that dictionary (beside_file.h).
//
// Reading: an operation reads the bytes it needs into memory and checks
// every read; nothing is mapped, so a file that another program cuts short
// under a reader gives TFailure::Damaged, never a crash.
//
// Results: false, or -1 from the counting operations (-2 from FindWord when
// no entry has the word). A failed operation leaves the dictionary unchanged,
// and LastFailure() tells why it failed. One object is used by one thread at
// a time.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "alphabet.h"
#include "failure.h"
#include "file_io.h"
#include "format.h"
#include "pattern.h"
#include "progress.h"

struct stat;

namespace vrk {

class TWordIndex;
class TWordDecoder;
struct TWordListCounts;

// What the last import, merge or export did to the texts it carried.
struct TConvertCounts {
    std::int64_t entries = 0;     // entries read (imports, merge) or written (exports)
    std::int64_t separators = 0;  // bytes 0x02 (which end search results) made spaces
    std::int64_t cut = 0;         // lines or entries cut to 99 999 bytes
    std::int64_t lineBreaks = 0;  // line breaks written as a space (CSV, first generation)
};

// Makes path the 72-byte empty dictionary, replacing a file that is there
// (TDataFile::CreateEmpty, which also tells why it failed).
[[nodiscard]] bool CreateEmpty(const std::string& path);

// What a caller expects an entry to hold before it changes or deletes it:
// the whole record it read, or only the word. An entry index may be stale:
// another program may have deleted an entry before it since the caller read
// it, and the index then names the next entry. Given an expectation, the
// operation fails with TFailure::EntryChanged and changes nothing when the
// entry no longer holds it (or the index names no entry any more). The
// finder's entry editing passes the record it loaded:
//     file.StoreEntry(edited, &index, TExpectedEntry::Record(loaded));
struct TExpectedEntry {
    std::string_view text;  // a whole record, or a word when wordOnly
    bool wordOnly = false;

    static TExpectedEntry Record(std::string_view record) { return {record, false}; }
    static TExpectedEntry Word(std::string_view word) { return {word, true}; }
    // True when `record` holds what is expected.
    [[nodiscard]] bool HeldBy(std::string_view record) const;
};

// The flags held by record 14's text: its leading hexadecimal digits; a
// text without any holds no flags.
[[nodiscard]] std::int32_t ParseFlags(std::string_view text);

// True when a's word (its bytes before the first 0x01) equals b's word byte
// for byte; case and letter groups are not folded.
[[nodiscard]] bool IsSameWord(std::string_view a, std::string_view b);

// output = existing (cut to size - 1 bytes), then every description of
// incoming that existing does not hold byte for byte, in incoming's order.
// A description that would make output longer than 99 999 bytes is left out.
bool MergeDescriptions(std::string_view existing, std::string_view incoming, std::string& output,
                       std::size_t size = MAX_RECORD);

class TDataFile {
  public:
    // The scratch paths: replacements, additions, output (each cut to 999
    // bytes). The output path is no longer written (the new dictionary is
    // written beside the old one); a file an earlier version left there is
    // removed after a change. The alphabet starts as the built-in row with
    // "|".
    TDataFile(std::string path, std::string replacementsPath, std::string additionsPath,
              std::string outputPath);
    ~TDataFile();
    TDataFile(const TDataFile&) = delete;
    TDataFile& operator=(const TDataFile&) = delete;

    const std::string& path() const { return m_path; }

    // The progress object the long operations (RemapLetter, MergeFile, the
    // imports and exports, Search, and every rewrite) report to and take
    // their stop request from. The caller keeps it alive while it is set;
    // nullptr goes back to the object's own, which nobody else reads.
    void SetProgress(TProgress* progress) { m_progress = progress ? progress : &m_ownProgress; }
    TProgress& progress() const { return *m_progress; }
    // The file layer every file call of this object goes through, also
    // those of the other files an operation reads or writes (a merge's
    // source, an import or an export): the POSIX layer until another is set
    // (file_system.h; tests set one that injects faults). The caller keeps
    // it alive while it is set and changes it only between operations.
    void SetFileSystem(TFileSystem& fileSystem) { m_fs = &fileSystem; }
    TFileSystem& fileSystem() const { return *m_fs; }
    // At most this long (and never longer than LockTimeout()) each operation
    // waits for another process's lock: a caller that only fills a list
    // gives up early and calls the dictionary busy.
    void SetLockWait(std::chrono::milliseconds bound) { m_lockWait = bound; }

    // Why the last failed operation failed (TFailure::None after a success).
    // The manager drops a dictionary from a library only for NotFound and
    // Damaged; Busy and NoPermission say that it is there but out of reach.
    TFailure LastFailure() const { return m_failure; }
    // The errno behind the last failure, 0 when none applies.
    int LastErrno() const { return m_errno; }
    // The file the last failure concerns: the dictionary, the other file of
    // a merge, import or export, or a scratch file.
    const std::string& LastFailurePath() const { return m_failurePath; }

    // Makes this dictionary the 72-byte empty dictionary: the new file is
    // written beside it and renamed over it, under the exclusive lock when a
    // dictionary is there already, so that its readers finish first and
    // keep what they read. Without `replace` an existing file is kept and
    // the operation fails with TFailure::Exists.
    [[nodiscard]] bool CreateEmpty(bool replace = true);
    // Makes a new empty dictionary in this dictionary's folder (beside the
    // file a symbolic link names) under a hidden name of its own, newPath:
    // ".NAME.~vrk3-new-" and six letters or digits, which no change of this
    // dictionary takes for a leftover while it is in use (beside_file.h). An import fills it and
    // ReplaceWith then puts it in this dictionary's place, so that an import that fails or is
    // stopped leaves this path as it was. The caller removes newPath when it gives up.
    [[nodiscard]] bool CreateEmptyBeside(std::string& newPath);
    // Puts the complete dictionary file at newPath, made by CreateEmptyBeside
    // of this object, in this dictionary's place: renamed over an existing
    // one under its exclusive lock (it takes that one's permissions and,
    // where allowed, owner), linked under the name when there is none. On
    // failure newPath is left for the caller and nothing else changed.
    [[nodiscard]] bool ReplaceWith(const std::string& newPath);

    // --- Dictionary data. The header reads cost the same for any number of
    // entries and create no scratch files.
    [[nodiscard]] std::int32_t GetEntryCount();
    // Header records 10-13, cut to size - 1 bytes.
    [[nodiscard]] bool GetName(std::string& out, std::size_t size = 1000);
    [[nodiscard]] bool GetAuthor(std::string& out, std::size_t size = 1000);
    [[nodiscard]] bool GetNotes(std::string& out, std::size_t size = 1000);
    [[nodiscard]] bool GetPassword(std::string& out, std::size_t size = 1000);
    // Record 14 as hexadecimal; text without hex digits reads as 0; -1 on failure.
    [[nodiscard]] std::int32_t GetFlags();
    // Records 10-14 in one rewrite; flags are stored in "%X" form.
    [[nodiscard]] bool SetInfo(std::string_view name, std::string_view author,
                               std::string_view notes, std::string_view password,
                               std::int32_t flags);

    // --- Picture (stored plain after the records).
    [[nodiscard]] bool SetPicture(std::string_view bytes);
    // The first min(picture size, size) bytes of the picture.
    [[nodiscard]] bool GetPicture(std::string& out, std::size_t size);
    // The picture length; 0 when the dictionary cannot be opened, -1 when
    // its trailer is damaged.
    [[nodiscard]] std::int32_t GetPictureSize();

    // --- Whole-dictionary changes (report through the progress object).
    // Replaces every byte `from` by `to` in all records but the password and
    // the flags; refuses 0x00 and 0x01.
    [[nodiscard]] bool RemapLetter(char from, char to);
    // Merges every entry of the dictionary at sourcePath into this one.
    [[nodiscard]] bool MergeFile(const std::string& sourcePath);

    // --- Sort order and letter folding.
    void SetAlphabet(std::string_view row, char separator);
    const std::string& alphabet() const { return m_alphabet; }
    char separator() const { return m_separator; }
    const TRankTable& rank() const { return m_rank; }

    // --- Entries (entry i is record ENTRY_BASE + i; i outside 0 ... count - 1 fails).
    [[nodiscard]] bool GetEntry(std::int32_t i, std::string& out);
    // Every entry in order, from one read under one shared lock: a snapshot
    // that changes made meanwhile by others never split. visit(i, record)
    // gets each record cut as GetEntry cuts it; it runs while the dictionary
    // is locked, so it must not wait (on output, say). Reports to the
    // progress object. False on a read failure, a stop request (Stopped), or
    // when visit returns false (Stopped).
    using TEntryVisitor = std::function<bool(std::int32_t index, std::string_view record)>;
    [[nodiscard]] bool ReadAllEntries(const TEntryVisitor& visit);
    [[nodiscard]] bool GetWord(std::int32_t i, std::string& out, std::size_t size = MAX_RECORD);
    [[nodiscard]] std::int32_t GetDescriptionCount(std::int32_t i);
    // Description k (from 0) cut to size - 1 bytes; k = -1 gives the word.
    [[nodiscard]] bool GetDescription(std::int32_t i, std::int32_t k, std::string& out,
                                      std::size_t size = MAX_RECORD);
    // Deletes entry i; with `expected`, only while it holds what is expected.
    [[nodiscard]] bool DeleteEntry(std::int32_t i,
                                   const std::optional<TExpectedEntry>& expected = std::nullopt);
    // Appends record; when *index names an entry, that entry is removed
    // first. *index becomes the stored entry's position after the rewrite.
    // With `expected` and an index of 0 or more, the entry at *index must
    // hold what is expected (see TExpectedEntry); without an index it is
    // not looked at.
    [[nodiscard]] bool StoreEntry(std::string_view record, std::int32_t* index = nullptr,
                                  const std::optional<TExpectedEntry>& expected = std::nullopt);
    // Like StoreEntry, but merges record's descriptions into every other
    // entry with the same word; index becomes the last such entry's
    // position after the rewrite. Appends when no entry has the word.
    [[nodiscard]] bool StoreEntryMerged(
        std::string_view record, std::int32_t& index,
        const std::optional<TExpectedEntry>& expected = std::nullopt);
    // The first entry with record's word; -2 when none, -1 on failure.
    [[nodiscard]] std::int32_t FindWord(std::string_view record);

    // --- Search (search.cpp). pattern is the known letters and the two
    // option characters, read as `syntax` says (pattern.h). Writes each
    // matching record followed by 0x02 into outText (0x00 after the last),
    // its index into outIndex and the number of found terms into outHits;
    // at most maxResults matches. When the next match does not fit,
    // outText.back() becomes 'X' and the search stops. Returns the number of
    // matches, or -1 on a read failure, a stop or a malformed pattern
    // (TFailure::InvalidArgument, before the dictionary is opened).
    [[nodiscard]] std::int32_t Search(std::string_view pattern, std::string_view terms,
                                      std::span<char> outText, std::span<std::int32_t> outIndex,
                                      std::span<std::int32_t> outHits, std::int32_t maxResults,
                                      TPatternSyntax syntax = {});
    // True when term occurs in text (rank-folded unless exact; bounded by
    // space, tab, 0x00, 0x01 or the ends when wholeWord).
    [[nodiscard]] bool ContainsTerm(std::string_view text, std::string_view term, bool exact,
                                    bool wholeWord) const;

    // --- Older formats (older_formats*.cpp). Imports merge entry by entry
    // into the dictionary as it was opened; exports write all entries sorted
    // by the alphabet row.
    [[nodiscard]] bool ImportSecondGen(const std::string& path, char separator, bool withInfo);
    [[nodiscard]] bool ImportFirstGen(const std::string& path, char separator);
    [[nodiscard]] bool ImportCsv(const std::string& path);
    [[nodiscard]] bool ExportSecondGen(const std::string& path, char separator);
    [[nodiscard]] bool ExportFirstGen(const std::string& path, char separator);
    [[nodiscard]] bool ExportCsv(const std::string& path, char separator);
    // What the last import, MergeFile or export changed (zero before one).
    const TConvertCounts& ConvertCounts() const { return m_convertCounts; }
    // Merges records held in memory (each a word, then 0x01 and each
    // description) as an import merges the entries of a file: one
    // transaction, a record longer than a record may be cut and counted; a
    // record holding 0x00 fails the import.
    [[nodiscard]] bool ImportRecords(std::span<const std::string> records);
    // Merges a word list (word_list.h), held whole in `list`, whose lines
    // `decoder` turns into words; `counts` tells what became of each line.
    [[nodiscard]] bool ImportWords(std::string_view list, TWordDecoder& decoder,
                                   TWordListCounts& counts);

  private:
    friend class TDataFileTestPeer;  // tests queue changes step by step
    enum class Mode { Read, Change };

    // Makes a file to put in the dictionary's place: called with the target
    // (links resolved) and the state of the file there (null when there is
    // none); returns 0 with the file's path set, or an errno.
    using TNewFileMaker =
        std::function<int(const std::string& target, const struct stat* like, std::string& path)>;
    // Puts the file `make` gives in the dictionary's place, under the
    // exclusive lock of the file there (CreateEmpty). `owned`: the file is
    // removed when it cannot be placed; else it is left to the caller.
    [[nodiscard]] bool PlaceNewFile(bool replace, bool owned, const TNewFileMaker& make);

    // --- Transaction steps.
    // Read: shared lock and a view of the file. Change: exclusive locks on
    // the dictionary and the scratch set, and the two change files created.
    [[nodiscard]] bool Open(Mode mode);
    [[nodiscard]] bool OpenChangeFiles();
    // Checks that the dictionary opened for a change may be replaced, finds
    // the real path the rewrite writes beside, and makes the new file there
    // (m_newFd), so that a change that could never be put in place is
    // refused before any work is done.
    [[nodiscard]] bool PrepareChange();
    // Places the cursor at record k; false when the records end first.
    [[nodiscard]] bool SeekRecord(std::int32_t k);
    // The record at the cursor, cut to size - 1 bytes; the cursor moves past
    // what was read (and past the terminator when it was reached).
    [[nodiscard]] bool ReadRecord(std::string& out, std::size_t size = MAX_RECORD);
    // Queue a new text for record k (0 ... count + 15). Texts longer than
    // 99 999 bytes or holding 0x00 are refused.
    [[nodiscard]] bool ReplaceRecord(std::int32_t k, std::string_view text);
    [[nodiscard]] bool AppendRecord(std::string_view text);
    [[nodiscard]] bool DeleteRecord(std::int32_t k);
    // Applies the queued changes by one rewrite, then releases everything.
    [[nodiscard]] bool Close();
    // Releases everything without applying the queued changes.
    void Abort();
    // Ends a changing operation: Close when every step succeeded, else Abort.
    [[nodiscard]] bool Finish(bool ok);

    // Header records 0 ... last, read without loading the entries.
    [[nodiscard]] bool ReadHeaderRecords(int last, std::vector<std::string>& out);
    [[nodiscard]] bool GetHeaderRecord(int k, std::string& out, std::size_t size);
    // Reads entry i of a dictionary opened for reading.
    [[nodiscard]] bool ReadEntry(std::int32_t i, std::string& out, std::size_t size = MAX_RECORD);
    // True when entry `index` of the open dictionary holds what is
    // expected (always without an expectation); else records EntryChanged.
    [[nodiscard]] bool CheckExpected(std::int32_t index,
                                     const std::optional<TExpectedEntry>& expected);
    [[nodiscard]] bool ReadEntryOnce(std::int32_t i, std::string& out);
    [[nodiscard]] bool Rewrite();
    // The magic, the header and every record of the rewritten file.
    [[nodiscard]] bool WriteRecords(TScrambledWriter& out, std::string_view replacements,
                                    std::string_view additions);

    // --- Merging incoming entries (MergeFile and every import).
    // Indexes the first entry of every word of the dictionary as opened;
    // called once after Open(Mode::Change).
    [[nodiscard]] bool BuildWordIndex();
    // One incoming entry: merged into the first entry with the same word in
    // the dictionary as it was opened (ReplaceRecord), or appended; then
    // nProgressPos + 1. False on a write failure or when a stop is requested.
    [[nodiscard]] bool MergeIncoming(std::string_view record);
    [[nodiscard]] bool ReadPictureFromFile(std::string_view& out) const;
    // Where the records of a whole dictionary file end (before its picture
    // block) and its entry count; false when the file is too short or the
    // count does not fit the records.
    [[nodiscard]] static bool RecordRegion(std::string_view file, std::uint64_t& end,
                                           std::int32_t& count);
    // Records why the operation failed; returns false (or -1 through the
    // callers), so that a failure path reads `return Fail(...)`.
    bool Fail(TFailure failure, int errnoValue = 0) { return FailAt(m_path, failure, errnoValue); }
    bool FailAt(const std::string& path, TFailure failure, int errnoValue = 0) {
        m_failure = failure;
        m_errno = errnoValue;
        m_failurePath = path;
        return false;
    }
    // A failed system call on `path`, by its errno.
    bool FailErrno(const std::string& path, int errnoValue) {
        return FailAt(path, FailureFromErrno(errnoValue), errnoValue);
    }
    // A new file could not be made beside the dictionary at `path`: a
    // refusal by the system is its folder's (the dictionary itself may be
    // writable).
    bool FailBeside(const std::string& path, int errnoValue) {
        const TFailure failure = FailureFromErrno(errnoValue);
        return FailAt(path,
                      failure == TFailure::NoPermission ? TFailure::FolderNotWritable : failure,
                      errnoValue);
    }
    // A read that came short: the file ended early (errno 0: damaged) or
    // the system failed it.
    bool FailRead(const std::string& path, int errnoValue) {
        return errnoValue == 0 ? FailAt(path, TFailure::Damaged) : FailErrno(path, errnoValue);
    }
    // The failure of opening `file`, from its errno.
    bool FailOpen(const TLockedFile& file) { return FailErrno(m_path, file.error()); }
    // A stop request ends the operation: Stopped.
    bool FailStopped() { return Fail(TFailure::Stopped); }
    // A failed step that recorded no reason of its own.
    bool FailIfUnset(TFailure failure) {
        return m_failure == TFailure::None ? Fail(failure) : false;
    }
    void ClearFailure() {
        m_failure = TFailure::None;
        m_errno = 0;
        m_failurePath.clear();
    }
    [[nodiscard]] bool ValidEntry(std::int32_t i) const { return i >= 0 && i < m_count; }
    // Scrambled bytes of the records region of the open dictionary.
    std::string_view Records() const;

    // --- Search and older-format internals (search.cpp, older_formats*.cpp).
    enum class ExportKind { SecondGen, FirstGen, Csv };
    // Writes every entry, sorted by the alphabet row, in one older format.
    [[nodiscard]] bool ExportSorted(const std::string& path, ExportKind kind, char separator);
    // Starts the progress object and opens the dictionary for changes and
    // the file at path for reading; -1 (nothing left open) on failure.
    [[nodiscard]] int BeginImport(const std::string& path);
    // --- end of search and older-format internals.

    std::string m_path;
    std::string m_replacementsPath;
    std::string m_additionsPath;
    std::string m_outputPath;
    std::string m_alphabet;
    char m_separator = kDefaultSeparator;
    TRankTable m_rank;

    // Per transaction.
    TLockedFile m_mainFile;
    std::string m_realPath;  // the dictionary with its links resolved, while open for a change
    TLockedFile m_replacementsFile;
    int m_additionsFd = -1;
    std::string m_openAdditionsPath;
    TFileView m_data;  // the whole dictionary file, scrambled as stored
    std::uint64_t m_recordsEnd = 0;
    std::uint64_t m_cursor = 0;
    std::int32_t m_count = 0;
    bool m_modified = false;
    std::uint32_t m_added = 0;
    std::uint32_t m_deleted = 0;
    // Queued changes of existing records: record number -> offset of its new
    // text in the replacements file, or kDeleted. Sized by the changes, not
    // by the dictionary, so a one-entry change costs nothing per entry.
    static constexpr std::int64_t kDeleted = -1;
    std::unordered_map<std::int32_t, std::int64_t> m_changes;
    // The new dictionary file beside the old one, made when the transaction
    // opens; the rewrite fills it and renames it over the dictionary, and
    // Abort removes it when it was not placed.
    int m_newFd = -1;
    std::string m_newPath;
    TScrambledWriter m_replacements{1 << 16};
    TScrambledWriter m_additions{1 << 16};
    // A picture set by SetPicture, written by its rewrite. Otherwise every
    // rewrite takes the picture from the file as it is then.
    std::optional<std::string> m_picture;
    std::unique_ptr<TWordIndex> m_wordIndex;
    TConvertCounts m_convertCounts;
    TProgress m_ownProgress;
    TProgress* m_progress = &m_ownProgress;
    TFileSystem* m_fs = &PosixFileSystem();
    std::chrono::milliseconds m_lockWait = std::chrono::milliseconds::max();
    TFailure m_failure = TFailure::None;
    int m_errno = 0;
    std::string m_failurePath;
};

}  // namespace vrk
