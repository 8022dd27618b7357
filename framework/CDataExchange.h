// Dialog data exchange: what DoDataExchange receives, and DDX_Control.
#pragma once

#include <windows.h>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate;  // TRUE: controls -> members; FALSE: members -> controls
    CWnd* m_pDlgWnd;
};

// Binds rControl to the dialog's control nIDC (SubclassDlgItem) the first time it is called; later
// calls do nothing. Throws std::runtime_error when the dialog has no such control.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
