// What every vrk3tool command shares: text conversion at the edge (UTF-8
// outside, Windows-1250 inside), escaping of printed texts, exit codes and
// the private folder for the dictionary scratch files.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "store/data_file.h"

namespace vrk::tool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Thrown by a command for a usage error (exit 2); the message is printed.
struct TUsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A command-line text as Windows-1250; a text Windows-1250 cannot hold, or
// that is not UTF-8, is a usage error naming `what`.
std::string ToCp1250(std::string_view utf8, std::string_view what);
// A one-character argument (a separator, a letter) as one Windows-1250 byte.
char ToCp1250Char(std::string_view utf8, std::string_view what);
// Bytes with tab, CR, LF and backslash escaped (\t \r \n \\) and every
// other control byte as \xHH, not converted (paths).
std::string Escaped(std::string_view bytes);
// A stored text as UTF-8, escaped as Escaped does.
std::string Printable(std::string_view cp1250);

// Prints "vrk3tool: PATH: WHAT" on stderr and returns kExitFailed.
int Fail(std::string_view path, std::string_view what);
// The same for a failed dictionary operation, with why it failed:
// "vrk3tool: PATH: WHAT: REASON", PATH being the file the failure concerns.
int Fail(const TDataFile& file, std::string_view what);

// Refuses a change that the dictionary's own settings do not allow, unless
// forced: "changes allowed" must be set. Returns kExitOk when the change may
// go ahead, else prints why and returns kExitFailed.
int CheckChangesAllowed(TDataFile& file, bool force);

// The folder for this process's scratch files, made under $TMPDIR on first
// use and removed with everything in it when the tool exits; it is marked
// as this process's (settings/temp_dir.h), so that the next run of any of
// the programs removes it when the tool was killed.
const std::string& ScratchDir();
// The tool runs one dictionary operation at a time; this is its progress
// object, which Ctrl+C, SIGTERM and SIGHUP ask to stop.
TProgress& ToolProgress();
// From now on Ctrl+C, SIGTERM and SIGHUP ask the running operation to stop
// (which leaves the dictionary unchanged, and the tool then ends as usual,
// removing its scratch folder); a second such signal ends the tool at once.
void StopOnSignals();
// True once one of those signals came.
bool StopSignalled();
// A dictionary object whose scratch files lie in ScratchDir() and which
// reports to ToolProgress().
std::unique_ptr<TDataFile> OpenDictionary(const std::string& path);

// Each group of commands registers itself; a command's callback stores its
// exit status in exitCode.
void RegisterDictionaryCommands(CLI::App& app, int& exitCode);
// search, import, export, merge, remap (format_commands.cpp).
void RegisterFormatCommands(CLI::App& app, int& exitCode);
// library, settings, alphabet (library_commands.cpp, settings_commands.cpp,
// alphabet_commands.cpp).
void RegisterLibraryCommands(CLI::App& app, int& exitCode);
void RegisterSettingsCommands(CLI::App& app, int& exitCode);
void RegisterAlphabetCommands(CLI::App& app, int& exitCode);

}  // namespace vrk::tool
