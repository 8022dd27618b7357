// libFuzzer target: any bytes, as a file, through the load the programs use.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Book.h"
#include "MemoryFileSystem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The loader reads the input through the file-system seam, as it reads a file in the programs.
    static CMemoryFileSystem* files = [] {
        CMemoryFileSystem* memory = new CMemoryFileSystem;
        CFileSystem::SetActive(memory);
        return memory;
    }();
    files->SetContent(std::string(reinterpret_cast<const char*>(data), size));
    // One book for all inputs, as in the programs: every load starts by emptying it.
    static CBook* book = new CBook;
    if (book->LoadFromFile("input.book")) {
        // What was accepted is what the file holds: never more text than bytes.
        if (book->ContentSize(-1) > size)
            std::abort();
    } else if (book->ChapterCount() != 0 || !book->Author().empty() || !book->Title().empty()) {
        std::abort();  // a rejected file leaves an empty book
    }
    return 0;
}
