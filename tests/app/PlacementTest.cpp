// Leaving the main window: Close and Exit go through the save-changes prompt; only Close stores
// whether the window was maximized, and the next start maximizes when the stored value says so.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Book.h"
#include "ModalAnswerer.h"
#include "TestMainDlg.h"
#include "WindowRunner.h"

using WindowRunner::kStillOpen;

namespace {

constexpr const char* kSection = "WindowPlacements";
constexpr const char* kEntry = "AppWindowMaximized";
constexpr int kAbsent = -12345;
const std::string kSaveQuestion = "Do you want to save the changes you made to \"new.book\" ?";

int StoredMaximized() {
    return AfxGetApp()->GetProfileInt(kSection, kEntry, kAbsent);
}

void StoreMaximized(int nValue) {
    ASSERT_TRUE(AfxGetApp()->WriteProfileInt(kSection, kEntry, nValue));
}

void ForgetMaximized() {
    std::string key = std::string("Software\\Kelvra\\") + AfxGetApp()->m_pszAppName + "\\" + kSection;
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &hKey) == ERROR_SUCCESS) {
        ::RegDeleteValueA(hKey, kEntry);
        ::RegCloseKey(hKey);
    }
    ASSERT_EQ(StoredMaximized(), kAbsent);
}

void TypeAuthor(CTestMainDlg& w, const char* text) {
    ::SendMessageA(::GetDlgItem(w.m_hWnd, IDC_AUTHOR), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    ASSERT_TRUE(w.IsModified());
}

TEST(LeavingTheWindow, SettingsKeyIsTheProgramsOwn) {
    EXPECT_STREQ(AfxGetApp()->m_pszRegistryKey, "Kelvra");
}

TEST(LeavingTheWindow, CloseStoresWhetherMaximized) {
    ForgetMaximized();
    CTestMainDlg maximized;
    INT_PTR nResult = WindowRunner::Run(maximized, [](CTestMainDlg& w) {
        EXPECT_FALSE(::IsZoomed(w.m_hWnd));
        ::SendMessageA(w.m_hWnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        EXPECT_TRUE(::IsZoomed(w.m_hWnd));
        ::PostMessageA(w.m_hWnd, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_NE(StoredMaximized(), 0);
    EXPECT_NE(StoredMaximized(), kAbsent);

    // The stored value maximizes the next start; closing it restored stores 0.
    CTestMainDlg restored;
    nResult = WindowRunner::Run(restored, [](CTestMainDlg& w) {
        EXPECT_TRUE(::IsZoomed(w.m_hWnd));
        ::SendMessageA(w.m_hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_FALSE(::IsZoomed(w.m_hWnd));
        ::PostMessageA(w.m_hWnd, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(StoredMaximized(), 0);
}

TEST(LeavingTheWindow, ExitStoresNothing) {
    ForgetMaximized();
    CTestMainDlg dlg;
    INT_PTR nResult = WindowRunner::Run(dlg, [](CTestMainDlg& w) {
        ::SendMessageA(w.m_hWnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        ::PostMessageA(w.m_hWnd, WM_COMMAND, IDM_FILE_EXIT, 0);
    });
    EXPECT_EQ(nResult, 0);
    EXPECT_EQ(StoredMaximized(), kAbsent);
}

TEST(LeavingTheWindow, OnlyNonzeroValuesOtherThanMinusOneMaximize) {
    for (int nStored : {0, -1, 2}) {
        SCOPED_TRACE("stored " + std::to_string(nStored));
        StoreMaximized(nStored);
        CTestMainDlg dlg;
        bool bZoomed = false;
        WindowRunner::Run(dlg, [&](CTestMainDlg& w) { bZoomed = ::IsZoomed(w.m_hWnd) != FALSE; });
        EXPECT_EQ(bZoomed, nStored == 2);
        EXPECT_EQ(StoredMaximized(), nStored);  // left by the harness, not through Close
    }
    ForgetMaximized();
}

// With unsaved changes Close and Exit ask first; Cancel keeps the window and stores nothing.
TEST(LeavingTheWindow, CancelledSaveQuestionKeepsTheWindow) {
    ForgetMaximized();
    for (WPARAM how : {WPARAM(0), WPARAM(IDM_FILE_EXIT)}) {
        SCOPED_TRACE(how == 0 ? "Close" : "Exit");
        CTestMainDlg dlg;
        ModalAnswerer answerer;
        INT_PTR nResult = WindowRunner::Run(dlg, [&](CTestMainDlg& w) {
            TypeAuthor(w, "Jane");
            answerer.Expect(ModalAnswerer::Press("Kelvra Quire Binder", IDCANCEL).WithText(kSaveQuestion));
            if (how == 0)
                ::PostMessageA(w.m_hWnd, WM_CLOSE, 0, 0);
            else
                ::PostMessageA(w.m_hWnd, WM_COMMAND, how, 0);
            ModalAnswerer::PumpUntil([&] { return answerer.AllAnswered(); });
            ModalAnswerer::PumpPending();
        });
        EXPECT_EQ(nResult, kStillOpen);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(StoredMaximized(), kAbsent);
    }
}

TEST(LeavingTheWindow, NoDropsTheChanges) {
    ForgetMaximized();
    CTestMainDlg dlg;
    ModalAnswerer answerer;
    answerer.Expect(ModalAnswerer::Press("Kelvra Quire Binder", IDNO).WithText(kSaveQuestion));
    INT_PTR nResult = WindowRunner::Run(dlg, [](CTestMainDlg& w) {
        TypeAuthor(w, "Jane");
        ::PostMessageA(w.m_hWnd, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(StoredMaximized(), 0);
}

// Yes saves first: a new book asks for its name (the file dialog checks it against the device's
// rule), and the window closes once the file is written.
TEST(LeavingTheWindow, YesSavesTheBookBeforeClosing) {
    char szTemp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, szTemp);
    std::string dir = std::string(szTemp) + "quire_app_tests";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    std::string saved = dir + "\\mybook.book";
    ::DeleteFileA(saved.c_str());

    CTestMainDlg dlg;
    ModalAnswerer answerer;
    answerer.Expect(ModalAnswerer::Press("Kelvra Quire Binder", IDYES).WithText(kSaveQuestion))
        .Expect(ModalAnswerer::FileName("Save As", dir + "\\my book"))
        .Expect(ModalAnswerer::Press("Kelvra Quire Binder", IDNO)
                    .WithText("Invalid Kelvra file name\n\n\"my book.book\"\n\n Use this name anyway?"))
        .Expect(ModalAnswerer::FileName("Save As", dir + "\\mybook"));
    INT_PTR nResult = WindowRunner::Run(dlg, [](CTestMainDlg& w) {
        TypeAuthor(w, "Jane Austen  ");
        ::PostMessageA(w.m_hWnd, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(dlg.DocName(), "mybook.book");
    CBook book;
    ASSERT_TRUE(book.LoadFromFile(saved.c_str()));
    EXPECT_EQ(book.Author(), "Jane Austen");  // trailing blanks are not saved
    ::DeleteFileA(saved.c_str());
    ::RemoveDirectoryA(dir.c_str());
}

}  // namespace
