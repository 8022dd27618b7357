#include "FailingFileSystem.h"

#include <algorithm>

bool CFailingFileSystem::Fails(const char* operation) {
    m_calls.push_back(operation);
    return static_cast<int>(m_calls.size()) == m_nFailAt;
}

CFileSystem::Handle CFailingFileSystem::CreateTemp(const std::string& target, std::string& tempPath) {
    return Fails("create") ? nullptr : m_real.CreateTemp(target, tempPath);
}

std::size_t CFailingFileSystem::Write(Handle file, const void* data, std::size_t count) {
    if (Fails("write"))
        return 0;
    std::size_t allowed = m_bLimited ? std::min(count, m_nBytesLeft) : count;
    std::size_t written = m_real.Write(file, data, allowed);
    if (m_bLimited)
        m_nBytesLeft -= written;
    return written;
}

bool CFailingFileSystem::Flush(Handle file) {
    bool failed = Fails("flush");
    return m_real.Flush(file) && !failed;
}

// The file is closed even when the call is made to fail, as a real failed close still releases it.
bool CFailingFileSystem::Close(Handle file) {
    bool failed = Fails("close");
    return m_real.Close(file) && !failed;
}

bool CFailingFileSystem::Replace(const std::string& from, const std::string& to) {
    return !Fails("replace") && m_real.Replace(from, to);
}

bool CFailingFileSystem::Remove(const std::string& path) {
    return !Fails("remove") && m_real.Remove(path);
}

CFileSystem::Handle CFailingFileSystem::OpenRead(const std::string& path) {
    return Fails("open") ? nullptr : m_real.OpenRead(path);
}

std::size_t CFailingFileSystem::Read(Handle file, void* data, std::size_t count) {
    return Fails("read") ? 0 : m_real.Read(file, data, count);
}

bool CFailingFileSystem::Seek(Handle file, uint64_t position) {
    return !Fails("seek") && m_real.Seek(file, position);
}

bool CFailingFileSystem::Size(Handle file, uint64_t& size) {
    return !Fails("size") && m_real.Size(file, size);
}
