// Main window: the chapter commands, the states of the chapter buttons and menu items, and the
// book's modified state.
#include "QuireBinderDlg.h"

#include <string>
#include <utility>

#include "Book.h"
#include "ChapterText.h"
#include "ChapterTitleDialog.h"

namespace {

// Runs the chapter title dialog on rTitle (empty proposes "New Chapter"). The main window's
// accelerators stay off while it is open, so its edit box gets Ctrl+C, Ctrl+V and the rest; the
// flag goes down again however the dialog ends. True on OK, with the normalised title in rTitle.
bool AskChapterTitle(bool& bTitleDialogOpen, std::string& rTitle) {
    struct FlagDown {
        bool& bFlag;
        ~FlagDown() { bFlag = false; }
    };
    CChapterTitleDialog dlg;
    dlg.m_strTitle = rTitle;
    bTitleDialogOpen = true;
    FlagDown flagDown{bTitleDialogOpen};
    if (dlg.DoModal() != IDOK)
        return false;
    rTitle = dlg.m_strTitle;
    return true;
}

}  // namespace

void CQuireBinderDlg::ShowSelectedChapter() {
    int nSelected = m_wndContents.GetCurSel();
    if (nSelected != LB_ERR && nSelected != m_nCurrentChapter) {
        KeepEditorText();
        ShowChapterText(nSelected);
        ShowChapterTitle(nSelected);
        m_nCurrentChapter = nSelected;
    }
    UpdateMoveButtons(-1);
}

void CQuireBinderDlg::KeepEditorText() {
    // A preview is not the chapter's text; the chapter keeps its bytes.
    if (m_nCurrentChapter < 0 || m_bEditorPreview || !m_wndEditor.GetModify())
        return;
    std::string strText;
    m_wndEditor.GetWindowText(strText);
    theBook.SetChapterText(uint32_t(m_nCurrentChapter), strText);
    m_bEarlierChapterEdits = true;
}

void CQuireBinderDlg::ShowChapterText(int nIndex) {
    // The editor's flag is about to start afresh for the new chapter: what it knew moves here.
    if (m_wndEditor.GetModify() && !m_bEditorPreview)
        m_bEarlierChapterEdits = true;
    static const std::string s_strNone;
    const std::string& strText = nIndex >= 0 ? theBook.ChapterText(uint32_t(nIndex)) : s_strNone;
    m_bEditorPreview = !ChapterText::FitsEditor(strText);
    if (m_bEditorPreview) {
        std::string strShown = "[This chapter holds " + std::to_string(strText.size()) +
                               " bytes or paragraphs longer than the editor can take. It is shown "
                               "read-only and saved unchanged.]\r\n\r\n" +
                               ChapterText::Preview(strText);
        m_wndEditor.SetChapterText(strShown);
    } else {
        m_wndEditor.SetChapterText(ChapterText::Displayed(strText));
    }
    if (((m_wndEditor.GetStyle() & ES_READONLY) != 0) != m_bEditorPreview)
        m_wndEditor.SendMessage(EM_SETREADONLY, m_bEditorPreview);
    m_wndEditor.SetModify(FALSE);
}

void CQuireBinderDlg::ShowChapterTitle(int nIndex) {
    std::string strTitle;
    m_wndContents.GetText(nIndex, strTitle);
    m_wndChapterLabel.SetWindowText(strTitle);
}

void CQuireBinderDlg::OnContentsSelChange() {
    ShowSelectedChapter();
}

void CQuireBinderDlg::ShowChapterLimit(int nToGo) {
    std::string strText =
        "A book can hold at most " + std::to_string(int(CBook::kMaxSavedChapters)) + " chapters.";
    if (nToGo > 0)
        strText += "\n\nDelete " + std::to_string(nToGo) + (nToGo == 1 ? " chapter" : " chapters") +
                   " to save this book.";
    MessageBox(strText.c_str(), QB_PRODUCT_NAME, MB_OK | MB_ICONEXCLAMATION);
}

void CQuireBinderDlg::OnNewChapter() {
    // A chapter that could never be saved is not added.
    if (m_wndContents.GetCount() >= CBook::kMaxSavedChapters) {
        ShowChapterLimit(0);
        return;
    }
    std::string strTitle;
    if (!AskChapterTitle(m_bTitleDialogOpen, strTitle))
        return;
    // The new chapter goes right after the selected one, so the chapter on show keeps its place.
    int nSelected = m_wndContents.GetCurSel();
    int nNew = nSelected != LB_ERR ? nSelected + 1 : 0;
    SChapterRun run = BeginChapterRun(nNew, 0);
    m_wndContents.InsertItem(strTitle.c_str(), CContentsListBox::kWhite, nNew);
    theBook.InsertChapter(nNew);
    m_wndContents.SetCurSel(nNew);
    m_wndContents.Invalidate(TRUE);
    m_wndContents.SetFocus();
    m_wndEditor.EnableWindow(TRUE);
    UpdateChapterButtons();
    ShowSelectedChapter();
    EndChapterRun(run, 1);
    RecordChapterCommand("New Chapter", {std::move(run)}, nSelected);
}

void CQuireBinderDlg::OnRenameChapter() {
    int nSelected = m_wndContents.GetCurSel();
    if (nSelected == LB_ERR)
        return;
    std::string strTitle;
    m_wndContents.GetText(nSelected, strTitle);
    if (!AskChapterTitle(m_bTitleDialogOpen, strTitle))
        return;
    // The book learns the new title when it is saved.
    SChapterRun run = BeginChapterRun(nSelected, 1);
    m_wndContents.RemoveItem(nSelected);
    m_wndContents.InsertItem(strTitle.c_str(), CContentsListBox::kWhite, nSelected);
    m_wndContents.SetCurSel(nSelected);
    m_wndContents.Invalidate(TRUE);
    m_wndContents.SetFocus();
    ShowChapterTitle(nSelected);
    EndChapterRun(run, 1);
    RecordChapterCommand("Rename Chapter", {std::move(run)}, nSelected);
}

void CQuireBinderDlg::OnDeleteChapter() {
    int nSelected = m_wndContents.GetCurSel();
    if (nSelected == LB_ERR)
        return;
    std::string strTitle;
    m_wndContents.GetText(nSelected, strTitle);
    std::string strQuestion = "Are you sure you want to delete Chapter \"" + strTitle + "\" ?";
    if (MessageBox(strQuestion.c_str(), "Confirm Chapter Delete", MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;

    // The editor's text belonged to the deleted chapter and goes with it, into the history.
    int nDeleted = nSelected;
    SChapterRun run = BeginChapterRun(nSelected, 1);
    theBook.DeleteChapter(uint32_t(nSelected));
    m_wndContents.RemoveItem(nSelected);
    if (nSelected == m_wndContents.GetCount())
        --nSelected;
    if (nSelected < 0) {
        m_wndEditor.EnableWindow(FALSE);
        ShowChapterText(-1);
        m_wndChapterLabel.SetWindowText("");
        m_wndAuthor.SetFocus();
    } else {
        m_wndContents.SetCurSel(nSelected);
        m_wndContents.SetFocus();
        ShowChapterText(nSelected);
        ShowChapterTitle(nSelected);
    }
    m_nCurrentChapter = nSelected;
    UpdateChapterButtons();
    EndChapterRun(run, 0);
    RecordChapterCommand("Delete Chapter", {std::move(run)}, nDeleted);
}

// The chapter on show is the one that moves, so the editor keeps its text.
void CQuireBinderDlg::OnMoveChapterUp() {
    int nSelected = m_wndContents.GetCurSel();
    if (nSelected == LB_ERR || nSelected == 0)
        return;
    SChapterRun run = BeginChapterRun(nSelected - 1, 2);
    theBook.MoveChapterUp(nSelected);
    m_wndContents.MoveItemUp(nSelected);
    m_wndContents.SetFocus();
    m_nCurrentChapter = nSelected - 1;
    UpdateMoveButtons(-1);
    EndChapterRun(run, 2);
    RecordChapterCommand("Move Chapter Up", {std::move(run)}, nSelected);
}

void CQuireBinderDlg::OnMoveChapterDown() {
    int nSelected = m_wndContents.GetCurSel();
    if (nSelected == LB_ERR || nSelected == m_wndContents.GetCount() - 1)
        return;
    SChapterRun run = BeginChapterRun(nSelected, 2);
    theBook.MoveChapterDown(nSelected);
    m_wndContents.MoveItemDown(nSelected);
    m_wndContents.SetFocus();
    m_nCurrentChapter = nSelected + 1;
    UpdateMoveButtons(-1);
    EndChapterRun(run, 2);
    RecordChapterCommand("Move Chapter Down", {std::move(run)}, nSelected);
}

struct CQuireBinderDlg::ButtonCommand {
    UINT nMenuItem;
    CImageButton CQuireBinderDlg::*pButton;
    void (CQuireBinderDlg::*pfnCommand)();
};

// The commands added around the original ones follow the buttons whose rule they share: a file's
// chapters can always be added, a chapter is split at the cursor when text could be added to it, and
// merged with the next one when it could move down.
const CQuireBinderDlg::ButtonCommand CQuireBinderDlg::s_buttonCommands[11] = {
    {IDM_NEW_CHAPTER, &CQuireBinderDlg::m_btnNewChapter, &CQuireBinderDlg::OnNewChapter},
    {IDM_IMPORT_TEXT, &CQuireBinderDlg::m_btnImportText, &CQuireBinderDlg::OnAddTextFromFile},
    {IDM_RENAME_CHAPTER, &CQuireBinderDlg::m_btnRenameChapter, &CQuireBinderDlg::OnRenameChapter},
    {IDM_DELETE_CHAPTER, &CQuireBinderDlg::m_btnDeleteChapter, &CQuireBinderDlg::OnDeleteChapter},
    {IDM_MOVE_UP, &CQuireBinderDlg::m_btnMoveUp, &CQuireBinderDlg::OnMoveChapterUp},
    {IDM_MOVE_DOWN, &CQuireBinderDlg::m_btnMoveDown, &CQuireBinderDlg::OnMoveChapterDown},
    {IDM_PASTE_TEXT, &CQuireBinderDlg::m_btnPasteText, &CQuireBinderDlg::OnPasteTextFromClipboard},
    {IDM_ADD_CHAPTERS, &CQuireBinderDlg::m_btnNewChapter, &CQuireBinderDlg::OnAddChaptersFromFiles},
    {IDM_SPLIT_AT_CURSOR, &CQuireBinderDlg::m_btnImportText, &CQuireBinderDlg::OnSplitAtCursor},
    {IDM_MERGE_NEXT, &CQuireBinderDlg::m_btnMoveDown, &CQuireBinderDlg::OnMergeWithNext},
    {IDM_SPLIT_INTO_CHAPTERS, &CQuireBinderDlg::m_btnDeleteChapter, &CQuireBinderDlg::OnSplitIntoChapters},
};

void CQuireBinderDlg::OnButtonMenuCommand(UINT nID) {
    for (const ButtonCommand& command : s_buttonCommands) {
        if (command.nMenuItem == nID) {
            if ((this->*command.pButton).IsWindowEnabled())
                (this->*command.pfnCommand)();
            return;
        }
    }
}

void CQuireBinderDlg::UpdateChapterButtons() {
    int nSelected = m_wndContents.GetCurSel();
    UpdateMoveButtons(nSelected);
    UpdatePasteButton();
    BOOL bSelected = nSelected != LB_ERR;
    m_btnDeleteChapter.EnableWindow(bSelected);
    m_btnRenameChapter.EnableWindow(bSelected);
    // A chapter shown read-only takes no text.
    m_btnImportText.EnableWindow(bSelected && !m_bEditorPreview);
}

void CQuireBinderDlg::UpdateMoveButtons(int nIndex) {
    int nCount = m_wndContents.GetCount();
    if (nIndex == -1)
        nIndex = m_wndContents.GetCurSel();
    if (nCount < 2 || nIndex < 0) {
        m_btnMoveUp.EnableWindow(FALSE);
        m_btnMoveDown.EnableWindow(FALSE);
        return;
    }
    m_btnMoveUp.EnableWindow(nIndex != 0);
    m_btnMoveDown.EnableWindow(nIndex != nCount - 1);
}

void CQuireBinderDlg::OnInitMenu(CMenu* pMenu) {
    CDialog::OnInitMenu(pMenu);
    UpdateChapterMenuItems();
    UpdateEditMenuItems();
    UpdateUndoMenuItems();
}

void CQuireBinderDlg::UpdateChapterMenuItems() {
    for (const ButtonCommand& command : s_buttonCommands) {
        bool bEnabled = (this->*command.pButton).IsWindowEnabled();
        m_menuMain.EnableMenuItem(command.nMenuItem, MF_BYCOMMAND | (bEnabled ? MF_ENABLED : MF_GRAYED));
    }
}

BOOL CQuireBinderDlg::IsModified() {
    return m_wndContents.m_bChanged || m_bEarlierChapterEdits || m_wndEditor.GetModify() ||
           m_wndTitle.GetModify() || m_wndAuthor.GetModify();
}

void CQuireBinderDlg::ClearModified() {
    m_wndContents.m_bChanged = false;
    m_bEarlierChapterEdits = false;
    m_wndEditor.SetModify(FALSE);
    m_wndTitle.SetModify(FALSE);
    m_wndAuthor.SetModify(FALSE);
}
