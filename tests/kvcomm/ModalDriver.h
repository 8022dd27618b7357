// Answers the modal windows of one thread from another thread, with a deadline on every wait.
#ifndef TESTS_KVCOMM_MODALDRIVER_H
#define TESTS_KVCOMM_MODALDRIVER_H

#include <windows.h>

#include <functional>
#include <string>

class CModalDriver {
public:
    static constexpr DWORD kDefaultWait = 10000;

    // Runs `call` on this thread while `script` answers its windows on a second thread.
    // Whatever the script leaves open is cancelled, so a failing test never hangs in a
    // modal loop; `leftOpen` then says so.
    static int Run(const std::function<int()>& call,
                   const std::function<void(CModalDriver&)>& script,
                   bool* leftOpen = nullptr);

    explicit CModalDriver(DWORD uiThread) : m_uiThread(uiThread) {}

    // The first visible dialog of the UI thread that `match` accepts; nullptr after the deadline.
    HWND WaitFor(const std::function<bool(HWND)>& match, DWORD timeoutMs = kDefaultWait) const;
    // A dialog that has a child with `childId`.
    HWND WaitForDialog(int childId, DWORD timeoutMs = kDefaultWait) const;
    // A message box: a dialog with the message static but without the `notChildId` control.
    HWND WaitForMessageBox(int notChildId, DWORD timeoutMs = kDefaultWait) const;
    static bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kDefaultWait);

    static std::string Text(HWND window);
    static std::string ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }
    static void SetItemText(HWND dialog, int id, const std::string& text);
    // Posted, never sent: the click may open a nested modal window.
    static void Click(HWND dialog, int id);

    // Cancels every visible dialog of the UI thread; returns how many there were.
    int CancelAll() const;

private:
    DWORD m_uiThread;
};

#endif
