// vrk3tool: the dictionary store and the settings store from the command
// line. Exit status 0 on success, 1 when an operation failed, 2 on a usage
// error.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "settings/temp_dir.h"
#include "tool_common.h"

namespace {

bool StartsWith(const std::string& text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The arguments as the command-line parser is to read them.
//  - "--NAME=" with nothing after "=" is the option with an empty value (the
//    parser would take the next argument for its value instead).
//  - The search's PATTERN and TERMS may begin with "-" ("-reka" excludes a
//    word), which the parser would take for an option: every argument of
//    `search` that begins with a single "-" and is not -h goes, in order,
//    with the other arguments that are no options, behind a "--". Options
//    (which begin with "--") keep their values and their order.
std::vector<std::string> ArgumentsToParse(int argc, char** argv, const CLI::App& app) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (StartsWith(arg, "--") && arg.size() > 3 && arg.back() == '=' &&
            arg.find('=') == arg.size() - 1) {
            arg.pop_back();
            args.push_back(std::move(arg));
            args.emplace_back();
        } else {
            args.push_back(std::move(arg));
        }
    }
    const auto command =
        std::find_if(args.begin(), args.end(), [](const std::string& a) { return a[0] != '-'; });
    if (command == args.end() || *command != "search") return args;
    const CLI::App* search = app.get_subcommand("search");
    std::vector<std::string> result(args.begin(), command + 1);
    std::vector<std::string> operands;
    for (auto it = command + 1; it != args.end(); ++it) {
        if (*it == "--") {
            operands.insert(operands.end(), it + 1, args.end());
            break;
        }
        const bool option = StartsWith(*it, "--") || *it == "-h";
        if (!option) {
            operands.push_back(*it);
            continue;
        }
        const CLI::Option* known = search->get_option_no_throw(it->substr(0, it->find('=')));
        if (!known || it->find('=') != std::string::npos) {
            result.push_back(*it);
        } else if (known->get_items_expected_min() == 0) {
            // A flag followed by "--" would take the "--" for its value.
            result.push_back(*it + "=true");
        } else {
            // "--max 5": the value goes with its option.
            result.push_back(*it);
            if (it + 1 != args.end()) result.push_back(*++it);
        }
    }
    if (!operands.empty()) {
        result.emplace_back("--");
        result.insert(result.end(), operands.begin(), operands.end());
    }
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vrk::tool;
    StopOnSignals();
    // Scratch folders of earlier runs that were killed.
    (void)vrk::TRemoveAbandonedScratchFolders();
    CLI::App app{"Verbatrakon III: dictionaries and libraries from the command line", "vrk3tool"};
    app.require_subcommand(1);
    int exitCode = kExitOk;
    RegisterDictionaryCommands(app, exitCode);
    RegisterFormatCommands(app, exitCode);
    RegisterLibraryCommands(app, exitCode);
    RegisterSettingsCommands(app, exitCode);
    RegisterAlphabetCommands(app, exitCode);
    try {
        std::vector<std::string> args = ArgumentsToParse(argc, argv, app);
        std::reverse(args.begin(), args.end());  // the parser takes them last first
        app.parse(args);
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
