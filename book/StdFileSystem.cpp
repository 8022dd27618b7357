#include "StdFileSystem.h"

#include <chrono>
#include <filesystem>
#include <random>
#include <system_error>

namespace {

bool Exists(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::fclose(file);
    return true;
}

// Everything up to the last separator. Counting '\\' and ':' on every system is harmless: a prefix
// that ends there still names the target's own directory.
std::string DirectoryPrefix(const std::string& path) {
    std::string::size_type end = path.find_last_of("/\\:");
    return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

unsigned NextRandom() {
    static std::mt19937 generator = [] {
        unsigned seed = static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count());
        try {
            seed ^= std::random_device()();
        } catch (...) {
            // the clock alone is good enough to keep two runs apart
        }
        return std::mt19937(seed);
    }();
    return static_cast<unsigned>(generator());
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
    std::string prefix = DirectoryPrefix(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "~qb%08x%s", NextRandom(), extension);
        std::string path = prefix + name;
        if (!Exists(path))
            return path;
    }
    return std::string();
}

std::FILE* CStdFileSystem::CreateTemp(const std::string& target, std::string& tempPath) {
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

std::size_t CStdFileSystem::Write(std::FILE* file, const void* data, std::size_t count) {
    return std::fwrite(data, 1, count, file);
}

bool CStdFileSystem::Flush(std::FILE* file) {
    return std::fflush(file) == 0;
}

bool CStdFileSystem::Close(std::FILE* file) {
    return std::fclose(file) == 0;
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
