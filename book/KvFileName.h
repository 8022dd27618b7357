#pragma once

#include <cstddef>

// The handheld's file-name rule, applied to the part of `path` after its last backslash: 1 to 31
// bytes of letters, digits and "-_+.()", neither beginning nor ending with '-', '+' or '.'.
bool IsValidKelvraFileName(const char* path);

// Why the name part of `path` breaks that rule ("longer than 31 characters", ...), or null when
// it obeys it. `position`, when given, receives the offset in the name of the character at fault.
const char* KelvraFileNameProblem(const char* path, std::size_t* position = nullptr);
