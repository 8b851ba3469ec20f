// A dictionary among other files and other programs: links, permissions,
// files that are not dictionaries, writers in other processes, copies left
// by killed writers, a full disk. Random kills and cuts: bench/crash_bench.py.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>

#include "beside_file.h"
#include "data_file.h"
#include "file_io.h"
#include "same_file.h"
#include "test_util.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;
using Safety = TempDirTest;

// A crash and a full disk are played on a real disk, not in memory.
class Processes : public TempDirTest {
  protected:
    Processes() : TempDirTest(TTestDisk::kReal) {}
};

// Through a link, the file it names is changed, replaced or exported to,
// the new file is made beside that file, and the link stays. A link and a
// path typed with ".." are the same file; a missing file is no file's.
TEST_F(Safety, LinksLeadToTheFileTheyName) {
    auto real = DictionaryWith({Record("A", {"a"})}, "real.vrk3");
    fs::create_directory(Path("other"));
    fs::create_symlink(Path("real.vrk3"), Path("other/link.vrk3"));
    TDataFile link(Path("other/link.vrk3"), Path("s1"), Path("s2"), Path("s3"));
    fs::copy_file(Path("real.vrk3"), Path("copy.vrk3"));  // the same bytes, another file
    const TSameFile same(Path("real.vrk3"));
    EXPECT_TRUE(same(Path("other/link.vrk3")));
    EXPECT_TRUE(same(Path("other/../real.vrk3")));
    for (const char* other : {"copy.vrk3", "other", "ni.vrk3"})
        EXPECT_FALSE(same(Path(other))) << other;
    EXPECT_FALSE(IsSameFile("", ""));
    ASSERT_TRUE(link.StoreEntry("B"));
    EXPECT_EQ(Entries(*real), (std::vector<std::string>{Record("A", {"a"}), "B"}));
    EXPECT_EQ(std::distance(fs::directory_iterator(Path("other")), fs::directory_iterator()), 1);
    fs::create_symlink(Path("out.csv"), Path("out-link.csv"));
    WriteWholeFile(Path("out.csv"), "old");
    ASSERT_TRUE(real->ExportCsv(Path("out-link.csv"), ','));
    EXPECT_EQ(ReadWholeFile(Path("out.csv")), "A,a\r\nB");
    std::string newPath;
    ASSERT_TRUE(link.CreateEmptyBeside(newPath));
    EXPECT_EQ(fs::path(newPath).parent_path(), fs::path(m_dir));
    ASSERT_TRUE(link.ReplaceWith(newPath));
    for (const char* name : {"other/link.vrk3", "out-link.csv"})
        EXPECT_TRUE(fs::is_symlink(Path(name)));
    EXPECT_EQ(real->GetEntryCount(), 0);
    // An export never replaces its own dictionary, by any name.
    const std::string before = ReadWholeFile(Path("real.vrk3"));
    for (const char* target : {"real.vrk3", "other/link.vrk3"}) {
        EXPECT_FALSE(real->ExportFirstGen(Path(target), ';')) << target;
        EXPECT_EQ(real->LastFailure(), TFailure::SameFile);
    }
    EXPECT_EQ(ReadWholeFile(Path("real.vrk3")), before);
}

// A rewrite would leave the other name with the old content.
TEST_F(Safety, ADictionaryWithSeveralHardLinksIsNotSplit) {
    auto file = DictionaryWith({"A"});
    ASSERT_EQ(link(Path("test.vrk3").c_str(), Path("second.vrk3").c_str()), 0);
    const std::string before = ReadWholeFile(Path("test.vrk3"));
    EXPECT_FALSE(file->StoreEntry("B"));
    EXPECT_EQ(file->LastFailure(), TFailure::HardLinked);
    std::string newPath;
    ASSERT_TRUE(file->CreateEmptyBeside(newPath));
    EXPECT_FALSE(file->ReplaceWith(newPath));
    EXPECT_EQ(file->LastFailure(), TFailure::HardLinked);
    EXPECT_TRUE(fs::exists(newPath));  // left to the caller
    EXPECT_TRUE(fs::equivalent(Path("test.vrk3"), Path("second.vrk3")));
    EXPECT_EQ(ReadWholeFile(Path("second.vrk3")), before);
}

// A read-only dictionary in a writable folder is not changed; a good older
// file in a folder where no file can be made beside it is not written in
// place by an export. When the tests run as root, the child runs as a user
// without special rights.
TEST_F(Safety, ReadOnlyFilesAreNotChanged) {
    auto file = DictionaryWith({Record("A", {"a"})});
    ASSERT_EQ(chmod(Path("test.vrk3").c_str(), 0444), 0);
    const std::string before = ReadWholeFile(Path("test.vrk3"));
    fs::create_directory(Path("locked"));
    WriteWholeFile(Path("locked/old.csv"), "B,b");
    ASSERT_EQ(chmod(Path("locked/old.csv").c_str(), 0666), 0);
    ASSERT_EQ(chmod(Path("locked").c_str(), 0555), 0);
    EXPECT_EQ(InChild([&] {
                  constexpr uid_t kNobody = 65534;
                  if (geteuid() == 0) {
                      for (const auto& e : fs::recursive_directory_iterator(m_dir))
                          if (lchown(e.path().c_str(), kNobody, kNobody) != 0) return false;
                      if (chown(m_dir.c_str(), kNobody, kNobody) != 0 || setgid(kNobody) != 0 ||
                          setuid(kNobody) != 0)
                          return false;
                  }
                  std::string out;
                  return !file->StoreEntry("B") && file->LastFailure() == TFailure::NoPermission &&
                         !file->SetInfo("n", "", "", "", 6) && !CreateEmpty(file->path()) &&
                         file->GetEntry(0, out) && !file->ExportCsv(Path("locked/old.csv"), ',') &&
                         file->LastFailure() == TFailure::NoPermission;
              }),
              0);
    EXPECT_EQ(ReadWholeFile(Path("test.vrk3")), before);
    EXPECT_EQ(ReadWholeFile(Path("locked/old.csv")), "B,b");
}

TEST_F(Safety, PipesAndFoldersAreRefusedWithoutWaiting) {
    ASSERT_EQ(mkfifo(Path("pipe.vrk3").c_str(), 0600), 0);
    fs::create_directory(Path("folder.vrk3"));
    auto dict = DictionaryWith({"A"});
    EXPECT_EQ(InChild([&] {
                  for (const char* name : {"pipe.vrk3", "folder.vrk3"}) {
                      auto file = Dictionary(name);
                      std::string out;
                      if (file->GetEntryCount() != -1 ||
                          file->LastFailure() != TFailure::NotRegularFile || file->GetName(out) ||
                          file->StoreEntry("X") || file->GetPictureSize() > 0)
                          return false;
                  }
                  // A failed import names its source.
                  return !dict->ImportCsv(Path("pipe.vrk3")) &&
                         dict->LastFailure() == TFailure::NotRegularFile &&
                         dict->LastFailurePath() == Path("pipe.vrk3") &&
                         !dict->MergeFile(Path("pipe.vrk3")) &&
                         !dict->ImportCsv(Path("folder.vrk3")) &&
                         !dict->ExportCsv(Path("pipe.vrk3"), ',');
              }),
              0);
    EXPECT_EQ(Entries(*dict), std::vector<std::string>{"A"});
}

TEST_F(Safety, AChangeRemovesCopiesLeftByKilledWritersOfThatDictionaryOnly) {
    auto file = DictionaryWith({"A"});
    DictionaryWith({"X"}, "other.vrk3");
    const std::string half = ReadWholeFile(file->path()).substr(0, 40);  // magic and more
    // Copies of killed writers (one killed before it wrote anything), and a
    // new dictionary an import made beside this one a day ago.
    const std::vector<std::string> leftovers = {
        ".test.vrk3.~vrk3-a1B2c3", ".test.vrk3.~vrk3-000000", ".test.vrk3.~vrk3-new-Old000"};
    // The user's own files and other programs' temporary files beside the
    // dictionary, also when they hold a copy of it and their names are nearly
    // ours; our own files that do not begin as a dictionary; a copy whose
    // writer is still at work and holds its lock; an import's new dictionary
    // that may still be in use.
    const std::vector<std::string> kept = {
        ".other.vrk3.~vrk3-a1B2c3", ".test.vrk3.a1B2c3",          ".test.vrk3-~vrk3-a1B2c3",
        "test.vrk3.~vrk3-a1B2c3",   ".test.vrk3.~vrk3-a1B2c",     ".test.vrk3.~vrk3-notdic",
        ".test.vrk3.~vrk3-Held00",  ".test.vrk3.~vrk3-new-New000"};
    for (const auto& name : leftovers) WriteWholeFile(Path(name), name == leftovers[1] ? "" : half);
    for (const auto& name : kept)
        WriteWholeFile(Path(name), name == ".test.vrk3.~vrk3-notdic" ? "not ours" : half);
    const int heldFd = open(Path(".test.vrk3.~vrk3-Held00").c_str(), O_RDONLY);
    ASSERT_EQ(flock(heldFd, LOCK_EX), 0);
    fs::create_directory(Path(".test.vrk3.~vrk3-folder"));
    const std::time_t twoDaysAgo = std::time(nullptr) - 2 * 24 * 60 * 60;
    const timespec longAgo[2] = {{twoDaysAgo, 0}, {twoDaysAgo, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, Path(leftovers[2]).c_str(), longAgo, 0), 0);
    std::string out;
    ASSERT_TRUE(file->GetEntry(0, out));  // a reader removes nothing
    for (const auto& name : leftovers) EXPECT_TRUE(fs::exists(Path(name)));
    ASSERT_TRUE(file->StoreEntry("B"));
    for (const auto& name : leftovers) EXPECT_FALSE(fs::exists(Path(name))) << name;
    for (const auto& name : kept) EXPECT_TRUE(fs::exists(Path(name))) << name;
    EXPECT_TRUE(fs::is_directory(Path(".test.vrk3.~vrk3-folder")));
    close(heldFd);
}

// The new dictionary is only ever written beside the old one. Where the
// folder takes no new file, every change is refused before it starts and
// the dictionary stays whole; writing it in place instead would leave it cut
// by a full disk or a killed process.
TEST_F(Safety, AFolderThatTakesNoNewFileRefusesEveryChange) {
    auto file = DictionaryWith({"A", Record("B", {"b"})});
    const std::string before = ReadWholeFile(file->path());
    const std::vector<std::string> files = Files();
    TBesideBlockedForTesting blocked;
    std::string newPath;
    const std::vector<std::pair<const char*, std::function<bool()>>> changes = {
        {"store", [&] { return file->StoreEntry("C"); }},
        {"create", [&] { return file->CreateEmpty(true); }},
        {"create beside", [&] { return file->CreateEmptyBeside(newPath); }},
    };
    for (const auto& [what, change] : changes) {
        EXPECT_FALSE(change()) << what;
        EXPECT_EQ(file->LastFailure(), TFailure::FolderNotWritable) << what;
        EXPECT_EQ(ReadWholeFile(file->path()), before) << what;
        EXPECT_EQ(Files(), files) << what;
    }
    std::string out;
    EXPECT_TRUE(file->GetEntry(1, out));  // reading needs no new file
}

TEST_F(Safety, ANewDictionaryMadeBesideTakesThePlaceOnlyWhenPlaced) {
    auto target = DictionaryWith({"A"}, "target.vrk3");
    ASSERT_EQ(chmod(Path("target.vrk3").c_str(), 0640), 0);
    std::string newPath;
    ASSERT_TRUE(target->CreateEmptyBeside(newPath));
    EXPECT_EQ(fs::path(newPath).filename().string().rfind(".target.vrk3.~vrk3-new-", 0), 0u)
        << newPath;
    WriteWholeFile(Path("in.csv"), "B,b\nC,c\n");
    TDataFile made(newPath, Path("s1"), Path("s2"), Path("s3"));
    ASSERT_TRUE(made.ImportCsv(Path("in.csv")));
    // A change of the target meanwhile takes the new file for no leftover.
    ASSERT_TRUE(target->StoreEntry("Z"));
    ASSERT_TRUE(fs::exists(newPath));
    EXPECT_EQ(Entries(*target), (std::vector<std::string>{"A", "Z"}));

    ASSERT_TRUE(target->ReplaceWith(newPath));
    EXPECT_EQ(Entries(*target), (std::vector<std::string>{Record("B", {"b"}), Record("C", {"c"})}));
    EXPECT_EQ(fs::status(Path("target.vrk3")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Files(), (std::vector<std::string>{"in.csv", "target.vrk3"}));
    // No file yet: the new one takes the name.
    auto fresh = Dictionary("fresh.vrk3");
    ASSERT_TRUE(fresh->CreateEmptyBeside(newPath));
    ASSERT_TRUE(fresh->ReplaceWith(newPath));
    EXPECT_EQ(fresh->GetEntryCount(), 0);
    EXPECT_FALSE(fs::exists(newPath));
}

TEST_F(Processes, TwoWritersOnOneDictionaryAndOneScratchSetLoseNothing) {
    ASSERT_TRUE(CreateEmpty(Path("shared.vrk3")));
    TLockTimeoutForTesting timeout(std::chrono::seconds(30));
    std::vector<pid_t> children;
    for (int writer = 0; writer < 2; ++writer) {
        const pid_t pid = fork();
        if (pid == 0) {
            auto file = Dictionary("shared.vrk3");  // same scratch paths in both
            for (int i = 0; i < 100; ++i)
                if (!file->StoreEntry("w" + std::to_string(writer) + "_" + std::to_string(i)))
                    _exit(1);
            _exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const auto entries = Entries(*Dictionary("shared.vrk3"));
    EXPECT_EQ(std::set<std::string>(entries.begin(), entries.end()).size(), 200u);
    EXPECT_EQ(entries.size(), 200u);
    EXPECT_EQ(Files(), std::vector<std::string>{"shared.vrk3"});
}

TEST_F(Processes, ADiskThatFillsUpDuringARewriteLeavesTheDictionaryAsItWas) {
    std::vector<std::string> records(2000, Record("beseda", {"opis"}));
    auto file = DictionaryWith(records);
    const std::string before = ReadWholeFile(file->path());
    const int status = InChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{before.size() / 2, before.size() / 2};
        setrlimit(RLIMIT_FSIZE, &limit);
        return !file->StoreEntry("X") && file->LastFailure() == TFailure::DiskFull;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadWholeFile(file->path()), before);
    for (const std::string& name : Files()) EXPECT_EQ(name.find(".test.vrk3"), std::string::npos);
}

}  // namespace
}  // namespace vrk
