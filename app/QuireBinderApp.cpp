#include "QuireBinderApp.h"

#include <cstring>

#include "QuireBinderDlg.h"
#include "RecoveryFile.h"
#include "WinFileSystem.h"
#include "resource.h"

namespace {

constexpr const char* kBookExtension = ".book";
constexpr const char* kBookType = "Folioview`s Book";
constexpr const char* kOpenCommandKey = "shell\\open\\command";

// The book's saves go through the Windows calls, which count every byte and keep a protected file.
CWinFileSystem g_windowsFiles;

bool CreateKey(HKEY hParent, const char* lpszSubKey, HKEY* phKey) {
    char szClass[] = "";
    return ::RegCreateKeyExA(hParent, lpszSubKey, 0, szClass, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                             phKey, nullptr) == ERROR_SUCCESS;
}

void SetDefaultValue(HKEY hKey, const std::string& strValue) {
    ::RegSetValueExA(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(strValue.c_str()),
                     DWORD(strValue.size()) + 1);
}

}  // namespace

// Nothing of its own: commands reach the main window first.
BEGIN_MESSAGE_MAP(CQuireBinderApp, CWinApp)
END_MESSAGE_MAP()

CQuireBinderApp::CQuireBinderApp() : CWinApp(nullptr) {}

CQuireBinderApp::~CQuireBinderApp() = default;

void CQuireBinderApp::RegisterBookFileType(const char* lpszExePath) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, kBookExtension, 0, KEY_READ, &hKey) == ERROR_SUCCESS) {
        ::RegCloseKey(hKey);  // another program's association stays
    } else if (CreateKey(HKEY_CLASSES_ROOT, kBookExtension, &hKey)) {
        SetDefaultValue(hKey, kBookType);
        ::RegCloseKey(hKey);
    }

    HKEY hType = nullptr;
    if (!CreateKey(HKEY_CLASSES_ROOT, kBookType, &hType))
        return;
    HKEY hCommand = nullptr;
    if (CreateKey(hType, kOpenCommandKey, &hCommand)) {
        SetDefaultValue(hCommand, std::string("\"") + lpszExePath + "\" \"%1\"");
        ::RegCloseKey(hCommand);
    }
    ::RegCloseKey(hType);
}

std::string CQuireBinderApp::ProgramDirectory(const char* lpszExePath, DWORD nLength) {
    if (nLength == 0)
        return std::string();
    const char* pszBackslash = std::strrchr(lpszExePath, '\\');
    if (pszBackslash == nullptr)
        return lpszExePath;
    return std::string(lpszExePath, size_t(pszBackslash - lpszExePath));
}

std::string CQuireBinderApp::PrepareStartUp() {
    CFileSystem::SetActive(&g_windowsFiles);
    char szExePath[MAX_PATH] = {};
    DWORD nLength = ::GetModuleFileNameA(nullptr, szExePath, MAX_PATH);
    szExePath[MAX_PATH - 1] = '\0';  // a truncated path comes without a terminator on older systems

    RegisterBookFileType(szExePath);
    AfxInitRichEdit();
    SetRegistryKey(IDS_REGISTRY_KEY);
    m_hAccel = ::LoadAcceleratorsA(m_hInstance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    return ProgramDirectory(szExePath, nLength);
}

BOOL CQuireBinderApp::InitInstance() {
    std::string strAppDir = PrepareStartUp();
    CQuireBinderDlg dlg;
    dlg.m_strAppDir = strAppDir;
    dlg.m_strRecoveryDir = CRecoveryFile::DefaultFolder();
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;  // the window object ends here
    return FALSE;
}

CQuireBinderDlg* CQuireBinderApp::GetMainDialog() const {
    return dynamic_cast<CQuireBinderDlg*>(m_pMainWnd);
}

BOOL CQuireBinderApp::PreTranslateMessage(MSG* pMsg) {
    // While the chapter title dialog is open its edit box must get Ctrl+C, Ctrl+V and the rest.
    CQuireBinderDlg* pDlg = GetMainDialog();
    // The modeless Find and Replace dialogs take Tab, Enter and Escape themselves.
    if (pDlg != nullptr && pDlg->m_hFindDialog != nullptr && ::IsDialogMessageA(pDlg->m_hFindDialog, pMsg))
        return TRUE;
    if (pDlg != nullptr && !pDlg->m_bTitleDialogOpen && m_hAccel != nullptr && pDlg->m_hWnd != nullptr &&
        ::TranslateAcceleratorA(pDlg->m_hWnd, m_hAccel, pMsg))
        return TRUE;
    return CWinApp::PreTranslateMessage(pMsg);
}
