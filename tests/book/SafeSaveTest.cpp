#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "WinFileSystem.h"
#else
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "Book.h"
#include "FailingFileSystem.h"
#include "StdFileSystem.h"
#include "MessageLog.h"
#include "TempDir.h"
#include "TestContainer.h"
#include "TestFiles.h"

namespace {

const std::string kByteMessage = "cannot write: disk full?";
const std::string kBlockMessage = "write error";

// Each test runs over every real file system of the platform: the standard one everywhere, and the
// Windows calls under Windows.
struct RealFileSystem {
    const char* name;
    CFileSystem& (*get)();
};

void PrintTo(const RealFileSystem& fileSystem, std::ostream* out) {
    *out << fileSystem.name;
}

CFileSystem& Standard() {
    static CStdFileSystem fileSystem;
    return fileSystem;
}

#ifdef _WIN32
CFileSystem& Windows() {
    static CWinFileSystem fileSystem;
    return fileSystem;
}
#endif

class SafeSave : public ::testing::TestWithParam<RealFileSystem> {
protected:
    CFileSystem& m_real = GetParam().get();
    CTempDir m_dir;
    std::unique_ptr<CBook> m_pBook = std::make_unique<CBook>();
    CBook& m_book = *m_pBook;
    CMessageLog m_log;
    std::string m_strPath = m_dir.Path("book.book");
    std::string m_strOld;
    std::vector<TestMember> m_members;

    void SetUp() override {
        CFileSystem::SetActive(&m_real);
        m_book.SetAuthor("the book already on disk");
        ASSERT_TRUE(m_book.SaveToFile(m_strPath.c_str()));
        m_strOld = ReadBytes(m_strPath);
        SetContent({"C"}, {"xy"});
    }

    void TearDown() override { CFileSystem::SetActive(nullptr); }

    void SetContent(const std::vector<std::string>& titles, const std::vector<std::string>& texts) {
        m_book.Clear();
        m_book.SetAuthor("A");
        m_book.SetTitle("T");
        for (std::size_t i = 0; i < titles.size(); ++i) {
            m_book.SetChapterTitle(static_cast<uint32_t>(i), titles[i]);
            m_book.SetChapterText(static_cast<uint32_t>(i), texts[i]);
        }
        m_members = BookMembers("A", "T", titles, texts);
    }

    // What an unbuffered writer reports when the byte at `offset` is the first one lost: header,
    // directory and record flags are written byte by byte, names and data in blocks.
    std::string MessageForLossAt(std::size_t offset) const {
        std::size_t position = 6 + 10 * m_members.size();
        if (offset < position)
            return kByteMessage;
        for (const TestMember& member : m_members)
            position += member.name.size() + 1;
        if (offset < position)
            return kBlockMessage;
        for (const TestMember& member : m_members) {
            if (offset == position)
                return kByteMessage;
            position += 1 + member.data.size();
            if (offset < position)
                return kBlockMessage;
        }
        return "";
    }

    std::string SaveThrough(CFailingFileSystem& fileSystem, bool expected) {
        m_log.Clear();
        CFileSystem::SetActive(&fileSystem);
        EXPECT_EQ(expected, m_book.SaveToFile(m_strPath.c_str()));
        CFileSystem::SetActive(&m_real);
        std::string messages;
        for (const std::string& message : m_log.Messages())
            messages += message + ";";
        return messages;
    }

    // After a failed save: the old file byte for byte, nothing else in the directory, and the next
    // save (the disk has room again) writes the new book.
    void ExpectOldFileAndNextSaveWorks(const std::string& context) {
        EXPECT_EQ(m_strOld, ReadBytes(m_strPath)) << context;
        EXPECT_EQ(std::vector<std::string>{"book.book"}, m_dir.Names()) << context;
        ASSERT_TRUE(m_book.SaveToFile(m_strPath.c_str())) << context;
        EXPECT_EQ(EncodeContainer(m_members), ReadBytes(m_strPath)) << context;
        WriteBytes(m_strPath, m_strOld);
    }
};

TEST_P(SafeSave, AShortWriteAtAnyByteKeepsTheOldFileAndReportsLikeTheByteHelpers) {
    const std::size_t size = EncodeContainer(m_members).size();
    ASSERT_EQ(229u, size);
    for (std::size_t accepted = 0; accepted < size; ++accepted) {
        CFailingFileSystem fileSystem(m_real);
        fileSystem.AcceptBytes(accepted);
        std::string context = "after " + std::to_string(accepted) + " bytes";
        EXPECT_EQ(MessageForLossAt(accepted) + ";", SaveThrough(fileSystem, false)) << context;
        ExpectOldFileAndNextSaveWorks(context);
    }
}

TEST_P(SafeSave, AFailureOfAnyFileOperationKeepsTheOldFile) {
    CFailingFileSystem counting(m_real);
    SaveThrough(counting, true);
    const std::vector<std::string> calls = counting.Calls();
    ASSERT_EQ((std::vector<std::string>{"create", "write", "flush", "close", "replace"}), calls);
    WriteBytes(m_strPath, m_strOld);

    for (std::size_t call = 1; call <= calls.size(); ++call) {
        CFailingFileSystem fileSystem(m_real);
        fileSystem.FailAtCall(static_cast<int>(call));
        const std::string& operation = calls[call - 1];
        std::string expected;  // an unopened or unplaced file is reported by the caller, not the writer
        if (operation == "write")
            expected = kByteMessage + ";";
        else if (operation == "flush" || operation == "close")
            expected = kBlockMessage + ";";
        EXPECT_EQ(expected, SaveThrough(fileSystem, false)) << operation;
        ExpectOldFileAndNextSaveWorks(operation);
    }
}

// A load reads through the same seam: a failure of any read operation refuses the book and leaves it
// empty, whichever part of the file was being read (the chapter is larger than the reader's buffer).
TEST_P(SafeSave, AFailureOfAnyReadOperationRefusesTheLoad) {
    SetContent({"C"}, {std::string(2000, 't')});
    ASSERT_TRUE(m_book.SaveToFile(m_strPath.c_str()));
    CFailingFileSystem counting(m_real);
    CFileSystem::SetActive(&counting);
    ASSERT_TRUE(m_book.LoadFromFile(m_strPath.c_str()));
    EXPECT_EQ(std::string(2000, 't'), m_book.ChapterText(0));
    const std::vector<std::string> calls = counting.Calls();
    ASSERT_EQ("open", calls.front());
    ASSERT_EQ("close", calls.back());

    for (std::size_t call = 1; call <= calls.size(); ++call) {
        CFailingFileSystem fileSystem(m_real);
        fileSystem.FailAtCall(static_cast<int>(call));
        CFileSystem::SetActive(&fileSystem);
        const std::string& operation = calls[call - 1];
        // A close that fails after everything was read costs nothing.
        EXPECT_EQ(operation == "close", m_book.LoadFromFile(m_strPath.c_str())) << call << " " << operation;
        EXPECT_EQ(operation == "close" ? 1 : 0, m_book.ChapterCount()) << call << " " << operation;
    }
    CFileSystem::SetActive(&m_real);
}

TEST_P(SafeSave, LargeMembersAreCountedByteForByteToo) {
    const std::size_t kMiB = std::size_t{1024} * 1024, kBig = kMiB + kMiB / 2;  // more than the writer gathers at once
    SetContent({"big", "small", "empty"}, {std::string(kBig, 'b'), std::string(100, 's'), ""});
    const std::string expected = EncodeContainer(m_members);
    std::set<std::size_t> offsets = {0, 1, kMiB - 1, kMiB, kMiB + 1, 2 * kMiB, expected.size() - 1};
    const std::size_t bigData = GetU32(expected, DataPositionAt(4)) + 1;
    for (std::size_t around : {bigData, bigData + kBig, bigData + kBig + 1 + 100}) {
        for (std::size_t offset = around - 2; offset <= around + 2; ++offset)
            offsets.insert(offset);
    }
    for (std::size_t accepted : offsets) {
        if (accepted >= expected.size())
            continue;
        CFailingFileSystem fileSystem(m_real);
        fileSystem.AcceptBytes(accepted);
        std::string context = "after " + std::to_string(accepted) + " bytes";
        EXPECT_EQ(MessageForLossAt(accepted) + ";", SaveThrough(fileSystem, false)) << context;
        ExpectOldFileAndNextSaveWorks(context);
    }

    // Many small writes are gathered: the whole book takes few calls.
    CFailingFileSystem counting(m_real);
    SaveThrough(counting, true);
    EXPECT_LE(counting.Calls().size(), 10u);
}

TEST_P(SafeSave, FailedSaveUnderANewNameLeavesNoFile) {
    m_strPath = m_dir.Path("new.book");
    for (std::size_t accepted : {0u, 100u, 228u}) {
        CFailingFileSystem fileSystem(m_real);
        fileSystem.AcceptBytes(accepted);
        SaveThrough(fileSystem, false);
        EXPECT_EQ(std::vector<std::string>{"book.book"}, m_dir.Names());
    }
    CFailingFileSystem fileSystem(m_real);
    fileSystem.FailAtCall(5);
    SaveThrough(fileSystem, false);
    EXPECT_EQ(std::vector<std::string>{"book.book"}, m_dir.Names());
}

// Names are bytes in the ANSI code page on Windows: the replace must hit the file they name.
TEST_P(SafeSave, NonAsciiNameIsReplacedInPlace) {
    std::string path =
        m_strPath.substr(0, m_strPath.size() - std::string("book.book").size()) + "caf\xe9\x80.book";
    ASSERT_TRUE(m_book.SaveToFile(path.c_str()));
    m_book.SetTitle("second");
    ASSERT_TRUE(m_book.SaveToFile(path.c_str()));
    EXPECT_EQ(2u, m_dir.Names().size());
    ASSERT_TRUE(m_book.LoadFromFile(path.c_str()));
    EXPECT_EQ("second", m_book.Title());
}

// Also for root, who may write such a file: the protection is the user's.
TEST_P(SafeSave, ReadOnlyFileIsNotReplaced) {
    namespace fs = std::filesystem;
    fs::permissions(m_strPath, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(m_book.SaveToFile(m_strPath.c_str()));
    EXPECT_EQ(m_strOld, ReadBytes(m_strPath));
    EXPECT_EQ(std::vector<std::string>{"book.book"}, m_dir.Names());
}

#ifndef _WIN32
// Only POSIX has permissions beyond the read-only attribute to lose.
TEST_P(SafeSave, ReplacingKeepsTheOldFilesPermissions) {
    namespace fs = std::filesystem;
    fs::permissions(m_strPath, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(m_book.SaveToFile(m_strPath.c_str()));
    EXPECT_EQ(EncodeContainer(m_members), ReadBytes(m_strPath));
    EXPECT_EQ(fs::perms::owner_read | fs::perms::owner_write,
              fs::status(m_strPath).permissions() &
                  (fs::perms::owner_all | fs::perms::group_all | fs::perms::others_all));
}

// A real write limit: the kernel refuses the bytes beyond it, as a full disk does.
TEST_P(SafeSave, FileSizeLimitKeepsTheOldFile) {
    SetContent({"big"}, {std::string(300000, 'b')});
    struct rlimit saved;
    ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &saved));
    struct rlimit limited = saved;
    limited.rlim_cur = 100000;
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &limited));
    m_log.Clear();
    bool saved_ok = m_book.SaveToFile(m_strPath.c_str());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(std::vector<std::string>{kBlockMessage}, m_log.Messages());
    ExpectOldFileAndNextSaveWorks("file size limit");
}

TEST_P(SafeSave, FullDiskKeepsTheOldFile) {
    if (geteuid() != 0)
        GTEST_SKIP() << "mounting a small file system needs root";
    CTempDir mountPoint;
    if (mount("tmpfs", mountPoint.Path("").c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    std::string path = mountPoint.Path("book.book");
    WriteBytes(path, m_strOld);
    SetContent({"big"}, {std::string(200000, 'b')});

    m_log.Clear();
    EXPECT_FALSE(m_book.SaveToFile(path.c_str()));
    EXPECT_EQ(1u, m_log.Messages().size());
    EXPECT_EQ(m_strOld, ReadBytes(path));
    EXPECT_EQ(std::vector<std::string>{"book.book"}, mountPoint.Names());
    umount2(mountPoint.Path("").c_str(), MNT_DETACH);
}
#endif

#ifdef _WIN32
// Another program holding the book open keeps it from being replaced; the save fails cleanly.
TEST_P(SafeSave, FileHeldOpenElsewhereIsNotReplaced) {
    std::FILE* holder = std::fopen(m_strPath.c_str(), "rb");
    ASSERT_TRUE(holder);
    m_log.Clear();
    EXPECT_FALSE(m_book.SaveToFile(m_strPath.c_str()));
    std::fclose(holder);
    EXPECT_TRUE(m_log.Messages().empty());
    ExpectOldFileAndNextSaveWorks("held open");
}

// How the user keeps the file (here: hidden) survives the replacement by the Windows calls.
TEST_P(SafeSave, WindowsReplacementKeepsTheTargetsAttributes) {
    if (&m_real != &Windows())
        GTEST_SKIP() << "the standard file system carries over permission bits only";
    ASSERT_TRUE(SetFileAttributesA(m_strPath.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(m_book.SaveToFile(m_strPath.c_str()));
    EXPECT_EQ(EncodeContainer(m_members), ReadBytes(m_strPath));
    DWORD attributes = GetFileAttributesA(m_strPath.c_str());
    EXPECT_NE(0u, attributes & FILE_ATTRIBUTE_HIDDEN) << attributes;
}
#endif

std::string NameOf(const ::testing::TestParamInfo<RealFileSystem>& info) {
    return info.param.name;
}

#ifdef _WIN32
INSTANTIATE_TEST_SUITE_P(Real,
                         SafeSave,
                         ::testing::Values(RealFileSystem{"Standard", Standard},
                                           RealFileSystem{"Windows", Windows}),
                         NameOf);
#else
INSTANTIATE_TEST_SUITE_P(Real, SafeSave, ::testing::Values(RealFileSystem{"Standard", Standard}), NameOf);
#endif

}  // namespace
