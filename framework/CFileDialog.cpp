#include "CFileDialog.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "CWinApp.h"

namespace {

// The explorer dialog's name box: a combo box on current systems, an edit box on older ones.
constexpr int kNameCombo = 0x047C;  // cmb13
constexpr int kNameEdit = 0x0480;   // edt1

}  // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog,
                         const char* lpszDefExt,
                         const char* lpszFileName,
                         DWORD dwFlags,
                         const char* lpszFilter,
                         CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog) {
    m_pParentWnd = pParentWnd;
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hInstance = AfxGetInstanceHandle();
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    if ((dwFlags & OFN_ALLOWMULTISELECT) != 0) {
        m_multipleNames.assign(256 * 1024, '\0');
        m_ofn.lpstrFile = m_multipleNames.data();
        m_ofn.nMaxFile = DWORD(m_multipleNames.size());
    }
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof(m_szFileTitle);
    m_ofn.Flags = dwFlags | OFN_ENABLEHOOK | OFN_EXPLORER;
    // The hook is the framework's dialog procedure: the hook dialog is linked to this object.
    m_ofn.lpfnHook = reinterpret_cast<LPOFNHOOKPROC>(&CWnd::DialogProc);
    if (lpszDefExt != nullptr) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt.c_str();
    }
    if (lpszFileName != nullptr)
        ::lstrcpynA(m_ofn.lpstrFile, lpszFileName, MAX_PATH);
    if (lpszFilter != nullptr) {
        m_strFilter = lpszFilter;
        // The list ends with an empty string: make sure two terminators close it.
        if (!m_strFilter.empty() && m_strFilter.back() != '|')
            m_strFilter += '|';
        std::replace(m_strFilter.begin(), m_strFilter.end(), '|', '\0');
        m_ofn.lpstrFilter = m_strFilter.c_str();
    }
}

INT_PTR CFileDialog::DoModal() {
    m_ofn.hwndOwner = GetModalOwner();
    SetPendingLink(this);
    BOOL bResult = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    SetPendingLink(nullptr);
    if (m_hWnd != nullptr)
        UnsubclassWindow();
    return bResult ? IDOK : IDCANCEL;
}

std::string CFileDialog::GetPathName() const {
    if (m_hWnd == nullptr)
        return m_ofn.lpstrFile != nullptr ? std::string(m_ofn.lpstrFile) : std::string();
    HWND hDialog = ::GetParent(m_hWnd);
    std::vector<char> buffer(MAX_PATH);
    LRESULT nNeeded =
        ::SendMessageA(hDialog, CDM_GETFILEPATH, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    if (nNeeded > LRESULT(buffer.size())) {
        buffer.resize(size_t(nNeeded));
        nNeeded =
            ::SendMessageA(hDialog, CDM_GETFILEPATH, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    }
    if (nNeeded <= 0)
        return std::string();
    buffer.back() = '\0';
    return std::string(buffer.data());
}

std::vector<std::string> CFileDialog::GetPathNames() const {
    std::vector<std::string> paths;
    if ((m_ofn.Flags & OFN_ALLOWMULTISELECT) == 0 || m_ofn.lpstrFile == nullptr) {
        paths.push_back(GetPathName());
        return paths;
    }
    // The folder, then each name, each ended by a zero byte, and one more zero byte; or a single
    // full path when one file was chosen.
    const char* pFolder = m_ofn.lpstrFile;
    const char* pEnd = pFolder + m_ofn.nMaxFile;
    const char* pName = pFolder + strnlen(pFolder, m_ofn.nMaxFile) + 1;
    std::string folder = pFolder;
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    while (pName < pEnd && *pName != '\0') {
        std::size_t nLength = strnlen(pName, std::size_t(pEnd - pName));
        paths.push_back(folder + std::string(pName, nLength));
        pName += nLength + 1;
    }
    if (paths.empty())
        paths.push_back(pFolder);
    return paths;
}

std::string CFileDialog::GetFileName() const {
    if (m_hWnd == nullptr) {
        if (m_ofn.lpstrFile == nullptr)
            return std::string();
        size_t nLength = std::strlen(m_ofn.lpstrFile);
        size_t nOffset = std::min<size_t>(m_ofn.nFileOffset, nLength);
        return std::string(m_ofn.lpstrFile + nOffset);
    }
    HWND hDialog = ::GetParent(m_hWnd);
    HWND hName = ::GetDlgItem(hDialog, kNameCombo);
    if (hName == nullptr)
        hName = ::GetDlgItem(hDialog, kNameEdit);
    if (hName == nullptr)
        return std::string();
    std::string name(size_t(::GetWindowTextLengthA(hName)) + 1, '\0');
    int nCopied = ::GetWindowTextA(hName, &name[0], int(name.size()));
    name.resize(size_t(nCopied > 0 ? nCopied : 0));
    return name;
}

std::string CFileDialog::GetFileExt() const {
    std::string name = GetFileName();
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

BOOL CFileDialog::OnFileNameOK() {
    return FALSE;
}

BOOL CFileDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    auto* pHeader = reinterpret_cast<NMHDR*>(lParam);
    if (pHeader == nullptr || pHeader->code != UINT(CDN_FILEOK))
        return CDialog::OnNotify(wParam, lParam, pResult);
    // The dialog reads the verdict from the hook dialog's message result, not from the return.
    BOOL bReject = OnFileNameOK();
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, bReject);
    *pResult = bReject;
    return TRUE;
}
