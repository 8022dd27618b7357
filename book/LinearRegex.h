#pragma once

#include <bitset>
#include <cstddef>
#include <string>
#include <vector>

// A regular expression in ECMAScript syntax that answers one question, "does it match somewhere
// in this line?", in time proportional to the line's length times the expression's size, whatever
// the expression: it keeps every way of matching at once instead of trying them one after the
// other, so no expression a user types can make it run for ages or run out of stack. It takes
// literals, ".", classes ("[a-z]", "[^0-9]", \d \w \s and their capitals), groups ("(...)",
// "(?:...)"), "|", the quantifiers * + ? {n} {n,} {n,m} (lazy or not, which matters only for what
// is captured, and nothing is), ^ $ \b \B. Back-references and look-arounds cannot be matched
// that way and are refused. Bytes are matched as bytes; the letters of a case-insensitive
// expression are those of ASCII.
class CLinearRegex {
public:
    enum class EResult { NoMatch, Match, TooMuchWork };

    // False, with why in `why`, for an expression it cannot take.
    bool Compile(const std::string& expression, bool bIgnoreCase, std::string& why);

    // Whether the expression matches within [pBegin, pEnd); ^ and $ match at those ends. Each
    // call spends steps from `budget`, which is shared by the calls of one search: TooMuchWork
    // once it runs out.
    EResult Search(const char* pBegin, const char* pEnd, unsigned long long& budget) const;

private:
    enum class EOp { Set, Split, Jump, LineStart, LineEnd, WordBoundary, NotWordBoundary, Match };
    struct SInstruction {
        EOp op;
        int nSet;    // Set: index into m_sets
        int nNext;   // Split, Jump: target
        int nOther;  // Split: the second target
    };
    struct SNode;
    class CParser;

    int Emit(EOp op, int nSet = -1, int nNext = -1, int nOther = -1);
    bool CompileNode(const SNode& node, std::string& why);
    // Follows the jumps from `pc` at `pos` and adds the byte-reading instructions it reaches to
    // `list`; true when one of the ways reaches Match.
    bool AddThread(std::vector<int>& list, unsigned nMark, int pc, const char* pBegin, const char* pEnd,
                   const char* pos, unsigned long long& budget) const;

    std::vector<SInstruction> m_program;
    std::vector<std::bitset<256>> m_sets;
    // Scratch space of Search, kept between calls.
    mutable std::vector<int> m_stack;
    mutable std::vector<int> m_current;
    mutable std::vector<int> m_next;
    mutable std::vector<unsigned> m_marks;
    mutable unsigned m_nMark = 0;
};
