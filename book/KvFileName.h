#pragma once

#include <cstddef>
#include <functional>
#include <string>

// The handheld's file-name rule, applied to the part of `path` after its last backslash: 1 to 31
// bytes of letters, digits and "-_+.()", neither beginning nor ending with '-', '+' or '.'.
bool IsValidKelvraFileName(const char* path);

// Why the name part of `path` breaks that rule ("longer than 31 characters", ...), or null when
// it obeys it. `position`, when given, receives the offset in the name of the character at fault.
const char* KelvraFileNameProblem(const char* path, std::size_t* position = nullptr);

// A name the handheld accepts, made from the name part of `path`: each byte the rule does not allow
// becomes '_' (a run of them one '_'), the characters a name may not begin or end with go from
// its ends, and ".book" ends it within 31 bytes. While `taken` says a name is in use, "(2)",
// "(3)", ... go before the extension.
std::string ProposeKelvraFileName(const char* path, const std::function<bool(const std::string&)>& taken);
