// Main window: crash recovery. While the book has unsaved changes, a copy of what the window shows is
// written once the user pauses; a program that did not close normally leaves it behind, and the
// next start offers it.
#include "QuireBinderDlg.h"

#include <cstdio>

#include "Book.h"
#include "ChapterText.h"
#include "MessageSink.h"
#include "RecoveryFile.h"

namespace {

constexpr UINT kAutosaveTickMs = 250;

// A copy that cannot be written must not interrupt the user; the next pause tries again.
class CQuietSink : public CMessageSink {
public:
    void Show(const char*) override {}
};

// What the field shows; a field the user did not change stands for the book's own bytes.
std::string ShownText(const CEdit& field, const std::string& strBookText) {
    if (!field.GetModify())
        return strBookText;
    std::string text;
    field.GetWindowText(text);
    return text;
}

std::string LocalTime(const FILETIME& ftChanged) {
    FILETIME ftLocal;
    SYSTEMTIME st;
    if (!::FileTimeToLocalFileTime(&ftChanged, &ftLocal) || !::FileTimeToSystemTime(&ftLocal, &st))
        return "unknown time";
    char szTime[32];
    std::snprintf(szTime, sizeof(szTime), "%04u-%02u-%02u %02u:%02u", st.wYear, st.wMonth, st.wDay, st.wHour,
                  st.wMinute);
    return szTime;
}

}  // namespace

void CQuireBinderDlg::StartRecovery() {
    if (m_strRecoveryDir.empty())
        return;
    m_pRecovery.reset(new CRecoveryFile(m_strRecoveryDir));
    SetTimer(kAutosaveTimer, kAutosaveTickMs);
    // Once the window is up, so that the question has it as its owner.
    PostMessage(kOfferRecoveryMessage);
}

void CQuireBinderDlg::NoteUserInput(const MSG* pMsg) {
    bool bKey = pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST;
    bool bMouse = pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST;
    if (!bKey && !bMouse)
        return;
    m_dwLastInput = ::GetTickCount();
    if (pMsg->message != WM_MOUSEMOVE) {
        m_bInputSinceAutosave = true;
        ::GetSystemTimeAsFileTime(&m_ftLastChange);
    }
}

void CQuireBinderDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kCountTimer) {
        KillTimer(kCountTimer);
        UpdateCounts(true);
    } else if (nIDEvent == kAutosaveTimer) {
        AutosaveIfPaused();
    } else {
        CDialog::OnTimer(nIDEvent);
    }
}

// Written on this thread while the user pauses: the editor's text can only be read here, and the
// texts stay unchanged while they are written without a copy.
void CQuireBinderDlg::AutosaveIfPaused() {
    // A window of the program's own is open: a command may be half done.
    if (m_pRecovery == nullptr || !IsWindowEnabled())
        return;
    DWORD dwNow = ::GetTickCount();
    if (!m_bInputSinceAutosave || !IsModified() || dwNow - m_dwLastInput < m_nAutosavePauseMs ||
        (m_bAutosaveTried && dwNow - m_dwLastAutosave < m_nAutosaveIntervalMs))
        return;
    m_bAutosaveTried = true;
    m_dwLastAutosave = dwNow;
    m_bInputSinceAutosave = false;

    CRecoveryFile::Book book;
    book.author = ShownText(m_wndAuthor, theBook.Author());
    book.title = ShownText(m_wndTitle, theBook.Title());
    std::string strEditorText;
    bool bEditorText = m_nCurrentChapter >= 0 && !m_bEditorPreview && m_wndEditor.GetModify();
    if (bEditorText)
        m_wndEditor.GetWindowText(strEditorText);
    static const std::string s_strNone;
    int nChapters = m_wndContents.GetCount();
    for (int i = 0; i < nChapters; ++i) {
        bool bInBook = i < theBook.ChapterCount();
        std::string strTitle;
        m_wndContents.GetText(i, strTitle);
        if (bInBook && strTitle == ChapterText::Displayed(theBook.ChapterTitle(uint32_t(i))))
            strTitle = theBook.ChapterTitle(uint32_t(i));
        book.chapterTitles.push_back(strTitle);
        book.chapterTexts.push_back(bEditorText && i == m_nCurrentChapter ? &strEditorText
                                    : bInBook                            ? &theBook.ChapterText(uint32_t(i))
                                                                         : &s_strNone);
    }
    CRecoveryFile::Note note;
    note.docDir = m_strDocDir;
    note.docName = m_strDocName;
    note.untitled = m_bUntitled;
    note.changed = m_ftLastChange;
    if (note.changed.dwHighDateTime == 0 && note.changed.dwLowDateTime == 0)
        ::GetSystemTimeAsFileTime(&note.changed);

    CMessageSink& previous = CMessageSink::Active();
    CQuietSink quiet;
    CMessageSink::SetActive(&quiet);
    bool bWritten = m_pRecovery->Write(book, note);
    CMessageSink::SetActive(&previous);
    // A failed copy is not taken for one: the changes are still to be written.
    m_bRecoveryWritten = m_bRecoveryWritten || bWritten;
    m_bInputSinceAutosave = m_bInputSinceAutosave || !bWritten;
    m_dwAutosaveMs = ::GetTickCount() - dwNow;
}

void CQuireBinderDlg::DiscardRecovery() {
    if (m_pRecovery != nullptr && m_bRecoveryWritten)
        m_pRecovery->Remove();
    m_bRecoveryWritten = false;
    m_bInputSinceAutosave = false;
    m_bAutosaveTried = false;
}

LRESULT CQuireBinderDlg::OnOfferRecovery(WPARAM, LPARAM) {
    if (m_pRecovery == nullptr)
        return 0;
    for (const std::string& strPath : m_pRecovery->LeftBehind()) {
        CRecoveryFile::Note note;
        if (!CRecoveryFile::ReadNote(strPath, note)) {
            MessageBox(QB_PRODUCT_NAME " did not close normally, but the copy of the book it kept is damaged and "
                                       "cannot be recovered. The copy is removed.",
                       QB_PRODUCT_NAME, MB_OK | MB_ICONWARNING);
            ::DeleteFileA(strPath.c_str());
            continue;
        }
        std::string strQuestion = QB_PRODUCT_NAME " did not close normally. Recover the book you were working on (" +
                                  note.docName + ", " + LocalTime(note.changed) + ")?";
        if (MessageBox(strQuestion.c_str(), QB_PRODUCT_NAME, MB_YESNO | MB_ICONQUESTION) == IDYES) {
            RecoverBook(strPath, note.docDir, note.docName, note.untitled);
            return 0;
        }
        std::string strDelete = "Delete the recovered copy of \"" + note.docName +
                                "\"? Its unsaved changes are then lost for good.";
        if (MessageBox(strDelete.c_str(), QB_PRODUCT_NAME, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES)
            ::DeleteFileA(strPath.c_str());
    }
    return 0;
}

void CQuireBinderDlg::RecoverBook(const std::string& strPath, const std::string& strDocDir,
                                  const std::string& strDocName, bool bUntitled) {
    // The window shows nothing the user changed yet: no question before it is replaced.
    OpenBook(strPath.c_str(), false);
    if (m_bUntitled)
        return;  // it could not be read, and the user was told
    m_strDocDir = strDocDir;
    m_strDocName = strDocName;
    m_bUntitled = bUntitled;
    UpdateCaption();
    // Unsaved, as it was when the program ended.
    m_bEarlierChapterEdits = true;
    m_bRecoveryWritten = m_pRecovery->Adopt(strPath);
}
