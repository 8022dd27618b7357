// A button. Owner-draw buttons paint in DrawItem, which the parent reflects WM_DRAWITEM to.
#pragma once

#include "CWnd.h"

class CButton : public CWnd {
public:
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);  // default: nothing

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
