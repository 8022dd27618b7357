// The application object. Exactly one exists, a global object of a class derived from CWinApp;
// its constructor registers it (AfxGetApp). The entry point (WinMain.cpp, linked through the
// framework_main target) calls AfxWinInit and then InitInstance, and ends the program with
// InitInstance's return, since all of a dialog-based program runs inside InitInstance.
// Test programs supply their own main and call AfxWinInit themselves.
#pragma once

#include <string>

#include "CCmdTarget.h"

class CWnd;

// The framework's own command and string ids.
constexpr UINT AFX_ID_HELP = 0xE146;        // 57670: the F1 key sends it to the main window
constexpr UINT AFX_IDS_APP_TITLE = 0xE000;  // 57344: the application's title, when the resources have it

class CWinApp : public CCmdTarget {
public:
    // lpszAppName null: the title from string AFX_IDS_APP_TITLE, else the executable's base name.
    explicit CWinApp(const char* lpszAppName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;             // the command line after the program name
    CWnd* m_pMainWnd = nullptr;              // the main window, when there is one
    const char* m_pszAppName = nullptr;      // the application's title (message-box captions, profile key)
    const char* m_pszExeName = nullptr;      // the executable's base name without extension
    const char* m_pszRegistryKey = nullptr;  // set by SetRegistryKey; null: no profile

    virtual BOOL InitInstance();
    // Called for every message the modal loops fetch. The default: the F1 key without Shift,
    // Ctrl or Alt sends WM_COMMAND AFX_ID_HELP to the main window and is consumed; otherwise each
    // framework window from the message's window up through its ancestors gets PreTranslateMessage,
    // innermost first, until one consumes the message.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // The application message box: owned by the main window (or the dialog open over it;
    // CWnd::GetSafeOwner) or by nobody, captioned with m_pszAppName.
    virtual int DoMessageBox(const char* lpszPrompt, UINT nType, UINT nIDPrompt);

    // Profile settings under HKEY_CURRENT_USER\Software\<key>\<m_pszAppName>\<section>, as REG_DWORD.
    void SetRegistryKey(const char* lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);  // a string resource
    int GetProfileInt(const char* lpszSection, const char* lpszEntry, int nDefault) const;
    BOOL WriteProfileInt(const char* lpszSection, const char* lpszEntry, int nValue) const;
    // The same for strings (REG_SZ); a null lpszValue removes the entry.
    std::string GetProfileString(const char* lpszSection, const char* lpszEntry, const char* lpszDefault = "") const;
    BOOL WriteProfileString(const char* lpszSection, const char* lpszEntry, const char* lpszValue) const;

    // Sets m_hInstance, m_lpCmdLine and the names (called by AfxWinInit).
    void InitFromModule(HINSTANCE hInstance, LPSTR lpCmdLine);

private:
    std::string m_strAppName;
    std::string m_strExeName;
    std::string m_strRegistryKey;
    std::string m_strCmdLine;
    bool m_bAppNameGiven;
};

CWinApp* AfxGetApp();
// Offers a fetched message to the application's pre-translation (the window tree's when there is
// no application) and translates and dispatches it unless that consumed it.
void AfxDispatchMessage(MSG* pMsg);
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
const char* AfxGetAppName();
// Prepares the framework: the application's module, command line and names, common controls.
BOOL AfxWinInit(HINSTANCE hInstance, LPSTR lpCmdLine);
// The application message box (CWinApp::DoMessageBox); without an application, an owner-less box
// captioned with the executable's name.
int AfxMessageBox(const char* lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
// The default value of the registry key into lpszOut (at least MAX_PATH bytes); a registry error
// code, 0 on success. On failure lpszOut is left as it was.
LONG AfxReadRegistryDefault(HKEY hRootKey, const char* lpszSubKey, char* lpszOut);
// Loads the rich edit 1.0 library ("RICHED32.DLL") once; dialogs with "RichEdit" controls need it.
BOOL AfxInitRichEdit();
// The entry point's body: AfxWinInit, then InitInstance. Returns the process exit code.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
