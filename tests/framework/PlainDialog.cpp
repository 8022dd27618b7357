#include "PlainDialog.h"

#include "ModalAnswerer.h"

BOOL PlainDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    if (onInit)
        onInit(*this);
    return TRUE;
}

INT_PTR RunModal(CDialog& dlg, const std::function<void(HWND)>& action) {
    ModalAnswerer answerer;
    answerer.Expect(ModalAnswerer::Act("", action));
    return dlg.DoModal();
}
