// The list of books opened or saved last, newest first, as the File menu shows it. Standard C++:
// the window keeps it in the registry and in its menu.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CRecentBooks {
public:
    static constexpr size_t kMaxBooks = 8;
    // Longer paths are shortened in the middle for the menu.
    static constexpr size_t kMaxShownChars = 60;

    const std::vector<std::string>& Paths() const { return m_paths; }
    // Takes a stored list: empty entries and repeats dropped, at most kMaxBooks kept.
    void SetPaths(const std::vector<std::string>& paths);
    // Puts the path first; the same path (in any case) further down goes.
    void Add(const std::string& strPath);
    void Remove(const std::string& strPath);

    // "&1 C:\...\Books\novel.book": the number is the access key; an "&" of the path shows as one.
    static std::string MenuText(size_t nIndex, const std::string& strPath);
    // The path as it is when it is short enough; otherwise its start (the drive or the server's
    // share) and as many of its last folders as fit, with "..." between. The file name is kept whole.
    static std::string Shortened(const std::string& strPath, size_t nMaxChars = kMaxShownChars);

private:
    std::vector<std::string> m_paths;
};
