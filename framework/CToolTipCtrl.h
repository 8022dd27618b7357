// A tooltip control. Unlike the other wrappers it owns its window: the tooltip is a popup created
// by Create and destroyed with the object.
#pragma once

#include <vector>

#include "CWnd.h"

class CToolTipCtrl : public CWnd {
public:
    ~CToolTipCtrl() override;

    // A tooltip popup owned by pParentWnd; dwStyle adds TTS_* styles.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    // Without lpRectTool and nIDTool the tool is the window pWnd itself (TTF_IDISHWND, its parent
    // as the tool's window), enabled or disabled; otherwise that rectangle of pWnd's client area
    // under the id nIDTool. The text is copied by the control.
    BOOL AddTool(CWnd* pWnd, const char* lpszText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void DelTool(HWND hToolWnd);  // a window tool, also once its window is gone
    void RelayEvent(MSG* pMsg);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The window the control takes to be under the screen point (TTM_WINDOWFROMPOINT).
    HWND ToolWindowFromPoint(POINT screen);

    std::vector<HWND> m_toolWindows;  // the tools that are windows of their own
};
