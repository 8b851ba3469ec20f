// Reading a library member for the dictionary list: its name, entry count and
// author from the dictionary's header, and what to do when they cannot be
// read.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "settings/scratch_set.h"
#include "store/failure.h"

// What the list does with a member.
enum class TMemberState {
    kListed,       // read: listed with its name, count and author
    kUnavailable,  // exists but cannot be read now: kept, listed with a mark
    kGone,         // the file is gone, or is no dictionary: leaves the library
};

struct TMemberRow {
    std::string path;  // file-name bytes, as stored in the library
    std::string name;  // Windows-1250 bytes
    std::string author;
    std::int32_t count = 0;
    TMemberState state = TMemberState::kListed;
    vrk::TFailure failure = vrk::TFailure::None;  // why it is not listed
};

// Reads made only to fill the list or to enable commands wait at most this
// long for another program's lock; the window must not freeze for the
// whole lock timeout over a dictionary another program is using.
inline constexpr std::chrono::milliseconds kListLockWait{200};

// Reads the member at `path` (name and author cut to 499 bytes), waiting at
// most `lockWait` for another program's lock. A file that is busy, may not
// be read, or whose folder cannot be reached now is not damaged: only a
// file that is missing from a folder that is there, or that is no valid
// dictionary, counts as gone.
[[nodiscard]] TMemberRow ReadMember(
    const std::string& path, const vrk::TScratchSet& backups,
    std::chrono::milliseconds lockWait = std::chrono::milliseconds::max());

// The state a read failure of the member at `path` gives.
[[nodiscard]] TMemberState StateAfterFailure(vrk::TFailure failure, const std::string& path);
