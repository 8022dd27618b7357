// The parts of the tool's file access that are the same on every system.
#include "Files.h"

#include <cstring>

std::string ErrorText(int error) {
    return std::strerror(error);
}

std::string::size_type LastSeparator(const std::string& path) {
#ifdef _WIN32
    return path.find_last_of("/\\:");
#else
    return path.find_last_of('/');
#endif
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || LastSeparator(folder) == folder.size() - 1)
        return folder + name;
    return folder + "/" + name;
}

bool IsSameFile(const FileStatus& one, const FileStatus& other) {
    return one.kind != FileKind::kMissing && other.kind != FileKind::kMissing && one.volume == other.volume &&
           one.index == other.index;
}
