// Damaged and hostile dictionary files: every operation fails cleanly (or
// reads what is there), never crashes, hangs or allocates by a stored number.
#include <cstring>

#include "coding.h"
#include "data_file.h"
#include "test_util.h"

namespace vrk {
namespace {

class DamagedFile : public TempDirTest {
  protected:
    // Runs every operation on the file; only their results are checked by
    // the callers, the point is that none of them misbehaves.
    // Every failure says why; a damaged file never reads as missing.
    static void ExpectReason(const TDataFile& file, bool ok, const char* what) {
        if (ok) return;
        EXPECT_NE(file.LastFailure(), TFailure::None) << what;
        EXPECT_NE(file.LastFailure(), TFailure::NotFound) << what;
    }

    // Runs every operation on the file; only their results are checked by
    // the callers, the point is that none of them misbehaves.
    void TouchEverything(TDataFile& file) {
        std::string out;
        const std::int32_t count = file.GetEntryCount();
        ExpectReason(file, count >= 0, "GetEntryCount");
        ExpectReason(file, file.GetName(out), "GetName");
        ExpectReason(file, file.GetNotes(out), "GetNotes");
        ExpectReason(file, file.GetFlags() >= 0, "GetFlags");
        ExpectReason(file, file.GetPictureSize() >= 0, "GetPictureSize");
        ExpectReason(file, file.GetPicture(out, 1 << 20), "GetPicture");
        for (std::int32_t i : {0, 1, 5, count - 1, count}) {
            ExpectReason(file, file.GetEntry(i, out), "GetEntry");
            ExpectReason(file, file.GetDescription(i, 0, out), "GetDescription");
            ExpectReason(file, file.GetDescriptionCount(i) >= 0, "GetDescriptionCount");
        }
        ExpectReason(file, file.FindWord("REKA") != -1, "FindWord");
        ExpectReason(file, file.StoreEntry(Record("NOVO", {"x"})), "StoreEntry");
        std::int32_t index = 0;
        ExpectReason(file, file.StoreEntryMerged(Record("REKA", {"y"}), index), "StoreEntryMerged");
        ExpectReason(file, file.DeleteEntry(0), "DeleteEntry");
        ExpectReason(file, file.RemapLetter('a', 'b'), "RemapLetter");
    }

    std::string SoundFile() {
        auto file = DictionaryWith(
            {Record("REKA", {"vodni tok", "Sava"}), Record("OSA", {"a"}), "SAM"}, "sound.vrk3");
        EXPECT_TRUE(file->SetPicture("BMpicture"));
        return ReadWholeFile(file->path());
    }
};

TEST_F(DamagedFile, EveryCutOfAFileIsHandled) {
    const std::string sound = SoundFile();
    for (std::size_t n = 0; n < sound.size(); ++n) {
        WriteWholeFile(Path("cut.vrk3"), sound.substr(0, n));
        auto file = Dictionary("cut.vrk3");
        TouchEverything(*file);
        if (n < kEmptyFileSize) {
            EXPECT_EQ(file->GetEntryCount(), -1) << n;
            EXPECT_EQ(file->LastFailure(), TFailure::Damaged) << n;
            // Reading entries agrees: there is no trailer, so no records.
            std::string out;
            EXPECT_FALSE(file->GetEntry(0, out)) << n;
            EXPECT_EQ(file->LastFailure(), TFailure::Damaged) << n;
        }
    }
}

TEST_F(DamagedFile, CountLargerThanTheRecordsPresentIsRefused) {
    std::string bytes = SoundFile();
    PutFixed32(bytes.data() + kHeaderOffset, 5);  // three entries present
    WriteWholeFile(Path("d.vrk3"), bytes);
    auto file = Dictionary("d.vrk3");
    std::string out;
    EXPECT_TRUE(file->GetEntry(2, out));
    EXPECT_FALSE(file->GetEntry(3, out));
    EXPECT_FALSE(file->StoreEntry("X"));  // the rewrite cannot copy record 19
    EXPECT_EQ(file->FindWord("NIC"), -1);
    EXPECT_EQ(ReadWholeFile(Path("d.vrk3")), bytes);

    for (std::uint32_t huge : {0x7FFFFFFFu, 0xFFFFFFFFu, 0x80000000u, 1000u}) {
        PutFixed32(bytes.data() + kHeaderOffset, huge);
        WriteWholeFile(Path("d.vrk3"), bytes);
        EXPECT_EQ(file->GetEntryCount(), -1) << huge;
        EXPECT_FALSE(file->GetEntry(0, out));
        EXPECT_FALSE(file->StoreEntry("X"));
    }
}

TEST_F(DamagedFile, TheLargestCountTheRecordsHoldIsTheLastAccepted) {
    // 16 header records and five empty entries, no picture: every record is
    // just its terminator, so five is the most the file can hold.
    std::string bytes(kEmptyFileSize + 5, '\0');
    std::memcpy(bytes.data(), kMagic.data(), kMagicSize);
    for (std::uint32_t count : {5u, 6u}) {
        PutFixed32(bytes.data() + kHeaderOffset, count);
        WriteWholeFile(Path("short.vrk3"), bytes);
        auto file = Dictionary("short.vrk3");
        std::string out;
        if (count == 5) {
            EXPECT_EQ(file->GetEntryCount(), 5);
            EXPECT_TRUE(file->GetEntry(4, out));
            EXPECT_EQ(out, "");
            EXPECT_EQ(Entries(*file).size(), 5u);
        } else {
            EXPECT_EQ(file->GetEntryCount(), -1);
            EXPECT_EQ(file->LastFailure(), TFailure::Damaged);
            EXPECT_FALSE(file->GetEntry(0, out));
            EXPECT_EQ(file->LastFailure(), TFailure::Damaged);
        }
    }
}

TEST_F(DamagedFile, AFileShorterThanItsTrailerHasNoEntries) {
    // 16 header records and the entry "A" fit in 54 bytes, but a file that
    // cannot hold its 20-byte trailer is cut, whatever its records say.
    std::string bytes(kRecordsOffset + ENTRY_BASE, '\0');
    std::memcpy(bytes.data(), kMagic.data(), kMagicSize);
    PutFixed32(bytes.data() + kHeaderOffset, 1);
    std::string entry = "A";
    ScrambleBytes(entry.data(), entry.data(), 1, bytes.size());
    bytes += entry + '\0' + std::string(kEmptyFileSize - 1 - bytes.size() - 2, 'x');
    ASSERT_EQ(bytes.size(), kEmptyFileSize - 1);
    WriteWholeFile(Path("short.vrk3"), bytes);
    auto file = Dictionary("short.vrk3");
    std::string out;
    EXPECT_EQ(file->GetEntryCount(), -1);
    EXPECT_FALSE(file->GetEntry(0, out));
    EXPECT_EQ(file->LastFailure(), TFailure::Damaged);
    EXPECT_EQ(file->FindWord("A"), -1);
}

TEST_F(DamagedFile, ReadingTheCountAndOpeningAgreeWhereTheRecordsEnd) {
    // Five empty entries and a 4-byte picture: the picture is no room for
    // records. With a trailer that cannot be right, the records run to the
    // end of the file. Reading the count once looked at neither.
    std::string bytes(kEmptyFileSize + 5, '\0');
    std::memcpy(bytes.data(), kMagic.data(), kMagicSize);
    bytes.insert(bytes.size() - kTrailerSize, "BMxy");
    for (std::uint32_t picture : {4u, 0xFFFFu}) {
        PutFixed32(bytes.data() + bytes.size() - kTrailerSize, picture);
        for (std::uint32_t count : {4u, 5u, 6u, 28u, 29u, 30u}) {
            PutFixed32(bytes.data() + kHeaderOffset, count);
            WriteWholeFile(Path("p.vrk3"), bytes);
            auto file = Dictionary("p.vrk3");
            std::string out;
            const bool opens = file->GetEntry(0, out);
            EXPECT_EQ(file->GetEntryCount() >= 0, opens) << picture << " " << count;
            // 81 bytes: with a damaged trailer, 45 bytes of records.
            EXPECT_EQ(opens, picture == 4 ? count <= 5 : count <= 29) << picture << " " << count;
        }
    }
}

TEST_F(DamagedFile, CountLowerThanTheRecordsIsReadAsCountedAndNeverRewritten) {
    // A rewrite copies only the counted records: the others would be lost
    // for good. A change refuses such a file; reading shows what is counted.
    std::string bytes = SoundFile();
    PutFixed32(bytes.data() + kHeaderOffset, 2);  // three entries present
    WriteWholeFile(Path("low.vrk3"), bytes);
    auto file = Dictionary("low.vrk3");
    std::string out;
    EXPECT_EQ(file->GetEntryCount(), 2);
    EXPECT_TRUE(file->GetEntry(1, out));
    EXPECT_EQ(out, Record("OSA", {"a"}));
    EXPECT_FALSE(file->GetEntry(2, out));
    EXPECT_EQ(Entries(*file).size(), 2u);
    EXPECT_FALSE(file->StoreEntry(Record("NOVO")));
    EXPECT_EQ(file->LastFailure(), TFailure::Damaged);
    EXPECT_FALSE(file->DeleteEntry(0));
    EXPECT_FALSE(file->SetInfo("ime", "", "", "", 6));
    EXPECT_FALSE(file->SetPicture("x"));
    EXPECT_FALSE(file->RemapLetter('A', 'B'));
    EXPECT_EQ(file->LastFailure(), TFailure::Damaged);
    EXPECT_EQ(ReadWholeFile(Path("low.vrk3")), bytes);
    EXPECT_EQ(Files(), (std::vector<std::string>{"low.vrk3", "sound.vrk3"}));
}

TEST_F(DamagedFile, PictureLengthBeyondTheFileFailsThePictureAndTheRewrite) {
    std::string bytes = SoundFile();
    // The last: a picture that would begin inside the header.
    for (std::uint32_t n : {0xFFFFFFFFu, static_cast<std::uint32_t>(bytes.size()),
                            static_cast<std::uint32_t>(bytes.size() - kEmptyFileSize + 1)}) {
        PutFixed32(bytes.data() + bytes.size() - kTrailerSize, n);
        WriteWholeFile(Path("p.vrk3"), bytes);
        auto file = Dictionary("p.vrk3");
        std::string out;
        EXPECT_EQ(file->GetPictureSize(), -1);
        EXPECT_FALSE(file->GetPicture(out, 100));
        EXPECT_FALSE(file->StoreEntry("X"));
        EXPECT_EQ(ReadWholeFile(Path("p.vrk3")), bytes);
    }
}

// Random damage is the dictionary fuzz harness's (fuzz/dictionary_fuzz.cpp,
// its corpus replayed as fuzz.dictionary); this one file pins the records
// that never end.
TEST_F(DamagedFile, RecordsWithoutTerminators) {
    std::string bytes(kMagic);
    bytes += std::string(10, '\0');
    bytes += std::string(5000, '\x41');  // no terminator anywhere
    bytes += std::string(kTrailerSize, '\0');
    WriteWholeFile(Path("j.vrk3"), bytes);
    auto file = Dictionary("j.vrk3");
    std::string out;
    EXPECT_FALSE(file->GetName(out));
    EXPECT_FALSE(file->StoreEntry("X"));
    TouchEverything(*file);
}

TEST_F(DamagedFile, MissingFileFailsEveryOperationAsNotFound) {
    auto file = Dictionary("none.vrk3");
    std::string out;
    EXPECT_EQ(file->GetEntryCount(), -1);
    EXPECT_EQ(file->LastFailure(), TFailure::NotFound);
    EXPECT_EQ(file->GetFlags(), -1);
    EXPECT_EQ(file->GetPictureSize(), 0);
    EXPECT_EQ(file->LastFailure(), TFailure::NotFound);
    EXPECT_FALSE(file->GetName(out));
    EXPECT_EQ(file->LastFailure(), TFailure::NotFound);
    EXPECT_FALSE(file->StoreEntry("X"));
    EXPECT_EQ(file->LastFailure(), TFailure::NotFound);
    EXPECT_EQ(file->LastFailurePath(), Path("none.vrk3"));
    EXPECT_EQ(file->FindWord("X"), -1);
    auto inMissingFolder = Dictionary("no/such/folder.vrk3");
    EXPECT_EQ(inMissingFolder->GetEntryCount(), -1);
    EXPECT_EQ(inMissingFolder->LastFailure(), TFailure::NotFound);
    EXPECT_EQ(Files(), std::vector<std::string>{});
}

TEST_F(DamagedFile, DamageReadsAsDamagedAndASoundReadClearsTheReason) {
    WriteWholeFile(Path("junk.vrk3"), std::string(200, 'x'));
    auto file = Dictionary("junk.vrk3");
    std::string out;
    EXPECT_EQ(file->GetEntryCount(), -1);
    EXPECT_EQ(file->LastFailure(), TFailure::Damaged);
    EXPECT_FALSE(file->GetName(out));
    EXPECT_EQ(file->LastFailure(), TFailure::Damaged);
    EXPECT_FALSE(file->StoreEntry("X"));
    EXPECT_EQ(file->LastFailure(), TFailure::Damaged);
    WriteWholeFile(Path("junk.vrk3"), SoundFile());
    EXPECT_EQ(file->GetEntryCount(), 3);
    EXPECT_EQ(file->LastFailure(), TFailure::None);
}

}  // namespace
}  // namespace vrk
