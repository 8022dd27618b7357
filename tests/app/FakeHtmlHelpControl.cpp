#include "FakeHtmlHelpControl.h"

#include <gtest/gtest.h>

#include <cstdio>

const HMODULE CFakeHtmlHelpControl::kRegisteredControl = reinterpret_cast<HMODULE>(0x10000);
const HMODULE CFakeHtmlHelpControl::kNamedControl = reinterpret_cast<HMODULE>(0x20000);
const HWND CFakeHtmlHelpControl::kHelpWindow = reinterpret_cast<HWND>(0x4242);
CFakeHtmlHelpControl* CFakeHtmlHelpControl::s_pActive = nullptr;

CFakeHtmlHelpControl::CFakeHtmlHelpControl() {
    if (s_pActive != nullptr)
        ADD_FAILURE() << "only one fake HTML Help control at a time";
    s_pActive = this;
}

CFakeHtmlHelpControl::~CFakeHtmlHelpControl() {
    if (s_pActive == this)
        s_pActive = nullptr;
}

CHtmlHelpLoader::PlatformCalls CFakeHtmlHelpControl::Calls() {
    return CHtmlHelpLoader::PlatformCalls{&ReadRegistryDefault, &LoadLibraryFake, &GetProcAddressFake};
}

LONG CFakeHtmlHelpControl::ReadRegistryDefault(HKEY hRoot, const char* lpszSubKey, char* lpszOut) {
    EXPECT_EQ(hRoot, HKEY_CLASSES_ROOT);
    s_pActive->m_registryKeys.push_back(lpszSubKey);
    if (s_pActive->m_nRegistryResult == ERROR_SUCCESS)
        std::snprintf(lpszOut, MAX_PATH, "%s", s_pActive->m_registryValue.c_str());
    return s_pActive->m_nRegistryResult;
}

HMODULE WINAPI CFakeHtmlHelpControl::LoadLibraryFake(LPCSTR lpszName) {
    s_pActive->m_loads.push_back(lpszName);
    return std::string(lpszName) == "hhctrl.ocx" ? s_pActive->m_hNamed : s_pActive->m_hRegistered;
}

FARPROC WINAPI CFakeHtmlHelpControl::GetProcAddressFake(HMODULE hModule, LPCSTR lpszProc) {
    s_pActive->m_lookups.emplace_back(hModule, reinterpret_cast<UINT_PTR>(lpszProc));
    if (!s_pActive->m_bHasEntryPoint)
        return nullptr;
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&HtmlHelpFake));
}

HWND WINAPI CFakeHtmlHelpControl::HtmlHelpFake(HWND hwndCaller,
                                               LPCSTR pszFile,
                                               UINT uCommand,
                                               DWORD_PTR dwData) {
    s_pActive->m_calls.push_back(Call{hwndCaller, pszFile != nullptr ? pszFile : "<null>", uCommand, dwData});
    return s_pActive->m_hResult;
}
