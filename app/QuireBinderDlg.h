// The main window: the book's author and title, the table of contents, the chapter editor, two
// rows of icon buttons, the menu bar and the status bar. This header is the one place that lists
// every member and handler of the window; the handlers live with the part of the program that
// owns them:
//   app/QuireBinderDlg.cpp        initialisation, tooltips, painting, system menu, keys, Exit, Close
//   app/WindowLayout.cpp          minimum size and layout on resizing
//   app/DocumentCommands.cpp      New, Open, Save, Save As, the save-changes prompt, the caption
//   app/SendAndHelp.cpp           Save and Send, Help
//   app/RecentBookCommands.cpp    the recent books in the File menu
//   app/CrashRecovery.cpp         the copy of unsaved work kept against a crash, and its offer
//   chapters/ChapterCommands.cpp  chapter commands, button and menu states, the modified state
//   chapters/EditorClipboard.cpp  Edit commands, focus tracking, context menu, clipboard chain
//   chapters/ImportAndSize.cpp    text import and the book-size display
//   chapters/TextInsertion.cpp    text from outside into the editor, within its limit
//   chapters/ChapterUndo.cpp      Undo and Redo of chapter commands
//   chapters/ChapterKeys.cpp      keys on the contents list, the added shortcuts, access letters
//   chapters/ChapterFiles.cpp     chapters from files, split and merge
//   chapters/FindReplace.cpp      Find, Find Next, Replace and Replace All across the book
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Chapter.h"
#include "Framework.h"
#include "ChapterEditor.h"
#include "ChapterHistory.h"
#include "ContentsListBox.h"
#include "ImageButton.h"
#include "RecentBooks.h"
#include "TextCounts.h"
#include "TextFinder.h"
#include "resource.h"

class CRecoveryFile;

class CQuireBinderDlg : public CDialog {
public:
    enum { IDD = IDD_QUIREBINDER_DIALOG };

    explicit CQuireBinderDlg(CWnd* pParent = nullptr);
    ~CQuireBinderDlg() override;

    // The executable's directory; set before the window is created, used to find the help file.
    std::string m_strAppDir;
    // Where the copy of an unsaved book is kept against a crash; empty: none is kept. Set before
    // the window is created.
    std::string m_strRecoveryDir;
    // The copy is written once the user has paused this long, and not again within the interval.
    DWORD m_nAutosavePauseMs = 2000;
    DWORD m_nAutosaveIntervalMs = 30000;
    // True while the chapter title dialog is open: the application then translates no accelerators.
    bool m_bTitleDialogOpen = false;

    INT_PTR OnToolHitTest(POINT point, TOOLINFOA* pTI) const override;
    // Swallows Escape wherever the focus is, so that it never ends the window.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Document operations.
    BOOL QuerySave();
    void ResetDocument();
    // bRecent false: a file the user did not choose (a recovered copy) stays out of the recent books.
    void OpenBook(const char* lpszPath, bool bRecent = true);
    void OpenCommandLineBook();
    BOOL SaveBook(BOOL bCheckName);
    BOOL AskSaveAsName();
    // False, after saying so, when the book has more chapters than a saved book can hold.
    BOOL FitsChapterLimit();

    // Recent books: read from the settings at start, a book opened or saved goes first.
    void LoadRecentBooks();
    void RememberRecentBook(const std::string& strPath);
    void UpdateRecentBooksMenu();
    CRecentBooks m_recentBooks;

    // Chapter operations and states.
    void ShowSelectedChapter();
    void ShowChapterTitle(int nIndex);
    void UpdateChapterButtons();
    void UpdateMoveButtons(int nIndex);
    void UpdateChapterMenuItems();
    BOOL IsModified();
    void ClearModified();
    // Puts the text of a chapter (-1: none) into the editor in a form the editor can take, and
    // starts watching it for the user's changes.
    void ShowChapterText(int nIndex);
    // Stores the editor's text into the book's chapter on show if the user changed it; a text the
    // user did not touch keeps its exact bytes in the book.
    void KeepEditorText();
    // Tells the user that a saved book holds at most CBook::kMaxSavedChapters chapters; with
    // nToGo above 0, also how many chapters must go before this book can be saved.
    void ShowChapterLimit(int nToGo);

    // The chapter editor's limit in characters, enforced by the program itself.
    static constexpr long kEditorTextLimit = 0x100000;

    // Editor, clipboard and focus.
    // Inserts ANSI text at the editor's caret, replacing its selection, undo allowed: only what
    // fits within the limit, and says so when the text was cut. Every way in goes through here.
    void InsertEditorText(const char* pText, size_t nLength);
    // Inserts the clipboard's plain text through InsertEditorText.
    void PasteClipboardText();
    void UpdatePasteButton();
    void UpdateEditMenuItems();
    void RestoreFocus();
    CWnd* GetEditTarget();
    void ShowEditorContextMenu(MSGFILTER* pFilter);

    // Book size in the status bar, and the counts beside it.
    void UpdateBookSize();
    // Inserts a .txt or .rtf file's text at the editor's caret, converted into the book's code
    // page; says why when it cannot.
    void InsertTextFile(const std::string& strPath);

    // Chapters from files, split and merged. Each such change of the book and the list together
    // is one call, recorded as one step of the chapter history under the command's name: nRemove
    // chapters at nFirst give way to `chapters`, then chapter nShow is shown.
    void ChangeChapters(const char* lpszCommand, int nFirst, int nRemove, const std::vector<CChapter>& chapters,
                        int nShow);
    // One chapter per file (.txt or .rtf) at position nAt, in natural order of the file names,
    // each titled with its file's name; what could not be added is listed once at the end.
    void AddChapterFiles(std::vector<std::string> paths, int nAt);
    // Counts the chapter on show (a large one a moment after the typing stops, so that keys stay
    // quick) and shows its counts and the book's in the status bar's second part.
    void UpdateCounts(bool bNow);
    // The status bar's parts: the size, then the counts.
    void SetStatusParts();
    static constexpr int kCountNowLimit = 65536;
    static constexpr UINT_PTR kCountTimer = 1;

    // Undo and Redo of chapter commands. A command takes the chapters it is about to change with
    // CaptureChapters (the editor's text is stored into the book first), does its work, then
    // RecordChapterCommand with how many chapters took their place; a step may hold several runs.
    std::vector<SChapterRecord> CaptureChapters(int nFirst, int nCount);
    SChapterRun BeginChapterRun(int nFirst, int nCount);
    void EndChapterRun(SChapterRun& run, int nCountAfter);
    void RecordChapterCommand(const char* lpszName, std::vector<SChapterRun> runs, int nSelectedBefore);
    void UndoChapterCommand();
    void RedoChapterCommand();
    void UpdateUndoMenuItems();
    CChapterHistory m_history;

    // Crash recovery.
    static constexpr UINT_PTR kAutosaveTimer = 2;
    static constexpr UINT kOfferRecoveryMessage = WM_APP + 1;
    void StartRecovery();
    // A key or a click, and when: the copy waits for a pause in them.
    void NoteUserInput(const MSG* pMsg);
    void AutosaveIfPaused();
    // The copy goes with the unsaved changes: after a save, a new or opened book, a normal end.
    void DiscardRecovery();
    // Offers, one at a time, the copies that programs which did not close normally left behind.
    LRESULT OnOfferRecovery(WPARAM wParam, LPARAM lParam);
    void RecoverBook(const std::string& strPath, const std::string& strDocDir, const std::string& strDocName,
                     bool bUntitled);

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    // Window messages.
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnSizing(UINT fwSide, LPRECT pRect);
    void OnSize(UINT nType, int cx, int cy);
    void OnClose();
    void OnInitMenu(CMenu* pMenu);
    void OnDrawClipboard();
    void OnChangeCbChain(HWND hWndRemove, HWND hWndAfter);
    void OnDestroy();
    // The counts' delayed recount and the recovery copy's pauses.
    void OnTimer(UINT_PTR nIDEvent);

    // File and Help menus.
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnSaveAndSend();
    void OnFileExit();
    void OnHelp();
    void OnAbout();
    // A recent book chosen in the File menu; one that is gone is offered for removal.
    void OnRecentBook(UINT nID);

    // Chapter commands.
    void OnNewChapter();
    void OnRenameChapter();
    void OnDeleteChapter();
    void OnMoveChapterUp();
    void OnMoveChapterDown();
    void OnAddChaptersFromFiles();
    void OnSplitAtCursor();
    void OnMergeWithNext();
    void OnSplitIntoChapters();
    // A .book opens (behind the save-changes prompt); .txt and .rtf files become chapters at the
    // drop position in the list, or one file's text goes in at the editor's caret.
    LRESULT OnDropFiles(WPARAM wParam, LPARAM lParam);
    void OnContentsSelChange();
    // A menu command that mirrors a button (s_buttonCommands) acts only while the button is enabled.
    void OnButtonMenuCommand(UINT nID);

    // Editor and clipboard.
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditClear();
    void OnEditSelectAll();
    void OnEditUndo();
    void OnPasteTextFromClipboard();
    void OnAuthorSetFocus();
    void OnTitleSetFocus();
    void OnEditorSetFocus();
    void OnEditKillFocus();
    void OnContentsKillFocus();
    void OnEditorMsgFilter(NMHDR* pNotifyStruct, LRESULT* pResult);

    // Undo and Redo in the Edit menu (Ctrl+Z, Ctrl+Y): the focused edit's own when it has one,
    // the chapter history's otherwise.
    void OnEditUndoCommand();
    void OnEditRedoCommand();
    // The edit box with the focus when it has something to undo (bRedo: redo); null otherwise.
    HWND FocusedEditWithUndo(bool bRedo);
    // Replaces nOld chapters from nFirst on by `records` in the list and the book.
    void ReplaceChapters(int nFirst, int nOld, const std::vector<SChapterRecord>& records);
    // After an undo or redo: selects nSelected and shows it, unless the editor shows it already.
    void ShowChaptersAfterStep(int nSelected, const std::string& strShownBefore, int nShownBefore);

    // Find and Replace through the platform's modeless dialogs, across every chapter.
    void OnEditFind();
    void OnEditFindNext();
    void OnEditReplace();
    void OnEditFindTitles();
    LRESULT OnFindReplace(WPARAM wParam, LPARAM lParam);
    void OpenFindDialog(bool bReplace);
    // From the caret on through the following chapters, once round the book. False when the text
    // is nowhere.
    bool FindNextMatch();
    void ReplaceCurrentMatch();
    void ReplaceAllMatches();
    CTextFinder MakeFinder() const;

    // Keys: the contents list's own (Insert, F2, Delete, Ctrl+Up, Ctrl+Down) and the added
    // shortcuts; true when the key was taken.
    BOOL TranslateChapterKeys(MSG* pMsg);
    // Access letters for the menu items whose texts have none.
    LRESULT OnMenuChar(WPARAM wParam, LPARAM lParam);

    // Import and book size.
    void OnAddTextFromFile();
    void OnEditorChange();

    // Sets the caption from the document name.
    void UpdateCaption();

    // The icon buttons, in the order they are attached, with their icons and tooltip strings.
    struct ImageButtonSpec;
    static const ImageButtonSpec s_imageButtons[11];
    // The menu commands that mirror a button: greyed while it is disabled, and acting only while it
    // is enabled (an accelerator reaches them even when the item is greyed).
    struct ButtonCommand;
    static const ButtonCommand s_buttonCommands[11];

    CStatic m_wndChapterLabel;
    CButton m_wndHeaderFrame;
    CButton m_wndChaptersFrame;
    CContentsListBox m_wndContents;
    CChapterEditor m_wndEditor;
    CEdit m_wndTitle;
    CEdit m_wndAuthor;
    HICON m_hIcon = nullptr;
    // The chapter whose text the editor shows; -1 for none.
    int m_nCurrentChapter = -1;
    // Changes the user made to chapters that are no longer on show: the editor's own modification
    // flag covers only the chapter on show.
    bool m_bEarlierChapterEdits = false;
    // The chapter on show is too big for the editor: the editor shows its start, read-only.
    bool m_bEditorPreview = false;
    CStatusBarCtrl m_wndStatusBar;
    // The counts of the text on show when it was last counted.
    STextCounts m_shownCounts;
    CMenu m_menuMain;
    CMenu m_menuContext;
    std::string m_strDocDir;
    std::string m_strDocName;
    CImageButton m_btnNewChapter;
    CImageButton m_btnDeleteChapter;
    CImageButton m_btnRenameChapter;
    CImageButton m_btnImportText;
    CImageButton m_btnMoveUp;
    CImageButton m_btnMoveDown;
    CImageButton m_btnPasteText;
    CImageButton m_btnNewBook;
    CImageButton m_btnOpenBook;
    CImageButton m_btnSaveBook;
    CImageButton m_btnSendBook;
    bool m_bUntitled = true;
    // New or Open is refilling the window: the size and counts are shown once at the end, and the
    // editor is painted with the rest of the window rather than at once.
    bool m_bRefilling = false;
    // Which edit had the focus last and which control RestoreFocus goes back to:
    // 1 Author, 2 Title, 3 chapter editor; for the restore target anything else is the list.
    int m_nLastFocusedEdit = 0;
    int m_nFocusRestoreTarget = 0;
    HWND m_hWndNextViewer = nullptr;
    // The shortcuts added to the design's table (Save As, Undo, Redo and the rest).
    HACCEL m_hAddedAccel = nullptr;

public:
    // The open Find or Replace dialog, whose keys the application lets it have; null when none.
    HWND m_hFindDialog = nullptr;

protected:
    FINDREPLACEA m_findReplace{};
    char m_szFindWhat[256] = "";
    char m_szReplaceWith[256] = "";
    bool m_bFindTitles = false;
    DWORD m_dwFindFlags = 0;  // match case, whole word

    std::unique_ptr<CRecoveryFile> m_pRecovery;
    // The recovery file holds this book's unsaved changes.
    bool m_bRecoveryWritten = false;
    // A key or click since the last copy was written (or tried).
    bool m_bInputSinceAutosave = false;
    bool m_bAutosaveTried = false;
    DWORD m_dwLastInput = 0;
    DWORD m_dwLastAutosave = 0;
    FILETIME m_ftLastChange = {0, 0};
    // How long the last copy took to write, for the measurements.
    DWORD m_dwAutosaveMs = 0;

    DECLARE_MESSAGE_MAP()
};
