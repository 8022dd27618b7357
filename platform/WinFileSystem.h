#pragma once

#include "FileSystem.h"

// The save's file operations through the Windows calls themselves, with paths as ANSI bytes as
// given. Every byte written is counted: on a full disk a write can report success with fewer bytes.
// The new file replaces the old one in a single move, so there is never a moment without a file
// under the book's name.
class CWinFileSystem : public CFileSystem {
public:
    Handle CreateTemp(const std::string& target, std::string& tempPath) override;
    std::size_t Write(Handle file, const void* data, std::size_t count) override;
    bool Flush(Handle file) override;
    bool Close(Handle file) override;
    bool Replace(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;
};
