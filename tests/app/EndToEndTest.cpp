// QuireBinder.exe itself, driven from outside as the shell and a user would: started, found by its
// caption, looked at, pointed at with the real mouse pointer, and closed with WM_CLOSE.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Book.h"
#include "TestFiles.h"
#include "TestMainDlg.h"

namespace {

constexpr DWORD kDeadlineMs = 20000;

std::string ProgramDirectory() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.rfind('\\'));
}

std::string Text(HWND hWnd) {
    char text[512] = {};
    ::SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                          2000, nullptr);
    return text;
}

std::string RegistryString(HKEY hRoot, const char* key) {
    char value[512] = {};
    LONG nValue = sizeof(value);
    return ::RegQueryValueA(hRoot, key, value, &nValue) == ERROR_SUCCESS ? value : "<absent>";
}

// The program's own profile value, as it stores it under its executable's name.
DWORD StoredMaximized() {
    DWORD value = 0xDEAD;
    DWORD size = sizeof(value);
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Kelvra\\QuireBinder\\WindowPlacements", 0, KEY_READ,
                        &hKey) == ERROR_SUCCESS) {
        ::RegQueryValueExA(hKey, "AppWindowMaximized", nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                           &size);
        ::RegCloseKey(hKey);
    }
    return value;
}

void ForgetMaximized() {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Kelvra\\QuireBinder\\WindowPlacements", 0,
                        KEY_SET_VALUE, &hKey) == ERROR_SUCCESS) {
        ::RegDeleteValueA(hKey, "AppWindowMaximized");
        ::RegCloseKey(hKey);
    }
}

class Program {
public:
    // With `localAppData`, the program finds the user's local application data there.
    explicit Program(const std::string& arguments, const std::string& localAppData = "") {
        m_exe = ProgramDirectory() + "\\QuireBinder.exe";
        std::string commandLine = "\"" + m_exe + "\"" + (arguments.empty() ? "" : " " + arguments);
        std::string environment;
        if (!localAppData.empty()) {
            char* pStrings = ::GetEnvironmentStringsA();
            for (const char* p = pStrings; *p != '\0'; p += std::strlen(p) + 1) {
                if (_strnicmp(p, "LOCALAPPDATA=", 13) != 0)
                    environment += std::string(p) + '\0';
            }
            ::FreeEnvironmentStringsA(pStrings);
            environment += "LOCALAPPDATA=" + localAppData + '\0';
        }
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        m_bStarted = ::CreateProcessA(m_exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                                      environment.empty() ? nullptr : &environment[0], nullptr, &si, &m_pi) != FALSE;
    }
    ~Program() {
        if (!m_bStarted)
            return;
        if (::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
            ADD_FAILURE() << "QuireBinder.exe still running; terminated";
            ::TerminateProcess(m_pi.hProcess, 99);
            ::WaitForSingleObject(m_pi.hProcess, 5000);
        }
        ::CloseHandle(m_pi.hThread);
        ::CloseHandle(m_pi.hProcess);
    }

    // The visible dialog of this process with this caption; null after the deadline.
    HWND FindWindow(const std::string& caption) const {
        DWORD deadline = ::GetTickCount() + kDeadlineMs;
        while (LONG(::GetTickCount() - deadline) < 0) {
            for (HWND hWnd = ::FindWindowExA(nullptr, nullptr, "#32770", caption.c_str()); hWnd != nullptr;
                 hWnd = ::FindWindowExA(nullptr, hWnd, "#32770", caption.c_str())) {
                DWORD pid = 0;
                ::GetWindowThreadProcessId(hWnd, &pid);
                if (pid == m_pi.dwProcessId && ::IsWindowVisible(hWnd))
                    return hWnd;
            }
            if (::WaitForSingleObject(m_pi.hProcess, 50) != WAIT_TIMEOUT)
                return nullptr;  // it ended without showing the window
        }
        return nullptr;
    }

    // Rests the real pointer on the middle of a window and waits for this process's visible tip to
    // read `expected`; returns the last tip text seen.
    // The tip that shows while the real pointer rests on `hWnd`. A pointer that arrives while the
    // window is still coming up may go unnoticed, as it would for a user: then it leaves and
    // comes back, at most three times.
    std::string TipOver(HWND hWnd, const std::string& expected) const {
        RECT rect;
        ::GetWindowRect(hWnd, &rect);
        std::string seen = "<no tip>";
        for (int attempt = 0; attempt < 3 && seen != expected; ++attempt) {
            ::SetCursorPos(rect.left - 40, rect.top - 40);
            ::Sleep(100);
            ::SetCursorPos((rect.left + rect.right) / 2 - 1, (rect.top + rect.bottom) / 2);
            INPUT nudge{};
            nudge.type = INPUT_MOUSE;
            nudge.mi.dx = 1;
            nudge.mi.dwFlags = MOUSEEVENTF_MOVE;
            ::SendInput(1, &nudge, sizeof(nudge));
            for (DWORD start = ::GetTickCount(); seen != expected && ::GetTickCount() - start < 4000;
                 ::Sleep(20)) {
                for (HWND hTip = nullptr;
                     (hTip = ::FindWindowExA(nullptr, hTip, TOOLTIPS_CLASSA, nullptr)) != nullptr;) {
                    DWORD pid = 0;
                    ::GetWindowThreadProcessId(hTip, &pid);
                    if (pid == m_pi.dwProcessId && ::IsWindowVisible(hTip))
                        seen = Text(hTip);
                }
            }
        }
        return seen;
    }

    // Waits for the process to end; its exit code, or -1 when it did not end in time.
    long WaitForExit() const {
        if (::WaitForSingleObject(m_pi.hProcess, kDeadlineMs) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        ::GetExitCodeProcess(m_pi.hProcess, &code);
        return long(code);
    }

    bool m_bStarted = false;
    std::string m_exe;
    PROCESS_INFORMATION m_pi{};
};

TEST(EndToEnd, StartsShowsTheNewBookAndClosesFromOutside) {
    ForgetMaximized();
    Program program("");
    ASSERT_TRUE(program.m_bStarted) << program.m_exe;
    HWND hWnd = program.FindWindow("new.book - Kelvra Quire Binder");
    ASSERT_NE(hWnd, nullptr);

    for (int id :
         {IDC_AUTHOR, IDC_TITLE, IDC_NEW_CHAPTER, IDC_DELETE_CHAPTER, IDC_RENAME_CHAPTER, IDC_IMPORT_TEXT,
          IDC_CONTENTS, IDC_CHAPTERS_FRAME, IDC_NEW_BOOK, IDC_OPEN_BOOK, IDC_HEADER_FRAME, IDC_SAVE_BOOK,
          IDC_MOVE_UP, IDC_MOVE_DOWN, IDC_SEND_BOOK, IDC_CHAPTER_LABEL, IDC_PASTE_TEXT, IDC_EDITOR})
        EXPECT_NE(::GetDlgItem(hWnd, id), nullptr) << id;
    EXPECT_EQ(Text(::GetDlgItem(hWnd, IDC_STATUS_BAR)), "Book Size ~ 1 Kb");
    EXPECT_NE(::GetMenu(hWnd), nullptr);  // menu handles do not cross processes: only its presence
    EXPECT_EQ(RegistryString(HKEY_CLASSES_ROOT, "Folioview`s Book\\shell\\open\\command"),
              "\"" + program.m_exe + "\" \"%1\"");

    // Nothing changed, so no question comes: the window closes at once and stores its state.
    ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0);
    EXPECT_EQ(StoredMaximized(), 0u);
}

TEST(EndToEnd, OpensTheBookOnItsCommandLineAndRemembersMaximized) {
    char szTemp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, szTemp);
    std::string path = std::string(szTemp) + "quire e2e.book";
    CBook book;
    book.SetAuthor("Anne Bronte");
    book.SetChapterTitle(0, "One");
    ASSERT_TRUE(book.SaveToFile(path.c_str()));

    {
        Program program("\"" + path + "\"");
        HWND hWnd = program.FindWindow("quire e2e.book - Kelvra Quire Binder");
        ASSERT_NE(hWnd, nullptr);
        EXPECT_EQ(Text(::GetDlgItem(hWnd, IDC_AUTHOR)), "Anne Bronte");
        ::PostMessageA(hWnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.WaitForExit(), 0);
        EXPECT_NE(StoredMaximized(), 0u);
    }
    {
        Program program("");
        HWND hWnd = program.FindWindow("new.book - Kelvra Quire Binder");
        ASSERT_NE(hWnd, nullptr);
        EXPECT_TRUE(::IsZoomed(hWnd));
        ::PostMessageA(hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
        ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.WaitForExit(), 0);
        EXPECT_EQ(StoredMaximized(), 0u);
    }
    ::DeleteFileA(path.c_str());
}

// Tips under the real pointer, over every button whether it is enabled or not, before and after
// a chapter exists, and over the About box's link.
TEST(EndToEnd, TipsShowUnderThePointerOverEveryButtonAndTheLink) {
    Program program("");
    HWND hWnd = program.FindWindow("new.book - Kelvra Quire Binder");
    ASSERT_NE(hWnd, nullptr);
    for (int pass = 0; pass < 2; ++pass) {
        for (const ButtonSpec& button : kButtonTips) {
            HWND hButton = ::GetDlgItem(hWnd, button.id);
            EXPECT_EQ(program.TipOver(hButton, button.tip), button.tip)
                << button.id << (::IsWindowEnabled(hButton) ? " enabled" : " disabled") << ", pass " << pass;
        }
        if (pass == 0) {  // a chapter enables most of the buttons that were disabled
            ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDC_NEW_CHAPTER, BN_CLICKED),
                           LPARAM(::GetDlgItem(hWnd, IDC_NEW_CHAPTER)));
            HWND hTitle = program.FindWindow("Chapter Title");
            ASSERT_NE(hTitle, nullptr);
            ::PostMessageA(hTitle, WM_COMMAND, IDOK, 0);
            for (DWORD start = ::GetTickCount(); !::IsWindowEnabled(::GetDlgItem(hWnd, IDC_DELETE_CHAPTER));
                 ::Sleep(20))
                ASSERT_LT(::GetTickCount() - start, kDeadlineMs);
        }
    }

    ::PostMessageA(hWnd, WM_COMMAND, IDM_ABOUT, 0);
    HWND hAbout = program.FindWindow("About Kelvra Quire Binder");
    ASSERT_NE(hAbout, nullptr);
    std::string link = Text(::GetDlgItem(hAbout, IDC_LINK));
    EXPECT_EQ(program.TipOver(::GetDlgItem(hAbout, IDC_LINK), link), link);
    ::PostMessageA(hAbout, WM_COMMAND, IDOK, 0);

    ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
    HWND hQuestion = program.FindWindow("Kelvra Quire Binder");  // the new chapter is a change
    ASSERT_NE(hQuestion, nullptr);
    ::PostMessageA(hQuestion, WM_COMMAND, IDNO, 0);
    EXPECT_EQ(program.WaitForExit(), 0);
}

// A killed program's unsaved book comes back at the next start as the window showed it, under its
// own name; the copy never touched the user's file, and goes once the book is saved.
TEST(EndToEnd, AKilledProgramsUnsavedBookIsRecoveredAtTheNextStart) {
    char szTemp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, szTemp);
    const std::string appData = std::string(szTemp) + "quire e2e appdata";
    auto hasCopy = [&] {
        WIN32_FIND_DATAA found;
        HANDLE hFind = ::FindFirstFileA((appData + "\\Kelvra Quire Binder\\Recovery\\*.book").c_str(), &found);
        bool bFound = hFind != INVALID_HANDLE_VALUE;
        ::FindClose(hFind);
        return bFound;
    };
    const std::string path = std::string(szTemp) + "recovered.book";
    CBook book;
    book.SetAuthor("Anne");
    book.SetChapterTitle(0, "One");
    book.SetChapterText(0, "first");
    ASSERT_TRUE(book.SaveToFile(path.c_str()));
    const std::string before = ReadBytes(path);
    std::string shown;
    {
        Program program("\"" + path + "\"", appData);
        HWND hWnd = program.FindWindow("recovered.book - Kelvra Quire Binder");
        ASSERT_NE(hWnd, nullptr);
        for (char c : std::string("More\r\tand "))
            ::PostMessageA(::GetDlgItem(hWnd, IDC_EDITOR), WM_CHAR, WPARAM(c), 1);
        for (DWORD start = ::GetTickCount(); !hasCopy(); ::Sleep(50))
            ASSERT_LT(::GetTickCount() - start, kDeadlineMs);
        shown = Text(::GetDlgItem(hWnd, IDC_EDITOR));
        ::TerminateProcess(program.m_pi.hProcess, 1);
        EXPECT_EQ(program.WaitForExit(), 1);
    }
    EXPECT_TRUE(shown.find("More") == 0 && shown.find("\tand first") != std::string::npos) << shown;
    EXPECT_EQ(ReadBytes(path), before);
    {
        Program program("", appData);
        HWND hQuestion = program.FindWindow("Kelvra Quire Binder");
        ASSERT_NE(hQuestion, nullptr);
        EXPECT_EQ(Text(::GetDlgItem(hQuestion, 0xFFFF)).substr(0, 98),
                  "Kelvra Quire Binder did not close normally. Recover the book you were working on (recovered.book, ");
        ::PostMessageA(hQuestion, WM_COMMAND, IDYES, 0);
        HWND hWnd = program.FindWindow("recovered.book - Kelvra Quire Binder");
        ASSERT_NE(hWnd, nullptr);
        EXPECT_EQ(Text(::GetDlgItem(hWnd, IDC_EDITOR)), shown);
        ::PostMessageA(hWnd, WM_COMMAND, IDM_FILE_SAVE, 0);
        for (DWORD start = ::GetTickCount(); ReadBytes(path) == before; ::Sleep(50))
            ASSERT_LT(::GetTickCount() - start, kDeadlineMs);
        ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.WaitForExit(), 0);
    }
    book.SetChapterText(0, shown);
    const std::string expected = std::string(szTemp) + "expected.book";
    ASSERT_TRUE(book.SaveToFile(expected.c_str()));
    EXPECT_EQ(ReadBytes(path), ReadBytes(expected));
    EXPECT_FALSE(hasCopy());
    ::DeleteFileA(path.c_str());
    ::DeleteFileA(expected.c_str());
}

}  // namespace
