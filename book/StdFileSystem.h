#pragma once

#include "FileSystem.h"

// The file system through the C library's narrow-path calls, which take the bytes of a path as
// they are (the ANSI code page on Windows, where std::filesystem converts narrow paths differently).
class CStdFileSystem : public CFileSystem {
public:
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
    // A name beside `target` that no file has at the moment.
    static std::string UnusedNameBeside(const std::string& target, const char* extension);
};
