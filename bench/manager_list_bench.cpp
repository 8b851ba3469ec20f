// manager_list_bench: times the manager's dictionary list for a library of
// 50 dictionaries of 100 000 entries each against a library of 50 empty
// dictionaries, in one run. Filling the list reads only each dictionary's
// header, so the two should cost about the same.
//
//   manager_list_bench WORK_DIR [RUNS]
// Writes the dictionaries (once) and a settings store of its own below
// WORK_DIR, then prints the fastest fill of each library in milliseconds and
// their ratio. Exit status 1 when the ratio misses the goal of 1.5.
#include <QApplication>
#include <QTreeWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "manager/main_frame.h"
#include "manager/vrk3dbe_app.h"
#include "manager/vrk3dbe_view.h"
#include "settings/library_registry.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "settings/temp_dir.h"
#include "store/coding.h"
#include "store/file_io.h"
#include "store/format.h"
#include "ui/help.h"
#include "ui/message_box.h"
#include "ui/ui_init.h"

namespace {

constexpr int kDictionaries = 50;
constexpr int kEntries = 100000;
constexpr double kGoal = 1.5;

// Writes a dictionary named `name` with `entries` generated words, each with
// two descriptions, straight in the file format.
bool WriteDictionary(const std::string& path, const std::string& name, int entries) {
    std::string records(static_cast<std::size_t>(vrk::ENTRY_BASE), '\0');
    records.insert(vrk::kRecordName, name);
    records.insert(vrk::kRecordName + 1 + name.size(), "Bench");  // the author
    for (int i = 0; i < entries; ++i) {
        records += "beseda" + std::to_string(i);
        records +=
            "\x01prvi opis besede \x01"
            "drugi, daljsi opis besede " +
            std::to_string(i);
        records += '\0';
    }
    char header[vrk::kHeaderSize] = {};
    vrk::PutFixed32(header, static_cast<std::uint32_t>(entries));
    const char trailer[vrk::kTrailerSize] = {};
    std::FILE* out = std::fopen((path + ".part").c_str(), "wb");
    if (!out) return false;
    vrk::TScrambledWriter writer;
    writer.Attach(fileno(out));
    const bool ok = writer.WritePlain(vrk::kMagic) && writer.WritePlain({header, sizeof header}) &&
                    writer.WriteScrambled(records) &&
                    writer.WritePlain({trailer, sizeof trailer}) && writer.Flush();
    std::fclose(out);
    return ok && std::rename((path + ".part").c_str(), path.c_str()) == 0;
}

// A library of `count` dictionaries with `entries` each, written once.
bool MakeLibrary(const std::string& work, const std::string& library, int entries) {
    const std::string folder = work + "/" + library;
    std::filesystem::create_directories(folder);
    if (vrk::CreateLibraryKey(vrk::kGroupsKey, library) != vrk::TLibraryResult::kOk) return false;
    const std::string key = std::string(vrk::kGroupsKey) + "\\" + library;
    for (int i = 0; i < kDictionaries; ++i) {
        const std::string path = folder + "/d" + std::to_string(i) + ".vrk3";
        if (!std::filesystem::exists(path) &&
            !WriteDictionary(path, library + " " + std::to_string(i), entries))
            return false;
        if (vrk::AddLibraryDictionary(key, path) != vrk::TLibraryResult::kOk) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::cerr << "usage: manager_list_bench WORK_DIR [RUNS]\n";
        return 2;
    }
    const std::string work = std::filesystem::absolute(argv[1]).string();
    const int runs = argc > 2 ? std::atoi(argv[2]) : 9;
    // A settings store of its own, made anew each run.
    std::filesystem::remove_all(work + "/settings");
    std::filesystem::create_directories(work + "/temp");
    setenv("VRK3_SETTINGS_DIR", (work + "/settings").c_str(), 1);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication application(argc, argv);
    vrk::InitUi();
    vrk::SetHelpHook([](int) {});
    vrk::SetMessageHook([](const vrk::TMessage&) { return vrk::TMsgAnswer::kOk; });
    CVrk3dbeApp::InitApplication();
    if (!vrk::TWriteBackupDir(work + "/temp") ||
        !vrk::TSetRegistryNumber(vrk::kUserRootPath, "Run", 1, vrk::kRegCreateKey) ||
        !MakeLibrary(work, "Prazni", 0) || !MakeLibrary(work, "Polni", kEntries)) {
        std::cerr << "manager_list_bench: cannot prepare " << work << "\n";
        return 1;
    }

    CMainFrame frame(false);  // not shown: it lists nothing by itself
    CVrk3dbeView* view = frame.View();
    const std::string full = std::string(vrk::kGroupsKey) + "\\Polni";
    const std::string empty = std::string(vrk::kGroupsKey) + "\\Prazni";
    auto fill = [&](const std::string& key) {
        const auto start = std::chrono::steady_clock::now();
        view->FillDictionaryList(key);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        if (view->List()->topLevelItemCount() != kDictionaries) {
            std::cerr << "manager_list_bench: the list shows " << view->List()->topLevelItemCount()
                      << " dictionaries\n";
            std::exit(1);
        }
        return ms;
    };
    double bestFull = 1e30, bestEmpty = 1e30;
    fill(full);  // the files' first pages into the page cache, for both sides
    fill(empty);
    for (int run = 0; run < runs; ++run) {
        bestEmpty = std::min(bestEmpty, fill(empty));
        bestFull = std::min(bestFull, fill(full));
    }
    const double ratio = bestFull / bestEmpty;
    std::printf("dictionary list of %d dictionaries (fastest of %d runs)\n", kDictionaries, runs);
    std::printf("  %d x 0 entries        %8.2f ms\n", kDictionaries, bestEmpty);
    std::printf("  %d x %d entries  %8.2f ms\n", kDictionaries, kEntries, bestFull);
    std::printf("  ratio               %8.2f   (goal <= %.2f) %s\n", ratio, kGoal,
                ratio <= kGoal ? "ok" : "MISSED");
    return ratio <= kGoal ? 0 : 1;
}
