#include "WindowRunner.h"

#include <gtest/gtest.h>

#include "ModalAnswerer.h"
#include "TestMainDlg.h"

namespace WindowRunner {

namespace {

struct RunState {
    CTestMainDlg* pDlg;
    const std::function<void(CTestMainDlg&)>* pBody;
    UINT_PTR startTimer;
    UINT_PTR finishTimer;
    DWORD startDeadline;
    HWND hBodyRunner;
};

RunState* g_pRun = nullptr;

// A window of the code under test (a message box, a file dialog) disables the main window while it
// is open; the body's turn and the harness's end wait until it is gone.
bool MainWindowIdle(const CTestMainDlg& dlg) {
    return dlg.m_hWnd != nullptr && ::IsWindowVisible(dlg.m_hWnd) && ::IsWindowEnabled(dlg.m_hWnd);
}

void CALLBACK FinishProc(HWND, UINT, UINT_PTR, DWORD) {
    if (g_pRun == nullptr || g_pRun->finishTimer == 0 || !MainWindowIdle(*g_pRun->pDlg))
        return;
    ::KillTimer(nullptr, g_pRun->finishTimer);
    g_pRun->finishTimer = 0;
    g_pRun->pDlg->EndDialog(int(kStillOpen));
}

void CALLBACK StartProc(HWND, UINT, UINT_PTR, DWORD) {
    if (g_pRun == nullptr || g_pRun->startTimer == 0)
        return;
    CTestMainDlg& dlg = *g_pRun->pDlg;
    bool bReady = MainWindowIdle(dlg);
    if (!bReady && LONG(::GetTickCount() - g_pRun->startDeadline) < 0)
        return;  // try again at the next tick
    ::KillTimer(nullptr, g_pRun->startTimer);
    g_pRun->startTimer = 0;
    if (!bReady)
        ADD_FAILURE() << "the main window never became visible and enabled";
    // Not from the timer itself: the system swallows any crash inside a timer's procedure, which
    // would leave the test waiting for a body that is gone. A crash must end the test program.
    ::PostMessageA(g_pRun->hBodyRunner, WM_APP, bReady, 0);
}

LRESULT CALLBACK BodyRunnerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_APP || g_pRun == nullptr)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    if (wParam != 0)
        (*g_pRun->pBody)(*g_pRun->pDlg);
    // Timers fire only when the queue is empty: whatever the body set going comes first.
    g_pRun->finishTimer = ::SetTimer(nullptr, 0, 1, &FinishProc);
    return 0;
}

}  // namespace

INT_PTR Run(CTestMainDlg& dlg, const std::function<void(CTestMainDlg&)>& body) {
    CWinApp* pApp = AfxGetApp();
    CWnd* pOldMain = pApp->m_pMainWnd;
    pApp->m_pMainWnd = &dlg;
    static ATOM s_runnerClass = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &BodyRunnerProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "QuireTestBodyRunner";
        return ::RegisterClassA(&wc);
    }();
    HWND hRunner = ::CreateWindowExA(0, MAKEINTATOM(s_runnerClass), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     ::GetModuleHandleA(nullptr), nullptr);
    RunState run{&dlg, &body, 0, 0, ::GetTickCount() + 10000, hRunner};
    g_pRun = &run;
    run.startTimer = ::SetTimer(nullptr, 0, 1, &StartProc);
    INT_PTR nResult = dlg.DoModal();
    if (run.startTimer != 0)
        ::KillTimer(nullptr, run.startTimer);
    if (run.finishTimer != 0)
        ::KillTimer(nullptr, run.finishTimer);
    g_pRun = nullptr;
    ::DestroyWindow(hRunner);
    pApp->m_pMainWnd = pOldMain;
    return nResult;
}

void PressKey(HWND hFocus, WORD vk, bool bCtrl, bool bShift) {
    BYTE keys[256] = {};
    if (bCtrl)
        keys[VK_CONTROL] = 0x80;
    if (bShift)
        keys[VK_SHIFT] = 0x80;
    keys[vk] = 0x80;
    ::SetKeyboardState(keys);
    UINT scan = ::MapVirtualKeyA(vk, 0);
    ::PostMessageA(hFocus, WM_KEYDOWN, vk, LPARAM(1 | (scan << 16)));
    ModalAnswerer::PumpPending();
    keys[vk] = 0;
    ::SetKeyboardState(keys);
    ::PostMessageA(hFocus, WM_KEYUP, vk, LPARAM(1 | (scan << 16) | (1u << 30) | (1u << 31)));
    ModalAnswerer::PumpPending();
    BYTE none[256] = {};
    ::SetKeyboardState(none);
}

std::string WindowText(HWND hWnd) {
    return ModalAnswerer::Caption(hWnd);
}

}  // namespace WindowRunner
