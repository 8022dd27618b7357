// Words and characters of a text, as the window's status bar and quire info show them. A word is
// a run of characters between white space; line breaks are not characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct STextCounts {
    uint64_t nWords = 0;
    uint64_t nChars = 0;

    STextCounts& operator+=(const STextCounts& other) {
        nWords += other.nWords;
        nChars += other.nChars;
        return *this;
    }
    bool operator==(const STextCounts& other) const { return nWords == other.nWords && nChars == other.nChars; }
};

STextCounts CountText(const char* pText, size_t nLength);
inline STextCounts CountText(const std::string& text) {
    return CountText(text.data(), text.size());
}

// 84310 as "84,310".
std::string FormatCount(uint64_t nValue);
// "1,204 words" / "1 word".
std::string FormatWords(uint64_t nWords);
