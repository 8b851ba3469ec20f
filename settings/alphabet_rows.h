// The stored alphabet rows: the current row "abc0" with its separator "sep0"
// and the nine rows used before ("abc1".."abc9", "sep1".."sep9", most recent
// first), per user under kAlphabetKey. Rows are Windows-1250 bytes. Every
// reader takes the row when it starts its work.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vrk {

inline constexpr int kAlphabetSlots = 10;
// "abc%d" is read with this buffer; a row is at most kAlphabetRowBuffer - 1 bytes.
inline constexpr std::size_t kAlphabetRowBuffer = 1000;

struct TAlphabetRow {
    std::string text;
    char separator = '|';
};

// An empty stored row defines no order at all (every letter would rank
// alike), so every reader counts it as a row that cannot be read.
//
// The row for a search: the built-in row and "|" when "abc0" cannot be read;
// the stored row with "|" when only "sep0" cannot be read.
TAlphabetRow ReadAlphabetForSearch();
// The row for the library list and the export job: the stored row only when
// both "abc0" and "sep0" can be read, else the built-in row.
TAlphabetRow ReadAlphabetBothOrDefault();

// The ten slots as the alphabet dialog opens them: slot i starts as an empty
// row with "|", takes "abc<i>" and, when that was read, "sep<i>". `listed`
// tells whether the dialog offers the slot (both read, text not empty).
struct TAlphabetSlot {
    TAlphabetRow row;
    bool listed = false;
};
using TAlphabetSlots = std::array<TAlphabetSlot, kAlphabetSlots>;
TAlphabetSlots ReadAlphabetSlots();

// Stores `row` as the current one ("V redu" of the dialog), given the slots
// the dialog opened with: a changed row moves the history down one place
// and takes slot 0; when the same row was in the history, its old place is
// closed up and the oldest row comes back. Writes that fail are skipped
// silently. The text is cut to kAlphabetRowBuffer - 1 bytes.
void StoreAlphabetRow(const TAlphabetSlots& slots, TAlphabetRow row);

}  // namespace vrk
