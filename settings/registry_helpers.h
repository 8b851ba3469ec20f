// The general-purpose settings helpers: read and write one value addressed by
// a full key path, a root name, "\" and the sub-key path, for example
// "HKEY_CURRENT_USER\Software\Tavro\Verbatrakon III\Fndr". Each returns true
// on success; every failure writes one diagnostic line (diagnostic.h) and is
// never shown to the user. Texts are Windows-1250 bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vrk {

// Flags of the set helpers; they combine.
inline constexpr unsigned kRegAsk = 1;              // ask before creating a key or overwriting
inline constexpr unsigned kRegCreateKey = 2;        // create a missing key without asking
inline constexpr unsigned kRegNeverCreate = 4;      // never create a missing key
inline constexpr unsigned kRegOverwrite = 8;        // overwrite an existing value without asking
inline constexpr unsigned kRegNeverOverwrite = 16;  // never overwrite an existing value

// The window a question belongs to; opaque here, the user interface's own.
using TOwnerWindow = void*;
// Asks a Yes/No question (question icon) in `owner` and returns true for Yes.
using TYesNoQuestion =
    std::function<bool(TOwnerWindow owner, std::string_view caption, std::string_view text)>;
// Installs the function that asks the questions of kRegAsk (the user interface
// sets a message box, tests a script). Without one every answer is No.
// Returns the previous one. Not thread-safe against a running helper.
TYesNoQuestion SetRegistryQuestion(TYesNoQuestion ask);

// The question texts of kRegAsk; an empty text means the default.
struct TRegPrompt {
    TOwnerWindow owner = nullptr;
    std::string_view caption;      // default "Warning"
    std::string_view keyPrompt;    // default "This registry key doesn't exist. Create?"
    std::string_view valuePrompt;  // default "This registry value already exists. Overwrite?"
};

// The largest string the helpers read, terminator included.
inline constexpr std::size_t kMaxRegistryString = 1000;

// Reads a string value into `text` when it fits a buffer of `bufferSize`
// bytes (at most kMaxRegistryString) with its terminator. A missing value,
// one of another type or a longer one is a failure; `text` is then unchanged.
[[nodiscard]] bool TGetRegistryString(std::string_view keyPath, std::string_view name,
                                      std::string& text,
                                      std::size_t bufferSize = kMaxRegistryString);
// Reads a 32-bit number value; any other type is a failure.
[[nodiscard]] bool TGetRegistryNumber(std::string_view keyPath, std::string_view name,
                                      std::int32_t& number);
// Writes a string value (stored without a terminator) under the flags.
[[nodiscard]] bool TSetRegistryString(std::string_view keyPath, std::string_view name,
                                      std::string_view text, unsigned flags,
                                      const TRegPrompt& prompt = {});
// Writes a 32-bit number value under the flags.
[[nodiscard]] bool TSetRegistryNumber(std::string_view keyPath, std::string_view name,
                                      std::int32_t number, unsigned flags,
                                      const TRegPrompt& prompt = {});

// Reads a binary value of exactly `size` bytes.
[[nodiscard]] bool TGetRegistryBinary(std::string_view keyPath, std::string_view name,
                                      std::string& data, std::size_t size);
// Writes a binary value under the flags.
[[nodiscard]] bool TSetRegistryBinary(std::string_view keyPath, std::string_view name,
                                      std::string_view data, unsigned flags,
                                      const TRegPrompt& prompt = {});

// A stored font: the 60-byte font description record. Its fields and their
// conversion to the toolkit's font belong to the user interface.
inline constexpr std::size_t kFontValueSize = 60;
using TFontValue = std::array<unsigned char, kFontValueSize>;

// Reads a font value; a missing one, or one of another type or size, is a
// failure (the caller then stores the control's current font).
[[nodiscard]] bool TGetRegistryFont(std::string_view keyPath, std::string_view name,
                                    TFontValue& font);
// Writes a font value, creating the key and overwriting without asking.
[[nodiscard]] bool TSetRegistryFont(std::string_view keyPath, std::string_view name,
                                    const TFontValue& font);

}  // namespace vrk
