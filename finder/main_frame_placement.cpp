#include "finder/main_frame_placement.h"

#include <string_view>

#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"

namespace {

using vrk::kFinderPath;

// A stored number, or `fallback` when it is missing or not a number.
std::int32_t ReadNumber(std::string_view name, std::int32_t fallback) {
    std::int32_t value = 0;
    return vrk::TGetRegistryNumber(kFinderPath, name, value) ? value : fallback;
}

// Placement values are written without questions: the key exists from
// start-up on, and when it is gone nothing is stored.
bool WriteNumber(std::string_view name, std::int32_t value) {
    return vrk::TSetRegistryNumber(kFinderPath, name, value,
                                   vrk::kRegNeverCreate | vrk::kRegOverwrite);
}

}  // namespace

std::int32_t ValidAlign(std::int32_t align) {
    switch (align) {
        case kAlignLeft:
        case kAlignRight:
        case kAlignTop:
        case kAlignBottom:
            return align;
        default:
            return kAlignLeft;
    }
}

TFramePlacement ReadFramePlacement(const QRect& screen) {
    TFramePlacement placement;
    const int width = ReadNumber("FrameW", (screen.width() / 100) * 80);
    const int height = ReadNumber("FrameH", (screen.height() / 100) * 80);
    const int x = ReadNumber("FrameX", screen.x() + screen.width() / 2 - width / 2);
    const int y = ReadNumber("FrameY", screen.y() + screen.height() / 2 - height / 2);
    placement.frame = QRect(x, y, width, height);
    placement.style = ReadNumber("FrameS", kDefaultFrameStyle);
    placement.state = ReadNumber("FrameM", kFrameNormal);

    const int editX = ReadNumber("EditX", x + 50);
    const int editY = ReadNumber("EditY", y + height - 150);
    const int editW = ReadNumber("EditW", 250);
    const int editH = ReadNumber("EditH", 120);
    placement.floating = QRect(editX, editY, editW, editH);

    const int mode = ReadNumber("EditV", kEntryDocked);
    // Another number means no known window; the docked one is the safe choice.
    placement.entryMode = (mode >= kEntryHidden && mode <= kEntryFloating) ? mode : kEntryDocked;
    placement.align = ValidAlign(ReadNumber("FrameA", kAlignLeft));
    return placement;
}

bool StoreFramePlacement(const QRect& frame, std::int32_t style, int state, int entryMode) {
    bool ok = true;
    if (state == kFrameNormal) {
        ok = WriteNumber("FrameW", frame.width()) && ok;
        ok = WriteNumber("FrameH", frame.height()) && ok;
        ok = WriteNumber("FrameX", frame.x()) && ok;
        ok = WriteNumber("FrameY", frame.y()) && ok;
        ok = WriteNumber("FrameS", style) && ok;
    }
    ok = WriteNumber("FrameM", state) && ok;
    ok = WriteNumber("EditV", entryMode) && ok;
    return ok;
}

bool StoreFloatingPlacement(const QRect& floating) {
    bool ok = WriteNumber("EditW", floating.width());
    ok = WriteNumber("EditH", floating.height()) && ok;
    ok = WriteNumber("EditX", floating.x()) && ok;
    ok = WriteNumber("EditY", floating.y()) && ok;
    return ok;
}

bool StoreEntryAlign(std::int32_t align) {
    return WriteNumber("FrameA", align);
}

int ReadStoredFrameState() {
    return ReadNumber("FrameM", kFrameNormal);
}

bool ClearStoredFrameState() {
    return WriteNumber("FrameM", kFrameNormal);
}
