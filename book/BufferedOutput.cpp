#include "BufferedOutput.h"

#include <algorithm>
#include <cstring>

#include "FileSystem.h"

CBufferedOutput::CBufferedOutput(CFileSystem& fileSystem, std::FILE* file)
    : m_fileSystem(fileSystem), m_file(file), m_buffer(new unsigned char[kCapacity]), m_nUsed(0) {}

CBufferedOutput::~CBufferedOutput() {
    if (m_file)
        m_fileSystem.Close(m_file);
}

CBufferedOutput::Loss CBufferedOutput::PutByte(unsigned char byte) {
    if (m_nUsed == kCapacity) {
        Loss loss = Drain();
        if (loss != kNothingLost)
            return loss;
    }
    m_buffer[m_nUsed++] = byte;
    return kNothingLost;
}

CBufferedOutput::Loss CBufferedOutput::PutBlock(const void* data, std::size_t count) {
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

CBufferedOutput::Loss CBufferedOutput::Drain() {
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

bool CBufferedOutput::Close() {
    bool flushed = m_fileSystem.Flush(m_file);
    bool closed = m_fileSystem.Close(m_file);
    m_file = nullptr;
    return flushed && closed;
}

bool CBufferedOutput::IsBlockByte(std::size_t offset) const {
    return std::any_of(m_blocks.begin(), m_blocks.end(),
                       [offset](const std::pair<std::size_t, std::size_t>& block) {
                           return block.first <= offset && offset < block.second;
                       });
}
