#include "settings/registry_helpers.h"

#include <algorithm>
#include <optional>

#include "settings/diagnostic.h"
#include "settings/reg_key.h"

namespace vrk {

namespace {

TYesNoQuestion g_ask;

constexpr std::string_view kDefaultCaption = "Warning";
constexpr std::string_view kDefaultKeyPrompt = "This registry key doesn't exist. Create?";
constexpr std::string_view kDefaultValuePrompt = "This registry value already exists. Overwrite?";

void Report(std::string_view who, std::string_view what) {
    std::string line = "* ";
    line += who;
    line += ": ";
    line += what;
    TDebugLine(line);
}

// The root named before the first "\" and the sub-key path after it.
std::optional<TRoot> SplitFullPath(std::string_view fullPath, std::string_view& subKey) {
    const std::size_t cut = fullPath.find('\\');
    subKey = cut == std::string_view::npos ? std::string_view() : fullPath.substr(cut + 1);
    return RootFromName(fullPath.substr(0, cut));
}

bool Ask(const TRegPrompt& prompt, const std::string& text) {
    if (!g_ask) return false;
    return g_ask(prompt.owner, prompt.caption.empty() ? kDefaultCaption : prompt.caption, text);
}

// The root named by a full key path, and the rest in subKey; reported
// when the path names no root.
std::optional<TRoot> RootOf(std::string_view who, std::string_view keyPath,
                            std::string_view& subKey) {
    const std::optional<TRoot> root = SplitFullPath(keyPath, subKey);
    if (!root) Report(who, "Cannot access the basic key.");
    return root;
}

// Reads a value of type `type` that fits `buffer`.
bool GetValue(std::string_view who, std::string_view keyPath, std::string_view name,
              TValueType type, std::size_t buffer, TRegValue& value) {
    std::string_view subKey;
    const std::optional<TRoot> root = RootOf(who, keyPath, subKey);
    if (!root) return false;
    TRegKey key;
    if (TRegKey::Open(*root, subKey, TAccess::kRead, key) != TRegResult::kOk) {
        Report(who, "Cannot open the specified key.");
        return false;
    }
    if (key.QueryValue(name, value, buffer) != TRegResult::kOk || value.type != type) {
        Report(who, "Cannot retrieve the value data.");
        return false;
    }
    return true;
}

// The common steps of the set helpers: open or create the key, decide about
// an existing value, write.
bool SetValue(std::string_view who, std::string_view keyPath, std::string_view name,
              TValueType type, std::string_view data, unsigned flags, const TRegPrompt& prompt) {
    std::string_view subKey;
    const std::optional<TRoot> root = RootOf(who, keyPath, subKey);
    if (!root) return false;
    TRegKey key;
    if (TRegKey::Open(*root, subKey, TAccess::kFull, key) != TRegResult::kOk) {
        bool create = false;
        if (!(flags & kRegNeverCreate)) {
            if (flags & kRegAsk) {
                std::string text(keyPath);
                text += '\n';
                text += prompt.keyPrompt.empty() ? kDefaultKeyPrompt : prompt.keyPrompt;
                create = Ask(prompt, text);
            }
            create = create || (flags & kRegCreateKey);
        }
        if (!create) {
            Report(who, "Cannot open the specified key.");
            return false;
        }
        if (TRegKey::Create(*root, subKey, key) != TRegResult::kOk) {
            Report(who, "Cannot create the specified key.");
            return false;
        }
    }
    // Any stored value counts as existing, whatever its size, so that
    // kRegNeverOverwrite holds for long values too.
    TRegValue existing;
    const TRegResult found = key.QueryValue(name, existing);
    if (found == TRegResult::kOk) {
        Report(who, "The value already exists.");
        if (flags & kRegNeverOverwrite) return false;
        bool overwrite = false;
        if (flags & kRegAsk) {
            std::string text(keyPath);
            text += '\\';
            text += name;
            text += '\n';
            text += prompt.valuePrompt.empty() ? kDefaultValuePrompt : prompt.valuePrompt;
            overwrite = Ask(prompt, text);
        }
        if (!overwrite && !(flags & kRegOverwrite)) return false;
    }
    if (key.SetValue(name, type, data) != TRegResult::kOk) {
        Report(who, "Cannot set the specified value.");
        return false;
    }
    return true;
}

}  // namespace

TYesNoQuestion SetRegistryQuestion(TYesNoQuestion ask) {
    std::swap(ask, g_ask);
    return ask;
}

bool TGetRegistryString(std::string_view keyPath, std::string_view name, std::string& text,
                        std::size_t bufferSize) {
    TRegValue value;
    if (!GetValue("TGetRegistryString", keyPath, name, TValueType::kString,
                  std::min(bufferSize, kMaxRegistryString), value))
        return false;
    text = std::move(value.data);
    return true;
}

bool TGetRegistryNumber(std::string_view keyPath, std::string_view name, std::int32_t& number) {
    TRegValue value;
    if (!GetValue("TGetRegistryNumber", keyPath, name, TValueType::kNumber, 4, value)) return false;
    return DecodeNumber(value, number);
}

bool TSetRegistryString(std::string_view keyPath, std::string_view name, std::string_view text,
                        unsigned flags, const TRegPrompt& prompt) {
    return SetValue("TSetRegistryString", keyPath, name, TValueType::kString, text, flags, prompt);
}

bool TSetRegistryNumber(std::string_view keyPath, std::string_view name, std::int32_t number,
                        unsigned flags, const TRegPrompt& prompt) {
    return SetValue("TSetRegistryNumber", keyPath, name, TValueType::kNumber, EncodeNumber(number),
                    flags, prompt);
}

bool TGetRegistryBinary(std::string_view keyPath, std::string_view name, std::string& data,
                        std::size_t size) {
    TRegValue value;
    if (!GetValue("TGetRegistryBinary", keyPath, name, TValueType::kBinary, size, value))
        return false;
    if (value.data.size() != size) {
        Report("TGetRegistryBinary", "Cannot retrieve the value data.");
        return false;
    }
    data = std::move(value.data);
    return true;
}

bool TSetRegistryBinary(std::string_view keyPath, std::string_view name, std::string_view data,
                        unsigned flags, const TRegPrompt& prompt) {
    return SetValue("TSetRegistryBinary", keyPath, name, TValueType::kBinary, data, flags, prompt);
}

bool TGetRegistryFont(std::string_view keyPath, std::string_view name, TFontValue& font) {
    std::string data;
    if (!TGetRegistryBinary(keyPath, name, data, kFontValueSize)) return false;
    std::copy(data.begin(), data.end(), font.begin());
    return true;
}

bool TSetRegistryFont(std::string_view keyPath, std::string_view name, const TFontValue& font) {
    const std::string_view data(reinterpret_cast<const char*>(font.data()), font.size());
    return TSetRegistryBinary(keyPath, name, data, kRegCreateKey | kRegOverwrite);
}

}  // namespace vrk
