// Main window: the book-size display in the status bar.
#include "QuireBinderDlg.h"

#include <cstdio>

#include "Book.h"

void CQuireBinderDlg::OnEditorChange() {
    UpdateBookSize();
}

void CQuireBinderDlg::UpdateBookSize() {
    // The editor holds the current version of the selected chapter's text: count it from there.
    int nSelected = m_wndContents.GetCurSel();
    uint32_t nTotal = theBook.ContentSize(nSelected) + uint32_t(m_wndEditor.GetWindowTextLength()) +
                      uint32_t(m_wndTitle.GetWindowTextLength()) +
                      uint32_t(m_wndAuthor.GetWindowTextLength());
    char szText[64];
    std::snprintf(szText, sizeof(szText), "Book Size ~ %d Kb", int(nTotal / 1024 + 1));
    m_wndStatusBar.SetText(szText, 0, 0);
    m_wndEditor.UpdateWindow();
    m_wndEditor.Invalidate(TRUE);
}
