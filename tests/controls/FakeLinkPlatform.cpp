#include "FakeLinkPlatform.h"

CFakeLinkPlatform* CFakeLinkPlatform::s_pActive = nullptr;

CFakeLinkPlatform::CFakeLinkPlatform() : m_calls{&ShellExecute, &WinExec, &MessageBeep} {
    CHyperlinkLabel::PlatformCalls::SetActive(&m_calls);
    s_pActive = this;
}

CFakeLinkPlatform::~CFakeLinkPlatform() {
    CHyperlinkLabel::PlatformCalls::SetActive(nullptr);
    s_pActive = nullptr;
}

HINSTANCE WINAPI CFakeLinkPlatform::ShellExecute(HWND hWnd,
                                                 LPCSTR lpVerb,
                                                 LPCSTR lpFile,
                                                 LPCSTR lpParameters,
                                                 LPCSTR lpDirectory,
                                                 INT nShowCmd) {
    s_pActive->m_shellCalls.push_back(ShellCall{hWnd, lpVerb != nullptr ? lpVerb : "",
                                                lpFile != nullptr ? lpFile : "", lpParameters != nullptr,
                                                lpDirectory != nullptr, nShowCmd});
    return reinterpret_cast<HINSTANCE>(INT_PTR(s_pActive->m_nShellResult));
}

UINT WINAPI CFakeLinkPlatform::WinExec(LPCSTR lpCmdLine, UINT uCmdShow) {
    s_pActive->m_execCalls.push_back(ExecCall{lpCmdLine, uCmdShow});
    return s_pActive->m_nExecResult;
}

BOOL WINAPI CFakeLinkPlatform::MessageBeep(UINT uType) {
    s_pActive->m_beeps.push_back(uType);
    return TRUE;
}
