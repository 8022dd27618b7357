#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FileSystem.h"

// The container writer's open file. It is a temporary file beside the target that takes the
// target's place only once it was written completely, so a failed save never costs the old file.
// Many small writes are gathered into few; on a short write it tells which kind of byte was the
// first one the system did not take, so that the writer reports what an unbuffered write would.
class COutputFile {
public:
    enum Loss { kNothingLost, kByteLost, kBlockLost };

    explicit COutputFile(CFileSystem& fileSystem);
    // Closes the file if need be and removes it unless it took the target's place.
    ~COutputFile();
    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;

    // Creates the temporary file for `target`.
    bool Open(const std::string& target);
    Loss PutByte(unsigned char byte);
    Loss PutBlock(const void* data, std::size_t count);
    // Room in the buffer for up to `count` bytes of a block, to be filled in place and then
    // committed: a block read from a file needs no second copy. `room` is at least 1 unless a
    // drain lost bytes.
    Loss BlockSpace(std::size_t count, unsigned char*& space, std::size_t& room);
    void CommitBlock(std::size_t count);
    // Hands everything gathered to the file system.
    Loss Drain();
    // Flushes and closes the file; false when either fails.
    bool Close();
    // Puts the closed file in place of the target.
    bool Replace();

private:
    enum { kCapacity = 1024 * 1024 };  // a write call costs about as much as copying 100 KiB

    bool IsBlockByte(std::size_t offset) const;

    CFileSystem& m_fileSystem;
    std::string m_strTarget;
    std::string m_strTemp;
    CFileSystem::Handle m_file;
    bool m_bReplaced;
    std::unique_ptr<unsigned char[]> m_buffer;
    std::size_t m_nUsed;
    std::vector<std::pair<std::size_t, std::size_t>> m_blocks;  // [begin, end) of gathered block bytes
};
