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
const uint64_t kUnknownPosition = ~uint64_t(0);

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
      m_nPosition(0),
      m_nFilePosition(kUnknownPosition),
      m_bOutOfMemory(false) {}

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
        m_nBufferStart = m_nBuffered = m_nPosition = 0;
        m_nFilePosition = kUnknownPosition;  // telling the size may have moved it
        m_head.clear();
        m_strProblem.clear();
        m_bOutOfMemory = false;
        try {
            if (size == 0)
                Note("the file is empty");
            m_strWhere = "the header";
            Seek(0);
            if (ReadU16() != container::kMagic) {
                Note("it does not begin with the mark of a book file");
            } else {
                unsigned count = ReadU16();
                if (count == 0 || count >= CContainerWriter::kMembersCapacity) {
                    Note("its header names " + std::to_string(count) + " members");
                } else {
                    ReadU16();
                    m_strWhere = "the directory";
                    LoadHead(count);
                    for (unsigned i = 0; i < count; ++i)
                        ReadMember(i);
                }
            }
        } catch (const Abort&) {
            // the file ended early: the walk ends with what was handed over so far
            Note(m_strWhere + " runs past the end of the file");
            handler.OnCutShort();
        }
    }
    m_fileSystem.Close(m_file);
    m_file = nullptr;
    return sized;
}

unsigned CContainerReader::ReadByte() {
    if (m_nPosition < m_head.size())
        return m_head[static_cast<std::size_t>(m_nPosition++)];
    if (m_nPosition < m_nBufferStart || m_nPosition >= m_nBufferStart + m_nBuffered) {
        if (!MoveFileTo(m_nPosition))
            throw Abort{};
        m_nBufferStart = m_nPosition;
        m_nBuffered = m_fileSystem.Read(m_file, m_buffer, kBufferSize);
        m_nFilePosition = m_nBuffered == 0 ? kUnknownPosition : m_nPosition + m_nBuffered;
        if (m_nBuffered == 0)
            throw Abort{};
    }
    return m_buffer[static_cast<std::size_t>(m_nPosition++ - m_nBufferStart)];
}

bool CContainerReader::MoveFileTo(uint64_t position) {
    if (position != m_nFilePosition && !m_fileSystem.Seek(m_file, position))
        return false;
    m_nFilePosition = position;
    return true;
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
    // What the head or the buffer holds first, then the rest straight from the file.
    while (count > 0 && (m_nPosition < m_head.size() ||
                         (m_nPosition >= m_nBufferStart && m_nPosition < m_nBufferStart + m_nBuffered))) {
        *data++ = static_cast<char>(ReadByte());
        --count;
    }
    if (count == 0)
        return true;
    if (!MoveFileTo(m_nPosition))
        return false;
    std::size_t got = m_fileSystem.Read(m_file, data, count);
    m_nPosition += got;
    m_nFilePosition = got == count ? m_nPosition : kUnknownPosition;  // a failed read may have moved it
    return got == count;
}

// Positions at or past the end abort the walk just as reading there would. The file itself moves
// only when bytes are read that neither the head nor the buffer holds.
void CContainerReader::Seek(uint64_t position) {
    if (position >= m_nFileSize)
        throw Abort{};
    m_nPosition = position;
}

// The directory and the names of a real container lie at its start: read once, a walk needs no
// call for them, only one or two per record.
void CContainerReader::LoadHead(unsigned count) {
    uint64_t size = uint64_t(container::kHeaderSize) + uint64_t(container::kEntrySize) * count +
                    CContainerWriter::kNamesCapacity;
    m_head.resize(static_cast<std::size_t>(std::min(size, m_nFileSize)));
    // The size said these bytes are there: a read that gives fewer failed, as any other would.
    bool read = MoveFileTo(0) && m_fileSystem.Read(m_file, m_head.data(), m_head.size()) == m_head.size();
    m_nFilePosition = read ? m_head.size() : kUnknownPosition;
    if (!read) {
        m_head.clear();
        throw Abort{};
    }
}

void CContainerReader::Note(const std::string& problem) {
    if (m_strProblem.empty())
        m_strProblem = problem;
}

void CContainerReader::ReadMember(unsigned index) {
    const std::string number = std::to_string(index + 1);
    m_strWhere = "directory entry " + number;
    Seek(container::kHeaderSize + uint64_t(container::kEntrySize) * index);
    unsigned namePosition = ReadU16();
    uint32_t dataPosition = ReadU32();
    uint32_t recordSize = ReadU32();

    m_strWhere = "the name of member " + number;
    Seek(namePosition);
    char name[kNameBufferSize];
    std::size_t nameLength = 0;
    for (unsigned byte; (byte = ReadByte()) != 0;) {
        if (nameLength == kNameBufferSize - 1)
            return;  // too long for any member this system knows: skip it
        name[nameLength++] = static_cast<char>(byte);
    }
    m_pHandler->OnMemberName(std::string(name, nameLength));

    m_strWhere = "record " + number;
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
        Note(m_strWhere + " runs past the end of the file");
        m_pHandler->OnCutShort();
        return;
    }
    if (length > m_nBudget)
        return;
    if (m_pHandler->PassesOver()) {
        m_nBudget -= length;
        m_pHandler->OnMemberPassed(length);
        return;
    }
    std::string* target = m_pHandler->DataTarget();
    if (!target)
        return;
    std::size_t start = target->size();
    try {
        target->resize(start + static_cast<std::size_t>(length));
    } catch (const std::exception&) {
        // no room for the member: skip it, as a failed allocation does
        m_bOutOfMemory = true;
        Note("member " + number + " (" + std::to_string(length) + " bytes) does not fit in memory");
        return;
    }
    if (length > 0 && !ReadBlock(&(*target)[start], static_cast<std::size_t>(length))) {
        // The size said the bytes were there: the file shrank or could not be read, and the
        // member is as good as cut off.
        target->resize(start);
        Note(m_strWhere + " cannot be read");
        m_pHandler->OnCutShort();
        return;
    }
    m_nBudget -= length;
    m_pHandler->OnMemberData(*target);
}
