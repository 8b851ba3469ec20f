// The common part of the three importer harnesses: a fuzzed older-format file
// merged into a small sound dictionary. Promises checked: a failed import
// leaves the dictionary byte for byte as it was; a successful one leaves a
// dictionary that opens, holds at least its old entries, and still starts
// with its first one; no scratch or hidden file stays behind.
#pragma once

#include <functional>

#include "fuzz_util.h"
#include "store/data_file.h"

namespace vrk::fuzz {

using TImport = std::function<bool(TDataFile& file, const std::string& source)>;

inline int ImportOneInput(const std::uint8_t* data, std::size_t size, const TImport& import) {
    static const std::string start = [] {
        const std::string path = InFolder("start.vrk3");
        TDataFile file(path, InFolder("r.tmp"), InFolder("a.tmp"), InFolder("o.tmp"));
        VRK3_FUZZ_CHECK(file.CreateEmpty());
        VRK3_FUZZ_CHECK(file.StoreEntry("REKA\x01vodni tok\x01Sava"));
        VRK3_FUZZ_CHECK(file.StoreEntry("OSA"));
        std::string bytes = ReadBytes(path);
        std::remove(path.c_str());
        return bytes;
    }();
    const std::string path = InFolder("d.vrk3");
    const std::string source = InFolder("source");
    WriteBytes(path, start);
    WriteBytes(source, AsText(data, size));
    TDataFile file(path, InFolder("r.tmp"), InFolder("a.tmp"), InFolder("o.tmp"));
    if (import(file, source)) {
        std::string first;
        VRK3_FUZZ_CHECK(file.GetEntryCount() >= 2);
        VRK3_FUZZ_CHECK(file.GetWord(0, first) && first == "REKA");
    } else {
        VRK3_FUZZ_CHECK(ReadBytes(path) == start);
    }
    std::remove(source.c_str());
    VRK3_FUZZ_CHECK(FolderFiles() == std::vector<std::string>{"d.vrk3"});
    return 0;
}

}  // namespace vrk::fuzz
