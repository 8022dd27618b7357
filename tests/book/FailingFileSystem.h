#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "StdFileSystem.h"

// A real file system (the standard one unless another is given), made to fail on demand: at the
// Nth call of any operation, or by taking only a given number of bytes and then reporting every
// write as short (as a full disk does under Wine, where the call succeeds with fewer bytes).
class CFailingFileSystem : public CFileSystem {
public:
    enum { kNever = 0 };

    CFailingFileSystem() : m_real(m_standard) {}
    explicit CFailingFileSystem(CFileSystem& real) : m_real(real) {}

    void FailAtCall(int call) { m_nFailAt = call; }
    void AcceptBytes(std::size_t count) {
        m_nBytesLeft = count;
        m_bLimited = true;
    }
    // The operations called so far, in order: "create", "write", "flush", "close", "replace", "remove",
    // and for reading "open", "read", "seek", "size".
    const std::vector<std::string>& Calls() const { return m_calls; }

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
    // Records the call; true when this one is to fail.
    bool Fails(const char* operation);

    CStdFileSystem m_standard;
    CFileSystem& m_real;
    std::vector<std::string> m_calls;
    int m_nFailAt = kNever;
    bool m_bLimited = false;
    std::size_t m_nBytesLeft = 0;
};
