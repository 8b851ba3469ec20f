// The keys both programs use, as sub-key paths of their root and as full
// paths for the helpers, and the keys each program makes sure of at start-up.
// Key and library names are Windows-1250 bytes.
#pragma once

#include <string_view>

namespace vrk {

// Below the per-user root.
inline constexpr std::string_view kUserRootKey = "Software\\Tavro\\Verbatrakon III";
inline constexpr std::string_view kGroupsKey = "Software\\Tavro\\Verbatrakon III\\Groups";
inline constexpr std::string_view kAlphabetKey = "Software\\Tavro\\Verbatrakon III\\Alphabet";
inline constexpr std::string_view kFinderKey = "Software\\Tavro\\Verbatrakon III\\Fndr";
inline constexpr std::string_view kManagerKey = "Software\\Tavro\\Verbatrakon III\\Editor";
// Below the per-machine root.
inline constexpr std::string_view kMachineRootKey = "SOFTWARE\\Tavro\\Verbatrakon III";

// Full paths, for the helpers of registry_helpers.h.
inline constexpr std::string_view kUserRootPath =
    "HKEY_CURRENT_USER\\Software\\Tavro\\Verbatrakon III";
inline constexpr std::string_view kAlphabetPath =
    "HKEY_CURRENT_USER\\Software\\Tavro\\Verbatrakon III\\Alphabet";
inline constexpr std::string_view kFinderPath =
    "HKEY_CURRENT_USER\\Software\\Tavro\\Verbatrakon III\\Fndr";
inline constexpr std::string_view kManagerPath =
    "HKEY_CURRENT_USER\\Software\\Tavro\\Verbatrakon III\\Editor";
inline constexpr std::string_view kMachineRootPath =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Tavro\\Verbatrakon III";

// Creates, in order and ignoring failures, the per-user keys "Software",
// "Software\Tavro", the program root, "Groups", "Fndr", "Alphabet" and the
// per-machine keys "SOFTWARE", "SOFTWARE\Tavro".
void EnsureFinderKeys();
// The same with "Editor" in place of "Fndr".
void EnsureManagerKeys();

}  // namespace vrk
