#include "CStatusBarCtrl.h"

BOOL CStatusBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CreateEx(0, STATUSCLASSNAMEA, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CStatusBarCtrl::SetText(const char* lpszText, int nPane, int nType) {
    return SendMessage(SB_SETTEXTA, WPARAM(nPane | nType), reinterpret_cast<LPARAM>(lpszText)) != 0;
}
