// Programs that create and rename libraries at the same moment: library names
// stay unique in the whole tree, because each check and its change are one
// settings transaction.
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#include "settings/library_registry.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "settings/test_env.h"

namespace vrk {
namespace {

class LibraryRace : public TSettingsTest {
  protected:
    void SetUp() override {
        TSettingsTest::SetUp();
        (void)UserKey(kGroupsKey);
    }

    // Runs each body in a process of its own, all released at once, and
    // waits for them; true when every one succeeded.
    bool RaceProcesses(const std::vector<std::function<bool()>>& bodies) {
        CloseSettingsStore();  // no connection may cross fork()
        int go[2];
        if (pipe(go) != 0) return false;
        std::vector<pid_t> children;
        for (const auto& body : bodies) {
            const pid_t pid = fork();
            if (pid == 0) {
                close(go[1]);
                char c;
                // The end of the pipe (0 bytes) is the signal to start.
                if (read(go[0], &c, 1) < 0) _exit(2);
                _exit(body() ? 0 : 1);
            }
            children.push_back(pid);
        }
        close(go[0]);
        // Closing the pipe releases every child at once.
        close(go[1]);
        bool ok = true;
        for (pid_t pid : children) {
            int status = 0;
            waitpid(pid, &status, 0);
            ok = ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        return ok;
    }

    // How often each library name occurs in the tree.
    std::map<std::string, int> NameCounts() {
        std::vector<std::string> names;
        EXPECT_TRUE(ListLibraryNames(names));
        std::map<std::string, int> counts;
        for (const std::string& name : names) ++counts[name];
        return counts;
    }

    static std::string Under(std::string_view library) {
        return std::string(kGroupsKey) + "\\" + std::string(library);
    }
};

constexpr int kRounds = 25;

TEST_F(LibraryRace, NewLibrariesCreatedAtOnceUnderDifferentParentsGetDistinctNames) {
    for (const char* parent : {"A", "B", "C"})
        ASSERT_EQ(CreateLibraryKey(kGroupsKey, parent), TLibraryResult::kOk);
    std::vector<std::function<bool()>> bodies;
    for (const char* parent : {"A", "B", "C"})
        bodies.push_back([parent] {
            for (int i = 0; i < kRounds; ++i) {
                std::string name;
                if (CreateNewLibrary(Under(parent), name) != TLibraryResult::kOk) return false;
            }
            return true;
        });
    ASSERT_TRUE(RaceProcesses(bodies));
    const auto counts = NameCounts();
    EXPECT_EQ(counts.size(), 3u + 3 * kRounds);
    for (const auto& [name, count] : counts) EXPECT_EQ(count, 1) << name;
}

TEST_F(LibraryRace, OneNameCreatedOrRenamedToAtOnceIsTakenOnce) {
    // Each round: one process creates "Rn" under A while another renames its
    // own library to "Rn" under B, and a third creates "Rn" at the top.
    ASSERT_EQ(CreateLibraryKey(kGroupsKey, "A"), TLibraryResult::kOk);
    ASSERT_EQ(CreateLibraryKey(kGroupsKey, "B"), TLibraryResult::kOk);
    for (int i = 0; i < kRounds; ++i)
        ASSERT_EQ(CreateLibraryKey(Under("B"), "b" + std::to_string(i)), TLibraryResult::kOk);
    auto wanted = [](int i) { return "R" + std::to_string(i); };
    const std::vector<std::function<bool()>> bodies = {
        [&] {
            for (int i = 0; i < kRounds; ++i) {
                const TLibraryResult r = CreateLibraryKey(Under("A"), wanted(i));
                if (r != TLibraryResult::kOk && r != TLibraryResult::kNameExists) return false;
            }
            return true;
        },
        [&] {
            for (int i = 0; i < kRounds; ++i) {
                const TLibraryResult r =
                    RenameLibraryKey(Under("B\\b" + std::to_string(i)), wanted(i));
                if (r != TLibraryResult::kOk && r != TLibraryResult::kNameExists) return false;
            }
            return true;
        },
        [&] {
            for (int i = 0; i < kRounds; ++i) {
                const TLibraryResult r = CreateLibraryKey(kGroupsKey, wanted(i));
                if (r != TLibraryResult::kOk && r != TLibraryResult::kNameExists) return false;
            }
            return true;
        },
    };
    ASSERT_TRUE(RaceProcesses(bodies));
    const auto counts = NameCounts();
    for (int i = 0; i < kRounds; ++i) {
        const auto it = counts.find(wanted(i));
        ASSERT_NE(it, counts.end()) << wanted(i);
        EXPECT_EQ(it->second, 1) << wanted(i);
    }
}

}  // namespace
}  // namespace vrk
