#include "finder/search_test_util.h"

#include <cstdio>
#include <filesystem>

#include "settings/library_registry.h"
#include "settings/settings_keys.h"
#include "settings/temp_dir.h"
#include "store/coding.h"
#include "store/file_io.h"
#include "store/format.h"

namespace vrk {

std::string Entry(std::string_view word, std::initializer_list<std::string_view> descriptions) {
    std::string record(word);
    for (std::string_view description : descriptions) {
        record += kDescriptionMark;
        record += description;
    }
    return record;
}

void TSearchTest::SetUp() {
    TUiTest::SetUp();
    folder_ = dir_ + "/data";
    std::filesystem::create_directories(folder_ + "/temp");
    ASSERT_TRUE(TWriteBackupDir(folder_ + "/temp"));
}

std::string TSearchTest::MakeDictionary(const std::string& file, std::string_view name,
                                        const std::vector<std::string>& entries) {
    const std::string path = folder_ + "/" + file;
    std::string records(static_cast<std::size_t>(ENTRY_BASE), '\0');
    records.insert(kRecordName, name);
    for (const std::string& entry : entries) {
        records += entry;
        records += kTerminator;
    }
    char header[kHeaderSize] = {};
    PutFixed32(header, static_cast<std::uint32_t>(entries.size()));
    const char trailer[kTrailerSize] = {};
    std::FILE* out = std::fopen(path.c_str(), "wb");
    EXPECT_NE(out, nullptr);
    TScrambledWriter writer;
    writer.Attach(fileno(out));
    EXPECT_TRUE(writer.WritePlain(kMagic) && writer.WritePlain({header, sizeof header}) &&
                writer.WriteScrambled(records) && writer.WritePlain({trailer, sizeof trailer}) &&
                writer.Flush());
    std::fclose(out);
    return path;
}

void TSearchTest::SetLibrary(const std::vector<std::string>& paths) {
    bar_.dicts.clear();
    for (const std::string& path : paths) bar_.dicts += path + '"';
}

void TSearchTest::MakeLibrary(const std::string& name, const std::vector<std::string>& paths) {
    EnsureFinderKeys();
    const std::string groups(kGroupsKey);
    ASSERT_EQ(CreateLibraryKey(groups, name), TLibraryResult::kOk);
    for (const std::string& path : paths)
        ASSERT_EQ(AddLibraryDictionary(groups + "\\" + name, path), TLibraryResult::kOk);
}

std::shared_ptr<CVrk3mpgDoc> TSearchTest::Search(const QString& clue, const QString& desc) {
    bar_.clue = clue;
    bar_.desc = desc;
    auto doc = std::make_shared<CVrk3mpgDoc>();
    if (!doc->OnNewDocument(bar_)) return nullptr;
    return doc;
}

}  // namespace vrk
