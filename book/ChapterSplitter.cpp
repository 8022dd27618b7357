#include "ChapterSplitter.h"

#include <cstring>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\f' || c == '\v';
}

bool IsBlankLine(const char* pBegin, const char* pEnd) {
    for (const char* p = pBegin; p < pEnd; ++p) {
        if (!IsBlank(*p))
            return false;
    }
    return true;
}

const char* SkipBlanks(const char* p, const char* pEnd) {
    while (p < pEnd && IsBlank(*p))
        ++p;
    return p;
}

bool IsAlphaNumeric(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// "Chapter" or "CHAPTER", blanks, then a number or a Roman numeral that ends its word.
bool IsChapterHeading(const char* p, const char* pEnd) {
    p = SkipBlanks(p, pEnd);
    if (pEnd - p < 8 || (std::memcmp(p, "Chapter", 7) != 0 && std::memcmp(p, "CHAPTER", 7) != 0))
        return false;
    p += 7;
    const char* pNumber = SkipBlanks(p, pEnd);
    if (pNumber == p)
        return false;
    const char* q = pNumber;
    if (q < pEnd && *q >= '0' && *q <= '9') {
        while (q < pEnd && *q >= '0' && *q <= '9')
            ++q;
    } else {
        while (q < pEnd && std::strchr("IVXLCDMivxlcdm", *q) != nullptr && *q != '\0')
            ++q;
    }
    return q > pNumber && (q == pEnd || !IsAlphaNumeric(*q));
}

bool IsMarkdownHeading(const char* p, const char* pEnd) {
    if (p < pEnd && *p == '#')
        ++p;
    if (p < pEnd && *p == '#')
        ++p;
    return p < pEnd && *p == ' ' && p[-1] == '#';
}

// Three or more of one of "*-_=~#" and nothing else but blanks.
bool IsSeparator(const char* p, const char* pEnd) {
    char mark = 0;
    int nMarks = 0;
    for (; p < pEnd; ++p) {
        if (IsBlank(*p))
            continue;
        if (mark == 0 && *p != '\0' && std::strchr("*-_=~#", *p) != nullptr)
            mark = *p;
        if (*p != mark)
            return false;
        ++nMarks;
    }
    return nMarks >= 3;
}

// The end of the line that starts at `nBegin` (before its line break) and the start of the next.
void LineAt(const std::string& text, std::size_t nBegin, std::size_t& nEnd, std::size_t& nNext) {
    nEnd = nBegin;
    while (nEnd < text.size() && text[nEnd] != '\n' && text[nEnd] != '\r')
        ++nEnd;
    nNext = nEnd;
    if (nNext < text.size() && text[nNext] == '\r')
        ++nNext;
    if (nNext < text.size() && text[nNext] == '\n' && (nNext == nEnd || text[nNext - 1] == '\r'))
        ++nNext;
}

}  // namespace

bool CChapterSplitter::SetRule(const SSplitRule& rule, std::string& why) {
    m_rule = rule;
    if (rule.kind == SSplitRule::EKind::BlankLines && rule.nBlankLines == 0) {
        why = "the number of blank lines must be at least 1";
        return false;
    }
    if (rule.kind != SSplitRule::EKind::Expression)
        return true;
    if (rule.expression.empty()) {
        why = "the expression is empty";
        return false;
    }
    return m_expression.Compile(rule.expression, rule.bIgnoreCase, why);
}

bool CChapterSplitter::ParseRule(const std::string& text, SSplitRule& rule, std::string& why) {
    static const struct {
        const char* name;
        SSplitRule::EKind kind;
    } kNamed[] = {{"chapter", SSplitRule::EKind::ChapterHeading},
                  {"markdown", SSplitRule::EKind::MarkdownHeading},
                  {"separator", SSplitRule::EKind::Separator}};
    for (const auto& named : kNamed) {
        if (text == named.name) {
            rule.kind = named.kind;
            return true;
        }
    }
    if (text.compare(0, 6, "blank:") == 0) {
        std::string number = text.substr(6);
        rule.kind = SSplitRule::EKind::BlankLines;
        rule.nBlankLines = 0;
        for (char c : number) {
            if (c < '0' || c > '9' || rule.nBlankLines > 999) {
                rule.nBlankLines = 0;
                break;
            }
            rule.nBlankLines = rule.nBlankLines * 10 + unsigned(c - '0');
        }
        if (rule.nBlankLines == 0 || rule.nBlankLines > 999) {
            why = "blank:N needs a number of lines from 1 to 999";
            return false;
        }
        return true;
    }
    if (text.compare(0, 6, "regex:") == 0) {
        rule.kind = SSplitRule::EKind::Expression;
        rule.expression = text.substr(6);
        CChapterSplitter check;
        return check.SetRule(rule, why);
    }
    why = "unknown rule \"" + text + "\" (chapter, markdown, separator, blank:N or regex:EXPR)";
    return false;
}

std::string CChapterSplitter::TitleOfLine(const char* pBegin, const char* pEnd) {
    while (pBegin < pEnd && (IsBlank(*pBegin) || *pBegin == '\0'))
        ++pBegin;
    while (pEnd > pBegin && (IsBlank(pEnd[-1]) || pEnd[-1] == '\0'))
        --pEnd;
    std::string title(pBegin, pEnd);
    if (title.size() > kMaxTitleLength)
        title.resize(kMaxTitleLength);
    for (char& c : title) {
        if (IsBlank(c) || c == '\0')
            c = ' ';
    }
    while (!title.empty() && title.back() == ' ')
        title.pop_back();
    return title;
}

CChapterSplitter::ELine CChapterSplitter::Matches(const char* pBegin, const char* pEnd,
                                                  unsigned long long& budget) const {
    switch (m_rule.kind) {
        case SSplitRule::EKind::ChapterHeading:
            return IsChapterHeading(pBegin, pEnd) ? ELine::Yes : ELine::No;
        case SSplitRule::EKind::MarkdownHeading:
            return IsMarkdownHeading(pBegin, pEnd) ? ELine::Yes : ELine::No;
        case SSplitRule::EKind::Separator:
            return IsSeparator(pBegin, pEnd) ? ELine::Yes : ELine::No;
        case SSplitRule::EKind::Expression:
            switch (m_expression.Search(pBegin, pEnd, budget)) {
                case CLinearRegex::EResult::Match:
                    return ELine::Yes;
                case CLinearRegex::EResult::TooMuchWork:
                    return ELine::TooMuchWork;
                default:
                    return ELine::No;
            }
        case SSplitRule::EKind::BlankLines:
            break;
    }
    return ELine::No;
}

// The heading itself, or for separators and blank lines (and a heading with no words) the first
// line with words after it.
std::string CChapterSplitter::TitleOfMatch(const std::string& text, std::size_t nLineBegin, std::size_t nLineEnd,
                                           std::size_t nAfter) const {
    const char* pText = text.data();
    std::string title;
    if (m_rule.kind == SSplitRule::EKind::MarkdownHeading) {
        while (nLineBegin < nLineEnd && text[nLineBegin] == '#')
            ++nLineBegin;
    }
    if (m_rule.kind != SSplitRule::EKind::Separator && m_rule.kind != SSplitRule::EKind::BlankLines)
        title = TitleOfLine(pText + nLineBegin, pText + nLineEnd);
    for (std::size_t nBegin = nAfter; title.empty() && nBegin < text.size();) {
        std::size_t nEnd, nNext;
        LineAt(text, nBegin, nEnd, nNext);
        title = TitleOfLine(pText + nBegin, pText + nEnd);
        nBegin = nNext;
    }
    return title;
}

SSplitResult CChapterSplitter::Split(const std::string& text, const std::string& title) const {
    SSplitResult result;
    std::vector<SMatch> matches;
    unsigned long long budget = kWorkBudget;
    const char* pText = text.data();
    std::size_t nBlankRun = 0, nBlankStart = 0;
    for (std::size_t nBegin = 0; nBegin < text.size();) {
        std::size_t nEnd, nNext;
        LineAt(text, nBegin, nEnd, nNext);
        if (m_rule.kind == SSplitRule::EKind::BlankLines) {
            if (IsBlankLine(pText + nBegin, pText + nEnd)) {
                if (nBlankRun++ == 0)
                    nBlankStart = nBegin;
            } else {
                // A run at the very start makes no chapter: there is nothing before it.
                if (nBlankRun >= m_rule.nBlankLines && nBlankStart > 0)
                    matches.push_back(SMatch{nBlankStart, nBegin, nBegin, TitleOfMatch(text, 0, 0, nBegin)});
                nBlankRun = 0;
            }
        } else {
            ELine line = Matches(pText + nBegin, pText + nEnd, budget);
            if (line == ELine::TooMuchWork) {
                result.status = SSplitResult::EStatus::TooMuchWork;
                return result;
            }
            if (line == ELine::Yes)
                matches.push_back(SMatch{nBegin, nNext, nBegin, TitleOfMatch(text, nBegin, nEnd, nNext)});
        }
        nBegin = nNext;
    }
    if (matches.empty())
        return result;

    result.status = SSplitResult::EStatus::Split;
    const bool bKeep = m_rule.bKeepLines;
    std::size_t nFirstEnd = bKeep ? matches[0].nSplit : matches[0].nCutBegin;
    if (nFirstEnd > 0)
        result.pieces.push_back(SChapterPiece{title, 0, nFirstEnd});
    for (std::size_t i = 0; i < matches.size(); ++i) {
        SChapterPiece piece;
        piece.title = matches[i].title.empty() ? title : matches[i].title;
        piece.nBegin = bKeep ? matches[i].nSplit : matches[i].nCutEnd;
        piece.nEnd = i + 1 == matches.size() ? text.size()
                     : bKeep                 ? matches[i + 1].nSplit
                                             : matches[i + 1].nCutBegin;
        result.pieces.push_back(piece);
    }
    if (result.pieces.size() < 2) {  // one heading at the very top: nothing to split
        result.pieces.clear();
        result.status = SSplitResult::EStatus::NoMatch;
    }
    return result;
}
