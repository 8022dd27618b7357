#include "TextFinder.h"

#include <utility>

CTextFinder::CTextFinder(std::string strWhat, Options options, const std::array<unsigned char, 256>& lower,
                         const std::array<bool, 256>& word)
    : m_strWhat(std::move(strWhat)), m_options(options), m_lower(lower), m_word(word) {
    if (m_strWhat.empty())
        return;
    m_cFirst = m_cFirstOther = m_options.bMatchCase ? m_strWhat[0] : char(m_lower[static_cast<unsigned char>(m_strWhat[0])]);
    // The other byte whose lower case that is, if any.
    for (int c = 0; c < 256 && !m_options.bMatchCase; ++c) {
        if (m_lower[size_t(c)] == static_cast<unsigned char>(m_cFirst) && char(c) != m_cFirst) {
            m_cFirstOther = char(c);
            break;
        }
    }
}

bool CTextFinder::SameByte(char a, char b) const {
    if (m_options.bMatchCase)
        return a == b;
    return m_lower[static_cast<unsigned char>(a)] == m_lower[static_cast<unsigned char>(b)];
}

bool CTextFinder::IsWordByte(const std::string& text, size_t nAt) const {
    return nAt < text.size() && m_word[static_cast<unsigned char>(text[nAt])];
}

bool CTextFinder::MatchesAt(const std::string& text, size_t nAt) const {
    size_t nLength = m_strWhat.size();
    if (nLength == 0 || nAt > text.size() || text.size() - nAt < nLength)
        return false;
    for (size_t i = 0; i < nLength; ++i) {
        if (!SameByte(text[nAt + i], m_strWhat[i]))
            return false;
    }
    if (m_options.bWholeWord && ((nAt > 0 && IsWordByte(text, nAt - 1)) || IsWordByte(text, nAt + nLength)))
        return false;
    return true;
}

size_t CTextFinder::Find(const std::string& text, size_t nFrom, size_t nEnd) const {
    size_t nLength = m_strWhat.size();
    if (nEnd > text.size())
        nEnd = text.size();
    if (nLength == 0 || nFrom > nEnd || nEnd - nFrom < nLength)
        return std::string::npos;
    // The first byte in either case, found with the library's scan, then the rest compared.
    const char firstBytes[2] = {m_cFirst, m_cFirstOther};
    for (size_t nAt = nFrom; nAt + nLength <= nEnd; ++nAt) {
        size_t nNext = text.find_first_of(firstBytes, nAt, 2);
        if (nNext == std::string::npos || nNext + nLength > nEnd)
            return std::string::npos;
        nAt = nNext;
        if (MatchesAt(text, nAt))
            return nAt;
    }
    return std::string::npos;
}

std::string CTextFinder::ReplaceAll(const std::string& text, const std::string& strWith, size_t* pCount) const {
    std::string strResult;
    size_t nCount = 0;
    size_t nDone = 0;
    for (size_t nAt = Find(text, 0); nAt != std::string::npos; nAt = Find(text, nAt + m_strWhat.size())) {
        strResult.append(text, nDone, nAt - nDone);
        strResult += strWith;
        nDone = nAt + m_strWhat.size();
        ++nCount;
    }
    if (pCount != nullptr)
        *pCount = nCount;
    if (nCount == 0)
        return text;
    strResult.append(text, nDone, std::string::npos);
    return strResult;
}
