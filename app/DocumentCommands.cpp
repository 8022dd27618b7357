// Main window: the document (a new book, opening, saving, the save-changes prompt, the caption).
#include "QuireBinderDlg.h"

#include <cctype>
#include <cstring>

#include "Book.h"
#include "ChapterText.h"
#include "KvFileDialog.h"
#include "KvFileName.h"

namespace {

constexpr const char* kNewDocName = "new.book";
constexpr const char* kBookFilter = "Folioview`s Book (*.book) | *.book|";

void TrimTrailingSpace(std::string& text) {
    size_t nEnd = text.size();
    while (nEnd > 0 && std::isspace(static_cast<unsigned char>(text[nEnd - 1])))
        --nEnd;
    text.erase(nEnd);
}

std::string Trimmed(std::string text) {
    TrimTrailingSpace(text);
    return text;
}

// A field the user did not change gives the book's own bytes, which the field may show only in
// part (it stops at a zero byte).
std::string FieldText(const CEdit& field, const std::string& strBookText) {
    if (!field.GetModify())
        return Trimmed(strBookText);
    std::string text;
    field.GetWindowText(text);
    return Trimmed(text);
}

// Names the texts of a book that the window cannot show as they are; empty when there are none.
std::string TextsShownChanged(CBook& book) {
    std::string strZeros;
    std::string strTooBig;
    auto add = [](std::string& rList, const std::string& strItem) {
        rList += (rList.empty() ? "" : ", ") + strItem;
    };
    if (ChapterText::HasZeroByte(book.Author()))
        add(strZeros, "the author");
    if (ChapterText::HasZeroByte(book.Title()))
        add(strZeros, "the title");
    for (int i = 0; i < book.ChapterCount(); ++i) {
        const std::string& strText = book.ChapterText(uint32_t(i));
        bool bZeros =
            ChapterText::HasZeroByte(strText) || ChapterText::HasZeroByte(book.ChapterTitle(uint32_t(i)));
        bool bTooBig = !ChapterText::FitsEditor(strText);
        if (!bZeros && !bTooBig)
            continue;
        std::string strName = "chapter " + std::to_string(i + 1) + " \"" +
                              ChapterText::Displayed(book.ChapterTitle(uint32_t(i))) + "\"";
        if (bZeros)
            add(strZeros, strName);
        if (bTooBig)
            add(strTooBig, strName);
    }
    std::string strNotice;
    if (!strZeros.empty())
        strNotice += std::string("Zero bytes are shown as \"") + ChapterText::kZeroBytePlaceholder +
                     "\" in: " + strZeros +
                     ".\n\nThese texts are saved with their zero bytes as long as you do not change "
                     "them. A text you edit is saved as the window shows it.";
    if (!strTooBig.empty())
        strNotice += std::string(strNotice.empty() ? "" : "\n\n") +
                     "Too large for the editor, shown read-only and saved unchanged: " + strTooBig + ".";
    return strNotice;
}

// "book" in any mix of upper and lower case.
bool IsBookIgnoringCase(const std::string& text) {
    if (text.size() != 4)
        return false;
    std::string lower = text;
    for (char& c : lower)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return lower == "book";
}

bool IsExistingFile(const std::string& strPath) {
    DWORD dwAttributes = ::GetFileAttributesA(strPath.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string DocumentPath(const std::string& strDir, const std::string& strName) {
    return strDir + "\\" + strName;
}

// A path without a directory (or a relative one) would later be saved beside whatever the current
// directory has become, or at the root of the drive: the document keeps the full path it came from.
std::string FullPath(const char* lpszPath) {
    char szFull[MAX_PATH];
    DWORD nLength = ::GetFullPathNameA(lpszPath, MAX_PATH, szFull, nullptr);
    if (nLength == 0 || nLength >= MAX_PATH)
        return lpszPath;
    return std::string(szFull, nLength);
}

// Marks the window as being refilled for as long as it lives (or until End); nests.
class CRefill {
public:
    explicit CRefill(bool& rFlag) : m_rFlag(rFlag), m_bWas(rFlag) { m_rFlag = true; }
    ~CRefill() { End(); }
    CRefill(const CRefill&) = delete;
    CRefill& operator=(const CRefill&) = delete;
    void End() { m_rFlag = m_bWas; }

private:
    bool& m_rFlag;
    bool m_bWas;
};

}  // namespace

void CQuireBinderDlg::UpdateCaption() {
    SetWindowText(m_strDocName + " - " + QB_PRODUCT_NAME);
}

BOOL CQuireBinderDlg::QuerySave() {
    if (!IsModified())
        return TRUE;
    std::string strQuestion = "Do you want to save the changes you made to \"" + m_strDocName + "\" ?";
    switch (MessageBox(strQuestion.c_str(), QB_PRODUCT_NAME, MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES:
            return SaveBook(TRUE);
        case IDNO:
            return TRUE;
        default:
            return FALSE;
    }
}

void CQuireBinderDlg::OnFileNew() {
    if (QuerySave())
        ResetDocument();
    else
        RestoreFocus();
}

void CQuireBinderDlg::OnFileOpen() {
    if (!QuerySave()) {
        RestoreFocus();
        return;
    }
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST,
                    kBookFilter, this);
    if (dlg.DoModal() == IDOK) {
        std::string strPath = dlg.GetPathName();
        // The file chosen is the file opened, whatever its name ends in; only a name that names no
        // file is taken as a book's name without its extension (a chosen Novel.BOOK is that file).
        if (!IsExistingFile(strPath) && !IsBookIgnoringCase(dlg.GetFileExt()))
            strPath += ".book";
        OpenBook(strPath.c_str());
    } else {
        RestoreFocus();
    }
    Invalidate(TRUE);
}

// A book opened with more chapters than a saved book can hold is read and edited as it is; only
// saving it waits until enough chapters are gone.
BOOL CQuireBinderDlg::FitsChapterLimit() {
    int nToGo = m_wndContents.GetCount() - CBook::kMaxSavedChapters;
    if (nToGo <= 0)
        return TRUE;
    ShowChapterLimit(nToGo);
    return FALSE;
}

void CQuireBinderDlg::OnFileSave() {
    SaveBook(TRUE);
}

void CQuireBinderDlg::OnFileSaveAs() {
    if (!FitsChapterLimit()) {
        RestoreFocus();
        return;
    }
    if (AskSaveAsName())
        SaveBook(FALSE);
    else
        RestoreFocus();
}

void CQuireBinderDlg::ResetDocument() {
    // Inside an open, the open shows the name and the size once the book is in (or it failed).
    const bool bOpening = m_bRefilling;
    CRefill refill(m_bRefilling);
    theBook.Clear();
    m_history.Clear();
    m_wndAuthor.SetWindowText("");
    m_wndAuthor.SetFocus();
    m_nFocusRestoreTarget = m_nLastFocusedEdit;
    m_wndTitle.SetWindowText("");
    m_wndChapterLabel.SetWindowText("");
    m_nCurrentChapter = -1;
    ShowChapterText(-1);
    m_wndEditor.EnableWindow(FALSE);
    m_wndContents.ResetItems();
    UpdateChapterButtons();
    ClearModified();
    DiscardRecovery();
    m_strDocName = kNewDocName;
    m_bUntitled = true;
    m_strDocDir.clear();
    if (!bOpening) {
        UpdateCaption();
        UpdateBookSize();
    }
    Invalidate(TRUE);
}

void CQuireBinderDlg::OpenBook(const char* lpszPath, bool bRecent) {
    CRefill refill(m_bRefilling);
    ResetDocument();
    if (!theBook.LoadFromFile(lpszPath)) {
        refill.End();
        UpdateCaption();
        UpdateBookSize();
        MessageBox("Invalid file format", "Error!", MB_OK | MB_ICONERROR);
        return;
    }
    m_wndAuthor.SetWindowText(ChapterText::Displayed(theBook.Author()));
    m_wndTitle.SetWindowText(ChapterText::Displayed(theBook.Title()));

    m_wndContents.ResetItems();
    int nChapters = theBook.ChapterCount();
    for (int i = 0; i < nChapters; ++i)
        m_wndContents.InsertItem(ChapterText::Displayed(theBook.ChapterTitle(uint32_t(i))).c_str(),
                                 CContentsListBox::kWhite, i);
    if (nChapters > 0) {
        m_wndContents.SetCurSel(0);
        m_wndContents.EnableWindow(TRUE);
        ShowChapterText(0);
        m_nCurrentChapter = 0;
        m_wndEditor.EnableWindow(TRUE);
        ShowChapterTitle(0);
    }

    std::string strPath = FullPath(lpszPath);
    size_t nSlash = strPath.rfind('\\');
    if (nSlash == std::string::npos) {
        m_strDocName = strPath;
    } else {
        m_strDocDir = strPath.substr(0, nSlash);
        m_strDocName = strPath.substr(nSlash + 1);
    }
    m_bUntitled = false;
    UpdateCaption();
    UpdateBookSize();
    UpdateChapterButtons();
    ClearModified();
    if (bRecent)
        RememberRecentBook(strPath);
    refill.End();
    std::string strNotice = TextsShownChanged(theBook);
    if (!strNotice.empty())
        MessageBox(strNotice.c_str(), QB_PRODUCT_NAME, MB_OK | MB_ICONINFORMATION);
}

void CQuireBinderDlg::OpenCommandLineBook() {
    CWinApp* pApp = AfxGetApp();
    const char* pszCmdLine = pApp != nullptr ? pApp->m_lpCmdLine : nullptr;
    if (pszCmdLine == nullptr || pszCmdLine[0] == '\0')
        return;
    // The shell quotes the path (see the open command); drop every quote, keep the rest.
    std::string strPath;
    for (const char* p = pszCmdLine; *p != '\0'; ++p) {
        if (*p != '"')
            strPath += *p;
    }
    // A path that would not fit the platform's 260-byte buffers is ignored like any other non-book.
    if (strPath.size() >= MAX_PATH || strPath.size() < 4)
        return;
    if (IsBookIgnoringCase(strPath.substr(strPath.size() - 4)))
        OpenBook(strPath.c_str());
}

BOOL CQuireBinderDlg::AskSaveAsName() {
    if (!m_strDocDir.empty())
        ::SetCurrentDirectoryA(m_strDocDir.c_str());
    CKvFileDialog dlg(FALSE, "book", nullptr,
                      OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN,
                      kBookFilter, this);
    dlg.m_ofn.lpstrInitialDir = m_strDocDir.empty() ? nullptr : m_strDocDir.c_str();
    if (dlg.DoModal() != IDOK)
        return FALSE;
    std::string strPath = dlg.GetPathName();
    size_t nSlash = strPath.rfind('\\');
    m_strDocDir = nSlash == std::string::npos ? std::string() : strPath.substr(0, nSlash);
    m_strDocName = dlg.m_strCheckedName;
    m_bUntitled = false;
    return TRUE;
}

BOOL CQuireBinderDlg::SaveBook(BOOL bCheckName) {
    const std::string strOldDir = m_strDocDir;
    const std::string strOldName = m_strDocName;
    const bool bOldUntitled = m_bUntitled;

    // Told before a name is asked for: such a book cannot be written under any name.
    if (!FitsChapterLimit()) {
        RestoreFocus();
        return FALSE;
    }
    DWORD dwAttributes = ::GetFileAttributesA(DocumentPath(m_strDocDir, m_strDocName).c_str());
    bool bReadOnly = dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_READONLY);
    if (m_bUntitled || bReadOnly) {
        if (!AskSaveAsName()) {
            RestoreFocus();
            return FALSE;
        }
    } else if (bCheckName && !IsValidKelvraFileName(m_strDocName.c_str())) {
        if (!CKvFileDialog::ConfirmInvalidName(m_hWnd, m_strDocName) && !AskSaveAsName()) {
            RestoreFocus();
            return FALSE;
        }
    }

    theBook.SetAuthor(FieldText(m_wndAuthor, theBook.Author()));
    theBook.SetTitle(FieldText(m_wndTitle, theBook.Title()));
    // Titles loaded from a book file may be longer than any typed one: read each at its length. A
    // title that still reads as the book's keeps the book's bytes.
    int nItems = m_wndContents.GetCount();
    for (int i = 0; i < nItems; ++i) {
        std::string strTitle;
        m_wndContents.GetText(i, strTitle);
        if (i >= theBook.ChapterCount() || strTitle != ChapterText::Displayed(theBook.ChapterTitle(uint32_t(i))))
            theBook.SetChapterTitle(uint32_t(i), strTitle);
    }
    // The chapter on show is saved without its trailing white space, but the book keeps the text
    // as it is: trimmed only while it is written.
    KeepEditorText();
    int nSelected = m_wndContents.GetCurSel();
    std::string strUntrimmed;
    if (nSelected != LB_ERR) {
        strUntrimmed = theBook.ChapterText(uint32_t(nSelected));
        theBook.SetChapterText(uint32_t(nSelected), Trimmed(strUntrimmed));
    }
    m_nCurrentChapter = nSelected != LB_ERR ? nSelected : -1;

    bool bSaved = theBook.SaveToFile(DocumentPath(m_strDocDir, m_strDocName).c_str());
    if (nSelected != LB_ERR)
        theBook.SetChapterText(uint32_t(nSelected), strUntrimmed);
    if (bSaved) {
        UpdateCaption();
        ClearModified();
        RememberRecentBook(DocumentPath(m_strDocDir, m_strDocName));
        DiscardRecovery();
    } else {
        MessageBox("cannot save file", QB_PRODUCT_NAME, MB_OK | MB_ICONERROR);
        m_strDocDir = strOldDir;
        m_strDocName = strOldName;
        m_bUntitled = bOldUntitled;
    }
    RestoreFocus();
    return bSaved;
}
