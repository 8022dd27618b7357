#include "SplitChapterDialog.h"

#include <cstdlib>

namespace {

// In the order of the rule list.
const SSplitRule::EKind kKinds[] = {SSplitRule::EKind::ChapterHeading, SSplitRule::EKind::MarkdownHeading,
                                    SSplitRule::EKind::Separator, SSplitRule::EKind::BlankLines,
                                    SSplitRule::EKind::Expression};
const char* const kRuleNames[] = {
    "Lines that start with \"Chapter\" and a number",
    "Markdown headings (\"# \" and \"## \")",
    "Separator lines (\"* * *\", \"---\" and the like)",
    "Blank lines in a row (how many: below)",
    "Lines in which an expression matches (below)",
};

std::string ItemText(HWND hDlg, int nID) {
    std::string text(size_t(::GetWindowTextLengthA(::GetDlgItem(hDlg, nID))) + 1, '\0');
    text.resize(size_t(::GetDlgItemTextA(hDlg, nID, &text[0], int(text.size()))));
    return text;
}

}  // namespace

CSplitChapterDialog::CSplitChapterDialog(const std::string& text, const std::string& title, CWnd* pParent)
    : CDialog(IDD, pParent), m_strText(text), m_strTitle(title) {}

BOOL CSplitChapterDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    for (const char* name : kRuleNames)
        ::SendDlgItemMessageA(m_hWnd, IDC_SPLIT_RULE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    ::SendDlgItemMessageA(m_hWnd, IDC_SPLIT_RULE, CB_SETCURSEL, 0, 0);
    ::SetDlgItemTextA(m_hWnd, IDC_SPLIT_BLANK_LINES, "3");
    ::CheckDlgButton(m_hWnd, IDC_SPLIT_KEEP_LINES, BST_CHECKED);
    int nTabs[] = {200};
    ::SendDlgItemMessageA(m_hWnd, IDC_SPLIT_PREVIEW, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(nTabs));
    UpdatePreview();
    return TRUE;
}

BOOL CSplitChapterDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    int nID = LOWORD(wParam), nCode = HIWORD(wParam);
    if ((nID == IDC_SPLIT_RULE && nCode == CBN_SELCHANGE) ||
        ((nID == IDC_SPLIT_EXPRESSION || nID == IDC_SPLIT_BLANK_LINES) && nCode == EN_CHANGE) ||
        (nID == IDC_SPLIT_KEEP_LINES && nCode == BN_CLICKED)) {
        UpdatePreview();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CSplitChapterDialog::UpdatePreview() {
    SSplitRule rule;
    int nRule = int(::SendDlgItemMessageA(m_hWnd, IDC_SPLIT_RULE, CB_GETCURSEL, 0, 0));
    rule.kind = kKinds[nRule >= 0 && nRule < 5 ? nRule : 0];
    rule.nBlankLines = unsigned(std::atoi(ItemText(m_hWnd, IDC_SPLIT_BLANK_LINES).c_str()));
    rule.expression = ItemText(m_hWnd, IDC_SPLIT_EXPRESSION);
    rule.bKeepLines = ::IsDlgButtonChecked(m_hWnd, IDC_SPLIT_KEEP_LINES) == BST_CHECKED;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_SPLIT_BLANK_LINES), rule.kind == SSplitRule::EKind::BlankLines);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_SPLIT_EXPRESSION), rule.kind == SSplitRule::EKind::Expression);

    ::SendDlgItemMessageA(m_hWnd, IDC_SPLIT_PREVIEW, LB_RESETCONTENT, 0, 0);
    m_result = SSplitResult();
    CChapterSplitter splitter;
    std::string why, status;
    if (!splitter.SetRule(rule, why)) {
        status = "This rule cannot be used: " + why + ".";
    } else {
        m_result = splitter.Split(m_strText, m_strTitle);
        if (m_result.status == SSplitResult::EStatus::TooMuchWork)
            status = "This expression needs too much work on this text; try a simpler one.";
        else if (m_result.status == SSplitResult::EStatus::NoMatch)
            status = "Nothing matches: the chapter would stay as it is.";
        else
            status = std::to_string(m_result.pieces.size()) + " chapters:";
    }
    ::SetDlgItemTextA(m_hWnd, IDC_SPLIT_STATUS, status.c_str());
    ::SendDlgItemMessageA(m_hWnd, IDC_SPLIT_PREVIEW, WM_SETREDRAW, FALSE, 0);
    for (const SChapterPiece& piece : m_result.pieces) {
        std::string line = piece.title + "\t" + std::to_string(piece.nEnd - piece.nBegin) + " bytes";
        ::SendDlgItemMessageA(m_hWnd, IDC_SPLIT_PREVIEW, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    ::SendDlgItemMessageA(m_hWnd, IDC_SPLIT_PREVIEW, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(::GetDlgItem(m_hWnd, IDC_SPLIT_PREVIEW), nullptr, TRUE);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), m_result.status == SSplitResult::EStatus::Split);
}

void CSplitChapterDialog::OnOK() {
    if (m_result.status != SSplitResult::EStatus::Split)
        return;
    m_chapters.clear();
    for (const SChapterPiece& piece : m_result.pieces) {
        CChapter chapter;
        chapter.m_strTitle = piece.title;
        chapter.m_strText = m_strText.substr(piece.nBegin, piece.nEnd - piece.nBegin);
        m_chapters.push_back(std::move(chapter));
    }
    CDialog::OnOK();
}
