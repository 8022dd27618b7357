#include "TextCounts.h"

STextCounts CountText(const char* pText, size_t nLength) {
    STextCounts counts;
    bool bInWord = false;
    for (size_t i = 0; i < nLength; ++i) {
        unsigned char c = static_cast<unsigned char>(pText[i]);
        bool bSpace = c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
        if (!bSpace && !bInWord)
            ++counts.nWords;
        bInWord = !bSpace;
        if (c != '\r' && c != '\n')
            ++counts.nChars;
    }
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
