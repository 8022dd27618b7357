#pragma once

#include <cstdio>
#include <string>

// A book file to read, as a path the reader can seek in: a regular file as it is; standard input
// ("-"), a pipe or a device copied into a scratch file first, which goes again with this object.
class CBookInput {
public:
    CBookInput() : m_bScratch(false) {}
    ~CBookInput();
    CBookInput(const CBookInput&) = delete;
    CBookInput& operator=(const CBookInput&) = delete;

    // Exit status 1, having said why, when `name` cannot be read; else 0.
    int Open(const std::string& name);
    const std::string& Path() const { return m_strPath; }
    // What messages call the file.
    const std::string& Name() const { return m_strName; }

private:
    int CopyToScratch(std::FILE* from);

    std::string m_strName;
    std::string m_strPath;
    bool m_bScratch;
};
