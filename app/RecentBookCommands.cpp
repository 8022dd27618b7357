// Main window: the recent books, kept under the program's settings key and shown in the File menu
// above Exit.
#include "QuireBinderDlg.h"

#include <string>
#include <vector>

namespace {

constexpr const char* kRecentSection = "Recent Books";

std::string EntryName(size_t nIndex) {
    return "Book" + std::to_string(nIndex + 1);
}

bool BookFileExists(const std::string& strPath) {
    DWORD dwAttributes = ::GetFileAttributesA(strPath.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

void StoreRecentBooks(const CRecentBooks& books) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    const std::vector<std::string>& paths = books.Paths();
    for (size_t i = 0; i < CRecentBooks::kMaxBooks; ++i)
        pApp->WriteProfileString(kRecentSection, EntryName(i).c_str(), i < paths.size() ? paths[i].c_str() : nullptr);
}

}  // namespace

void CQuireBinderDlg::LoadRecentBooks() {
    std::vector<std::string> paths;
    if (CWinApp* pApp = AfxGetApp()) {
        for (size_t i = 0; i < CRecentBooks::kMaxBooks; ++i)
            paths.push_back(pApp->GetProfileString(kRecentSection, EntryName(i).c_str()));
    }
    m_recentBooks.SetPaths(paths);
    UpdateRecentBooksMenu();
}

void CQuireBinderDlg::RememberRecentBook(const std::string& strPath) {
    m_recentBooks.Add(strPath);
    StoreRecentBooks(m_recentBooks);
    UpdateRecentBooksMenu();
}

void CQuireBinderDlg::UpdateRecentBooksMenu() {
    CMenu* pFile = m_menuMain.GetSubMenu(0);
    if (pFile == nullptr)
        return;
    HMENU hFile = pFile->m_hMenu;
    for (UINT nID = IDM_RECENT_BOOK_FIRST; nID <= IDM_RECENT_BOOK_LAST; ++nID)
        ::DeleteMenu(hFile, nID, MF_BYCOMMAND);
    // The list has a separator of its own between it and Exit; the designed one stays above it.
    auto ExitPosition = [hFile]() {
        for (int i = ::GetMenuItemCount(hFile) - 1; i >= 0; --i) {
            if (::GetMenuItemID(hFile, i) == IDM_FILE_EXIT)
                return i;
        }
        return -1;
    };
    int nExit = ExitPosition();
    if (nExit < 2)
        return;
    bool bOwnSeparator = (::GetMenuState(hFile, UINT(nExit - 1), MF_BYPOSITION) & MF_SEPARATOR) != 0 &&
                         (::GetMenuState(hFile, UINT(nExit - 2), MF_BYPOSITION) & MF_SEPARATOR) != 0;
    if (bOwnSeparator) {
        ::DeleteMenu(hFile, UINT(nExit - 1), MF_BYPOSITION);
        --nExit;
    }
    const std::vector<std::string>& paths = m_recentBooks.Paths();
    if (paths.empty())
        return;
    for (size_t i = 0; i < paths.size(); ++i)
        ::InsertMenuA(hFile, UINT(nExit + int(i)), MF_BYPOSITION | MF_STRING, IDM_RECENT_BOOK_FIRST + i,
                      CRecentBooks::MenuText(i, paths[i]).c_str());
    ::InsertMenuA(hFile, UINT(nExit + int(paths.size())), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

void CQuireBinderDlg::OnRecentBook(UINT nID) {
    size_t nIndex = nID - IDM_RECENT_BOOK_FIRST;
    if (nIndex >= m_recentBooks.Paths().size())
        return;
    const std::string strPath = m_recentBooks.Paths()[nIndex];
    if (!BookFileExists(strPath)) {
        std::string strQuestion = "The book \"" + strPath +
                                  "\" cannot be found.\n\nDo you want to remove it from the list of recent books?";
        if (MessageBox(strQuestion.c_str(), QB_PRODUCT_NAME, MB_YESNO | MB_ICONQUESTION) == IDYES) {
            m_recentBooks.Remove(strPath);
            StoreRecentBooks(m_recentBooks);
            UpdateRecentBooksMenu();
        }
        return;
    }
    if (!QuerySave()) {
        RestoreFocus();
        return;
    }
    OpenBook(strPath.c_str());
    Invalidate(TRUE);
}
