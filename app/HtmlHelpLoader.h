// The HTML Help control, reached without importing it: found on the first Help command and kept
// for the life of the process. A control that could not be loaded is not searched for again.
#pragma once

#include <windows.h>

class CHtmlHelpLoader {
public:
    using HtmlHelpFn = HWND(WINAPI*)(HWND hwndCaller, LPCSTR pszFile, UINT uCommand, DWORD_PTR dwData);

    // The calls the loader makes to find the control. Tests replace them; by default they are the
    // system's own.
    struct PlatformCalls {
        LONG (*pfnReadRegistryDefault)(HKEY hRootKey, const char* lpszSubKey, char* lpszOut);
        HMODULE(WINAPI* pfnLoadLibrary)(LPCSTR lpszName);
        FARPROC(WINAPI* pfnGetProcAddress)(HMODULE hModule, LPCSTR lpszProc);
    };
    static PlatformCalls SystemCalls();

    static constexpr const char* kInprocServerKey =
        "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
    static constexpr const char* kControlName = "hhctrl.ocx";
    static constexpr WORD kHtmlHelpOrdinal = 14;  // HtmlHelpA

    explicit CHtmlHelpLoader(const PlatformCalls& calls = SystemCalls());
    CHtmlHelpLoader(const CHtmlHelpLoader&) = delete;
    CHtmlHelpLoader& operator=(const CHtmlHelpLoader&) = delete;

    // HtmlHelpA with the arguments unchanged; null when the control or its entry point is missing,
    // or when the control showed nothing.
    HWND HtmlHelp(HWND hwndCaller, LPCSTR pszFile, UINT uCommand, DWORD_PTR dwData);

    // The loader the Help command uses: the process's own unless a test put another in its place.
    static CHtmlHelpLoader& Active();
    // nullptr puts the process's own back.
    static void SetActive(CHtmlHelpLoader* pLoader);

private:
    bool FindEntryPoint();

    PlatformCalls m_calls;
    HMODULE m_hControl = nullptr;
    HtmlHelpFn m_pfnHtmlHelp = nullptr;
    bool m_bFailed = false;
};
