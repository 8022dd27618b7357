// quire: builds and inspects ".book" files from scripts, with the same book code as the window
// program.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <direct.h>
#else
#include <sys/stat.h>
#endif

#include "Book.h"
#include "KvFileName.h"
#include "MessageSink.h"
#ifdef _WIN32
#include "WinFileSystem.h"
#endif

namespace {

const char kUsage[] = "usage: quire pack|info|unpack|check|check-name ... (quire --help for details)";

const char kHelp[] =
    "quire builds and inspects Kelvra \".book\" files.\n"
    "\n"
    "  quire pack -o OUT.book [-a AUTHOR] [-t TITLE] FILE...\n"
    "      One chapter per FILE, in the order given. The chapter's title is the file's\n"
    "      name without its directory and its last extension; its text is the file's\n"
    "      bytes, unchanged. Without FILE the book has no chapters.\n"
    "  quire pack --from DIR -o OUT.book [-a AUTHOR] [-t TITLE]\n"
    "      Builds the book from a folder written by unpack; -a and -t override it.\n"
    "  quire info BOOK\n"
    "      Prints the author, the title, the number of chapters, one line per chapter\n"
    "      (number, tab, text size in bytes, tab, title) and the size estimate.\n"
    "  quire unpack BOOK DIR\n"
    "      Writes DIR/author, DIR/title, DIR/contents (each chapter title followed by a\n"
    "      line feed) and the chapter texts DIR/1.txt ... DIR/N.txt, byte for byte, so\n"
    "      that pack --from DIR writes the book again byte for byte.\n"
    "  quire check BOOK\n"
    "      Exit status 0 for a valid book, 1 with \"Invalid file format\" otherwise.\n"
    "  quire check-name NAME\n"
    "      Exit status 0 when NAME obeys the handheld's file-name rule, 1 otherwise.\n"
    "\n"
    "pack warns when the name of OUT breaks the file-name rule, and writes the book anyway.\n"
    "Exit status: 0 done, 1 failed, 2 bad arguments.\n";

int Usage() {
    std::fprintf(stderr, "%s\n", kUsage);
    return 2;
}

void PrintMessage(const char* text) {
    std::fprintf(stderr, "quire: %s\n", text);
}

int Fail(const char* what, const std::string& path) {
    std::fprintf(stderr, "quire: %s %s\n", what, path.c_str());
    return 1;
}

void PrintBytes(const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

bool ReadWholeFile(const std::string& path, std::string& data) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    data.clear();
    char buffer[64 * 1024];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        data.append(buffer, count);
    bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

bool WriteWholeFile(const std::string& path, const std::string& data) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), file) == data.size();
    return std::fclose(file) == 0 && ok;
}

bool MakeDirectory(const std::string& path) {
#ifdef _WIN32
    int result = _mkdir(path.c_str());
#else
    int result = mkdir(path.c_str(), 0777);
#endif
    return result == 0 || errno == EEXIST;
}

std::string::size_type LastSeparator(const std::string& path) {
#ifdef _WIN32
    return path.find_last_of("/\\:");
#else
    return path.find_last_of('/');
#endif
}

std::string FileNameOf(const std::string& path) {
    std::string::size_type separator = LastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

// A leading dot starts a hidden file's name, not an extension.
std::string ChapterTitleOf(const std::string& path) {
    std::string name = FileNameOf(path);
    std::string::size_type dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string InFolder(const std::string& folder, const std::string& name) {
    return folder + "/" + name;
}

bool LoadFolder(const std::string& folder, CBook& book) {
    std::string author, title, contents;
    if (!ReadWholeFile(InFolder(folder, "author"), author) ||
        !ReadWholeFile(InFolder(folder, "title"), title) ||
        !ReadWholeFile(InFolder(folder, "contents"), contents)) {
        Fail("cannot read author, title and contents in", folder);
        return false;
    }
    book.SetAuthor(author);
    book.SetTitle(title);
    uint32_t chapter = 0;
    for (std::string::size_type begin = 0; begin < contents.size(); ++chapter) {
        std::string::size_type end = contents.find('\n', begin);
        if (end == std::string::npos)
            end = contents.size();
        std::string text, textPath = InFolder(folder, std::to_string(chapter + 1) + ".txt");
        if (!ReadWholeFile(textPath, text)) {
            Fail("cannot read", textPath);
            return false;
        }
        book.SetChapterTitle(chapter, contents.substr(begin, end - begin));
        book.SetChapterText(chapter, text);
        begin = end + 1;
    }
    return true;
}

int Pack(const std::vector<std::string>& args) {
    std::string out, folder;
    const std::string *author = nullptr, *title = nullptr;
    std::vector<std::string> files;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options && (arg == "-o" || arg == "-a" || arg == "-t" || arg == "--from")) {
            if (++i == args.size())
                return Usage();
            if (arg == "-o")
                out = args[i];
            else if (arg == "-a")
                author = &args[i];
            else if (arg == "-t")
                title = &args[i];
            else
                folder = args[i];
        } else if (options && arg == "--") {
            options = false;
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            return Usage();
        } else {
            files.push_back(arg);
        }
    }
    if (out.empty() || (!folder.empty() && !files.empty()))
        return Usage();

    CBook& book = theBook;
    book.Clear();
    if (!folder.empty() && !LoadFolder(folder, book))
        return 1;
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::string text;
        if (!ReadWholeFile(files[i], text))
            return Fail("cannot read", files[i]);
        book.SetChapterTitle(static_cast<uint32_t>(i), ChapterTitleOf(files[i]));
        book.SetChapterText(static_cast<uint32_t>(i), text);
    }
    if (author)
        book.SetAuthor(*author);
    if (title)
        book.SetTitle(*title);

    std::string name = FileNameOf(out);
    if (!IsValidKelvraFileName(name.c_str()))
        std::fprintf(stderr, "quire: warning: Invalid Kelvra file name \"%s\"\n", name.c_str());
    if (!book.SaveToFile(out.c_str())) {
        if (book.ChapterCount() > 1895)
            std::fprintf(stderr, "quire: a book file holds at most 1895 chapters\n");
        return Fail("cannot save", out);
    }
    return 0;
}

bool Load(const std::string& path) {
    if (theBook.LoadFromFile(path.c_str()))
        return true;
    std::fprintf(stderr, "Invalid file format\n");
    return false;
}

int Info(const std::string& path) {
    if (!Load(path))
        return 1;
    std::printf("Author: ");
    PrintBytes(theBook.Author());
    std::printf("\nTitle: ");
    PrintBytes(theBook.Title());
    std::printf("\nChapters: %d\n", theBook.ChapterCount());
    for (int i = 0; i < theBook.ChapterCount(); ++i) {
        std::printf("%d\t%lu\t", i + 1, static_cast<unsigned long>(theBook.ChapterText(i).size()));
        PrintBytes(theBook.ChapterTitle(i));
        std::printf("\n");
    }
    std::printf("Book Size ~ %d Kb\n", static_cast<int>(theBook.ContentSize(-1) / 1024 + 1));
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int Unpack(const std::string& path, const std::string& folder) {
    if (!Load(path))
        return 1;
    if (!MakeDirectory(folder))
        return Fail("cannot create", folder);
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
    for (const Item& item : items) {
        if (!WriteWholeFile(InFolder(folder, item.name), item.data))
            return Fail("cannot write", InFolder(folder, item.name));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    SetMessageSink(PrintMessage);
#ifdef _WIN32
    // Saves through the Windows calls: the new file takes the old one's place in one move.
    static CWinFileSystem windowsFiles;
    CFileSystem::SetActive(&windowsFiles);
#endif
    if (argc < 2)
        return Usage();
    std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "--help" || command == "-h") {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (command == "pack")
        return Pack(args);
    if (command == "info" && args.size() == 1)
        return Info(args[0]);
    if (command == "unpack" && args.size() == 2)
        return Unpack(args[0], args[1]);
    if (command == "check" && args.size() == 1)
        return Load(args[0]) ? 0 : 1;
    if (command == "check-name" && args.size() == 1)
        return IsValidKelvraFileName(args[0].c_str()) ? 0 : 1;
    return Usage();
}
