// Helpers shared by the store's tests: a private folder per test, whole-file
// reads and writes, and dictionaries built from plain entry texts.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "data_file.h"
#include "test_folder.h"

namespace vrk {

// Reaches the transaction steps that only the store itself uses.
class TDataFileTestPeer {
  public:
    explicit TDataFileTestPeer(TDataFile& file) : m_file(file) {}
    bool OpenForChange() { return m_file.Open(TDataFile::Mode::Change); }
    bool Replace(std::int32_t k, std::string_view text) { return m_file.ReplaceRecord(k, text); }
    bool Append(std::string_view text) { return m_file.AppendRecord(text); }
    bool Delete(std::int32_t k) { return m_file.DeleteRecord(k); }
    bool Close() { return m_file.Close(); }

  private:
    TDataFile& m_file;
};

// A fresh folder for one test, removed afterwards; on a RAM-backed file
// system unless the test asks for a real disk.
class TempDirTest : public ::testing::Test {
  protected:
    explicit TempDirTest(TTestDisk disk = TTestDisk::kFastest) : m_disk(disk) {}
    void SetUp() override;
    void TearDown() override;
    std::string Path(const std::string& name) const { return m_dir + "/" + name; }
    // A dictionary object on `name` with its scratch files in the folder.
    std::unique_ptr<TDataFile> Dictionary(const std::string& name = "test.vrk3") const;
    // An empty dictionary at `name` holding the given entry records.
    std::unique_ptr<TDataFile> DictionaryWith(const std::vector<std::string>& records,
                                              const std::string& name = "test.vrk3") const;
    // Names of the files in the folder.
    std::vector<std::string> Files() const;

    std::string m_dir;
    TTestDisk m_disk;
};

// Writes an empty dictionary at `path` holding `records` in that order, then
// its name, author and flags when any is given; its scratch files lie beside
// it while it is written.
void WriteDictionary(const std::string& path, const std::vector<std::string>& records,
                     std::string_view name = {}, std::string_view author = {},
                     std::int32_t flags = 0);
// Every entry record of a dictionary, in file order.
std::vector<std::string> Entries(TDataFile& file);
std::vector<std::string> ReadEntries(const std::string& path);

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
// "word", then "\x01" + each description.
std::string Record(std::string_view word,
                   std::initializer_list<std::string_view> descriptions = {});

// What a search of a dictionary found: each record written to the result
// text, its index and hits, and whether the text filled up (its last byte
// 'X').
struct TSearchResult {
    std::int32_t count = 0;
    std::vector<std::string> records;
    std::vector<std::int32_t> index, hits;
    bool full = false;
};
// Searches with a result text of outSize bytes and room for maxResults.
TSearchResult SearchFile(TDataFile& file, std::string_view pattern, std::string_view terms,
                         std::size_t outSize = 50000, std::int32_t maxResults = 500,
                         TPatternSyntax syntax = {});
// The word of each record found.
std::vector<std::string> WordsOf(const TSearchResult& result);

// Runs body in a child process that is killed after `seconds`; returns its
// exit status (100 when it did not exit by itself: a crash or a hang).
template <class Body>
int InChild(Body body, unsigned seconds = 10) {
    const pid_t pid = fork();
    if (pid == 0) {
        alarm(seconds);
        try {
            _exit(body() ? 0 : 1);
        } catch (...) {
            _exit(2);  // never back into the test runner in the child
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

}  // namespace vrk
