// The result set of one search: up to MAX_RESULTS found entries, each with
// its dictionary, in the order the worker found them. The worker fills one
// while it runs (TSearchRun); the search document keeps it once the search
// has ended well, and its result windows show it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// At most this many results per search.
inline constexpr int MAX_RESULTS = 500;

struct TSearchResults {
    std::int32_t m_nFound = 0;
    // Per result, slots 0 .. m_nFound - 1: the found description words (0
    // for a pattern-only search), the entry's index in its dictionary, its
    // record (word, then 0x01 before each description; Windows-1250), the
    // dictionary's path (file-name encoding) and its stored name
    // (Windows-1250).
    std::array<std::int32_t, MAX_RESULTS> m_nPriority{};
    std::array<std::int32_t, MAX_RESULTS> m_nClueIndex{};
    std::array<std::string, MAX_RESULTS> m_strEntry;
    std::array<std::string, MAX_RESULTS> m_strDataFile;
    std::array<std::string, MAX_RESULTS> m_strDictName;
};
