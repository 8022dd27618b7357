#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ContainerWriter.h"

class CMemberSource;

// A book written straight from where its chapter texts lie, without holding them: the file is
// byte for byte what CBook saves with the same strings, through the same safe save, and the
// memory it takes does not grow with the texts.
class CStreamedBook : public CContainerWriter {
public:
    CStreamedBook(std::string author, std::string title);

    // False when the book would have more chapters than a file can name. The source must outlive
    // Write.
    bool AddChapter(const std::string& title, CMemberSource& source);
    // Writes the book to `path`; the file there is replaced only once all of it was written.
    bool Write(const char* path);

private:
    bool QueueMembers();

    std::string m_strAuthor;
    std::string m_strTitle;
    std::vector<std::pair<std::string, CMemberSource*>> m_chapters;
    std::size_t m_nNames;  // bytes of the names block
};
