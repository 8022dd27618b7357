// Finding and replacing a text in chapter texts and titles, with or without regard to case and
// as a whole word or anywhere. Standard C++: the letters of the book's code page (which bytes are
// letters, and each byte's lower-case form) are given by the caller.
#pragma once

#include <array>
#include <cstddef>
#include <string>

class CTextFinder {
public:
    struct Options {
        bool bMatchCase = false;
        bool bWholeWord = false;
    };
    // lower[c]: the byte c in lower case; word[c]: whether c belongs to a word.
    CTextFinder(std::string strWhat, Options options, const std::array<unsigned char, 256>& lower,
                const std::array<bool, 256>& word);

    // The first match that starts at or after nFrom and ends at or before nEnd; npos for none.
    size_t Find(const std::string& text, size_t nFrom, size_t nEnd = std::string::npos) const;
    // Whether text[nAt, nAt + length) is a match.
    bool MatchesAt(const std::string& text, size_t nAt) const;
    // Every match replaced, from the start on; the number of replacements in *pCount.
    std::string ReplaceAll(const std::string& text, const std::string& strWith, size_t* pCount) const;

    size_t Length() const { return m_strWhat.size(); }
    bool Empty() const { return m_strWhat.empty(); }

private:
    bool SameByte(char a, char b) const;
    bool IsWordByte(const std::string& text, size_t nAt) const;

    std::string m_strWhat;
    Options m_options;
    std::array<unsigned char, 256> m_lower;
    std::array<bool, 256> m_word;
    // The first byte of the text searched for, in both cases (the same twice when case matters).
    char m_cFirst = 0;
    char m_cFirstOther = 0;
};
