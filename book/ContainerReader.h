#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FileSystem.h"

class CMemberHandler;

// The reading walk through a container file: the header, then for each directory entry the
// member's name and its record, handed to a handler one member at a time. It reads through the
// file-system seam, so a test or the fuzzer can give it any file without writing one, and it seeks
// past whatever the handler does not want.
class CContainerReader {
public:
    explicit CContainerReader(CFileSystem& fileSystem);
    ~CContainerReader();
    CContainerReader(const CContainerReader&) = delete;
    CContainerReader& operator=(const CContainerReader&) = delete;

    // Walks the container at `path` and hands its members to `handler`. False only when the file
    // cannot be opened or its size told; a broken container simply ends the walk, and one cut
    // short says so.
    bool Walk(const char* path, CMemberHandler& handler);

    // The first thing the walk found wrong, in words ("record 3 runs past the end of the file");
    // empty when it found nothing.
    const std::string& Problem() const { return m_strProblem; }
    // A member's data did not fit in memory.
    bool OutOfMemory() const { return m_bOutOfMemory; }

private:
    // Aborts the walk when the file ends (or cannot be read) where the walk needs a byte. Caught by
    // Walk; it never leaves it.
    struct Abort {};

    unsigned ReadByte();
    unsigned ReadU16();
    uint32_t ReadU32();
    // Reads `count` bytes at the current position; false when the file gives fewer.
    bool ReadBlock(char* data, std::size_t count);
    void Seek(uint64_t position);
    // Puts the file's own position there, with a call only when it is elsewhere.
    bool MoveFileTo(uint64_t position);
    void LoadHead(unsigned count);
    void ReadMember(unsigned index);
    // Keeps the first problem only.
    void Note(const std::string& problem);

    // The header, directory and names are read a byte at a time, from the head of the file read
    // once; a small buffer serves record headers and anything a forged directory points elsewhere.
    // Record data bypass it.
    enum { kBufferSize = 512 };

    CFileSystem& m_fileSystem;
    CFileSystem::Handle m_file;
    CMemberHandler* m_pHandler;
    uint64_t m_nFileSize;
    // Member data handed over may add up to no more than the file holds: records of a real
    // container never overlap, and a forged directory must not multiply the work or the memory.
    uint64_t m_nBudget;
    unsigned char m_buffer[kBufferSize];
    uint64_t m_nBufferStart;  // file position of m_buffer[0]
    std::size_t m_nBuffered;
    std::vector<unsigned char> m_head;  // the file's first bytes
    uint64_t m_nPosition;      // where the walk reads next
    uint64_t m_nFilePosition;  // where the file stands
    std::string m_strWhere;  // what the walk is reading, for a file that ends there
    std::string m_strProblem;
    bool m_bOutOfMemory;
};
