// Main window: Add Text from File and the book-size display in the status bar.
#include "QuireBinderDlg.h"

#include <cctype>
#include <cstdio>
#include <exception>
#include <limits>
#include <memory>
#include <new>
#include <stdexcept>

#include "Book.h"

namespace {

constexpr const char* kAppTitle = "Kelvra Quire Binder";
constexpr const char* kImportFilter = "Text File (*.txt; *.rtf) |*.txt; *.rtf||";

std::string LowerCase(std::string text) {
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Inserts a text file's bytes, up to the first zero byte, at the editor's caret. False for an
// empty file. A file that cannot be opened or read throws before the editor is touched.
bool InsertTextFile(CQuireBinderDlg& owner, const std::string& strPath) {
    CFile file(strPath.c_str(), CFile::modeRead | CFile::shareDenyWrite);
    ULONGLONG nLength = file.GetLength();
    if (nLength == 0)
        return false;
    std::unique_ptr<char[]> buffer;
    if (nLength < std::numeric_limits<UINT>::max())
        buffer.reset(new (std::nothrow) char[size_t(nLength) + 1]);
    if (!buffer) {
        owner.MessageBox("Low Memory", kAppTitle, MB_OK | MB_ICONERROR);
        return true;
    }
    UINT nRead = file.Read(buffer.get(), UINT(nLength));  // one request for the whole file
    owner.InsertEditorText(buffer.get(), nRead);
    return true;
}

// The RTF stream's source. A failed read must not unwind through the rich edit control: it is
// kept here, the stream stops, and the error is raised again once the control has returned.
struct RtfSource {
    CFile* pFile;
    std::exception_ptr error;
};

DWORD CALLBACK ReadRtf(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb) {
    auto* pSource = reinterpret_cast<RtfSource*>(dwCookie);
    *pcb = 0;
    try {
        *pcb = LONG(pSource->pFile->Read(pbBuff, UINT(cb)));
        return 0;
    } catch (...) {
        pSource->error = std::current_exception();
        return 1;
    }
}

// Inserts the plain characters of an RTF file at the editor's caret: a hidden rich edit control
// reads the file and hands back its text without the formatting. False when it yields no text.
bool InsertRtfFile(CQuireBinderDlg& owner, const std::string& strPath) {
    CFile file(strPath.c_str(), CFile::modeRead | CFile::shareDenyWrite);
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

    RtfSource source{&file, nullptr};
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&source), 0, &ReadRtf};
    decoder.StreamIn(SF_RTF, stream);
    if (source.error)
        std::rethrow_exception(source.error);
    if (decoder.GetWindowTextLength() == 0)
        return false;
    decoder.SetSel(0, -1);
    std::string strText = decoder.GetSelText();
    owner.InsertEditorText(strText.data(), strText.size());
    return true;
}

}  // namespace

void CQuireBinderDlg::OnAddTextFromFile() {
    CFileDialog dlg(TRUE, "txt", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST,
                    kImportFilter, this);
    if (dlg.DoModal() == IDOK) {
        std::string strPath = dlg.GetPathName();
        std::string strExt = LowerCase(dlg.GetFileExt());
        bool bOk = true;
        if (strExt == "txt")
            bOk = InsertTextFile(*this, strPath);
        else if (strExt == "rtf")
            bOk = InsertRtfFile(*this, strPath);
        if (bOk)
            UpdateBookSize();
        else
            MessageBox("Empty file", "Error!", MB_OK | MB_ICONERROR);
    }
    m_wndEditor.SetFocus();
}

void CQuireBinderDlg::OnAddTextFromFileMenu() {
    if (m_btnImportText.IsWindowEnabled())
        OnAddTextFromFile();
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
