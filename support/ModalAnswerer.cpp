#include "ModalAnswerer.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "CWinApp.h"
#include "CWnd.h"

namespace {

constexpr UINT kTickMs = 20;
constexpr DWORD kRepeatDelayMs = 300;
constexpr UINT kTextTimeoutMs = 2000;

ModalAnswerer* g_pActive = nullptr;

bool IsDialogWindow(HWND hWnd) {
    char className[16] = {};
    ::GetClassNameA(hWnd, className, int(sizeof(className)));
    return std::string(className) == "#32770";
}

struct Search {
    std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectDialog(HWND hWnd, LPARAM lParam) {
    if (IsDialogWindow(hWnd) && ::IsWindowVisible(hWnd))
        reinterpret_cast<Search*>(lParam)->dialogs.push_back(hWnd);
    return TRUE;
}

// The thread's visible top-level dialogs, topmost first.
std::vector<HWND> ThreadDialogs(DWORD thread = ::GetCurrentThreadId()) {
    Search search;
    ::EnumThreadWindows(thread, &CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.dialogs;
}

bool DeadlineReached(DWORD deadline) {
    return LONG(::GetTickCount() - deadline) >= 0;
}

}  // namespace

ModalAnswerer::Expectation ModalAnswerer::Press(std::string caption, int button) {
    Expectation expectation;
    expectation.caption = std::move(caption);
    expectation.button = button;
    return expectation;
}

ModalAnswerer::Expectation ModalAnswerer::FileName(std::string caption, std::string name, int button) {
    Expectation expectation = Press(std::move(caption), button);
    expectation.requiredControl = kFileNameBox;
    expectation.fields.emplace_back(kFileNameBox, std::move(name));
    return expectation;
}

ModalAnswerer::Expectation ModalAnswerer::Act(std::string caption, std::function<void(HWND)> action) {
    Expectation expectation = Press(std::move(caption), 0);
    expectation.action = std::move(action);
    return expectation;
}

ModalAnswerer::Expectation ModalAnswerer::OnMainWindow(std::function<void(HWND)> action) {
    Expectation expectation = Act(std::string(), std::move(action));
    expectation.mainWindow = true;
    return expectation;
}

ModalAnswerer::ModalAnswerer(DWORD deadlineMs) : m_deadline(::GetTickCount() + deadlineMs) {
    if (g_pActive != nullptr)
        ADD_FAILURE() << "Only one ModalAnswerer may be armed at a time";
    g_pActive = this;
    m_timer = ::SetTimer(nullptr, 0, kTickMs, &ModalAnswerer::OnTimer);
}

ModalAnswerer::~ModalAnswerer() {
    ::KillTimer(nullptr, m_timer);
    if (g_pActive == this)
        g_pActive = nullptr;
    for (const Expectation& expectation : m_pending)
        ADD_FAILURE() << "Expected window never appeared: \"" << expectation.caption << "\"";
}

ModalAnswerer& ModalAnswerer::Expect(Expectation expectation) {
    m_pending.push_back(std::move(expectation));
    return *this;
}

void ModalAnswerer::Ignore(HWND hWnd) {
    m_ignored.push_back(hWnd);
}

void CALLBACK ModalAnswerer::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (g_pActive != nullptr)
        g_pActive->Tick();
}

void ModalAnswerer::Tick() {
    // Even while an action runs: a window that the action opened and waits on must not hang the test.
    if (DeadlineReached(m_deadline)) {
        if (!m_bDeadlinePassed)
            ADD_FAILURE() << "ModalAnswerer deadline passed; closing every dialog";
        m_bDeadlinePassed = true;
        CloseEverything();
        return;
    }
    // An action may pump messages itself (PumpUntil); the timer must not re-enter.
    if (m_bInTick)
        return;
    m_bInTick = true;
    if (HWND hWnd = FindModalWindow()) {
        if (!m_pending.empty() && !m_pending.front().mainWindow && Matches(hWnd, m_pending.front())) {
            Expectation expectation = std::move(m_pending.front());
            m_pending.pop_front();
            Answer(hWnd, std::move(expectation));
        } else {
            Refuse(hWnd);
        }
    } else if (!m_pending.empty() && m_pending.front().mainWindow) {
        if (HWND hMain = ReadyMainWindow()) {
            Expectation expectation = std::move(m_pending.front());
            m_pending.pop_front();
            Answer(hMain, std::move(expectation));
        }
    }
    m_bInTick = false;
}

HWND ModalAnswerer::FindModalWindow() const {
    CWnd* pMainWnd = AfxGetMainWnd();
    HWND hMain = pMainWnd != nullptr ? pMainWnd->m_hWnd : nullptr;
    bool bRecent = !DeadlineReached(m_lastAnsweredAt + kRepeatDelayMs);
    for (HWND hWnd : ThreadDialogs()) {
        if (hWnd == hMain || !::IsWindowEnabled(hWnd) ||
            std::find(m_ignored.begin(), m_ignored.end(), hWnd) != m_ignored.end())
            continue;
        if (hWnd == m_hLastAnswered && bRecent)
            continue;
        return hWnd;
    }
    return nullptr;
}

HWND ModalAnswerer::ReadyMainWindow() const {
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd == nullptr || pMainWnd->m_hWnd == nullptr)
        return nullptr;
    HWND hMain = pMainWnd->m_hWnd;
    return ::IsWindowVisible(hMain) && ::IsWindowEnabled(hMain) ? hMain : nullptr;
}

bool ModalAnswerer::Matches(HWND hWnd, const Expectation& expectation) const {
    if (!expectation.caption.empty() && Caption(hWnd) != expectation.caption)
        return false;
    if (!expectation.text.empty() && ControlText(hWnd, kMessageText) != expectation.text)
        return false;
    return expectation.requiredControl == 0 || ::GetDlgItem(hWnd, expectation.requiredControl) != nullptr;
}

void ModalAnswerer::Answer(HWND hWnd, Expectation expectation) {
    m_seen.push_back(
        Answered{hWnd, ::GetWindow(hWnd, GW_OWNER), Caption(hWnd), ControlText(hWnd, kMessageText)});
    m_hLastAnswered = hWnd;
    m_lastAnsweredAt = ::GetTickCount();
    for (const auto& field : expectation.fields)
        SetControlText(hWnd, field.first, field.second);
    if (expectation.action)
        expectation.action(hWnd);
    if (expectation.button != 0 && ::IsWindow(hWnd))
        Click(hWnd, expectation.button);
}

void ModalAnswerer::Refuse(HWND hWnd) {
    std::string expected =
        m_pending.empty() ? std::string("nothing") : "\"" + m_pending.front().caption + "\"";
    ADD_FAILURE() << "Unexpected window \"" << Caption(hWnd) << "\" saying \""
                  << ControlText(hWnd, kMessageText) << "\" (expected " << expected << "); cancelled";
    m_hLastAnswered = hWnd;
    m_lastAnsweredAt = ::GetTickCount();
    ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void ModalAnswerer::CloseEverything() {
    for (HWND hWnd : ThreadDialogs()) {
        ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
    }
}

bool ModalAnswerer::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD deadline = ::GetTickCount() + timeoutMs;
    while (!done() && !DeadlineReached(deadline)) {
        MSG msg;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            continue;
        }
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(int(msg.wParam));
            break;
        }
        AfxDispatchMessage(&msg);
    }
    return done();
}

bool ModalAnswerer::PumpPending(DWORD timeoutMs) {
    return PumpUntil(
        [] {
            MSG msg;
            return !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        },
        timeoutMs);
}

std::string ModalAnswerer::Caption(HWND hWnd) {
    DWORD_PTR length = 0;
    if (hWnd == nullptr ||
        !::SendMessageTimeoutA(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &length))
        return std::string();
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutA(hWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                          kTextTimeoutMs, &copied);
    text.resize(std::min<size_t>(copied, length));
    return text;
}

std::string ModalAnswerer::ControlText(HWND hWnd, int id) {
    return Caption(::GetDlgItem(hWnd, id));
}

void ModalAnswerer::SetControlText(HWND hWnd, int id, const std::string& text) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(::GetDlgItem(hWnd, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                          SMTO_ABORTIFHUNG, kTextTimeoutMs, &result);
}

void ModalAnswerer::Click(HWND hWnd, int id) {
    ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hWnd, id)));
}

int ModalAnswerer::RunScript(const std::function<int()>& call,
                             const std::function<void(Script&)>& script,
                             bool* leftOpen) {
    Script scripted(::GetCurrentThreadId());
    std::atomic<bool> returned{false};
    bool cancelled = false;
    std::thread answering([&] {
        script(scripted);
        if (WaitUntil([&] { return returned.load(); }, 3000))
            return;
        cancelled = true;
        while (!returned) {
            scripted.CancelAll();
            ::Sleep(50);
        }
    });
    int result = call();
    returned = true;
    answering.join();
    if (leftOpen != nullptr)
        *leftOpen = cancelled;
    return result;
}

bool ModalAnswerer::WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD deadline = ::GetTickCount() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (DeadlineReached(deadline))
            return false;
        ::Sleep(10);
    }
}

HWND ModalAnswerer::Script::WaitFor(const std::function<bool(HWND)>& match, DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND hDialog : ThreadDialogs(m_uiThread)) {
                if (match(hDialog)) {
                    found = hDialog;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

HWND ModalAnswerer::Script::WaitForDialog(int childId, DWORD timeoutMs) const {
    return WaitFor([&](HWND hDialog) { return ::GetDlgItem(hDialog, childId) != nullptr; }, timeoutMs);
}

HWND ModalAnswerer::Script::WaitForMessageBox(int notChildId, DWORD timeoutMs) const {
    return WaitFor(
        [&](HWND hDialog) {
            return ::GetDlgItem(hDialog, kMessageText) != nullptr && ::GetDlgItem(hDialog, notChildId) == nullptr;
        },
        timeoutMs);
}

int ModalAnswerer::Script::CancelAll() const {
    std::vector<HWND> dialogs = ThreadDialogs(m_uiThread);
    for (HWND hDialog : dialogs)
        Click(hDialog, IDCANCEL);
    return static_cast<int>(dialogs.size());
}
