#include "ModalDriver.h"

#include <atomic>
#include <thread>
#include <vector>

namespace {

const int kMessageStatic = 0xFFFF;

std::vector<HWND> ThreadDialogs(DWORD thread) {
    std::vector<HWND> dialogs;
    EnumThreadWindows(
        thread, [](HWND hwnd, LPARAM data) __attribute__((stdcall))->BOOL {
            char name[16] = "";
            GetClassNameA(hwnd, name, sizeof(name));
            if (IsWindowVisible(hwnd) && lstrcmpA(name, "#32770") == 0)
                reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

}  // namespace

int CModalDriver::Run(const std::function<int()>& call,
                      const std::function<void(CModalDriver&)>& script,
                      bool* leftOpen) {
    CModalDriver driver(GetCurrentThreadId());
    std::atomic<bool> returned{false};
    bool cancelled = false;
    std::thread answerer([&] {
        script(driver);
        if (WaitUntil([&] { return returned.load(); }, 3000))
            return;
        cancelled = true;
        while (!returned) {
            driver.CancelAll();
            Sleep(50);
        }
    });
    int result = call();
    returned = true;
    answerer.join();
    if (leftOpen)
        *leftOpen = cancelled;
    return result;
}

HWND CModalDriver::WaitFor(const std::function<bool(HWND)>& match, DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND dialog : ThreadDialogs(m_uiThread)) {
                if (match(dialog)) {
                    found = dialog;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

HWND CModalDriver::WaitForDialog(int childId, DWORD timeoutMs) const {
    return WaitFor([&](HWND dialog) { return GetDlgItem(dialog, childId) != nullptr; }, timeoutMs);
}

HWND CModalDriver::WaitForMessageBox(int notChildId, DWORD timeoutMs) const {
    return WaitFor(
        [&](HWND dialog) { return GetDlgItem(dialog, kMessageStatic) && !GetDlgItem(dialog, notChildId); },
        timeoutMs);
}

bool CModalDriver::WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(10);
    }
}

std::string CModalDriver::Text(HWND window) {
    DWORD_PTR length = 0;
    if (!window || !SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return std::string();
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                        2000, &copied);
    text.resize(copied);
    return text;
}

void CModalDriver::SetItemText(HWND dialog, int id, const std::string& text) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 2000, &result);
}

void CModalDriver::Click(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

int CModalDriver::CancelAll() const {
    std::vector<HWND> dialogs = ThreadDialogs(m_uiThread);
    for (HWND dialog : dialogs)
        Click(dialog, IDCANCEL);
    return static_cast<int>(dialogs.size());
}
