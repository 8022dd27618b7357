// Main window: the chapter commands, the states of the chapter buttons and the book's modified state.
#include "QuireBinderDlg.h"

void CQuireBinderDlg::ShowChapterTitle(int nIndex) {
    std::string strTitle;
    m_wndContents.GetText(nIndex, strTitle);
    m_wndChapterLabel.SetWindowText(strTitle);
}

void CQuireBinderDlg::UpdateChapterButtons() {
    int nSelected = m_wndContents.GetCurSel();
    UpdateMoveButtons(nSelected);
    UpdatePasteButton();
    BOOL bSelected = nSelected != LB_ERR;
    m_btnDeleteChapter.EnableWindow(bSelected);
    m_btnRenameChapter.EnableWindow(bSelected);
    m_btnImportText.EnableWindow(bSelected);
}

void CQuireBinderDlg::UpdateMoveButtons(int nIndex) {
    int nCount = m_wndContents.GetCount();
    if (nIndex == -1)
        nIndex = m_wndContents.GetCurSel();
    if (nCount < 2 || nIndex < 0) {
        m_btnMoveUp.EnableWindow(FALSE);
        m_btnMoveDown.EnableWindow(FALSE);
        return;
    }
    m_btnMoveUp.EnableWindow(nIndex != 0);
    m_btnMoveDown.EnableWindow(nIndex != nCount - 1);
}

BOOL CQuireBinderDlg::IsModified() {
    return m_wndContents.m_bChanged || m_wndEditor.GetModify() || m_wndTitle.GetModify() ||
           m_wndAuthor.GetModify();
}

void CQuireBinderDlg::ClearModified() {
    m_wndContents.m_bChanged = false;
    m_wndEditor.SetModify(FALSE);
    m_wndTitle.SetModify(FALSE);
    m_wndAuthor.SetModify(FALSE);
}
