// QuireBinder.exe itself, driven from outside as the shell and a user would: started, found by its
// caption, looked at, and closed with WM_CLOSE.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Book.h"

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
    explicit Program(const std::string& arguments) {
        m_exe = ProgramDirectory() + "\\QuireBinder.exe";
        std::string commandLine = "\"" + m_exe + "\"" + (arguments.empty() ? "" : " " + arguments);
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        m_bStarted = ::CreateProcessA(m_exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                      nullptr, &si, &m_pi) != FALSE;
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

    for (int id : {1000, 1001, 1004, 1005, 1006, 1009, 1010, 1012, 1013, 1014, 1015, 1016, 1017, 1018, 1019,
                   1023, 1024, 1032})
        EXPECT_NE(::GetDlgItem(hWnd, id), nullptr) << id;
    EXPECT_EQ(Text(::GetDlgItem(hWnd, 101)), "Book Size ~ 1 Kb");
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
        EXPECT_EQ(Text(::GetDlgItem(hWnd, 1000)), "Anne Bronte");
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

}  // namespace
