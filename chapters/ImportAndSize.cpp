// Main window: Add Text from File and the book-size display in the status bar.
#include "QuireBinderDlg.h"

#include <cstdio>

#include "Book.h"
#include "FileText.h"
#include "TextCounts.h"
#include "IncomingText.h"

namespace {

constexpr const char* kImportFilter = "Text File (*.txt; *.rtf) |*.txt; *.rtf||";

}  // namespace

void CQuireBinderDlg::OnAddTextFromFile() {
    CFileDialog dlg(TRUE, "txt", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST,
                    kImportFilter, this);
    if (dlg.DoModal() == IDOK)
        InsertTextFile(dlg.GetPathName());
    m_wndEditor.SetFocus();
}

// A file whose type is neither txt nor rtf is passed over without a word, as it always was.
void CQuireBinderDlg::InsertTextFile(const std::string& strPath) {
    SConvertedText converted;
    std::string strWhy;
    FileText::EResult result = FileText::Read(*this, strPath, converted, strWhy);
    switch (result) {
        case FileText::EResult::Text:
            if (ConfirmTextLoss(GetSafeHwnd(), converted))
                InsertEditorText(converted.text.data(), converted.text.size());
            UpdateBookSize();
            break;
        case FileText::EResult::Empty:
            MessageBox("Empty file", "Error!", MB_OK | MB_ICONERROR);
            break;
        case FileText::EResult::Refused:
            MessageBox(strWhy.c_str(), "Error!", MB_OK | MB_ICONERROR);
            break;
        case FileText::EResult::LowMemory:
            MessageBox("Low Memory", QB_PRODUCT_NAME, MB_OK | MB_ICONERROR);
            UpdateBookSize();
            break;
        case FileText::EResult::OtherType:
            UpdateBookSize();
            break;
    }
}

void CQuireBinderDlg::OnEditorChange() {
    m_bInputSinceAutosave = true;
    // New and Open show the size once they have refilled the window.
    if (!m_bRefilling)
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
    UpdateCounts(nEditor < uint32_t(kCountNowLimit));
    // A refill repaints the whole window at its next paint: the editor waits for it, once.
    if (!m_bRefilling)
        m_wndEditor.UpdateWindow();
    m_wndEditor.Invalidate(TRUE);
}

void CQuireBinderDlg::SetStatusParts() {
    // The size keeps the width it always had room for; the counts take the rest.
    int nEdges[2] = {170, -1};
    m_wndStatusBar.SendMessage(SB_SETPARTS, 2, reinterpret_cast<LPARAM>(nEdges));
}

void CQuireBinderDlg::UpdateCounts(bool bNow) {
    int nSelected = m_wndContents.GetCurSel();
    if (nSelected == LB_ERR) {
        m_shownCounts = STextCounts();
    } else if (m_bEditorPreview || !m_wndEditor.GetModify()) {
        // The editor shows the book's own text: its counts are kept with it.
        KillTimer(kCountTimer);
        m_shownCounts = theBook.ChapterCounts(uint32_t(nSelected));
    } else if (bNow) {
        KillTimer(kCountTimer);
        std::string strText;
        m_wndEditor.GetWindowText(strText);
        m_shownCounts = CountText(strText);
    } else {
        // Reading a large text back at every key would slow typing: it is counted once typing pauses.
        SetTimer(kCountTimer, 300);
    }
    STextCounts book = theBook.TextCounts(nSelected == LB_ERR ? -1 : nSelected);
    book += m_shownCounts;
    auto Described = [](const STextCounts& counts) {
        return FormatWords(counts.nWords) + ", " + FormatCount(counts.nChars) +
               (counts.nChars == 1 ? " character" : " characters");
    };
    std::string strCounts = "Book: " + Described(book);
    if (nSelected != LB_ERR)
        strCounts = "Chapter: " + Described(m_shownCounts) + " \xB7 " + strCounts;
    m_wndStatusBar.SetText(strCounts.c_str(), 1, 0);
}

