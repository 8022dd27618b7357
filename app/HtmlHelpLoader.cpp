#include "HtmlHelpLoader.h"

#include "CWinApp.h"

namespace {

CHtmlHelpLoader* g_pActive = nullptr;

}  // namespace

CHtmlHelpLoader::PlatformCalls CHtmlHelpLoader::SystemCalls() {
    return PlatformCalls{&AfxReadRegistryDefault, &::LoadLibraryA, &::GetProcAddress};
}

CHtmlHelpLoader::CHtmlHelpLoader(const PlatformCalls& calls) : m_calls(calls) {}

CHtmlHelpLoader& CHtmlHelpLoader::Active() {
    // The control is never freed: a help window may still be open when the program's objects go.
    static CHtmlHelpLoader processLoader;
    return g_pActive != nullptr ? *g_pActive : processLoader;
}

void CHtmlHelpLoader::SetActive(CHtmlHelpLoader* pLoader) {
    g_pActive = pLoader;
}

HWND CHtmlHelpLoader::HtmlHelp(HWND hwndCaller, LPCSTR pszFile, UINT uCommand, DWORD_PTR dwData) {
    if (!FindEntryPoint())
        return nullptr;
    return m_pfnHtmlHelp(hwndCaller, pszFile, uCommand, dwData);
}

bool CHtmlHelpLoader::FindEntryPoint() {
    if (m_pfnHtmlHelp != nullptr)
        return true;
    if (m_bFailed)
        return false;

    if (m_hControl == nullptr) {
        char szServer[MAX_PATH] = {};
        if (m_calls.pfnReadRegistryDefault(HKEY_CLASSES_ROOT, kInprocServerKey, szServer) == ERROR_SUCCESS &&
            szServer[0] != '\0')
            m_hControl = m_calls.pfnLoadLibrary(szServer);
        if (m_hControl == nullptr)
            m_hControl = m_calls.pfnLoadLibrary(kControlName);
    }
    if (m_hControl != nullptr) {
        // Through void(*)(): any function pointer converts to it without a cast-function-type warning.
        auto pfnEntry = reinterpret_cast<void (*)()>(
            m_calls.pfnGetProcAddress(m_hControl, MAKEINTRESOURCEA(kHtmlHelpOrdinal)));
        m_pfnHtmlHelp = reinterpret_cast<HtmlHelpFn>(pfnEntry);
    }
    m_bFailed = m_pfnHtmlHelp == nullptr;
    return !m_bFailed;
}
