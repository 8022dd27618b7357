#include "KvFileDialog.h"

#include "KvFileName.h"

IMPLEMENT_DYNAMIC(CKvFileDialog, CFileDialog)

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
    if (pszDefExt != nullptr && pszDefExt[0] != '\0' && strExt != pszDefExt)
        m_strCheckedName = m_strCheckedName + "." + pszDefExt;
    if (IsValidKelvraFileName(m_strCheckedName.c_str()))
        return FALSE;
    // Owned by the file dialog itself (the hook dialog's parent); No keeps it open.
    return ConfirmInvalidName(::GetParent(m_hWnd), m_strCheckedName) ? FALSE : TRUE;
}

bool CKvFileDialog::ConfirmInvalidName(HWND hOwner, const std::string& strName) {
    std::string strQuestion = "Invalid Kelvra file name\n\n\"" + strName + "\"\n\n Use this name anyway?";
    return ::MessageBoxA(hOwner, strQuestion.c_str(), "Kelvra Quire Binder",
                         MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) == IDYES;
}
