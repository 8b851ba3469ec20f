// Damaged and hostile dictionary files: operations fail as damaged (or read
// what is there) and change nothing. Every operation on random damage and
// every cut, exports among them, are the dictionary fuzz harness's
// (fuzz/dictionary_fuzz.cpp).
#include <cstring>

#include "coding.h"
#include "data_file.h"
#include "test_util.h"

namespace vrk {
namespace {

class DamagedFile : public TempDirTest {
  protected:
    // Three entries and a picture, as the store writes them.
    std::string SoundFile() {
        auto file = DictionaryWith(
            {Record("REKA", {"vodni tok", "Sava"}), Record("OSA", {"a"}), "SAM"}, "sound.vrk3");
        EXPECT_TRUE(file->SetPicture("BMpicture"));
        return ReadWholeFile(file->path());
    }
};

// The entry count against the records present. A count the records cannot
// hold makes the file damaged; a count above the entries present reads what
// is there; a rewrite copies only the counted records, so a file whose count
// is wrong either way is never rewritten (the others would be lost). A file
// cut short by another program is damaged.
TEST_F(DamagedFile, TheCountIsCheckedAgainstTheRecords) {
    const std::string sound = SoundFile();
    const auto withCount = [](std::string bytes, std::uint32_t count) {
        PutFixed32(bytes.data() + kHeaderOffset, count);
        return bytes;
    };
    // 16 header records and five empty entries; with a 4-byte picture, or a
    // trailer that cannot be right (the records run to the end of the file).
    std::string bare(kEmptyFileSize + 5, '\0');
    std::memcpy(bare.data(), kMagic.data(), kMagicSize);
    std::string pictured = bare;
    pictured.insert(pictured.size() - kTrailerSize, "BMxy");
    PutFixed32(pictured.data() + pictured.size() - kTrailerSize, 4);
    std::string badTrailer = pictured;
    PutFixed32(badTrailer.data() + badTrailer.size() - kTrailerSize, 0xFFFF);
    // No terminator anywhere.
    std::string endless = std::string(kMagic) + std::string(10, '\0') + std::string(5000, 'A') +
                          std::string(kTrailerSize, '\0');
    struct Case {
        std::string what, bytes;
        std::int32_t count, readable;  // entries 0 .. readable - 1 read
        bool refused;                  // and a change is refused
    };
    const Case cases[] = {
        {"above", withCount(sound, 5), 5, 3, true},
        {"below", withCount(sound, 2), 2, 2, true},
        {"0xFFFFFFFF", withCount(sound, 0xFFFFFFFF), -1, 0, true},
        {"cut in the header", sound.substr(0, kEmptyFileSize - 1), -1, 0, true},
        {"all the records hold", withCount(bare, 5), 5, 5, false},
        {"one more", withCount(bare, 6), -1, 0, true},
        {"endless", endless, 0, 0, true},
        // The picture is no room for records.
        {"picture, 5", withCount(pictured, 5), 5, 5, false},
        {"picture, 6", withCount(pictured, 6), -1, 0, true},
        {"bad trailer, 29", withCount(badTrailer, 29), 29, 1, false},
        {"bad trailer, 30", withCount(badTrailer, 30), -1, 0, true},
    };
    std::string out;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteWholeFile(Path("d.vrk3"), c.bytes);
        auto file = Dictionary("d.vrk3");
        EXPECT_EQ(file->GetEntryCount(), c.count);
        for (std::int32_t i = 0; i < c.readable; ++i) EXPECT_TRUE(file->GetEntry(i, out)) << i;
        if (c.readable == c.count || c.count <= 0) {
            EXPECT_FALSE(file->GetEntry(c.readable, out));
        }
        if (c.count < 0) {
            EXPECT_EQ(file->LastFailure(), TFailure::Damaged);
            EXPECT_EQ(file->FindWord("A"), -1);  // a failure, not "no such word"
        }
        if (c.refused) {
            EXPECT_FALSE(file->RemapLetter('A', 'B'));
            EXPECT_EQ(file->LastFailure(), TFailure::Damaged);
            EXPECT_FALSE(file->StoreEntry("X"));
            EXPECT_EQ(ReadWholeFile(Path("d.vrk3")), c.bytes);
        }
    }
    WriteWholeFile(Path("d.vrk3"), endless);
    EXPECT_FALSE(Dictionary("d.vrk3")->GetName(out));  // a header record that never ends
    EXPECT_EQ(Files(), (std::vector<std::string>{"d.vrk3", "sound.vrk3"}));
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

// A missing file reads as missing, and a sound read afterwards clears the
// reason.
TEST_F(DamagedFile, AMissingFileSaysSo) {
    auto file = Dictionary("none.vrk3");
    EXPECT_EQ(file->GetEntryCount(), -1);
    EXPECT_EQ(file->LastFailure(), TFailure::NotFound);
    EXPECT_EQ(file->GetPictureSize(), 0);
    EXPECT_FALSE(file->StoreEntry("X"));
    EXPECT_EQ(file->LastFailure(), TFailure::NotFound);
    EXPECT_EQ(file->LastFailurePath(), Path("none.vrk3"));
    EXPECT_EQ(Files(), std::vector<std::string>{});

    WriteWholeFile(Path("none.vrk3"), SoundFile());
    EXPECT_EQ(file->GetEntryCount(), 3);
    EXPECT_EQ(file->LastFailure(), TFailure::None);
}

}  // namespace
}  // namespace vrk
