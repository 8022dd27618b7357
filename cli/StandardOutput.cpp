#include "StandardOutput.h"

#include <cstdio>

#include "Files.h"

CFileSystem::Handle CStandardOutput::CreateTemp(const std::string&, std::string& tempPath) {
    tempPath.clear();  // nothing to remove after a failure
    UseBinaryMode(stdout);
    return stdout;
}

std::size_t CStandardOutput::Write(Handle, const void* data, std::size_t count) {
    return std::fwrite(data, 1, count, stdout);
}

bool CStandardOutput::Flush(Handle) {
    return std::fflush(stdout) == 0;
}

bool CStandardOutput::Close(Handle) {
    return !std::ferror(stdout);
}

bool CStandardOutput::Replace(const std::string&, const std::string&) {
    return true;
}

bool CStandardOutput::Remove(const std::string&) {
    return true;
}

CFileSystem::Handle CStandardOutput::OpenRead(const std::string&) {
    return nullptr;
}

std::size_t CStandardOutput::Read(Handle, void*, std::size_t) {
    return 0;
}

bool CStandardOutput::Seek(Handle, uint64_t) {
    return false;
}

bool CStandardOutput::Size(Handle, uint64_t&) {
    return false;
}
