#include "KvFileDialog.h"

#include "KvFileName.h"
#include "resource.h"

// Nothing of its own: the file dialog's notifications are handled by CFileDialog.
BEGIN_MESSAGE_MAP(CKvFileDialog, CFileDialog)
END_MESSAGE_MAP()

CKvFileDialog::CKvFileDialog(BOOL bOpenFileDialog,
                             const char* lpszDefExt,
                             const char* lpszFileName,
                             DWORD dwFlags,
                             const char* lpszFilter,
                             CWnd* pParentWnd)
    : CFileDialog(bOpenFileDialog, lpszDefExt, lpszFileName, dwFlags, lpszFilter, pParentWnd) {}

BOOL CKvFileDialog::OnFileNameOK() {
    // A path typed into the name box names its folder too; only the name itself is checked and kept.
    m_strCheckedName = GetFileName();
    size_t nSlash = m_strCheckedName.find_last_of("\\/");
    if (nSlash != std::string::npos)
        m_strCheckedName.erase(0, nSlash + 1);
    // The comparison is exact: "notes.BOOK" becomes "notes.BOOK.book".
    const char* pszDefExt = m_ofn.lpstrDefExt;
    size_t nDot = m_strCheckedName.rfind('.');
    std::string strExt = nDot == std::string::npos ? std::string() : m_strCheckedName.substr(nDot + 1);
    bool bExtended = pszDefExt != nullptr && pszDefExt[0] != '\0' && strExt != pszDefExt;
    if (bExtended)
        m_strCheckedName = m_strCheckedName + "." + pszDefExt;
    // Questions are owned by the file dialog itself (the hook dialog's parent); No keeps it open.
    HWND hOwner = ::GetParent(m_hWnd);
    if (!IsValidKelvraFileName(m_strCheckedName.c_str()) && !ConfirmInvalidName(hOwner, m_strCheckedName))
        return TRUE;
    // The dialog asked about replacing the name as typed; the book goes to the extended name, so an
    // existing file of that name must not be replaced without asking either.
    if (bExtended && (m_ofn.Flags & OFN_OVERWRITEPROMPT) != 0) {
        // The file record holds the chosen path by now; asking the dialog for it (CDM_GETFILEPATH)
        // gives a wrong answer under Wine when a full path was typed.
        std::string strPath = m_ofn.lpstrFile != nullptr ? m_ofn.lpstrFile : "";
        size_t nFolderEnd = strPath.rfind('\\');
        strPath = (nFolderEnd == std::string::npos ? std::string() : strPath.substr(0, nFolderEnd + 1)) +
                  m_strCheckedName;
        if (!ConfirmReplace(hOwner, strPath, m_strCheckedName))
            return TRUE;
    }
    return FALSE;
}

bool CKvFileDialog::ConfirmReplace(HWND hOwner, const std::string& strPath, const std::string& strName) {
    DWORD dwAttributes = ::GetFileAttributesA(strPath.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return true;
    std::string strQuestion = strName + " already exists.\nDo you want to replace it?";
    return ::MessageBoxA(hOwner, strQuestion.c_str(), "Confirm Save As",
                         MB_YESNO | MB_DEFBUTTON2 | MB_ICONEXCLAMATION) == IDYES;
}

bool CKvFileDialog::ConfirmInvalidName(HWND hOwner, const std::string& strName) {
    std::string strQuestion = "Invalid Kelvra file name\n\n\"" + strName + "\"\n\n Use this name anyway?";
    return ::MessageBoxA(hOwner, strQuestion.c_str(), QB_PRODUCT_NAME,
                         MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) == IDYES;
}
