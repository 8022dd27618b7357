#include "ImageButton.h"

BEGIN_MESSAGE_MAP(CImageButton, CButton)
    // void OnMouseMove(UINT nFlags, CPoint point)
    ON_WM_MOUSEMOVE()
    // void OnTimer(UINT_PTR nIDEvent)
    ON_WM_TIMER()
    // void OnKillFocus(CWnd* pNewWnd)
    ON_WM_KILLFOCUS()
    // void OnCaptureChanged(CWnd* pWnd)
    ON_WM_CAPTURECHANGED()
    // HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CImageButton::CImageButton()
    : m_crRestFace(::GetSysColor(COLOR_BTNFACE)), m_crActiveFace(::GetSysColor(COLOR_BTNFACE)) {}

CImageButton::~CImageButton() {
    ReleaseIcons(nullptr, nullptr);
}

void CImageButton::ReleaseIcons(HICON hKeep1, HICON hKeep2) {
    // The rest icon is usually the active one again: a shared handle is destroyed once. Handles
    // the caller hands in again stay alive.
    auto release = [&](HICON hIcon) {
        if (hIcon != nullptr && hIcon != hKeep1 && hIcon != hKeep2)
            ::DestroyIcon(hIcon);
    };
    release(m_hActiveIcon);
    if (m_hRestIcon != m_hActiveIcon)
        release(m_hRestIcon);
    m_hActiveIcon = nullptr;
    m_hRestIcon = nullptr;
}

void CImageButton::SetIcon(UINT nActiveIconId, UINT nRestIconId) {
    auto load = [](UINT nId) -> HICON {
        if (nId == 0)
            return nullptr;
        return static_cast<HICON>(
            ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nId), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    };
    SetIcon(load(nActiveIconId), load(nRestIconId));
}

void CImageButton::SetIcon(HICON hActiveIcon, HICON hRestIcon) {
    if (hRestIcon == nullptr)
        hRestIcon = hActiveIcon;
    ReleaseIcons(hActiveIcon, hRestIcon);
    m_hActiveIcon = hActiveIcon;
    m_hRestIcon = hRestIcon;

    // An icon's hot spot is its centre, so twice the hot spot is its size. A null or broken
    // handle leaves the record zeroed: size 0, and DrawItem draws no icon.
    ICONINFO info{};
    if (m_hActiveIcon != nullptr && ::GetIconInfo(m_hActiveIcon, &info)) {
        if (info.hbmMask != nullptr)
            ::DeleteObject(info.hbmMask);
        if (info.hbmColor != nullptr)
            ::DeleteObject(info.hbmColor);
    }
    m_cxIcon = BYTE(2 * info.xHotspot);
    m_cyIcon = BYTE(2 * info.yHotspot);

    if (m_hWnd != nullptr)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CImageButton::PreSubclassWindow() {
    SetButtonStyle((GetStyle() & 0xFF) | BS_OWNERDRAW, TRUE);
    CButton::PreSubclassWindow();
}

LRESULT CImageButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // An owner-draw button answers the second click of a double click with BN_DOUBLECLICKED
    // instead of a press; as a toolbar button each click must press it.
    if (message == WM_LBUTTONDBLCLK)
        message = WM_LBUTTONDOWN;
    return CButton::DefWindowProc(message, wParam, lParam);
}

void CImageButton::SetHover(BOOL bHover) {
    m_bHover = bHover;
    Invalidate(TRUE);
}

void CImageButton::OnMouseMove(UINT nFlags, CPoint) {
    Default();
    // A pointer dragged in with the button held down starts no tracking.
    if ((nFlags & MK_LBUTTON) && !m_bHover)
        return;
    SetTimer(kHoverTimer, kHoverPeriodMs);
}

void CImageButton::OnTimer(UINT_PTR) {
    POINT pt;
    ::GetCursorPos(&pt);
    CRect rect;
    GetWindowRect(&rect);
    if (rect.PtInRect(pt) && ::GetActiveWindow() == ::GetParent(m_hWnd)) {
        if (!m_bHover)
            SetHover(TRUE);
        Default();
        return;
    }
    KillTimer(kHoverTimer);
    SetHover(FALSE);
}

void CImageButton::OnKillFocus(CWnd*) {
    Default();
    // The timer keeps running: a pointer still over the button brings the frame back.
    if (m_bHover)
        SetHover(FALSE);
}

void CImageButton::OnCaptureChanged(CWnd*) {
    if (m_bHover) {
        ::ReleaseCapture();
        Invalidate(TRUE);
    }
    Default();
}

HBRUSH CImageButton::CtlColor(CDC*, UINT) {
    // Nothing is erased behind the face: DrawItem paints all of it.
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CImageButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CDC dc(lpDrawItemStruct->hDC);
    const bool bPressed = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    const bool bDisabled = (lpDrawItemStruct->itemState & ODS_DISABLED) != 0;
    const bool bActive = m_bHover || bPressed;
    const CRect item = lpDrawItemStruct->rcItem;
    dc.SetBkMode(TRANSPARENT);

    CBrush face(bActive ? m_crActiveFace : m_crRestFace);
    dc.FillRect(&item, face);
    if (bPressed)
        dc.Draw3dRect(&item, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    else if (m_bHover)
        dc.Draw3dRect(&item, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));

    if (m_hActiveIcon == nullptr)
        return;
    CRect icon = item;
    icon.left += (icon.right - m_cxIcon - icon.left) / 2;
    icon.top += (icon.bottom - m_cyIcon - icon.top) / 2;
    if (bPressed)
        ::OffsetRect(&icon, 1, 1);
    dc.DrawState(icon.TopLeft(), SIZE{icon.Width(), icon.Height()}, bActive ? m_hActiveIcon : m_hRestIcon,
                 bDisabled ? DSS_DISABLED : DSS_NORMAL);
}
