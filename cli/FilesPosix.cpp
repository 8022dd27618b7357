// The tool's file access through the POSIX calls.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "Files.h"

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::vector<std::string> ExpandWildcards(const std::vector<std::string>& operands) {
    return operands;  // the shell has done it
}

FileStatus StatusOf(const std::string& path) {
    FileStatus status;
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        status.error = errno;
        return status;
    }
    status.kind = S_ISREG(info.st_mode)   ? FileKind::kRegular
                  : S_ISDIR(info.st_mode) ? FileKind::kDirectory
                                          : FileKind::kOther;
    status.size = static_cast<uint64_t>(info.st_size);
    status.volume = static_cast<uint64_t>(info.st_dev);
    status.index = static_cast<uint64_t>(info.st_ino);
    return status;
}

std::string FinalTarget(const std::string& path) {
    std::string current = path;
    // As many links as the system itself follows before it gives up.
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info;
        if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
        ssize_t length = readlink(current.c_str(), &target[0], target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size())
            return current;
        target.resize(static_cast<std::size_t>(length));
        std::string::size_type slash = current.rfind('/');
        if (target[0] != '/' && slash != std::string::npos)
            target = current.substr(0, slash + 1) + target;
        current = target;
    }
    return current;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

bool MakeFolder(const std::string& path) {
    return mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
}

bool ListFolder(const std::string& folder, std::vector<std::string>& names) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir)
        return false;
    errno = 0;
    while (const dirent* entry = readdir(dir.get())) {
        std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    return errno == 0;
}

std::FILE* CreateScratchFile(std::string& path) {
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = JoinPath(folder && *folder ? folder : "/tmp", "quire-XXXXXX");
    int descriptor = mkstemp(&pattern[0]);
    if (descriptor < 0)
        return nullptr;
    std::FILE* file = fdopen(descriptor, "w+b");
    if (!file) {
        close(descriptor);
        unlink(pattern.c_str());
        return nullptr;
    }
    path = pattern;
    return file;
}

bool RemoveFile(const std::string& path) {
    return unlink(path.c_str()) == 0;
}

void UseBinaryMode(std::FILE*) {}
