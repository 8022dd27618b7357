#include "TestHostWnd.h"

#include <algorithm>

namespace {

const char* HostClass() {
    static const char* name = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "QuireBinderControlTestHost";
        ::RegisterClassA(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

}  // namespace

CTestHostWnd::CTestHostWnd(int x, int y, int cx, int cy) {
    RECT rect = {x, y, x + cx, y + cy};
    CreateEx(0, HostClass(), "Control test host", WS_POPUP | WS_VISIBLE, rect, nullptr, 0);
    Activate();
}

CTestHostWnd::~CTestHostWnd() {
    DestroyWindow();
}

HWND CTestHostWnd::CreateChild(const char* lpszClass,
                               const char* lpszText,
                               DWORD dwStyle,
                               const RECT& rect,
                               int nID) {
    return ::CreateWindowExA(0, lpszClass, lpszText, WS_CHILD | WS_VISIBLE | dwStyle, rect.left, rect.top,
                             rect.right - rect.left, rect.bottom - rect.top, m_hWnd,
                             reinterpret_cast<HMENU>(INT_PTR(nID)), ::GetModuleHandleA(nullptr), nullptr);
}

bool CTestHostWnd::Activate() {
    ::SetForegroundWindow(m_hWnd);
    ::SetActiveWindow(m_hWnd);
    return ::GetActiveWindow() == m_hWnd;
}

int CTestHostWnd::CountCommands(UINT nID, UINT nCode) const {
    return int(std::count(m_commands.begin(), m_commands.end(), std::make_pair(nID, nCode)));
}

BOOL CTestHostWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    m_commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return CWnd::OnCommand(wParam, lParam);
}
