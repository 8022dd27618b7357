#include "OutputFile.h"

#include <algorithm>
#include <cstring>

#include "FileSystem.h"

COutputFile::COutputFile(CFileSystem& fileSystem)
    : m_fileSystem(fileSystem),
      m_file(nullptr),
      m_bReplaced(false),
      m_buffer(new unsigned char[kCapacity]),
      m_nUsed(0) {}

COutputFile::~COutputFile() {
    if (m_file)
        m_fileSystem.Close(m_file);
    if (!m_strTemp.empty() && !m_bReplaced)
        m_fileSystem.Remove(m_strTemp);
}

bool COutputFile::Open(const std::string& target) {
    m_strTarget = target;
    m_file = m_fileSystem.CreateTemp(target, m_strTemp);
    if (!m_file)
        m_strTemp.clear();
    return m_file != nullptr;
}

COutputFile::Loss COutputFile::PutByte(unsigned char byte) {
    if (m_nUsed == kCapacity) {
        Loss loss = Drain();
        if (loss != kNothingLost)
            return loss;
    }
    m_buffer[m_nUsed++] = byte;
    return kNothingLost;
}

COutputFile::Loss COutputFile::PutBlock(const void* data, std::size_t count) {
    if (count == 0)
        return kNothingLost;
    if (count > kCapacity - m_nUsed) {
        Loss loss = Drain();
        if (loss != kNothingLost)
            return loss;
    }
    if (count >= kCapacity)  // large blocks go straight through instead of being copied twice
        return m_fileSystem.Write(m_file, data, count) < count ? kBlockLost : kNothingLost;
    m_blocks.emplace_back(m_nUsed, m_nUsed + count);
    std::memcpy(m_buffer.get() + m_nUsed, data, count);
    m_nUsed += count;
    return kNothingLost;
}

COutputFile::Loss COutputFile::BlockSpace(std::size_t count, unsigned char*& space, std::size_t& room) {
    if (m_nUsed == kCapacity) {
        Loss loss = Drain();
        if (loss != kNothingLost)
            return loss;
    }
    space = m_buffer.get() + m_nUsed;
    room = std::min(count, kCapacity - m_nUsed);
    return kNothingLost;
}

void COutputFile::CommitBlock(std::size_t count) {
    if (count == 0)
        return;
    m_blocks.emplace_back(m_nUsed, m_nUsed + count);
    m_nUsed += count;
}

COutputFile::Loss COutputFile::Drain() {
    if (m_nUsed == 0)
        return kNothingLost;
    std::size_t written = m_fileSystem.Write(m_file, m_buffer.get(), m_nUsed);
    Loss loss = kNothingLost;
    if (written < m_nUsed)
        loss = IsBlockByte(written) ? kBlockLost : kByteLost;
    m_nUsed = 0;
    m_blocks.clear();
    return loss;
}

bool COutputFile::Close() {
    bool flushed = m_fileSystem.Flush(m_file);
    bool closed = m_fileSystem.Close(m_file);
    m_file = nullptr;
    return flushed && closed;
}

bool COutputFile::Replace() {
    m_bReplaced = m_fileSystem.Replace(m_strTemp, m_strTarget);
    return m_bReplaced;
}

bool COutputFile::IsBlockByte(std::size_t offset) const {
    return std::any_of(m_blocks.begin(), m_blocks.end(),
                       [offset](const std::pair<std::size_t, std::size_t>& block) {
                           return block.first <= offset && offset < block.second;
                       });
}
