#include "test_util.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "format.h"
#include "record_scan.h"

namespace vrk {

void TempDirTest::SetUp() {
    m_dir = MakeTestFolder("vrk3test", m_disk);
    ASSERT_FALSE(m_dir.empty());
}

void TempDirTest::TearDown() {
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
}

std::unique_ptr<TDataFile> TempDirTest::Dictionary(const std::string& name) const {
    return std::make_unique<TDataFile>(Path(name), Path("scratch1"), Path("scratch2"),
                                       Path("scratch3"));
}

std::unique_ptr<TDataFile> TempDirTest::DictionaryWith(const std::vector<std::string>& records,
                                                       const std::string& name) const {
    WriteDictionary(Path(name), records);
    return Dictionary(name);
}

void WriteDictionary(const std::string& path, const std::vector<std::string>& records,
                     std::string_view name, std::string_view author, std::int32_t flags) {
    EXPECT_TRUE(CreateEmpty(path));
    TDataFile file(path, path + ".r", path + ".a", path + ".o");
    TDataFileTestPeer peer(file);
    EXPECT_TRUE(peer.OpenForChange());
    for (const std::string& r : records) EXPECT_TRUE(peer.Append(r)) << path;
    EXPECT_TRUE(peer.Close());
    if (!name.empty() || !author.empty() || flags != 0) {
        EXPECT_TRUE(file.SetInfo(name, author, "", "", flags)) << path;
    }
}

std::vector<std::string> ReadEntries(const std::string& path) {
    TDataFile file(path, path + ".r", path + ".a", path + ".o");
    EXPECT_GE(file.GetEntryCount(), 0) << path;
    return Entries(file);
}

std::vector<std::string> Entries(TDataFile& file) {
    std::vector<std::string> out;
    const std::int32_t count = file.GetEntryCount();
    for (std::int32_t i = 0; i < count; ++i) {
        std::string record;
        EXPECT_TRUE(file.GetEntry(i, record));
        out.push_back(record);
    }
    return out;
}

std::vector<std::string> TempDirTest::Files() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(m_dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Record(std::string_view word, std::initializer_list<std::string_view> descriptions) {
    std::string r(word);
    for (std::string_view d : descriptions) {
        r += '\x01';
        r += d;
    }
    return r;
}

TSearchResult SearchFile(TDataFile& file, std::string_view pattern, std::string_view terms,
                         std::size_t outSize, std::int32_t maxResults, TPatternSyntax syntax) {
    std::vector<char> text(outSize, '\x7f');
    std::vector<std::int32_t> index(maxResults), hits(maxResults);
    TSearchResult r;
    r.count = file.Search(pattern, terms, text, index, hits, maxResults, syntax);
    r.full = outSize > 0 && text[outSize - 1] == 'X';
    if (r.count < 0) return r;
    std::size_t start = 0;
    for (std::int32_t i = 0; i < r.count; ++i) {
        const std::size_t end =
            std::string_view(text.data(), outSize).find(kResultSeparator, start);
        EXPECT_NE(end, std::string_view::npos);
        r.records.emplace_back(text.data() + start, end - start);
        start = end + 1;
    }
    if (outSize > 0) {
        EXPECT_EQ(text[start], '\0');
    }
    r.index.assign(index.begin(), index.begin() + r.count);
    r.hits.assign(hits.begin(), hits.begin() + r.count);
    return r;
}

std::vector<std::string> WordsOf(const TSearchResult& result) {
    std::vector<std::string> words;
    for (const auto& r : result.records) words.emplace_back(WordOf(r));
    return words;
}

}  // namespace vrk
