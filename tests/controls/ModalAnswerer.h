// Answers the dialogs and message boxes this thread opens while the object lives. A thread
// timer looks for new visible dialogs; the modal loops that show them dispatch it.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

class CModalAnswerer {
public:
    struct Seen {
        std::string caption;
        std::string text;  // a message box's message (its static 0xFFFF); empty otherwise
    };
    // Called once per new dialog; it must close the dialog (post, never send, the command).
    using Handler = std::function<void(HWND hDlg)>;

    explicit CModalAnswerer(Handler handler = &PressOk);
    ~CModalAnswerer();
    CModalAnswerer(const CModalAnswerer&) = delete;
    CModalAnswerer& operator=(const CModalAnswerer&) = delete;

    static void PressOk(HWND hDlg);
    static std::string WindowText(HWND hWnd);

    std::vector<Seen> m_seen;

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD);
    void Look();

    static CModalAnswerer* s_pActive;
    Handler m_handler;
    UINT_PTR m_timer;
    std::set<HWND> m_handled;
};
