// The application object: registers the ".book" file type with the shell, prepares the framework,
// runs the main window as a modal dialog and translates its keyboard accelerators.
#pragma once

#include <string>

#include "CWinApp.h"

class CQuireBinderDlg;

class CQuireBinderApp : public CWinApp {
public:
    CQuireBinderApp();
    ~CQuireBinderApp() override;

    // Accelerator table 150; freed by the system with the module.
    HACCEL m_hAccel = nullptr;

    // Runs the whole program; always false, so that no message loop follows.
    BOOL InitInstance() override;
    // Everything start-up does before the main window: the file type, the framework, the settings
    // key and the accelerators. Returns the program directory.
    std::string PrepareStartUp();
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Makes ".book" files open with the executable at lpszExePath. An existing ".book" key is left
    // as it is; the open command is rewritten every time, so a moved program is found again.
    static void RegisterBookFileType(const char* lpszExePath);
    // The directory of the executable: the path up to its last backslash; empty when the path
    // could not be obtained (nLength 0).
    static std::string ProgramDirectory(const char* lpszExePath, DWORD nLength);

protected:
    // The running main window, when it is the program's dialog.
    CQuireBinderDlg* GetMainDialog() const;

    DECLARE_MESSAGE_MAP()
};
