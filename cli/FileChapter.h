#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "MemberSource.h"
#include "TextConverter.h"

// A chapter text read from its file while the book is written, a piece at a time. The file is
// opened only when its turn comes, so a book of thousands of files holds one open at a time.
// Text that needs converting into the book's code page is converted piece by piece as well.
class CFileChapter : public CMemberSource {
public:
    // `length`: the file's size when it was looked at; a file that then changes fails the write.
    CFileChapter(std::string path, uint64_t length);

    // Decides how the file's text comes into the book, as the window's import does, from the
    // file's head: text already in the book's code page, and anything that is not text, is taken
    // byte for byte; decoded text is converted once here to learn its length and its losses.
    // False, having told why, when the file cannot be read. `codePage` must outlive the write.
    bool Examine(const CCodePage& codePage, const CTextConverter::Options& options, std::vector<SLostCharacter>& lost);

    uint64_t Length() const override { return m_nLength; }
    std::size_t Read(unsigned char* buffer, std::size_t capacity) override;
    bool AtEnd() override;

private:
    bool Open();
    // The next converted piece into m_strPending; false when the file cannot be read.
    bool Refill();
    // Tells the writer's user what went wrong with the file.
    void Report(const std::string& why) const;

    std::string m_strPath;
    uint64_t m_nLength;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> m_file;
    // Set by Examine for text that is converted.
    ETextEncoding m_encoding = ETextEncoding::Ansi;
    bool m_bBom = false;
    bool m_bCrLf = true;
    const CCodePage* m_pCodePage = nullptr;
    // While a converted text is read.
    std::unique_ptr<CTextStream> m_stream;
    std::string m_strPiece;
    std::string m_strPending;
    std::size_t m_nTaken = 0;
    bool m_bEnded = false;
};

// A chapter text already in memory: one read from standard input or a pipe, whose size is known
// only once it was read.
class CMemoryChapter : public CMemberSource {
public:
    explicit CMemoryChapter(std::string text) : m_strText(std::move(text)), m_nRead(0) {}

    uint64_t Length() const override { return m_strText.size(); }
    std::size_t Read(unsigned char* buffer, std::size_t capacity) override;
    bool AtEnd() override { return m_nRead == m_strText.size(); }

private:
    std::string m_strText;
    std::size_t m_nRead;
};
