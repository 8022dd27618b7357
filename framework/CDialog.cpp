#include "CDialog.h"

#include "CMenu.h"
#include "CWinApp.h"

namespace {

int g_nModalDepth = 0;  // modal loops running, nested ones included

template <typename F>
class ScopeExit {
public:
    explicit ScopeExit(F f) : m_f(f) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() { m_f(); }

private:
    F m_f;
};

}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::CDialog() = default;

HWND CDialog::GetModalOwner() const {
    if (m_pParentWnd == nullptr && AfxGetMainWnd() == this)
        return nullptr;
    return GetSafeOwner(m_pParentWnd);
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd != nullptr)  // already running
        return -1;
    HWND hOwner = GetModalOwner();
    m_bInModalLoop = true;
    m_bEndModal = false;
    m_nModalResult = -1;
    SetPendingLink(this);
    HWND hWnd = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), hOwner,
                                     &CWnd::DialogProc, 0);
    SetPendingLink(nullptr);
    bool bOwnerDisabled = hWnd != nullptr && hOwner != nullptr && ::IsWindowEnabled(hOwner);
    if (bOwnerDisabled)
        ::EnableWindow(hOwner, FALSE);

    // Also when an exception from a pre-translation unwinds through here to an outer handler:
    // the owner must not stay disabled under a dead dialog.
    ScopeExit cleanup([&] {
        m_bInModalLoop = false;
        if (hWnd == nullptr)
            return;
        // Hide first and re-enable the owner before destroying, so the activation goes back to it.
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        if (bOwnerDisabled)
            ::EnableWindow(hOwner, TRUE);
        if (hOwner != nullptr && ::GetActiveWindow() == hWnd)
            ::SetActiveWindow(hOwner);
        if (m_hWnd == hWnd)
            DestroyWindow();
        else
            ::DestroyWindow(hWnd);
    });
    if (hWnd == nullptr)
        return -1;
    RunModalLoop();
    return m_nModalResult;
}

void CDialog::RunModalLoop() {
    ++g_nModalDepth;
    ScopeExit leave([] { --g_nModalDepth; });
    bool bShown = false;
    MSG msg;
    while (!m_bEndModal) {
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            // Idle: show the dialog once its first messages are through, as the dialog manager
            // does; temporaries go only when no handler of an outer loop can hold one.
            if (!bShown) {
                bShown = true;
                if (m_hWnd != nullptr && !(GetStyle() & WS_VISIBLE))
                    ShowWindow(SW_SHOWNORMAL);
                continue;
            }
            if (g_nModalDepth == 1) {
                CWnd::DeleteTempMap();
                CMenu::DeleteTempMap();
            }
        }
        if (m_bEndModal)
            break;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            // WM_QUIT: end this loop and leave the message for the loops outside.
            ::PostQuitMessage(int(msg.wParam));
            break;
        }
        AfxDispatchMessage(&msg);
        if (m_hWnd == nullptr)  // destroyed from inside: nothing left to run
            break;
    }
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    if (m_bInModalLoop) {
        m_bEndModal = true;
        PostMessage(WM_NULL);  // wake the loop if it waits
    } else if (m_hWnd != nullptr) {
        ::EndDialog(m_hWnd, nResult);
    }
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    if (m_hWnd == nullptr)
        return FALSE;
    bool bInput = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                  (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
    return bInput && ::IsDialogMessageA(m_hWnd, pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode) {
    if (CWnd::OnCmdMsg(nID, nCode))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}
