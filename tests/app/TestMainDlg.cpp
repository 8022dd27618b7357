#include "TestMainDlg.h"

#include <gtest/gtest.h>

#include <cstring>

#include "Book.h"
#include "WindowRunner.h"

const std::vector<ButtonSpec> kButtonTips = {
    {IDC_NEW_CHAPTER, "Add New Chapter"},
    {IDC_DELETE_CHAPTER, "Delete Chapter"},
    {IDC_RENAME_CHAPTER, "Rename Chapter"},
    {IDC_IMPORT_TEXT, "Add Text from File..."},
    {IDC_MOVE_UP, "Move Chapter Up"},
    {IDC_MOVE_DOWN, "Move Chapter Down"},
    {IDC_PASTE_TEXT, "Paste Text from Clipboard"},
    {IDC_NEW_BOOK, "Create New Book (Ctrl+N)"},
    {IDC_OPEN_BOOK, "Open Book (Ctrl+O)"},
    {IDC_SAVE_BOOK, "Save Book (Ctrl+S)"},
    {IDC_SEND_BOOK, "Save and Send to Kelvra computer"},
};

std::vector<UINT> CTestMainDlg::MenuCommandIds() const {
    std::vector<UINT> ids;
    for (const Command& command : m_commands) {
        if (command.lParam == 0)
            ids.push_back(LOWORD(command.wParam));
    }
    return ids;
}

BOOL CTestMainDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    m_commands.push_back(Command{wParam, lParam});
    if (m_swallowed.count(LOWORD(wParam)) != 0)
        return TRUE;
    return CQuireBinderDlg::OnCommand(wParam, lParam);
}

LRESULT CTestMainDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY)
        m_strLastCaption = WindowRunner::WindowText(m_hWnd);
    return CQuireBinderDlg::WindowProc(message, wParam, lParam);
}

void CTestMainDlg::Click(int nButton) {
    ::SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED),
                   reinterpret_cast<LPARAM>(Item(nButton)));
}

void CTestMainDlg::Menu(UINT nCommand) {
    ::SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(nCommand, 0), 0);
}

void CTestMainDlg::AddChapter(const std::string& title) {
    ModalAnswerer::Expectation answer = ModalAnswerer::Press("Chapter Title", IDOK);
    answer.fields.emplace_back(IDC_CHAPTER_TITLE_BOX, title);
    ModalAnswerer answerer(10000);
    answerer.Expect(answer);
    Click(IDC_NEW_CHAPTER);
    EXPECT_TRUE(answerer.AllAnswered()) << title;
}

void CTestMainDlg::ChooseChapter(int nIndex) {
    RECT rect{};
    ASSERT_NE(::SendMessageA(List(), LB_GETITEMRECT, WPARAM(nIndex), reinterpret_cast<LPARAM>(&rect)),
              LB_ERR);
    LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageA(List(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageA(List(), WM_LBUTTONUP, 0, point);
    ModalAnswerer::PumpPending();
}

void CTestMainDlg::Type(int nID, const std::string& text) {
    ::SetFocus(Item(nID));
    for (char c : text)
        ::SendMessageA(Item(nID), WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 1);
}

void CTestMainDlg::Append(int nID, const std::string& text) {
    LPARAM nEnd = LPARAM(::GetWindowTextLengthA(Item(nID)));
    ::SendMessageA(Item(nID), EM_SETSEL, WPARAM(nEnd), nEnd);
    Type(nID, text);
}

void CTestMainDlg::Retype(int nID, const std::string& text) {
    ::SendMessageA(Item(nID), EM_SETSEL, 0, -1);
    ::SendMessageA(Item(nID), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

namespace {

DWORD g_menuDeadline = 0;
HMENU g_hMenuSeen = nullptr;

// Notes the popup menu once it is up and closes it (or gives up at the deadline).
void CALLBACK EndPopupMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND hPopup = ::FindWindowA("#32768", nullptr);
    if (hPopup != nullptr && ::IsWindowVisible(hPopup))
        g_hMenuSeen = reinterpret_cast<HMENU>(::SendMessageA(hPopup, MN_GETHMENU, 0, 0));
    if (g_hMenuSeen != nullptr || LONG(::GetTickCount() - g_menuDeadline) >= 0)
        ::EndMenu();
}

}  // namespace

HMENU CTestMainDlg::RightClickEditor() {
    g_hMenuSeen = nullptr;
    g_menuDeadline = ::GetTickCount() + 5000;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &EndPopupMenu);
    ::SendMessageA(Editor(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    ::SendMessageA(Editor(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    ::KillTimer(nullptr, timer);
    return g_hMenuSeen;
}

std::string CTestMainDlg::Text(int nID) const {
    return WindowRunner::WindowText(Item(nID));
}

std::vector<std::string> CTestMainDlg::ListTitles() const {
    std::vector<std::string> titles;
    int nCount = int(::SendMessageA(List(), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < nCount; ++i) {
        std::string title(size_t(::SendMessageA(List(), LB_GETTEXTLEN, WPARAM(i), 0)) + 1, '\0');
        int nCopied = int(::SendMessageA(List(), LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(&title[0])));
        title.resize(size_t(nCopied > 0 ? nCopied : 0));
        titles.push_back(title);
    }
    return titles;
}

int CTestMainDlg::Selected() const {
    return int(::SendMessageA(List(), LB_GETCURSEL, 0, 0));
}

bool CTestMainDlg::Enabled(int nID) const {
    return ::IsWindowEnabled(Item(nID)) != FALSE;
}

bool CTestMainDlg::MenuItemEnabled(UINT nCommand) {
    HMENU hMenu = ::GetMenu(m_hWnd);
    ::SendMessageA(m_hWnd, WM_INITMENU, reinterpret_cast<WPARAM>(hMenu), 0);
    UINT state = ::GetMenuState(hMenu, nCommand, MF_BYCOMMAND);
    EXPECT_NE(state, UINT(-1)) << nCommand;
    return (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

std::string CTestMainDlg::Caption() const {
    return ::IsWindow(m_hWnd) ? WindowRunner::WindowText(m_hWnd) : m_strLastCaption;
}

std::string CTestMainDlg::DocName() const {
    const std::string caption = Caption(), suffix = std::string(" - ") + QB_PRODUCT_NAME;
    if (caption.size() < suffix.size() ||
        caption.compare(caption.size() - suffix.size(), suffix.size(), suffix) != 0)
        return caption;
    return caption.substr(0, caption.size() - suffix.size());
}

HWND CTestMainDlg::EditTarget() {
    CWnd* pTarget = GetEditTarget();
    return pTarget != nullptr ? pTarget->m_hWnd : nullptr;
}

std::vector<std::string> CTestMainDlg::BookTexts() {
    std::vector<std::string> texts;
    for (int i = 0; i < theBook.ChapterCount(); ++i)
        texts.push_back(theBook.ChapterText(uint32_t(i)));
    return texts;
}

std::string WriteTempFile(const std::string& name, const std::string& bytes) {
    char dir[MAX_PATH] = {};
    DWORD n = ::GetTempPathA(MAX_PATH, dir);
    std::string path(dir, n);
    if (path.empty() || path.back() != '\\')
        path += '\\';
    path += name;
    HANDLE hFile =
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(hFile, INVALID_HANDLE_VALUE) << path;
    DWORD nWritten = 0;
    if (!bytes.empty())
        ::WriteFile(hFile, bytes.data(), DWORD(bytes.size()), &nWritten, nullptr);
    ::CloseHandle(hFile);
    EXPECT_EQ(nWritten, bytes.size());
    return path;
}

void ImportFile(CTestMainDlg& w,
                ModalAnswerer& answerer,
                const std::string& path,
                std::vector<ModalAnswerer::Expectation> then,
                bool bMenu) {
    answerer.Expect(ModalAnswerer::FileName("Open", path));
    for (ModalAnswerer::Expectation& expectation : then)
        answerer.Expect(std::move(expectation));
    if (bMenu)
        w.Menu(IDM_IMPORT_TEXT);
    else
        w.Click(IDC_IMPORT_TEXT);
}

void SetClipboard(HWND hOwner, const std::vector<std::pair<UINT, std::string>>& items) {
    ASSERT_TRUE(::OpenClipboard(hOwner));
    ::EmptyClipboard();
    for (const auto& item : items) {
        HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, item.second.size() + 1);
        std::memcpy(::GlobalLock(hData), item.second.c_str(), item.second.size() + 1);
        ::GlobalUnlock(hData);
        ::SetClipboardData(item.first, hData);
    }
    ::CloseClipboard();
    ModalAnswerer::PumpPending();
}

DWORD RunHelperProgram(const std::string& exe, const std::string& args) {
    char szExe[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szExe, MAX_PATH);
    std::string path = szExe;
    path = path.substr(0, path.rfind('\\') + 1) + exe;
    std::string commandLine = "\"" + path + "\" " + args;
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &si, &pi)) {
        ADD_FAILURE() << "cannot start " << path << ", error " << ::GetLastError();
        return DWORD(-1);
    }
    bool bDone = ModalAnswerer::PumpUntil(
        [&] { return ::WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, 20000);
    DWORD dwExit = DWORD(-1);
    if (bDone)
        ::GetExitCodeProcess(pi.hProcess, &dwExit);
    else
        ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return dwExit;
}
