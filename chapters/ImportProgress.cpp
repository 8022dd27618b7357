#include "ImportProgress.h"

#include <algorithm>

#include <commctrl.h>

#include "resource.h"

namespace {

HFONT DialogFont() {
    return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

CImportProgress::CImportProgress(HWND hOwner, std::size_t nTotal)
    : m_hOwner(hOwner), m_nTotal(nTotal), m_nStart(::GetTickCount()) {}

CImportProgress::~CImportProgress() {
    if (m_hWnd == nullptr)
        return;
    // The owner first, so that the activation goes back to it rather than to another program.
    ::EnableWindow(m_hOwner, TRUE);
    ::DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CImportProgress::WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    auto* pThis = reinterpret_cast<CImportProgress*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (pThis != nullptr && ((nMessage == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || nMessage == WM_CLOSE)) {
        pThis->m_bCancelled = true;
        return 0;
    }
    return ::DefWindowProcA(hWnd, nMessage, wParam, lParam);
}

void CImportProgress::Show() {
    HINSTANCE hInstance = ::GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    if (!::GetClassInfoA(hInstance, kClassName, &wc)) {
        wc.lpfnWndProc = &WindowProc;
        wc.hInstance = hInstance;
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClassName;
        ::RegisterClassA(&wc);
    }
    RECT owner = {0, 0, 0, 0};
    ::GetWindowRect(m_hOwner, &owner);
    const int nWidth = 360, nHeight = 130;
    // Centred on the owner, yet wholly on its monitor, so that Cancel can always be reached: an
    // owner partly off the screen would take the window with it.
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(m_hOwner, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    int nLeft = (owner.left + owner.right - nWidth) / 2, nTop = (owner.top + owner.bottom - nHeight) / 2;
    nLeft = std::max<int>(area.left, std::min<int>(area.right - nWidth, nLeft));
    nTop = std::max<int>(area.top, std::min<int>(area.bottom - nHeight, nTop));
    m_hWnd = ::CreateWindowExA(WS_EX_DLGMODALFRAME, kClassName, kCaption, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                               nLeft, nTop, nWidth, nHeight, m_hOwner, nullptr, hInstance, nullptr);
    if (m_hWnd == nullptr)
        return;
    ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int nInner = client.right - 24;
    struct {
        const char* className;
        DWORD style;
        int id, y, width, height;
    } controls[] = {
        {"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, IDC_PROGRESS_TEXT, 12, nInner, 16},
        {PROGRESS_CLASSA, 0, IDC_PROGRESS_BAR, 34, nInner, 18},
        {"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, IDCANCEL, 62, 80, 24},
    };
    for (const auto& control : controls) {
        int x = control.id == IDCANCEL ? (client.right - control.width) / 2 : 12;
        HWND hChild = ::CreateWindowExA(0, control.className, control.id == IDCANCEL ? "Cancel" : "",
                                        WS_CHILD | WS_VISIBLE | control.style, x, control.y, control.width,
                                        control.height, m_hWnd, reinterpret_cast<HMENU>(INT_PTR(control.id)),
                                        hInstance, nullptr);
        ::SendMessageA(hChild, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
    }
    ::SendDlgItemMessageA(m_hWnd, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, LPARAM(m_nTotal));
    ::EnableWindow(m_hOwner, FALSE);
    ::ShowWindow(m_hWnd, SW_SHOW);
    ::SetFocus(::GetDlgItem(m_hWnd, IDCANCEL));
}

bool CImportProgress::Step(std::size_t nDone, const std::string& name) {
    if (m_hWnd == nullptr) {
        if (m_nTotal < kShownFrom || ::GetTickCount() - m_nStart < kShownAfter)
            return true;
        Show();
        if (m_hWnd == nullptr)
            return true;
    }
    std::string text = "Reading " + std::to_string(nDone + 1) + " of " + std::to_string(m_nTotal) + ": " + name;
    ::SetDlgItemTextA(m_hWnd, IDC_PROGRESS_TEXT, text.c_str());
    ::SendDlgItemMessageA(m_hWnd, IDC_PROGRESS_BAR, PBM_SETPOS, WPARAM(nDone), 0);
    MSG msg;
    while (!m_bCancelled && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(int(msg.wParam));  // for the loop that owns it
            m_bCancelled = true;
            break;
        }
        // Escape and Enter on the window mean its one button.
        if (msg.message == WM_KEYDOWN && (msg.wParam == VK_ESCAPE || msg.wParam == VK_RETURN) &&
            (msg.hwnd == m_hWnd || ::IsChild(m_hWnd, msg.hwnd))) {
            m_bCancelled = true;
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return !m_bCancelled;
}
