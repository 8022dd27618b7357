#include "BookLoader.h"

#include "Book.h"

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The decimal number at the start of `text` after white space and an optional sign; no digits read
// as 0. Values beyond the chapter bound stop growing, so no name overflows it.
int64_t ReadNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > CBook::kMaxChapters)
            value = CBook::kMaxChapters + 1;
    }
    return negative ? -value : value;
}

}  // namespace

CBookLoader::CBookLoader(CBook& book)
    : m_book(book),
      m_kind(kIgnored),
      m_nChapterNumber(0),
      m_bTitleSeen(false),
      m_bBookmarkSeen(false),
      m_bFailed(false),
      m_nChapterMembers(0),
      m_nContentsTitles(0),
      m_bPassOverTexts(false) {}

void CBookLoader::OnMemberName(const std::string& name) {
    if (name == "title.txt") {
        m_kind = kTitle;
        m_bTitleSeen = true;
    } else if (name == "contents.txt") {
        m_kind = kContents;
    } else if (name == "bookmark.bin") {
        m_kind = kBookmark;
        m_bBookmarkSeen = true;
    } else if (name == "options.bin") {
        m_kind = kOptions;
    } else {
        // 3.txt, 3.rtf and 3.x.txt all feed chapter 3: the name is cut at its last dot. A member
        // without a dot, or numbered 0 or below, has no chapter and is not counted.
        std::string::size_type dot = name.rfind('.');
        m_nChapterNumber = dot == std::string::npos ? 0 : ReadNumber(name.substr(0, dot));
        m_kind = m_nChapterNumber > 0 ? kChapter : kIgnored;
    }
}

bool CBookLoader::PassesOver() {
    return m_bPassOverTexts && m_kind == kChapter;
}

void CBookLoader::OnMemberPassed(uint64_t length) {
    if (!CountChapter())
        return;
    uint32_t position = static_cast<uint32_t>(m_nChapterNumber - 1);
    m_book.EnsureChapter(position);
    if (m_textSizes.size() <= position)
        m_textSizes.resize(position + 1);
    m_textSizes[position] += length;
}

std::string* CBookLoader::DataTarget() {
    switch (m_kind) {
        case kChapter:
            // An existing chapter takes its data straight into its text, so that a load does not hold
            // the book twice.
            if (m_nChapterNumber <= m_book.ChapterCount())
                return &m_book.m_chapters[static_cast<std::size_t>(m_nChapterNumber - 1)].m_strText;
            m_strScratch.clear();
            return &m_strScratch;
        case kTitle:
        case kContents:
            m_strScratch.clear();
            return &m_strScratch;
        default:
            return nullptr;
    }
}

void CBookLoader::OnMemberData(std::string& target) {
    switch (m_kind) {
        case kTitle:
            ApplyTitle(target);
            break;
        case kContents:
            ApplyContents(target);
            break;
        case kChapter:
            ApplyChapter(target);
            break;
        default:
            break;
    }
    std::string().swap(m_strScratch);
}

void CBookLoader::ApplyTitle(const std::string& data) {
    std::string::size_type lineBreak = data.find_first_of("\r\n");
    m_book.m_strAuthor.append(data, 0, lineBreak);
    if (lineBreak == std::string::npos)
        return;
    for (std::size_t i = lineBreak; i < data.size(); ++i) {
        if (data[i] != '\r' && data[i] != '\n')
            m_book.m_strTitle += data[i];
    }
}

void CBookLoader::ApplyContents(const std::string& data) {
    uint32_t line = 0;
    m_book.EnsureChapter(0);
    std::string* title = &m_book.m_chapters[0].m_strTitle;
    for (char c : data) {
        if (c == '\n') {
            if (!m_book.EnsureChapter(++line)) {
                m_bFailed = true;  // more titles than any container could have chapters for
                return;
            }
            title = &m_book.m_chapters[line].m_strTitle;
        } else if (c != '\r') {
            *title += c;
        }
    }
    m_nContentsTitles = line + 1;
}

bool CBookLoader::CountChapter() {
    if (m_nChapterNumber > CBook::kMaxChapters) {
        m_bFailed = true;
        return false;
    }
    ++m_nChapterMembers;
    return true;
}

void CBookLoader::ApplyChapter(std::string& target) {
    if (!CountChapter())
        return;
    if (&target != &m_strScratch)
        return;  // already appended to its chapter
    uint32_t position = static_cast<uint32_t>(m_nChapterNumber - 1);
    m_book.EnsureChapter(position);
    std::string& text = m_book.m_chapters[position].m_strText;
    if (text.empty())
        text.swap(m_strScratch);
    else
        text += m_strScratch;
}

// Names count as seen before their data are read, so a file cut before its contents or inside a
// title would otherwise pass as a smaller book, and saving that would lose the rest of it.
void CBookLoader::OnCutShort() {
    m_bFailed = true;
}

bool CBookLoader::Accepted() const {
    return !m_bFailed && m_bTitleSeen && m_bBookmarkSeen && m_nChapterMembers == m_nContentsTitles;
}

std::string CBookLoader::Problem() const {
    if (m_bFailed)
        return "it names more chapters than a book can hold";
    if (!m_bTitleSeen)
        return "it has no title.txt member";
    if (!m_bBookmarkSeen)
        return "it has no bookmark.bin member";
    if (m_nChapterMembers != m_nContentsTitles)
        return "its contents name " + std::to_string(m_nContentsTitles) + " chapters, but " +
               std::to_string(m_nChapterMembers) + (m_nChapterMembers == 1 ? " chapter text was" : " chapter texts were") +
               " found";
    return std::string();
}
