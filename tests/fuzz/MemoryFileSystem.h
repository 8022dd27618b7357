#pragma once

#include <cstddef>
#include <string>
#include <utility>

#include "FileSystem.h"

// One file held in memory, found under any path, that can be read and not written. The fuzzer
// hands the loader its input this way: the same seeks, sizes and reads as a real file, without a
// file written per input.
class CMemoryFileSystem : public CFileSystem {
public:
    void SetContent(std::string bytes) { m_strBytes = std::move(bytes); }

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
    std::string m_strBytes;
    std::size_t m_nPosition = 0;
    bool m_bOpen = false;
};
