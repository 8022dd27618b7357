// The application object of the framework's test program: it counts the messages it pre-translates
// and, like a program's application class, translates an accelerator table for the main window.
#pragma once

#include "CWinApp.h"
#include "CWnd.h"

class TestApp : public CWinApp {
public:
    HACCEL m_hAccel = nullptr;  // translated for the main window when set
    int m_nPreTranslated = 0;

    BOOL PreTranslateMessage(MSG* pMsg) override;
};

extern TestApp theApp;
