#include "TextOptions.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "Arguments.h"
#include "SystemCodePage.h"

namespace {

struct SEncodingName {
    const char* name;
    ETextEncoding encoding;
};

const SEncodingName kEncodingNames[] = {
    {"auto", ETextEncoding::Auto},
    {"utf-8", ETextEncoding::Utf8},
    {"utf-16", ETextEncoding::Utf16},
    {"ansi", ETextEncoding::Ansi},
};

bool SameName(const std::string& given, const char* name) {
    if (given.size() != std::strlen(name))
        return false;
    for (std::size_t i = 0; i < given.size(); ++i) {
        char c = given[i];
        if ((c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c) != name[i])
            return false;
    }
    return true;
}

const char* NameOf(ETextEncoding encoding) {
    for (const SEncodingName& entry : kEncodingNames) {
        if (entry.encoding == encoding)
            return entry.name;
    }
    return "ansi";
}

bool ParseCodePage(const std::string& text, unsigned& number) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    unsigned long value = std::strtoul(text.c_str(), nullptr, 10);
    number = static_cast<unsigned>(value);
    return value >= 1 && value <= 65535;
}

// The lines of a small text file, with or without CR before the LF.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::string::size_type begin = 0; begin < text.size();) {
        std::string::size_type end = text.find('\n', begin);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(begin, end - begin);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        begin = end + 1;
    }
    return lines;
}

}  // namespace

const char kFolderEncodingName[] = "encoding";

bool ReadTextOptions(const CArguments& arguments, const std::vector<const char*>& encodings, STextOptions& options) {
    if (const std::string* given = arguments.Value("--encoding")) {
        bool bKnown = false;
        for (const char* name : encodings) {
            if (SameName(*given, name)) {
                for (const SEncodingName& entry : kEncodingNames) {
                    if (std::strcmp(entry.name, name) == 0)
                        options.encoding = entry.encoding;
                }
                bKnown = true;
            }
        }
        if (!bKnown) {
            std::string names;
            for (const char* name : encodings)
                names += std::string(names.empty() ? "" : ", ") + name;
            std::fprintf(stderr, "quire: unknown encoding '%s' (it is one of %s)\n", given->c_str(), names.c_str());
            return false;
        }
        options.bEncodingGiven = true;
    }
    options.nCodePage = SystemAnsiCodePage();
    if (const std::string* given = arguments.Value("--codepage")) {
        if (!ParseCodePage(*given, options.nCodePage)) {
            std::fprintf(stderr, "quire: --codepage takes a code page number, as 1252, not '%s'\n", given->c_str());
            return false;
        }
        options.bCodePageGiven = true;
    }
    options.bStrict = arguments.Has("--strict");
    options.bCrLf = !arguments.Has("--keep-line-breaks");
    return true;
}

std::unique_ptr<CCodePage> OpenBookCodePage(unsigned number, const std::string& where) {
    std::unique_ptr<CCodePage> codePage = OpenCodePage(number);
    if (!codePage)
        std::fprintf(stderr, "quire: %scode page %u is not known on this system\n", where.c_str(), number);
    return codePage;
}

std::string FormatFolderEncoding(const SFolderEncoding& folder) {
    std::string text = std::string("encoding ") + NameOf(folder.encoding) + "\ncodepage " +
                       std::to_string(folder.nCodePage) + "\n";
    for (const std::string& name : folder.keptAsIs)
        text += "ansi " + name + "\n";
    return text;
}

bool ParseFolderEncoding(const std::string& text, SFolderEncoding& folder, std::string& problem) {
    folder = SFolderEncoding();
    bool bEncoding = false;
    std::size_t nLine = 0;
    for (const std::string& line : Lines(text)) {
        ++nLine;
        std::string::size_type space = line.find(' ');
        std::string key = line.substr(0, space);
        std::string value = space == std::string::npos ? std::string() : line.substr(space + 1);
        bool bRead = !value.empty();
        if (key == "encoding" && (SameName(value, "utf-8") || SameName(value, "ansi"))) {
            folder.encoding = SameName(value, "utf-8") ? ETextEncoding::Utf8 : ETextEncoding::Ansi;
            bEncoding = true;
        } else if (key == "codepage") {
            bRead = ParseCodePage(value, folder.nCodePage);
        } else if (key == "ansi" && bRead) {
            folder.keptAsIs.insert(value);
        } else {
            bRead = line.empty();
        }
        if (!bRead) {
            problem = "line " + std::to_string(nLine) + " is not understood";
            return false;
        }
    }
    if (!bEncoding || folder.nCodePage == 0) {
        problem = "it does not name both the encoding and the code page";
        return false;
    }
    return true;
}

bool Utf8OfBookText(const CCodePage& codePage, const std::string& bytes, std::string& utf8) {
    utf8.clear();
    for (char32_t ch : codePage.Decode(bytes))
        utf8 += Utf8FromChar(ch);
    CTextConverter::Options back;
    back.encoding = ETextEncoding::Utf8;
    back.bCrLf = false;
    SConvertedText read = CTextConverter(codePage, back).Convert(utf8);
    return read.lost.empty() && read.text == bytes;
}

SConvertedText ConvertName(const CCodePage& codePage, const std::string& name) {
    CTextConverter::Options options;
#ifdef _WIN32
    options.encoding = ETextEncoding::Utf8;  // from the wide command line and file calls
#endif
    options.bCrLf = false;
    SConvertedText converted = CTextConverter(codePage, options).Convert(name);
    if (converted.encoding == ETextEncoding::Binary)
        converted.text = name;  // a name is never refused: its bytes as they are
    return converted;
}

void ReportLosses(const std::string& where, std::vector<SLostCharacter> lost, bool bStrict) {
    if (lost.empty())
        return;
    SConvertedText converted;
    converted.lost = std::move(lost);
    std::string text;
    for (char c : DescribeLosses(converted))
        text += c == '\n' ? std::string("\n  ") : std::string(1, c);
    std::fprintf(stderr, "quire: %s%s: %s\n", bStrict ? "" : "warning: ", where.c_str(), text.c_str());
}
