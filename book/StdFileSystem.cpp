#include "StdFileSystem.h"

#include <climits>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

std::FILE* Stream(CFileSystem::Handle file) {
    return static_cast<std::FILE*>(file);
}

bool Exists(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::fclose(file);
    return true;
}

// A file without any write permission is one the user protected: a read-only file on Windows.
// Root could write it anyway, so the bits are looked at, not just whether opening it works.
bool IsReadOnly(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::perms permissions = fs::status(fs::path(path), error).permissions();
    return !error && (permissions & (fs::perms::owner_write | fs::perms::group_write |
                                     fs::perms::others_write)) == fs::perms::none;
}

// Only the permission bits can be carried over portably; on Windows they reduce to the read-only
// attribute, which a replaceable target never has.
void KeepPermissions(const std::string& from, const std::string& to) {
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(std::filesystem::path(from), error);
    if (!error)
        std::filesystem::permissions(std::filesystem::path(to), status.permissions(), error);
}

}  // namespace

std::string CStdFileSystem::UnusedNameBeside(const std::string& target, const char* extension) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = RandomNameBeside(target, extension);
        if (!Exists(path))
            return path;
    }
    return std::string();
}

CFileSystem::Handle CStdFileSystem::CreateTemp(const std::string& target, std::string& tempPath) {
    tempPath = UnusedNameBeside(target, ".tmp");
    std::FILE* file = tempPath.empty() ? nullptr : std::fopen(tempPath.c_str(), "wb");
    if (!file) {
        tempPath.clear();
        return nullptr;
    }
    // The writer buffers on its own and must see the count of every write as the system reports it.
    std::setvbuf(file, nullptr, _IONBF, 0);
    return file;
}

std::size_t CStdFileSystem::Write(Handle file, const void* data, std::size_t count) {
    return std::fwrite(data, 1, count, Stream(file));
}

bool CStdFileSystem::Flush(Handle file) {
    return std::fflush(Stream(file)) == 0;
}

bool CStdFileSystem::Close(Handle file) {
    return std::fclose(Stream(file)) == 0;
}

bool CStdFileSystem::Replace(const std::string& from, const std::string& to) {
    bool targetExists = Exists(to);
    if (targetExists) {
        // A target that could not be opened for writing (read-only, or locked by another program)
        // must not be swapped out from under its protection.
        std::FILE* writable = IsReadOnly(to) ? nullptr : std::fopen(to.c_str(), "r+b");
        if (!writable)
            return false;
        std::fclose(writable);
        KeepPermissions(to, from);
    }
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return true;
    if (!targetExists)
        return false;

    // Windows' rename refuses an existing target: move the old file aside, and put it back if the
    // new one cannot take its place.
    std::string aside = UnusedNameBeside(to, ".old");
    if (aside.empty() || std::rename(to.c_str(), aside.c_str()) != 0)
        return false;
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        std::rename(aside.c_str(), to.c_str());
        return false;
    }
    std::remove(aside.c_str());
    return true;
}

bool CStdFileSystem::Remove(const std::string& path) {
    return std::remove(path.c_str()) == 0;
}

CFileSystem::Handle CStdFileSystem::OpenRead(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    // The reader buffers on its own; a stream buffer would only be dropped at every seek.
    if (file)
        std::setvbuf(file, nullptr, _IONBF, 0);
    return file;
}

std::size_t CStdFileSystem::Read(Handle file, void* data, std::size_t count) {
    return std::fread(data, 1, count, Stream(file));
}

// The C library seeks with a signed long, which is 32 bits on Windows.
bool CStdFileSystem::Seek(Handle file, uint64_t position) {
    return position <= static_cast<uint64_t>(LONG_MAX) &&
           std::fseek(Stream(file), static_cast<long>(position), SEEK_SET) == 0;
}

bool CStdFileSystem::Size(Handle file, uint64_t& size) {
    long end = std::fseek(Stream(file), 0, SEEK_END) == 0 ? std::ftell(Stream(file)) : -1;
    if (end < 0)
        return false;
    size = static_cast<uint64_t>(end);
    return true;
}
