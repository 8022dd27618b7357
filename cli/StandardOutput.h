#pragma once

#include "FileSystem.h"

// Writes a book to standard output ("-o -"), where there is nothing to replace: the writer's
// "temporary file" is the stream itself.
class CStandardOutput : public CFileSystem {
public:
    Handle CreateTemp(const std::string& target, std::string& tempPath) override;
    std::size_t Write(Handle file, const void* data, std::size_t count) override;
    bool Flush(Handle file) override;
    bool Close(Handle file) override;
    bool Replace(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;
    // Nothing is read from standard output.
    Handle OpenRead(const std::string& path) override;
    std::size_t Read(Handle file, void* data, std::size_t count) override;
    bool Seek(Handle file, uint64_t position) override;
    bool Size(Handle file, uint64_t& size) override;
};
