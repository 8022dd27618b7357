// Black-box tests of the quire tool: the built program is run with arguments and its files,
// output and exit status are checked.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <csignal>
#include <random>
#include <string>
#include <vector>

#include "TempDir.h"
#include "TestContainer.h"
#include "TestFiles.h"

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

    Outcome Quire(const std::vector<std::string>& args) {
        std::string outPath = Path("stdout.txt"), errPath = Path("stderr.txt");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<char*> argv = {const_cast<char*>(QUIRE_PATH)};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        pid_t pid;
        int status = -1;
        if (posix_spawn(&pid, QUIRE_PATH, &actions, nullptr, argv.data(), environ) == 0)
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

    void ExpectUsage(const std::vector<std::string>& args) {
        Outcome run = Quire(args);
        EXPECT_EQ(2, run.status);
        EXPECT_EQ(0u, run.err.find("usage: quire "));
        EXPECT_EQ(run.err.size() - 1, run.err.find('\n')) << "one line";
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
    const std::string author = "Au\xff\x01 \r", title = "Ti\ttle\x80";
    std::vector<std::string> files = {MakeFile("ch.one.txt", texts[0]), MakeFile(".hidden", texts[1]),
                                      MakeFile("noext", texts[2]), MakeFile("-dash.rtf", texts[3])};
    Outcome run = Quire({"pack", "-a", author, "-o", Path("any.book"), "-t", title, "--", files[0], files[1],
                         files[2], files[3]});
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
        EXPECT_EQ("Invalid file format\n", run.err);
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
    ExpectUsage({"frobnicate"});
    ExpectUsage({"pack"});
    ExpectUsage({"pack", "-o"});
    ExpectUsage({"pack", "-o", "x.book", "-x"});
    ExpectUsage({"pack", "--from", "d", "-o", "x.book", "file.txt"});
    ExpectUsage({"info"});
    ExpectUsage({"info", "a", "b"});
    ExpectUsage({"unpack", "a"});
    ExpectUsage({"check"});
    ExpectUsage({"check-name", "a", "b"});

    Outcome help = Quire({"--help"});
    EXPECT_EQ(0, help.status);
    for (const char* command : {"pack -o", "pack --from", "info", "unpack", "check BOOK", "check-name"})
        EXPECT_NE(std::string::npos, help.out.find(std::string("quire ") + command)) << command;
}

TEST_F(QuireCli, FailedSaveReportsAndKeepsTheOldFile) {
    Outcome run = Quire({"pack", "-o", Path("no/such/dir/x.book")});
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("cannot save"));

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
    EXPECT_EQ(0u, run.err.find("quire: write error\n"));
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

}  // namespace
