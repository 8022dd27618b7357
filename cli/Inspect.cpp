// quire info, unpack, check and check-name: what is in a book, and whether a book or a name is
// right.
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Arguments.h"
#include "Book.h"
#include "BookInput.h"
#include "Commands.h"
#include "Files.h"
#include "Help.h"
#include "KvFileName.h"
#include "Report.h"
#include "TextOptions.h"

namespace {

// The command's one operand list after its options; false (with the status in `status`) when the
// command is done: help was asked for, or the arguments are wrong.
bool ParseCommand(const char* command,
                  CArguments& arguments,
                  const std::vector<std::string>& args,
                  std::size_t operands,
                  int& status) {
    if (!arguments.Parse(args)) {
        status = Usage(command);
        return false;
    }
    if (arguments.Has("--help") || arguments.Has("-h")) {
        PrintHelp(command);
        status = 0;
        return false;
    }
    if (arguments.Operands().size() != operands) {
        status = Usage(command);
        return false;
    }
    return true;
}

// With `readTexts` false the chapter texts are measured, not read: `report` has their sizes.
int LoadBook(const CBookInput& input, bool readTexts, CBook::LoadReport& report) {
    errno = 0;
    if (theBook.LoadFromFile(input.Path().c_str(), readTexts, report))
        return 0;
    if (!report.opened)
        return FailOn(input.Name(), errno ? ErrorText(errno) : "cannot be read");
    if (report.outOfMemory)
        return FailOn(input.Name(), "too large for the memory of this process (" + report.problem + ")");
    return FailOn(input.Name(), "not a book file (" + report.problem + ")");
}

void PrintBytes(const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

bool WriteWholeFile(const std::string& path, const std::string& data) {
    std::FILE* file = OpenFile(path, "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), file) == data.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace

int Info(const std::vector<std::string>& args) {
    CArguments arguments({}, {"-c"});
    int status;
    if (!ParseCommand("info", arguments, args, 1, status))
        return status;
    // Counting words needs the texts; without -c they are only measured, which is much quicker.
    const bool bCounts = arguments.Has("-c");
    CBookInput input;
    CBook::LoadReport report;
    if ((status = input.Open(arguments.Operands()[0])) != 0 || (status = LoadBook(input, bCounts, report)) != 0)
        return status;
    std::printf("Author: ");
    PrintBytes(theBook.Author());
    std::printf("\nTitle: ");
    PrintBytes(theBook.Title());
    std::printf("\nChapters: %d\n", theBook.ChapterCount());
    // The estimate adds up in 32 bits, as the book's own does.
    uint32_t contentSize = theBook.ContentSize(-1);
    for (int i = 0; i < theBook.ChapterCount(); ++i) {
        uint64_t size = bCounts ? theBook.ChapterText(i).size()
                        : static_cast<std::size_t>(i) < report.textSizes.size() ? report.textSizes[i] : 0;
        if (!bCounts)
            contentSize += static_cast<uint32_t>(size);
        std::printf("%d\t%llu\t", i + 1, static_cast<unsigned long long>(size));
        if (bCounts) {
            STextCounts counts = theBook.ChapterCounts(i);
            std::printf("%llu\t%llu\t", static_cast<unsigned long long>(counts.nWords),
                        static_cast<unsigned long long>(counts.nChars));
        }
        PrintBytes(theBook.ChapterTitle(i));
        std::printf("\n");
    }
    std::printf("Book Size ~ %d Kb\n", static_cast<int>(contentSize / 1024 + 1));
    if (bCounts) {
        STextCounts counts = theBook.TextCounts(-1);
        std::printf("Book: %s, %s characters\n", FormatWords(counts.nWords).c_str(), FormatCount(counts.nChars).c_str());
    }
    return std::fflush(stdout) == 0 ? 0 : FailOn("standard output", ErrorText(errno));
}

int Unpack(const std::vector<std::string>& args) {
    CArguments arguments({"--encoding", "--codepage"}, {});
    int status;
    if (!ParseCommand("unpack", arguments, args, 2, status))
        return status;
    STextOptions options;
    options.encoding = ETextEncoding::Ansi;
    if (!ReadTextOptions(arguments, {"ansi", "utf-8"}, options))
        return Usage("unpack");
    SFolderEncoding folderEncoding;
    folderEncoding.encoding = options.encoding;
    folderEncoding.nCodePage = options.nCodePage;
    std::unique_ptr<CCodePage> codePage;
    if (options.encoding == ETextEncoding::Utf8 && !(codePage = OpenBookCodePage(options.nCodePage, "")))
        return options.bCodePageGiven ? Usage("unpack") : 1;
    CBookInput input;
    CBook::LoadReport report;
    if ((status = input.Open(arguments.Operands()[0])) != 0 || (status = LoadBook(input, true, report)) != 0)
        return status;
    const std::string& folder = arguments.Operands()[1];
    if (!MakeFolder(folder))
        return FailOn(folder, ErrorText(errno));
    // A marker left by an earlier unpack would have pack --from misread these texts.
    std::string marker = JoinPath(folder, kFolderEncodingName);
    if (!RemoveFile(marker) && StatusOf(marker).kind != FileKind::kMissing)
        return FailOn(marker, ErrorText(errno));
    std::string contents;
    for (int i = 0; i < theBook.ChapterCount(); ++i)
        contents += theBook.ChapterTitle(i) + '\n';
    struct Item {
        std::string name;
        const std::string& data;
    };
    std::vector<Item> items = {
        {"author", theBook.Author()}, {"title", theBook.Title()}, {"contents", contents}};
    for (int i = 0; i < theBook.ChapterCount(); ++i)
        items.push_back({std::to_string(i + 1) + ".txt", theBook.ChapterText(i)});
    std::string utf8;
    for (const Item& item : items) {
        std::string path = JoinPath(folder, item.name);
        const std::string* data = &item.data;
        if (codePage) {
            if (Utf8OfBookText(*codePage, item.data, utf8)) {
                data = &utf8;
            } else {
                folderEncoding.keptAsIs.insert(item.name);
                std::fprintf(stderr,
                             "quire: warning: %s: left in the book's own bytes: as UTF-8 it would not read back "
                             "the same in code page %u\n",
                             path.c_str(), options.nCodePage);
            }
        }
        if (!WriteWholeFile(path, *data))
            return FailOn(path, ErrorText(errno));
    }
    // Last: a folder with the marker holds all of its texts.
    if (codePage && !WriteWholeFile(marker, FormatFolderEncoding(folderEncoding)))
        return FailOn(marker, ErrorText(errno));
    return 0;
}

int Check(const std::vector<std::string>& args) {
    CArguments arguments({}, {"-q"});
    int status;
    if (!ParseCommand("check", arguments, args, 1, status))
        return status;
    SetQuiet(arguments.Has("-q"));
    CBookInput input;
    CBook::LoadReport report;
    if ((status = input.Open(arguments.Operands()[0])) == 0)
        status = LoadBook(input, false, report);
    SetQuiet(false);
    return status;
}

int CheckName(const std::vector<std::string>& args) {
    CArguments arguments({}, {"-q"});
    int status;
    if (!ParseCommand("check-name", arguments, args, 1, status))
        return status;
    const std::string& name = arguments.Operands()[0];
    std::size_t position;
    const char* problem = KelvraFileNameProblem(name.c_str(), &position);
    if (!problem)
        return 0;
    if (arguments.Has("-q"))
        return 1;
    std::string::size_type backslash = name.rfind('\\');
    std::string fileName = backslash == std::string::npos ? name : name.substr(backslash + 1);
    std::string why = problem;
    if (!fileName.empty() && fileName.size() < 32)  // the fault is one character's
        why += " (character " + std::to_string(position + 1) + ", '" + fileName.substr(position, 1) + "')";
    return FailOn(name, "breaks the handheld's file-name rule: " + why);
}
