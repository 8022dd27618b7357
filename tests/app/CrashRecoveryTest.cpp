// The copy of an unsaved book kept against a crash: written while the user pauses, exactly as the
// window shows the book, never over the user's file, gone with the changes; a copy left behind is
// offered at the next start.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "DocumentTest.h"
#include "RealInput.h"
#include "RecoveryFile.h"
#include "TestFiles.h"

namespace {

// Real keys, so that the copy waits for the pause after them as it would for a user's.
void TypeAtEnd(HWND hWnd, const std::string& text) {
    RealInput::Click(RealInput::CentreOf(hWnd));
    RealInput::PressKey(VK_END, true);
    RealInput::Type(text);
}

class CrashRecoveryTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        m_recoveryDir = m_copies.Path("");
        m_recoveryDir.pop_back();
    }
    std::vector<std::string> Copies() const { return m_copies.Names(); }
    CTempDir m_copies;
};

TEST_F(CrashRecoveryTest, TheUnsavedBookIsCopiedAsShownWhenTheUserPausesAndGoesWithTheChanges) {
    const std::string path = WriteBook("kept.book", "Ann", "Tale", {{"One", "first"}, {"Two", "second"}});
    const std::string before = ReadBytes(path);
    Run(
        [&](CTestMainDlg& w) {
            TypeAtEnd(w.Item(IDC_AUTHOR), "e ");
            TypeAtEnd(w.Editor(), " more\t ");
            ASSERT_TRUE(ModalAnswerer::PumpUntil([&] { return Copies().size() == 1; }, 10000));
            std::unique_ptr<CBook> copy = LoadBook(m_copies.Path(Copies()[0]));
            ASSERT_TRUE(copy);
            EXPECT_EQ(copy->Author(), "Anne ");
            EXPECT_EQ(copy->ChapterText(0), "first more\t ");
            EXPECT_EQ(copy->ChapterText(1), "second");
            CRecoveryFile::Note note;
            ASSERT_TRUE(CRecoveryFile::ReadNote(m_copies.Path(Copies()[0]), note));
            EXPECT_EQ(note.docDir + "\\" + note.docName, path);
            EXPECT_FALSE(note.untitled);
            EXPECT_EQ(ReadBytes(path), before);
            std::printf("[ measure  ] the copy took %lu ms\n", w.AutosaveMs());
            w.Click(IDC_SAVE_BOOK);
            EXPECT_TRUE(Copies().empty());
        },
        "\"" + path + "\"");
}

// A folder that cannot be made: nothing is said, and no copy counts as written.
TEST_F(CrashRecoveryTest, ACopyThatCannotBeWrittenIsNeitherShownNorTakenForWritten) {
    WriteBytes(Path("file"), "x");
    m_recoveryDir = Path("file") + "\\recovery";
    ModalAnswerer answerer;
    Run([&](CTestMainDlg& w) {
        TypeAtEnd(w.Item(IDC_AUTHOR), "Ann");
        ModalAnswerer::PumpUntil([] { return false; }, 1500);
        EXPECT_FALSE(w.RecoveryWritten());
        EXPECT_TRUE(w.IsModified());
    });
}

TEST_F(CrashRecoveryTest, ACopyLeftBehindIsOfferedOnce) {
    FILETIME changed = {0x01DB0000, 0x12345678}, local;
    SYSTEMTIME st;
    ::FileTimeToLocalFileTime(&changed, &local);
    ::FileTimeToSystemTime(&local, &st);
    char when[32];
    std::snprintf(when, sizeof(when), "%04u-%02u-%02u %02u:%02u", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute);
    const std::string ended = std::string(kAppTitle) + " did not close normally";
    const std::string question = ended + ". Recover the book you were working on (lost.book, " + when + ")?";
    const std::string deletion = "Delete the recovered copy of \"lost.book\"? Its unsaved changes are then lost for good.";
    const std::string damaged = ended + ", but the copy of the book it kept is damaged and cannot be recovered. The "
                                        "copy is removed.";
    const struct {
        const char* what;
        std::vector<ModalAnswerer::Expectation> answers;
        bool damagedCopy, runningProgram, recovered, kept;
    } cases[] = {
        {"Yes opens it unsaved under its own name", {Box(kAppTitle, question, IDYES)}, false, false, true, false},
        {"No, Yes deletes it", {Box(kAppTitle, question, IDNO), Box(kAppTitle, deletion, IDYES)}, 0, 0, 0, 0},
        {"No, No keeps it", {Box(kAppTitle, question, IDNO), Box(kAppTitle, deletion, IDNO)}, 0, 0, 0, 1},
        {"a damaged copy is removed after saying so", {Box(kAppTitle, damaged, IDOK)}, true, false, false, false},
        {"a running program's copy is not offered", {}, false, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        {
            CRecoveryFile running(m_recoveryDir);
            std::string chapter = "kept\r\nexactly as it was ";
            ASSERT_TRUE(running.Write({"Ann", "Tale", {"One"}, {&chapter}}, {"C:\\books", "lost.book", false, changed}));
            if (c.damagedCopy)
                WriteBytes(running.Path(), ReadBytes(running.Path()).substr(0, 60));
            if (!c.runningProgram)
                ::MoveFileA(running.Path().c_str(), m_copies.Path("recovery-0-0.book").c_str());
            ModalAnswerer answerer;
            for (const ModalAnswerer::Expectation& answer : c.answers)
                answerer.Expect(answer);
            Run([&](CTestMainDlg& w) {
                ModalAnswerer::PumpUntil([&] { return answerer.AllAnswered(); });
                EXPECT_EQ(w.Caption(), CaptionFor(c.recovered ? "lost.book" : "new.book"));
                EXPECT_EQ(w.IsModified(), c.recovered);
                if (c.recovered) {
                    EXPECT_EQ(w.DocDir(), "C:\\books");
                    EXPECT_EQ(CTestMainDlg::BookTexts(), std::vector<std::string>{chapter});
                    EXPECT_EQ(Copies().size(), 1u);  // its own now, until the window ends
                    for (const std::string& recent : w.m_recentBooks.Paths())
                        EXPECT_EQ(recent.find("recovery-"), std::string::npos);
                }
            });
            EXPECT_EQ(Copies().size(), c.kept ? 1u : 0u);
        }
        for (const std::string& name : Copies())
            ::DeleteFileA(m_copies.Path(name).c_str());
    }
}

}  // namespace
