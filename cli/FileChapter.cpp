#include "FileChapter.h"

#include <cerrno>
#include <cstring>

#include "Files.h"
#include "MessageSink.h"

CFileChapter::CFileChapter(std::string path, uint64_t length)
    : m_strPath(std::move(path)), m_nLength(length), m_file(nullptr, std::fclose) {}

bool CFileChapter::Open() {
    if (m_file)
        return true;
    m_file.reset(OpenFile(m_strPath, "rb"));
    if (!m_file)
        Report(ErrorText(errno));
    return m_file != nullptr;
}

std::size_t CFileChapter::Read(unsigned char* buffer, std::size_t capacity) {
    if (!Open())
        return 0;
    std::size_t count = std::fread(buffer, 1, capacity, m_file.get());
    if (count == 0)
        Report(std::ferror(m_file.get()) ? ErrorText(errno) : "changed while it was read");
    return count;
}

bool CFileChapter::AtEnd() {
    if (!Open())
        return false;
    bool atEnd = std::fgetc(m_file.get()) == EOF && !std::ferror(m_file.get());
    if (!atEnd)
        Report("changed while it was read");
    m_file.reset();
    return atEnd;
}

void CFileChapter::Report(const std::string& why) const {
    ShowMessage((m_strPath + ": " + why).c_str());
}

std::size_t CMemoryChapter::Read(unsigned char* buffer, std::size_t capacity) {
    std::size_t count = std::min(capacity, m_strText.size() - m_nRead);
    std::memcpy(buffer, m_strText.data() + m_nRead, count);
    m_nRead += count;
    return count;
}
