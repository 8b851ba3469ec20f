// The library a new user starts with. The install puts the dictionary
// "Slovenske besede" (every Slovene word form, made at build time) into the
// install folder, beside the help pages, and where the build makes them the
// dictionaries of descriptions "Slovenske sopomenke" (a thesaurus) and
// "Slovenski pojmi" (names of countries, municipalities, languages and
// currencies). At the very first start of either program, while there is no
// library at all, the user's own empty dictionary "Moje besede" is made in
// the user's data folder, and the library "Slovenske besede" is made holding,
// in this order (the order of the results): "Moje besede", "Slovenske
// sopomenke", "Slovenski pojmi", "Slovenske besede". The finder takes it as
// its active library, so that the first search finds words and the first
// "Shrani Kot..." has a dictionary to save into. Both programs call
// CreateFirstLibrary at start-up, before their main windows read the
// library tree.
#pragma once

#include <string>
#include <string_view>

#include "store/failure.h"

namespace vrk {

// The name of the library, and of the dictionary of word forms it holds.
inline constexpr std::string_view kWordListLibrary = "Slovenske besede";
// Where the installed dictionaries lie, below the install folder
// ("InstallPath"), in the library's order.
inline constexpr std::string_view kWordListInInstall = "dictionaries/slovenske-besede.vrk3";
inline constexpr std::string_view kThesaurusInInstall = "dictionaries/slovenske-sopomenke.vrk3";
inline constexpr std::string_view kNamesInInstall = "dictionaries/slovenski-pojmi.vrk3";
// The user's own dictionary: its name, and its file in the data folder.
inline constexpr std::string_view kOwnDictionaryName = "Moje besede";
inline constexpr std::string_view kOwnDictionaryFile = "moje-besede.vrk3";

// The full path of the installed dictionary for the install folder.
std::string InstalledWordListPath(std::string_view installPath);
// The same for any file below the install folder.
std::string InstalledPath(std::string_view installPath, std::string_view file);
// The user's data folder of the programs: $XDG_DATA_HOME/vrk3 when
// XDG_DATA_HOME is an absolute path, else ~/.local/share/vrk3. Empty when
// there is no home folder.
std::string UserDataFolder();

// Why the user's own dictionary was not made at the first start.
struct TOwnDictionaryProblem {
    std::string path;  // the dictionary that could not be made; empty when it was
    TFailure failure = TFailure::None;
    int error = 0;  // the errno behind it, 0 when none applies
    explicit operator bool() const { return !path.empty(); }
};

enum class TFirstLibrary {
    kCreated,         // the library was made (and made active when none was)
    kNotFirstStart,   // "Run" is stored: one of the programs has started before
    kLibrariesExist,  // Groups holds a library or a dictionary already
    kNoDictionary,    // the installed dictionary is not there (or not readable)
    kStoreFailure,    // the settings store refused the change
};

// At the first start ("Run" is not a stored number yet) with nothing below
// Groups, makes the library kWordListLibrary at the top of the tree holding
// the user's own dictionary and the installed ones that are there, and
// stores it as the finder's "ActiveLib" unless one is stored already.
// Changes nothing otherwise; in particular no library is made when
// "Slovenske besede" is not installed. The own dictionary (flags: changes
// and export allowed) is made in UserDataFolder() unless a file of its name
// is there already, which is kept; when it cannot be made the library is
// made without it and `problem` says why.
[[nodiscard]] TFirstLibrary CreateFirstLibrary(std::string_view installPath,
                                               TOwnDictionaryProblem* problem = nullptr);

// At the first start, records in "Run" that a program has started and
// returns true. False when either program has started before, and when the
// store cannot record it (damaged, read-only, full): a start that leaves no
// trace is not taken for the first, or every start would be.
[[nodiscard]] bool RecordFirstStart();

}  // namespace vrk
