#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "MemberSource.h"

// A chapter text read from its file while the book is written, a piece at a time. The file is
// opened only when its turn comes, so a book of thousands of files holds one open at a time.
class CFileChapter : public CMemberSource {
public:
    // `length`: the file's size when it was looked at; a file that then changes fails the write.
    CFileChapter(std::string path, uint64_t length);

    uint64_t Length() const override { return m_nLength; }
    std::size_t Read(unsigned char* buffer, std::size_t capacity) override;
    bool AtEnd() override;

private:
    bool Open();
    // Tells the writer's user what went wrong with the file.
    void Report(const std::string& why) const;

    std::string m_strPath;
    uint64_t m_nLength;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> m_file;
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
