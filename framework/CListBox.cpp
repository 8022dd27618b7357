#include "CListBox.h"

int CListBox::GetCount() const {
    return int(SendMessage(LB_GETCOUNT));
}

int CListBox::GetCurSel() const {
    return int(SendMessage(LB_GETCURSEL));
}

int CListBox::SetCurSel(int nSelect) {
    return int(SendMessage(LB_SETCURSEL, WPARAM(nSelect)));
}

int CListBox::GetText(int nIndex, std::string& rString) const {
    rString.clear();
    int nLength = GetTextLen(nIndex);
    if (nLength == LB_ERR)
        return LB_ERR;
    rString.assign(size_t(nLength) + 1, '\0');
    int nCopied = int(SendMessage(LB_GETTEXT, WPARAM(nIndex), reinterpret_cast<LPARAM>(&rString[0])));
    rString.resize(size_t(nCopied > 0 ? nCopied : 0));
    return nCopied;
}

int CListBox::GetTextLen(int nIndex) const {
    return int(SendMessage(LB_GETTEXTLEN, WPARAM(nIndex)));
}

int CListBox::InsertString(int nIndex, const char* lpszItem) {
    return int(SendMessage(LB_INSERTSTRING, WPARAM(nIndex), reinterpret_cast<LPARAM>(lpszItem)));
}

int CListBox::DeleteString(UINT nIndex) {
    return int(SendMessage(LB_DELETESTRING, nIndex));
}

void CListBox::ResetContent() {
    SendMessage(LB_RESETCONTENT);
}

int CListBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
    return int(SendMessage(LB_SETITEMDATA, WPARAM(nIndex), LPARAM(dwItemData)));
}

int CListBox::GetItemRect(int nIndex, LPRECT lpRect) const {
    return int(SendMessage(LB_GETITEMRECT, WPARAM(nIndex), reinterpret_cast<LPARAM>(lpRect)));
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}

void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    switch (message) {
        case WM_DRAWITEM:
            DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
            break;
        case WM_MEASUREITEM:
            MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
            break;
        default:
            return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    }
    *pResult = TRUE;
    return TRUE;
}
