// Main window: Find, Find Next, Replace and Replace All across the whole book, through the
// platform's modeless Find and Replace dialogs.
#include "QuireBinderDlg.h"

#include <richedit.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "Book.h"

namespace {

constexpr const char* kWrapped = "Find reached the starting point";

// Lower case and word letters of the book's code page, asked of the system once.
struct CodePageLetters {
    std::array<unsigned char, 256> lower{};
    std::array<bool, 256> word{};
    CodePageLetters() {
        for (int c = 0; c < 256; ++c) {
            char sz[2] = {char(c), '\0'};
            if (c != 0)
                ::CharLowerBuffA(sz, 1);
            lower[size_t(c)] = static_cast<unsigned char>(sz[0]);
            word[size_t(c)] = c != 0 && (::IsCharAlphaNumericA(char(c)) || c == '_');
        }
    }
};

const CodePageLetters& Letters() {
    static const CodePageLetters s_letters;
    return s_letters;
}

}  // namespace

CTextFinder CQuireBinderDlg::MakeFinder() const {
    CTextFinder::Options options;
    options.bMatchCase = (m_dwFindFlags & FR_MATCHCASE) != 0;
    options.bWholeWord = (m_dwFindFlags & FR_WHOLEWORD) != 0;
    return CTextFinder(m_szFindWhat, options, Letters().lower, Letters().word);
}

void CQuireBinderDlg::OpenFindDialog(bool bReplace) {
    if (m_hFindDialog != nullptr) {
        bool bIsReplace = ::GetDlgItem(m_hFindDialog, 0x481 /* edt2, the replacement */) != nullptr;
        if (bIsReplace == bReplace) {
            ::SetActiveWindow(m_hFindDialog);
            return;
        }
        ::DestroyWindow(m_hFindDialog);
        m_hFindDialog = nullptr;
    }
    // A short selection in the editor is what the user wants to find, most likely.
    CHARRANGE range{};
    m_wndEditor.SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    if (range.cpMax > range.cpMin && range.cpMax - range.cpMin < LONG(sizeof m_szFindWhat)) {
        std::string strSelected(size_t(range.cpMax - range.cpMin) + 1, '\0');
        LRESULT nCopied = m_wndEditor.SendMessage(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(&strSelected[0]));
        strSelected.resize(size_t(nCopied > 0 ? nCopied : 0));
        if (strSelected.find_first_of("\r\n") == std::string::npos)
            lstrcpynA(m_szFindWhat, strSelected.c_str(), int(sizeof m_szFindWhat));
    }
    DWORD dwKept = m_dwFindFlags;
    m_findReplace = FINDREPLACEA{};
    m_findReplace.lStructSize = sizeof m_findReplace;
    m_findReplace.hwndOwner = m_hWnd;
    m_findReplace.lpstrFindWhat = m_szFindWhat;
    m_findReplace.wFindWhatLen = WORD(sizeof m_szFindWhat);
    m_findReplace.lpstrReplaceWith = m_szReplaceWith;
    m_findReplace.wReplaceWithLen = WORD(sizeof m_szReplaceWith);
    // The search always goes on through the following chapters.
    m_findReplace.Flags = dwKept | FR_DOWN | FR_HIDEUPDOWN;
    m_hFindDialog = bReplace ? ::ReplaceTextA(&m_findReplace) : ::FindTextA(&m_findReplace);
}

void CQuireBinderDlg::OnEditFind() {
    OpenFindDialog(false);
}

void CQuireBinderDlg::OnEditReplace() {
    OpenFindDialog(true);
}

void CQuireBinderDlg::OnEditFindNext() {
    if (m_szFindWhat[0] == '\0') {
        OpenFindDialog(false);
        return;
    }
    if (!FindNextMatch()) {
        std::string strText = std::string("Cannot find \"") + m_szFindWhat + "\".";
        ::MessageBoxA(m_hFindDialog != nullptr ? m_hFindDialog : m_hWnd, strText.c_str(), QB_PRODUCT_NAME,
                      MB_OK | MB_ICONINFORMATION);
    }
}

void CQuireBinderDlg::OnEditFindTitles() {
    m_bFindTitles = !m_bFindTitles;
    m_menuMain.CheckMenuItem(IDM_EDIT_FIND_TITLES, MF_BYCOMMAND | (m_bFindTitles ? MF_CHECKED : MF_UNCHECKED));
}

LRESULT CQuireBinderDlg::OnFindReplace(WPARAM, LPARAM lParam) {
    const auto* pFind = reinterpret_cast<const FINDREPLACEA*>(lParam);
    if (pFind == nullptr)
        return 0;
    // Closing the dialog clears its flags: the options of the last search stay for F3.
    if (pFind->Flags & FR_DIALOGTERM) {
        m_hFindDialog = nullptr;
        return 0;
    }
    m_dwFindFlags = pFind->Flags & (FR_MATCHCASE | FR_WHOLEWORD);
    if (pFind->Flags & FR_REPLACEALL)
        ReplaceAllMatches();
    else if (pFind->Flags & FR_REPLACE)
        ReplaceCurrentMatch();
    else if (pFind->Flags & FR_FINDNEXT)
        OnEditFindNext();
    return 0;
}

bool CQuireBinderDlg::FindNextMatch() {
    CTextFinder finder = MakeFinder();
    int nCount = m_wndContents.GetCount();
    if (finder.Empty() || nCount <= 0)
        return false;
    int nStart = m_wndContents.GetCurSel();
    if (nStart < 0)
        nStart = 0;
    std::string strShown;
    if (m_bEditorPreview || nStart != m_nCurrentChapter)
        strShown = theBook.ChapterText(uint32_t(nStart));
    else
        m_wndEditor.GetWindowText(strShown);
    CHARRANGE range{};
    m_wndEditor.SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    size_t nFrom = range.cpMax > 0 ? size_t(range.cpMax) : 0;

    auto Select = [&](size_t nAt, size_t nLength) {
        CHARRANGE found{LONG(nAt), LONG(nAt + nLength)};
        m_wndEditor.SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&found));
        m_wndEditor.SendMessage(EM_SCROLLCARET);
        if (m_hFindDialog == nullptr)
            m_wndEditor.SetFocus();
    };
    auto Show = [&](int nIndex) {
        if (nIndex != m_wndContents.GetCurSel()) {
            m_wndContents.SetCurSel(nIndex);
            ShowSelectedChapter();
            UpdateChapterButtons();
            UpdateBookSize();
        }
    };

    size_t nAt = finder.Find(strShown, nFrom);
    if (nAt != std::string::npos) {
        Select(nAt, finder.Length());
        return true;
    }
    for (int k = 1; k <= nCount; ++k) {
        int i = (nStart + k) % nCount;
        bool bWrapped = nStart + k >= nCount;
        std::string strTitle;
        m_wndContents.GetText(i, strTitle);
        if (m_bFindTitles && i != nStart && finder.Find(strTitle, 0) != std::string::npos) {
            Show(i);
            Select(0, 0);
            if (m_hFindDialog == nullptr)
                m_wndContents.SetFocus();
            if (bWrapped)
                m_wndStatusBar.SetText(kWrapped, 1, 0);
            return true;
        }
        // Back in the chapter it started from: only what lies before the start is left.
        const std::string& strText = i == nStart ? strShown : theBook.ChapterText(uint32_t(i));
        size_t nEnd = i == nStart ? nFrom + finder.Length() - 1 : std::string::npos;
        nAt = finder.Find(strText, 0, nEnd);
        if (nAt == std::string::npos)
            continue;
        Show(i);
        if (i != nStart && !m_bEditorPreview) {
            // The editor may show the text a little differently (zero bytes): find it there.
            std::string strEditor;
            m_wndEditor.GetWindowText(strEditor);
            size_t nInEditor = finder.Find(strEditor, nAt);
            nAt = nInEditor != std::string::npos ? nInEditor : finder.Find(strEditor, 0);
        }
        if (nAt != std::string::npos && !m_bEditorPreview)
            Select(nAt, finder.Length());
        if (bWrapped)
            m_wndStatusBar.SetText(kWrapped, 1, 0);
        return true;
    }
    return false;
}

void CQuireBinderDlg::ReplaceCurrentMatch() {
    CTextFinder finder = MakeFinder();
    CHARRANGE range{};
    m_wndEditor.SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    if (!m_bEditorPreview && m_nCurrentChapter >= 0 && size_t(range.cpMax - range.cpMin) == finder.Length()) {
        std::string strText;
        m_wndEditor.GetWindowText(strText);
        if (finder.MatchesAt(strText, size_t(range.cpMin)))
            InsertEditorText(m_szReplaceWith, std::strlen(m_szReplaceWith));
    }
    OnEditFindNext();
}

void CQuireBinderDlg::ReplaceAllMatches() {
    CTextFinder finder = MakeFinder();
    if (finder.Empty())
        return;
    KeepEditorText();
    int nShown = m_nCurrentChapter;
    std::string strShown = nShown >= 0 ? theBook.ChapterText(uint32_t(nShown)) : std::string();
    const std::string strWith = m_szReplaceWith;
    std::vector<SChapterRun> runs;
    size_t nReplaced = 0;
    int nCount = m_wndContents.GetCount();
    for (int i = 0; i < nCount; ++i) {
        SChapterRun run;
        run.nFirst = i;
        run.before = CaptureChapters(i, 1);
        SChapterRecord after = run.before[0];
        size_t nInText = 0;
        size_t nInTitle = 0;
        after.strText = finder.ReplaceAll(after.strText, strWith, &nInText);
        if (m_bFindTitles) {
            after.strListTitle = finder.ReplaceAll(after.strListTitle, strWith, &nInTitle);
            if (nInTitle > 0)
                after.strTitle = after.strListTitle;
        }
        if (nInText + nInTitle == 0)
            continue;
        run.after.push_back(after);
        ReplaceChapters(i, 1, run.after);
        runs.push_back(std::move(run));
        nReplaced += nInText + nInTitle;
    }
    size_t nChapters = runs.size();
    if (!runs.empty()) {
        RecordChapterCommand("Replace All", std::move(runs), nShown);
        ShowChaptersAfterStep(nShown, strShown, nShown);
    }
    std::string strReport = std::to_string(nReplaced) + (nReplaced == 1 ? " replacement in " : " replacements in ") +
                            std::to_string(nChapters) + (nChapters == 1 ? " chapter" : " chapters");
    ::MessageBoxA(m_hFindDialog != nullptr ? m_hFindDialog : m_hWnd, strReport.c_str(), QB_PRODUCT_NAME,
                  MB_OK | MB_ICONINFORMATION);
}
