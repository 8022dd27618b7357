#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// The file operations of a save, behind one seam so that tests can make any of them fail.
class CFileSystem {
public:
    virtual ~CFileSystem() {}

    // Creates an empty file in the directory of `target` for writing and names it in `tempPath`;
    // null when no such file can be created.
    virtual std::FILE* CreateTemp(const std::string& target, std::string& tempPath) = 0;
    // Returns the number of bytes written, which may be fewer than asked.
    virtual std::size_t Write(std::FILE* file, const void* data, std::size_t count) = 0;
    virtual bool Flush(std::FILE* file) = 0;
    virtual bool Close(std::FILE* file) = 0;
    // Puts the closed file `from` in place of `to`; on failure `to` is left as it was.
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
    virtual bool Remove(const std::string& path) = 0;

    static CFileSystem& Active();
    // A null file system restores the standard one.
    static void SetActive(CFileSystem* fileSystem);
};
