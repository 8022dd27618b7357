#pragma once

// The text of a .txt or .rtf file as a chapter takes it, in the book's code page: read once for
// Add Text from File, for Add Chapters from Files and for files dropped on the window, so that
// every way in converts a file the same way.
#include <string>

#include "Framework.h"
#include "TextConverter.h"

namespace FileText {

enum class EResult {
    Text,      // `text` holds the converted text; `text.lost` what the book cannot hold
    Empty,     // no bytes, or nothing but a byte-order mark; or RTF that yields no text
    Refused,   // not text (`why` says so): a binary file, an RTF file that cannot be decoded safely
    LowMemory,
    OtherType, // neither .txt nor .rtf
};

// The name without its folder.
std::string FileName(const std::string& path);
// Lower case, without the full stop: "txt", "rtf" or whatever the name ends in.
std::string Extension(const std::string& path);

// Reads the file at `path` by its extension. An RTF file is decoded by a hidden rich edit control,
// a child of `owner`. A file that cannot be opened or read throws CFileException.
EResult Read(CWnd& owner, const std::string& path, SConvertedText& text, std::string& why);

}  // namespace FileText
