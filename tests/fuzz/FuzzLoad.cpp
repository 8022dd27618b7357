// libFuzzer target: any bytes, as a file, through the load the programs use.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "Book.h"

namespace {

// One file per process, rewritten for every input: the loader must see a real file, as it does in
// the programs, with its seeks and its size taken from the file system. It is unlinked at once and
// reached through its descriptor, so that no exit, however abrupt, leaves it behind.
const std::string& InputPath() {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/qbfuzz-XXXXXX";
        int fd = mkstemp(&pattern[0]);
        if (fd < 0)
            std::abort();
        unlink(pattern.c_str());
        return "/proc/self/fd/" + std::to_string(fd);
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(InputPath().c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        std::abort();
    // One book for all inputs, as in the programs: every load starts by emptying it.
    static CBook* book = new CBook;
    if (book->LoadFromFile(InputPath().c_str())) {
        // What was accepted is what the file holds: never more text than bytes.
        if (book->ContentSize(-1) > size)
            std::abort();
    } else if (book->ChapterCount() != 0 || !book->Author().empty() || !book->Title().empty()) {
        std::abort();  // a rejected file leaves an empty book
    }
    return 0;
}
