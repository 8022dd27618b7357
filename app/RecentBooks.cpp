#include "RecentBooks.h"

#include <algorithm>
#include <cctype>

namespace {

bool SamePath(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

void CRecentBooks::SetPaths(const std::vector<std::string>& paths) {
    m_paths.clear();
    for (auto path = paths.rbegin(); path != paths.rend(); ++path) {
        if (!path->empty())
            Add(*path);
    }
}

void CRecentBooks::Add(const std::string& strPath) {
    Remove(strPath);
    m_paths.insert(m_paths.begin(), strPath);
    if (m_paths.size() > kMaxBooks)
        m_paths.resize(kMaxBooks);
}

void CRecentBooks::Remove(const std::string& strPath) {
    m_paths.erase(std::remove_if(m_paths.begin(), m_paths.end(),
                                 [&](const std::string& strOld) { return SamePath(strOld, strPath); }),
                  m_paths.end());
}

std::string CRecentBooks::MenuText(size_t nIndex, const std::string& strPath) {
    std::string strText = "&" + std::to_string(nIndex + 1) + " ";
    for (char c : Shortened(strPath)) {
        if (c == '&')
            strText += '&';
        strText += c;
    }
    return strText;
}

std::string CRecentBooks::Shortened(const std::string& strPath, size_t nMaxChars) {
    if (strPath.size() <= nMaxChars)
        return strPath;
    // The start that is always kept: "C:\" or "\\server\share\".
    size_t nHead = 0;
    if (strPath.compare(0, 2, "\\\\") == 0) {
        size_t nServer = strPath.find('\\', 2);
        size_t nShare = nServer == std::string::npos ? std::string::npos : strPath.find('\\', nServer + 1);
        nHead = nShare == std::string::npos ? 0 : nShare + 1;
    } else {
        size_t nSlash = strPath.find('\\');
        nHead = nSlash == std::string::npos ? 0 : nSlash + 1;
    }
    size_t nName = strPath.rfind('\\');
    if (nName == std::string::npos || nName + 1 <= nHead)
        return strPath;
    const std::string strHead = strPath.substr(0, nHead) + "...";
    // Whole folders from the end, as many as fit beside the head.
    size_t nTail = nName;
    while (nTail > nHead) {
        size_t nPrev = strPath.rfind('\\', nTail - 1);
        if (nPrev == std::string::npos || nPrev < nHead || strHead.size() + (strPath.size() - nPrev) > nMaxChars)
            break;
        nTail = nPrev;
    }
    if (nTail < nHead + 1)
        return strPath;
    return strHead + strPath.substr(nTail);
}
