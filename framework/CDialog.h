// A dialog built from a template resource, run modally by DoModal with the framework's own modal
// loop: the dialog is created modeless, its owner is disabled, and every message fetched goes
// through the application's PreTranslateMessage (and so through the pre-translation of the window
// it is for and that window's ancestors) before it is dispatched, until EndDialog.
//
// The owner is the parent given to the constructor; without one it is the application's main
// window (or the dialog already open over it, so nested dialogs stay modal to each other), unless
// this dialog is the main window. Modal dialogs nest: a handler may run another
// dialog's DoModal.
//
// IDOK and IDCANCEL commands (the buttons, Enter and Escape through the dialog manager) reach
// OnOK and OnCancel; WM_CLOSE's default processing sends IDCANCEL, so closing ends through the
// cancel path.
#pragma once

#include "CDataExchange.h"
#include "CWnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog; returns the EndDialog result, or -1 if the dialog could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    // Runs DoDataExchange; FALSE puts members into controls, TRUE reads them back.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Runs IsDialogMessage for keyboard and mouse messages of this dialog and its controls
    // (after the tooltip relay of CWnd).
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The command reached no handler of this dialog: the application gets a chance.
    BOOL OnCmdMsg(UINT nID, int nCode) override;


protected:
    CDialog();  // for dialogs without a template of their own (CFileDialog)

    // WM_INITDIALOG: UpdateData(FALSE); returns TRUE (the dialog manager focuses the first control).
    virtual BOOL OnInitDialog();
    virtual void OnOK();      // UpdateData(TRUE), then EndDialog(IDOK)
    virtual void OnCancel();  // EndDialog(IDCANCEL)
    virtual void DoDataExchange(CDataExchange* pDX);

    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

    // The owner DoModal uses for this dialog (see above); null for none.
    HWND GetModalOwner() const;

private:
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    void RunModalLoop();

    bool m_bInModalLoop = false;
    bool m_bEndModal = false;
    int m_nModalResult = -1;

    DECLARE_MESSAGE_MAP()
};
