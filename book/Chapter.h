#pragma once

#include <string>

// One chapter of the book: its title as the table of contents shows it, and its text, both as the
// caller stored them.
class CChapter {
public:
    std::string m_strTitle;
    std::string m_strText;
};
