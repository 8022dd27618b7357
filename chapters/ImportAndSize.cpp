// Main window: Add Text from File and the book-size display in the status bar.
#include "QuireBinderDlg.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "Book.h"
#include "IncomingText.h"
#include "RtfCheck.h"

namespace {

constexpr const char* kImportFilter = "Text File (*.txt; *.rtf) |*.txt; *.rtf||";

std::string LowerCase(std::string text) {
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// What an import came to, for the message after it.
enum class EImport { Inserted, Empty, Refused };

// Inserts a text file at the editor's caret, converted into the book's code page: UTF-8 and UTF-16
// are recognised, anything else is already ANSI and goes in byte for byte, as it always did. A
// binary file is refused; characters that would be lost are shown first and Cancel inserts
// nothing. A file that cannot be opened or read throws before the editor is touched.
EImport InsertTextFile(CQuireBinderDlg& owner, const std::string& strPath) {
    CFile file(strPath.c_str(), CFile::modeRead | CFile::shareDenyWrite);
    ULONGLONG nLength = file.GetLength();
    if (nLength == 0)
        return EImport::Empty;
    std::string bytes;
    try {
        if (nLength >= std::numeric_limits<UINT>::max())
            throw std::bad_alloc();
        bytes.resize(size_t(nLength));
    } catch (const std::bad_alloc&) {
        owner.MessageBox("Low Memory", QB_PRODUCT_NAME, MB_OK | MB_ICONERROR);
        return EImport::Inserted;
    }
    bytes.resize(file.Read(&bytes[0], UINT(nLength)));  // one request for the whole file
    SConvertedText converted = ConvertIncomingText(bytes);
    if (converted.encoding == ETextEncoding::Binary) {
        owner.MessageBox("This file does not look like text.", "Error!", MB_OK | MB_ICONERROR);
        return EImport::Refused;
    }
    if (converted.text.empty())
        return EImport::Empty;  // a byte-order mark and nothing else
    if (ConfirmTextLoss(owner.GetSafeHwnd(), converted))
        owner.InsertEditorText(converted.text.data(), converted.text.size());
    return EImport::Inserted;
}

// The RTF file's bytes, read before any control sees them; reading stops past what the check
// allows.
std::string ReadRtfBytes(CFile& file) {
    std::string bytes;
    char chunk[64 * 1024];
    while (bytes.size() <= RtfCheck::kMaxBytes) {
        UINT nRead = file.Read(chunk, UINT(sizeof(chunk)));
        if (nRead == 0)
            break;
        bytes.append(chunk, nRead);
    }
    return bytes;
}

// The checked bytes, handed to the decoding control piece by piece.
struct RtfSource {
    const std::string* pBytes;
    size_t nPos;
};

DWORD CALLBACK ReadRtf(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb) {
    auto* pSource = reinterpret_cast<RtfSource*>(dwCookie);
    size_t nCount = std::min(size_t(cb > 0 ? cb : 0), pSource->pBytes->size() - pSource->nPos);
    std::memcpy(pbBuff, pSource->pBytes->data() + pSource->nPos, nCount);
    pSource->nPos += nCount;
    *pcb = LONG(nCount);
    return 0;
}

// The decoder's whole text as Unicode: the control's ANSI text would have turned every character
// the code page lacks into "?" unseen.
std::string UnicodeTextOf(CRichEditCtrl& decoder) {
    GETTEXTLENGTHEX length = {GTL_NUMCHARS | GTL_USECRLF | GTL_PRECISE, 1200};
    LRESULT nChars = decoder.SendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    if (nChars <= 0)
        return std::string();
    std::wstring text(size_t(nChars) + 1, L'\0');
    GETTEXTEX request = {DWORD(text.size() * sizeof(wchar_t)), GT_USECRLF, 1200, nullptr, nullptr};
    LRESULT nCopied = decoder.SendMessage(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request),
                                          reinterpret_cast<LPARAM>(&text[0]));
    text.resize(nCopied > 0 ? std::min(size_t(nCopied), size_t(nChars)) : 0);
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// Inserts the plain characters of an RTF file at the editor's caret: a hidden rich edit control
// reads the file (its code page, \'hh and \uN included) and hands back its text without the
// formatting; what the book's code page cannot hold is shown first. Empty when it yields no text.
// A file the control could not safely decode is refused before the control sees it.
EImport InsertRtfFile(CQuireBinderDlg& owner, const std::string& strPath) {
    std::string bytes;
    {
        CFile file(strPath.c_str(), CFile::modeRead | CFile::shareDenyWrite);
        bytes = ReadRtfBytes(file);
    }
    std::string strProblem = RtfCheck::FindProblem(bytes.data(), bytes.size());
    if (!strProblem.empty()) {
        owner.MessageBox(("This RTF file cannot be imported: " + strProblem + ".").c_str(), "Error!",
                         MB_OK | MB_ICONERROR);
        return EImport::Refused;
    }
    CRichEditCtrl decoder;
    if (!decoder.Create(WS_CHILD | ES_MULTILINE, CRect(10, 10, 100, 200), &owner, 1))
        throw std::runtime_error("\"" + strPath +
                                 "\" could not be read.\n\nNo rich edit control could be made.");
    struct Destroy {
        CRichEditCtrl& wnd;
        ~Destroy() { wnd.DestroyWindow(); }
    } destroy{decoder};
    // The control's default limit is far below the editor's and would cut the file short unnoticed.
    decoder.LimitText(CQuireBinderDlg::kEditorTextLimit);

    RtfSource source{&bytes, 0};
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&source), 0, &ReadRtf};
    decoder.StreamIn(SF_RTF, stream);
    if (decoder.GetWindowTextLength() == 0)
        return EImport::Empty;
    SConvertedText converted = ConvertIncomingText(UnicodeTextOf(decoder), ETextEncoding::Utf16LE);
    if (ConfirmTextLoss(owner.GetSafeHwnd(), converted))
        owner.InsertEditorText(converted.text.data(), converted.text.size());
    return EImport::Inserted;
}

}  // namespace

void CQuireBinderDlg::OnAddTextFromFile() {
    CFileDialog dlg(TRUE, "txt", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST,
                    kImportFilter, this);
    if (dlg.DoModal() == IDOK) {
        std::string strPath = dlg.GetPathName();
        std::string strExt = LowerCase(dlg.GetFileExt());
        EImport result = EImport::Inserted;
        if (strExt == "txt")
            result = InsertTextFile(*this, strPath);
        else if (strExt == "rtf")
            result = InsertRtfFile(*this, strPath);
        if (result == EImport::Inserted)
            UpdateBookSize();
        else if (result == EImport::Empty)
            MessageBox("Empty file", "Error!", MB_OK | MB_ICONERROR);
    }
    m_wndEditor.SetFocus();
}

void CQuireBinderDlg::OnEditorChange() {
    UpdateBookSize();
}

void CQuireBinderDlg::UpdateBookSize() {
    // The editor holds the current version of the selected chapter's text: count it from there.
    // A chapter shown read-only is not all in the editor: the book has it.
    int nSelected = m_bEditorPreview ? -1 : m_wndContents.GetCurSel();
    uint32_t nEditor = m_bEditorPreview ? 0 : uint32_t(m_wndEditor.GetWindowTextLength());
    uint32_t nTotal = theBook.ContentSize(nSelected) + nEditor +
                      uint32_t(m_wndTitle.GetWindowTextLength()) +
                      uint32_t(m_wndAuthor.GetWindowTextLength());
    char szText[64];
    std::snprintf(szText, sizeof(szText), "Book Size ~ %d Kb", int(nTotal / 1024 + 1));
    m_wndStatusBar.SetText(szText, 0, 0);
    m_wndEditor.UpdateWindow();
    m_wndEditor.Invalidate(TRUE);
}
