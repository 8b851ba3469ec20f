// vrk3tool: the dictionary store and the settings store from the command
// line. Exit status 0 on success, 1 when an operation failed, 2 on a usage
// error.
#include <iostream>

#include "tool_common.h"

int main(int argc, char** argv) {
    using namespace vrk::tool;
    CLI::App app{"Verbatrakon III: dictionaries and libraries from the command line", "vrk3tool"};
    app.require_subcommand(1);
    int exitCode = kExitOk;
    RegisterDictionaryCommands(app, exitCode);
    RegisterFormatCommands(app, exitCode);
    RegisterLibraryCommands(app, exitCode);
    RegisterSettingsCommands(app, exitCode);
    RegisterAlphabetCommands(app, exitCode);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kExitUsage;
    } catch (const TUsageError& e) {
        std::cerr << "vrk3tool: " << e.what() << '\n';
        return kExitUsage;
    }
    return exitCode;
}
