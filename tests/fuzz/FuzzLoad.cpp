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
    static CBook* measured = new CBook;
    bool accepted = book->LoadFromFile("input.book");
    if (accepted) {
        // What was accepted is what the file holds: never more text than bytes.
        if (book->ContentSize(-1) > size)
            std::abort();
    } else if (book->ChapterCount() != 0 || !book->Author().empty() || !book->Title().empty()) {
        std::abort();  // a rejected file leaves an empty book
    }
    // A load that only measures the texts finds the same book, or refuses it and says why.
    CBook::LoadReport report;
    if (measured->LoadFromFile("input.book", false, report) != accepted || accepted != report.problem.empty())
        std::abort();
    for (int i = 0; accepted && i < book->ChapterCount(); ++i) {
        uint64_t length = static_cast<std::size_t>(i) < report.textSizes.size() ? report.textSizes[i] : 0;
        if (measured->ChapterTitle(i) != book->ChapterTitle(i) || length != book->ChapterText(i).size())
            std::abort();
    }
    if (accepted && measured->ChapterCount() != book->ChapterCount())
        std::abort();
    return 0;
}
