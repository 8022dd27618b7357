// A list box. Owner-draw list boxes paint and measure their items in DrawItem and MeasureItem, which
// the parent reflects WM_DRAWITEM and WM_MEASUREITEM to. For LBS_OWNERDRAWVARIABLE lists the list
// box measures an item inside LB_INSERTSTRING, so MeasureItem runs before InsertString returns.
#pragma once

#include <string>

#include "CWnd.h"

class CListBox : public CWnd {
public:
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    // The item's text; empty (and LB_ERR returned) for an index out of range.
    int GetText(int nIndex, std::string& rString) const;
    int GetTextLen(int nIndex) const;
    int InsertString(int nIndex, const char* lpszItem);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    int GetItemRect(int nIndex, LPRECT lpRect) const;

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);           // default: nothing
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);  // default: nothing

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
