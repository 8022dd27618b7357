// A status bar common control.
#pragma once

#include "CWnd.h"

class CStatusBarCtrl : public CWnd {
public:
    // Creates a "msctls_statusbar32" child window and subclasses it.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // nType: 0, SBT_NOBORDERS, SBT_POPOUT, ...
    BOOL SetText(const char* lpszText, int nPane, int nType);
};
