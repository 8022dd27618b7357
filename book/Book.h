#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Chapter.h"
#include "ContainerWriter.h"

// The one document: author, title and the chapters in reading order. Indexes are zero-based;
// operations that read or write a chapter's strings create the missing chapters up to the index.
class CBook : public CContainerWriter {
public:
    // No container can hold more chapter members than this, so no load needs more chapters, and
    // an index beyond it is refused instead of growing the book without end.
    enum { kMaxChapters = 32000 };
    // The most chapters a saved book can hold: beyond it their member names overflow the
    // container's names block, so SaveToFile refuses the book.
    enum { kMaxSavedChapters = 1895 };

    CBook();

    // False, with the book untouched, when `index` lies beyond kMaxChapters.
    bool EnsureChapter(uint32_t index);
    void InsertChapter(int32_t index);
    void DeleteChapter(uint32_t index);
    void MoveChapterUp(int32_t index);
    void MoveChapterDown(int32_t index);
    void Clear();

    void SetAuthor(const std::string& author);
    void SetTitle(const std::string& title);
    void SetChapterTitle(uint32_t index, const std::string& title);
    void SetChapterText(uint32_t index, const std::string& text);
    const std::string& ChapterText(uint32_t index);

    int ChapterCount() const;
    const std::string& Author() const { return m_strAuthor; }
    const std::string& Title() const { return m_strTitle; }
    // An empty string for a chapter that does not exist; never grows the book.
    const std::string& ChapterTitle(uint32_t index) const;
    // Bytes of author, title, all chapter titles and all texts but the one at `excludedIndex`.
    uint32_t ContentSize(int32_t excludedIndex) const;
    // Words and characters of a chapter's text, and of all texts but the one at `excludedIndex`.
    // Each text is counted once until it changes, so asking at every keystroke costs little.
    STextCounts ChapterCounts(uint32_t index) const;
    STextCounts TextCounts(int32_t excludedIndex) const;

    bool SaveToFile(const char* path);
    // Queues on `writer` the members every book file begins with, in the order a book file holds
    // them; `contents`, the chapter titles each but the last followed by a line feed, is null for
    // a book without chapters. False when one of them could not be queued.
    static bool QueueHead(CContainerWriter& writer,
                          const std::string& author,
                          const std::string& title,
                          const std::string* contents);
    bool LoadFromFile(const char* path);

    // What a load found, for a tool that reports on a file.
    struct LoadReport {
        bool opened = false;       // false: the file could not be opened or sized
        bool outOfMemory = false;  // a member, or the book, did not fit in memory
        std::string problem;       // why an opened file was refused: the first thing found wrong
        std::vector<uint64_t> textSizes;  // of each chapter, when the texts were passed over
    };
    // LoadFromFile, reporting. With `readTexts` false the chapter texts are only measured, not
    // read: the verdict is the same, the book holds the titles and empty texts.
    bool LoadFromFile(const char* path, bool readTexts, LoadReport& report);

private:
    friend class CBookLoader;

    // Queues the members the book is saved as; false when one of them could not be queued.
    bool QueueMembers();

    std::string m_strAuthor;
    std::string m_strTitle;
    std::vector<CChapter> m_chapters;
};

extern CBook theBook;
