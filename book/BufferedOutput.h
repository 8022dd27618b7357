#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

class CFileSystem;

// The container writer's open file: gathers many small writes into few, and on a short write tells
// which kind of byte was the first one the system did not take, so that the writer reports exactly
// what an unbuffered write would have reported.
class CBufferedOutput {
public:
    enum Loss { kNothingLost, kByteLost, kBlockLost };

    CBufferedOutput(CFileSystem& fileSystem, std::FILE* file);
    ~CBufferedOutput();  // closes the file if Close was not reached
    CBufferedOutput(const CBufferedOutput&) = delete;
    CBufferedOutput& operator=(const CBufferedOutput&) = delete;

    Loss PutByte(unsigned char byte);
    Loss PutBlock(const void* data, std::size_t count);
    // Hands everything buffered to the file system.
    Loss Drain();
    // Flushes and closes the file; false when either fails.
    bool Close();

private:
    enum { kCapacity = 64 * 1024 };

    bool IsBlockByte(std::size_t offset) const;

    CFileSystem& m_fileSystem;
    std::FILE* m_file;
    std::unique_ptr<unsigned char[]> m_buffer;
    std::size_t m_nUsed;
    std::vector<std::pair<std::size_t, std::size_t>> m_blocks;  // [begin, end) of buffered block bytes
};
