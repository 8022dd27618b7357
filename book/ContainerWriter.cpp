#include "ContainerWriter.h"

#include <cstring>
#include <new>

#include "ContainerFormat.h"
#include "FileSystem.h"
#include "MemberSource.h"
#include "MessageSink.h"
#include "OutputFile.h"

using container::kEntrySize;
using container::kHeaderSize;
using container::kMagic;

namespace {

// Every position and size in the file is a 32-bit number.
const uint64_t kMaxFileSize = 0xFFFFFFFFu;

}  // namespace

CContainerWriter::CContainerWriter() : m_names(), m_nNamesLength(0), m_nMembers(0) {}

CContainerWriter::~CContainerWriter() {}

bool CContainerWriter::AddMember(const char* name, const void* data, uint32_t length) {
    if (!HasRoomFor(name))
        return false;
    std::unique_ptr<unsigned char[]> copy;
    if (length > 0) {
        copy.reset(new (std::nothrow) unsigned char[length]);
        if (!copy)
            return false;
        std::memcpy(copy.get(), data, length);
    }
    const unsigned char* bytes = copy.get();
    Queue(name, bytes, length, std::move(copy));
    return true;
}

bool CContainerWriter::AddBorrowedMember(const char* name, const void* data, uint32_t length) {
    if (!HasRoomFor(name))
        return false;
    Queue(name, data, length, nullptr);
    return true;
}

bool CContainerWriter::AddSourcedMember(const char* name, uint32_t length, CMemberSource& source) {
    if (!HasRoomFor(name))
        return false;
    Queue(name, nullptr, length, nullptr);
    m_members[m_nMembers - 1].source = &source;
    return true;
}

bool CContainerWriter::HasRoomFor(const char* name) const {
    return m_nMembers < kMembersCapacity &&
           std::strlen(name) + 1 <= static_cast<std::size_t>(kNamesCapacity - m_nNamesLength);
}

void CContainerWriter::Queue(const char* name,
                             const void* data,
                             uint32_t length,
                             std::unique_ptr<unsigned char[]> copy) {
    std::size_t nameSize = std::strlen(name) + 1;
    Member& member = m_members[m_nMembers++];
    member.length = length;
    member.data = static_cast<const unsigned char*>(data);
    member.copy = std::move(copy);
    member.source = nullptr;
    member.nameOffset = static_cast<uint32_t>(m_nNamesLength);
    std::memcpy(m_names + m_nNamesLength, name, nameSize);
    m_nNamesLength += static_cast<int32_t>(nameSize);
}

uint32_t CContainerWriter::RecordSize(const Member& member) {
    return member.length + 1;
}

bool CContainerWriter::WriteFile(const char* path) {
    bool written = false;
    try {
        COutputFile file(CFileSystem::Active());
        if (file.Open(path)) {
            WriteMembers(file);
            FinishWrite(file);
            written = file.Replace();
        }
    } catch (const Abort&) {
        // the helper has told the user; the file removes what was written
    } catch (const std::bad_alloc&) {
        // no memory to write with: nothing took the target's place
    }
    DiscardMembers();
    return written;
}

void CContainerWriter::WriteMembers(COutputFile& file) {
    const uint32_t count = static_cast<uint32_t>(m_nMembers);
    const uint32_t namesLength = static_cast<uint32_t>(m_nNamesLength);
    const uint32_t namesStart = kHeaderSize + kEntrySize * count;
    uint64_t fileSize = uint64_t(namesStart) + namesLength;
    for (int32_t i = 0; i < m_nMembers; ++i)
        fileSize += uint64_t(m_members[i].length) + 1;
    if (fileSize > kMaxFileSize) {
        ShowMessage("the book is too large for a book file (at most 4 GiB)");
        throw Abort{4};
    }
    WriteU16(file, kMagic);
    WriteU16(file, count);
    WriteU16(file, namesLength + kEntrySize * count);
    uint32_t recordStart = namesStart + namesLength;
    for (int32_t i = 0; i < m_nMembers; ++i) {
        WriteU16(file, namesStart + m_members[i].nameOffset);
        WriteU32(file, recordStart);
        WriteU32(file, RecordSize(m_members[i]));
        recordStart += RecordSize(m_members[i]);
    }
    WriteBlock(file, m_names, namesLength);
    for (int32_t i = 0; i < m_nMembers; ++i) {
        WriteByte(file, 0);
        if (m_members[i].source)
            CopyFromSource(file, m_members[i]);
        else
            WriteBlock(file, m_members[i].data, m_members[i].length);
        m_members[i].copy.reset();
    }
}

// The source reads straight into the output file's buffer.
void CContainerWriter::CopyFromSource(COutputFile& file, const Member& member) {
    for (uint32_t left = member.length; left > 0;) {
        unsigned char* space = nullptr;
        std::size_t room = 0;
        ReportLoss(file.BlockSpace(left, space, room));
        std::size_t count = member.source->Read(space, room);
        if (count == 0)
            throw Abort{4};  // the source has said why
        file.CommitBlock(count);
        left -= static_cast<uint32_t>(count);
    }
    if (!member.source->AtEnd())
        throw Abort{4};
}

void CContainerWriter::FinishWrite(COutputFile& file) {
    ReportLoss(file.Drain());
    if (!file.Close())
        ReportLoss(COutputFile::kBlockLost);
}

void CContainerWriter::ReportLoss(int loss) {
    if (loss == COutputFile::kByteLost) {
        ShowMessage("cannot write: disk full?");
        throw Abort{1};
    }
    if (loss == COutputFile::kBlockLost) {
        ShowMessage("write error");
        throw Abort{2};
    }
}

void CContainerWriter::DiscardMembers() {
    for (int32_t i = 0; i < m_nMembers; ++i) {
        m_members[i].copy.reset();
        m_members[i].source = nullptr;
        m_members[i].data = nullptr;
        m_members[i].length = 0;
    }
    m_nMembers = 0;
    m_nNamesLength = 0;
}

bool CContainerWriter::QueueAndWrite(const char* path, const std::function<bool()>& queue) {
    bool ok;
    try {
        ok = queue();
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok) {
        // A book with members missing must not take the place of the file on disk.
        DiscardMembers();
        return false;
    }
    return WriteFile(path);
}

void CContainerWriter::WriteByte(COutputFile& file, unsigned value) {
    ReportLoss(file.PutByte(static_cast<unsigned char>(value)));
}

void CContainerWriter::WriteU16(COutputFile& file, uint32_t value) {
    WriteByte(file, (value >> 8) & 0xFF);
    WriteByte(file, value & 0xFF);
}

void CContainerWriter::WriteU32(COutputFile& file, uint32_t value) {
    WriteU16(file, value >> 16);
    WriteU16(file, value & 0xFFFF);
}

void CContainerWriter::WriteBlock(COutputFile& file, const void* data, uint32_t count) {
    ReportLoss(file.PutBlock(data, count));
}
