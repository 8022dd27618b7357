// Main window: keys for the chapter commands on the contents list, the shortcuts added to the
// design's accelerator table, and access letters for the menu items whose texts have none.
#include "QuireBinderDlg.h"

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The designed texts that carry a shortcut stay as they are; these are the letters that reach
// their items.
struct AccessLetter {
    const char* lpszText;  // the item's text up to its tab
    char cLetter;
};

constexpr AccessLetter kAccessLetters[] = {
    {"Cut", 'T'}, {"Copy", 'C'}, {"Paste", 'P'}, {"Select All", 'A'}, {QB_PRODUCT_NAME " Help", 'H'},
};

char Upper(char c) {
    return char(std::toupper(static_cast<unsigned char>(c)));
}

// The letter each item of the menu answers to: its own "&" letter, the table's, or else the
// first letter of its text that no other item of the menu has taken. 0 for none.
std::vector<char> MenuAccessLetters(HMENU hMenu) {
    int nItems = ::GetMenuItemCount(hMenu);
    std::vector<std::string> texts(size_t(nItems > 0 ? nItems : 0));
    std::vector<char> letters(texts.size(), 0);
    std::string strTaken;
    for (size_t i = 0; i < texts.size(); ++i) {
        char szText[256] = "";
        ::GetMenuStringA(hMenu, UINT(i), szText, int(sizeof szText), MF_BYPOSITION);
        std::string strText = szText;
        texts[i] = strText.substr(0, strText.find('\t'));
        for (size_t j = 0; j + 1 < texts[i].size(); ++j) {
            if (texts[i][j] == '&') {
                if (texts[i][j + 1] != '&') {
                    letters[i] = Upper(texts[i][j + 1]);
                    break;
                }
                ++j;
            }
        }
        for (const AccessLetter& entry : kAccessLetters) {
            if (letters[i] == 0 && texts[i] == entry.lpszText)
                letters[i] = entry.cLetter;
        }
        if (letters[i] != 0)
            strTaken += letters[i];
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        for (size_t j = 0; letters[i] == 0 && j < texts[i].size(); ++j) {
            char c = Upper(texts[i][j]);
            if (std::isalnum(static_cast<unsigned char>(c)) && strTaken.find(c) == std::string::npos) {
                letters[i] = c;
                strTaken += c;
            }
        }
    }
    return letters;
}

bool KeyDown(int nKey) {
    return ::GetKeyState(nKey) < 0;
}

}  // namespace

LRESULT CQuireBinderDlg::OnMenuChar(WPARAM wParam, LPARAM lParam) {
    HMENU hMenu = reinterpret_cast<HMENU>(lParam);
    if ((HIWORD(wParam) & MF_SYSMENU) != 0 || hMenu == nullptr)
        return Default();
    char cKey = Upper(char(LOWORD(wParam)));
    std::vector<char> letters = MenuAccessLetters(hMenu);
    for (size_t i = 0; i < letters.size(); ++i) {
        if (letters[i] != 0 && letters[i] == cKey)
            return MAKELRESULT(WORD(i), MNC_EXECUTE);
    }
    return Default();
}

BOOL CQuireBinderDlg::TranslateChapterKeys(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->hwnd == m_wndContents.m_hWnd && !KeyDown(VK_MENU)) {
        bool bCtrl = KeyDown(VK_CONTROL);
        bool bShift = KeyDown(VK_SHIFT);
        // The command runs only while its button would; New Chapter is always there.
        struct ListKey {
            WPARAM nKey;
            bool bCtrl;
            CImageButton CQuireBinderDlg::*pButton;
            void (CQuireBinderDlg::*pfnCommand)();
        };
        static const ListKey s_listKeys[] = {
            {VK_INSERT, false, &CQuireBinderDlg::m_btnNewChapter, &CQuireBinderDlg::OnNewChapter},
            {VK_F2, false, &CQuireBinderDlg::m_btnRenameChapter, &CQuireBinderDlg::OnRenameChapter},
            {VK_DELETE, false, &CQuireBinderDlg::m_btnDeleteChapter, &CQuireBinderDlg::OnDeleteChapter},
            {VK_UP, true, &CQuireBinderDlg::m_btnMoveUp, &CQuireBinderDlg::OnMoveChapterUp},
            {VK_DOWN, true, &CQuireBinderDlg::m_btnMoveDown, &CQuireBinderDlg::OnMoveChapterDown},
        };
        for (const ListKey& key : s_listKeys) {
            if (key.nKey == pMsg->wParam && key.bCtrl == bCtrl && !bShift) {
                if ((this->*key.pButton).IsWindowEnabled())
                    (this->*key.pfnCommand)();
                return TRUE;
            }
        }
    }
    return !m_bTitleDialogOpen && m_hAddedAccel != nullptr && ::TranslateAcceleratorA(m_hWnd, m_hAddedAccel, pMsg);
}
