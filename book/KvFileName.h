#pragma once

// The handheld's file-name rule, applied to the part of `path` after its last backslash: 1 to 31
// bytes of letters, digits and "-_+.()", neither beginning nor ending with '-', '+' or '.'.
bool IsValidKelvraFileName(const char* path);
