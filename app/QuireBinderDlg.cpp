// Main window: construction, message map, initialisation, tooltips, painting, system menu, the keys
// that would end a dialog, Exit and Close.
#include "QuireBinderDlg.h"

#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "AboutDlg.h"
#include "Book.h"
#include "IncomingText.h"
#include "MessageSink.h"
#include "RecoveryFile.h"

namespace {

constexpr const char* kPlacementSection = "WindowPlacements";
constexpr const char* kMaximizedEntry = "AppWindowMaximized";

// The window that shows the book writer's messages.
CQuireBinderDlg* g_pMessageOwner = nullptr;

class CBookMessageBox : public CMessageSink {
public:
    void Show(const char* lpszText) override {
        HWND hOwner = g_pMessageOwner != nullptr ? g_pMessageOwner->GetSafeHwnd() : nullptr;
        ::MessageBoxA(hOwner, lpszText, QB_PRODUCT_NAME, MB_OK | MB_ICONERROR);
    }
};

CBookMessageBox g_bookMessageBox;

std::string LoadString(UINT nID) {
    char buffer[256];
    int nLength = nID != 0 ? ::LoadStringA(AfxGetResourceHandle(), nID, buffer, int(sizeof(buffer))) : 0;
    return std::string(buffer, size_t(nLength > 0 ? nLength : 0));
}

}  // namespace

struct CQuireBinderDlg::ImageButtonSpec {
    int nID;
    CImageButton CQuireBinderDlg::*pButton;
    UINT nIcon;
    UINT nTip;
};

const CQuireBinderDlg::ImageButtonSpec CQuireBinderDlg::s_imageButtons[11] = {
    {IDC_NEW_CHAPTER, &CQuireBinderDlg::m_btnNewChapter, IDI_NEW_CHAPTER, IDS_TIP_NEW_CHAPTER},
    {IDC_DELETE_CHAPTER, &CQuireBinderDlg::m_btnDeleteChapter, IDI_DELETE_CHAPTER, IDS_TIP_DELETE_CHAPTER},
    {IDC_RENAME_CHAPTER, &CQuireBinderDlg::m_btnRenameChapter, IDI_RENAME_CHAPTER, IDS_TIP_RENAME_CHAPTER},
    {IDC_MOVE_UP, &CQuireBinderDlg::m_btnMoveUp, IDI_MOVE_UP, IDS_TIP_MOVE_UP},
    {IDC_MOVE_DOWN, &CQuireBinderDlg::m_btnMoveDown, IDI_MOVE_DOWN, IDS_TIP_MOVE_DOWN},
    {IDC_IMPORT_TEXT, &CQuireBinderDlg::m_btnImportText, IDI_IMPORT_TEXT, IDS_TIP_IMPORT_TEXT},
    {IDC_PASTE_TEXT, &CQuireBinderDlg::m_btnPasteText, IDI_PASTE_TEXT, IDS_TIP_PASTE_TEXT},
    {IDC_NEW_BOOK, &CQuireBinderDlg::m_btnNewBook, IDI_NEW_BOOK, IDS_TIP_NEW_BOOK},
    {IDC_OPEN_BOOK, &CQuireBinderDlg::m_btnOpenBook, IDI_OPEN_BOOK, IDS_TIP_OPEN_BOOK},
    {IDC_SAVE_BOOK, &CQuireBinderDlg::m_btnSaveBook, IDI_SAVE_BOOK, IDS_TIP_SAVE_BOOK},
    {IDC_SEND_BOOK, &CQuireBinderDlg::m_btnSendBook, IDI_SEND_BOOK, IDS_TIP_SEND_BOOK},
};

// F1 reaches the main window as the framework's help command; the Help menu item must be that
// command for the key to open Help.
static_assert(AFX_ID_HELP == IDM_HELP, "F1 must send the Help menu item's command");
static_assert(IDM_RECENT_BOOK_LAST - IDM_RECENT_BOOK_FIRST + 1 == CRecentBooks::kMaxBooks,
              "one command for each recent book");

// The Find and Replace dialogs report to their owner with this message.
static const UINT g_nFindReplaceMessage = ::RegisterWindowMessageA(FINDMSGSTRINGA);

BEGIN_MESSAGE_MAP(CQuireBinderDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_SIZING()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_DRAWCLIPBOARD()
    ON_WM_CHANGECBCHAIN()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_MESSAGE(kOfferRecoveryMessage, &CQuireBinderDlg::OnOfferRecovery)
    ON_COMMAND(IDM_FILE_NEW, &CQuireBinderDlg::OnFileNew)
    ON_BN_CLICKED(IDC_NEW_BOOK, &CQuireBinderDlg::OnFileNew)
    ON_COMMAND(IDM_FILE_OPEN, &CQuireBinderDlg::OnFileOpen)
    ON_BN_CLICKED(IDC_OPEN_BOOK, &CQuireBinderDlg::OnFileOpen)
    ON_COMMAND(IDM_FILE_SAVE, &CQuireBinderDlg::OnFileSave)
    ON_BN_CLICKED(IDC_SAVE_BOOK, &CQuireBinderDlg::OnFileSave)
    ON_COMMAND(IDM_FILE_SAVE_AS, &CQuireBinderDlg::OnFileSaveAs)
    ON_COMMAND(IDM_FILE_EXIT, &CQuireBinderDlg::OnFileExit)
    ON_COMMAND(IDM_FILE_SAVE_SEND, &CQuireBinderDlg::OnSaveAndSend)
    ON_BN_CLICKED(IDC_SEND_BOOK, &CQuireBinderDlg::OnSaveAndSend)
    ON_COMMAND(IDM_HELP, &CQuireBinderDlg::OnHelp)
    ON_COMMAND(IDM_ABOUT, &CQuireBinderDlg::OnAbout)
    ON_WM_INITMENU()
    ON_BN_CLICKED(IDC_NEW_CHAPTER, &CQuireBinderDlg::OnNewChapter)
    ON_COMMAND_ID(IDM_NEW_CHAPTER, &CQuireBinderDlg::OnButtonMenuCommand)
    ON_BN_CLICKED(IDC_RENAME_CHAPTER, &CQuireBinderDlg::OnRenameChapter)
    ON_COMMAND_ID(IDM_RENAME_CHAPTER, &CQuireBinderDlg::OnButtonMenuCommand)
    ON_BN_CLICKED(IDC_DELETE_CHAPTER, &CQuireBinderDlg::OnDeleteChapter)
    ON_COMMAND_ID(IDM_DELETE_CHAPTER, &CQuireBinderDlg::OnButtonMenuCommand)
    ON_BN_CLICKED(IDC_MOVE_UP, &CQuireBinderDlg::OnMoveChapterUp)
    ON_COMMAND_ID(IDM_MOVE_UP, &CQuireBinderDlg::OnButtonMenuCommand)
    ON_BN_CLICKED(IDC_MOVE_DOWN, &CQuireBinderDlg::OnMoveChapterDown)
    ON_COMMAND_ID(IDM_MOVE_DOWN, &CQuireBinderDlg::OnButtonMenuCommand)
    ON_COMMAND_ID(IDM_ADD_CHAPTERS, &CQuireBinderDlg::OnButtonMenuCommand)
    ON_COMMAND_ID(IDM_SPLIT_AT_CURSOR, &CQuireBinderDlg::OnButtonMenuCommand)
    ON_COMMAND_ID(IDM_MERGE_NEXT, &CQuireBinderDlg::OnButtonMenuCommand)
    ON_COMMAND_ID(IDM_SPLIT_INTO_CHAPTERS, &CQuireBinderDlg::OnButtonMenuCommand)
    ON_MESSAGE(WM_DROPFILES, &CQuireBinderDlg::OnDropFiles)
    ON_LBN_SELCHANGE(IDC_CONTENTS, &CQuireBinderDlg::OnContentsSelChange)
    ON_BN_CLICKED(IDC_IMPORT_TEXT, &CQuireBinderDlg::OnAddTextFromFile)
    ON_COMMAND_ID(IDM_IMPORT_TEXT, &CQuireBinderDlg::OnButtonMenuCommand)
    ON_BN_CLICKED(IDC_PASTE_TEXT, &CQuireBinderDlg::OnPasteTextFromClipboard)
    ON_COMMAND_ID(IDM_PASTE_TEXT, &CQuireBinderDlg::OnButtonMenuCommand)
    ON_COMMAND(IDM_EDIT_CUT, &CQuireBinderDlg::OnEditCut)
    ON_COMMAND(IDM_EDITOR_CUT, &CQuireBinderDlg::OnEditCut)
    ON_COMMAND(IDM_EDIT_COPY, &CQuireBinderDlg::OnEditCopy)
    ON_COMMAND(IDM_EDITOR_COPY, &CQuireBinderDlg::OnEditCopy)
    ON_COMMAND(IDM_EDIT_PASTE, &CQuireBinderDlg::OnEditPaste)
    ON_COMMAND(IDM_EDITOR_PASTE, &CQuireBinderDlg::OnEditPaste)
    ON_COMMAND(IDM_EDIT_DELETE, &CQuireBinderDlg::OnEditClear)
    ON_COMMAND(IDM_EDITOR_DELETE, &CQuireBinderDlg::OnEditClear)
    ON_COMMAND(IDM_EDIT_SELECT_ALL, &CQuireBinderDlg::OnEditSelectAll)
    ON_COMMAND(IDM_EDITOR_SELECT_ALL, &CQuireBinderDlg::OnEditSelectAll)
    ON_COMMAND(IDM_EDITOR_UNDO, &CQuireBinderDlg::OnEditUndo)
    ON_NOTIFY(EN_MSGFILTER, IDC_EDITOR, &CQuireBinderDlg::OnEditorMsgFilter)
    ON_EN_SETFOCUS(IDC_AUTHOR, &CQuireBinderDlg::OnAuthorSetFocus)
    ON_EN_SETFOCUS(IDC_TITLE, &CQuireBinderDlg::OnTitleSetFocus)
    ON_EN_SETFOCUS(IDC_EDITOR, &CQuireBinderDlg::OnEditorSetFocus)
    ON_EN_KILLFOCUS(IDC_AUTHOR, &CQuireBinderDlg::OnEditKillFocus)
    ON_EN_KILLFOCUS(IDC_TITLE, &CQuireBinderDlg::OnEditKillFocus)
    ON_EN_KILLFOCUS(IDC_EDITOR, &CQuireBinderDlg::OnEditKillFocus)
    ON_LBN_KILLFOCUS(IDC_CONTENTS, &CQuireBinderDlg::OnContentsKillFocus)
    ON_EN_CHANGE(IDC_EDITOR, &CQuireBinderDlg::OnEditorChange)
    ON_COMMAND(IDM_EDIT_UNDO, &CQuireBinderDlg::OnEditUndoCommand)
    ON_COMMAND(IDM_EDIT_REDO, &CQuireBinderDlg::OnEditRedoCommand)
    ON_MESSAGE(WM_MENUCHAR, &CQuireBinderDlg::OnMenuChar)
    ON_COMMAND(IDM_EDIT_FIND, &CQuireBinderDlg::OnEditFind)
    ON_COMMAND(IDM_EDIT_FIND_NEXT, &CQuireBinderDlg::OnEditFindNext)
    ON_COMMAND(IDM_EDIT_REPLACE, &CQuireBinderDlg::OnEditReplace)
    ON_COMMAND(IDM_EDIT_FIND_TITLES, &CQuireBinderDlg::OnEditFindTitles)
    ON_MESSAGE(g_nFindReplaceMessage, &CQuireBinderDlg::OnFindReplace)
    ON_COMMAND_ID(IDM_RECENT_BOOK_FIRST + 0, &CQuireBinderDlg::OnRecentBook)
    ON_COMMAND_ID(IDM_RECENT_BOOK_FIRST + 1, &CQuireBinderDlg::OnRecentBook)
    ON_COMMAND_ID(IDM_RECENT_BOOK_FIRST + 2, &CQuireBinderDlg::OnRecentBook)
    ON_COMMAND_ID(IDM_RECENT_BOOK_FIRST + 3, &CQuireBinderDlg::OnRecentBook)
    ON_COMMAND_ID(IDM_RECENT_BOOK_FIRST + 4, &CQuireBinderDlg::OnRecentBook)
    ON_COMMAND_ID(IDM_RECENT_BOOK_FIRST + 5, &CQuireBinderDlg::OnRecentBook)
    ON_COMMAND_ID(IDM_RECENT_BOOK_FIRST + 6, &CQuireBinderDlg::OnRecentBook)
    ON_COMMAND_ID(IDM_RECENT_BOOK_FIRST + 7, &CQuireBinderDlg::OnRecentBook)
END_MESSAGE_MAP()

CQuireBinderDlg::CQuireBinderDlg(CWnd* pParent) : CDialog(IDD, pParent) {
    m_hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_QUIREBINDER));
    g_pMessageOwner = this;
    CMessageSink::SetActive(&g_bookMessageBox);
}

CQuireBinderDlg::~CQuireBinderDlg() {
    if (g_pMessageOwner == this) {
        g_pMessageOwner = nullptr;
        CMessageSink::SetActive(nullptr);
    }
}

void CQuireBinderDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CHAPTER_LABEL, m_wndChapterLabel);
    DDX_Control(pDX, IDC_HEADER_FRAME, m_wndHeaderFrame);
    DDX_Control(pDX, IDC_CHAPTERS_FRAME, m_wndChaptersFrame);
    DDX_Control(pDX, IDC_CONTENTS, m_wndContents);
    DDX_Control(pDX, IDC_EDITOR, m_wndEditor);
    DDX_Control(pDX, IDC_TITLE, m_wndTitle);
    DDX_Control(pDX, IDC_AUTHOR, m_wndAuthor);
    for (const ImageButtonSpec& spec : s_imageButtons)
        DDX_Control(pDX, spec.nID, this->*spec.pButton);
}

BOOL CQuireBinderDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    std::string strAbout = LoadString(IDS_ABOUTBOX);
    if (CMenu* pSysMenu = GetSystemMenu(FALSE); pSysMenu != nullptr && !strAbout.empty()) {
        pSysMenu->AppendMenu(MF_SEPARATOR);
        pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAbout.c_str());
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    m_wndStatusBar.Create(WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP, CRect(), this, IDC_STATUS_BAR);
    SetStatusParts();

    m_wndAuthor.LimitText(50);
    m_wndTitle.LimitText(50);
    m_wndEditor.SetEventMask(ENM_CHANGE | ENM_MOUSEEVENTS);
    m_wndEditor.LimitText(kEditorTextLimit);

    m_menuMain.LoadMenu(IDR_MAINMENU);
    SetMenu(&m_menuMain);
    m_menuContext.LoadMenu(IDR_EDITOR_MENU);
    m_hAddedAccel = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_ADDED_ACCELERATORS));

    for (const ImageButtonSpec& spec : s_imageButtons)
        (this->*spec.pButton).SetIcon(spec.nIcon, 0);

    EnableToolTips(TRUE);
    // Files dropped anywhere on the window, the list and the editor included, reach it.
    ::DragAcceptFiles(m_hWnd, TRUE);
    ResetDocument();
    m_strDocDir.clear();

    m_hWndNextViewer = nullptr;
    m_hWndNextViewer = ::SetClipboardViewer(m_hWnd);

    m_bTitleDialogOpen = false;
    LoadRecentBooks();
    OpenCommandLineBook();
    StartRecovery();

    int nMaximized =
        AfxGetApp() != nullptr ? AfxGetApp()->GetProfileInt(kPlacementSection, kMaximizedEntry, -1) : -1;
    if (nMaximized != 0 && nMaximized != -1)
        SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE);
    return TRUE;
}

INT_PTR CQuireBinderDlg::OnToolHitTest(POINT point, TOOLINFOA* pTI) const {
    INT_PTR nHit = CDialog::OnToolHitTest(point, pTI);
    if (pTI != nullptr) {
        UINT nTip = 0;  // string 0 loads as empty: no tip over the other controls
        for (const ImageButtonSpec& spec : s_imageButtons) {
            if (spec.nID == nHit)
                nTip = spec.nTip;
        }
        std::string strTip = LoadString(nTip);
        // The framework frees the text after use.
        auto* pszText = static_cast<char*>(std::malloc(strTip.size() + 1));
        if (pszText != nullptr)
            std::memcpy(pszText, strTip.c_str(), strTip.size() + 1);
        pTI->lpszText = pszText;
    }
    return nHit;
}

BOOL CQuireBinderDlg::PreTranslateMessage(MSG* pMsg) {
    NoteUserInput(pMsg);
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    // The editor would paste Shift+Insert itself, past the program's limit on its text.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_INSERT && pMsg->hwnd == m_wndEditor.m_hWnd &&
        ::GetKeyState(VK_SHIFT) < 0 && ::GetKeyState(VK_CONTROL) >= 0) {
        PasteClipboardText();
        return TRUE;
    }
    if (TranslateChapterKeys(pMsg))
        return TRUE;
    BOOL bDone = CDialog::PreTranslateMessage(pMsg);
    RefuseUnstorableTyping(m_hWnd, {m_wndAuthor.m_hWnd, m_wndTitle.m_hWnd, m_wndEditor.m_hWnd});
    return bDone;
}

BOOL CQuireBinderDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    // Enter in a control that does not take it arrives as IDOK with code 0: it must not end the window.
    if (wParam == IDOK)
        return TRUE;
    return CDialog::OnCommand(wParam, lParam);
}

void CQuireBinderDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX)
        OnAbout();
    else
        CDialog::OnSysCommand(nID, lParam);
}

void CQuireBinderDlg::OnAbout() {
    CAboutDlg dlgAbout;
    dlgAbout.DoModal();
}

void CQuireBinderDlg::OnPaint() {
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        CRect rect;
        GetClientRect(&rect);
        int x = (rect.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        int y = (rect.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
    } else {
        CRect rect;
        GetClientRect(&rect);
        CPaintDC dc(this);
        // Separates the menu bar from the controls.
        dc.DrawEdge(&rect, EDGE_ETCHED, BF_TOP);
        CDialog::OnPaint();
    }
}

HCURSOR CQuireBinderDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

void CQuireBinderDlg::OnFileExit() {
    // Leaving through Exit keeps the stored window state as it was.
    if (QuerySave())
        EndDialog(0);
}

void CQuireBinderDlg::OnClose() {
    if (!QuerySave())
        return;
    if (CWinApp* pApp = AfxGetApp())
        pApp->WriteProfileInt(kPlacementSection, kMaximizedEntry, IsZoomed());
    CDialog::OnClose();
}
