// The real main window with its document state in view, for the tests of New, Open, Save and
// Save As.
#pragma once

#include <windows.h>

#include <string>

#include "ChapterTestDlg.h"
#include "WindowRunner.h"

class CDocTestDlg : public CChapterTestDlg {
public:
    using CQuireBinderDlg::m_bUntitled;
    using CQuireBinderDlg::m_strDocDir;
    using CQuireBinderDlg::m_hFindDialog;
    using CQuireBinderDlg::m_bRecoveryWritten;
    using CQuireBinderDlg::m_dwAutosaveMs;

    std::string Caption() const { return WindowRunner::WindowText(m_hWnd); }

    // Replaces the whole text of the edit control as typing over a selection does, so the control
    // reports a change; unlike typing key by key, line breaks and tabs arrive as given.
    void Retype(int nID, const std::string& text) {
        ::SendMessageA(Item(nID), EM_SETSEL, 0, -1);
        ::SendMessageA(Item(nID), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    }
};
