#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The file operations of a save and a load, behind one seam so that tests can make any of them
// fail, the fuzzer can read from memory, and each platform can use its own calls.
class CFileSystem {
public:
    // An open file as the file system that opened it knows it (a C stream, a Windows handle);
    // null stands for none.
    typedef void* Handle;

    virtual ~CFileSystem() {}

    // Creates an empty file in the directory of `target` for writing and names it in `tempPath`;
    // null when no such file can be created.
    virtual Handle CreateTemp(const std::string& target, std::string& tempPath) = 0;
    // Returns the number of bytes written, which may be fewer than asked.
    virtual std::size_t Write(Handle file, const void* data, std::size_t count) = 0;
    virtual bool Flush(Handle file) = 0;
    virtual bool Close(Handle file) = 0;
    // Puts the closed file `from` in place of `to`; on failure `to` is left as it was.
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
    virtual bool Remove(const std::string& path) = 0;

    // Opens an existing file for reading; null when it cannot be opened. Closed with Close. A file
    // system that only writes (standard output) opens nothing.
    virtual Handle OpenRead(const std::string& path);
    // Returns the number of bytes read: fewer than asked only at the end of the file or on an error.
    virtual std::size_t Read(Handle file, void* data, std::size_t count);
    // Moves the read position to `position` bytes from the start.
    virtual bool Seek(Handle file, uint64_t position);
    virtual bool Size(Handle file, uint64_t& size);

    static CFileSystem& Active();
    // A null file system restores the standard one.
    static void SetActive(CFileSystem* fileSystem);

protected:
    // The longest path the Windows file calls take (MAX_PATH less the terminator).
    enum { kMaxPathLength = 259 };

    // A name in the directory of `target` that is unlikely to be taken: "~qb", eight random hex
    // digits and `extension`, shortened as far as needed to keep the path within kMaxPathLength
    // when the target's path is. Whether it is free is for the caller to find out.
    static std::string RandomNameBeside(const std::string& target, const char* extension);
};
