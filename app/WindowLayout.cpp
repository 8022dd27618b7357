// Main window: minimum size while dragging and the layout of the controls on resizing.
#include "QuireBinderDlg.h"

namespace {

bool Exists(const CWnd& wnd) {
    return wnd.m_hWnd != nullptr && ::IsWindow(wnd.m_hWnd);
}

// Every edge given in screen coordinates; the others stay. Left and top never move.
void MoveEdges(CWnd& wnd, const LONG* pRight, const LONG* pBottom) {
    if (!Exists(wnd))
        return;
    CRect rect;
    wnd.GetWindowRect(&rect);
    if (pRight != nullptr)
        rect.right = *pRight;
    if (pBottom != nullptr)
        rect.bottom = *pBottom;
    if (CWnd* pParent = wnd.GetParent())
        pParent->ScreenToClient(&rect);
    wnd.MoveWindow(&rect, TRUE);
}

}  // namespace

void CQuireBinderDlg::OnSizing(UINT fwSide, LPRECT pRect) {
    CRect rectWindow;
    GetWindowRect(&rectWindow);

    // Keep the buttons right of the list, and the lowest chapter button above the status bar,
    // in view with 10 pixels to spare.
    if (Exists(m_btnPasteText)) {
        CRect rectButton;
        m_btnPasteText.GetWindowRect(&rectButton);
        LONG nMinWidth = rectButton.right - rectWindow.left + 10;
        if (pRect->right - pRect->left < nMinWidth) {
            if (fwSide == WMSZ_LEFT || fwSide == WMSZ_TOPLEFT || fwSide == WMSZ_BOTTOMLEFT)
                pRect->left = pRect->right - nMinWidth;
            else
                pRect->right = pRect->left + nMinWidth;
        }
    }
    if (Exists(m_btnMoveDown) && Exists(m_wndStatusBar)) {
        CRect rectButton;
        CRect rectStatus;
        m_btnMoveDown.GetWindowRect(&rectButton);
        m_wndStatusBar.GetWindowRect(&rectStatus);
        LONG nMinHeight = rectButton.bottom - rectWindow.top + rectStatus.Height() + 10;
        if (pRect->bottom - pRect->top < nMinHeight) {
            if (fwSide == WMSZ_TOP || fwSide == WMSZ_TOPLEFT || fwSide == WMSZ_TOPRIGHT)
                pRect->top = pRect->bottom - nMinHeight;
            else
                pRect->bottom = pRect->top + nMinHeight;
        }
    }
    CDialog::OnSizing(fwSide, pRect);
}

void CQuireBinderDlg::OnSize(UINT nType, int cx, int cy) {
    CDialog::OnSize(nType, cx, cy);

    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);

    LONG nStatusHeight = 0;
    if (Exists(m_wndStatusBar)) {
        // A status bar moved to nothing docks itself along the bottom edge again.
        m_wndStatusBar.MoveWindow(0, 0, 0, 0, TRUE);
        CRect rectStatus;
        m_wndStatusBar.GetWindowRect(&rectStatus);
        nStatusHeight = rectStatus.Height();
    }

    const LONG nRight = client.right;
    const LONG nInnerRight = client.right - 5;
    const LONG nFrameBottom = client.bottom - nStatusHeight;
    const LONG nInnerBottom = client.bottom - nStatusHeight - 5;
    MoveEdges(m_wndHeaderFrame, &nRight, nullptr);
    MoveEdges(m_wndAuthor, &nInnerRight, nullptr);
    MoveEdges(m_wndTitle, &nInnerRight, nullptr);
    MoveEdges(m_wndChapterLabel, &nInnerRight, nullptr);
    MoveEdges(m_wndEditor, &nInnerRight, &nInnerBottom);
    MoveEdges(m_wndChaptersFrame, &nRight, &nFrameBottom);
    MoveEdges(m_wndContents, nullptr, &nInnerBottom);
}
