#include "finder/entry_state.h"

#include <algorithm>

#include "finder/entry_record.h"
#include "finder/finder_texts.h"

TEntryState::TEntryState() : m_strWord(vrk::texts::kUnnamedWord) {}

void TEntryState::Load(const QString& dataFile, std::int32_t index, std::string_view record,
                       int nDesc) {
    const TSplitRecord split = SplitRecord(record);
    const int count = static_cast<int>(split.descriptions.size());
    const int kept = std::min(count, MAX_DESCRIPTIONS);
    m_strWord = split.word;
    m_strDataFile = dataFile;
    m_nClueIndex = index;
    m_nDescCount = std::max(kept, 1);
    m_nSavedDescCount = m_nDescCount;
    m_strEditDesc[0].clear();
    for (int i = 0; i < kept; ++i) m_strEditDesc[i] = split.descriptions[i];
    std::copy_n(m_strEditDesc.begin(), m_nDescCount, m_strSavedDesc.begin());
    m_nCurDesc = std::clamp(nDesc, 0, m_nDescCount - 1);
    m_strFileRecord.assign(record);
    m_nMoreDescs = count - kept;
}

std::span<const QString> TEntryState::EditedDescriptions() const {
    return std::span<const QString>(m_strEditDesc.data(), m_nDescCount);
}

bool TEntryState::DiffersFromSaved() const {
    if (m_nDescCount != m_nSavedDescCount) return true;
    return !std::equal(m_strEditDesc.begin(), m_strEditDesc.begin() + m_nDescCount,
                       m_strSavedDesc.begin());
}
