#include "settings/temp_dir.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

#include <filesystem>

#include "settings/registry_helpers.h"
#include "settings/scratch_set.h"
#include "settings/settings_keys.h"
#include "settings/test_env.h"

namespace vrk {
namespace {

class ScratchFolder : public TSettingsTest {
  protected:
    // A folder below the test's own, made with `mode` (whatever the umask).
    std::string Folder(const std::string& name, mode_t mode) {
        const std::string path = dir_ + "/" + name;
        std::filesystem::create_directories(path);
        chmod(path.c_str(), mode);
        return path;
    }
    static bool SetMachineDir(const std::string& dir) {
        return TSetRegistryString(kMachineRootPath, "BackupDir", dir,
                                  kRegCreateKey | kRegOverwrite);
    }
    static std::string Found() {
        std::string dir;
        return TReadBackupDir(dir) ? dir : std::string("<none>");
    }
    static mode_t Mode(const std::string& path) {
        struct stat st {};
        return lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    }
};

TEST_F(ScratchFolder, OwnChoiceThenMachineSettingThenCacheFolder) {
    // Nothing set: the cache folder, made private.
    EXPECT_EQ(Found(), dir_ + "/cache/vrk3");
    EXPECT_EQ(Mode(dir_ + "/cache/vrk3"), 0700u);
    // A machine folder this user may not write is passed over (root writes any).
    if (geteuid() != 0) {
        ASSERT_TRUE(SetMachineDir(Folder("closed", 0555)));
        EXPECT_EQ(Found(), dir_ + "/cache/vrk3");
    }

    const std::string machine = Folder("machine", 0755);
    ASSERT_TRUE(SetMachineDir(machine + "/"));
    EXPECT_EQ(Found(), machine);  // one trailing "/" removed
    const std::string own = Folder("own", 0700);
    ASSERT_TRUE(TWriteBackupDir(own));
    EXPECT_EQ(Found(), own);
    std::string stored;
    ASSERT_TRUE(TGetRegistryString(kMachineRootPath, "BackupDir", stored));
    EXPECT_EQ(stored, machine + "/");  // the own choice leaves the machine's alone

    // A choice that cannot be used (gone, or typed as a relative path) is passed over.
    std::filesystem::remove(own);
    EXPECT_EQ(Found(), machine);
    ASSERT_TRUE(TWriteBackupDir("relative/temp"));
    EXPECT_EQ(Found(), machine);
    // The own choice is read with 260 bytes, the terminator among them.
    ASSERT_TRUE(TWriteBackupDir("/" + std::string(258, 'd')));
    EXPECT_TRUE(TReadUserBackupDir(stored));
    ASSERT_TRUE(TWriteBackupDir("/" + std::string(259, 'd')));
    EXPECT_FALSE(TReadUserBackupDir(stored));
}

TEST_F(ScratchFolder, ScratchPathsHaveExactlyOneSlashBeforeEachProgramsNames) {
    EXPECT_EQ(TScratchPath("/", "dfi.qtf"), "/dfi.qtf");
    const TScratchSet f = TScratchSet::In("/t/", kFinderScratch);
    const TScratchSet m = TScratchSet::In("/t", kManagerScratch);
    EXPECT_EQ(f.replacements + f.additions + f.output + m.replacements + m.additions + m.output,
              "/t/srchbkp1.qsr/t/srchbkp2.qsr/t/srchbkp3.qsr/t/bf1.qbk/t/bf2.qbk/t/bf3.qbk");
}

// Below a folder every user may write, each user gets a folder of its own;
// without the sticky bit others could move it away, so the folder is not
// used at all. A name taken by something that is not the user's own folder
// is never followed or used either.
TEST_F(ScratchFolder, SharedFolderGivesEachUserAPrivateFolder) {
    const std::string shared = Folder("shared", 01777);
    ASSERT_TRUE(SetMachineDir(shared));
    const passwd* user = getpwuid(geteuid());
    ASSERT_NE(user, nullptr);
    const std::string mine = shared + "/vrk3-" + user->pw_name;
    EXPECT_EQ(Found(), mine);
    EXPECT_EQ(Mode(mine), 0700u);
    chmod(mine.c_str(), 0755);  // loosened meanwhile: made private again
    EXPECT_EQ(Found(), mine);
    EXPECT_EQ(Mode(mine), 0700u);

    chmod(shared.c_str(), 0777);
    EXPECT_EQ(Found(), dir_ + "/cache/vrk3");

    chmod(shared.c_str(), 01777);
    std::filesystem::remove(mine);
    const std::string elsewhere = Folder("elsewhere", 0777);
    std::filesystem::create_directory_symlink(elsewhere, mine);
    EXPECT_EQ(Found(), dir_ + "/cache/vrk3");
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
}

// A scratch folder goes with its owner: removed once the process that made
// it has ended (here: once it lets go of the lock that ends with it), never
// while it runs; one without an owner only when left alone for a while.
TEST_F(ScratchFolder, AFolderIsRemovedOnlyOnceItsOwnerHasEnded) {
    setenv("TMPDIR", Folder("tmp", 0700).c_str(), 1);
    std::string owned;
    int lock = -1;
    ASSERT_TRUE(TMakeOwnedScratchFolder(kToolScratchPrefix, owned, lock));
    const std::string oldOwnerless = Folder("tmp/vrk3tool.old123", 0700);
    const std::time_t twoDaysAgo = std::time(nullptr) - 2 * 24 * 60 * 60;
    const timespec longAgo[2] = {{twoDaysAgo, 0}, {twoDaysAgo, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, oldOwnerless.c_str(), longAgo, 0), 0);
    const std::string newOwnerless = Folder("tmp/vrk3tool.new123", 0700);
    const auto there = [](const std::string& path) { return std::filesystem::exists(path); };

    EXPECT_EQ(TRemoveAbandonedScratchFolders(), 1);
    EXPECT_FALSE(there(oldOwnerless));
    EXPECT_TRUE(there(newOwnerless) && there(owned));
    close(lock);
    EXPECT_EQ(TRemoveAbandonedScratchFolders(), 1);
    EXPECT_FALSE(there(owned));
}

}  // namespace
}  // namespace vrk
