// The older formats under a fault-injecting file layer, given to the
// dictionary object that imports or exports: an import's reads of its
// source can fail and be stopped, and an export is on the disk before it
// replaces the file at its target.
#include <limits.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "fault_file_system.h"
#include "older_formats.h"
#include "test_util.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;

// Passes every call on, but sees each read of a file whose name starts with
// "source.": `onRead` decides whether it fails (EIO).
class TSourceReads : public TFileSystem {
  public:
    explicit TSourceReads(std::function<bool()> onRead) : m_onRead(std::move(onRead)) {}
    ssize_t ReadAt(int fd, void* buffer, std::size_t n, off_t offset) override {
        if (IsSource(fd) && !m_onRead()) return Failed();
        return TFileSystem::ReadAt(fd, buffer, n, offset);
    }
    ssize_t Read(int fd, void* buffer, std::size_t n) override {
        if (IsSource(fd) && !m_onRead()) return Failed();
        return TFileSystem::Read(fd, buffer, n);
    }

  private:
    static bool IsSource(int fd) {
        char target[PATH_MAX] = {};
        const std::string link = "/proc/self/fd/" + std::to_string(fd);
        if (::readlink(link.c_str(), target, sizeof target - 1) < 0) return false;
        return fs::path(target).filename().string().rfind("source.", 0) == 0;
    }
    static ssize_t Failed() {
        errno = EIO;
        return -1;
    }
    std::function<bool()> m_onRead;
};

class OlderFormatsFaultTest : public TempDirTest {
  protected:
    const std::vector<std::pair<const char*, std::function<bool(TDataFile&)>>> m_imports = {
        {"csv", [this](TDataFile& d) { return d.ImportCsv(Path("source.csv")); }},
        {"first gen", [this](TDataFile& d) { return d.ImportFirstGen(Path("source.txt"), ';'); }},
        {"second gen",
         [this](TDataFile& d) { return d.ImportSecondGen(Path("source.vrk"), ';', true); }},
    };
};

TEST_F(OlderFormatsFaultTest, AFailedReadOfTheSourceFailsTheImport) {
    auto source = DictionaryWith({Record("REKA", {"Sava"}), Record("NOVA", {"b"})}, "src.vrk3");
    ASSERT_TRUE(source->ExportSecondGen(Path("source.vrk"), ';'));
    ASSERT_TRUE(source->ExportFirstGen(Path("source.txt"), ';'));
    ASSERT_TRUE(source->ExportCsv(Path("source.csv"), ','));
    TSourceReads failing([] { return false; });
    auto dict = DictionaryWith({Record("OSA", {"a"})});
    const std::string before = ReadWholeFile(Path("test.vrk3"));
    dict->SetFileSystem(failing);
    for (const auto& [name, run] : m_imports) {
        EXPECT_FALSE(run(*dict)) << name;
        EXPECT_EQ(dict->LastFailure(), TFailure::IoError) << name;
        EXPECT_EQ(fs::path(dict->LastFailurePath()).stem(), "source") << name;
        EXPECT_EQ(ReadWholeFile(Path("test.vrk3")), before) << name;
    }
}

// The first pass over a text file (counting its lines) moves the bar and
// ends at a stop request, long before the end of a large file.
TEST_F(OlderFormatsFaultTest, TheCountingPassMovesTheBarAndStops) {
    std::string lines;
    while (lines.size() < (4u << 20)) lines += "beseda,opis in se nekaj besedila\r\n";
    WriteWholeFile(Path("source.csv"), lines);
    WriteWholeFile(Path("source.txt"), lines);
    auto dict = DictionaryWith({Record("OSA", {"a"})});
    const std::string before = ReadWholeFile(Path("test.vrk3"));
    for (std::size_t i = 0; i < 2; ++i) {
        const auto& [name, run] = m_imports[i];
        TProgress progress;
        int reads = 0;
        std::int32_t posAtStop = 0;
        TSourceReads counting([&] {
            if (++reads == 3) {
                posAtStop = progress.Pos();
                progress.RequestStop();
            }
            return true;
        });
        dict->SetProgress(&progress);
        dict->SetFileSystem(counting);
        const bool ok = run(*dict);
        dict->SetProgress(nullptr);
        dict->SetFileSystem(PosixFileSystem());
        EXPECT_FALSE(ok) << name;
        EXPECT_EQ(dict->LastFailure(), TFailure::Stopped) << name;
        EXPECT_GT(posAtStop, 0) << name;
        EXPECT_LE(reads, 4) << name;
        EXPECT_EQ(ReadWholeFile(Path("test.vrk3")), before) << name;
    }
}

// A crash after any file call of an export leaves the older file at the
// target or the complete export, and once the export has reported success
// the export.
TEST_F(OlderFormatsFaultTest, AnExportSurvivesACrashWholeOrNotAtAll) {
    const std::string folder = Path("run");
    fs::create_directory(folder);
    auto dict = DictionaryWith({Record("REKA", {"Sava"}), Record("OSA", {"a"})}, "run/d.vrk3");
    const std::vector<std::pair<const char*, std::function<bool(const std::string&)>>> exports = {
        {"csv", [&](const std::string& p) { return dict->ExportCsv(p, ','); }},
        {"first gen", [&](const std::string& p) { return dict->ExportFirstGen(p, ';'); }},
        {"second gen", [&](const std::string& p) { return dict->ExportSecondGen(p, ';'); }},
    };
    const std::string target = folder + "/out";
    for (const auto& [name, run] : exports) {
        WriteWholeFile(target, "older");
        TFailingFileSystem counting;
        dict->SetFileSystem(counting);
        const bool exported = run(target);
        dict->SetFileSystem(PosixFileSystem());
        ASSERT_TRUE(exported) << name;
        const std::string complete = ReadWholeFile(target);
        for (int k = 0; k <= counting.calls(); ++k) {
            const std::string what = std::string(name) + ", crash after call " + std::to_string(k);
            WriteWholeFile(target, "older");
            TCrashFileSystem crash(folder, k);
            dict->SetFileSystem(crash);
            const bool ok = run(target);
            dict->SetFileSystem(PosixFileSystem());
            crash.Crash();
            const std::string now = ReadWholeFile(target);
            EXPECT_TRUE(now == "older" || now == complete) << what;
            if (ok) {
                EXPECT_EQ(now, complete) << what;
            }
            for (const auto& e : fs::directory_iterator(folder))
                if (e.path().filename() != "d.vrk3" && e.path().filename() != "out")
                    fs::remove(e.path());
        }
    }
}

}  // namespace
}  // namespace vrk
