// The stored fonts the main frame gives its windows when it is created:
// "Font01" the entry editor, "Font04" and "Font05" the search boxes,
// "Font06" the library list and "Font07" the search options. A missing font
// is made from the search bar's font and stored.
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <string>
#include <vector>

#include "finder/entry_window.h"
#include "finder/main_frame.h"
#include "finder/search_bar.h"
#include "finder/search_bar_library.h"
#include "finder/search_bar_options.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "ui/font_record.h"

namespace {

// The stored weight of the defaults that ask for a heavier face: 1024, the
// number the other versions store, shown as the heaviest weight.
constexpr std::int32_t kHeavyWeight = 1024;

struct TFontSlot {
    const char* name;
    std::vector<QWidget*> windows;
    bool heavy;        // default weight kHeavyWeight
    const char* face;  // default face; null: the search bar's
};

// The stored font of a slot, or the default made from `barFont` (then stored).
QFont SlotFont(const TFontSlot& slot, const QFont& barFont) {
    vrk::TFontValue value{};
    if (vrk::TGetRegistryFont(vrk::kFinderPath, slot.name, value))
        return vrk::FontFromRecord(vrk::DecodeFontRecord(value));
    vrk::TFontRecord record = vrk::RecordFromFont(barFont);
    if (slot.heavy) record.weight = kHeavyWeight;
    if (slot.face) record.SetFaceName(slot.face);
    (void)vrk::TSetRegistryFont(vrk::kFinderPath, slot.name, vrk::EncodeFontRecord(record));
    return vrk::FontFromRecord(record);
}

}  // namespace

void CMainFrame::applyFonts() {
    const QFont barFont = m_pSearchBar->font();
    const TFontSlot fontSlots[] = {
        {"Font01", {m_pEntryWindow->Editor()}, true, nullptr},
        {"Font04", {m_pSearchBar->ClueBox()}, true, "Courier New"},
        {"Font05", {m_pSearchBar->DescBox()}, false, nullptr},
        {"Font06", {m_pActiveLibraryDlg->List()}, false, nullptr},
        {"Font07", {m_pSearchOptions->Tree()}, false, nullptr},
    };
    for (const TFontSlot& slot : fontSlots) {
        const QFont font = SlotFont(slot, barFont);
        for (QWidget* window : slot.windows) window->setFont(font);
    }
}
