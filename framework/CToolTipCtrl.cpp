#include "CToolTipCtrl.h"

#include <algorithm>

CToolTipCtrl::~CToolTipCtrl() {
    DestroyWindow();
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
    RECT rect = {CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    return CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, rect, pParentWnd, 0);
}

namespace {

TOOLINFOA WindowToolInfo(HWND hToolWnd) {
    TOOLINFOA ti{};
    ti.cbSize = sizeof(ti);
    HWND hParent = ::GetParent(hToolWnd);
    ti.hwnd = hParent != nullptr ? hParent : hToolWnd;
    ti.uFlags = TTF_IDISHWND;
    ti.uId = reinterpret_cast<UINT_PTR>(hToolWnd);
    return ti;
}

TOOLINFOA ToolInfo(CWnd* pWnd, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    if (lpRectTool == nullptr && nIDTool == 0)
        return WindowToolInfo(pWnd->m_hWnd);
    TOOLINFOA ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = pWnd->m_hWnd;
    ti.uId = nIDTool;
    if (lpRectTool != nullptr)
        ti.rect = *lpRectTool;
    return ti;
}

}  // namespace

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, const char* lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    TOOLINFOA ti = ToolInfo(pWnd, lpRectTool, nIDTool);
    ti.lpszText = const_cast<char*>(lpszText);  // copied by the control
    if (SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)) == 0)
        return FALSE;
    if (ti.uFlags & TTF_IDISHWND)
        m_toolWindows.push_back(pWnd->m_hWnd);
    return TRUE;
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
    if (nIDTool == 0) {
        DelTool(pWnd->m_hWnd);
        return;
    }
    TOOLINFOA ti = ToolInfo(pWnd, nullptr, nIDTool);
    SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::DelTool(HWND hToolWnd) {
    TOOLINFOA ti = WindowToolInfo(hToolWnd);
    SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    m_toolWindows.erase(std::remove(m_toolWindows.begin(), m_toolWindows.end(), hToolWnd),
                        m_toolWindows.end());
}

void CToolTipCtrl::RelayEvent(MSG* pMsg) {
    SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
}

LRESULT CToolTipCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TTM_WINDOWFROMPOINT && lParam != 0)
        return reinterpret_cast<LRESULT>(ToolWindowFromPoint(*reinterpret_cast<const POINT*>(lParam)));
    return CWnd::WindowProc(message, wParam, lParam);
}

// The control shows a tip only while the window under the pointer is still the tool's. The system
// skips disabled windows there and finds their parent instead; a disabled tool still owns its
// place, so the tool is the answer wherever the system stopped at one of its ancestors.
HWND CToolTipCtrl::ToolWindowFromPoint(POINT screen) {
    POINT pt = screen;
    HWND hFound =
        reinterpret_cast<HWND>(DefWindowProc(TTM_WINDOWFROMPOINT, 0, reinterpret_cast<LPARAM>(&pt)));
    for (HWND hTool : m_toolWindows) {
        RECT rect;
        if (hTool != hFound && ::IsWindowVisible(hTool) && ::GetWindowRect(hTool, &rect) &&
            ::PtInRect(&rect, screen) && hFound != nullptr && ::IsChild(hFound, hTool))
            return hTool;
    }
    return hFound;
}
