#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "CodePage.h"
#include "TextConverter.h"

class CArguments;

// How pack reads texts and unpack writes them: --encoding, --codepage, --strict and
// --keep-line-breaks as given.
struct STextOptions {
    ETextEncoding encoding = ETextEncoding::Auto;
    bool bEncodingGiven = false;
    unsigned nCodePage = 0;  // the system's when not given
    bool bCodePageGiven = false;
    bool bStrict = false;
    bool bCrLf = true;
};

// Takes the options from `arguments`; `encodings` are the names --encoding accepts. False, having
// said on standard error what is wrong, for a value it does not take.
bool ReadTextOptions(const CArguments& arguments, const std::vector<const char*>& encodings, STextOptions& options);

// The code page, or null having said on standard error that this system does not know it.
std::unique_ptr<CCodePage> OpenBookCodePage(unsigned number, const std::string& where);

// What unpack --encoding utf-8 leaves in its folder for pack --from: the texts' encoding, the
// book's code page, and the files left in the book's own bytes because UTF-8 would not read back
// the same.
struct SFolderEncoding {
    ETextEncoding encoding = ETextEncoding::Ansi;
    unsigned nCodePage = 0;
    std::set<std::string> keptAsIs;
};

extern const char kFolderEncodingName[];
std::string FormatFolderEncoding(const SFolderEncoding& folder);
// False, with what is wrong in `problem`, for a file this tool did not write.
bool ParseFolderEncoding(const std::string& text, SFolderEncoding& folder, std::string& problem);

// `bytes`, text in the code page, as UTF-8, when that UTF-8 read back (as UTF-8, line breaks kept)
// gives the same bytes; false when it would not.
bool Utf8OfBookText(const CCodePage& codePage, const std::string& bytes, std::string& utf8);

// Text of a name or an option (author, title, a file name) as the book keeps it. Names are UTF-8
// on Windows; elsewhere they are taken as UTF-8 when they are valid UTF-8, else as they are.
SConvertedText ConvertName(const CCodePage& codePage, const std::string& name);

// Tells on standard error what `lost` lists, for `where`; a warning unless --strict makes it an
// error.
void ReportLosses(const std::string& where, std::vector<SLostCharacter> lost, bool bStrict);
