// A tooltip control. Unlike the other wrappers it owns its window: the tooltip is a popup created
// by Create and destroyed with the object.
#pragma once

#include "CWnd.h"

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)

public:
    ~CToolTipCtrl() override;

    // A tooltip popup owned by pParentWnd; dwStyle adds TTS_* styles.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    // Without lpRectTool the tool is the whole window pWnd (TTF_IDISHWND); with it, that rectangle
    // of pWnd's client area under the id nIDTool. The text is copied by the control.
    BOOL AddTool(CWnd* pWnd, const char* lpszText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    int GetToolCount() const;
    void RelayEvent(MSG* pMsg);
};
