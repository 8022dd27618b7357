// The Save As dialog for books: it checks the chosen name against the handheld's file-name rule
// and asks before accepting a name that breaks it.
#pragma once

#include <string>

#include "CFileDialog.h"

class CKvFileDialog : public CFileDialog {
public:
    explicit CKvFileDialog(BOOL bOpenFileDialog,
                           const char* lpszDefExt = nullptr,
                           const char* lpszFileName = nullptr,
                           DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                           const char* lpszFilter = nullptr,
                           CWnd* pParentWnd = nullptr);

    // The name last accepted, with the default extension added when the typed one differs.
    std::string m_strCheckedName;

    // Asks whether to keep a name that breaks the handheld's rule; true for Yes.
    static bool ConfirmInvalidName(HWND hOwner, const std::string& strName);
    // Asks before an existing file at strPath is replaced; true when there is none or for Yes.
    static bool ConfirmReplace(HWND hOwner, const std::string& strPath, const std::string& strName);

protected:
    BOOL OnFileNameOK() override;

    DECLARE_MESSAGE_MAP()
};
