// Black-box tests of the quire tool: the built program is run with arguments and its files,
// output and exit status are checked.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "SystemCodePage.h"
#include "TempDir.h"
#include "TestContainer.h"
#include "TestFiles.h"
#include "TextConverter.h"
#include "TextCorpus.h"

extern char** environ;

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

class QuireCli : public ::testing::Test {
protected:
    CTempDir m_dir;

    std::string Path(const std::string& name) const { return m_dir.Path(name); }

    // `input`: a file for standard input; none when empty. `memoryKiB`: the address space the
    // program may take; no limit when 0.
    Outcome Quire(const std::vector<std::string>& args, const std::string& input = "", int memoryKiB = 0) {
        std::string outPath = Path("stdout.txt"), errPath = Path("stderr.txt");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, input.empty() ? "/dev/null" : input.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::string limit = "ulimit -v " + std::to_string(memoryKiB) + " && exec \"$0\" \"$@\"";
        std::vector<char*> argv = {const_cast<char*>(QUIRE_PATH)};
        if (memoryKiB > 0)
            argv.insert(argv.begin(), {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"), &limit[0]});
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        pid_t pid;
        int status = -1;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0)
            waitpid(pid, &status, 0);
        posix_spawn_file_actions_destroy(&actions);
        Outcome run = {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(outPath), ReadBytes(errPath)};
        std::remove(outPath.c_str());
        std::remove(errPath.c_str());
        return run;
    }

    std::string MakeFile(const std::string& name, const std::string& bytes) {
        WriteBytes(Path(name), bytes);
        return Path(name);
    }

    // The book that pack makes of one file "in.txt" holding `bytes`, with `options` before it.
    Outcome PackOne(const std::vector<std::string>& options, const std::string& bytes, std::string& book) {
        std::vector<std::string> args = {"pack", "-o", Path("one.book")};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(MakeFile("in.txt", bytes));
        Outcome run = Quire(args);
        book = ReadBytes(Path("one.book"));
        std::remove(Path("one.book").c_str());
        return run;
    }

    // The usage line last, after at most one line saying what was wrong.
    void ExpectUsage(const std::vector<std::string>& args, const std::string& why = "") {
        Outcome run = Quire(args);
        EXPECT_EQ(2, run.status);
        EXPECT_EQ(why + "usage: quire ", run.err.substr(0, why.size() + 13)) << run.err;
        EXPECT_EQ(run.err.size() - 1, run.err.find('\n', why.size())) << "one usage line";
    }
};

TEST_F(QuireCli, PackWritesTheBookFileByteForByte) {
    std::string chapter = MakeFile("C.txt", "xy");
    Outcome run = Quire({"pack", "-o", Path("one.book"), "-a", "A", "-t", "T", chapter});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("", run.err);
    std::string bytes = ReadBytes(Path("one.book"));
    ASSERT_EQ(229u, bytes.size());
    EXPECT_EQ(EncodeContainer(BookMembers("A", "T", {"C"}, {"xy"})), bytes);
    EXPECT_EQ(FromHex("4B 76 00 05 00 68 00 38 00 00 00 6E 00 00 00 09"), bytes.substr(0, 16));

    EXPECT_EQ(0, Quire({"pack", "-o", Path("empty.book")}).status);
    EXPECT_EQ(EncodeContainer(BookMembers("", "", {}, {})), ReadBytes(Path("empty.book")));
}

TEST_F(QuireCli, PackTakesAnyBytesAndTitlesChaptersByFileName) {
    std::mt19937 random(3);
    std::vector<std::string> texts;
    for (int i = 0; i < 4; ++i) {
        std::string text;
        for (auto n = random() % 5000; n > 0; --n)
            text += static_cast<char>(random() % 256);
        texts.push_back(text);
    }
    texts[3] = "";
    const std::string author = "Au\xff\x01 ", title = "Ti tle\x80";
    std::vector<std::string> files = {MakeFile("ch.one.txt", texts[0]), MakeFile(".hidden", texts[1]),
                                      MakeFile("noext", texts[2]), MakeFile("-dash.rtf", texts[3])};
    // Line breaks and tabs would break the title member's layout: they become spaces.
    Outcome run = Quire({"pack", "-a", "Au\xff\x01\r", "-o", Path("any.book"), "-t", "Ti\ttle\x80", "--", files[0],
                         files[1], files[2], files[3]});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(EncodeContainer(BookMembers(author, title, {"ch.one", ".hidden", "noext", "-dash"}, texts)),
              ReadBytes(Path("any.book")));
}

TEST_F(QuireCli, UnpackThenPackFromRebuildsTheSameFile) {
    const std::string nul("\0", 1);
    const std::vector<std::vector<TestMember>> books = {
        BookMembers("", "", {}, {}),
        BookMembers("", "", {""}, {""}),
        BookMembers("A" + nul + "u", "T" + nul, {"x" + nul, "", "\xfe"}, {"a" + nul + "\r\n", "", "\n\n"}),
        BookMembers("a", "t", {"one"}, {std::string(200000, 'z')}),
    };
    int index = 0;
    for (const std::vector<TestMember>& members : books) {
        std::string book = MakeFile("in.book", EncodeContainer(members));
        std::string folder = Path("unpacked" + std::to_string(++index));
        ASSERT_EQ(0, Quire({"unpack", book, folder}).status);
        ASSERT_EQ(0, Quire({"pack", "--from", folder, "-o", Path("out.book")}).status);
        EXPECT_EQ(ReadBytes(book), ReadBytes(Path("out.book"))) << index;
    }

    // A book the loader accepts but this system would not write comes back as it would be saved.
    std::string odd = MakeFile("odd.book", EncodeContainer({{"title.txt", "a\r\nt"},
                                                            {"bookmark.bin", "?"},
                                                            {"contents.txt", "A\r\nB"},
                                                            {"5.txt", "five"},
                                                            {"1.txt", "one"}}));
    ASSERT_EQ(0, Quire({"unpack", odd, Path("odd")}).status);
    ASSERT_EQ(0, Quire({"pack", "--from", Path("odd"), "-o", Path("odd-out.book")}).status);
    EXPECT_EQ(EncodeContainer(BookMembers("a", "t", {"A", "B", "", "", ""}, {"one", "", "", "", "five"})),
              ReadBytes(Path("odd-out.book")));
    EXPECT_EQ("A\nB\n\n\n\n", ReadBytes(Path("odd/contents")));
    EXPECT_EQ("five", ReadBytes(Path("odd/5.txt")));

    // Author and title may be overridden.
    ASSERT_EQ(0, Quire({"pack", "--from", Path("odd"), "-a", "X", "-o", Path("odd-x.book")}).status);
    EXPECT_EQ(EncodeContainer(BookMembers("X", "t", {"A", "B", "", "", ""}, {"one", "", "", "", "five"})),
              ReadBytes(Path("odd-x.book")));
}

TEST_F(QuireCli, PackFromAnIncompleteFolderFails) {
    ASSERT_EQ(0, Quire({"unpack",
                        MakeFile("b.book", EncodeContainer(BookMembers("a", "t", {"A", "B"}, {"1", "2"}))),
                        Path("d")})
                     .status);
    std::remove(Path("d/2.txt").c_str());
    Outcome run = Quire({"pack", "--from", Path("d"), "-o", Path("out.book")});
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("2.txt"));
    EXPECT_FALSE(FileExists(Path("out.book")));
    EXPECT_EQ(1, Quire({"pack", "--from", Path("nowhere"), "-o", Path("out.book")}).status);
}

TEST_F(QuireCli, InfoListsTheBook) {
    std::string book = MakeFile("b.book", EncodeContainer(BookMembers("Ann", "Tales", {"First", "Second"},
                                                                      {std::string(2000, 'x'), "abc"})));
    Outcome run = Quire({"info", book});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("Author: Ann\nTitle: Tales\nChapters: 2\n1\t2000\tFirst\n2\t3\tSecond\nBook Size ~ 2 Kb\n",
              run.out);
    run = Quire({"info", "-c", MakeFile("c.book", EncodeContainer(BookMembers("Ann", "Tales", {"First", "Second"},
                                                                          {"one two\r\nthree", "abc"})))});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("Author: Ann\nTitle: Tales\nChapters: 2\n1\t14\t3\t12\tFirst\n2\t3\t1\t3\tSecond\n"
              "Book Size ~ 1 Kb\nBook: 4 words, 15 characters\n",
              run.out);
}

TEST_F(QuireCli, CheckAgreesWithTheLoader) {
    std::string valid = EncodeContainer(BookMembers("a", "t", {"A"}, {"one"}));
    EXPECT_EQ(0, Quire({"check", MakeFile("good.book", valid)}).status);

    std::vector<std::string> invalid = {"", "Kv", valid.substr(0, valid.size() - 1),
                                        EncodeContainer(BookMembers("a", "t", {"A", "B"}, {"one"}))};
    invalid.push_back(valid);
    invalid.back()[1] = 'w';
    for (const std::string& bytes : invalid) {
        Outcome run = Quire({"check", MakeFile("bad.book", bytes)});
        EXPECT_EQ(1, run.status);
        EXPECT_EQ(0u, run.err.find("quire: " + Path("bad.book") + ": not a book file")) << run.err;
    }
    EXPECT_EQ(1, Quire({"check", Path("missing.book")}).status);
    EXPECT_EQ(1, Quire({"info", Path("missing.book")}).status);
}

TEST_F(QuireCli, CheckNameAppliesTheDeviceRule) {
    EXPECT_EQ(0, Quire({"check-name", "Chapter1.book"}).status);
    EXPECT_EQ(0, Quire({"check-name", "C:\\Some Folder\\notes.book"}).status);
    EXPECT_EQ(1, Quire({"check-name", "My Book.book"}).status);
    EXPECT_EQ(1, Quire({"check-name", std::string(28, 'n') + ".book"}).status);
}

TEST_F(QuireCli, InvalidOutputNameWarnsAndStillWrites) {
    Outcome run = Quire({"pack", "-o", Path("my book.book")});
    EXPECT_EQ(0, run.status);
    EXPECT_NE(std::string::npos, run.err.find("warning"));
    EXPECT_NE(std::string::npos, run.err.find("\"my book.book\""));
    EXPECT_TRUE(FileExists(Path("my book.book")));
}

TEST_F(QuireCli, BadArgumentsPrintTheUsageLine) {
    ExpectUsage({});
    ExpectUsage({"pack"});
    ExpectUsage({"pack", "-o", "x.book", "-x"}, "quire: unknown option '-x'\n");
    ExpectUsage({"pack", "-o"}, "quire: option '-o' needs a value\n");
    ExpectUsage({"-q"}, "quire: unknown option '-q'\n");
    ExpectUsage({"frobnicate"}, "quire: unknown command 'frobnicate'\n");
    ExpectUsage({"pack", "--from", "d", "-o", "x.book", "file.txt"});
    ExpectUsage({"info"});
    ExpectUsage({"info", "a", "b"});
    ExpectUsage({"unpack", "a"});
    ExpectUsage({"check"});
    ExpectUsage({"check-name", "a", "b"});
    ExpectUsage({"pack", "-o", "x.book", "--split", "blank:0", "f"},
                "quire: --split: blank:N needs a number of lines from 1 to 999\n");
    ExpectUsage({"pack", "-o", "x.book", "--split", "regex:(a", "f"}, "quire: --split: a \"(\" without its \")\"\n");

    Outcome help = Quire({"--help"});
    EXPECT_EQ(0, help.status);
    for (const char* command : {"pack -o", "pack --from", "info", "unpack", "check [-q] BOOK", "check-name"})
        EXPECT_NE(std::string::npos, help.out.find(std::string("quire ") + command)) << command;
}

TEST_F(QuireCli, FailedSaveReportsAndKeepsTheOldFile) {
    Outcome run = Quire({"pack", "-o", Path("no/such/dir/x.book")});
    EXPECT_EQ(1, run.status);
    EXPECT_EQ("quire: " + Path("no/such/dir/x.book") + ": cannot save: No such file or directory\n", run.err);

    // A write limit stands in for a full disk: the writer's message reaches standard error.
    std::string old = EncodeContainer(BookMembers("old", "", {}, {}));
    MakeFile("full.book", old);
    std::string big = MakeFile("big.txt", std::string(300000, 'b'));
    struct rlimit saved, limited;
    getrlimit(RLIMIT_FSIZE, &saved);
    limited = saved;
    limited.rlim_cur = 100000;
    void (*handler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limited);
    run = Quire({"pack", "-o", Path("full.book"), big});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(1, run.status);
    EXPECT_EQ("quire: " + Path("full.book") + ": cannot save: write error\n", run.err);
    EXPECT_EQ(old, ReadBytes(Path("full.book")));
}

TEST_F(QuireCli, MoreChaptersThanABookFileHoldsAreRefused) {
    std::vector<std::string> args = {"pack", "-o", Path("many.book")};
    for (int i = 0; i < 1896; ++i)
        args.push_back(MakeFile("c" + std::to_string(i), "t"));
    Outcome run = Quire(args);
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("1895"));
    EXPECT_FALSE(FileExists(Path("many.book")));

    args.pop_back();
    EXPECT_EQ(0, Quire(args).status);
    EXPECT_EQ(0, Quire({"check", Path("many.book")}).status);
}


TEST_F(QuireCli, HelpAndVersionGoToStandardOutput) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--version"}, "quire (Kelvra Quire Binder) 1.0\n"},
        {{"-V"}, "quire (Kelvra Quire Binder) 1.0\n"},
        {{"pack", "--help"}, "  quire pack -o OUT.book"},
        {{"info", "--help"}, "  quire info [-c] BOOK\n"},
        {{"unpack", "-h"}, "  quire unpack [--encoding ansi|utf-8] [--codepage N] BOOK DIR\n"},
        {{"check", "--help"}, "  quire check [-q] BOOK\n"},
        {{"check-name", "--help"}, "  quire check-name [-q] NAME\n"},
    };
    for (const auto& entry : cases) {
        Outcome run = Quire(entry.first);
        EXPECT_EQ(0, run.status) << entry.second;
        EXPECT_EQ(0u, run.out.find(entry.second)) << run.out;
        EXPECT_EQ("", run.err);
    }
}

TEST_F(QuireCli, ErrorsNameTheFileAndSayWhy) {
    std::string missing = Path("missing.txt"), text = MakeFile("text.txt", "plain");
    std::string book = EncodeContainer(BookMembers("a", "t", {"A", "B"}, {"one", "two"}));
    std::string cut = MakeFile("cut.book", book.substr(0, book.size() - 1));
    std::string unnamed = MakeFile("unnamed.book", EncodeContainer(BookMembers("a", "t", {"A", "B"}, {"one"})));
    mkdir(Path("folder").c_str(), 0777);
    struct Case {
        std::vector<std::string> args;
        std::string err;  // empty: none at all
    };
    const std::vector<Case> cases = {
        {{"pack", "-o", Path("out.book"), text, missing}, "quire: " + missing + ": No such file or directory\n"},
        {{"info", missing}, "quire: " + missing + ": No such file or directory\n"},
        {{"unpack", missing, Path("d")}, "quire: " + missing + ": No such file or directory\n"},
        {{"check", Path("folder")}, "quire: " + Path("folder") + ": Is a directory\n"},
        {{"check", text}, "quire: " + text + ": not a book file (it does not begin with the mark of a book file)\n"},
        {{"info", cut}, "quire: " + cut + ": not a book file (record 6 runs past the end of the file)\n"},
        {{"unpack", cut, Path("d")}, "quire: " + cut + ": not a book file (record 6 runs past the end of the file)\n"},
        {{"check", unnamed}, "its contents name 2 chapters, but 1 chapter text was found)\n"},
        {{"check", MakeFile("empty.book", "")}, "not a book file (the file is empty)\n"},
        {{"check", "-q", text}, ""},
        {{"check", "-q", missing}, ""},
        {{"check-name", "My Book.book"}, "quire: My Book.book: breaks the handheld's file-name rule: only letters, "
                                         "digits and -_+.() are allowed (character 3, ' ')\n"},
        {{"check-name", "-q", "My Book.book"}, ""},
        {{"check-name", std::string(28, 'n') + ".book"}, "longer than 31 characters\n"},
        {{"check-name", "--", "-a.book"}, "the first character must be a letter, a digit or one of _() (character 1, '-')\n"},
        {{"check-name", "a.book+"}, "the last character must not be - + or . (character 7, '+')\n"},
    };
    for (const Case& entry : cases) {
        Outcome run = Quire(entry.args);
        EXPECT_EQ(1, run.status) << entry.err;
        if (entry.err.empty())
            EXPECT_EQ("", run.err);
        else
            EXPECT_NE(std::string::npos, run.err.find(entry.err)) << run.err;
    }
    EXPECT_FALSE(FileExists(Path("out.book")));
}

TEST_F(QuireCli, PackRefusesAnOutputItCannotReplaceBeforeReadingAnything) {
    std::string input = MakeFile("in.txt", "keep me");
    ASSERT_EQ(0, link(input.c_str(), Path("hard.txt").c_str()));
    ASSERT_EQ(0, symlink("in.txt", Path("soft.book").c_str()));
    ASSERT_EQ(0, mkfifo(Path("fifo.book").c_str(), 0666));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {input, "is also an input"},          {Path("hard.txt"), "is also an input"},
        {Path("soft.book"), "is also an input"}, {Path("folder"), "not a regular file"},
        {"/dev/null", "not a regular file"},  {Path("fifo.book"), "not a regular file"},
    };
    mkdir(Path("folder").c_str(), 0777);
    ASSERT_EQ(0, mkfifo(Path("never").c_str(), 0666));
    for (const auto& entry : cases) {
        // Nobody writes to the pipe "never": reading it before the checks would hang.
        Outcome run = Quire({"pack", "-o", entry.first, input, Path("never")});
        EXPECT_EQ(1, run.status) << entry.first;
        EXPECT_NE(std::string::npos, run.err.find(entry.first + ": " + entry.second)) << run.err;
        EXPECT_EQ("keep me", ReadBytes(input));
    }
    for (const std::string& name : m_dir.Names())
        EXPECT_NE(0u, name.find("~qb")) << name;
}

TEST_F(QuireCli, PackWritesThroughALinkToItsTarget) {
    ASSERT_EQ(0, symlink("real.book", Path("link.book").c_str()));
    std::string chapter = MakeFile("c.txt", "xy");
    for (int round = 0; round < 2; ++round) {  // a dangling link first, then one to the new file
        ASSERT_EQ(0, Quire({"pack", "-o", Path("link.book"), chapter}).status);
        struct stat info;
        ASSERT_EQ(0, lstat(Path("link.book").c_str(), &info));
        EXPECT_TRUE(S_ISLNK(info.st_mode));
        EXPECT_EQ(EncodeContainer(BookMembers("", "", {"c"}, {"xy"})), ReadBytes(Path("real.book")));
    }
}

TEST_F(QuireCli, PackFolderTakesItsTextFilesInNaturalOrder) {
    mkdir(Path("texts").c_str(), 0777);
    mkdir(Path("texts/sub.txt").c_str(), 0777);
    for (const auto& file : std::vector<std::pair<std::string, std::string>>{
             {"ch10.txt", "ten"}, {"ch2.txt", "two"}, {"ch1.TXT", "one"}, {"notes.md", "-"}, {"ch3.txt.bak", "-"}})
        MakeFile("texts/" + file.first, file.second);
    Outcome run = Quire({"pack", "-o", Path("b.book"), "-t", "T", Path("texts")});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(EncodeContainer(BookMembers("", "T", {"ch1", "ch2", "ch10"}, {"one", "two", "ten"})),
              ReadBytes(Path("b.book")));
}

// Each file and standard input is cut by the same rules as the window's Split into Chapters.
TEST_F(QuireCli, PackSplitCutsEveryInputIntoChapters) {
    std::string novel = SampleNovel(3, 500, "CHAPTER %d", "\n");
    std::string one = MakeFile("novel.txt", novel), two = MakeFile("notes.txt", "# A\nx\n# B\ny\n");
    Outcome run = Quire({"pack", "-o", Path("s.book"), "--split", "chapter", one, two, "-"}, two);
    ASSERT_EQ(0, run.status) << run.err;
    std::size_t c1 = novel.find("CHAPTER 1"), c2 = novel.find("CHAPTER 2"), c3 = novel.find("CHAPTER 3");
    EXPECT_EQ(EncodeContainer(BookMembers("", "", {"novel", "CHAPTER 1", "CHAPTER 2", "CHAPTER 3", "notes", "stdin"},
                                          {novel.substr(0, c1), novel.substr(c1, c2 - c1), novel.substr(c2, c3 - c2),
                                           novel.substr(c3), ReadBytes(two), ReadBytes(two)})),
              ReadBytes(Path("s.book")));

    run = Quire({"pack", "-o", Path("m.book"), "--split", "regex:^# ", "--remove-lines", two});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(EncodeContainer(BookMembers("", "", {"# A", "# B"}, {"x\n", "y\n"})), ReadBytes(Path("m.book")));

    run = Quire({"pack", "-o", Path("w.book"), "--split", "regex:(a?){500}a{500}b", MakeFile("a.txt", std::string(300000, 'a'))});
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("too much work")) << run.err;
    EXPECT_FALSE(FileExists(Path("w.book")));
}

TEST_F(QuireCli, DashIsStandardInputAndOutputAndPipesAreRead) {
    const std::string book = EncodeContainer(BookMembers("", "", {"stdin"}, {"piped"}));
    EXPECT_EQ(0, Quire({"pack", "-o", Path("in.book"), "-"}, MakeFile("in.txt", "piped")).status);
    EXPECT_EQ(book, ReadBytes(Path("in.book")));
    Outcome run = Quire({"pack", "-o", "-", "-"}, Path("in.txt"));
    EXPECT_EQ(0, run.status);
    EXPECT_EQ(book, run.out);
    EXPECT_EQ("Author: \nTitle: \nChapters: 1\n1\t5\tstdin\nBook Size ~ 1 Kb\n", Quire({"info", "-"}, Path("in.book")).out);

    ASSERT_EQ(0, mkfifo(Path("pipe").c_str(), 0666));
    for (const char* command : {"check", "info", "pack"}) {
        std::thread writer([&] { WriteBytes(Path("pipe"), book); });
        run = command[0] == 'p' ? Quire({"pack", "-o", Path("p.book"), Path("pipe")}) : Quire({command, Path("pipe")});
        writer.join();
        EXPECT_EQ(0, run.status) << command << run.err;
    }
    EXPECT_EQ(EncodeContainer(BookMembers("", "", {"pipe"}, {book})), ReadBytes(Path("p.book")));
}

// The limit stands in for a 32-bit process: pack streams whatever the book's size, check only
// measures the texts, and what must hold a text in memory says it cannot.
TEST_F(QuireCli, ABookLargerThanMemoryIsPackedCheckedAndRefusedClearly) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizers reserve far more address space than the limit";
#endif
    const int kLimitKiB = 16 * 1024;
    std::string text = MakeFile("big.txt", std::string(std::size_t(48) << 20, 'x'));
    Outcome run = Quire({"pack", "-o", Path("big.book"), text}, "", kLimitKiB);
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(0, Quire({"check", Path("big.book")}, "", kLimitKiB).status);
    run = Quire({"unpack", Path("big.book"), Path("out")}, "", kLimitKiB);
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find(Path("big.book") + ": too large for the memory of this process"))
        << run.err;
    EXPECT_EQ(0, Quire({"check", Path("big.book")}).status);

    // Converted text too is streamed.
    std::string utf16(std::size_t(24) << 20, '\0');
    for (std::size_t i = 0; i < utf16.size(); i += 2)
        utf16[i] = 'w';
    MakeFile("wide.txt", "\xFF\xFE" + utf16);
    run = Quire({"pack", "-o", Path("wide.book"), Path("wide.txt")}, "", kLimitKiB);
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_NE(std::string::npos, Quire({"info", Path("wide.book")}).out.find("\n1\t12582912\twide\n"));
}

// The window's corpus: every encoding to the bytes the window's import gives; what is not text
// is stored as it is. Each loss is told with its file and chapter.
TEST_F(QuireCli, PackConvertsTodaysTextFilesAsTheWindowImports) {
    std::vector<std::string> args = {"pack", "-o", Path("corpus.book")}, titles, texts;
    std::string expectedErr;
    for (const STextSample& sample : TextCorpus()) {
        args.push_back(MakeFile(sample.name, sample.bytes));
        titles.push_back(std::string(sample.name).substr(0, std::strlen(sample.name) - 4));
        texts.push_back(sample.bBinary ? sample.bytes : sample.ansi);
        if (sample.nLost != 0)
            expectedErr += "quire: warning: " + args.back() + " (chapter " + std::to_string(texts.size()) +
                           "): 2 characters cannot be stored in a Kelvra book: \xE2\x98\x85 U+2605 (\xC3\x97" "2, "
                           "line 2) \xE2\x86\x92 removed\n";
    }
    Outcome run = Quire(args);
    EXPECT_EQ(0, run.status);
    EXPECT_EQ(expectedErr, run.err);
    EXPECT_EQ(EncodeContainer(BookMembers("", "", titles, texts)), ReadBytes(Path("corpus.book")));

    // Standard input the same way.
    run = Quire({"pack", "-o", Path("in.book"), "-"}, Path("utf16be.txt"));
    EXPECT_EQ(EncodeContainer(BookMembers("", "", {"stdin"}, {TextCorpus()[0].ansi})), ReadBytes(Path("in.book")));
    EXPECT_EQ(0u, run.err.find("quire: warning: standard input (chapter 1): 2 characters")) << run.err;
}

TEST_F(QuireCli, PackEncodingOptions) {
    struct Case {
        std::vector<std::string> options;
        std::string bytes;
        std::string author, title, text;  // in the book
        std::string err;                  // in what pack said; empty: nothing
    };
    const std::vector<Case> cases = {
        {{"--encoding", "ansi"}, "caf\xC3\xA9\n", "", "", "caf\xC3\xA9\n", ""},
        {{"--encoding", "UTF-8"}, "caf\xE9\n", "", "", "caf\r\n", "U+FFFD (\xC3\x97" "1, line 1) \xE2\x86\x92 removed"},
        {{"--encoding", "utf-16"}, std::string("\xE9\0\n\0", 4), "", "", "\xE9\r\n", ""},
        {{"--keep-line-breaks"}, "a\nb\r\xC3\xA9", "", "", "a\nb\r\xE9", ""},
        {{"--codepage", "1250"}, "\xC5\x82\xC3\xB3" "d\xC5\xBA", "", "", "\xB3\xF3" "d\x9F", ""},
        {{"--codepage", "932"}, "\xE6\x97\xA5\xE6\x9C\xAC", "", "", "\x93\xFA\x96\x7B", ""},
        {{"-a", "Zo\xC3\xAB \xE2\x98\x85", "-t", "\xE2\x82\xAC"}, "x", "Zo\xEB ", "\x80", "x",
         "quire: warning: the author (-a): 1 character cannot be stored in a Kelvra book: \xE2\x98\x85 U+2605"},
    };
    for (const Case& entry : cases) {
        std::string book;
        Outcome run = PackOne(entry.options, entry.bytes, book);
        EXPECT_EQ(0, run.status) << entry.options[1];
        EXPECT_EQ(EncodeContainer(BookMembers(entry.author, entry.title, {"in"}, {entry.text})), book) << entry.options[1];
        EXPECT_EQ(entry.err.empty(), run.err.empty()) << run.err;
        EXPECT_NE(std::string::npos, run.err.find(entry.err)) << run.err;
    }
}

// A file is converted in pieces and detected on its head: the whole file still decides as in
// the window, and the pieces give what converting it whole gives.
TEST_F(QuireCli, LargeFilesConvertAsAWhole) {
    std::unique_ptr<CCodePage> cp1252 = OpenCodePage(1252);
    ASSERT_TRUE(cp1252);
    std::string mixed;
    for (int i = 0; mixed.size() < 300000; ++i)
        mixed += i % 7 ? "caf\xC3\xA9 \xE2\x98\x85\r\n" : "\xF0\x9F\x98\x80\r\xE2\x82\xAC\n";
    std::string utf16be;
    for (std::size_t i = 0; i < 200000; ++i)
        utf16be += std::string(1, '\0') + char('a' + i % 26) + (i % 50 ? "" : std::string("\x26\x05\0\n", 4));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"ASCII head, UTF-8 later", std::string(100000, 'a') + "\xC3\xA9\n"},
        {"UTF-8 head, invalid later", "\xC3\xA9" + std::string(100000, 'a') + "\xE9"},
        {"UTF-8 cut across pieces", mixed},
        {"UTF-8 with a mark, invalid later", "\xEF\xBB\xBF" + mixed + "\xFF"},
        {"UTF-16 BE without a mark", utf16be},
        {"ASCII", std::string(100000, 'a') + "\n"},
    };
    for (const auto& entry : cases) {
        SConvertedText whole = CTextConverter(*cp1252).Convert(entry.second);
        std::string book;
        Outcome run = PackOne({}, entry.second, book);
        EXPECT_EQ(0, run.status) << entry.first;
        // Not printed when they differ: the texts are long.
        EXPECT_TRUE(EncodeContainer(BookMembers("", "", {"in"}, {whole.text})) == book) << entry.first;
        std::string described = DescribeLosses(whole);
        EXPECT_EQ(described.empty(), run.err.empty()) << entry.first;
        EXPECT_NE(std::string::npos, run.err.find(described.substr(0, described.find('\n')))) << run.err;
    }
}

TEST_F(QuireCli, StrictRefusesAnyLossAndKeepsTheOldBook) {
    const std::string old = EncodeContainer(BookMembers("old", "", {}, {}));
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{MakeFile("star.txt", "\xE2\x98\x85")}, 1},
        {{"-a", "\xE2\x98\x85", MakeFile("plain.txt", "x")}, 1},
        {{MakeFile("\xE2\x98\x85.txt", "x")}, 1},
        {{Path("plain.txt"), MakeFile("caf.txt", "caf\xC3\xA9")}, 0},
    };
    for (const auto& entry : cases) {
        MakeFile("out.book", old);
        std::vector<std::string> args = {"pack", "--strict", "-o", Path("out.book")};
        args.insert(args.end(), entry.first.begin(), entry.first.end());
        Outcome run = Quire(args);
        EXPECT_EQ(entry.second, run.status) << run.err;
        EXPECT_EQ(entry.second == 1, old == ReadBytes(Path("out.book")));
        if (entry.second == 1) {
            EXPECT_NE(std::string::npos, run.err.find("U+2605")) << run.err;
            EXPECT_NE(std::string::npos, run.err.find(Path("out.book") + ": not written: characters would be lost or "
                                                                         "replaced (--strict)\n"));
        }
    }
}

// Texts unpacked as UTF-8 pack back to the same book; where UTF-8 would not read back the same
// (0x81, which iconv leaves undefined in 1252 while Windows maps it), the file keeps the book's
// bytes.
TEST_F(QuireCli, UnpackAsUtf8RoundTrips) {
    const std::string nul("\0", 1);
    struct Case {
        std::vector<TestMember> book;
        std::string firstText;  // 1.txt as unpacked
        std::string marker;
    };
    const std::vector<Case> cases = {
        {BookMembers("Zo\xEB", "\x80", {"Caf\xE9"}, {"Caf\xE9\r\n\x93q\x94\nend\r" + nul}), "Caf\xC3\xA9\r\n\xE2\x80\x9Cq\xE2\x80\x9D\nend\r" + nul,
         "encoding utf-8\ncodepage 1252\n"},
        {BookMembers("", "", {"a", "b"}, {"\x81\xE9", "\xEF\xBB\xBFx"}), "\x81\xE9",
         "encoding utf-8\ncodepage 1252\nansi 1.txt\n"},
    };
    for (const Case& entry : cases) {
        std::string book = MakeFile("in.book", EncodeContainer(entry.book));
        Outcome run = Quire({"unpack", "--encoding", "utf-8", book, Path("u")});
        ASSERT_EQ(0, run.status) << run.err;
        EXPECT_EQ(entry.firstText, ReadBytes(Path("u/1.txt")));
        EXPECT_EQ(entry.marker, ReadBytes(Path("u/encoding")));
        EXPECT_EQ(entry.marker.find("ansi") == std::string::npos, run.err.empty()) << run.err;
        run = Quire({"pack", "--from", Path("u"), "-o", Path("out.book")});
        EXPECT_EQ(0, run.status) << run.err;
        EXPECT_EQ(ReadBytes(book), ReadBytes(Path("out.book")));
        // Unpacked again in the book's bytes: no marker is left to misread them.
        ASSERT_EQ(0, Quire({"unpack", book, Path("u")}).status);
        EXPECT_FALSE(FileExists(Path("u/encoding")));
        ASSERT_EQ(0, Quire({"pack", "--from", Path("u"), "-o", Path("out.book")}).status);
        EXPECT_EQ(ReadBytes(book), ReadBytes(Path("out.book")));
    }

    // Edited in a UTF-8 editor: converted, line breaks as they are, losses told.
    ASSERT_EQ(0, Quire({"unpack", "--encoding", "utf-8", "--codepage", "1250", Path("in.book"), Path("e")}).status);
    MakeFile("e/2.txt", "\xC5\x82\n\xE2\x98\x85");
    Outcome run = Quire({"pack", "--from", Path("e"), "-o", Path("e.book")});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ(0u, run.err.find("quire: warning: " + Path("e/2.txt") + " (chapter 2): 1 character cannot be stored"));
    EXPECT_EQ(EncodeContainer(BookMembers("", "", {"a", "b"}, {"\x81\xE9", "\xB3\n"})), ReadBytes(Path("e.book")));
}

TEST_F(QuireCli, BadEncodingArguments) {
    ExpectUsage({"pack", "-o", "x.book", "--encoding", "latin1"},
                "quire: unknown encoding 'latin1' (it is one of auto, utf-8, utf-16, ansi)\n");
    ExpectUsage({"unpack", "--encoding", "utf-16", "b.book", "d"},
                "quire: unknown encoding 'utf-16' (it is one of ansi, utf-8)\n");
    ExpectUsage({"pack", "-o", "x.book", "--codepage", "12x"},
                "quire: --codepage takes a code page number, as 1252, not '12x'\n");
    ExpectUsage({"pack", "-o", "x.book", "--codepage", "12345"}, "quire: code page 12345 is not known on this system\n");
    mkdir(Path("d").c_str(), 0777);
    for (const char* name : {"author", "title", "contents"})
        MakeFile(std::string("d/") + name, "");
    MakeFile("d/encoding", "encoding utf-8\ncodepage 1252\nfrobnicate\n");
    Outcome run = Quire({"pack", "--from", Path("d"), "-o", Path("x.book")});
    EXPECT_EQ(1, run.status);
    EXPECT_EQ("quire: " + Path("d/encoding") + ": line 3 is not understood\n", run.err);
}

}  // namespace
