// Main window: the one way text from outside gets into the chapter editor (import, paste, Paste
// Text from Clipboard), within the editor's limit.
#include "QuireBinderDlg.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "IncomingText.h"

// The editor's own limit cannot be relied on: Wine's rich edit ignores it, and dies on inserts of
// many megabytes. So the program cuts the text to what fits at the caret, counting the selection
// it replaces, and tells the user when it cut.
void CQuireBinderDlg::InsertEditorText(const char* pText, size_t nLength) {
    // A preview is not the chapter's text: what went in would look like an edit and never be saved.
    if (m_bEditorPreview) {
        ::MessageBeep(MB_OK);
        return;
    }
    // The editor takes text up to a zero byte, as the old inserts did.
    if (const void* pZero = std::memchr(pText, '\0', nLength))
        nLength = size_t(static_cast<const char*>(pZero) - pText);
    CHARRANGE selection = {0, 0};
    m_wndEditor.GetSel(selection);
    long nKept = long(m_wndEditor.GetWindowTextLength()) - (selection.cpMax - selection.cpMin);
    size_t nRoom = nKept < kEditorTextLimit ? size_t(kEditorTextLimit - nKept) : 0;
    bool bCut = nLength > nRoom;
    if (bCut) {
        nLength = nRoom;
        // A line break is one CR LF pair: never leave half of it behind.
        if (nLength > 0 && pText[nLength - 1] == '\r' && pText[nLength] == '\n')
            --nLength;
    }
    m_wndEditor.ReplaceSel(std::string(pText, nLength).c_str(), TRUE);
    if (bCut) {
        char szText[96];
        std::snprintf(szText, sizeof(szText), "Only the first %u characters fit into a chapter.",
                      unsigned(nLength));
        MessageBox(szText, QB_PRODUCT_NAME, MB_OK | MB_ICONWARNING);
    }
}

// Reads the clipboard's plain text itself rather than letting the editor paste, so that a paste
// goes through the same limit as everything else. Nothing happens without text on the clipboard.
// Unicode text from another program goes through the book's conversion, with the list of what
// would be lost before anything goes in: the platform's own CF_TEXT from it would have turned
// each character the code page lacks into "?" unseen. CF_TEXT alone is pasted as it always was.
void CQuireBinderDlg::PasteClipboardText() {
    std::string strText;
    if (ReadClipboardUnicode(m_hWnd, strText)) {
        SConvertedText converted = ConvertIncomingText(strText, ETextEncoding::Utf16LE);
        if (ConfirmTextLoss(m_hWnd, converted))
            InsertEditorText(converted.text.data(), converted.text.size());
        return;
    }
    if (!::OpenClipboard(m_hWnd))
        return;
    bool bText = false;
    if (HANDLE hData = ::GetClipboardData(CF_TEXT)) {
        if (const char* pData = static_cast<const char*>(::GlobalLock(hData))) {
            // The block may lack its terminating zero: never read past its size.
            // More than fits is never needed, and a huge copy could fail.
            size_t nSize = ::GlobalSize(hData);
            const void* pZero = std::memchr(pData, '\0', nSize);
            if (pZero != nullptr)
                nSize = size_t(static_cast<const char*>(pZero) - pData);
            strText.assign(pData, std::min(nSize, size_t(kEditorTextLimit) + 2));
            bText = true;
            ::GlobalUnlock(hData);
        }
    }
    ::CloseClipboard();
    if (bText)
        InsertEditorText(strText.data(), strText.size());
}
