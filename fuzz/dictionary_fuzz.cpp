// A fuzzed .vrk3 file: every reading operation, the three older-format
// exports, then one change. Promises checked: nothing crashes or reads out
// of bounds; an export either succeeds or leaves no file at its target; a
// change either fails and leaves the file byte for byte as it was, or leaves
// a file that reads back with the new entry last; no scratch or hidden file
// stays behind.
#include <algorithm>
#include <cstdio>

#include "fuzz_util.h"
#include "store/data_file.h"

using namespace vrk;
using namespace vrk::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = InFolder("d.vrk3");
    const std::string_view bytes = AsText(data, size);
    WriteBytes(path, bytes);
    TDataFile file(path, InFolder("r.tmp"), InFolder("a.tmp"), InFolder("o.tmp"));

    const std::int32_t count = file.GetEntryCount();
    std::string out;
    (void)file.GetName(out);
    (void)file.GetAuthor(out, 7);
    (void)file.GetNotes(out);
    (void)file.GetPassword(out);
    (void)file.GetFlags();
    const std::int32_t pictureSize = file.GetPictureSize();
    if (file.GetPicture(out, 1 << 20)) {
        VRK3_FUZZ_CHECK(static_cast<std::int32_t>(out.size()) == std::min(pictureSize, 1 << 20));
    }
    // Each read opens the file again: a few entries from both ends, so that
    // an input costs little and many run.
    for (std::int32_t i : {0, 1, 2, count - 2, count - 1}) {
        if (!file.GetEntry(i, out)) continue;
        VRK3_FUZZ_CHECK(out.find('\0') == std::string::npos);
        (void)file.GetWord(i, out, 5);
        const std::int32_t n = file.GetDescriptionCount(i);
        for (std::int32_t k : {-1, 0, n - 1, n}) (void)file.GetDescription(i, k, out, 4);
    }
    (void)file.GetEntry(count, out);
    (void)file.FindWord("A");

    const bool exported[] = {file.ExportSecondGen(InFolder("o.vrk"), ';'),
                             file.ExportFirstGen(InFolder("o.txt"), ';'),
                             file.ExportCsv(InFolder("o.csv"), ',')};
    std::vector<std::string> expected;
    if (exported[2]) expected.push_back("o.csv");
    if (exported[1]) expected.push_back("o.txt");
    if (exported[0]) expected.push_back("o.vrk");
    expected.push_back("d.vrk3");
    std::sort(expected.begin(), expected.end());
    VRK3_FUZZ_CHECK(FolderFiles() == expected);
    for (const char* name : {"o.vrk", "o.txt", "o.csv"}) std::remove(InFolder(name).c_str());

    const std::string entry = "FUZZ\x01opis";
    if (file.StoreEntry(entry)) {
        VRK3_FUZZ_CHECK(count >= 0);
        VRK3_FUZZ_CHECK(file.GetEntryCount() == count + 1);
        VRK3_FUZZ_CHECK(file.GetEntry(count, out) && out == entry);
    } else {
        VRK3_FUZZ_CHECK(ReadBytes(path) == bytes);
    }
    VRK3_FUZZ_CHECK(FolderFiles() == std::vector<std::string>{"d.vrk3"});
    return 0;
}
