#include "RtfCheck.h"

#include <cstring>

namespace RtfCheck {

namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool WordIs(const char* pWord, size_t nLetters, const char* lpszName) {
    return std::strlen(lpszName) == nLetters && std::memcmp(pWord, lpszName, nLetters) == 0;
}

}  // namespace

std::string FindProblem(const char* pData, size_t nSize) {
    if (nSize > kMaxBytes)
        return "it is larger than " + std::to_string(kMaxBytes >> 20) + " MB";
    int nDepth = 0;
    size_t nParagraphs = 0;
    size_t nCells = 0;
    size_t i = 0;
    while (i < nSize) {
        char c = pData[i++];
        if (c == '{') {
            if (++nDepth > kMaxDepth)
                return "its groups are nested more than " + std::to_string(kMaxDepth) + " deep";
            continue;
        }
        if (c == '}') {
            if (nDepth > 0)
                --nDepth;
            continue;
        }
        if (c != '\\' || i == nSize)
            continue;
        if (!IsLetter(pData[i])) {
            // A control symbol; \'hh carries two hex digits, which are plain text to this check.
            ++i;
            continue;
        }
        const char* pWord = pData + i;
        size_t nLetters = 0;
        while (i < nSize && IsLetter(pData[i])) {
            ++i;
            if (++nLetters > kMaxWordLetters)
                return "it has a control word longer than " + std::to_string(kMaxWordLetters) + " letters";
        }
        if (i < nSize && pData[i] == '-')
            ++i;
        size_t nDigits = 0;
        while (i < nSize && IsDigit(pData[i])) {
            ++i;
            if (++nDigits > kMaxDigits)
                return "it has a number longer than " + std::to_string(kMaxDigits) + " digits";
        }
        if (i < nSize && pData[i] == ' ')
            ++i;
        // \bin's data are not skipped: Wine's control reads them as RTF, and braces in them open
        // groups on its style stack like any others.
        if (WordIs(pWord, nLetters, "par") || WordIs(pWord, nLetters, "line") ||
            WordIs(pWord, nLetters, "sect") || WordIs(pWord, nLetters, "page")) {
            if (++nParagraphs > kMaxParagraphs)
                return "it has more than " + std::to_string(kMaxParagraphs) + " paragraphs";
        } else if (WordIs(pWord, nLetters, "cell") || WordIs(pWord, nLetters, "nestcell")) {
            if (++nCells > kMaxCells)
                return "it has more than " + std::to_string(kMaxCells) + " table cells";
        }
    }
    return std::string();
}

}  // namespace RtfCheck
