// quire: builds and inspects ".book" files from scripts, with the same book code as the window
// program.
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "Commands.h"
#include "Files.h"
#include "Help.h"
#include "MessageSink.h"
#include "Report.h"
#ifdef _WIN32
#include "WinFileSystem.h"
#endif

namespace {

int Run(int argc, char** argv) {
#ifdef _WIN32
    // Saves through the Windows calls: the new file takes the old one's place in one move. Paths
    // are UTF-8 here, from the wide command line.
    static CWinFileSystem windowsFiles(CWinFileSystem::kUtf8Paths);
    CFileSystem::SetActive(&windowsFiles);
#endif
    std::vector<std::string> args = CommandLineArguments(argc, argv);
    if (args.empty())
        return Usage(nullptr);
    std::string command = args[0];
    args.erase(args.begin());
    if (command == "--help" || command == "-h") {
        PrintHelp(nullptr);
        return 0;
    }
    if (command == "--version" || command == "-V") {
        PrintVersion();
        return 0;
    }
    struct Entry {
        const char* name;
        int (*run)(const std::vector<std::string>&);
    };
    static const Entry kCommands[] = {
        {"pack", Pack}, {"info", Info}, {"unpack", Unpack}, {"check", Check}, {"check-name", CheckName}};
    for (const Entry& entry : kCommands) {
        if (command == entry.name)
            return entry.run(args);
    }
    if (command.size() > 1 && command[0] == '-')
        std::fprintf(stderr, "quire: unknown option '%s'\n", command.c_str());
    else
        std::fprintf(stderr, "quire: unknown command '%s'\n", command.c_str());
    return Usage(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    CMessageSink::SetActive(&PrintedMessages());
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        return Fail("not enough memory");
    }
}
