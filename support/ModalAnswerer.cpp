#include "ModalAnswerer.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "CWinApp.h"
#include "CWnd.h"

namespace {

constexpr UINT kTickMs = 20;
constexpr DWORD kRepeatDelayMs = 300;

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
std::vector<HWND> ThreadDialogs() {
    Search search;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectDialog, reinterpret_cast<LPARAM>(&search));
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
        ::SendMessageA(::GetDlgItem(hWnd, field.first), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(field.second.c_str()));
    if (expectation.action)
        expectation.action(hWnd);
    if (expectation.button != 0 && ::IsWindow(hWnd)) {
        HWND hButton = ::GetDlgItem(hWnd, expectation.button);
        ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(expectation.button, BN_CLICKED),
                       reinterpret_cast<LPARAM>(hButton));
    }
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
    std::string text(size_t(::GetWindowTextLengthA(hWnd)) + 1, '\0');
    int nCopied = ::GetWindowTextA(hWnd, &text[0], int(text.size()));
    text.resize(size_t(nCopied > 0 ? nCopied : 0));
    return text;
}

std::string ModalAnswerer::ControlText(HWND hWnd, int id) {
    HWND hControl = ::GetDlgItem(hWnd, id);
    if (hControl == nullptr)
        return std::string();
    return Caption(hControl);
}
