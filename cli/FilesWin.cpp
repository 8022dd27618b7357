// The tool's file access through the wide-character Windows calls: paths are UTF-8 inside the tool,
// so names outside the ANSI code page work as well as any other.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <memory>

#include "Files.h"
#include "NaturalOrder.h"

namespace {

std::wstring Wide(const std::string& text) {
    int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage) {
    int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    if (length > 0)
        WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), &text[0], length, nullptr,
                            nullptr);
    return text;
}

std::string Utf8(const std::wstring& wide) {
    return Narrow(wide, CP_UTF8);
}

bool HasWildcard(const std::string& operand) {
    return operand.find_first_of("*?") != std::string::npos;
}

// The names in a folder that `pattern` (a folder's entries, or a wildcard) matches.
template <typename Take>
bool FindEach(const std::string& pattern, Take take) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Wide(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            take(Utf8(name), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return true;
}

}  // namespace

std::vector<std::string> CommandLineArguments(int, char**) {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return args;
    for (int i = 1; i < count; ++i)
        args.push_back(Utf8(wide[i]));
    LocalFree(wide);
    return args;
}

// The Windows shells leave wildcards to the program, as the C runtime's own expansion would.
std::vector<std::string> ExpandWildcards(const std::vector<std::string>& operands) {
    std::vector<std::string> expanded;
    for (const std::string& operand : operands) {
        std::vector<std::string> names;
        if (HasWildcard(operand)) {
            FindEach(operand, [&names](const std::string& name, bool folder) {
                if (!folder)
                    names.push_back(name);
            });
        }
        if (names.empty()) {
            expanded.push_back(operand);
            continue;
        }
        SortNaturally(names);
        std::string::size_type separator = LastSeparator(operand);
        std::string folder = separator == std::string::npos ? std::string() : operand.substr(0, separator + 1);
        for (const std::string& name : names)
            expanded.push_back(folder + name);
    }
    return expanded;
}

FileStatus StatusOf(const std::string& path) {
    FileStatus status;
    std::wstring wide = Wide(path);
    struct _stat64 info;
    if (_wstat64(wide.c_str(), &info) != 0) {
        status.error = errno;
        return status;
    }
    status.kind = (info.st_mode & _S_IFREG)   ? FileKind::kRegular
                  : (info.st_mode & _S_IFDIR) ? FileKind::kDirectory
                                              : FileKind::kOther;
    status.size = static_cast<uint64_t>(info.st_size);
    // The volume and file index tell files apart however they are named.
    HANDLE file = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION identity;
    if (file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &identity)) {
        status.volume = identity.dwVolumeSerialNumber;
        status.index = (uint64_t(identity.nFileIndexHigh) << 32) | identity.nFileIndexLow;
    } else {
        status.index = std::hash<std::string>()(path);  // at least the same name is the same file
    }
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return status;
}

// Symbolic links are rare on Windows and the move that replaces the book would replace the link
// itself; the path is taken as it is.
std::string FinalTarget(const std::string& path) {
    return path;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return _wfopen(Wide(path).c_str(), Wide(mode).c_str());
}

bool MakeFolder(const std::string& path) {
    return _wmkdir(Wide(path).c_str()) == 0 || errno == EEXIST;
}

bool ListFolder(const std::string& folder, std::vector<std::string>& names) {
    errno = ENOENT;
    return FindEach(JoinPath(folder, "*"), [&names](const std::string& name, bool) { names.push_back(name); });
}

std::FILE* CreateScratchFile(std::string& path) {
    wchar_t folder[MAX_PATH + 1], name[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH || GetTempFileNameW(folder, L"qb", 0, name) == 0)
        return nullptr;
    std::FILE* file = _wfopen(name, L"w+b");
    if (!file) {
        DeleteFileW(name);
        return nullptr;
    }
    path = Utf8(name);
    return file;
}

bool RemoveFile(const std::string& path) {
    return DeleteFileW(Wide(path).c_str()) != 0;
}

void UseBinaryMode(std::FILE* stream) {
    _setmode(_fileno(stream), _O_BINARY);
}
