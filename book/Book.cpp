#include "Book.h"

#include <limits>
#include <new>
#include <utility>

#include "BookLoader.h"
#include "ContainerReader.h"
#include "FileSystem.h"

CBook theBook;

namespace {

const std::string& EmptyString() {
    static const std::string empty;
    return empty;
}

void Release(std::string& text) {
    std::string().swap(text);
}

}  // namespace

CBook::CBook() {}

bool CBook::EnsureChapter(uint32_t index) {
    if (index < m_chapters.size())
        return true;
    if (index >= kMaxChapters)
        return false;
    m_chapters.resize(static_cast<std::size_t>(index) + 1);
    return true;
}

void CBook::InsertChapter(int32_t index) {
    // Callers pass 0..count; any other index appends, so the book still gains exactly one chapter.
    std::size_t position = m_chapters.size();
    if (index >= 0 && static_cast<std::size_t>(index) < position)
        position = static_cast<std::size_t>(index);
    m_chapters.insert(m_chapters.begin() + static_cast<std::ptrdiff_t>(position), CChapter());
}

void CBook::DeleteChapter(uint32_t index) {
    if (index < m_chapters.size())
        m_chapters.erase(m_chapters.begin() + index);
}

void CBook::MoveChapterUp(int32_t index) {
    if (index > 0 && static_cast<std::size_t>(index) < m_chapters.size())
        std::swap(m_chapters[index], m_chapters[index - 1]);
}

void CBook::MoveChapterDown(int32_t index) {
    if (index >= 0 && static_cast<std::size_t>(index) + 1 < m_chapters.size())
        std::swap(m_chapters[index], m_chapters[index + 1]);
}

void CBook::Clear() {
    Release(m_strAuthor);
    Release(m_strTitle);
    std::vector<CChapter>().swap(m_chapters);
}

void CBook::SetAuthor(const std::string& author) {
    m_strAuthor = author;
}

void CBook::SetTitle(const std::string& title) {
    m_strTitle = title;
}

void CBook::SetChapterTitle(uint32_t index, const std::string& title) {
    if (EnsureChapter(index))
        m_chapters[index].m_strTitle = title;
}

void CBook::SetChapterText(uint32_t index, const std::string& text) {
    if (EnsureChapter(index)) {
        m_chapters[index].m_strText = text;
        m_chapters[index].m_bCounted = false;
    }
}

const std::string& CBook::ChapterText(uint32_t index) {
    return EnsureChapter(index) ? m_chapters[index].m_strText : EmptyString();
}

int CBook::ChapterCount() const {
    return static_cast<int>(m_chapters.size());
}

const std::string& CBook::ChapterTitle(uint32_t index) const {
    return index < m_chapters.size() ? m_chapters[index].m_strTitle : EmptyString();
}

STextCounts CBook::ChapterCounts(uint32_t index) const {
    if (index >= m_chapters.size())
        return STextCounts();
    const CChapter& chapter = m_chapters[index];
    if (!chapter.m_bCounted) {
        chapter.m_counts = CountText(chapter.m_strText);
        chapter.m_bCounted = true;
    }
    return chapter.m_counts;
}

STextCounts CBook::TextCounts(int32_t excludedIndex) const {
    STextCounts counts;
    for (std::size_t i = 0; i < m_chapters.size(); ++i) {
        if (excludedIndex < 0 || i != static_cast<std::size_t>(excludedIndex))
            counts += ChapterCounts(static_cast<uint32_t>(i));
    }
    return counts;
}

uint32_t CBook::ContentSize(int32_t excludedIndex) const {
    uint32_t size = static_cast<uint32_t>(m_strAuthor.size() + m_strTitle.size());
    for (std::size_t i = 0; i < m_chapters.size(); ++i) {
        size += static_cast<uint32_t>(m_chapters[i].m_strTitle.size());
        if (excludedIndex < 0 || i != static_cast<std::size_t>(excludedIndex))
            size += static_cast<uint32_t>(m_chapters[i].m_strText.size());
    }
    return size;
}

namespace {

// Bytes of member names a book of `chapters` chapters needs: the four fixed names and "N.txt" for
// each chapter, every one with its terminator.
constexpr int NamesBlockSize(int chapters) {
    int size = 13 + 12 + 10 + 13;  // bookmark.bin, options.bin, title.txt, contents.txt
    for (int number = 1; number <= chapters; ++number) {
        int digits = 1;
        for (int rest = number; rest >= 10; rest /= 10)
            ++digits;
        size += digits + 5;
    }
    return size;
}
static_assert(NamesBlockSize(CBook::kMaxSavedChapters) <= CContainerWriter::kNamesCapacity &&
                  NamesBlockSize(CBook::kMaxSavedChapters + 1) > CContainerWriter::kNamesCapacity,
              "kMaxSavedChapters is the most chapters whose names fit the names block");

// A member longer than its 32-bit length field could say cannot be queued either.
bool FitsInMember(const std::string& data) {
    return data.size() <= std::numeric_limits<uint32_t>::max();
}

}  // namespace

bool CBook::SaveToFile(const char* path) {
    return QueueAndWrite(path, [this] { return QueueMembers(); });
}

bool CBook::QueueHead(CContainerWriter& writer,
                      const std::string& author,
                      const std::string& title,
                      const std::string* contents) {
    static const unsigned char zeros[100] = {};
    bool ok = writer.AddMember("bookmark.bin", zeros, 8);
    ok = writer.AddMember("options.bin", zeros, 100) && ok;
    std::string head = author + '\n' + title;
    ok = FitsInMember(head) && writer.AddMember("title.txt", head.data(), static_cast<uint32_t>(head.size())) && ok;
    if (contents)
        ok = FitsInMember(*contents) &&
             writer.AddMember("contents.txt", contents->data(), static_cast<uint32_t>(contents->size())) && ok;
    return ok;
}

bool CBook::QueueMembers() {
    if (m_chapters.empty())
        return QueueHead(*this, m_strAuthor, m_strTitle, nullptr);
    std::string contents;
    for (std::size_t i = 0; i < m_chapters.size(); ++i) {
        if (i > 0)
            contents += '\n';
        contents += m_chapters[i].m_strTitle;
    }
    bool ok = QueueHead(*this, m_strAuthor, m_strTitle, &contents);
    // The texts are queued without a copy: nothing changes the book while it is written, and a
    // large book need not fit in memory twice to be saved.
    for (std::size_t i = 0; i < m_chapters.size(); ++i) {
        const std::string& text = m_chapters[i].m_strText;
        std::string name = std::to_string(i + 1) + ".txt";
        ok = FitsInMember(text) &&
             AddBorrowedMember(name.c_str(), text.data(), static_cast<uint32_t>(text.size())) && ok;
    }
    return ok;
}

bool CBook::LoadFromFile(const char* path) {
    LoadReport report;
    return LoadFromFile(path, true, report);
}

bool CBook::LoadFromFile(const char* path, bool readTexts, LoadReport& report) {
    Clear();
    report = LoadReport();
    CBookLoader loader(*this);
    if (!readTexts)
        loader.PassOverTexts();
    bool accepted;
    try {
        CContainerReader reader(CFileSystem::Active());
        report.opened = reader.Walk(path, loader);
        accepted = report.opened && loader.Accepted();
        report.outOfMemory = reader.OutOfMemory();
        report.problem = !report.opened || accepted ? std::string()
                         : reader.Problem().empty() ? loader.Problem()
                                                    : reader.Problem();
        if (accepted && !readTexts)
            report.textSizes = loader.TextSizes();
    } catch (const std::bad_alloc&) {
        accepted = false;  // a book too large for memory is not half loaded
        report.outOfMemory = true;
        report.problem = "it does not fit in memory";
    }
    if (!accepted)
        Clear();
    return accepted;
}
