// A rich edit 1.0 control (AfxInitRichEdit loads its library).
#pragma once

#include <string>

#include <windows.h>
#include <richedit.h>

#include "CWnd.h"

class CRichEditCtrl : public CWnd {
public:
    // Creates a "RichEdit" child window and subclasses it.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    DWORD SetEventMask(DWORD dwEventMask);
    DWORD GetEventMask() const;
    void LimitText(long nChars = 0);  // EM_EXLIMITTEXT
    void GetSel(CHARRANGE& cr) const;
    void GetSel(long& nStartChar, long& nEndChar) const;
    void SetSel(long nStartChar, long nEndChar);
    void SetSel(CHARRANGE& cr);
    void ReplaceSel(const char* lpszNewText, BOOL bCanUndo = FALSE);
    BOOL CanUndo() const;
    BOOL Undo();
    long StreamIn(int nFormat, EDITSTREAM& es);
    // The selected text as plain characters.
    std::string GetSelText() const;
    // The text of characters nFirst to nLast (EM_GETTEXTRANGE).
    std::string GetTextRange(long nFirst, long nLast) const;
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);
};
