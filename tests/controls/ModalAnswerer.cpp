#include "ModalAnswerer.h"

CModalAnswerer* CModalAnswerer::s_pActive = nullptr;

CModalAnswerer::CModalAnswerer(Handler handler)
    : m_handler(std::move(handler)), m_timer(::SetTimer(nullptr, 0, 20, &CModalAnswerer::OnTick)) {
    s_pActive = this;
}

CModalAnswerer::~CModalAnswerer() {
    ::KillTimer(nullptr, m_timer);
    s_pActive = nullptr;
}

void CModalAnswerer::PressOk(HWND hDlg) {
    ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

std::string CModalAnswerer::WindowText(HWND hWnd) {
    char text[1024] = {};
    ::GetWindowTextA(hWnd, text, sizeof(text));
    return text;
}

void CALLBACK CModalAnswerer::OnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (s_pActive != nullptr)
        s_pActive->Look();
}

void CModalAnswerer::Look() {
    std::vector<HWND> dialogs;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(), [](HWND hWnd, LPARAM lParam) __attribute__((stdcall))->BOOL {
            char cls[32] = {};
            ::GetClassNameA(hWnd, cls, sizeof(cls));
            if (::lstrcmpA(cls, "#32770") == 0 && ::IsWindowVisible(hWnd))
                reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&dialogs));
    for (HWND hDlg : dialogs) {
        if (!m_handled.insert(hDlg).second)
            continue;
        m_seen.push_back(Seen{WindowText(hDlg), WindowText(::GetDlgItem(hDlg, 0xFFFF))});
        m_handler(hDlg);
    }
}
