#include "TextCounts.h"

namespace {

// Bit 0: white space; bit 1: a line break (white space too, and no character).
struct SByteClasses {
    unsigned char v[256] = {};
    constexpr SByteClasses() {
        for (unsigned char c : {' ', '\t', '\f', '\v'})
            v[c] = 1;
        v[static_cast<unsigned char>('\r')] = 3;
        v[static_cast<unsigned char>('\n')] = 3;
    }
};
constexpr SByteClasses kByteClasses;

}  // namespace

// Without a branch per byte: an opened book's chapters are all counted at once, megabytes of them.
STextCounts CountText(const char* pText, size_t nLength) {
    const auto* pBytes = reinterpret_cast<const unsigned char*>(pText);
    size_t nWords = 0;
    size_t nBreaks = 0;
    unsigned nPreviousSpace = 1;
    for (size_t i = 0; i < nLength; ++i) {
        unsigned nClass = kByteClasses.v[pBytes[i]];
        unsigned nSpace = nClass & 1U;
        nWords += nPreviousSpace & (nSpace ^ 1U);
        nBreaks += nClass >> 1;
        nPreviousSpace = nSpace;
    }
    STextCounts counts;
    counts.nWords = nWords;
    counts.nChars = nLength - nBreaks;
    return counts;
}

std::string FormatCount(uint64_t nValue) {
    std::string strDigits = std::to_string(nValue);
    std::string strText;
    for (size_t i = 0; i < strDigits.size(); ++i) {
        if (i > 0 && (strDigits.size() - i) % 3 == 0)
            strText += ',';
        strText += strDigits[i];
    }
    return strText;
}

std::string FormatWords(uint64_t nWords) {
    return FormatCount(nWords) + (nWords == 1 ? " word" : " words");
}
