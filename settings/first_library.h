// The library a new user starts with. The install puts the dictionary
// "Slovenske besede" (every Slovene word form, made at build time) into the
// install folder, beside the help pages. At the very first start of either
// program, while there is no library at all, the library "Slovenske besede"
// is made holding that dictionary, and the finder takes it as its active
// library, so that the first search finds words. Both programs call
// CreateFirstLibrary at start-up, before their main windows read the
// library tree.
#pragma once

#include <string>
#include <string_view>

namespace vrk {

// The name of the library, and of the dictionary it holds.
inline constexpr std::string_view kWordListLibrary = "Slovenske besede";
// Where the dictionary lies, below the install folder ("InstallPath").
inline constexpr std::string_view kWordListInInstall = "dictionaries/slovenske-besede.vrk3";

// The full path of the installed dictionary for the install folder.
std::string InstalledWordListPath(std::string_view installPath);

enum class TFirstLibrary {
    kCreated,         // the library was made (and made active when none was)
    kNotFirstStart,   // "Run" is stored: one of the programs has started before
    kLibrariesExist,  // Groups holds a library or a dictionary already
    kNoDictionary,    // the installed dictionary is not there (or not readable)
    kStoreFailure,    // the settings store refused the change
};

// At the first start ("Run" is not a stored number yet) with nothing below
// Groups, makes the library kWordListLibrary at the top of the tree holding
// the installed dictionary, and stores it as the finder's "ActiveLib"
// unless one is stored already. Changes nothing otherwise; in particular no
// library is made when the dictionary is not installed.
[[nodiscard]] TFirstLibrary CreateFirstLibrary(std::string_view installPath);

// At the first start, records in "Run" that a program has started and
// returns true. False when either program has started before, and when the
// store cannot record it (damaged, read-only, full): a start that leaves no
// trace is not taken for the first, or every start would be.
[[nodiscard]] bool RecordFirstStart();

}  // namespace vrk
