#include "CToolTipCtrl.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

CToolTipCtrl::~CToolTipCtrl() {
    DestroyWindow();
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
    RECT rect = {CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    return CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, rect, pParentWnd, 0);
}

namespace {

TOOLINFOA ToolInfo(CWnd* pWnd, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    TOOLINFOA ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = pWnd->m_hWnd;
    if (lpRectTool == nullptr && nIDTool == 0) {
        ti.uFlags = TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(pWnd->m_hWnd);
    } else {
        ti.uId = nIDTool;
        if (lpRectTool != nullptr)
            ti.rect = *lpRectTool;
    }
    return ti;
}

}  // namespace

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, const char* lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    TOOLINFOA ti = ToolInfo(pWnd, lpRectTool, nIDTool);
    ti.lpszText = const_cast<char*>(lpszText);  // copied by the control
    return SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
    TOOLINFOA ti = ToolInfo(pWnd, nullptr, nIDTool);
    SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

int CToolTipCtrl::GetToolCount() const {
    return int(SendMessage(TTM_GETTOOLCOUNT));
}

void CToolTipCtrl::RelayEvent(MSG* pMsg) {
    SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
}
