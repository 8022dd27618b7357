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
    {"pack", "pack -o OUT.book [-a AUTHOR] [-t TITLE] [--split RULE [--remove-lines]] FILE|DIR...",
     "      One chapter per FILE, in the order given. The chapter's title is the file's name\n"
     "      without its directory and its last extension; its text is the file's bytes,\n"
     "      unchanged. A DIR gives one chapter per .txt file in it, in natural order (ch2\n"
     "      before ch10). FILE - reads one chapter, titled \"stdin\", from standard input;\n"
     "      -o - writes the book to standard output. Line breaks and tabs in AUTHOR, TITLE\n"
     "      and chapter titles made from file names become spaces. Without FILE the book\n"
     "      has no chapters. OUT must not be one of the inputs, and must be a regular file\n"
     "      (a symbolic link is written through, to its target).\n"
     "      --split RULE cuts each text into chapters at the lines RULE picks out: chapter\n"
     "      (\"Chapter 12\", \"CHAPTER XII\"), markdown (\"# \" and \"## \" headings), separator\n"
     "      (a line of only \"* * *\", \"---\" and the like), blank:N (N or more blank lines)\n"
     "      or regex:EXPR (an ECMAScript expression that matches somewhere in the line). Each\n"
     "      chapter is titled with its line; the text before the first one keeps the file's\n"
     "      title. The lines stay in the texts unless --remove-lines is given.\n"
     "  quire pack --from DIR -o OUT.book [-a AUTHOR] [-t TITLE]\n"
     "      Builds the book from a folder written by unpack; -a and -t override it.\n"},
    {"info", "info BOOK",
     "      Prints the author, the title, the number of chapters, one line per chapter\n"
     "      (number, tab, text size in bytes, tab, title) and the size estimate.\n"
     "      BOOK - reads the book from standard input.\n"},
    {"unpack", "unpack BOOK DIR",
     "      Writes DIR/author, DIR/title, DIR/contents (each chapter title followed by a\n"
     "      line feed) and the chapter texts DIR/1.txt ... DIR/N.txt, byte for byte, so\n"
     "      that pack --from DIR writes the book again byte for byte.\n"},
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
    std::printf("quire (Kelvra Quire Binder) %s\n", QB_VERSION_STRING);
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
