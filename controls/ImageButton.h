// A flat toolbar button that shows one icon: no frame at rest, a raised frame while the pointer
// is over it (and its parent is active), a sunken frame while held down. The pointer is polled
// with a 10 ms timer that runs only after the pointer has moved over the button.
#pragma once

#include "Framework.h"

class CImageButton : public CButton {
public:
    CImageButton();
    ~CImageButton() override;

    // Loads the icons from the application's resources; a rest id of 0 loads none (the active
    // icon is then drawn at rest too). A missing resource gives a button that draws only its face.
    void SetIcon(UINT nActiveIconId, UINT nRestIconId);
    // Takes ownership of both handles; a null rest icon means "the active icon".
    void SetIcon(HICON hActiveIcon, HICON hRestIcon);

    BOOL IsHovered() const { return m_bHover; }
    HICON GetActiveIcon() const { return m_hActiveIcon; }
    HICON GetRestIcon() const { return m_hRestIcon; }
    SIZE GetIconSize() const { return SIZE{m_cxIcon, m_cyIcon}; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    static constexpr UINT_PTR kHoverTimer = 1;
    static constexpr UINT kHoverPeriodMs = 10;

protected:
    void PreSubclassWindow() override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // void OnMouseMove(UINT nFlags, CPoint point)
    void OnMouseMove(UINT nFlags, CPoint point);
    // void OnTimer(UINT_PTR nIDEvent)
    void OnTimer(UINT_PTR nIDEvent);
    // void OnKillFocus(CWnd* pNewWnd)
    void OnKillFocus(CWnd* pNewWnd);
    // void OnCaptureChanged(CWnd* pWnd)
    void OnCaptureChanged(CWnd* pWnd);
    // HBRUSH CtlColor(CDC* pDC, UINT nCtlColor), reflected from the parent
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);

private:
    // Destroys the icons the button owns, except the two given; leaves both handles null.
    void ReleaseIcons(HICON hKeep1, HICON hKeep2);
    void SetHover(BOOL bHover);

    BOOL m_bHover = FALSE;
    HICON m_hActiveIcon = nullptr;
    HICON m_hRestIcon = nullptr;  // owned only when it differs from m_hActiveIcon
    BYTE m_cxIcon = 0;
    BYTE m_cyIcon = 0;
    // Read once: the face keeps its colours even when the system colours change.
    const COLORREF m_crRestFace;
    const COLORREF m_crActiveFace;

    DECLARE_MESSAGE_MAP()
};
