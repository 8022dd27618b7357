#include "CWinApp.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "CMenu.h"
#include "CWnd.h"

namespace {

CWinApp* g_pApp = nullptr;

std::string LoadResourceString(HINSTANCE hInstance, UINT nID) {
    char buffer[512];
    int nLength = ::LoadStringA(hInstance, nID, buffer, int(sizeof(buffer)));
    return std::string(buffer, size_t(nLength > 0 ? nLength : 0));
}

// The executable's file name without directory and extension.
std::string ModuleBaseName(HINSTANCE hInstance) {
    char path[MAX_PATH];
    DWORD nLength = ::GetModuleFileNameA(hInstance, path, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return std::string();
    std::string name(path, nLength);
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

}  // namespace

CWinApp::CWinApp(const char* lpszAppName) : m_bAppNameGiven(lpszAppName != nullptr) {
    g_pApp = this;
    if (m_bAppNameGiven) {
        m_strAppName = lpszAppName;
        m_pszAppName = m_strAppName.c_str();
    }
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::InitFromModule(HINSTANCE hInstance, LPSTR lpCmdLine) {
    m_hInstance = hInstance;
    m_strCmdLine = lpCmdLine != nullptr ? lpCmdLine : "";
    m_lpCmdLine = &m_strCmdLine[0];
    m_strExeName = ModuleBaseName(hInstance);
    m_pszExeName = m_strExeName.c_str();
    if (!m_bAppNameGiven) {
        m_strAppName = LoadResourceString(hInstance, AFX_IDS_APP_TITLE);
        if (m_strAppName.empty())
            m_strAppName = m_strExeName;
        m_pszAppName = m_strAppName.c_str();
    }
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) {
    // The help key: F1 alone (Alt+F1 arrives as WM_SYSKEYDOWN, but Alt is checked all the same).
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F1 && m_pMainWnd != nullptr &&
        m_pMainWnd->m_hWnd != nullptr && ::GetKeyState(VK_SHIFT) >= 0 && ::GetKeyState(VK_CONTROL) >= 0 &&
        ::GetKeyState(VK_MENU) >= 0) {
        m_pMainWnd->SendMessage(WM_COMMAND, AFX_ID_HELP, 0);
        return TRUE;
    }
    return CWnd::WalkPreTranslateTree(pMsg);
}

int CWinApp::DoMessageBox(const char* lpszPrompt, UINT nType, UINT) {
    return ::MessageBoxA(CWnd::GetSafeOwner(), lpszPrompt, m_pszAppName != nullptr ? m_pszAppName : "",
                         nType);
}

void CWinApp::SetRegistryKey(const char* lpszRegistryKey) {
    m_strRegistryKey = lpszRegistryKey != nullptr ? lpszRegistryKey : "";
    m_pszRegistryKey = m_strRegistryKey.empty() ? nullptr : m_strRegistryKey.c_str();
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
    SetRegistryKey(LoadResourceString(AfxGetResourceHandle(), nIDRegistryKey).c_str());
}

namespace {

// The section's key, opened to read or created to write; null when there is no such key or the
// application keeps no settings.
HKEY OpenSection(const char* pszRegistryKey,
                 const char* pszAppName,
                 const char* lpszSection,
                 const char* lpszEntry,
                 bool bWrite) {
    if (pszRegistryKey == nullptr || lpszSection == nullptr || lpszEntry == nullptr)
        return nullptr;
    std::string path = std::string("Software\\") + pszRegistryKey + "\\" +
                       (pszAppName != nullptr ? pszAppName : "") + "\\" + lpszSection;
    HKEY hKey = nullptr;
    LONG lResult = bWrite ? ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr,
                                              REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &hKey, nullptr)
                          : ::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &hKey);
    return lResult == ERROR_SUCCESS ? hKey : nullptr;
}

}  // namespace

int CWinApp::GetProfileInt(const char* lpszSection, const char* lpszEntry, int nDefault) const {
    HKEY hKey = OpenSection(m_pszRegistryKey, m_pszAppName, lpszSection, lpszEntry, false);
    if (hKey == nullptr)
        return nDefault;
    DWORD dwType = 0;
    DWORD dwValue = 0;
    DWORD dwSize = sizeof(dwValue);
    LONG lResult =
        ::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwType, reinterpret_cast<BYTE*>(&dwValue), &dwSize);
    ::RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS || dwType != REG_DWORD || dwSize != sizeof(dwValue))
        return nDefault;
    return int(dwValue);
}

BOOL CWinApp::WriteProfileInt(const char* lpszSection, const char* lpszEntry, int nValue) const {
    HKEY hKey = OpenSection(m_pszRegistryKey, m_pszAppName, lpszSection, lpszEntry, true);
    if (hKey == nullptr)
        return FALSE;
    DWORD dwValue = DWORD(nValue);
    LONG lResult = ::RegSetValueExA(hKey, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                                    sizeof(dwValue));
    ::RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

std::string CWinApp::GetProfileString(const char* lpszSection,
                                      const char* lpszEntry,
                                      const char* lpszDefault) const {
    std::string strDefault = lpszDefault != nullptr ? lpszDefault : "";
    HKEY hKey = OpenSection(m_pszRegistryKey, m_pszAppName, lpszSection, lpszEntry, false);
    if (hKey == nullptr)
        return strDefault;
    DWORD dwType = 0;
    DWORD dwSize = 0;
    std::string strValue;
    LONG lResult = ::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwType, nullptr, &dwSize);
    if (lResult == ERROR_SUCCESS && dwType == REG_SZ && dwSize > 0 && dwSize <= 65536) {
        strValue.resize(dwSize);
        lResult = ::RegQueryValueExA(hKey, lpszEntry, nullptr, &dwType, reinterpret_cast<BYTE*>(&strValue[0]),
                                     &dwSize);
        strValue.resize(std::min<size_t>(dwSize, strValue.size()));
        // The stored value may or may not carry its terminator.
        strValue.resize(std::strlen(strValue.c_str()));
    } else {
        lResult = ERROR_INVALID_DATA;
    }
    ::RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS ? strValue : strDefault;
}

BOOL CWinApp::WriteProfileString(const char* lpszSection,
                                 const char* lpszEntry,
                                 const char* lpszValue) const {
    HKEY hKey = OpenSection(m_pszRegistryKey, m_pszAppName, lpszSection, lpszEntry, true);
    if (hKey == nullptr)
        return FALSE;
    LONG lResult = lpszValue == nullptr ? ::RegDeleteValueA(hKey, lpszEntry)
                                        : ::RegSetValueExA(hKey, lpszEntry, 0, REG_SZ,
                                                           reinterpret_cast<const BYTE*>(lpszValue),
                                                           DWORD(std::strlen(lpszValue)) + 1);
    ::RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS || (lpszValue == nullptr && lResult == ERROR_FILE_NOT_FOUND);
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    return g_pApp != nullptr ? g_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    if (g_pApp != nullptr && g_pApp->m_hInstance != nullptr)
        return g_pApp->m_hInstance;
    return ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    return AfxGetInstanceHandle();
}

const char* AfxGetAppName() {
    if (g_pApp != nullptr && g_pApp->m_pszAppName != nullptr)
        return g_pApp->m_pszAppName;
    static const std::string exeName = ModuleBaseName(nullptr);
    return exeName.c_str();
}

BOOL AfxWinInit(HINSTANCE hInstance, LPSTR lpCmdLine) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (g_pApp != nullptr)
        g_pApp->InitFromModule(hInstance, lpCmdLine);
    return TRUE;
}

int AfxMessageBox(const char* lpszText, UINT nType, UINT nIDHelp) {
    if (g_pApp != nullptr)
        return g_pApp->DoMessageBox(lpszText, nType, nIDHelp);
    return ::MessageBoxA(nullptr, lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    std::string text = LoadResourceString(AfxGetResourceHandle(), nIDPrompt);
    return AfxMessageBox(text.c_str(), nType, nIDHelp == UINT(-1) ? nIDPrompt : nIDHelp);
}

BOOL AfxInitRichEdit() {
    static HMODULE hRichEdit = ::LoadLibraryA("RICHED32.DLL");
    return hRichEdit != nullptr;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int) {
    AfxWinInit(hInstance, lpCmdLine);
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    // A dialog-based program does all its work inside InitInstance; its result only tells
    // whether a message loop should follow, and none does here.
    pApp->InitInstance();
    CWnd::DeleteTempMap();
    CMenu::DeleteTempMap();
    return 0;
}

void AfxDispatchMessage(MSG* pMsg) {
    CWinApp* pApp = AfxGetApp();
    BOOL bConsumed = pApp != nullptr ? pApp->PreTranslateMessage(pMsg) : CWnd::WalkPreTranslateTree(pMsg);
    if (!bConsumed) {
        ::TranslateMessage(pMsg);
        ::DispatchMessageA(pMsg);
    }
}

LONG AfxReadRegistryDefault(HKEY hRootKey, const char* lpszSubKey, char* lpszOut) {
    HKEY hKey = nullptr;
    LONG nError = ::RegOpenKeyExA(hRootKey, lpszSubKey, 0, KEY_QUERY_VALUE, &hKey);
    if (nError != ERROR_SUCCESS)
        return nError;
    char value[MAX_PATH] = {};
    LONG cbValue = sizeof(value);
    nError = ::RegQueryValueA(hKey, nullptr, value, &cbValue);
    ::RegCloseKey(hKey);
    // An unreadable value (too long, or not a string) counts as no value: its bytes are not used.
    if (nError != ERROR_SUCCESS)
        return nError;
    value[sizeof(value) - 1] = '\0';
    std::memcpy(lpszOut, value, std::strlen(value) + 1);
    return ERROR_SUCCESS;
}
