#include "IncomingText.h"

#include <memory>

#include "SystemCodePage.h"
#include "resource.h"

namespace {

const CCodePage* SystemCodePage() {
    static const std::unique_ptr<CCodePage> s_codePage = OpenCodePage(SystemAnsiCodePage());
    return s_codePage.get();
}

std::wstring WideFromUtf8(const std::string& text) {
    int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(n > 0 ? size_t(n) : 0, L'\0');
    if (n > 0)
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), &wide[0], n);
    return wide;
}

// A Unicode dialog of its own: the program's windows are ANSI and could not show the characters.
INT_PTR CALLBACK LossDialogProc(HWND hDlg, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    switch (nMessage) {
        case WM_INITDIALOG:
            ::SetDlgItemTextW(hDlg, IDC_LOSS_LIST, reinterpret_cast<const wchar_t*>(lParam));
            ::SendDlgItemMessageW(hDlg, IDC_LOSS_ICON, STM_SETICON,
                                  reinterpret_cast<WPARAM>(::LoadIconW(nullptr, MAKEINTRESOURCEW(32515))), 0);
            ::MessageBeep(MB_ICONWARNING);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                ::EndDialog(hDlg, LOWORD(wParam));
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

bool Holds(char32_t ch) {
    std::string bytes;
    const CCodePage* pCodePage = SystemCodePage();
    return ch < 0x80 || pCodePage == nullptr || (ch < 0xD800 || ch > 0xDFFF ? pCodePage->Encode(ch, bytes) : false);
}

// Takes the first queued character message for one of `edits` when the book cannot hold it; a
// character beyond the BMP comes as two messages and goes as one. Zero when there is none.
char32_t TakeUnstorableChar(std::initializer_list<HWND> edits) {
    for (UINT nMessage : {UINT(WM_CHAR), UINT(WM_IME_CHAR)}) {
        MSG msg;
        if (!::PeekMessageW(&msg, nullptr, nMessage, nMessage, PM_NOREMOVE))
            continue;
        bool bOurs = false;
        for (HWND hEdit : edits)
            bOurs = bOurs || (hEdit != nullptr && msg.hwnd == hEdit);
        char32_t ch = char32_t(msg.wParam & 0xFFFF);
        if (!bOurs || Holds(ch))
            continue;
        ::PeekMessageW(&msg, msg.hwnd, nMessage, nMessage, PM_REMOVE);
        MSG low;
        if (ch >= 0xD800 && ch <= 0xDBFF && ::PeekMessageW(&low, msg.hwnd, nMessage, nMessage, PM_NOREMOVE) &&
            (low.wParam & 0xFC00) == 0xDC00) {
            ::PeekMessageW(&low, msg.hwnd, nMessage, nMessage, PM_REMOVE);
            ch = 0x10000 + ((ch - 0xD800) << 10) + (char32_t(low.wParam) & 0x3FF);
        }
        return ch;
    }
    return 0;
}

}  // namespace

SConvertedText ConvertIncomingText(const std::string& bytes, ETextEncoding encoding) {
    CTextConverter::Options options;
    options.encoding = encoding;
    const CCodePage* pCodePage = SystemCodePage();
    if (pCodePage == nullptr) {  // never on a working system: take the bytes as they are
        SConvertedText asIs;
        asIs.text = bytes;
        return asIs;
    }
    return CTextConverter(*pCodePage, options).Convert(bytes);
}

bool ConfirmTextLoss(HWND hOwner, const SConvertedText& converted) {
    if (converted.lost.empty())
        return true;
    std::wstring text;
    for (wchar_t ch : WideFromUtf8(DescribeLosses(converted)))
        text += ch == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, ch);  // an edit control's line break
    INT_PTR nResult = ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEXT_LOSS), hOwner,
                                        &LossDialogProc, reinterpret_cast<LPARAM>(text.c_str()));
    return nResult == IDOK;
}

bool ReadClipboardUnicode(HWND hOwner, std::string& bytes) {
    if (!::IsClipboardFormatAvailable(CF_UNICODETEXT) || !::OpenClipboard(hOwner))
        return false;
    // The platform lists the formats it makes from others after the ones a program gave.
    bool bGivenAsUnicode = false;
    for (UINT nFormat = ::EnumClipboardFormats(0); nFormat != 0; nFormat = ::EnumClipboardFormats(nFormat)) {
        if (nFormat == CF_UNICODETEXT || nFormat == CF_TEXT) {
            bGivenAsUnicode = nFormat == CF_UNICODETEXT;
            break;
        }
    }
    bool bRead = false;
    HANDLE hData = bGivenAsUnicode ? ::GetClipboardData(CF_UNICODETEXT) : nullptr;
    if (const auto* pText = hData ? static_cast<const wchar_t*>(::GlobalLock(hData)) : nullptr) {
        // Up to the terminating zero, and never past the block, whatever the other program wrote.
        size_t nMax = ::GlobalSize(hData) / sizeof(wchar_t);
        size_t n = 0;
        while (n < nMax && pText[n] != 0)
            ++n;
        bytes.assign(reinterpret_cast<const char*>(pText), n * sizeof(wchar_t));
        ::GlobalUnlock(hData);
        bRead = true;
    }
    ::CloseClipboard();
    return bRead;
}

void RefuseUnstorableTyping(HWND hOwner, std::initializer_list<HWND> edits) {
    static bool s_bTold = false;
    while (char32_t ch = TakeUnstorableChar(edits)) {
        ::MessageBeep(MB_ICONWARNING);
        if (s_bTold)
            continue;
        s_bTold = true;
        std::wstring text = WideFromUtf8(Utf8FromChar(ch) + " cannot be stored in a Kelvra book");
        ::MessageBoxW(hOwner, text.c_str(), L"" QB_PRODUCT_NAME, MB_OK | MB_ICONWARNING);
    }
}
