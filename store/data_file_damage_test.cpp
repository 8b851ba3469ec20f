// Damaged and hostile dictionary files: every operation fails cleanly (or
// reads what is there), never crashes, hangs or allocates by a stored number.
#include <random>

#include "coding.h"
#include "data_file.h"
#include "test_util.h"

namespace vrk {
namespace {

class DamagedFile : public TempDirTest {
  protected:
    // Runs every operation on the file; only their results are checked by
    // the callers, the point is that none of them misbehaves.
    void TouchEverything(TDataFile& file) {
        std::string out;
        const std::int32_t count = file.GetEntryCount();
        (void)file.GetName(out);
        (void)file.GetNotes(out);
        (void)file.GetFlags();
        (void)file.GetPictureSize();
        (void)file.GetPicture(out, 1 << 20);
        for (std::int32_t i : {0, 1, 5, count - 1, count}) {
            (void)file.GetEntry(i, out);
            (void)file.GetDescription(i, 0, out);
            (void)file.GetDescriptionCount(i);
        }
        (void)file.FindWord("REKA");
        (void)file.StoreEntry(Record("NOVO", {"x"}));
        std::int32_t index = 0;
        (void)file.StoreEntryMerged(Record("REKA", {"y"}), index);
        (void)file.DeleteEntry(0);
        (void)file.RemapLetter('a', 'b');
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

TEST_F(DamagedFile, PictureLengthBeyondTheFileFailsThePictureAndTheRewrite) {
    std::string bytes = SoundFile();
    for (std::uint32_t n : {0xFFFFFFFFu, static_cast<std::uint32_t>(bytes.size())}) {
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

TEST_F(DamagedFile, RecordsWithoutTerminatorsAndRandomJunk) {
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

    std::mt19937 rng(5);
    const std::string sound = SoundFile();
    for (int round = 0; round < 300; ++round) {
        std::string damaged = sound;
        for (int flips = 1 + rng() % 4; flips > 0; --flips)
            damaged[rng() % damaged.size()] = static_cast<char>(rng());
        WriteWholeFile(Path("r.vrk3"), damaged);
        auto random = Dictionary("r.vrk3");
        TouchEverything(*random);
    }
}

TEST_F(DamagedFile, MissingFileFailsEveryOperation) {
    auto file = Dictionary("none.vrk3");
    std::string out;
    EXPECT_EQ(file->GetEntryCount(), -1);
    EXPECT_EQ(file->GetFlags(), -1);
    EXPECT_EQ(file->GetPictureSize(), 0);
    EXPECT_FALSE(file->GetName(out));
    EXPECT_FALSE(file->StoreEntry("X"));
    EXPECT_EQ(file->FindWord("X"), -1);
    EXPECT_EQ(Files(), std::vector<std::string>{});
}

}  // namespace
}  // namespace vrk
