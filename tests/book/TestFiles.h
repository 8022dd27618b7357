#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Whole-file reads and writes, and byte strings written as hex for readable expectations.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// A file or a folder.
bool PathExists(const std::string& path);
void MakeFolder(const std::string& path);
// Names of the entries of `folder`, sorted.
std::vector<std::string> FolderNames(const std::string& folder);
// Deterministic bytes that differ from one position to the next.
std::string PatternBytes(std::size_t size, unsigned seed = 1);
// "4B 76 00" and the like; blanks are ignored.
std::string FromHex(const std::string& hex);
