// Several processes working on one dictionary, and rewrites that fail part
// way: nothing is lost and no dictionary is left damaged.
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <thread>

#include "data_file.h"
#include "file_io.h"
#include "test_util.h"

namespace vrk {
namespace {

// A crash and a full disk are played on a real disk, not in memory.
class Processes : public TempDirTest {
  protected:
    Processes() : TempDirTest(TTestDisk::kReal) {}
};

TEST_F(Processes, TwoWritersOnOneDictionaryAndOneScratchSetLoseNothing) {
    ASSERT_TRUE(CreateEmpty(Path("shared.vrk3")));
    TLockTimeoutForTesting timeout(std::chrono::seconds(30));
    std::vector<pid_t> children;
    for (int writer = 0; writer < 2; ++writer) {
        const pid_t pid = fork();
        if (pid == 0) {
            auto file = Dictionary("shared.vrk3");  // same scratch paths in both
            for (int i = 0; i < 200; ++i)
                if (!file->StoreEntry(
                        Record("w" + std::to_string(writer) + "_" + std::to_string(i), {"opis"})))
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
    auto file = Dictionary("shared.vrk3");
    const auto entries = Entries(*file);
    EXPECT_EQ(entries.size(), 400u);
    EXPECT_EQ(std::set<std::string>(entries.begin(), entries.end()).size(), 400u);
    EXPECT_EQ(Files(), std::vector<std::string>{"shared.vrk3"});
}

TEST_F(Processes, ALockedDictionaryFailsTheOperationAfterTheTimeout) {
    auto file = DictionaryWith({"A"});
    const std::string before = ReadWholeFile(file->path());
    const int fd = open(file->path().c_str(), O_RDONLY);
    ASSERT_EQ(flock(fd, LOCK_SH), 0);  // as a reader in another program would
    {
        TLockTimeoutForTesting timeout(std::chrono::milliseconds(200));
        EXPECT_FALSE(file->StoreEntry("B"));
        EXPECT_EQ(file->LastFailure(), TFailure::Busy);
        std::string out;
        EXPECT_TRUE(file->GetEntry(0, out));  // readers share
        EXPECT_EQ(file->LastFailure(), TFailure::None);
    }
    EXPECT_EQ(LockTimeout(), std::chrono::seconds(5));
    // A caller that only fills a list waits a shorter while.
    file->SetLockWait(std::chrono::milliseconds(200));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(file->StoreEntry("B"));
    EXPECT_EQ(file->LastFailure(), TFailure::Busy);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    close(fd);
    EXPECT_EQ(ReadWholeFile(file->path()), before);
}

TEST_F(Processes, ARewriteThatFailsBeforeTheRenameLeavesTheDictionaryAsItWas) {
    std::vector<std::string> records;
    for (int i = 0; i < 2000; ++i)
        records.push_back(Record("beseda" + std::to_string(i), {"opis"}));
    auto file = DictionaryWith(records);
    const std::string before = ReadWholeFile(file->path());
    // The disk "fills up" half way through writing the new file.
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

TEST_F(Processes, AWaitForALockEndsWhenTheCallerAsksToStop) {
    auto file = DictionaryWith({"A"});
    const int fd = open(file->path().c_str(), O_RDONLY);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);  // another program's long change
    TProgress progress;
    file->SetProgress(&progress);
    std::thread cancel([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        progress.RequestStop();
    });
    std::string out;
    // Both kinds of wait end as stopped, not busy after the whole timeout.
    EXPECT_FALSE(file->GetEntry(0, out));
    EXPECT_EQ(file->LastFailure(), TFailure::Stopped);
    cancel.join();
    EXPECT_FALSE(file->StoreEntry("B"));
    EXPECT_EQ(file->LastFailure(), TFailure::Stopped);
    EXPECT_EQ(file->GetEntryCount(), -1);
    EXPECT_EQ(file->LastFailure(), TFailure::Stopped);
    file->SetProgress(nullptr);
    close(fd);
    EXPECT_EQ(Entries(*file), std::vector<std::string>{"A"});
}

// Another program cuts the dictionary short and writes it back, ignoring
// the locks, while this one reads and changes it: every operation succeeds
// or fails with a reason, and the reader never crashes.
TEST_F(Processes, ADictionaryCutShortUnderAReaderGivesAReasonNeverACrash) {
    std::vector<std::string> records;
    for (int i = 0; i < 60000; ++i)
        records.push_back(Record("beseda" + std::to_string(i), {"prvi opis", "drugi opis"}));
    auto file = DictionaryWith(records);
    const std::string whole = ReadWholeFile(file->path());
    const pid_t cutter = fork();
    if (cutter == 0) {
        for (;;) {
            const int fd = open(file->path().c_str(), O_WRONLY);
            if (fd >= 0) {
                (void)!ftruncate(fd, 4096);
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                (void)!pwrite(fd, whole.data(), whole.size(), 0);
                close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    const int status = InChild(
        [&] {
            std::string out;
            std::vector<char> text(1 << 20);
            std::vector<std::int32_t> index(1000), hits(1000);
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
            while (std::chrono::steady_clock::now() < end) {
                const bool ok = file->GetEntry(59999, out) &&
                                file->Search("b00", "drugi", text, index, hits, 1000) >= 0 &&
                                file->GetWord(30000, out);
                const TFailure why = file->LastFailure();
                if (!ok && why != TFailure::Damaged && why != TFailure::Busy) return false;
            }
            return true;
        },
        60);
    kill(cutter, SIGKILL);
    waitpid(cutter, nullptr, 0);
    EXPECT_EQ(status, 0) << "the reader crashed (100) or met another failure (1)";
}

}  // namespace
}  // namespace vrk
