// An edit control.
#pragma once

#include "CWnd.h"

class CEdit : public CWnd {
public:
    void LimitText(int nChars = 0);
    // Selects start..end (end -1: to the end) and, unless bNoScroll, scrolls the caret into view.
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
    DWORD GetSel() const;  // start in the low word, end in the high word
    void GetSel(int& nStartChar, int& nEndChar) const;
    void ReplaceSel(const char* lpszNewText, BOOL bCanUndo = FALSE);
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);
};
