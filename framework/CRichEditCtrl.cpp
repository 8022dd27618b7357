#include "CRichEditCtrl.h"

BOOL CRichEditCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CreateEx(0, "RichEdit", "", dwStyle, rect, pParentWnd, nID);
}

DWORD CRichEditCtrl::SetEventMask(DWORD dwEventMask) {
    return DWORD(SendMessage(EM_SETEVENTMASK, 0, LPARAM(dwEventMask)));
}

DWORD CRichEditCtrl::GetEventMask() const {
    return DWORD(SendMessage(EM_GETEVENTMASK));
}

void CRichEditCtrl::LimitText(long nChars) {
    SendMessage(EM_EXLIMITTEXT, 0, LPARAM(nChars));
}

void CRichEditCtrl::GetSel(CHARRANGE& cr) const {
    SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
}

void CRichEditCtrl::GetSel(long& nStartChar, long& nEndChar) const {
    CHARRANGE cr = {0, 0};
    GetSel(cr);
    nStartChar = cr.cpMin;
    nEndChar = cr.cpMax;
}

void CRichEditCtrl::SetSel(long nStartChar, long nEndChar) {
    CHARRANGE cr = {nStartChar, nEndChar};
    SetSel(cr);
}

void CRichEditCtrl::SetSel(CHARRANGE& cr) {
    SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
}

void CRichEditCtrl::ReplaceSel(const char* lpszNewText, BOOL bCanUndo) {
    SendMessage(EM_REPLACESEL, WPARAM(bCanUndo), reinterpret_cast<LPARAM>(lpszNewText));
}

BOOL CRichEditCtrl::CanUndo() const {
    return SendMessage(EM_CANUNDO) != 0;
}

BOOL CRichEditCtrl::Undo() {
    return SendMessage(EM_UNDO) != 0;
}

long CRichEditCtrl::StreamIn(int nFormat, EDITSTREAM& es) {
    return long(SendMessage(EM_STREAMIN, WPARAM(nFormat), reinterpret_cast<LPARAM>(&es)));
}

std::string CRichEditCtrl::GetSelText() const {
    CHARRANGE cr = {0, 0};
    GetSel(cr);
    long nChars = cr.cpMax - cr.cpMin;
    if (nChars <= 0)
        return std::string();
    // EM_GETSELTEXT takes no buffer size; a paragraph end counted as one character may come out
    // as CR LF, so leave room for two bytes per character.
    std::string text(size_t(nChars) * 2 + 1, '\0');
    long nCopied = long(SendMessage(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(&text[0])));
    text.resize(size_t(nCopied > 0 ? nCopied : 0));
    return text;
}

std::string CRichEditCtrl::GetTextRange(long nFirst, long nLast) const {
    if (nLast <= nFirst || nFirst < 0)
        return std::string();
    // A paragraph end counted as one character may come out as CR LF, as with EM_GETSELTEXT.
    std::string text(size_t(nLast - nFirst) * 2 + 1, '\0');
    TEXTRANGEA range = {{nFirst, nLast}, &text[0]};
    long nCopied = long(SendMessage(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)));
    text.resize(size_t(nCopied > 0 ? nCopied : 0));
    return text;
}

BOOL CRichEditCtrl::GetModify() const {
    return SendMessage(EM_GETMODIFY) != 0;
}

void CRichEditCtrl::SetModify(BOOL bModified) {
    SendMessage(EM_SETMODIFY, WPARAM(bModified));
}
