#include "ContainerReader.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <string>

#include "ContainerFormat.h"
#include "ContainerWriter.h"
#include "MemberHandler.h"

namespace {

const unsigned kNameBufferSize = 260;  // names of up to 259 bytes

}  // namespace

CContainerReader::CContainerReader(CFileSystem& fileSystem)
    : m_fileSystem(fileSystem),
      m_file(nullptr),
      m_pHandler(nullptr),
      m_nFileSize(0),
      m_nBudget(0),
      m_buffer(),
      m_nBufferStart(0),
      m_nBuffered(0),
      m_nNext(0) {}

CContainerReader::~CContainerReader() {
    if (m_file)
        m_fileSystem.Close(m_file);
}

bool CContainerReader::Walk(const char* path, CMemberHandler& handler) {
    m_file = m_fileSystem.OpenRead(path);
    if (!m_file)
        return false;
    uint64_t size = 0;
    bool sized = m_fileSystem.Size(m_file, size);
    if (sized) {
        m_pHandler = &handler;
        m_nFileSize = m_nBudget = size;
        m_nBufferStart = m_nBuffered = m_nNext = 0;
        try {
            Seek(0);
            if (ReadU16() == container::kMagic) {
                unsigned count = ReadU16();
                if (count > 0 && count < CContainerWriter::kMembersCapacity) {
                    ReadU16();
                    for (unsigned i = 0; i < count; ++i)
                        ReadMember(i);
                }
            }
        } catch (const Abort&) {
            // the file ended early: the walk ends with what was handed over so far
            handler.OnCutShort();
        }
    }
    m_fileSystem.Close(m_file);
    m_file = nullptr;
    return sized;
}

unsigned CContainerReader::ReadByte() {
    if (m_nNext == m_nBuffered) {
        m_nBufferStart += m_nBuffered;
        m_nBuffered = m_fileSystem.Read(m_file, m_buffer, kBufferSize);
        m_nNext = 0;
        if (m_nBuffered == 0)
            throw Abort{};
    }
    return m_buffer[m_nNext++];
}

unsigned CContainerReader::ReadU16() {
    unsigned high = ReadByte();
    return high * 256 + ReadByte();
}

uint32_t CContainerReader::ReadU32() {
    uint32_t high = ReadU16();
    return high * 65536 + ReadU16();
}

bool CContainerReader::ReadBlock(char* data, std::size_t count) {
    std::size_t buffered = std::min(count, m_nBuffered - m_nNext);
    std::memcpy(data, m_buffer + m_nNext, buffered);
    m_nNext += buffered;
    if (buffered == count)
        return true;
    // The rest comes straight from the file; the buffer then starts after it.
    std::size_t rest = count - buffered;
    std::size_t got = m_fileSystem.Read(m_file, data + buffered, rest);
    m_nBufferStart += m_nBuffered + got;
    m_nBuffered = m_nNext = 0;
    return got == rest;
}

// Positions at or past the end abort the walk just as reading there would. A position inside what
// is buffered needs no call.
void CContainerReader::Seek(uint64_t position) {
    if (position >= m_nFileSize)
        throw Abort{};
    if (position >= m_nBufferStart && position < m_nBufferStart + m_nBuffered) {
        m_nNext = static_cast<std::size_t>(position - m_nBufferStart);
        return;
    }
    if (!m_fileSystem.Seek(m_file, position))
        throw Abort{};
    m_nBufferStart = position;
    m_nBuffered = m_nNext = 0;
}

void CContainerReader::ReadMember(unsigned index) {
    Seek(container::kHeaderSize + uint64_t(container::kEntrySize) * index);
    unsigned namePosition = ReadU16();
    uint32_t dataPosition = ReadU32();
    uint32_t recordSize = ReadU32();

    Seek(namePosition);
    char name[kNameBufferSize];
    std::size_t nameLength = 0;
    for (unsigned byte; (byte = ReadByte()) != 0;) {
        if (nameLength == kNameBufferSize - 1)
            return;  // too long for any member this system knows: skip it
        name[nameLength++] = static_cast<char>(byte);
    }
    m_pHandler->OnMemberName(std::string(name, nameLength));

    Seek(dataPosition);
    unsigned flag = ReadByte();
    uint32_t recordHeader = 1;
    if (flag == 2) {
        ReadU32();
        recordHeader = 5;
    } else if (flag != 0) {
        return;  // no writer produces it, and guessing at its layout would read past the record
    }
    if (recordSize < recordHeader)
        return;
    uint64_t length = recordSize - recordHeader;
    if (uint64_t(dataPosition) + recordHeader + length > m_nFileSize) {
        m_pHandler->OnCutShort();
        return;
    }
    if (length > m_nBudget)
        return;
    std::string* target = m_pHandler->DataTarget();
    if (!target)
        return;
    std::size_t start = target->size();
    try {
        target->resize(start + static_cast<std::size_t>(length));
    } catch (const std::exception&) {
        return;  // no room for the member: skip it, as a failed allocation does
    }
    if (length > 0 && !ReadBlock(&(*target)[start], static_cast<std::size_t>(length))) {
        // The size said the bytes were there: the file shrank or could not be read, and the
        // member is as good as cut off.
        target->resize(start);
        m_pHandler->OnCutShort();
        return;
    }
    m_nBudget -= length;
    m_pHandler->OnMemberData(*target);
}
