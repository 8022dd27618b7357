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

const char* KelvraFileNameProblem(const char* path, std::size_t* position) {
    const char* backslash = std::strrchr(path, '\\');
    const char* name = backslash ? backslash + 1 : path;
    std::size_t length = std::strlen(name);
    std::size_t at = 0;
    const char* problem = nullptr;
    if (length == 0) {
        problem = "the name is empty";
    } else if (length >= 32) {
        problem = "longer than 31 characters";
    } else if (!IsOneOf(name[0], kAllowed) || IsOneOf(name[0], kNotAtEnds)) {
        problem = "the first character must be a letter, a digit or one of _()";
    } else {
        for (at = 1; at < length && IsOneOf(name[at], kAllowed);)
            ++at;
        if (at < length) {
            problem = "only letters, digits and -_+.() are allowed";
        } else if (IsOneOf(name[length - 1], kNotAtEnds)) {
            at = length - 1;
            problem = "the last character must not be - + or .";
        }
    }
    if (position)
        *position = at;
    return problem;
}

bool IsValidKelvraFileName(const char* path) {
    return KelvraFileNameProblem(path) == nullptr;
}
