#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class COutputFile;
class CMemberSource;

// The queue of named members and the writer of container files: a big-endian header with the
// magic "Kv", a directory of 10-byte entries, a block of NUL-terminated names, then one record per
// member. CContainerReader walks what it writes.
class CContainerWriter {
public:
    enum { kNamesCapacity = 16000, kMembersCapacity = 32000 };

    struct Member {
        uint32_t length = 0;
        const unsigned char* data = nullptr;    // the copy, or the borrowed bytes
        std::unique_ptr<unsigned char[]> copy;  // released once written
        CMemberSource* source = nullptr;        // instead of data: read while written
        uint32_t nameOffset = 0;
    };

    CContainerWriter();
    ~CContainerWriter();
    CContainerWriter(const CContainerWriter&) = delete;
    CContainerWriter& operator=(const CContainerWriter&) = delete;

    // Queues a copy of the member. False, with nothing queued, when the copy cannot be allocated
    // or the member table or the names block is full.
    bool AddMember(const char* name, const void* data, uint32_t length);
    // Writes every queued member to `path` and empties the queue. The file is replaced only once
    // the new one was written completely; on failure the old one is left as it was.
    bool WriteFile(const char* path);
    static uint32_t RecordSize(const Member& member);

protected:
    // Aborts a whole write (1: a byte, 2: a block could not be written, 4: the members cannot be
    // written at all, or a source failed). Caught by WriteFile; it never leaves it.
    struct Abort {
        int code;
    };

    static void WriteByte(COutputFile& file, unsigned value);
    static void WriteU16(COutputFile& file, uint32_t value);
    static void WriteU32(COutputFile& file, uint32_t value);
    static void WriteBlock(COutputFile& file, const void* data, uint32_t count);

    // Queues the caller's bytes without copying them; they must stay unchanged until WriteFile
    // returns. False, with nothing queued, when the member table or the names block is full.
    bool AddBorrowedMember(const char* name, const void* data, uint32_t length);
    // Queues a member whose `length` bytes `source` gives while the file is written; the source
    // must outlive WriteFile. False, with nothing queued, when the table or the names block is full.
    bool AddSourcedMember(const char* name, uint32_t length, CMemberSource& source);
    // Empties the queue without writing it.
    void DiscardMembers();
    // Queues the members through `queue`, then writes them to `path`. When `queue` fails or runs
    // out of memory nothing is written: the queue is emptied and the file there stays as it was.
    bool QueueAndWrite(const char* path, const std::function<bool()>& queue);

private:
    bool HasRoomFor(const char* name) const;
    void Queue(const char* name, const void* data, uint32_t length, std::unique_ptr<unsigned char[]> copy);
    void WriteMembers(COutputFile& file);
    static void CopyFromSource(COutputFile& file, const Member& member);
    static void FinishWrite(COutputFile& file);
    static void ReportLoss(int loss);

    char m_names[kNamesCapacity];
    int32_t m_nNamesLength;
    Member m_members[kMembersCapacity];
    int32_t m_nMembers;
};
