#include "TextLossAnswer.h"

#include "resource.h"

std::string Utf8WindowText(HWND hWnd) {
    wchar_t text[4096] = {};
    int n = ::GetWindowTextW(hWnd, text, 4096);
    int nBytes = ::WideCharToMultiByte(CP_UTF8, 0, text, n, nullptr, 0, nullptr, nullptr);
    std::string utf8(size_t(nBytes > 0 ? nBytes : 0), '\0');
    if (nBytes > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text, n, &utf8[0], nBytes, nullptr, nullptr);
    return utf8;
}

ModalAnswerer::Expectation AnswerTextLoss(int button, std::string& list) {
    ModalAnswerer::Expectation expectation = ModalAnswerer::Act("Kelvra Quire Binder", [&list, button](HWND hDlg) {
        list = Utf8WindowText(::GetDlgItem(hDlg, IDC_LOSS_LIST));
        ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    });
    expectation.requiredControl = IDC_LOSS_LIST;
    return expectation;
}
