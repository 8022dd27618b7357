// A test dialog (template IDD_TEST_PLAIN unless told otherwise) whose initialisation runs a hook,
// and RunModal, which runs a dialog and acts on it once it is up.
#pragma once

#include <functional>

#include "CDialog.h"
#include "TestResource.h"

class PlainDialog : public CDialog {
public:
    explicit PlainDialog(UINT nIDTemplate = IDD_TEST_PLAIN, CWnd* pParent = nullptr)
        : CDialog(nIDTemplate, pParent) {}

    std::function<void(PlainDialog&)> onInit;  // runs at the end of OnInitDialog

protected:
    BOOL OnInitDialog() override;
};

// Runs dlg modally; `action` runs on its window once it is visible (through a ModalAnswerer).
INT_PTR RunModal(CDialog& dlg, const std::function<void(HWND)>& action);
