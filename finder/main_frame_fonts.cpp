// The seven window fonts ("Font01" ... "Font07" under "Fndr"): what the
// main frame gives its windows when it is created, and the command
// "Pisave..." that lets the user choose them and applies them at once.
// "Font02" and "Font03", the result lists' fonts, are also read by every
// result view when it opens.
#include "finder/frame_fonts.h"

#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <array>
#include <string>
#include <vector>

#include "finder/entry_window.h"
#include "finder/finder_texts.h"
#include "finder/fonts_dlg.h"
#include "finder/main_frame.h"
#include "finder/search_bar.h"
#include "finder/search_bar_library.h"
#include "finder/search_bar_options.h"
#include "finder/vrk3mpg_view.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "ui/font_record.h"

namespace {

constexpr int kFontSlots = 7;

// The stored weight of the defaults that ask for a heavier face: 1024, the
// number the other versions store, shown as the heaviest weight.
constexpr std::int32_t kHeavyWeight = 1024;

// The value name of slot `slot` (1 to 7).
std::string SlotValueName(int slot) {
    return "Font0" + std::to_string(slot);
}

// The default of a slot that is missing when the frame is created, made from
// the search bar's font.
struct TSlotDefault {
    int slot;
    bool heavy;        // weight kHeavyWeight
    const char* face;  // another face; null: the search bar's
};

constexpr TSlotDefault kFrameSlots[] = {
    {1, true, nullptr},  {4, true, "Courier New"}, {5, false, nullptr},
    {6, false, nullptr}, {7, false, nullptr},
};

// The stored font of a slot, or the default made from `barFont` (then stored).
QFont SlotFont(const TSlotDefault& slot, const QFont& barFont) {
    vrk::TFontValue value{};
    const std::string name = SlotValueName(slot.slot);
    if (vrk::TGetRegistryFont(vrk::kFinderPath, name, value))
        return vrk::FontFromRecord(vrk::DecodeFontRecord(value));
    vrk::TFontRecord record = vrk::RecordFromFont(barFont);
    if (slot.heavy) record.weight = kHeavyWeight;
    if (slot.face) record.SetFaceName(slot.face);
    (void)vrk::TSetRegistryFont(vrk::kFinderPath, name, vrk::EncodeFontRecord(record));
    return vrk::FontFromRecord(record);
}

// The windows font slot `slot` (1 to 7) is set on.
std::vector<QWidget*> FontWindows(const CMainFrame& frame, int slot) {
    std::vector<QWidget*> windows;
    switch (slot) {
        case 1:
            // One editor serves the docked and the floating entry window.
            windows.push_back(frame.EntryWindow()->Editor());
            break;
        case 2:
        case 3:
            for (CVrk3mpgView* view : frame.MdiArea()->ResultViews())
                windows.push_back(slot == 2 ? static_cast<QWidget*>(view->List()) : view->Pane());
            break;
        case 4:
            windows.push_back(frame.SearchBar()->ClueBox());
            break;
        case 5:
            windows.push_back(frame.SearchBar()->DescBox());
            break;
        case 6:
            windows.push_back(frame.ActiveLibraryDlg()->List());
            break;
        case 7:
            windows.push_back(frame.SearchOptions()->Tree());
            break;
        default:
            break;
    }
    return windows;
}

}  // namespace

void ApplyFrameFonts(CMainFrame& frame) {
    const QFont barFont = frame.SearchBar()->font();
    for (const TSlotDefault& slot : kFrameSlots) {
        const QFont font = SlotFont(slot, barFont);
        for (QWidget* window : FontWindows(frame, slot.slot)) window->setFont(font);
    }
}

void ChooseFrameFonts(CMainFrame& frame) {
    // The dialog edits these records; a slot that cannot be read starts
    // from the search bar's font.
    std::array<vrk::TFontRecord, kFontSlots> records;
    const vrk::TFontRecord barRecord = vrk::RecordFromFont(frame.SearchBar()->font());
    for (int slot = 1; slot <= kFontSlots; ++slot) {
        vrk::TFontValue value{};
        records[slot - 1] = vrk::TGetRegistryFont(vrk::kFinderPath, SlotValueName(slot), value)
                                ? vrk::DecodeFontRecord(value)
                                : barRecord;
    }
    CFontsDlg dialog(&frame);
    for (int slot = 1; slot <= kFontSlots; ++slot)
        (void)dialog.AddEntry(vrk::texts::kFontSlotNames[slot - 1], &records[slot - 1]);
    if (dialog.exec() != QDialog::Accepted) return;

    // Every slot is stored as the dialog left it: one the user did not
    // change goes back byte for byte, also when its face is missing here.
    for (int slot = 1; slot <= kFontSlots; ++slot) {
        const vrk::TFontRecord& record = records[slot - 1];
        (void)vrk::TSetRegistryFont(vrk::kFinderPath, SlotValueName(slot),
                                    vrk::EncodeFontRecord(record));
        const QFont font = vrk::FontFromRecord(record);
        for (QWidget* window : FontWindows(frame, slot)) window->setFont(font);
    }
}
