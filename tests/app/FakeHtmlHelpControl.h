// The system as the HTML Help loader sees it, made up: a registry entry for the control, the
// libraries that load, and a control whose entry point records its arguments. One at a time.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "HtmlHelpLoader.h"

class CFakeHtmlHelpControl {
public:
    static const HMODULE kRegisteredControl;
    static const HMODULE kNamedControl;
    static const HWND kHelpWindow;

    CFakeHtmlHelpControl();
    ~CFakeHtmlHelpControl();
    CFakeHtmlHelpControl(const CFakeHtmlHelpControl&) = delete;
    CFakeHtmlHelpControl& operator=(const CFakeHtmlHelpControl&) = delete;

    // The calls to give a loader so that it finds this control.
    static CHtmlHelpLoader::PlatformCalls Calls();

    // What the machine is like.
    LONG m_nRegistryResult = ERROR_SUCCESS;
    std::string m_registryValue = "C:\\windows\\system32\\hhctrl.ocx";
    HMODULE m_hRegistered = kRegisteredControl;  // what loading the registry's path gives
    HMODULE m_hNamed = kNamedControl;            // what loading "hhctrl.ocx" gives
    bool m_bHasEntryPoint = true;
    HWND m_hResult = kHelpWindow;  // what the entry point returns

    // What the loader did.
    struct Call {
        HWND hwndCaller;
        std::string file;
        UINT uCommand;
        DWORD_PTR dwData;
    };
    std::vector<std::string> m_registryKeys;
    std::vector<std::string> m_loads;
    std::vector<std::pair<HMODULE, UINT_PTR>> m_lookups;
    std::vector<Call> m_calls;

private:
    static LONG ReadRegistryDefault(HKEY hRoot, const char* lpszSubKey, char* lpszOut);
    static HMODULE WINAPI LoadLibraryFake(LPCSTR lpszName);
    static FARPROC WINAPI GetProcAddressFake(HMODULE hModule, LPCSTR lpszProc);
    static HWND WINAPI HtmlHelpFake(HWND hwndCaller, LPCSTR pszFile, UINT uCommand, DWORD_PTR dwData);

    static CFakeHtmlHelpControl* s_pActive;
};
