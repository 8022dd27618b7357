#pragma once

#include <string>

// Whole-file reads and writes, and byte strings written as hex for readable expectations.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// "4B 76 00" and the like; blanks are ignored.
std::string FromHex(const std::string& hex);
