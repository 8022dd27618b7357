#include "FileSystem.h"

#include <chrono>
#include <cstdio>
#include <random>

#include "StdFileSystem.h"

namespace {

CFileSystem& Standard() {
    static CStdFileSystem standard;
    return standard;
}

CFileSystem* g_active = nullptr;

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

// Everything up to the last separator. Counting '\\' and ':' on every system is harmless: a prefix
// that ends there still names the target's own directory.
std::string DirectoryPrefix(const std::string& path) {
    std::string::size_type end = path.find_last_of("/\\:");
    return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

}  // namespace

CFileSystem& CFileSystem::Active() {
    return g_active ? *g_active : Standard();
}

void CFileSystem::SetActive(CFileSystem* fileSystem) {
    g_active = fileSystem;
}

std::string CFileSystem::RandomNameBeside(const std::string& target, const char* extension) {
    std::string prefix = DirectoryPrefix(target);
    char name[32];
    std::snprintf(name, sizeof name, "~qb%08x%s", NextRandom(), extension);
    std::string path = prefix + name;
    if (path.size() <= kMaxPathLength || prefix.size() >= kMaxPathLength)
        return path;
    // Beside a target whose path is close to the limit, a shorter name keeps the path within it:
    // the random digits that fit, after as much of "~qb" as leaves room for one. A target's own
    // name is at least one byte long, so there is always room for a digit; a bare digit that is
    // the target's own name is changed.
    std::size_t room = kMaxPathLength - prefix.size();
    std::string digits = std::string(name).substr(3, 8);
    std::string lead = room > 3 ? "~qb" : room > 1 ? "~" : "";
    std::string shortName = lead + digits.substr(0, room - lead.size());
    if (prefix + shortName == target)
        shortName[0] = shortName[0] == '0' ? '1' : '0';
    return prefix + shortName;
}

CFileSystem::Handle CFileSystem::OpenRead(const std::string&) {
    return nullptr;
}

std::size_t CFileSystem::Read(Handle, void*, std::size_t) {
    return 0;
}

bool CFileSystem::Seek(Handle, uint64_t) {
    return false;
}

bool CFileSystem::Size(Handle, uint64_t&) {
    return false;
}
