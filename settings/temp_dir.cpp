#include "settings/temp_dir.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <vector>

#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

namespace vrk {

namespace {

std::string WithoutTrailingSlash(std::string dir) {
    if (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

// The user's login name names the private folder; the user's number stands
// in when the password database has no entry.
std::string LoginName() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_name != nullptr && found->pw_name[0] != '\0' &&
        std::string_view(found->pw_name).find('/') == std::string_view::npos)
        return found->pw_name;
    return std::to_string(geteuid());
}

bool Writable(const std::string& dir) {
    return access(dir.c_str(), W_OK | X_OK) == 0;
}

// Makes `path` a folder of the user's own with mode 0700, or finds it so. A
// name taken by anything else (another user's folder, a link, a file) makes
// it unusable: nothing is followed or taken over.
bool MakePrivateFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid())
        return false;
    if ((st.st_mode & 077) != 0 && chmod(path.c_str(), 0700) != 0) return false;
    return Writable(path);
}

// The folder to use for a chosen or configured folder `base`; empty when it
// cannot be used. A folder of the user's own that no one else may write is
// used as it is; below any other one the user gets a private folder.
std::string ScratchFolderIn(const std::string& base, TScratchProblem* problem = nullptr) {
    auto fail = [problem](TScratchProblem why) {
        if (problem) *problem = why;
        return std::string();
    };
    if (problem) *problem = TScratchProblem::kNone;
    struct stat st {};
    if (base.empty() || base[0] != '/' || stat(base.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return fail(TScratchProblem::kNotAFolder);
    // A stored choice is read back with a buffer of this size.
    if (base.size() >= kBackupDirBuffer) return fail(TScratchProblem::kTooLong);
    const std::string dir = WithoutTrailingSlash(base);
    const bool othersWrite = (st.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    if (st.st_uid == geteuid() && !othersWrite)
        return Writable(dir) ? dir : fail(TScratchProblem::kNotWritable);
    // Where others may write, only the sticky bit keeps them from renaming
    // or removing the user's private folder.
    if (othersWrite && (st.st_mode & S_ISVTX) == 0)
        return fail(TScratchProblem::kSharedWithoutStickyBit);
    if (!Writable(dir)) return fail(TScratchProblem::kNotWritable);
    const std::string own = (dir == "/" ? std::string() : dir) + "/vrk3-" + LoginName();
    return MakePrivateFolder(own) ? own : fail(TScratchProblem::kPrivateFolderUnusable);
}

// $XDG_CACHE_HOME/vrk3 (by default ~/.cache/vrk3); its missing parents are
// made with mode 0700. Empty when it cannot be made.
std::string CacheFolder() {
    const char* env = std::getenv("XDG_CACHE_HOME");
    std::string cache = env != nullptr && env[0] == '/' ? std::string(env) : std::string();
    if (cache.empty()) {
        const std::string home = HomeFolder();
        if (home.empty()) return {};
        cache = home + "/.cache";
    }
    cache = WithoutTrailingSlash(cache);
    for (std::size_t slash = cache.find('/', 1); slash != std::string::npos;
         slash = cache.find('/', slash + 1))
        mkdir(cache.substr(0, slash).c_str(), 0700);
    mkdir(cache.c_str(), 0700);
    const std::string own = cache + "/vrk3";
    return MakePrivateFolder(own) ? own : std::string();
}

}  // namespace

bool TScratchFolderIn(const std::string& base, std::string& dir) {
    std::string found = ScratchFolderIn(base);
    if (found.empty()) return false;
    dir = std::move(found);
    return true;
}

TScratchProblem TCheckScratchFolder(const std::string& base) {
    TScratchProblem problem = TScratchProblem::kNone;
    (void)ScratchFolderIn(base, &problem);
    return problem;
}

bool TReadUserBackupDir(std::string& dir) {
    return TGetRegistryString(kUserRootPath, "BackupDir", dir, kBackupDirBuffer);
}

bool TReadBackupDir(std::string& dir) {
    std::string base, found;
    if (TReadUserBackupDir(base)) found = ScratchFolderIn(base);
    if (found.empty() && TGetRegistryString(kMachineRootPath, "BackupDir", base, kBackupDirBuffer))
        found = ScratchFolderIn(base);
    if (found.empty()) found = CacheFolder();
    if (found.empty()) return false;
    dir = found;
    return true;
}

bool TWriteBackupDir(std::string_view dir) {
    return TSetRegistryString(kUserRootPath, "BackupDir", dir, kRegCreateKey | kRegOverwrite);
}

std::string TScratchPath(std::string_view dir, std::string_view fileName) {
    if (!dir.empty() && dir.back() == '/') dir.remove_suffix(1);
    std::string path(dir);
    path += '/';
    path += fileName;
    return path;
}

std::string TScratchParent() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && tmp[0] != '\0' ? std::string(tmp) : std::string("/tmp");
}

namespace {

constexpr std::string_view kOwnerFile = "owner";
// A folder without an owner file was made by an earlier version of the tool
// (or is being made this moment). One older than a day was left by a
// process that ended: no run of the tool takes that long.
constexpr std::time_t kOwnerlessGrace = 24 * 60 * 60;

void RemoveFolder(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}

}  // namespace

bool TMakeOwnedScratchFolder(std::string_view prefix, std::string& dir, int& ownerFd) {
    std::string folder = TScratchPath(TScratchParent(), std::string(prefix) + ".XXXXXX");
    if (mkdtemp(folder.data()) == nullptr) return false;
    // The lock is taken before the file gets the name cleaners look at, so
    // that no cleaner ever finds an owner file without its lock.
    const std::string fresh = TScratchPath(folder, "owner.new");
    const int fd = open(fresh.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    const std::string pid = std::to_string(getpid()) + "\n";
    if (fd < 0 || flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        write(fd, pid.data(), pid.size()) != static_cast<ssize_t>(pid.size()) ||
        rename(fresh.c_str(), TScratchPath(folder, kOwnerFile).c_str()) != 0) {
        if (fd >= 0) close(fd);
        RemoveFolder(folder);
        return false;
    }
    dir = std::move(folder);
    ownerFd = fd;
    return true;
}

int TRemoveAbandonedScratchFolders(std::string_view prefix) {
    const std::string parent = TScratchParent();
    DIR* folder = opendir(parent.c_str());
    if (folder == nullptr) return 0;
    const std::string start = std::string(prefix) + ".";
    int removed = 0;
    while (const dirent* entry = readdir(folder)) {
        const std::string_view name = entry->d_name;
        if (name.size() != start.size() + 6 || name.substr(0, start.size()) != start) continue;
        const std::string path = TScratchPath(parent, name);
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid())
            continue;
        const int fd =
            open(TScratchPath(path, kOwnerFile).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        bool abandoned;
        if (fd >= 0) {
            // The owner holds the lock until it ends.
            abandoned = flock(fd, LOCK_EX | LOCK_NB) == 0;
        } else {
            abandoned = errno == ENOENT && std::time(nullptr) - st.st_mtime > kOwnerlessGrace;
        }
        if (abandoned) {
            RemoveFolder(path);
            ++removed;
        }
        if (fd >= 0) close(fd);
    }
    closedir(folder);
    return removed;
}

}  // namespace vrk
