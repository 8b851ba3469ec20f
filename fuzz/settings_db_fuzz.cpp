// The settings store opened on a fuzzed per-user database file. Promises
// checked: nothing crashes or hangs; a file the store refuses is left byte
// for byte as it was, and the store says why it refused it; a value written
// to a store that accepted it reads back (a damaged index once broke this).
#include <cstdlib>
#include <filesystem>

#include "fuzz_util.h"
#include "settings/alphabet_rows.h"
#include "settings/library_registry.h"
#include "settings/registry_helpers.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

using namespace vrk;
using namespace vrk::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        setenv("VRK3_SETTINGS_DIR", Folder().c_str(), 1);
        TStoreTiming timing;
        timing.firstWait = timing.retryWait = timing.retryInterval = std::chrono::milliseconds(0);
        (void)SetStoreTiming(timing);
        return true;
    }();
    (void)ready;
    CloseSettingsStore();
    std::error_code ec;
    for (const char* name : {"user.db", "user.db-wal", "user.db-shm", "user.db-journal"})
        std::filesystem::remove(InFolder(name), ec);
    const std::string path = InFolder("user.db");
    const std::string_view bytes = AsText(data, size);
    WriteBytes(path, bytes);

    std::string text;
    std::int32_t number = 0;
    (void)TGetRegistryString(kFinderPath, "ActiveLib", text);
    (void)TGetRegistryNumber(kFinderPath, "MatchCase", number);
    std::vector<std::string> names;
    (void)ListLibraryNames(names);
    TLibraryNode tree;
    (void)ReadLibraryTree(tree);
    std::string keyPath, paths;
    if (!names.empty() && FindLibraryKey(names[0], keyPath))
        (void)CollectLibraryDictionaries(keyPath, paths);
    (void)ReadAlphabetSlots();
    (void)ReadAlphabetForSearch();

    const bool written =
        TSetRegistryString(kFinderPath, "Fuzz", "vrednost", kRegCreateKey | kRegOverwrite);
    if (written) {
        VRK3_FUZZ_CHECK(TGetRegistryString(kFinderPath, "Fuzz", text) && text == "vrednost");
    } else {
        // A refusal always comes with its reason, for the user's message.
        VRK3_FUZZ_CHECK(SettingsStoreFailure(TRoot::kCurrentUser) != TStoreFailure::kNone);
    }
    CloseSettingsStore();
    if (!written && size > 0) {
        // Refused: never written to (a store merely busy does not happen here).
        VRK3_FUZZ_CHECK(ReadBytes(path) == bytes);
    }
    return 0;
}
