#include "WinFileSystem.h"

#include <windows.h>

namespace {

HANDLE Win(CFileSystem::Handle file) {
    return static_cast<HANDLE>(file);
}

// Attributes that say how the user wants the book kept; the new file takes them over.
const DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                              FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// One WriteFile or ReadFile call takes a DWORD count; larger blocks go in slices.
const std::size_t kMaxSlice = 64 * 1024 * 1024;

// Moves `count` bytes with call(offset, slice, &moved), slice by slice. It goes on after a short
// call: only a failed one or one that moves nothing ends it, so the count returned is every byte
// the system moved.
template <typename Call>
std::size_t InSlices(std::size_t count, Call call) {
    std::size_t moved = 0;
    while (moved < count) {
        std::size_t slice = count - moved < kMaxSlice ? count - moved : kMaxSlice;
        DWORD done = 0;
        if (!call(moved, static_cast<DWORD>(slice), &done) || done == 0)
            break;
        moved += done;
    }
    return moved;
}

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

std::size_t CWinFileSystem::Write(Handle file, const void* data, std::size_t count) {
    const char* bytes = static_cast<const char*>(data);
    return InSlices(count, [&](std::size_t offset, DWORD slice, DWORD* done) {
        return WriteFile(Win(file), bytes + offset, slice, done, nullptr) != 0;
    });
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

// Shared as the C library's fopen shares: another program may keep the book open, even for writing.
CFileSystem::Handle CWinFileSystem::OpenRead(const std::string& path) {
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

std::size_t CWinFileSystem::Read(Handle file, void* data, std::size_t count) {
    char* bytes = static_cast<char*>(data);
    return InSlices(count, [&](std::size_t offset, DWORD slice, DWORD* done) {
        return ReadFile(Win(file), bytes + offset, slice, done, nullptr) != 0;
    });
}

bool CWinFileSystem::Seek(Handle file, uint64_t position) {
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(position);
    return SetFilePointerEx(Win(file), distance, nullptr, FILE_BEGIN) != 0;
}

bool CWinFileSystem::Size(Handle file, uint64_t& size) {
    LARGE_INTEGER length;
    if (!GetFileSizeEx(Win(file), &length))
        return false;
    size = static_cast<uint64_t>(length.QuadPart);
    return true;
}
