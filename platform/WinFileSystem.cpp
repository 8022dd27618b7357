#include "WinFileSystem.h"

#include <windows.h>

namespace {

HANDLE Win(CFileSystem::Handle file) {
    return static_cast<HANDLE>(file);
}

// Attributes that say how the user wants the book kept; the new file takes them over.
const DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                              FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// One WriteFile call takes a DWORD count; larger blocks go in slices.
const std::size_t kMaxSlice = 64 * 1024 * 1024;

}  // namespace

std::wstring CWinFileSystem::Wide(const std::string& path) const {
    UINT codePage = m_encoding == kUtf8Paths ? CP_UTF8 : CP_ACP;
    int length = MultiByteToWideChar(codePage, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (length > 0)
        MultiByteToWideChar(codePage, 0, path.data(), static_cast<int>(path.size()), &wide[0], length);
    return wide;
}

CFileSystem::Handle CWinFileSystem::CreateTemp(const std::string& target, std::string& tempPath) {
    // CREATE_NEW picks a free name and claims it in one step.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = RandomNameBeside(target, ".tmp");
        HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            tempPath = path;
            return file;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    tempPath.clear();
    return nullptr;
}

// Goes on after a short write: only a failed call or one that takes nothing ends it, so the count
// returned is every byte the system accepted.
std::size_t CWinFileSystem::Write(Handle file, const void* data, std::size_t count) {
    const char* bytes = static_cast<const char*>(data);
    std::size_t written = 0;
    while (written < count) {
        std::size_t slice = count - written < kMaxSlice ? count - written : kMaxSlice;
        DWORD done = 0;
        if (!WriteFile(Win(file), bytes + written, static_cast<DWORD>(slice), &done, nullptr) || done == 0)
            break;
        written += done;
    }
    return written;
}

bool CWinFileSystem::Flush(Handle file) {
    return FlushFileBuffers(Win(file)) != 0;
}

bool CWinFileSystem::Close(Handle file) {
    return CloseHandle(Win(file)) != 0;
}

bool CWinFileSystem::Replace(const std::string& from, const std::string& to) {
    std::wstring target = Wide(to), source = Wide(from);
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // MoveFileEx replaces a read-only file under Wine; the user protected it, so it stays.
        if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
            return false;
        if (attributes & kKeptAttributes)
            SetFileAttributesW(source.c_str(), attributes & kKeptAttributes);
    }
    return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool CWinFileSystem::Remove(const std::string& path) {
    return DeleteFileW(Wide(path).c_str()) != 0;
}
