#include "MessagePump.h"

namespace MessagePump {

void Drain() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void RunFor(DWORD nMs) {
    RunUntil([] { return false; }, nMs);
}

bool RunUntil(const std::function<bool()>& condition, DWORD nMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        Drain();
        if (condition())
            return true;
        if (::GetTickCount() - start >= nMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

bool HasTimer(HWND hWnd) {
    const DWORD start = ::GetTickCount();
    MSG msg;
    for (;;) {
        // Look once more after the deadline, however long this thread was kept from running.
        bool bLast = ::GetTickCount() - start >= 60;
        if (::PeekMessageA(&msg, hWnd, WM_TIMER, WM_TIMER, PM_NOREMOVE | PM_NOYIELD))
            return true;
        if (bLast)
            return false;
        ::Sleep(5);
    }
}

}  // namespace MessagePump
