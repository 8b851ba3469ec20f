// The vocabulary of the settings store: the seven root names, access modes,
// value types and the results every store operation returns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace vrk {

// The predefined roots. Only the current user's and the machine's have a
// database behind them; the others are known names that hold no keys.
enum class TRoot {
    kClassesRoot,
    kCurrentUser,
    kLocalMachine,
    kUsers,
    kPerformanceData,
    kCurrentConfig,
    kDynData,
};

// The root a name stands for ("HKEY_CURRENT_USER" ...), compared exactly
// (case matters); nothing for an unknown name.
std::optional<TRoot> RootFromName(std::string_view name);

enum class TAccess {
    kRead,  // query and enumerate
    kFull,  // also set and delete values, create and delete sub-keys
};

// Stored in the database as these numbers; see settings_format.md.
enum class TValueType : int {
    kString = 1,
    kBinary = 3,
    kNumber = 4,  // exactly four bytes, little-endian
};

enum class TRegResult : int {
    kOk = 0,
    kNotFound = 1,       // the key or value does not exist
    kNoMoreItems = 2,    // enumeration index past the last child
    kMoreData = 3,       // name or data longer than the caller's buffer
    kAccessDenied = 4,   // write through a read handle, or a read-only database
    kAlreadyExists = 5,  // the target of a move already exists
    kInvalidName = 6,    // empty name, or a backslash inside a key name
    kNotEmpty = 7,       // a key that still has sub-keys cannot be deleted
    kStoreFailure = 8,   // no database, a damaged one, or an I/O error
};

inline int ResultCode(TRegResult r) {
    return static_cast<int>(r);
}

// A buffer size meaning "no limit".
inline constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();

// Buffer sizes count as a caller's zero-terminated buffer does: a name or a
// string of n bytes needs n + 1; a number needs 4; binary data its length.
inline bool FitsNameBuffer(std::size_t nameLength, std::size_t buffer) {
    return nameLength < buffer;
}
inline bool FitsDataBuffer(TValueType type, std::size_t dataLength, std::size_t buffer) {
    return type == TValueType::kString ? dataLength < buffer : dataLength <= buffer;
}

// One value as read from a key.
struct TRegValue {
    std::string name;
    TValueType type = TValueType::kString;
    std::string data;  // string bytes without a terminator, or the raw bytes
};

}  // namespace vrk
