#include "manager/view_settings.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"

namespace {

int ReadNumber(std::string_view name, int fallback) {
    std::int32_t value = 0;
    return vrk::TGetRegistryNumber(vrk::kManagerPath, name, value) ? value : fallback;
}

// Layout values are written without questions, creating the key when another
// program removed it meanwhile.
bool WriteNumber(std::string_view name, std::int32_t value) {
    return vrk::TSetRegistryNumber(vrk::kManagerPath, name, value,
                                   vrk::kRegCreateKey | vrk::kRegOverwrite);
}

std::string ColumnName(std::size_t i) {
    return "ListColumnWidth" + std::to_string(i);
}

}  // namespace

TViewSettings ReadViewSettings() {
    const TViewSettings defaults;
    TViewSettings settings;
    settings.treeWidth = std::max(0, ReadNumber("TreeWidth", defaults.treeWidth));
    settings.width = ReadNumber("Width", defaults.width);
    settings.height = ReadNumber("Height", defaults.height);
    settings.maximized = ReadNumber("Style", 0) == 1;
    for (std::size_t i = 0; i < settings.columns.size(); ++i)
        settings.columns[i] = ReadNumber(ColumnName(i), defaults.columns[i]);
    return settings;
}

bool StoreViewLayout(const TViewSettings& now, TViewSettings& stored) {
    bool ok = true;
    auto store = [&ok](std::string_view name, int value, int& was) {
        if (value == was) return;
        if (WriteNumber(name, value))
            was = value;
        else
            ok = false;
    };
    store("TreeWidth", now.treeWidth, stored.treeWidth);
    store("Width", now.width, stored.width);
    store("Height", now.height, stored.height);
    for (std::size_t i = 0; i < now.columns.size(); ++i)
        store(ColumnName(i), now.columns[i], stored.columns[i]);
    return ok;
}

bool StoreViewStyle(bool maximized) {
    return WriteNumber("Style", maximized ? 1 : 0);
}

int BoundedTreeWidth(int treeWidth, int viewWidth) {
    return std::clamp(treeWidth, 0, std::max(0, viewWidth - kSplitterWidth));
}
