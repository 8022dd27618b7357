#include "StreamedBook.h"

#include <limits>
#include <utility>

#include "Book.h"
#include "MemberSource.h"
#include "MessageSink.h"

namespace {

const std::size_t kHeadNames = sizeof "bookmark.bin" + sizeof "options.bin" + sizeof "title.txt" + sizeof "contents.txt";

}  // namespace

CStreamedBook::CStreamedBook(std::string author, std::string title)
    : m_strAuthor(std::move(author)), m_strTitle(std::move(title)), m_nNames(kHeadNames) {}

bool CStreamedBook::AddChapter(const std::string& title, CMemberSource& source) {
    // The names block is what limits a book's chapters.
    std::size_t names = m_nNames + std::to_string(m_chapters.size() + 1).size() + sizeof ".txt";
    if (names > kNamesCapacity || m_chapters.size() + 5 > kMembersCapacity)
        return false;
    m_nNames = names;
    m_chapters.emplace_back(title, &source);
    return true;
}

bool CStreamedBook::Write(const char* path) {
    return QueueAndWrite(path, [this] { return QueueMembers(); });
}

bool CStreamedBook::QueueMembers() {
    std::string contents;
    for (std::size_t i = 0; i < m_chapters.size(); ++i) {
        if (i > 0)
            contents += '\n';
        contents += m_chapters[i].first;
    }
    bool ok = CBook::QueueHead(*this, m_strAuthor, m_strTitle, m_chapters.empty() ? nullptr : &contents);
    for (std::size_t i = 0; i < m_chapters.size() && ok; ++i) {
        std::string name = std::to_string(i + 1) + ".txt";
        uint64_t length = m_chapters[i].second->Length();
        if (length > std::numeric_limits<uint32_t>::max()) {
            ShowMessage("the book is too large for a book file (at most 4 GiB)");
            return false;
        }
        ok = AddSourcedMember(name.c_str(), static_cast<uint32_t>(length), *m_chapters[i].second);
    }
    return ok;
}
