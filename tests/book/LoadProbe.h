#pragma once

#include <cstddef>
#include <string>

class CBook;

// Loads a file into a book as the programs do and checks what must hold for any input: a time
// proportional to the file's size, memory bounded by it, no more text than the file holds, and an
// empty book after a rejection. Needs the allocation meter linked into the test program.
class CLoadProbe {
public:
    // Whatever a file claims, a load holds at most about twice its bytes (a text growing by
    // appended members) plus the chapter records up to the chapter bound.
    static const std::size_t kSlack;

    CLoadProbe(CBook& book, const std::string& path);

    // The verdict of LoadFromFile, after the checks.
    bool Load();
    // Of the last load: the highest total allocated at once.
    std::size_t Peak() const { return m_nPeak; }

private:
    CBook& m_book;
    std::string m_strPath;
    std::size_t m_nPeak;
};
