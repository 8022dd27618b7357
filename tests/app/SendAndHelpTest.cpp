// Save and Send and Help on the real main window: the book is saved first and the upload record
// carries the file just written; Help opens the viewer on the help file beside the program, or
// says why it cannot. The wizard and the HTML Help control are replaced where a test must see
// their arguments, and used for real once each.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "Book.h"
#include "FakeHtmlHelpControl.h"
#include "HtmlHelpLoader.h"
#include "ModalAnswerer.h"
#include "SendAndHelp.h"
#include "TestMainDlg.h"
#include "WindowRunner.h"

namespace {

const std::string kMissingHelp =
    "You don't have QuireBinder.chm or HTML Help Viewer!\n\n"
    "Please download Help Viewer from URL:\n\n"
    "http://kelvra.example/helpviewer/";

// What the wizard was given, read during the call: the strings are gone once it returns.
struct WizardCall {
    DWORD words[5];  // the record as the library reads it, five 32-bit fields
    std::string path;
    std::string name;
    int nCount;
    HWND hOwner;
    bool bBookReadable;  // the file at `path` loaded as a book when the wizard was called
    std::string author;
};

std::vector<WizardCall> g_wizardCalls;
int g_nWizardResult = 0;

int WINAPI RecordingWizard(UploadFileInfo* pRecord, int nCount, HWND hOwner) {
    WizardCall call{};
    std::memcpy(call.words, pRecord, sizeof(call.words));
    call.path = pRecord->path;
    call.name = pRecord->name;
    call.nCount = nCount;
    call.hOwner = hOwner;
    CBook book;
    call.bBookReadable = book.LoadFromFile(pRecord->path);
    call.author = book.Author();
    g_wizardCalls.push_back(call);
    return g_nWizardResult;
}

const UploadWizardCalls kRecordingWizard{&RecordingWizard};

class SaveAndSend : public testing::Test {
protected:
    void SetUp() override {
        g_wizardCalls.clear();
        g_nWizardResult = 0;
        UploadWizardCalls::SetActive(&kRecordingWizard);
        char szTemp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, szTemp);
        m_dir = std::string(szTemp) + "quire_send_tests";
        ::CreateDirectoryA(m_dir.c_str(), nullptr);
    }
    void TearDown() override {
        UploadWizardCalls::SetActive(nullptr);
        for (const std::string& file : m_files) {
            ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileA(file.c_str());
        }
        ::RemoveDirectoryA(m_dir.c_str());
    }

    // A file the test makes or expects the window to make; removed afterwards.
    std::string File(const std::string& path) {
        ::DeleteFileA(path.c_str());
        m_files.push_back(path);
        return path;
    }

    std::string SavedBook(const std::string& name, const char* author) {
        std::string path = File(m_dir + "\\" + name);
        CBook book;
        book.SetAuthor(author);
        book.SetChapterTitle(0, "One");
        EXPECT_TRUE(book.SaveToFile(path.c_str()));
        return path;
    }

    static void TypeAuthor(CTestMainDlg& w, const char* text) {
        ::SendMessageA(::GetDlgItem(w.m_hWnd, IDC_AUTHOR), EM_REPLACESEL, TRUE,
                       reinterpret_cast<LPARAM>(text));
    }

    std::string m_dir;
    std::vector<std::string> m_files;
};

// From the menu and from the button alike, a book without a file asks for one; cancelling sends
// nothing and leaves the book as it was.
TEST_F(SaveAndSend, NeverSavedBookAsksForANameAndSendsNothingWhenCancelled) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg& w) {
        TypeAuthor(w, "Jane");
        ModalAnswerer answerer;
        answerer.Expect(ModalAnswerer::Press("Save As", IDCANCEL));
        ::SendMessageA(w.m_hWnd, WM_COMMAND, IDM_FILE_SAVE_SEND, 0);
        answerer.Expect(ModalAnswerer::Press("Save As", IDCANCEL));
        ::SendMessageA(::GetDlgItem(w.m_hWnd, IDC_SEND_BOOK), BM_CLICK, 0, 0);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(answerer.Seen().size(), 2u);
        EXPECT_EQ(WindowRunner::WindowText(w.m_hWnd), "new.book - Kelvra Quire Binder");
        EXPECT_TRUE(w.IsModified());
    });
    EXPECT_TRUE(g_wizardCalls.empty());
}

// The record as the library reads it, for a new book saved as C:\Books\My.book through the
// button; the wizard's result, success or not, changes nothing and shows nothing.
TEST_F(SaveAndSend, RecordCarriesThePathAndNameOfTheFileJustWritten) {
    ::CreateDirectoryA("C:\\Books", nullptr);
    File("C:\\Books\\My.book");
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg& w) {
        TypeAuthor(w, "Mary Shelley");
        ModalAnswerer answerer;
        answerer.Expect(ModalAnswerer::FileName("Save As", "C:\\Books\\My.book"));
        ::SendMessageA(::GetDlgItem(w.m_hWnd, IDC_SEND_BOOK), BM_CLICK, 0, 0);
        EXPECT_TRUE(answerer.AllAnswered());

        ASSERT_EQ(g_wizardCalls.size(), 1u);
        const WizardCall& call = g_wizardCalls[0];
        EXPECT_EQ(call.words[0], 20u);
        EXPECT_EQ(call.path, "C:\\Books\\My.book");
        EXPECT_EQ(call.name, "My.book");
        EXPECT_EQ(call.words[3], 0u);
        EXPECT_EQ(call.words[4], 0u);
        EXPECT_EQ(call.nCount, 1);
        EXPECT_EQ(call.hOwner, w.m_hWnd);
        EXPECT_TRUE(call.bBookReadable);
        EXPECT_EQ(call.author, "Mary Shelley");
        EXPECT_EQ(WindowRunner::WindowText(w.m_hWnd), "My.book - Kelvra Quire Binder");
        EXPECT_FALSE(w.IsModified());

        g_nWizardResult = 1;
        ::SendMessageA(w.m_hWnd, WM_COMMAND, IDM_FILE_SAVE_SEND, 0);
        EXPECT_EQ(g_wizardCalls.size(), 2u);
        EXPECT_EQ(answerer.Seen().size(), 1u) << "no message of the program's own";
    });
    ::RemoveDirectoryA("C:\\Books");
}

// Nothing changed since the book was opened, yet the file is written again before the wizard
// sees it: here the copy on disk was spoilt in between, and the wizard reads a whole book.
TEST_F(SaveAndSend, UnchangedSavedBookIsWrittenAgainBeforeTheWizard) {
    std::string path = SavedBook("Unchanged.book", "Anne Bronte");
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg& w) {
        w.OpenBook(path.c_str());
        ASSERT_FALSE(w.IsModified());
        HANDLE hFile = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
        DWORD nWritten = 0;
        ::WriteFile(hFile, "spoilt", 6, &nWritten, nullptr);
        ::CloseHandle(hFile);

        ModalAnswerer answerer;  // no window may appear
        ::SendMessageA(w.m_hWnd, WM_COMMAND, IDM_FILE_SAVE_SEND, 0);
        ASSERT_EQ(g_wizardCalls.size(), 1u);
        EXPECT_TRUE(g_wizardCalls[0].bBookReadable);
        EXPECT_EQ(g_wizardCalls[0].author, "Anne Bronte");
        EXPECT_EQ(g_wizardCalls[0].path, path);
        EXPECT_EQ(g_wizardCalls[0].name, "Unchanged.book");
    });
}

// A name the handheld's rule refuses, kept with Yes, is saved and sent as it is: both when the
// book already has that name and when it is typed into the Save As dialog.
TEST_F(SaveAndSend, InvalidNameKeptWithYesIsSentUnderThatName) {
    const std::string kName = "my book.book";
    const std::string kWarning = "Invalid Kelvra file name\n\n\"my book.book\"\n\n Use this name anyway?";
    std::string path = SavedBook(kName, "Emily");
    {
        CTestMainDlg dlg;
        WindowRunner::Run(dlg, [&](CTestMainDlg& w) {
            w.OpenBook(path.c_str());
            ModalAnswerer answerer;
            answerer.Expect(ModalAnswerer::Press("Kelvra Quire Binder", IDYES).WithText(kWarning));
            ::SendMessageA(w.m_hWnd, WM_COMMAND, IDM_FILE_SAVE_SEND, 0);
            EXPECT_TRUE(answerer.AllAnswered());
        });
    }
    ::DeleteFileA(path.c_str());
    {
        CTestMainDlg dlg;
        WindowRunner::Run(dlg, [&](CTestMainDlg& w) {
            ModalAnswerer answerer;
            answerer.Expect(ModalAnswerer::FileName("Save As", m_dir + "\\my book"))
                .Expect(ModalAnswerer::Press("Kelvra Quire Binder", IDYES).WithText(kWarning));
            ::SendMessageA(w.m_hWnd, WM_COMMAND, IDM_FILE_SAVE_SEND, 0);
            EXPECT_TRUE(answerer.AllAnswered());
        });
    }
    ASSERT_EQ(g_wizardCalls.size(), 2u);
    for (const WizardCall& call : g_wizardCalls) {
        EXPECT_EQ(call.name, kName);
        EXPECT_EQ(call.path, path);
        EXPECT_TRUE(call.bBookReadable);
    }
}

// The real kvcomm.dll: its wizard opens over the main window, which owns it; Cancel ends it and
// the window carries on as before.
TEST_F(SaveAndSend, RealWizardOpensOwnedByTheMainWindow) {
    UploadWizardCalls::SetActive(nullptr);
    std::string path = SavedBook("Send.book", "Jane");
    CTestMainDlg dlg;
    INT_PTR nResult = WindowRunner::Run(dlg, [&](CTestMainDlg& w) {
        w.OpenBook(path.c_str());
        ModalAnswerer answerer;
        answerer.Expect(ModalAnswerer::Press("Kelvra Upload Wizard", IDCANCEL));
        ::SendMessageA(w.m_hWnd, WM_COMMAND, IDM_FILE_SAVE_SEND, 0);
        EXPECT_TRUE(answerer.AllAnswered());
        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(answerer.Seen()[0].hOwner, w.m_hWnd);
        EXPECT_TRUE(::IsWindowEnabled(w.m_hWnd));
        EXPECT_EQ(WindowRunner::WindowText(w.m_hWnd), "Send.book - Kelvra Quire Binder");
    });
    EXPECT_EQ(nResult, WindowRunner::kStillOpen);
    EXPECT_TRUE(g_wizardCalls.empty());
}

std::string ProgramDirectory() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.rfind('\\'));
}

// The help viewer's windows of this process.
std::vector<HWND> HelpWindows() {
    std::vector<HWND> windows;
    for (HWND hWnd = ::FindWindowExA(nullptr, nullptr, "HH Parent", nullptr); hWnd != nullptr;
         hWnd = ::FindWindowExA(nullptr, hWnd, "HH Parent", nullptr)) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hWnd, &pid);
        if (pid == ::GetCurrentProcessId())
            windows.push_back(hWnd);
    }
    return windows;
}

void CloseHelpWindows() {
    for (HWND hWnd : HelpWindows())
        ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(ModalAnswerer::PumpUntil([] { return HelpWindows().empty(); }));
}

// F1 on its own is the Help command: the viewer opens on QuireBinder.chm beside the program.
TEST(Help, F1OpensTheViewerOnTheHelpFileBesideTheProgram) {
    CloseHelpWindows();
    CTestMainDlg dlg;
    dlg.m_strAppDir = ProgramDirectory();
    WindowRunner::Run(dlg, [&](CTestMainDlg& w) {
        ModalAnswerer answerer;  // no message may appear
        HWND hAuthor = ::GetDlgItem(w.m_hWnd, IDC_AUTHOR);
        ::SetFocus(hAuthor);
        WindowRunner::PressKey(hAuthor, VK_F1);
        ASSERT_TRUE(ModalAnswerer::PumpUntil([] { return !HelpWindows().empty(); }));
        HWND hHelp = HelpWindows()[0];
        EXPECT_EQ(WindowRunner::WindowText(hHelp), "Kelvra Quire Binder Help");
        EXPECT_TRUE(::IsWindowVisible(hHelp));
        std::vector<UINT> ids = w.MenuCommandIds();
        EXPECT_EQ(std::count(ids.begin(), ids.end(), UINT(IDM_HELP)), 1);
        CloseHelpWindows();
        EXPECT_TRUE(answerer.Seen().empty());
    });
}

// A message box shows its icon in a static control of its own.
bool ShowsExclamationIcon(HWND hBox) {
    HICON hExclamation = ::LoadIconA(nullptr, IDI_EXCLAMATION);
    for (HWND hChild = ::GetWindow(hBox, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if ((::GetWindowLongA(hChild, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            reinterpret_cast<HICON>(::SendMessageA(hChild, STM_GETICON, 0, 0)) == hExclamation)
            return true;
    }
    return false;
}

// No help file: every Help command says so, since the control itself is there to try again.
TEST(Help, MissingHelpFileIsReportedEachTime) {
    char szTemp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, szTemp);
    std::string dir = std::string(szTemp) + "quire_no_help";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    CTestMainDlg dlg;
    dlg.m_strAppDir = dir;
    WindowRunner::Run(dlg, [&](CTestMainDlg& w) {
        ModalAnswerer answerer;
        std::vector<bool> exclamation;
        for (int i = 0; i < 2; ++i) {
            ModalAnswerer::Expectation box =
                ModalAnswerer::Press(AfxGetAppName(), IDOK).WithText(kMissingHelp);
            box.action = [&](HWND hBox) { exclamation.push_back(ShowsExclamationIcon(hBox)); };
            answerer.Expect(box);
            ::SendMessageA(w.m_hWnd, WM_COMMAND, IDM_HELP, 0);
        }
        EXPECT_TRUE(answerer.AllAnswered());
        ASSERT_EQ(answerer.Seen().size(), 2u);
        EXPECT_EQ(answerer.Seen()[0].hOwner, w.m_hWnd);
        EXPECT_EQ(exclamation, (std::vector<bool>{true, true}));
        EXPECT_TRUE(HelpWindows().empty());
    });
    ::RemoveDirectoryA(dir.c_str());
}

// Help through a made-up control, put in the real one's place while the object lives.
class FakeViewer {
public:
    FakeViewer() : m_loader(CFakeHtmlHelpControl::Calls()) {
        CHtmlHelpLoader::SetActive(&m_loader);
    }
    ~FakeViewer() { CHtmlHelpLoader::SetActive(nullptr); }

    CFakeHtmlHelpControl m_system;

private:
    CHtmlHelpLoader m_loader;
};

// The viewer is given the main window and the file beside the program, with the command that
// shows its default topic; with no program directory known the path is the name alone.
TEST(Help, ViewerGetsTheMainWindowAndTheHelpPath) {
    FakeViewer viewer;
    for (const std::string& dir : {std::string("C:\\Program Files\\Quire"), std::string()}) {
        CTestMainDlg dlg;
        dlg.m_strAppDir = dir;
        WindowRunner::Run(dlg, [&](CTestMainDlg& w) {
            ModalAnswerer answerer;  // a window came up: no message
            viewer.m_system.m_calls.clear();
            ::SendMessageA(w.m_hWnd, WM_COMMAND, IDM_HELP, 0);
            ASSERT_EQ(viewer.m_system.m_calls.size(), 1u);
            EXPECT_EQ(viewer.m_system.m_calls[0].hwndCaller, w.m_hWnd);
            EXPECT_EQ(viewer.m_system.m_calls[0].file, dir + "\\QuireBinder.chm");
            EXPECT_EQ(viewer.m_system.m_calls[0].uCommand, 0u);
            EXPECT_EQ(viewer.m_system.m_calls[0].dwData, 0u);
        });
    }
}

// A control that cannot be loaded is looked for once: later Help commands report at once.
TEST(Help, ControlThatFailedToLoadIsNotSearchedForAgain) {
    FakeViewer viewer;
    viewer.m_system.m_hRegistered = viewer.m_system.m_hNamed = nullptr;
    CTestMainDlg dlg;
    dlg.m_strAppDir = ProgramDirectory();  // the file is there; the viewer is not
    WindowRunner::Run(dlg, [&](CTestMainDlg& w) {
        ModalAnswerer answerer;
        for (int i = 0; i < 3; ++i) {
            answerer.Expect(ModalAnswerer::Press(AfxGetAppName(), IDOK).WithText(kMissingHelp));
            ::SendMessageA(w.m_hWnd, WM_COMMAND, IDM_HELP, 0);
        }
        EXPECT_TRUE(answerer.AllAnswered());
    });
    EXPECT_EQ(viewer.m_system.m_registryKeys.size(), 1u);
    EXPECT_EQ(viewer.m_system.m_loads,
              (std::vector<std::string>{"C:\\windows\\system32\\hhctrl.ocx", "hhctrl.ocx"}));
}

}  // namespace
