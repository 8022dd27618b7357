#include "LoadProbe.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "AllocationMeter.h"
#include "Book.h"

namespace {

// Processor time (wall time on Windows, where clock() counts that), so that a busy machine does
// not fail the test. Generous enough for the sanitizers and Wine; what it catches is work that
// grows faster than the file, which misses these bounds by orders of magnitude.
const double kFixedSeconds = 0.25;
const double kSecondsPerByte = 2e-6;

}  // namespace

const std::size_t CLoadProbe::kSlack =
    std::size_t{2} * CBook::kMaxChapters * sizeof(CChapter) + std::size_t{64} * 1024;

CLoadProbe::CLoadProbe(CBook& book, const std::string& path) : m_book(book), m_strPath(path), m_nPeak(0) {}

bool CLoadProbe::Load() {
    const std::size_t size = static_cast<std::size_t>(std::filesystem::file_size(m_strPath));
    CAllocationMeter::Start();
    std::clock_t start = std::clock();
    bool loaded = m_book.LoadFromFile(m_strPath.c_str());
    double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    m_nPeak = CAllocationMeter::Peak();

    EXPECT_LE(seconds, kFixedSeconds + kSecondsPerByte * static_cast<double>(size)) << size << " bytes";
    EXPECT_LE(CAllocationMeter::Largest(), size + kSlack);
    EXPECT_LE(m_nPeak, 2 * size + kSlack);
    if (loaded) {
        EXPECT_LE(m_book.ContentSize(-1), size);
    } else {
        EXPECT_EQ(0, m_book.ChapterCount());
        EXPECT_EQ("", m_book.Author());
        EXPECT_EQ("", m_book.Title());
    }
    return loaded;
}
