#include "fuzz_util.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "store/test_folder.h"

namespace vrk::fuzz {
namespace {

// Removes the folder when the process ends normally (a finding aborts and
// leaves it for a look).
struct TFuzzFolder {
    TFuzzFolder() : path(MakeTestFolder("vrk3-fuzz")) {
        if (path.empty()) {
            std::fprintf(stderr, "fuzz: no private folder could be made\n");
            std::abort();
        }
    }
    ~TFuzzFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string path;
};

}  // namespace

const std::string& Folder() {
    static TFuzzFolder folder;
    return folder.path;
}

std::string InFolder(std::string_view name) {
    return Folder() + "/" + std::string(name);
}

std::vector<std::string> FolderFiles() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(Folder()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace vrk::fuzz
