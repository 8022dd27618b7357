// Stands in for the shell, WinExec and MessageBeep behind CHyperlinkLabel while it lives:
// records every call and answers with the results the test chose. Nothing is opened, nothing
// sounds.
#pragma once

#include <string>
#include <vector>

#include "HyperlinkLabel.h"

class CFakeLinkPlatform {
public:
    struct ShellCall {
        HWND hWnd;
        std::string verb;
        std::string file;
        bool hasParameters;
        bool hasDirectory;
        int showCmd;
    };
    struct ExecCall {
        std::string commandLine;
        UINT showCmd;
    };

    CFakeLinkPlatform();
    ~CFakeLinkPlatform();
    CFakeLinkPlatform(const CFakeLinkPlatform&) = delete;
    CFakeLinkPlatform& operator=(const CFakeLinkPlatform&) = delete;

    int m_nShellResult = 42;  // success
    UINT m_nExecResult = 33;  // success
    std::vector<ShellCall> m_shellCalls;
    std::vector<ExecCall> m_execCalls;
    std::vector<UINT> m_beeps;

private:
    static HINSTANCE WINAPI ShellExecute(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static UINT WINAPI WinExec(LPCSTR, UINT);
    static BOOL WINAPI MessageBeep(UINT);

    static CFakeLinkPlatform* s_pActive;
    CHyperlinkLabel::PlatformCalls m_calls;
};
