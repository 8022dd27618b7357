#pragma once

#include <cstddef>
#include <cstdint>

// Where the data of a member come from when they are not in memory: the writer reads them in
// pieces while it writes the member, so a file of any size is written with little memory.
class CMemberSource {
public:
    // How many bytes the member has; asked before any is read.
    virtual uint64_t Length() const = 0;
    // Reads the next bytes, at most `capacity`, into `buffer`. 0 when there are none left or they
    // cannot be read; the source has then told the user what went wrong.
    virtual std::size_t Read(unsigned char* buffer, std::size_t capacity) = 0;
    // Once the member's length was read: true when the source ends there as it should.
    virtual bool AtEnd() = 0;

    virtual ~CMemberSource() {}
};
