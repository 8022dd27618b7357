#include "ChapterHistory.h"

#include <utility>

namespace {

size_t RecordsBytes(const std::vector<SChapterRecord>& records) {
    size_t nBytes = 0;
    for (const SChapterRecord& record : records)
        nBytes += record.strListTitle.size() + record.strTitle.size() + record.strText.size() + sizeof record;
    return nBytes;
}

}  // namespace

size_t SChapterStep::Bytes() const {
    size_t nBytes = sizeof *this + strName.size();
    for (const SChapterRun& run : runs)
        nBytes += sizeof run + RecordsBytes(run.before) + RecordsBytes(run.after);
    return nBytes;
}

CChapterHistory::CChapterHistory(size_t nMaxSteps, size_t nMaxBytes)
    : m_nMaxSteps(nMaxSteps), m_nMaxBytes(nMaxBytes) {}

void CChapterHistory::Record(SChapterStep step) {
    m_steps.erase(m_steps.begin() + std::ptrdiff_t(m_nDone), m_steps.end());
    m_steps.push_back(std::move(step));
    m_nDone = m_steps.size();
    Trim();
}

void CChapterHistory::Clear() {
    m_steps.clear();
    m_nDone = 0;
}

const SChapterStep* CChapterHistory::NextUndo() const {
    return m_nDone > 0 ? &m_steps[m_nDone - 1] : nullptr;
}

const SChapterStep* CChapterHistory::NextRedo() const {
    return m_nDone < m_steps.size() ? &m_steps[m_nDone] : nullptr;
}

SChapterStep* CChapterHistory::Undo() {
    return m_nDone > 0 ? &m_steps[--m_nDone] : nullptr;
}

SChapterStep* CChapterHistory::Redo() {
    return m_nDone < m_steps.size() ? &m_steps[m_nDone++] : nullptr;
}

size_t CChapterHistory::Bytes() const {
    size_t nBytes = 0;
    for (const SChapterStep& step : m_steps)
        nBytes += step.Bytes();
    return nBytes;
}

void CChapterHistory::Trim() {
    size_t nBytes = Bytes();
    while (m_steps.size() > 1 && (m_steps.size() > m_nMaxSteps || nBytes > m_nMaxBytes)) {
        nBytes -= m_steps.front().Bytes();
        m_steps.pop_front();
        --m_nDone;
    }
}
