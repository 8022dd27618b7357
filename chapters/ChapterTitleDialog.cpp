#include "ChapterTitleDialog.h"

#include <utility>

CChapterTitleDialog::CChapterTitleDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

std::string CChapterTitleDialog::NormalizeTitle(std::string title) {
    // The table of contents wraps single lines only.
    for (char& c : title) {
        if (c == '\n' || c == '\r' || c == '\t')
            c = ' ';
    }
    size_t nEnd = title.find_last_not_of(" \t\n\v\f\r");
    title.erase(nEnd == std::string::npos ? 0 : nEnd + 1);
    return title;
}

void CChapterTitleDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CHAPTER_TITLE_BOX, m_editTitle);
}

BOOL CChapterTitleDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    // The limit stops typing only: a longer title from a book file is still shown whole.
    m_editTitle.LimitText(kMaxTypedChars);
    m_editTitle.SetWindowText(m_strTitle.empty() ? "New Chapter" : m_strTitle.c_str());
    // Typing replaces the proposal at once.
    m_editTitle.SetSel(0, -1);
    m_editTitle.SetFocus();
    return TRUE;
}

void CChapterTitleDialog::OnOK() {
    std::string text;
    m_editTitle.GetWindowText(text);
    std::string title = NormalizeTitle(std::move(text));
    if (title.empty()) {
        // Refused: the box shows what was left of the text, nothing, and the dialog stays.
        m_editTitle.SetWindowText("");
        return;
    }
    // Taken over only when accepted, so that a later Cancel still leaves the title as given.
    m_strTitle = std::move(title);
    CDialog::OnOK();
}
