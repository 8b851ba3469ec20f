#include "manager/member_reader.h"

#include <filesystem>
#include <system_error>

#include "store/data_file.h"

namespace {

// Name and author are read with buffers of this size, terminator included.
constexpr std::size_t kHeaderTextBuffer = 500;

}  // namespace

TMemberState StateAfterFailure(vrk::TFailure failure, const std::string& path) {
    switch (failure) {
        case vrk::TFailure::Damaged:
            return TMemberState::kGone;
        case vrk::TFailure::NotFound: {
            // Gone only when its folder is there to say so; a folder that is
            // missing may be a medium or a network share out of reach.
            std::error_code ec;
            const auto folder = std::filesystem::path(path).parent_path();
            return std::filesystem::is_directory(folder, ec) ? TMemberState::kGone
                                                             : TMemberState::kUnavailable;
        }
        default:
            return TMemberState::kUnavailable;
    }
}

TMemberRow ReadMember(const std::string& path, const vrk::TScratchSet& backups,
                      std::chrono::milliseconds lockWait) {
    TMemberRow row;
    row.path = path;
    vrk::TDataFile file = backups.Open(path);
    file.SetLockWait(lockWait);
    bool ok = file.GetName(row.name, kHeaderTextBuffer);
    if (ok) {
        row.count = file.GetEntryCount();
        ok = row.count >= 0;
    }
    ok = ok && file.GetAuthor(row.author, kHeaderTextBuffer);
    if (!ok) {
        row.failure = file.LastFailure();
        row.state = StateAfterFailure(row.failure, path);
    }
    return row;
}
