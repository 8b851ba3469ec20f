// Shared by the fuzz harnesses: a private folder for the files one harness
// writes (removed when the process ends), whole-file reads and writes, and a
// check that stops the run with a message when a promise of the code under
// test is broken. The harnesses are built twice: with libFuzzer (clang,
// VRK3_FUZZ) for fuzzing, and with replay_main.cpp as plain tests that run
// every committed corpus file once.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace vrk::fuzz {

// Stops the run (a finding) when `condition` does not hold.
#define VRK3_FUZZ_CHECK(condition)                                                               \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "%s:%d: broken promise: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                        \
        }                                                                                        \
    } while (0)

// The process's private folder (mode 0700, on /dev/shm when it can be used),
// made on first use.
const std::string& Folder();
// A path in the private folder.
std::string InFolder(std::string_view name);
// Names of the files in the private folder, sorted.
std::vector<std::string> FolderFiles();

void WriteBytes(const std::string& path, std::string_view bytes);
std::string ReadBytes(const std::string& path);

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace vrk::fuzz
