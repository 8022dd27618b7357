// The common Open and Save As dialogs, explorer style, with a hook through which the framework
// calls OnFileNameOK when the user confirms a name (CDN_FILEOK).
//
// While the dialog is open, m_hWnd is the (invisible) hook dialog linked to this object and
// GetParent() the file dialog the user sees: the owner for a message box from OnFileNameOK.
// While it is open (inside OnFileNameOK, say), GetFileName reads the dialog's name box,
// GetFileExt takes the text after the last full stop of that name, and GetPathName asks the dialog
// for the full path of that name. After DoModal returned IDOK they report the chosen file.
#pragma once

#include <string>
#include <vector>

#include <windows.h>
#include <commdlg.h>

#include "CDialog.h"

class CFileDialog : public CDialog {
public:
    // lpszFilter: pairs of "description|pattern|", each "|" becomes a string terminator.
    // The framework adds OFN_ENABLEHOOK and OFN_EXPLORER to dwFlags.
    explicit CFileDialog(BOOL bOpenFileDialog,
                         const char* lpszDefExt = nullptr,
                         const char* lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         const char* lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);

    // The dialog's settings: callers may change fields (lpstrInitialDir, lpstrDefExt, Flags, ...)
    // before DoModal. Strings they point to must outlive DoModal.
    OPENFILENAMEA m_ofn{};

    // IDOK or IDCANCEL (also when the dialog could not be shown).
    INT_PTR DoModal() override;

    std::string GetPathName() const;
    // After DoModal returned IDOK: every file chosen, as full paths (with OFN_ALLOWMULTISELECT
    // there may be many; otherwise the one GetPathName reports).
    std::vector<std::string> GetPathNames() const;
    std::string GetFileName() const;
    std::string GetFileExt() const;

protected:
    // Called when the user confirms a name; true rejects it and keeps the dialog open.
    virtual BOOL OnFileNameOK();

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    BOOL m_bOpenFileDialog;
    std::string m_strFilter;
    std::string m_strDefExt;
    char m_szFileName[MAX_PATH] = {};
    // With OFN_ALLOWMULTISELECT: room for the folder and the names of some thousands of files.
    std::vector<char> m_multipleNames;
    char m_szFileTitle[64] = {};
};
