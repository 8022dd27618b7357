// Main window: focus tracking, the Edit commands, the editor's right-click menu, Paste Text from
// Clipboard with its button, and the clipboard-viewer chain.
#include "QuireBinderDlg.h"

namespace {

// The items that follow the target's text and selection, in the main menu or the right-click menu.
struct SelectionItems {
    UINT nSelectAll;
    UINT nCopy;
    UINT nCut;
    UINT nDelete;
};

constexpr SelectionItems kMainMenuItems = {IDM_EDIT_SELECT_ALL, IDM_EDIT_COPY, IDM_EDIT_CUT, IDM_EDIT_DELETE};
constexpr SelectionItems kContextMenuItems = {IDM_EDITOR_SELECT_ALL, IDM_EDITOR_COPY, IDM_EDITOR_CUT,
                                              IDM_EDITOR_DELETE};

// The longest a clipboard notice waits for the next viewer of the chain.
constexpr UINT kChainNoticeTimeoutMs = 500;

// A viewer further down the chain that hangs must not freeze this window: the notice waits for it a
// moment at most, and not at all once the system knows it hangs. The viewer keeps its place in
// the chain and gets the notice when it wakes up.
void PassOnChainNotice(HWND hWndNext, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(hWndNext, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                          kChainNoticeTimeoutMs, &result);
}

UINT EnableFlag(bool bEnable) {
    return MF_BYCOMMAND | (bEnable ? MF_ENABLED : MF_GRAYED);
}

bool ClipboardHasText() {
    return ::CountClipboardFormats() != 0 && ::IsClipboardFormatAvailable(CF_TEXT);
}

// Nothing to select in an empty text; nothing to copy without a selection; Select All only while
// it would select more.
void SetSelectionItems(CMenu& menu, const SelectionItems& items, int nLength, long nStart, long nEnd) {
    bool bText = nLength != 0;
    bool bSelection = bText && nStart != nEnd;
    bool bAllSelected = bSelection && nStart == 0 && nEnd >= nLength;
    menu.EnableMenuItem(items.nSelectAll, EnableFlag(bText && !bAllSelected));
    menu.EnableMenuItem(items.nCopy, EnableFlag(bSelection));
    menu.EnableMenuItem(items.nCut, EnableFlag(bSelection));
    menu.EnableMenuItem(items.nDelete, EnableFlag(bSelection));
}

}  // namespace

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

CWnd* CQuireBinderDlg::GetEditTarget() {
    switch (m_nLastFocusedEdit) {
        case 1:
            return &m_wndAuthor;
        case 2:
            return &m_wndTitle;
        case 3:
            return &m_wndEditor;
        default:
            return nullptr;
    }
}

// The Edit commands act on the edit control used last, also while a button or the list has the
// focus, and give it the focus back.
void CQuireBinderDlg::OnEditCut() {
    if (CWnd* pTarget = GetEditTarget()) {
        pTarget->SendMessage(WM_CUT);
        pTarget->SetFocus();
    }
}

void CQuireBinderDlg::OnEditCopy() {
    if (CWnd* pTarget = GetEditTarget()) {
        pTarget->SendMessage(WM_COPY);
        pTarget->SetFocus();
    }
}

void CQuireBinderDlg::OnEditClear() {
    if (CWnd* pTarget = GetEditTarget()) {
        pTarget->SendMessage(WM_CLEAR);
        pTarget->SetFocus();
    }
}

void CQuireBinderDlg::OnEditSelectAll() {
    if (CWnd* pTarget = GetEditTarget()) {
        pTarget->SendMessage(EM_SETSEL, 0, -1);
        pTarget->SendMessage(EM_SCROLLCARET);
        pTarget->SetFocus();
    }
}

void CQuireBinderDlg::OnEditPaste() {
    CWnd* pTarget = GetEditTarget();
    if (pTarget == nullptr)
        return;
    // A chapter is plain text: formatting on the clipboard never reaches the editor.
    if (pTarget == &m_wndEditor)
        PasteClipboardText();
    else
        pTarget->SendMessage(WM_PASTE);
    pTarget->SetFocus();
}

void CQuireBinderDlg::OnEditUndo() {
    m_wndEditor.Undo();
    m_wndEditor.SetFocus();
}

void CQuireBinderDlg::OnPasteTextFromClipboard() {
    PasteClipboardText();
    m_wndEditor.SetFocus();
}

void CQuireBinderDlg::UpdateEditMenuItems() {
    CWnd* pTarget = GetEditTarget();
    if (pTarget == nullptr) {
        for (UINT nItem : {IDM_EDIT_SELECT_ALL, IDM_EDIT_COPY, IDM_EDIT_CUT, IDM_EDIT_DELETE, IDM_EDIT_PASTE})
            m_menuMain.EnableMenuItem(nItem, EnableFlag(false));
        return;
    }
    bool bPreview = pTarget == &m_wndEditor && m_bEditorPreview;
    m_menuMain.EnableMenuItem(IDM_EDIT_PASTE, EnableFlag(ClipboardHasText() && !bPreview));
    DWORD dwStart = 0;
    DWORD dwEnd = 0;
    pTarget->SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
    SetSelectionItems(m_menuMain, kMainMenuItems, pTarget->GetWindowTextLength(), long(dwStart), long(dwEnd));
}

void CQuireBinderDlg::OnEditorMsgFilter(NMHDR* pNotifyStruct, LRESULT* pResult) {
    ShowEditorContextMenu(reinterpret_cast<MSGFILTER*>(pNotifyStruct));
    *pResult = 0;
}

void CQuireBinderDlg::ShowEditorContextMenu(MSGFILTER* pFilter) {
    // The editor goes on to process every mouse message itself: the result stays 0.
    if (pFilter == nullptr || pFilter->msg != WM_RBUTTONUP)
        return;
    CMenu* pPopup = m_menuContext.GetSubMenu(0);
    if (pPopup == nullptr)
        return;
    pPopup->EnableMenuItem(IDM_EDITOR_PASTE, EnableFlag(m_btnPasteText.IsWindowEnabled()));
    pPopup->EnableMenuItem(IDM_EDITOR_UNDO, EnableFlag(m_wndEditor.CanUndo()));
    CHARRANGE selection = {0, 0};
    m_wndEditor.GetSel(selection);
    SetSelectionItems(*pPopup, kContextMenuItems, m_wndEditor.GetWindowTextLength(), selection.cpMin,
                      selection.cpMax);
    POINT point = {0, 0};
    ::GetCursorPos(&point);
    pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_LEFTBUTTON, point.x, point.y, this);
}

void CQuireBinderDlg::UpdatePasteButton() {
    m_btnPasteText.EnableWindow(m_wndEditor.IsWindowEnabled() && !m_bEditorPreview && ClipboardHasText());
}

void CQuireBinderDlg::OnDrawClipboard() {
    CDialog::OnDrawClipboard();
    UpdatePasteButton();
    // Null while SetClipboardViewer is still running: this message arrives inside it.
    if (m_hWndNextViewer != nullptr)
        PassOnChainNotice(m_hWndNextViewer, WM_DRAWCLIPBOARD, 0, 0);
}

void CQuireBinderDlg::OnChangeCbChain(HWND hWndRemove, HWND hWndAfter) {
    CDialog::OnChangeCbChain(hWndRemove, hWndAfter);
    if (hWndRemove == m_hWndNextViewer)
        m_hWndNextViewer = hWndAfter;
    else if (m_hWndNextViewer != nullptr)
        PassOnChainNotice(m_hWndNextViewer, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(hWndRemove),
                          reinterpret_cast<LPARAM>(hWndAfter));
}

void CQuireBinderDlg::OnDestroy() {
    CDialog::OnDestroy();
    DiscardRecovery();
    ::ChangeClipboardChain(m_hWnd, m_hWndNextViewer);
}
