#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "MemberHandler.h"

class CBook;

// Rebuilds a book from the members of a container walk and judges whether it was a valid book.
class CBookLoader : public CMemberHandler {
public:
    explicit CBookLoader(CBook& book);

    // Chapter texts are then counted and measured, not read: the book gets its titles and empty
    // texts, and TextSizes tells how long each text is.
    void PassOverTexts() { m_bPassOverTexts = true; }
    const std::vector<uint64_t>& TextSizes() const { return m_textSizes; }

    void OnMemberName(const std::string& name) override;
    bool PassesOver() override;
    void OnMemberPassed(uint64_t length) override;
    std::string* DataTarget() override;
    void OnMemberData(std::string& target) override;
    void OnCutShort() override;

    // The whole file was there, a title and a bookmark were seen, and there were as many chapter
    // members as the contents named titles.
    bool Accepted() const;
    // Why the book was not accepted, when the walk itself found nothing wrong.
    std::string Problem() const;

private:
    enum Kind { kTitle, kContents, kBookmark, kOptions, kChapter, kIgnored };

    void ApplyTitle(const std::string& data);
    void ApplyContents(const std::string& data);
    void ApplyChapter(std::string& target);
    // Counts a chapter member; false when its number lies beyond any book.
    bool CountChapter();

    CBook& m_book;
    Kind m_kind;
    int64_t m_nChapterNumber;  // of a chapter member: its position + 1
    std::string m_strScratch;
    bool m_bTitleSeen;
    bool m_bBookmarkSeen;
    bool m_bFailed;
    uint32_t m_nChapterMembers;
    uint32_t m_nContentsTitles;
    bool m_bPassOverTexts;
    std::vector<uint64_t> m_textSizes;
};
