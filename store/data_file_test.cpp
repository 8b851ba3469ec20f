#include "data_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "coding.h"
#include "progress.h"
#include "test_util.h"

namespace vrk {
namespace {

using DataFile = TempDirTest;

// An empty dictionary is the 72-byte file; creating one over another
// replaces it only when asked, and keeps its permissions.
TEST_F(DataFile, CreatingAnewReplacesTheOldFileOnlyWhenAsked) {
    ASSERT_TRUE(CreateEmpty(Path("e.vrk3")));
    std::string expected(kEmptyFileSize, '\0');
    expected.replace(0, kMagicSize, kMagic);
    EXPECT_EQ(ReadWholeFile(Path("e.vrk3")), expected);
    EXPECT_FALSE(CreateEmpty(Path("missing-folder/e.vrk3")));
    auto file = DictionaryWith({"A", "B"});
    ASSERT_EQ(chmod(file->path().c_str(), 0640), 0);
    EXPECT_FALSE(file->CreateEmpty(false));
    EXPECT_EQ(file->LastFailure(), TFailure::Exists);
    EXPECT_EQ(file->GetEntryCount(), 2);
    ASSERT_TRUE(file->CreateEmpty(true));
    EXPECT_EQ(file->GetEntryCount(), 0);
    const auto mode = [&] { return std::filesystem::status(file->path()).permissions(); };
    EXPECT_EQ(mode(), std::filesystem::perms(0640));
    ASSERT_TRUE(file->StoreEntry("B"));  // a rewrite keeps them too
    EXPECT_EQ(mode(), std::filesystem::perms(0640));
    EXPECT_EQ(Files(), (std::vector<std::string>{"e.vrk3", "test.vrk3"}));
}

TEST_F(DataFile, EntryReadsCutAndFailAsDocumented) {
    auto file = DictionaryWith({Record("REKA", {"vodni tok", "Sava"}), "OSA"});
    std::string out;
    EXPECT_EQ(file->GetDescriptionCount(0), 2);
    EXPECT_EQ(file->GetDescriptionCount(1), 0);  // a word alone has no 0x01
    EXPECT_TRUE(file->GetDescription(0, 1, out));
    EXPECT_EQ(out, "Sava");
    EXPECT_FALSE(file->GetDescription(0, 2, out));
    EXPECT_FALSE(file->GetEntry(2, out));
    EXPECT_EQ(file->GetDescriptionCount(5), -1);
    EXPECT_EQ(file->FindWord(Record("OSA", {"x"})), 1);
    EXPECT_EQ(file->FindWord("OS"), -2);
    EXPECT_EQ(file->FindWord("osa"), -2);  // byte for byte
}

TEST_F(DataFile, ReadAllEntriesIsOneReadUnderOneLock) {
    auto file = DictionaryWith({Record("REKA", {"vodni tok"}), "OSA", ""});
    auto writer = Dictionary();
    TLockTimeoutForTesting timeout(std::chrono::milliseconds(50));
    std::vector<std::string> seen;
    ASSERT_TRUE(file->ReadAllEntries([&](std::int32_t i, std::string_view record) {
        EXPECT_EQ(i, static_cast<std::int32_t>(seen.size()));
        seen.emplace_back(record);
        // Nobody changes the dictionary while it is read.
        EXPECT_FALSE(writer->DeleteEntry(0));
        EXPECT_EQ(writer->LastFailure(), TFailure::Busy);
        return true;
    }));
    EXPECT_EQ(seen, (std::vector<std::string>{Record("REKA", {"vodni tok"}), "OSA", ""}));
    EXPECT_FALSE(file->ReadAllEntries([](std::int32_t, std::string_view) { return false; }));
    EXPECT_EQ(file->LastFailure(), TFailure::Stopped);
    EXPECT_TRUE(writer->DeleteEntry(0));  // the lock was given up
}

TEST_F(DataFile, StoreEntryAppendsOrReplacesAndReportsThePositionAfterTheRewrite) {
    auto file = DictionaryWith({"A", "B", "C"});
    std::int32_t index = -1;
    ASSERT_TRUE(file->StoreEntry("D", &index));
    EXPECT_EQ(index, 3);
    ASSERT_TRUE(file->StoreEntry("E"));
    index = 1;  // replace B: it leaves its place, the new text goes last
    ASSERT_TRUE(file->StoreEntry("B2", &index));
    EXPECT_EQ(index, 4);
    index = 99;  // names no entry: appended
    ASSERT_TRUE(file->StoreEntry("F", &index));
    EXPECT_EQ(index, 5);
    EXPECT_EQ(Entries(*file), (std::vector<std::string>{"A", "C", "D", "E", "B2", "F"}));
}

TEST_F(DataFile, QueuedChangesApplyInOneRewriteInOrder) {
    auto file = DictionaryWith({"A", "B", "C", "D"});
    TDataFileTestPeer peer(*file);
    ASSERT_TRUE(peer.OpenForChange());
    EXPECT_TRUE(peer.Replace(ENTRY_BASE + 1, "first"));
    EXPECT_TRUE(peer.Replace(ENTRY_BASE + 1, "second"));  // the later text wins
    EXPECT_TRUE(peer.Delete(ENTRY_BASE + 2));
    EXPECT_TRUE(peer.Replace(ENTRY_BASE + 3, "gone"));
    EXPECT_TRUE(peer.Delete(ENTRY_BASE + 3));  // deleting drops the replacement
    EXPECT_TRUE(peer.Delete(ENTRY_BASE));
    EXPECT_TRUE(peer.Replace(ENTRY_BASE, "A2"));  // a new text brings it back, and counted
    EXPECT_TRUE(peer.Append("X"));
    EXPECT_TRUE(peer.Append("Y"));
    EXPECT_TRUE(peer.Replace(kRecordName, "Ime"));
    EXPECT_FALSE(peer.Replace(ENTRY_BASE + 4, "out of range"));
    EXPECT_FALSE(peer.Append(std::string("a\0b", 3)));
    ASSERT_TRUE(peer.Close());
    EXPECT_EQ(Entries(*file), (std::vector<std::string>{"A2", "second", "X", "Y"}));
    std::string name;
    EXPECT_TRUE(file->GetName(name));
    EXPECT_EQ(name, "Ime");
}

TEST_F(DataFile, InfoAndFlagsRoundTrip) {
    auto file = DictionaryWith({"A"});
    ASSERT_TRUE(file->SetInfo("Ime", "Avtor", "vrsta 1\r\nvrsta 2", "geslo", 7));
    std::string text;
    EXPECT_TRUE(file->GetNotes(text));
    EXPECT_EQ(text, "vrsta 1\r\nvrsta 2");
    EXPECT_TRUE(file->GetAuthor(text, 3));
    EXPECT_EQ(text, "Av");
    ASSERT_TRUE(file->SetInfo("Ime", "", "", "", 0x1C));
    EXPECT_EQ(file->GetFlags(), 0x1C);
    // Written as upper-case hexadecimal, as other readers of the format
    // expect; read in either case.
    std::string bytes = ReadWholeFile(file->path());
    ScrambleBytes(bytes.data() + kRecordsOffset, bytes.data() + kRecordsOffset,
                  bytes.size() - kRecordsOffset, kRecordsOffset);
    EXPECT_NE(bytes.find(std::string("\0001C\0", 4)), std::string::npos);
    EXPECT_EQ(ParseFlags("6a"), 0x6A);
    EXPECT_EQ(ParseFlags("fz7"), 0xF);
    EXPECT_EQ(ParseFlags("zz"), 0);
}

TEST_F(DataFile, PictureSurvivesLaterRewrites) {
    auto file = DictionaryWith({"A"});
    std::string picture = "BM";
    for (int i = 0; i < 600; ++i) picture += static_cast<char>(i % 256);  // 0xFF and 0x00 inside
    ASSERT_TRUE(file->SetPicture(picture));
    EXPECT_EQ(file->GetPictureSize(), static_cast<std::int32_t>(picture.size()));
    ASSERT_TRUE(file->StoreEntry("B"));
    ASSERT_TRUE(file->SetInfo("n", "a", "", "", 6));
    std::string back;
    ASSERT_TRUE(file->GetPicture(back, 100000));
    EXPECT_EQ(back, picture);
    EXPECT_EQ(Entries(*file), (std::vector<std::string>{"A", "B"}));
    ASSERT_TRUE(file->SetPicture(""));
    EXPECT_EQ(ReadWholeFile(file->path()).size(), kEmptyFileSize + 4 + 3);  // A, B, n, a, 6
}

TEST_F(DataFile, StoreEntryMergedMergesIntoEveryEntryWithTheWord) {
    auto file = DictionaryWith({Record("REKA", {"tok"}), Record("OSA", {"a"}),
                                Record("REKA", {"Sava", "tok"}), Record("reka", {"x"})});
    std::int32_t index = -1;
    ASSERT_TRUE(file->StoreEntryMerged(Record("REKA", {"tok", "voda"}), index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(Entries(*file), (std::vector<std::string>{
                                  Record("REKA", {"tok", "voda"}), Record("OSA", {"a"}),
                                  Record("REKA", {"Sava", "tok", "voda"}), Record("reka", {"x"})}));
    // The edited entry itself is replaced: it leaves, the others absorb it.
    index = 0;
    ASSERT_TRUE(file->StoreEntryMerged(Record("REKA", {"nov"}), index));
    EXPECT_EQ(index, 1);  // entry 2 moved up by one
    EXPECT_EQ(Entries(*file)[1], Record("REKA", {"Sava", "tok", "voda", "nov"}));
    index = -1;
    ASSERT_TRUE(file->StoreEntryMerged(Record("NOVA", {"x"}), index));
    EXPECT_EQ(index, 3);
}

// Entries A B C D; a search shows C at 2; another program deletes entry 0.
// Index 2 now names D: a change that says what it expects there is refused.
TEST_F(DataFile, AStaleIndexChangesNothingWhenTheExpectedEntryIsGone) {
    const std::vector<std::string> entries = {Record("A", {"a"}), Record("B", {"b"}),
                                              Record("C", {"c"}), Record("D", {"d"})};
    auto file = DictionaryWith(entries);
    std::string loaded;
    ASSERT_TRUE(file->GetEntry(2, loaded));
    auto other = Dictionary();
    ASSERT_TRUE(other->DeleteEntry(0));
    const std::string before = ReadWholeFile(file->path());

    std::int32_t index = 2;
    EXPECT_FALSE(
        file->StoreEntry(Record("C", {"c", "nov"}), &index, TExpectedEntry::Record(loaded)));
    EXPECT_EQ(file->LastFailure(), TFailure::EntryChanged);
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(file->DeleteEntry(2, TExpectedEntry::Word("C")));
    EXPECT_EQ(file->LastFailure(), TFailure::EntryChanged);
    EXPECT_EQ(ReadWholeFile(file->path()), before);
    EXPECT_EQ(Files(), std::vector<std::string>{"test.vrk3"});

    // Where the entry is what the caller expects, the change goes ahead.
    index = 1;
    ASSERT_TRUE(
        file->StoreEntry(Record("C", {"c", "nov"}), &index, TExpectedEntry::Record(loaded)));
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(file->DeleteEntry(0, TExpectedEntry::Word(Record("B", {"drugo"}))));
    EXPECT_EQ(Entries(*file),
              (std::vector<std::string>{Record("D", {"d"}), Record("C", {"c", "nov"})}));
    // Only the whole record counts when the record is expected.
    index = 0;
    EXPECT_FALSE(file->StoreEntry("X", &index, TExpectedEntry::Record(Record("D"))));
}

// Every refused or stopped change, and one with nothing to change, leaves
// the dictionary as it was, and nothing beside it.
TEST_F(DataFile, FailuresSayWhy) {
    auto file = DictionaryWith({"A"});
    const std::string before = ReadWholeFile(file->path());
    EXPECT_TRUE(file->RemapLetter('Q', 'q'));  // no record holds Q: nothing to write
    EXPECT_FALSE(file->StoreEntry(std::string(kMaxRecordText + 1, 'a')));
    EXPECT_EQ(file->LastFailure(), TFailure::RecordTooLong);
    EXPECT_FALSE(file->StoreEntry(std::string("a\0b", 3)));
    EXPECT_EQ(file->LastFailure(), TFailure::RecordTooLong);
    EXPECT_FALSE(file->DeleteEntry(1));
    EXPECT_EQ(file->LastFailure(), TFailure::InvalidArgument);
    for (const auto& [from, to] : {std::pair{'\x01', 'a'}, {'\0', 'a'}, {'a', '\x01'}}) {
        EXPECT_FALSE(file->RemapLetter(from, to));
        EXPECT_EQ(file->LastFailure(), TFailure::InvalidArgument);
    }
    TProgress progress;
    progress.RequestStop();
    file->SetProgress(&progress);
    EXPECT_FALSE(file->StoreEntry("B"));
    EXPECT_EQ(file->LastFailure(), TFailure::Stopped);
    file->SetProgress(nullptr);
    EXPECT_EQ(ReadWholeFile(file->path()), before);
    EXPECT_EQ(Files(), (std::vector<std::string>{"test.vrk3"}));
    ASSERT_TRUE(file->StoreEntry(std::string(kMaxRecordText, 'a')));  // the limit itself
    EXPECT_EQ(Entries(*file).back().size(), kMaxRecordText);
    EXPECT_EQ(DescribeFailure(TFailure::DiskFull, ENOSPC),
              std::string("disk full (") + std::strerror(ENOSPC) + ")");
}

TEST(MergeDescriptions, AddsOnlyNewDescriptionsWithinTheRecordLimit) {
    std::string out;
    ASSERT_TRUE(
        MergeDescriptions(Record("W", {"ab", "c"}), Record("X", {"a", "c", "ab", "d"}), out));
    EXPECT_EQ(out, Record("W", {"ab", "c", "a", "d"}));
    ASSERT_TRUE(MergeDescriptions("W", Record("W", {""}), out));
    EXPECT_EQ(out, Record("W", {""}));
    const std::string big = Record("W", {std::string(kMaxRecordText - 4, 'x')});
    ASSERT_TRUE(MergeDescriptions(big, Record("W", {"ab", "c"}), out));
    EXPECT_EQ(out, big +
                       "\x01"
                       "c");
}

// The flags are stored as hexadecimal text: remapping one of its digits
// must not change the permissions, nor the password that holds it.
TEST_F(DataFile, RemapLetterChangesEverythingButPasswordAndFlags) {
    auto file = DictionaryWith({Record("a6a", {"a 6"}), "xyz"});
    ASSERT_TRUE(file->SetInfo("Kava 6", "a", "n", "a6", 6));
    ASSERT_TRUE(file->RemapLetter('a', '\xe8'));
    ASSERT_TRUE(file->RemapLetter('6', 'x'));
    EXPECT_EQ(Entries(*file), (std::vector<std::string>{Record("\xe8x\xe8", {"\xe8 x"}), "xyz"}));
    std::string text;
    EXPECT_TRUE(file->GetName(text));
    EXPECT_EQ(text, "K\xe8v\xe8 x");
    EXPECT_TRUE(file->GetPassword(text));
    EXPECT_EQ(text, "a6");
    EXPECT_EQ(file->GetFlags(), 6);
}

// Each incoming entry merges into the first entry with its word as the
// dictionary was opened (a later one supersedes an earlier merge); the
// others are appended. The source's data is not taken.
TEST_F(DataFile, MergeFileMergesIntoTheFirstEntryWithTheWord) {
    auto target = DictionaryWith({Record("w1", {"a"}), Record("w2"), Record("w1", {"b"})});
    auto source =
        DictionaryWith({Record("w1", {"c"}), Record("w3", {"x"}), Record("w1", {"a", "d"}),
                        Record("w3", {"y"}), Record("w2", {"e"})},
                       "s.vrk3");
    ASSERT_TRUE(source->SetInfo("drugo ime", "", "", "skrito", 7));
    ASSERT_TRUE(target->MergeFile(source->path()));
    EXPECT_EQ(
        Entries(*target),
        (std::vector<std::string>{Record("w1", {"a", "d"}), Record("w2", {"e"}),
                                  Record("w1", {"b"}), Record("w3", {"x"}), Record("w3", {"y"})}));
    std::string name;
    EXPECT_TRUE(target->GetName(name));
    EXPECT_EQ(name, "");
}

// A source whose count says more entries than its records hold is damaged:
// its picture bytes and trailer are never taken for entries. An empty source
// changes nothing.
TEST_F(DataFile, MergeFileReadsOnlyTheSourcesRecords) {
    auto target = DictionaryWith({Record("A", {"x"})});
    auto source = DictionaryWith({Record("B", {"y"}), Record("C")}, "s.vrk3");
    ASSERT_TRUE(source->SetPicture(std::string("P1\0P2\0P3\0", 9)));
    std::string bytes = ReadWholeFile(Path("s.vrk3"));
    PutFixed32(bytes.data() + kHeaderOffset, 4);
    WriteWholeFile(Path("s.vrk3"), bytes);
    const std::string before = ReadWholeFile(target->path());
    EXPECT_FALSE(target->MergeFile(Path("s.vrk3")));
    EXPECT_EQ(target->LastFailure(), TFailure::Damaged);
    EXPECT_EQ(target->LastFailurePath(), Path("s.vrk3"));
    EXPECT_EQ(ReadWholeFile(target->path()), before);
    ASSERT_TRUE(CreateEmpty(Path("empty.vrk3")));
    ASSERT_TRUE(target->MergeFile(Path("empty.vrk3")));
    ASSERT_TRUE(target->MergeFile(target->path()));  // nor does the same one
    EXPECT_EQ(ReadWholeFile(target->path()), before);
    // With the count put right, the picture stays where it is.
    PutFixed32(bytes.data() + kHeaderOffset, 2);
    WriteWholeFile(Path("s.vrk3"), bytes);
    ASSERT_TRUE(target->MergeFile(Path("s.vrk3")));
    EXPECT_EQ(Entries(*target),
              (std::vector<std::string>{Record("A", {"x"}), Record("B", {"y"}), Record("C")}));
}

}  // namespace
}  // namespace vrk
