// Main window: focus tracking for the Edit commands, the paste button and the clipboard-viewer chain.
#include "QuireBinderDlg.h"

void CQuireBinderDlg::OnAuthorSetFocus() {
    m_nFocusRestoreTarget = m_nLastFocusedEdit;
    m_nLastFocusedEdit = 1;
}

void CQuireBinderDlg::OnTitleSetFocus() {
    m_nFocusRestoreTarget = m_nLastFocusedEdit;
    m_nLastFocusedEdit = 2;
}

void CQuireBinderDlg::OnEditorSetFocus() {
    m_nFocusRestoreTarget = m_nLastFocusedEdit;
    m_nLastFocusedEdit = 3;
}

void CQuireBinderDlg::OnEditKillFocus() {
    m_nFocusRestoreTarget = m_nLastFocusedEdit;
}

void CQuireBinderDlg::OnContentsKillFocus() {
    m_nFocusRestoreTarget = 0;
}

void CQuireBinderDlg::RestoreFocus() {
    switch (m_nFocusRestoreTarget) {
        case 1:
            m_wndAuthor.SetFocus();
            break;
        case 2:
            m_wndTitle.SetFocus();
            break;
        case 3:
            m_wndEditor.SetFocus();
            break;
        default:
            m_wndContents.SetFocus();
            break;
    }
}

void CQuireBinderDlg::UpdatePasteButton() {
    BOOL bText = ::CountClipboardFormats() != 0 && ::IsClipboardFormatAvailable(CF_TEXT);
    m_btnPasteText.EnableWindow(m_wndEditor.IsWindowEnabled() && bText);
}

void CQuireBinderDlg::OnDrawClipboard() {
    CDialog::OnDrawClipboard();
    UpdatePasteButton();
    // Null while SetClipboardViewer is still running: this message arrives inside it.
    if (m_hWndNextViewer != nullptr)
        ::SendMessageA(m_hWndNextViewer, WM_DRAWCLIPBOARD, 0, 0);
}

void CQuireBinderDlg::OnChangeCbChain(HWND hWndRemove, HWND hWndAfter) {
    CDialog::OnChangeCbChain(hWndRemove, hWndAfter);
    if (hWndRemove == m_hWndNextViewer)
        m_hWndNextViewer = hWndAfter;
    else if (m_hWndNextViewer != nullptr)
        ::SendMessageA(m_hWndNextViewer, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(hWndRemove),
                       reinterpret_cast<LPARAM>(hWndAfter));
}

void CQuireBinderDlg::OnDestroy() {
    CDialog::OnDestroy();
    ::ChangeClipboardChain(m_hWnd, m_hWndNextViewer);
}
