#include "Help.h"

#include <cstdio>
#include <cstring>

#include "QuireVersion.h"

namespace {

struct CommandHelp {
    const char* name;
    const char* usage;  // what follows "quire "
    const char* text;
};

const CommandHelp kCommands[] = {
    {"pack", "pack -o OUT.book [-a AUTHOR] [-t TITLE] [--split RULE [--remove-lines]] [TEXT OPTIONS] FILE|DIR...",
     "      One chapter per FILE, in the order given. The chapter's title is the file's name\n"
     "      without its directory and its last extension. A DIR gives one chapter per .txt\n"
     "      file in it, in natural order (ch2 before ch10). FILE - reads one chapter, titled\n"
     "      \"stdin\", from standard input; -o - writes the book to standard output. Line\n"
     "      breaks and tabs in AUTHOR, TITLE and chapter titles made from file names become\n"
     "      spaces. Without FILE the book has no chapters. OUT must not be one of the\n"
     "      inputs, and must be a regular file (a symbolic link is written through, to its\n"
     "      target).\n"
     "      --split RULE cuts each text into chapters at the lines RULE picks out: chapter\n"
     "      (\"Chapter 12\", \"CHAPTER XII\"), markdown (\"# \" and \"## \" headings), separator\n"
     "      (a line of only \"* * *\", \"---\" and the like), blank:N (N or more blank lines)\n"
     "      or regex:EXPR (an ECMAScript expression that matches somewhere in the line). Each\n"
     "      chapter is titled with its line; the text before the first one keeps the file's\n"
     "      title. The lines stay in the texts unless --remove-lines is given.\n"
     "      A book keeps its text in one Windows code page. Each text is read as the\n"
     "      program's Add Text from File reads it: UTF-8 and UTF-16 (with or without a\n"
     "      byte-order mark) are converted, and their lone LF and CR become CR LF; text\n"
     "      already in the code page, and anything that is not text, is taken byte for\n"
     "      byte. A character the code page cannot hold is replaced by a close one or\n"
     "      removed, and listed on standard error with its file and chapter. Names, AUTHOR\n"
     "      and TITLE are converted from UTF-8 the same way. TEXT OPTIONS:\n"
     "      --encoding auto|utf-8|utf-16|ansi\n"
     "                    how the texts are encoded; auto (the default) finds out from the\n"
     "                    head of each file, and takes UTF-8 only if all of the file is;\n"
     "                    ansi: already in the book's code page\n"
#ifdef _WIN32
     "      --codepage N  the book's code page (default: the system's ANSI code page)\n"
#else
     "      --codepage N  the book's code page (default: 1252)\n"
#endif
     "      --strict      a character lost or replaced is an error: nothing is written\n"
     "      --keep-line-breaks\n"
     "                    converted text keeps its line breaks as they are\n"
     "  quire pack --from DIR -o OUT.book [-a AUTHOR] [-t TITLE] [TEXT OPTIONS]\n"
     "      Builds the book from a folder written by unpack; -a and -t override it. Texts\n"
     "      unpacked as UTF-8 are read back in the encoding and code page that the folder's\n"
     "      file \"encoding\" records, line breaks as they are; --encoding and --codepage\n"
     "      override it.\n"},
    {"info", "info [-c] BOOK",
     "      Prints the author, the title, the number of chapters, one line per chapter\n"
     "      (number, tab, text size in bytes, tab, title) and the size estimate.\n"
     "      -c also counts: each chapter's words and characters before its title, and\n"
     "      the book's as a last line (line breaks are not counted as characters).\n"
     "      BOOK - reads the book from standard input.\n"},
    {"unpack", "unpack [--encoding ansi|utf-8] [--codepage N] BOOK DIR",
     "      Writes DIR/author, DIR/title, DIR/contents (each chapter title followed by a\n"
     "      line feed) and the chapter texts DIR/1.txt ... DIR/N.txt, byte for byte, so\n"
     "      that pack --from DIR writes the book again byte for byte. With --encoding utf-8\n"
     "      they are written as UTF-8, read in code page N (the default as for pack), and\n"
     "      DIR/encoding records that for pack --from; a file that as UTF-8 would not read\n"
     "      back the same keeps the book's bytes, with a warning, and is listed there.\n"},
    {"check", "check [-q] BOOK",
     "      Exit status 0 for a valid book; 1 otherwise, with the first problem found on\n"
     "      standard error (-q: nothing printed).\n"},
    {"check-name", "check-name [-q] NAME",
     "      Exit status 0 when NAME obeys the handheld's file-name rule (1 to 31 letters,\n"
     "      digits and -_+.(), not beginning or ending with - + or .); 1 otherwise, with the\n"
     "      rule it breaks on standard error (-q: nothing printed).\n"},
};

const CommandHelp* Find(const char* command) {
    for (const CommandHelp& help : kCommands) {
        if (std::strcmp(help.name, command) == 0)
            return &help;
    }
    return nullptr;
}

void PrintCommand(const CommandHelp& help) {
    std::printf("  quire %s\n%s", help.usage, help.text);
}

}  // namespace

void PrintVersion() {
    std::printf("quire (%s) %s\n", QB_PRODUCT_NAME, QB_VERSION_STRING);
}

void PrintHelp(const char* command) {
    if (const CommandHelp* help = command ? Find(command) : nullptr) {
        PrintCommand(*help);
        return;
    }
    std::printf("quire builds and inspects Kelvra \".book\" files.\n\n");
    for (const CommandHelp& help : kCommands)
        PrintCommand(help);
    std::printf(
        "\n"
        "pack warns when the name of OUT breaks the file-name rule, and writes the book anyway.\n"
        "quire --version prints the version; quire COMMAND --help, that command's help.\n"
        "Exit status: 0 done, 1 failed, 2 bad arguments.\n");
}

int Usage(const char* command) {
    if (const CommandHelp* help = command ? Find(command) : nullptr)
        std::fprintf(stderr, "usage: quire %s (quire %s --help for details)\n", help->usage, help->name);
    else
        std::fprintf(stderr, "usage: quire pack|info|unpack|check|check-name ... (quire --help for details)\n");
    return 2;
}
