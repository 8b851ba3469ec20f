// An open key of the settings store: the handle through which every reader
// and writer works. Keys are addressed by paths of names separated by "\";
// names and data are byte strings and are compared exactly.
//
// A handle is used by one thread at a time; different handles may be used by
// different threads. A handle stays valid when the key is deleted meanwhile:
// reads then find nothing and writes fail with kNotFound.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "settings/reg_types.h"

namespace vrk {

class TSettingsDb;

// Splits "a\b\c" into its names. An empty path has none; one trailing "\" is
// allowed. False for an empty name inside the path.
[[nodiscard]] bool SplitKeyPath(std::string_view path, std::vector<std::string>& names);

class TRegKey {
  public:
    TRegKey() = default;

    // Opens root\subKey ("" opens the root's top key).
    [[nodiscard]] static TRegResult Open(TRoot root, std::string_view subKey, TAccess access,
                                         TRegKey& key);
    // Opens root\subKey with full access, creating every missing key on the
    // way; `created` (when given) tells whether the last key was new.
    [[nodiscard]] static TRegResult Create(TRoot root, std::string_view subKey, TRegKey& key,
                                           bool* created = nullptr);
    [[nodiscard]] TRegResult OpenSub(std::string_view subKey, TAccess access, TRegKey& key) const;
    [[nodiscard]] TRegResult CreateSub(std::string_view subKey, TRegKey& key,
                                       bool* created = nullptr) const;

    bool IsOpen() const { return db_ != nullptr; }
    void Close() { *this = TRegKey(); }

    // The sub-key at `index` in creation order. kNoMoreItems past the end;
    // kMoreData (with `name` filled in) when the name does not fit a buffer
    // of `nameBuffer` bytes with its terminator. Stepping the index by one
    // from 0 costs one lookup per step, whatever the number of sub-keys.
    [[nodiscard]] TRegResult EnumKey(std::uint32_t index, std::string& name,
                                     std::size_t nameBuffer = kUnlimited);
    // The value at `index` in creation order; kMoreData (with `value` filled
    // in) when its name or data does not fit the buffers.
    [[nodiscard]] TRegResult EnumValue(std::uint32_t index, TRegValue& value,
                                       std::size_t nameBuffer = kUnlimited,
                                       std::size_t dataBuffer = kUnlimited);
    // A value by name; kMoreData (with `value` filled in) when its data does
    // not fit a buffer of `dataBuffer` bytes.
    [[nodiscard]] TRegResult QueryValue(std::string_view name, TRegValue& value,
                                        std::size_t dataBuffer = kUnlimited) const;

    // Writes a value; an existing value of that name keeps its place in the
    // enumeration. A number must be 4 bytes.
    [[nodiscard]] TRegResult SetValue(std::string_view name, TValueType type,
                                      std::string_view data);
    [[nodiscard]] TRegResult SetString(std::string_view name, std::string_view text) {
        return SetValue(name, TValueType::kString, text);
    }
    [[nodiscard]] TRegResult SetNumber(std::string_view name, std::int32_t number);
    [[nodiscard]] TRegResult DeleteValue(std::string_view name);
    // Deletes a direct sub-key and its values; kNotEmpty when it has sub-keys.
    [[nodiscard]] TRegResult DeleteSubKey(std::string_view name);
    // Deletes a direct sub-key with everything below it, in one transaction.
    [[nodiscard]] TRegResult DeleteSubTree(std::string_view name);
    // Moves a direct sub-key, with everything below it, to `newName` under
    // `target` (a key of the same root), in one transaction. kAlreadyExists
    // when that name is taken there, or, with `uniqueBelow`, anywhere below
    // that key (checked in the same transaction).
    [[nodiscard]] TRegResult MoveSubKey(std::string_view name, const TRegKey& target,
                                        std::string_view newName,
                                        const TRegKey* uniqueBelow = nullptr);
    // Creates the direct sub-key `name` unless a key anywhere below
    // `uniqueBelow` (a key of the same root) already has that name
    // (kAlreadyExists); the check and the creation are one transaction.
    [[nodiscard]] TRegResult CreateUniqueSub(std::string_view name, const TRegKey& uniqueBelow,
                                             TRegKey& key) const;

  private:
    // Where the last enumeration step ended, so that the next index is one
    // seek away. Invalidated by every change made through this handle.
    struct TCursor {
        bool valid = false;
        std::uint32_t index = 0;
        std::int64_t id = 0;
    };

    TRegResult CheckWrite() const;
    TRegResult Resolve(std::string_view subKey, TAccess access, bool create, TRegKey& key,
                       bool* created) const;

    std::shared_ptr<TSettingsDb> db_;
    std::int64_t id_ = 0;
    TAccess access_ = TAccess::kRead;
    TCursor keyCursor_;
    TCursor valueCursor_;
};

// Reads a number value's four bytes; false for any other type or size.
[[nodiscard]] bool DecodeNumber(const TRegValue& value, std::int32_t& number);
std::string EncodeNumber(std::int32_t number);

}  // namespace vrk
