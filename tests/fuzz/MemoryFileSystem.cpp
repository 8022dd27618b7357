#include "MemoryFileSystem.h"

#include <cstring>

CFileSystem::Handle CMemoryFileSystem::CreateTemp(const std::string&, std::string& tempPath) {
    tempPath.clear();
    return nullptr;
}

std::size_t CMemoryFileSystem::Write(Handle, const void*, std::size_t) {
    return 0;
}

bool CMemoryFileSystem::Flush(Handle) {
    return false;
}

bool CMemoryFileSystem::Close(Handle file) {
    bool open = file == this && m_bOpen;
    m_bOpen = false;
    return open;
}

bool CMemoryFileSystem::Replace(const std::string&, const std::string&) {
    return false;
}

bool CMemoryFileSystem::Remove(const std::string&) {
    return false;
}

// The handle is the file system itself: there is one file, open once at a time.
CFileSystem::Handle CMemoryFileSystem::OpenRead(const std::string&) {
    if (m_bOpen)
        return nullptr;
    m_bOpen = true;
    m_nPosition = 0;
    return this;
}

std::size_t CMemoryFileSystem::Read(Handle, void* data, std::size_t count) {
    std::size_t left = m_nPosition < m_strBytes.size() ? m_strBytes.size() - m_nPosition : 0;
    std::size_t taken = count < left ? count : left;
    if (taken > 0)
        std::memcpy(data, m_strBytes.data() + m_nPosition, taken);
    m_nPosition += taken;
    return taken;
}

bool CMemoryFileSystem::Seek(Handle, uint64_t position) {
    if (position > m_strBytes.size())
        return false;
    m_nPosition = static_cast<std::size_t>(position);
    return true;
}

bool CMemoryFileSystem::Size(Handle, uint64_t& size) {
    size = m_strBytes.size();
    return true;
}
