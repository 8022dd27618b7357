#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "LinearRegex.h"

// How a long text is cut into chapters: at the lines a rule picks out. Used by the window's Split
// into Chapters and by quire pack --split, so that both cut a text the same way.
struct SSplitRule {
    enum class EKind {
        ChapterHeading,   // "Chapter 12", "CHAPTER XII: The Return" (a number or a Roman numeral)
        MarkdownHeading,  // "# Title", "## Title"
        Separator,        // a line of only "* * *", "***", "---", "~~~", "___", "===" or "###"
        BlankLines,       // nBlankLines or more empty lines in a row
        Expression,       // a line in which `expression` matches
    };
    EKind kind = EKind::ChapterHeading;
    unsigned nBlankLines = 3;
    std::string expression;
    bool bIgnoreCase = false;
    // The matching lines stay in the texts (then the chapters joined give back the text byte for
    // byte) or are removed. Blank lines that are kept stay at the end of the chapter before.
    bool bKeepLines = true;
};

// One chapter cut from the text: its title and where its text lies in the text.
struct SChapterPiece {
    std::string title;
    std::size_t nBegin = 0;
    std::size_t nEnd = 0;
};

struct SSplitResult {
    enum class EStatus { Split, NoMatch, TooMuchWork };
    EStatus status = EStatus::NoMatch;
    // With Split, at least two pieces in reading order; the first keeps the text before the first
    // matching line and the original title (it is left out when there is no such text).
    std::vector<SChapterPiece> pieces;
};

class CChapterSplitter {
public:
    // The chapter title dialog's limit: titles made from lines are cut to it.
    static constexpr std::size_t kMaxTitleLength = 100;
    // Steps an expression may take over one whole text: some tenths of a second.
    static constexpr unsigned long long kWorkBudget = 60000000ull;

    // False, with why in `why`, for a rule that cannot be used (a bad expression).
    bool SetRule(const SSplitRule& rule, std::string& why);
    // "chapter", "markdown", "separator", "blank:N" or "regex:EXPR", as quire takes it.
    static bool ParseRule(const std::string& text, SSplitRule& rule, std::string& why);

    SSplitResult Split(const std::string& text, const std::string& title) const;

    // A line as a chapter title: tabs become spaces, white space at both ends goes, at most
    // kMaxTitleLength bytes.
    static std::string TitleOfLine(const char* pBegin, const char* pEnd);

private:
    struct SMatch {
        std::size_t nCutBegin, nCutEnd;  // the lines that match (removed unless kept)
        std::size_t nSplit;              // where the next chapter begins when they are kept
        std::string title;
    };
    enum class ELine { No, Yes, TooMuchWork };
    ELine Matches(const char* pBegin, const char* pEnd, unsigned long long& budget) const;
    std::string TitleOfMatch(const std::string& text, std::size_t nLineBegin, std::size_t nLineEnd,
                             std::size_t nAfter) const;

    SSplitRule m_rule;
    CLinearRegex m_expression;
};
