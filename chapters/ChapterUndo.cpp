// Main window: Undo and Redo of the chapter commands, through the chapter history.
#include "QuireBinderDlg.h"

#include <algorithm>

#include "Book.h"

std::vector<SChapterRecord> CQuireBinderDlg::CaptureChapters(int nFirst, int nCount) {
    std::vector<SChapterRecord> records;
    records.reserve(size_t(std::max(nCount, 0)));
    for (int i = nFirst; i < nFirst + nCount; ++i) {
        SChapterRecord record;
        m_wndContents.GetText(i, record.strListTitle);
        record.strTitle = theBook.ChapterTitle(uint32_t(i));
        record.strText = theBook.ChapterText(uint32_t(i));
        records.push_back(std::move(record));
    }
    return records;
}

SChapterRun CQuireBinderDlg::BeginChapterRun(int nFirst, int nCount) {
    // The chapter on show may have been typed in: the record must hold what the user sees.
    KeepEditorText();
    SChapterRun run;
    run.nFirst = nFirst;
    run.before = CaptureChapters(nFirst, nCount);
    return run;
}

void CQuireBinderDlg::EndChapterRun(SChapterRun& run, int nCountAfter) {
    KeepEditorText();
    run.after = CaptureChapters(run.nFirst, nCountAfter);
}

void CQuireBinderDlg::RecordChapterCommand(const char* lpszName, std::vector<SChapterRun> runs, int nSelectedBefore) {
    SChapterStep step;
    step.strName = lpszName;
    step.runs = std::move(runs);
    step.nSelectedBefore = nSelectedBefore;
    step.nSelectedAfter = m_wndContents.GetCurSel();
    m_history.Record(std::move(step));
}

void CQuireBinderDlg::ReplaceChapters(int nFirst, int nOld, const std::vector<SChapterRecord>& records) {
    int nNew = int(records.size());
    int nSame = std::min(nOld, nNew);
    for (int k = 0; k < nSame; ++k) {
        int i = nFirst + k;
        std::string strListTitle;
        m_wndContents.GetText(i, strListTitle);
        // Replace All changes texts only: the list keeps its items.
        if (strListTitle != records[size_t(k)].strListTitle) {
            m_wndContents.RemoveItem(i);
            m_wndContents.InsertItem(records[size_t(k)].strListTitle.c_str(), CContentsListBox::kWhite, i);
        }
        theBook.SetChapterTitle(uint32_t(i), records[size_t(k)].strTitle);
        theBook.SetChapterText(uint32_t(i), records[size_t(k)].strText);
    }
    for (int k = nSame; k < nOld; ++k) {
        theBook.DeleteChapter(uint32_t(nFirst + nSame));
        m_wndContents.RemoveItem(nFirst + nSame);
    }
    for (int k = nSame; k < nNew; ++k) {
        const SChapterRecord& record = records[size_t(k)];
        m_wndContents.InsertItem(record.strListTitle.c_str(), CContentsListBox::kWhite, nFirst + k);
        theBook.InsertChapter(nFirst + k);
        theBook.SetChapterTitle(uint32_t(nFirst + k), record.strTitle);
        theBook.SetChapterText(uint32_t(nFirst + k), record.strText);
    }
    m_wndContents.m_bChanged = true;
}

void CQuireBinderDlg::ShowChaptersAfterStep(int nSelected, const std::string& strShownBefore, int nShownBefore) {
    int nCount = m_wndContents.GetCount();
    if (nSelected >= nCount)
        nSelected = nCount - 1;
    if (nSelected < 0 && nCount > 0)
        nSelected = 0;
    if (nSelected < 0) {
        m_wndEditor.EnableWindow(FALSE);
        ShowChapterText(-1);
        m_wndChapterLabel.SetWindowText("");
        m_nCurrentChapter = -1;
    } else {
        m_wndContents.SetCurSel(nSelected);
        // Showing a large text again costs seconds: only a chapter whose text changed is shown anew.
        if (nSelected != nShownBefore || theBook.ChapterText(uint32_t(nSelected)) != strShownBefore)
            ShowChapterText(nSelected);
        m_wndEditor.EnableWindow(TRUE);
        ShowChapterTitle(nSelected);
        m_nCurrentChapter = nSelected;
    }
    m_wndContents.Invalidate(TRUE);
    UpdateChapterButtons();
    UpdateBookSize();
}

void CQuireBinderDlg::UndoChapterCommand() {
    if (m_history.NextUndo() == nullptr)
        return;
    KeepEditorText();
    int nShown = m_nCurrentChapter;
    std::string strShown = nShown >= 0 ? theBook.ChapterText(uint32_t(nShown)) : std::string();
    SChapterStep* pStep = m_history.Undo();
    // What is in place now is kept for Redo, with whatever was typed since.
    for (auto run = pStep->runs.rbegin(); run != pStep->runs.rend(); ++run) {
        run->after = CaptureChapters(run->nFirst, int(run->after.size()));
        ReplaceChapters(run->nFirst, int(run->after.size()), run->before);
    }
    ShowChaptersAfterStep(pStep->nSelectedBefore, strShown, nShown);
}

void CQuireBinderDlg::RedoChapterCommand() {
    if (m_history.NextRedo() == nullptr)
        return;
    KeepEditorText();
    int nShown = m_nCurrentChapter;
    std::string strShown = nShown >= 0 ? theBook.ChapterText(uint32_t(nShown)) : std::string();
    SChapterStep* pStep = m_history.Redo();
    for (SChapterRun& run : pStep->runs) {
        run.before = CaptureChapters(run.nFirst, int(run.before.size()));
        ReplaceChapters(run.nFirst, int(run.before.size()), run.after);
    }
    ShowChaptersAfterStep(pStep->nSelectedAfter, strShown, nShown);
}

HWND CQuireBinderDlg::FocusedEditWithUndo(bool bRedo) {
    HWND hFocus = ::GetFocus();
    if (hFocus == nullptr ||
        (hFocus != m_wndAuthor.m_hWnd && hFocus != m_wndTitle.m_hWnd && hFocus != m_wndEditor.m_hWnd))
        return nullptr;
    // The plain edit boxes have no redo; their undo undoes itself.
    if (bRedo && hFocus != m_wndEditor.m_hWnd)
        return nullptr;
    return ::SendMessageA(hFocus, bRedo ? EM_CANREDO : EM_CANUNDO, 0, 0) != 0 ? hFocus : nullptr;
}

void CQuireBinderDlg::OnEditUndoCommand() {
    if (HWND hEdit = FocusedEditWithUndo(false))
        ::SendMessageA(hEdit, EM_UNDO, 0, 0);
    else
        UndoChapterCommand();
}

void CQuireBinderDlg::OnEditRedoCommand() {
    if (HWND hEdit = FocusedEditWithUndo(true))
        ::SendMessageA(hEdit, EM_REDO, 0, 0);
    else
        RedoChapterCommand();
}

void CQuireBinderDlg::UpdateUndoMenuItems() {
    struct Item {
        UINT nID;
        const char* lpszVerb;
        const char* lpszKey;
        bool bRedo;
    };
    for (const Item& item : {Item{IDM_EDIT_UNDO, "&Undo", "\tCtrl+Z", false}, Item{IDM_EDIT_REDO, "&Redo", "\tCtrl+Y", true}}) {
        std::string strText = item.lpszVerb;
        bool bEnabled = true;
        if (FocusedEditWithUndo(item.bRedo) != nullptr) {
            strText += " Typing";
        } else if (const SChapterStep* pStep = item.bRedo ? m_history.NextRedo() : m_history.NextUndo()) {
            strText += " " + pStep->strName;
        } else {
            bEnabled = false;
        }
        strText += item.lpszKey;
        ::ModifyMenuA(m_menuMain.m_hMenu, item.nID, MF_BYCOMMAND | MF_STRING, item.nID, strText.c_str());
        m_menuMain.EnableMenuItem(item.nID, MF_BYCOMMAND | (bEnabled ? MF_ENABLED : MF_GRAYED));
    }
}
