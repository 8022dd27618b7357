#include "ChapterText.h"

#include <algorithm>
#include <cstring>

namespace ChapterText {

bool HasZeroByte(const std::string& text) {
    return text.find('\0') != std::string::npos;
}

std::string Displayed(const std::string& text) {
    if (!HasZeroByte(text))
        return text;
    std::string shown;
    shown.reserve(text.size() + 16);
    for (char c : text) {
        if (c == '\0')
            shown += kZeroBytePlaceholder;
        else
            shown += c;
    }
    return shown;
}

size_t LongestParagraph(const std::string& text, unsigned long long* pLineWork) {
    size_t nLongest = 0;
    unsigned long long nWork = 0;
    size_t nStart = 0;
    while (nStart < text.size()) {
        size_t nEnd = text.find_first_of("\r\n", nStart);
        if (nEnd == std::string::npos)
            nEnd = text.size();
        nLongest = std::max(nLongest, nEnd - nStart);
        nWork += (unsigned long long)(nEnd - nStart) * (nEnd - nStart);
        nStart = nEnd + 1;
    }
    if (pLineWork != nullptr)
        *pLineWork = nWork;
    return nLongest;
}

bool FitsEditor(const std::string& text) {
    // Most chapters are shorter than a paragraph may be: nothing to count.
    if (text.size() <= kLongestParagraph && !HasZeroByte(text))
        return true;
    // Each zero byte is shown as several characters.
    size_t nZeros = size_t(std::count(text.begin(), text.end(), '\0'));
    size_t nShown = text.size() + nZeros * (std::strlen(kZeroBytePlaceholder) - 1);
    if (nShown > kEditorLimit)
        return false;
    unsigned long long nWork = 0;
    return LongestParagraph(text, &nWork) <= kLongestParagraph && nWork <= kMostLineWork;
}

std::string Preview(const std::string& text) {
    constexpr size_t kLineLength = 1024;
    std::string start = Displayed(text.substr(0, kPreviewLength));
    std::string shown;
    shown.reserve(start.size() + start.size() / kLineLength * 2 + 128);
    size_t nRun = 0;
    for (char c : start) {
        if (c == '\r' || c == '\n') {
            nRun = 0;
        } else if (++nRun > kLineLength) {
            shown += "\r\n";
            nRun = 1;
        }
        shown += c;
    }
    if (text.size() > kPreviewLength)
        shown += "\r\n\r\n[... " + std::to_string(text.size() - kPreviewLength) + " more bytes not shown]";
    return shown;
}

}  // namespace ChapterText
