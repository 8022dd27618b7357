#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Files as the quire tool names them. Elsewhere paths are bytes as given; on Windows the tool
// takes its command line as wide characters and keeps paths in UTF-8, so that any name the file
// system can hold works, and the calls underneath are the wide ones.

enum class FileKind { kMissing, kRegular, kDirectory, kOther };

struct FileStatus {
    FileKind kind = FileKind::kMissing;
    int error = 0;  // errno when the file could not be looked at; 0 when it could
    uint64_t size = 0;
    // Together they tell a file from every other one, whatever path reaches it.
    uint64_t volume = 0;
    uint64_t index = 0;
};

// The command's arguments: UTF-8 from the wide command line on Windows, argv elsewhere.
std::vector<std::string> CommandLineArguments(int argc, char** argv);
// Operands with '*' or '?' replaced by the files they match, in natural order, where no shell
// did it before (Windows); a pattern that matches nothing stays as it is.
std::vector<std::string> ExpandWildcards(const std::vector<std::string>& operands);

// Follows symbolic links.
FileStatus StatusOf(const std::string& path);
bool IsSameFile(const FileStatus& one, const FileStatus& other);
// Where a write to `path` lands: the file at the end of its symbolic links, which need not exist
// yet; `path` itself when it is no link.
std::string FinalTarget(const std::string& path);

// Set errno on failure.
std::FILE* OpenFile(const std::string& path, const char* mode);
bool MakeFolder(const std::string& path);
// The names of the entries of `folder`, without "." and "..".
bool ListFolder(const std::string& folder, std::vector<std::string>& names);
// A new empty file in the system's temporary folder, named in `path`, open for writing; the caller
// removes it.
std::FILE* CreateScratchFile(std::string& path);
bool RemoveFile(const std::string& path);
void UseBinaryMode(std::FILE* stream);

// The text of an errno value, as the system says it.
std::string ErrorText(int error);

std::string::size_type LastSeparator(const std::string& path);
std::string JoinPath(const std::string& folder, const std::string& name);
