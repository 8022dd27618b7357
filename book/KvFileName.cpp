#include "KvFileName.h"

#include <cstring>

namespace {

const char kAllowed[] = "qwertyuiopasdfghjklzxcvbnmQWERTYUIOPASDFGHJKLZXCVBNM1234567890-_+.()";
const char kNotAtEnds[] = "-+.";

// strchr would also find the terminating NUL.
bool IsOneOf(char c, const char* set) {
    return c != '\0' && std::strchr(set, c) != nullptr;
}

}  // namespace

bool IsValidKelvraFileName(const char* path) {
    const char* backslash = std::strrchr(path, '\\');
    const char* name = backslash ? backslash + 1 : path;
    std::size_t length = std::strlen(name);
    if (length >= 32 || length == 0)
        return false;
    if (!IsOneOf(name[0], kAllowed) || IsOneOf(name[0], kNotAtEnds))
        return false;
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsOneOf(name[i], kAllowed))
            return false;
    }
    return !IsOneOf(name[length - 1], kNotAtEnds);
}
