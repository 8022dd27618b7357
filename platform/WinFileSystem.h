#pragma once

#include "FileSystem.h"

#include <string>

// The save's file operations through the Windows calls themselves, with paths as ANSI bytes as
// given (the window program) or as UTF-8 (the quire tool, whose command line is wide). Every byte
// written is counted: on a full disk a write can report success with fewer bytes. The new file
// replaces the old one in a single move, so there is never a moment without a file under the
// book's name.
class CWinFileSystem : public CFileSystem {
public:
    enum PathEncoding { kAnsiPaths, kUtf8Paths };

    explicit CWinFileSystem(PathEncoding encoding = kAnsiPaths) : m_encoding(encoding) {}

    Handle CreateTemp(const std::string& target, std::string& tempPath) override;
    std::size_t Write(Handle file, const void* data, std::size_t count) override;
    bool Flush(Handle file) override;
    bool Close(Handle file) override;
    bool Replace(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;
    Handle OpenRead(const std::string& path) override;
    std::size_t Read(Handle file, void* data, std::size_t count) override;
    bool Seek(Handle file, uint64_t position) override;
    bool Size(Handle file, uint64_t& size) override;

private:
    // The path as the wide calls take it.
    std::wstring Wide(const std::string& path) const;

    PathEncoding m_encoding;
};
