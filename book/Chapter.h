#pragma once

#include <string>

#include "TextCounts.h"

// One chapter of the book: its title as the table of contents shows it, and its text, both as the
// caller stored them.
class CChapter {
public:
    std::string m_strTitle;
    std::string m_strText;

    // The counts of m_strText, counted when first asked for; whoever changes the text clears
    // m_bCounted (CBook::SetChapterText does).
    mutable STextCounts m_counts;
    mutable bool m_bCounted = false;
};
