#include "settings/alphabet_rows.h"

#include <string>

#include "settings/reg_key.h"
#include "settings/settings_keys.h"
#include "store/alphabet.h"

namespace vrk {

namespace {

std::string SlotName(const char* prefix, int i) {
    return prefix + std::to_string(i);
}

// Reads a string that fits `buffer` with its terminator.
bool ReadString(const TRegKey& key, std::string_view name, std::size_t buffer, std::string& text) {
    TRegValue value;
    if (key.QueryValue(name, value, buffer) != TRegResult::kOk) return false;
    if (value.type != TValueType::kString) return false;
    text = std::move(value.data);
    return true;
}

// The separator stored as a one-character string; an empty one is not read.
bool ReadSeparator(const TRegKey& key, std::string_view name, char& separator) {
    std::string text;
    if (!ReadString(key, name, 2, text) || text.empty()) return false;
    separator = text[0];
    return true;
}

TAlphabetRow DefaultRow() {
    return {std::string(kDefaultAlphabet), kDefaultSeparator};
}

// An empty row defines no order at all, so it counts as not read.
bool ReadCurrentRow(const TRegKey& key, std::string& text) {
    return ReadString(key, "abc0", kAlphabetRowBuffer, text) && !text.empty();
}

bool WriteSlot(TRegKey& key, int i, const TAlphabetRow& row) {
    if (key.SetString(SlotName("abc", i), row.text) != TRegResult::kOk) return false;
    (void)key.SetString(SlotName("sep", i), std::string(1, row.separator));
    return true;
}

bool SameRow(const TAlphabetRow& a, const TAlphabetRow& b) {
    return a.text == b.text && a.separator == b.separator;
}

}  // namespace

TAlphabetRow ReadAlphabetForSearch() {
    TRegKey key;
    TAlphabetRow row;
    if (TRegKey::Open(TRoot::kCurrentUser, kAlphabetKey, TAccess::kRead, key) != TRegResult::kOk ||
        !ReadCurrentRow(key, row.text))
        return DefaultRow();
    if (!ReadSeparator(key, "sep0", row.separator)) row.separator = kDefaultSeparator;
    return row;
}

TAlphabetRow ReadAlphabetBothOrDefault() {
    TRegKey key;
    TAlphabetRow row;
    if (TRegKey::Open(TRoot::kCurrentUser, kAlphabetKey, TAccess::kRead, key) != TRegResult::kOk ||
        !ReadCurrentRow(key, row.text) || !ReadSeparator(key, "sep0", row.separator))
        return DefaultRow();
    return row;
}

TAlphabetSlots ReadAlphabetSlots() {
    TAlphabetSlots slots;
    TRegKey key;
    if (TRegKey::Open(TRoot::kCurrentUser, kAlphabetKey, TAccess::kRead, key) != TRegResult::kOk)
        return slots;
    for (int i = 0; i < kAlphabetSlots; ++i) {
        TAlphabetSlot& slot = slots[i];
        if (!ReadString(key, SlotName("abc", i), kAlphabetRowBuffer, slot.row.text)) continue;
        slot.listed =
            ReadSeparator(key, SlotName("sep", i), slot.row.separator) && !slot.row.text.empty();
    }
    return slots;
}

void StoreAlphabetRow(const TAlphabetSlots& slots, TAlphabetRow row) {
    if (row.text.size() >= kAlphabetRowBuffer) row.text.resize(kAlphabetRowBuffer - 1);
    TRegKey key;
    if (TRegKey::Open(TRoot::kCurrentUser, kAlphabetKey, TAccess::kFull, key) != TRegResult::kOk)
        return;
    // Unchanged row: nothing moves, and there is no gap to close.
    if (SameRow(row, slots[0].row)) return;
    for (int i = kAlphabetSlots - 2; i >= 0; --i) (void)WriteSlot(key, i + 1, slots[i].row);
    (void)WriteSlot(key, 0, row);
    // The row may have stood in the history already; it is now at "abc<i>"
    // for the first slot i - 1 that held it. Close that gap.
    for (int i = 1; i < kAlphabetSlots; ++i) {
        if (!SameRow(slots[i - 1].row, row)) continue;
        for (int j = i; j < kAlphabetSlots; ++j) (void)WriteSlot(key, j, slots[j].row);
        return;
    }
}

}  // namespace vrk
