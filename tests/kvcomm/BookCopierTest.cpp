// The copy into the handheld's storage, with its writes failing on purpose through the seam.
#include "ModalAnswerer.h"
#include "TempDir.h"
#include "TestFiles.h"

#include "BookCopier.h"
#include "DeviceFolder.h"
#include "KvCommResource.h"
#include "kvcomm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

namespace {

// The seam's state: how many more bytes fit, and how many write calls may still succeed.
// Set by the answering thread while the wizard waits on a message box.
std::atomic<unsigned long long> g_room{0};
int g_callsLeft = 0;
DWORD g_error = 0;

// What Wine does on a full disk: the write that crosses the limit succeeds with fewer bytes,
// the next one fails.
BOOL WINAPI WriteUntilFull(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    if (g_room == 0) {
        *written = 0;
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    DWORD allowed = static_cast<DWORD>(std::min<unsigned long long>(size, g_room.load()));
    BOOL ok = WriteFile(file, data, allowed, written, overlapped);
    g_room -= *written;
    return ok;
}

BOOL WINAPI WriteNothing(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
    *written = 0;
    return TRUE;
}

BOOL WINAPI FailAfterCalls(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    if (g_callsLeft-- <= 0) {
        *written = 0;
        SetLastError(g_error);
        return FALSE;
    }
    return WriteFile(file, data, size, written, overlapped);
}

class Seam {
public:
    explicit Seam(decltype(CBookCopier::PlatformCalls::pfnWriteFile) write) : m_calls{write} {
        CBookCopier::PlatformCalls::SetActive(&m_calls);
    }
    ~Seam() { CBookCopier::PlatformCalls::SetActive(nullptr); }

private:
    CBookCopier::PlatformCalls m_calls;
};

class KvCommCopier : public ::testing::Test {
protected:
    void SetUp() override {
        m_strBook = m_temp.Path("source.book");
        m_strBytes = PatternBytes(3 * CBookCopier::kChunkSize + 123, 7);
        WriteBytes(m_strBook, m_strBytes);
        m_strDevice = m_temp.Path("device");
        MakeFolder(m_strDevice);
        m_strTarget = m_strDevice + "\\Novel.book";
    }

    CBookCopier::Status CopyAll(CBookCopier& copier) {
        if (!copier.Begin(m_strBook, m_strDevice, "Novel.book"))
            return CBookCopier::Status::Failed;
        CBookCopier::Status status;
        int steps = 0;
        while ((status = copier.Step()) == CBookCopier::Status::Copying && ++steps < 1000) {
        }
        return status;
    }

    CTempDir m_temp;
    std::string m_strBook;
    std::string m_strBytes;
    std::string m_strDevice;
    std::string m_strTarget;
};

TEST_F(KvCommCopier, CopiesInChunksAndPutsTheCopyInPlaceOnlyAtTheEnd) {
    CBookCopier copier;
    ASSERT_TRUE(copier.Begin(m_strBook, m_strDevice + "\\", "Novel.book"));
    EXPECT_EQ(copier.GetTargetPath(), m_strTarget);
    EXPECT_EQ(copier.GetBytesTotal(), m_strBytes.size());
    std::vector<unsigned long long> progress;
    CBookCopier::Status status;
    while ((status = copier.Step()) == CBookCopier::Status::Copying) {
        progress.push_back(copier.GetBytesDone());
        EXPECT_FALSE(PathExists(m_strTarget));
        ASSERT_LT(progress.size(), 10u);
    }
    EXPECT_EQ(status, CBookCopier::Status::Done);
    EXPECT_EQ(progress, (std::vector<unsigned long long>{65536, 131072, 196608, m_strBytes.size()}));
    EXPECT_EQ(FolderNames(m_strDevice), std::vector<std::string>{"Novel.book"});
    EXPECT_TRUE(ReadBytes(m_strTarget) == m_strBytes);
    EXPECT_EQ(copier.Step(), CBookCopier::Status::Done);
}

TEST_F(KvCommCopier, EmptyBookIsCopied) {
    WriteBytes(m_strBook, "");
    CBookCopier copier;
    EXPECT_EQ(CopyAll(copier), CBookCopier::Status::Done);
    EXPECT_TRUE(PathExists(m_strTarget));
    EXPECT_EQ(ReadBytes(m_strTarget), "");
}

TEST_F(KvCommCopier, FullDiskAtAnyByteKeepsTheOldCopyAndLeavesNoTemporaryFile) {
    WriteBytes(m_strTarget, "the copy already on the handheld");
    Seam seam(WriteUntilFull);
    const unsigned long long size = m_strBytes.size();
    for (unsigned long long room : {0ull, 1ull, 65535ull, 65536ull, 65537ull, 150000ull, size - 1}) {
        g_room = room;
        CBookCopier copier;
        EXPECT_EQ(CopyAll(copier), CBookCopier::Status::Failed) << room;
        EXPECT_EQ(copier.GetFailure(), CBookCopier::Failure::DiskFull) << room;
        EXPECT_EQ(copier.GetError(), static_cast<DWORD>(ERROR_DISK_FULL)) << room;
        EXPECT_EQ(FolderNames(m_strDevice), std::vector<std::string>{"Novel.book"}) << room;
        EXPECT_EQ(ReadBytes(m_strTarget), "the copy already on the handheld") << room;
    }
    g_room = size;
    CBookCopier copier;
    EXPECT_EQ(CopyAll(copier), CBookCopier::Status::Done);
    EXPECT_TRUE(ReadBytes(m_strTarget) == m_strBytes);
}

TEST_F(KvCommCopier, WritesThatReportNothingWrittenEndAsAFullDisk) {
    Seam seam(WriteNothing);
    CBookCopier copier;
    EXPECT_EQ(CopyAll(copier), CBookCopier::Status::Failed);
    EXPECT_EQ(copier.GetFailure(), CBookCopier::Failure::DiskFull);
    EXPECT_TRUE(FolderNames(m_strDevice).empty());
}

TEST_F(KvCommCopier, OtherWriteErrorsAreKeptForTheReport) {
    Seam seam(FailAfterCalls);
    for (int calls = 0; calls < 4; ++calls) {
        g_callsLeft = calls;
        g_error = ERROR_ACCESS_DENIED;
        CBookCopier copier;
        EXPECT_EQ(CopyAll(copier), CBookCopier::Status::Failed) << calls;
        EXPECT_EQ(copier.GetFailure(), CBookCopier::Failure::WriteFailed) << calls;
        EXPECT_EQ(copier.GetError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << calls;
        EXPECT_TRUE(FolderNames(m_strDevice).empty()) << calls;
    }
    g_callsLeft = 1;
    g_error = ERROR_HANDLE_DISK_FULL;
    CBookCopier copier;
    EXPECT_EQ(CopyAll(copier), CBookCopier::Status::Failed);
    EXPECT_EQ(copier.GetFailure(), CBookCopier::Failure::DiskFull);
}

TEST_F(KvCommCopier, MissingFolderOrBookFailsBeforeAnythingIsWritten) {
    CBookCopier copier;
    EXPECT_FALSE(copier.Begin(m_strBook, m_temp.Path("unplugged"), "Novel.book"));
    EXPECT_EQ(copier.GetFailure(), CBookCopier::Failure::FolderMissing);
    EXPECT_FALSE(PathExists(m_temp.Path("unplugged")));

    EXPECT_FALSE(copier.Begin(m_temp.Path("gone.book"), m_strDevice, "Novel.book"));
    EXPECT_EQ(copier.GetFailure(), CBookCopier::Failure::SourceUnreadable);
    EXPECT_EQ(copier.GetError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(copier.Step(), CBookCopier::Status::Failed);
    EXPECT_TRUE(FolderNames(m_strDevice).empty());
}

// In a folder deep enough that the book's path there just fits, the temporary file fits too; a
// name that would not fit is refused before anything is created.
TEST_F(KvCommCopier, DeepFoldersAreMeasuredBeforeAnythingIsCreated) {
    std::string deep = m_temp.Path(std::string(248 - m_temp.Root().size() - 1, 'd'));
    MakeFolder(deep);
    CBookCopier copier;
    EXPECT_FALSE(copier.Begin(m_strBook, deep, "Novel(2).book"));
    EXPECT_EQ(copier.GetFailure(), CBookCopier::Failure::PathTooLong);
    EXPECT_TRUE(FolderNames(deep).empty());
    m_strDevice = deep;
    EXPECT_EQ(CopyAll(copier), CBookCopier::Status::Done);  // "Novel.book": 259 characters
    EXPECT_EQ(FolderNames(deep), std::vector<std::string>{"Novel.book"});
}

TEST_F(KvCommCopier, AbortOrDestructionMidwayRemovesTheTemporaryFile) {
    {
        CBookCopier copier;
        ASSERT_TRUE(copier.Begin(m_strBook, m_strDevice, "Novel.book"));
        EXPECT_EQ(copier.Step(), CBookCopier::Status::Copying);
        EXPECT_EQ(FolderNames(m_strDevice).size(), 1u);
        copier.Abort();
        EXPECT_TRUE(FolderNames(m_strDevice).empty());
        EXPECT_EQ(copier.Step(), CBookCopier::Status::Failed);

        ASSERT_TRUE(copier.Begin(m_strBook, m_strDevice, "Novel.book"));
        EXPECT_EQ(copier.Step(), CBookCopier::Status::Copying);
    }
    EXPECT_TRUE(FolderNames(m_strDevice).empty());
}

// The wizard over a full disk: a clear message, the wizard stays open, nothing is left behind.
TEST_F(KvCommCopier, WizardReportsAFullDiskAndCanTryAgain) {
    RegDeleteKeyA(HKEY_CURRENT_USER, CDeviceFolder::kRegistryKey);
    Seam seam(WriteUntilFull);
    g_room = 100000;
    UploadFileInfo record = {};
    record.size = sizeof(record);
    record.path = m_strBook.c_str();
    record.name = "Novel.book";
    bool leftOpen = false;
    int result = ModalAnswerer::RunScript(
        [&] { return KelvraUploadWizardA(&record, 1, nullptr); },
        [&](ModalAnswerer::Script& script) {
            HWND wizard = script.WaitForDialog(IDC_KV_FOLDER);
            ASSERT_NE(wizard, nullptr);
            ModalAnswerer::SetControlText(wizard, IDC_KV_FOLDER, m_strDevice);
            ModalAnswerer::Click(wizard, IDOK);
            HWND box = script.WaitForMessageBox(IDC_KV_FOLDER);
            ASSERT_NE(box, nullptr);
            EXPECT_NE(ModalAnswerer::ControlText(box, 0xFFFF)
                          .find("not enough room on the handheld for \"Novel.book\""),
                      std::string::npos);
            EXPECT_TRUE(FolderNames(m_strDevice).empty());
            ModalAnswerer::Click(box, IDOK);
            // Room was made: the second attempt goes through.
            g_room = 1 << 20;
            ASSERT_TRUE(ModalAnswerer::WaitUntil(
                [&] { return IsWindowEnabled(GetDlgItem(wizard, IDOK)) && !IsWindow(box); }));
            ModalAnswerer::Click(wizard, IDOK);
            ASSERT_TRUE(
                ModalAnswerer::WaitUntil([&] { return ModalAnswerer::ControlText(wizard, IDOK) == "Finish"; }));
            ModalAnswerer::Click(wizard, IDCANCEL);
        },
        &leftOpen);
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(ReadBytes(m_strTarget) == m_strBytes);
    RegDeleteKeyA(HKEY_CURRENT_USER, CDeviceFolder::kRegistryKey);
}

}  // namespace
