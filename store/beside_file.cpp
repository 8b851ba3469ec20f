#include "beside_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <random>

#include "file_system.h"
#include "format.h"

namespace vrk {
namespace {

constexpr std::string_view kNameLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kSuffixLength = 6;
// Marks every file the store makes beside a dictionary.
constexpr std::string_view kBesideMark = "~vrk3-";

std::atomic<bool> g_besideBlocked{false};

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string RandomSuffix() {
    thread_local std::mt19937_64 rng(
        std::random_device{}() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        static_cast<std::uint64_t>(::getpid()));
    std::string suffix(kSuffixLength, 'x');
    for (char& c : suffix) c = kNameLetters[rng() % kNameLetters.size()];
    return suffix;
}

// True when the open file is empty or begins with the dictionary magic.
bool StartsAsDictionary(TFileSystem& fs, int fd, const struct stat& st) {
    if (st.st_size == 0) return true;
    char magic[kMagicSize];
    return fs.ReadAt(fd, magic, kMagicSize, 0) == static_cast<ssize_t>(kMagicSize) &&
           std::string_view(magic, kMagicSize) == kMagic;
}

}  // namespace

TBesideBlockedForTesting::TBesideBlockedForTesting() : m_saved(g_besideBlocked.exchange(true)) {}

TBesideBlockedForTesting::~TBesideBlockedForTesting() {
    g_besideBlocked = m_saved;
}

std::string RealPathOf(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return {};
    std::string result(resolved);
    std::free(resolved);
    return result;
}

int CreateBeside(TFileSystem& fs, const std::string& path, std::string& tempPath, mode_t mode,
                 std::string_view tag) {
    if (g_besideBlocked) {
        errno = EACCES;
        return -1;
    }
    const std::string prefix =
        FolderOf(path) + "/." + NameOf(path) + "." + std::string(kBesideMark) + std::string(tag);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = prefix + RandomSuffix();
        const int fd = fs.Open(tempPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return -1;
        // A new file: nobody else can hold its lock yet.
        (void)fs.Lock(fd, LOCK_EX | LOCK_NB);
        return fd;
    }
    errno = EEXIST;
    return -1;
}

bool IsLeftoverName(std::string_view name, std::string_view dictionaryName, std::string_view tag) {
    const std::size_t markAt = 2 + dictionaryName.size();
    if (dictionaryName.empty() ||
        name.size() != markAt + kBesideMark.size() + tag.size() + kSuffixLength || name[0] != '.' ||
        name.substr(1, dictionaryName.size()) != dictionaryName ||
        name[1 + dictionaryName.size()] != '.' ||
        name.substr(markAt, kBesideMark.size()) != kBesideMark ||
        name.substr(markAt + kBesideMark.size(), tag.size()) != tag)
        return false;
    return name.substr(name.size() - kSuffixLength).find_first_not_of(kNameLetters) ==
           std::string_view::npos;
}

void RemoveLeftoversBeside(TFileSystem& fs, const std::string& path) {
    const std::string folder = FolderOf(path);
    const std::string name = NameOf(path);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const int dirFd = ::dirfd(dir);
    const std::time_t dayAgo = std::time(nullptr) - 24 * 60 * 60;
    while (const dirent* entry = ::readdir(dir)) {
        // A new dictionary made beside this one holds no lock between the
        // steps of the import that fills it; one untouched for a day was
        // left by an import that was killed.
        const bool copy = IsLeftoverName(entry->d_name, name);
        if (!copy && !IsLeftoverName(entry->d_name, name, kNewFileTag)) continue;
        // Only a regular file of ours, never what a link points at, only
        // when no writer holds it, and only when it is empty or begins as a
        // dictionary does.
        const int fd =
            fs.OpenAt(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat opened, named;
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
            (copy || opened.st_mtime < dayAgo) && fs.Lock(fd, LOCK_EX | LOCK_NB) == 0 &&
            StartsAsDictionary(fs, fd, opened) &&
            ::fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
            (void)fs.UnlinkAt(dirFd, entry->d_name);
        fs.Close(fd);
    }
    ::closedir(dir);
}

void SyncFolderOf(TFileSystem& fs, const std::string& path) {
    const int fd = fs.Open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd >= 0) {
        (void)fs.Sync(fd);
        fs.Close(fd);
    }
}

}  // namespace vrk
