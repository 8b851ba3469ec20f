// Programs that create and rename libraries at the same moment: library names
// stay unique in the whole tree, because each check and its change are one
// settings transaction.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "settings/library_registry.h"
#include "settings/settings_keys.h"
#include "settings/test_env.h"

namespace vrk {
namespace {

using LibraryRace = TSettingsTest;

std::string Under(std::string_view library) {
    return std::string(kGroupsKey) + "\\" + std::string(library);
}

// Each round, one process creates "Rn" under A, another renames its own
// library to "Rn" under B, a third creates "Rn" at the top, and three more
// make new libraries, numbered by the store, under A, B and C.
TEST_F(LibraryRace, NamesTakenAtOnceAreTakenOnce) {
    constexpr int kRounds = 25;
    (void)UserKey(kGroupsKey);
    for (const char* parent : {"A", "B", "C"})
        ASSERT_EQ(CreateLibraryKey(kGroupsKey, parent), TLibraryResult::kOk);
    for (int i = 0; i < kRounds; ++i)
        ASSERT_EQ(CreateLibraryKey(Under("B"), "b" + std::to_string(i)), TLibraryResult::kOk);
    const auto wanted = [](int i) { return "R" + std::to_string(i); };
    const auto rounds = [](const std::function<TLibraryResult(int)>& step) {
        return [step] {
            for (int i = 0; i < kRounds; ++i) {
                const TLibraryResult r = step(i);
                if (r != TLibraryResult::kOk && r != TLibraryResult::kNameExists) return false;
            }
            return true;
        };
    };
    std::vector<std::function<bool()>> bodies = {
        rounds([&](int i) { return CreateLibraryKey(Under("A"), wanted(i)); }),
        rounds(
            [&](int i) { return RenameLibraryKey(Under("B\\b" + std::to_string(i)), wanted(i)); }),
        rounds([&](int i) { return CreateLibraryKey(kGroupsKey, wanted(i)); }),
    };
    std::string made;
    for (const char* parent : {"A", "B", "C"})
        bodies.push_back(rounds([parent, &made](int) {
            const TLibraryResult r = CreateNewLibrary(Under(parent), made);
            return r == TLibraryResult::kOk ? r : TLibraryResult::kNotFound;  // must succeed
        }));
    ASSERT_TRUE(RunInChildren(bodies));

    std::vector<std::string> names;
    ASSERT_TRUE(ListLibraryNames(names));
    std::map<std::string, int> counts;
    for (const std::string& name : names) ++counts[name];
    for (int i = 0; i < kRounds; ++i) EXPECT_EQ(counts[wanted(i)], 1) << wanted(i);
    int numbered = 0;
    for (const auto& [name, count] : counts) {
        EXPECT_EQ(count, 1) << name;
        numbered += name.rfind("Nova Knji\x9Enica", 0) == 0;
    }
    EXPECT_EQ(numbered, 3 * kRounds);
}

}  // namespace
}  // namespace vrk
