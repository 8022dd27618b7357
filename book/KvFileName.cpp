#include "KvFileName.h"

#include <cctype>
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

std::string ProposeKelvraFileName(const char* path, const std::function<bool(const std::string&)>& taken) {
    const char* backslash = std::strrchr(path, '\\');
    std::string name = backslash ? backslash + 1 : path;
    auto trimEnds = [](std::string& text) {
        while (!text.empty() && IsOneOf(text.back(), kNotAtEnds))
            text.pop_back();
        while (!text.empty() && IsOneOf(text.front(), kNotAtEnds))
            text.erase(0, 1);
    };
    trimEnds(name);
    const std::string kExtension = ".book";
    std::string tail = name.size() >= kExtension.size() ? name.substr(name.size() - kExtension.size()) : "";
    for (char& c : tail)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (tail == kExtension)
        name.erase(name.size() - kExtension.size());
    std::string stem;
    for (char c : name) {
        if (IsOneOf(c, kAllowed))
            stem += c;
        else if (stem.empty() || stem.back() != '_')
            stem += '_';
    }
    trimEnds(stem);
    if (stem.empty())
        stem = "book";
    const std::size_t kMaxStem = 31 - kExtension.size();
    std::string candidate;
    for (int number = 1; number < 1000; ++number) {
        std::string suffix = number == 1 ? "" : "(" + std::to_string(number) + ")";
        candidate = stem.substr(0, kMaxStem - suffix.size()) + suffix + kExtension;
        if (!taken || !taken(candidate))
            break;
    }
    return candidate;
}
