#include "CWnd.h"

#include <cstdlib>
#include <unordered_map>
#include <utility>

#include "CMenu.h"
#include "CToolTipCtrl.h"
#include "CWinApp.h"

namespace {

// A subclassed window: its object (null once the object is gone but another procedure was
// installed above ours, so the link must keep forwarding) and the procedure it had before.
struct Link {
    CWnd* pWnd;
    WNDPROC pfnSuper;
};

// The message being handled, for Default(); frames nest as handlers send messages.
struct MessageFrame {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT defaultResult;
    MessageFrame* pPrev;
};

// Everything runs on the one user-interface thread. The maps are never destroyed, so global
// objects that outlive static destruction can still unlink themselves.
std::unordered_map<HWND, Link>& Links() {
    static auto* links = new std::unordered_map<HWND, Link>;
    return *links;
}

std::unordered_map<HWND, std::unique_ptr<CWnd>>& TempWindows() {
    static auto* temps = new std::unordered_map<HWND, std::unique_ptr<CWnd>>;
    return *temps;
}

MessageFrame* g_pFrame = nullptr;
CWnd* g_pPendingDialog = nullptr;  // the next dialog to link (SetPendingLink)
CWnd* g_pCreating = nullptr;       // the object whose CreateEx is running
HWND g_hLastMeasured = nullptr;    // the child that WM_MEASUREITEM was last about

bool IsStaticId(int id) {
    return id == -1 || id == 0xFFFF;
}

POINT PointFromLParam(LPARAM lParam) {
    return POINT{short(LOWORD(lParam)), short(HIWORD(lParam))};
}

}  // namespace

LRESULT AfxGetDefaultResult() {
    return g_pFrame != nullptr ? g_pFrame->defaultResult : 0;
}

CWnd::CWnd() = default;

CWnd::~CWnd() {
    m_pToolTip.reset();
    UnsubclassWindow();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    auto it = Links().find(hWnd);
    return it != Links().end() ? it->second.pWnd : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (hWnd == nullptr)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    std::unique_ptr<CWnd>& temp = TempWindows()[hWnd];
    if (!temp) {
        temp = std::make_unique<CWnd>();
        temp->m_hWnd = hWnd;
    }
    return temp.get();
}

void CWnd::DeleteTempMap() {
    // Temporaries are never linked; clear their handle so the destructor does not unsubclass.
    for (auto& entry : TempWindows())
        entry.second->m_hWnd = nullptr;
    TempWindows().clear();
}

HWND CWnd::GetSafeOwner(CWnd* pParent) {
    HWND hWnd = pParent != nullptr ? pParent->m_hWnd : nullptr;
    if (hWnd == nullptr) {
        CWnd* pMainWnd = AfxGetMainWnd();
        hWnd = pMainWnd != nullptr ? pMainWnd->m_hWnd : nullptr;
    }
    // A popup cannot be owned by a child window.
    while (hWnd != nullptr && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    if (hWnd == nullptr || !::IsWindow(hWnd))
        return nullptr;
    if (pParent == nullptr) {
        // A dialog already open over the main window owns the next one, so nested dialogs stay
        // modal to each other; tooltips and other never-activated popups do not count.
        HWND hPopup = ::GetLastActivePopup(hWnd);
        if (hPopup != nullptr && ::IsWindowVisible(hPopup) && ::IsWindowEnabled(hPopup))
            hWnd = hPopup;
    }
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (m_hWnd != nullptr || hWnd == nullptr || !::IsWindow(hWnd) || FromHandlePermanent(hWnd) != nullptr)
        return FALSE;
    auto it = Links().find(hWnd);
    bool orphan = it != Links().end();  // our procedure is still installed from an earlier object
    WNDPROC current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    Links()[hWnd] = Link{this, orphan ? it->second.pfnSuper : current};
    m_hWnd = hWnd;
    PreSubclassWindow();
    if (!orphan)
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::WndProc));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    if (pParent == nullptr || pParent->m_hWnd == nullptr)
        return FALSE;
    return SubclassWindow(::GetDlgItem(pParent->m_hWnd, int(nID)));
}

HWND CWnd::UnsubclassWindow() {
    HWND hWnd = std::exchange(m_hWnd, nullptr);
    auto it = Links().find(hWnd);
    if (it == Links().end() || it->second.pWnd != this)
        return hWnd;
    WNDPROC ours = &CWnd::WndProc;
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) == ours) {
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.pfnSuper));
        Links().erase(it);
    } else {
        // Another procedure sits above ours and will keep calling it: keep forwarding.
        it->second.pWnd = nullptr;
    }
    return hWnd;
}

BOOL CWnd::CreateEx(DWORD dwExStyle,
                    const char* lpszClassName,
                    const char* lpszWindowName,
                    DWORD dwStyle,
                    const RECT& rect,
                    CWnd* pParentWnd,
                    UINT nID) {
    if (m_hWnd != nullptr)
        return FALSE;
    CWnd* pPrevCreating = std::exchange(g_pCreating, this);
    HWND hWnd = ::CreateWindowExA(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top,
                                  pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr,
                                  reinterpret_cast<HMENU>(UINT_PTR(nID)), AfxGetInstanceHandle(), nullptr);
    g_pCreating = pPrevCreating;
    if (hWnd == nullptr)
        return FALSE;
    if (m_hWnd == hWnd)  // linked while the parent measured it during creation
        return TRUE;
    return SubclassWindow(hWnd);
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr)
        return FALSE;
    HWND hWnd = m_hWnd;
    BOOL result = ::DestroyWindow(hWnd);
    if (FromHandlePermanent(hWnd) == this)  // not linked through our procedure: unlink here
        UnsubclassWindow();
    m_hWnd = nullptr;
    return result;
}

void CWnd::PreSubclassWindow() {}

void CWnd::SetPendingLink(CWnd* pWnd) {
    g_pPendingDialog = pWnd;
}

LRESULT CALLBACK CWnd::WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto it = Links().find(hWnd);
    if (it == Links().end())
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    CWnd* pWnd = it->second.pWnd;
    WNDPROC pfnSuper = it->second.pfnSuper;
    LRESULT result = pWnd != nullptr ? CallWindowProcSafely(pWnd, message, wParam, lParam)
                                     : ::CallWindowProcA(pfnSuper, hWnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window is gone: cut the link (the map may have changed during the call).
        auto gone = Links().find(hWnd);
        if (gone != Links().end()) {
            if (gone->second.pWnd != nullptr)
                gone->second.pWnd->m_hWnd = nullptr;
            Links().erase(gone);
        }
    }
    return result;
}

LRESULT CWnd::CallWindowProcSafely(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageFrame frame{message, wParam, lParam, 0, g_pFrame};
    g_pFrame = &frame;
    LRESULT result = 0;
    const char* pszError = nullptr;
    std::string strError;
    // The one place that catches: nothing may unwind through the system's frames.
    try {
        result = pWnd->WindowProc(message, wParam, lParam);
    } catch (const std::exception& e) {
        strError = e.what();
        pszError = strError.c_str();
    } catch (...) {
        pszError = "An unexpected error occurred.";
    }
    g_pFrame = frame.pPrev;
    if (pszError != nullptr)
        AfxMessageBox(pszError, MB_OK | MB_ICONERROR);
    return result;
}

INT_PTR CALLBACK CWnd::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Once linked, every message reaches the object through WndProc first; when it gets here it
    // is on its way to the dialog manager's default processing.
    if (FromHandlePermanent(hWnd) != nullptr || g_pPendingDialog == nullptr)
        return FALSE;
    CWnd* pWnd = std::exchange(g_pPendingDialog, nullptr);
    if (!pWnd->SubclassWindow(hWnd))
        return FALSE;
    // Normally the first message is WM_SETFONT, which the dialog manager handles; without
    // DS_SETFONT it is WM_INITDIALOG, which went past our procedure and is routed by hand.
    if (message == WM_INITDIALOG)
        return CallWindowProcSafely(pWnd, message, wParam, lParam);
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
        case WM_COMMAND:
            if (OnCommand(wParam, lParam))
                return 0;
            return DefWindowProc(message, wParam, lParam);
        case WM_NOTIFY:
            if (OnNotify(wParam, lParam, &result))
                return result;
            return DefWindowProc(message, wParam, lParam);
        case WM_DRAWITEM: {
            auto* pDraw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (pDraw->CtlType != ODT_MENU &&
                ReflectChildNotify(pDraw->hwndItem, message, wParam, lParam, &result))
                return TRUE;
            break;
        }
        case WM_MEASUREITEM: {
            auto* pMeasure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (pMeasure->CtlType == ODT_MENU)
                break;
            HWND hChild = MeasuredChild(int(pMeasure->CtlID));
            // A control being created by CreateEx is measured before CreateWindowEx returns.
            if (hChild != nullptr && FromHandlePermanent(hChild) == nullptr && g_pCreating != nullptr &&
                g_pCreating->m_hWnd == nullptr && ::GetParent(hChild) == m_hWnd)
                g_pCreating->SubclassWindow(hChild);
            if (ReflectChildNotify(hChild, message, wParam, lParam, &result))
                return TRUE;
            break;
        }
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            if (ReflectChildNotify(reinterpret_cast<HWND>(lParam), message, wParam, lParam, &result))
                return result;
            break;
        default:
            break;
    }
    if (const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(message, 0, 0))
        return CallEntry(pEntry, wParam, lParam);
    return DefWindowProc(message, wParam, lParam);
}

// Under Wine GetDlgItem asks the server for the list of children each time (0.1-0.4 ms), and a
// variable-height list box is measured item by item as it is filled: the child found last is
// tried first, by calls that Wine answers in the process.
HWND CWnd::MeasuredChild(int nID) const {
    HWND hChild = g_hLastMeasured;
    if (hChild != nullptr && ::IsWindow(hChild) && ::GetParent(hChild) == m_hWnd &&
        ::GetDlgCtrlID(hChild) == nID)
        return hChild;
    hChild = ::GetDlgItem(m_hWnd, nID);
    g_hLastMeasured = hChild;
    return hChild;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    auto it = Links().find(m_hWnd);
    if (it != Links().end() && it->second.pfnSuper != nullptr)
        return ::CallWindowProcA(it->second.pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    if (g_pFrame == nullptr)
        return 0;
    g_pFrame->defaultResult = DefWindowProc(g_pFrame->message, g_pFrame->wParam, g_pFrame->lParam);
    return g_pFrame->defaultResult;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (hWndCtrl == nullptr) {
        nCode = 0;  // menus and accelerators (code 1) alike
    } else {
        LRESULT result = 0;
        if (ReflectChildNotify(hWndCtrl, WM_COMMAND, wParam, lParam, &result))
            return TRUE;
    }
    return OnCmdMsg(LOWORD(wParam), nCode);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    auto* pHeader = reinterpret_cast<NMHDR*>(lParam);
    if (pHeader == nullptr)
        return FALSE;
    if (ReflectChildNotify(pHeader->hwndFrom, WM_NOTIFY, wParam, lParam, pResult))
        return TRUE;
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(WM_NOTIFY, pHeader->code, UINT(pHeader->idFrom));
    if (pEntry == nullptr)
        return FALSE;
    *pResult = CallEntry(pEntry, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    switch (message) {
        case WM_COMMAND:
            if (const AFX_MSGMAP_ENTRY* pEntry =
                    FindMessageEntry(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0)) {
                *pResult = CallEntry(pEntry, wParam, lParam);
                return TRUE;
            }
            return FALSE;
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            if (const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(AFX_WM_CTLCOLOR_REFLECT, 0, 0)) {
                LRESULT brush = CallEntry(pEntry, wParam, LPARAM(message - WM_CTLCOLORMSGBOX));
                if (brush == 0)
                    return FALSE;
                *pResult = brush;
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

BOOL CWnd::ReflectChildNotify(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    CWnd* pChild = FromHandlePermanent(hWndChild);
    return pChild != nullptr && pChild->OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg) {
    if (m_pToolTip != nullptr && pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)))
        RelayToolTipEvent(pMsg);
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
    }
    return FALSE;
}

BOOL CWnd::EnableToolTips(BOOL bEnable) {
    if (!bEnable) {
        m_pToolTip.reset();
        m_nLastHit = -1;
        m_hLastToolWnd = nullptr;
        m_lastToolId = 0;
        return TRUE;
    }
    if (m_pToolTip != nullptr)
        return TRUE;
    auto pToolTip = std::make_unique<CToolTipCtrl>();
    if (!pToolTip->Create(this, TTS_ALWAYSTIP))
        return FALSE;
    m_pToolTip = std::move(pToolTip);
    m_nLastHit = -1;
    return TRUE;
}

void CWnd::RelayToolTipEvent(const MSG* pMsg) {
    POINT pt = PointFromLParam(pMsg->lParam);
    ::MapWindowPoints(pMsg->hwnd, m_hWnd, &pt, 1);
    if (pMsg->message == WM_MOUSEMOVE) {
        TOOLINFOA ti{};
        ti.cbSize = sizeof(ti);
        INT_PTR nHit = OnToolHitTest(pt, &ti);
        char* pszText = ti.lpszText != LPSTR_TEXTCALLBACKA ? ti.lpszText : nullptr;
        if (nHit != m_nLastHit) {
            RemoveLastTool();
            m_nLastHit = nHit;
            if (nHit != -1 && pszText != nullptr && pszText[0] != '\0')
                AddHitTool(nHit, ti, pszText);
        }
        std::free(pszText);
    }
    // The control looks for the tool under the pointer in the window the message names: a child
    // tool is found by its own handle, so its messages must name it, also those of a disabled
    // child, which arrive at this window.
    MSG relay = *pMsg;
    RECT toolRect;
    POINT screen = pt;
    ::ClientToScreen(m_hWnd, &screen);
    if (m_hLastToolWnd != nullptr && ::GetWindowRect(m_hLastToolWnd, &toolRect) &&
        ::PtInRect(&toolRect, screen)) {
        relay.hwnd = m_hLastToolWnd;
        ::ScreenToClient(m_hLastToolWnd, &screen);
        relay.lParam = MAKELPARAM(screen.x, screen.y);
    } else {
        relay.hwnd = m_hWnd;
        relay.lParam = MAKELPARAM(pt.x, pt.y);
    }
    m_pToolTip->RelayEvent(&relay);
}

// A child window found by the hit test becomes a tool of its own (TTF_IDISHWND with its handle);
// anything else is a rectangle of this window.
void CWnd::AddHitTool(INT_PTR nHit, const TOOLINFOA& ti, const char* pszText) {
    if ((ti.uFlags & TTF_IDISHWND) && ::IsWindow(reinterpret_cast<HWND>(ti.uId))) {
        HWND hChild = reinterpret_cast<HWND>(ti.uId);
        if (m_pToolTip->AddTool(CWnd::FromHandle(hChild), pszText))
            m_hLastToolWnd = hChild;
        return;
    }
    RECT rect = ti.rect;
    if (ti.hwnd != nullptr && ti.hwnd != m_hWnd)
        ::MapWindowPoints(ti.hwnd, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    // Tool ids start at 1 so that 0 can mean "no tool".
    UINT_PTR toolId = UINT_PTR(nHit) + 1;
    if (m_pToolTip->AddTool(this, pszText, &rect, toolId))
        m_lastToolId = toolId;
}

void CWnd::RemoveLastTool() {
    if (m_hLastToolWnd != nullptr)
        m_pToolTip->DelTool(m_hLastToolWnd);
    if (m_lastToolId != 0)
        m_pToolTip->DelTool(this, m_lastToolId);
    m_hLastToolWnd = nullptr;
    m_lastToolId = 0;
}

INT_PTR CWnd::OnToolHitTest(POINT point, TOOLINFOA* pTI) const {
    POINT screen = point;
    ::ClientToScreen(m_hWnd, &screen);
    // Not WindowFromPoint: it skips disabled controls, which should have tips too.
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        int nID = ::GetDlgCtrlID(hChild);
        if (IsStaticId(nID) || !(::GetWindowLongA(hChild, GWL_STYLE) & WS_VISIBLE))
            continue;
        RECT rect;
        ::GetWindowRect(hChild, &rect);
        if (!::PtInRect(&rect, screen))
            continue;
        if (pTI != nullptr) {
            pTI->hwnd = m_hWnd;
            pTI->uId = reinterpret_cast<UINT_PTR>(hChild);
            pTI->uFlags |= TTF_IDISHWND;
            ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
            pTI->rect = rect;
        }
        return nID;
    }
    return -1;
}

void CWnd::SetWindowText(const char* lpszString) {
    ::SetWindowTextA(m_hWnd, lpszString);
}

void CWnd::GetWindowText(std::string& rString) const {
    int nLength = ::GetWindowTextLengthA(m_hWnd);
    rString.assign(size_t(nLength > 0 ? nLength : 0) + 1, '\0');
    int nCopied = ::GetWindowTextA(m_hWnd, &rString[0], int(rString.size()));
    rString.resize(size_t(nCopied > 0 ? nCopied : 0));
}

int CWnd::GetWindowText(char* lpszStringBuf, int nMaxCount) const {
    return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
}

int CWnd::GetWindowTextLength() const {
    return ::GetWindowTextLengthA(m_hWnd);
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    return ::EnableWindow(m_hWnd, bEnable);
}

BOOL CWnd::IsWindowEnabled() const {
    return ::IsWindowEnabled(m_hWnd);
}

BOOL CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::IsZoomed() const {
    return ::IsZoomed(m_hWnd);
}

BOOL CWnd::IsIconic() const {
    return ::IsIconic(m_hWnd);
}

DWORD CWnd::GetStyle() const {
    return DWORD(::GetWindowLongA(m_hWnd, GWL_STYLE));
}

CWnd* CWnd::SetFocus() {
    return FromHandle(::SetFocus(m_hWnd));
}

CWnd* CWnd::GetFocus() {
    return FromHandle(::GetFocus());
}

void CWnd::Invalidate(BOOL bErase) {
    ::InvalidateRect(m_hWnd, nullptr, bErase);
}

void CWnd::InvalidateRect(const RECT* lpRect, BOOL bErase) {
    ::InvalidateRect(m_hWnd, lpRect, bErase);
}

void CWnd::UpdateWindow() {
    ::UpdateWindow(m_hWnd);
}

BOOL CWnd::RedrawWindow(const RECT* lpRectUpdate, HRGN hrgnUpdate, UINT flags) {
    return ::RedrawWindow(m_hWnd, lpRectUpdate, hrgnUpdate, flags);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::MoveWindow(const RECT* lpRect, BOOL bRepaint) {
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
               bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    return ::SetWindowPos(m_hWnd, pWndInsertAfter != nullptr ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx,
                          cy, nFlags);
}

void CWnd::GetWindowRect(LPRECT lpRect) const {
    ::GetWindowRect(m_hWnd, lpRect);
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    ::GetClientRect(m_hWnd, lpRect);
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const {
    ::ScreenToClient(m_hWnd, lpPoint);
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(lpRect), 2);
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const {
    ::ClientToScreen(m_hWnd, lpPoint);
}

void CWnd::ClientToScreen(LPRECT lpRect) const {
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(lpRect), 2);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    return ::KillTimer(m_hWnd, nIDEvent);
}

CWnd* CWnd::GetDlgItem(int nID) const {
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}

CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const {
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

BOOL CWnd::SetMenu(CMenu* pMenu) {
    return ::SetMenu(m_hWnd, pMenu != nullptr ? pMenu->m_hMenu : nullptr);
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

int CWnd::MessageBox(const char* lpszText, const char* lpszCaption, UINT nType) const {
    return ::MessageBoxA(m_hWnd, lpszText, lpszCaption != nullptr ? lpszCaption : AfxGetAppName(), nType);
}

void CWnd::OnPaint() {
    Default();
}

void CWnd::OnSize(UINT, int, int) {
    Default();
}

void CWnd::OnSizing(UINT, LPRECT) {
    Default();
}

void CWnd::OnClose() {
    Default();
}

void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}

HCURSOR CWnd::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(Default());
}

void CWnd::OnInitMenu(CMenu*) {
    Default();
}

void CWnd::OnDrawClipboard() {
    Default();
}

void CWnd::OnChangeCbChain(HWND, HWND) {
    Default();
}

void CWnd::OnDestroy() {
    Default();
}

void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}

void CWnd::OnTimer(UINT_PTR) {
    Default();
}

void CWnd::OnKillFocus(CWnd*) {
    Default();
}

void CWnd::OnCaptureChanged(CWnd*) {
    Default();
}

BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return BOOL(Default());
}
