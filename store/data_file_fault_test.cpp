// The changes that differ in their file calls (a rewrite, a merge, an import
// reading a source, a creation, a new dictionary put in the old one's place)
// with each call failing in turn, and crashed after each (fault_file_system.h).
#include <filesystem>
#include <functional>

#include "fault_file_system.h"
#include "test_util.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;

struct TFaultOperation {
    const char* name;
    std::function<bool(TDataFile& file, const std::string& folder)> run;
    // The reason of a failure is told by another object than `file`.
    bool reasonElsewhere = false;
};

class FaultTest : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        // The dictionary every run starts from, and the files the merge and
        // the imports read.
        auto start = DictionaryWith({Record("REKA", {"vodni tok"}), Record("OSA", {"a"}), "SAM"},
                                    "start.vrk3");
        ASSERT_TRUE(start->SetInfo("Slovar", "", "", "", 6));
        ASSERT_TRUE(start->SetPicture("BMslika"));
        m_start = ReadWholeFile(Path("start.vrk3"));
        auto source = DictionaryWith({Record("REKA", {"Sava"}), Record("NOVA", {"b"})}, "src.vrk3");
        ASSERT_TRUE(source->ExportCsv(Path("src.csv"), ','));
        ASSERT_TRUE(source->ExportSecondGen(Path("src.vrk"), ';'));
        ASSERT_TRUE(source->ExportFirstGen(Path("src.txt"), ';'));
        for (const char* name : {"vrk3", "csv", "vrk", "txt"})
            m_sources[std::string("source.") + name] =
                ReadWholeFile(Path("src." + std::string(name)));
    }

    // A fresh folder holding the start dictionary and the sources.
    std::string Fresh() {
        const std::string folder = Path("run");
        fs::remove_all(folder);
        fs::create_directory(folder);
        WriteWholeFile(folder + "/d.vrk3", m_start);
        for (const auto& [name, bytes] : m_sources) WriteWholeFile(folder + "/" + name, bytes);
        return folder;
    }
    // The dictionary of `folder`, working through `fs`, which must outlive
    // the object.
    static std::unique_ptr<TDataFile> Open(const std::string& folder,
                                           TFileSystem& fs = PosixFileSystem()) {
        auto file = std::make_unique<TDataFile>(folder + "/d.vrk3", folder + "/s1", folder + "/s2",
                                                folder + "/s3");
        file->SetFileSystem(fs);
        return file;
    }
    // After the next change of the dictionary nothing but it and the
    // sources is in the folder.
    void ExpectCleanAfterNextChange(const std::string& folder, const std::string& what) {
        auto file = Open(folder);
        ASSERT_TRUE(file->StoreEntry("POZNEJE")) << what;
        // The placed import's own scratch set is cleaned by its next use.
        TDataFile other(folder + "/d.vrk3", folder + "/n1", folder + "/n2", folder + "/n3");
        ASSERT_TRUE(other.StoreEntry("POZNEJE")) << what;
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder)) {
            const std::string name = e.path().filename();
            // A crashed placed import's new file holds no lock: it is
            // removed only once a day old.
            if (name.rfind(".d.vrk3.~vrk3-new-", 0) == 0) {
                ++m_newFilesLeft;
                continue;
            }
            names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"d.vrk3", "source.csv", "source.txt",
                                                   "source.vrk", "source.vrk3"}))
            << what;
    }

    int m_newFilesLeft = 0;
    std::string m_start;
    std::map<std::string, std::string> m_sources;
};

// A failing call k leaves the old content (and says why) or, reported as
// done, the new; a crash after call k leaves either, and the new once the
// operation could report it done (after its last call).
TEST_F(FaultTest, EachFailingCallOrCrashLeavesTheOldOrTheNewContent) {
    const TFaultOperation operations[] = {
        {"store",
         [](TDataFile& f, const std::string&) { return f.StoreEntry(Record("NOVA", {"n"})); }},
        {"delete", [](TDataFile& f, const std::string&) { return f.DeleteEntry(0); }},
        {"remap", [](TDataFile& f, const std::string&) { return f.RemapLetter('A', 'E'); }},
        {"merge",
         [](TDataFile& f, const std::string& d) { return f.MergeFile(d + "/source.vrk3"); }},
        // Each importer reads its source its own way: a failed read midway
        // must fail the import, not end it early as if the file ended there.
        {"import second gen",
         [](TDataFile& f, const std::string& d) {
             return f.ImportSecondGen(d + "/source.vrk", ';', true);
         }},
        {"import first gen",
         [](TDataFile& f, const std::string& d) {
             return f.ImportFirstGen(d + "/source.txt", ';');
         }},
        {"create anew", [](TDataFile& f, const std::string&) { return f.CreateEmpty(true); }},
        // The manager's import into a new dictionary that then takes the
        // old one's place (the CSV importer's reads among its calls); the
        // caller removes the new file when it gives up.
        {"import placed",
         [](TDataFile& f, const std::string& d) {
             std::string made;
             if (!f.CreateEmptyBeside(made)) return false;
             TDataFile fresh(made, d + "/n1", d + "/n2", d + "/n3");
             fresh.SetFileSystem(f.fileSystem());
             if (fresh.ImportCsv(d + "/source.csv") && f.ReplaceWith(made)) return true;
             RemoveFile(made);
             return false;
         },
         true},
    };
    for (const TFaultOperation& op : operations) {
        std::string folder = Fresh();
        TFailingFileSystem counting;
        ASSERT_TRUE(op.run(*Open(folder, counting), folder)) << op.name;
        const std::string after = ReadWholeFile(folder + "/d.vrk3");
        ASSERT_NE(after, m_start) << op.name;
        for (int k = 0; k <= counting.calls(); ++k) {
            const std::string what = std::string(op.name) + ", call " + std::to_string(k);
            folder = Fresh();
            TFailingFileSystem failing(k);
            auto file = Open(folder, failing);
            const bool done = op.run(*file, folder);
            EXPECT_EQ(failing.failed(), k > 0) << what;
            EXPECT_EQ(ReadWholeFile(folder + "/d.vrk3"), done ? after : m_start) << what;
            if (!done && !op.reasonElsewhere) {
                EXPECT_NE(file->LastFailure(), TFailure::None) << what;
            }
            ExpectCleanAfterNextChange(folder, what);

            folder = Fresh();
            TCrashFileSystem crash(folder, k);
            const bool ok = op.run(*Open(folder, crash), folder);
            crash.Crash();
            const std::string now = ReadWholeFile(folder + "/d.vrk3");
            EXPECT_TRUE(now == m_start || now == after) << what;
            if (k == counting.calls()) {
                EXPECT_TRUE(ok) << what;
                EXPECT_EQ(now, after) << what;
            }
            ExpectCleanAfterNextChange(folder, what);
        }
    }
    // Only crashes inside a placed import leave its new file.
    EXPECT_GT(m_newFilesLeft, 0);
}

}  // namespace
}  // namespace vrk
