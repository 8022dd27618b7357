#include "ChapterTestDlg.h"

#include <gtest/gtest.h>

#include <cstring>

#include "Book.h"
#include "ModalAnswerer.h"
#include "WindowRunner.h"

void CChapterTestDlg::Click(int nButton) {
    ::SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED),
                   reinterpret_cast<LPARAM>(Item(nButton)));
}

void CChapterTestDlg::Menu(UINT nCommand) {
    ::SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(nCommand, 0), 0);
}

void CChapterTestDlg::AddChapter(const std::string& title) {
    ModalAnswerer::Expectation answer = ModalAnswerer::Press("Chapter Title", IDOK);
    answer.fields.emplace_back(IDC_CHAPTER_TITLE_BOX, title);
    ModalAnswerer answerer(10000);
    answerer.Expect(answer);
    Click(IDC_NEW_CHAPTER);
    EXPECT_TRUE(answerer.AllAnswered()) << title;
}

void CChapterTestDlg::ChooseChapter(int nIndex) {
    RECT rect{};
    ASSERT_NE(::SendMessageA(List(), LB_GETITEMRECT, WPARAM(nIndex), reinterpret_cast<LPARAM>(&rect)),
              LB_ERR);
    LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageA(List(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageA(List(), WM_LBUTTONUP, 0, point);
    ModalAnswerer::PumpPending();
}

void CChapterTestDlg::Type(int nID, const std::string& text) {
    ::SetFocus(Item(nID));
    for (char c : text)
        ::SendMessageA(Item(nID), WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 1);
}

void CChapterTestDlg::Append(int nID, const std::string& text) {
    LPARAM nEnd = LPARAM(::GetWindowTextLengthA(Item(nID)));
    ::SendMessageA(Item(nID), EM_SETSEL, WPARAM(nEnd), nEnd);
    Type(nID, text);
}

std::string CChapterTestDlg::Text(int nID) const {
    return WindowRunner::WindowText(Item(nID));
}

std::vector<std::string> CChapterTestDlg::ListTitles() const {
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

int CChapterTestDlg::Selected() const {
    return int(::SendMessageA(List(), LB_GETCURSEL, 0, 0));
}

bool CChapterTestDlg::Enabled(int nID) const {
    return ::IsWindowEnabled(Item(nID)) != FALSE;
}

bool CChapterTestDlg::MenuItemEnabled(UINT nCommand) {
    HMENU hMenu = ::GetMenu(m_hWnd);
    ::SendMessageA(m_hWnd, WM_INITMENU, reinterpret_cast<WPARAM>(hMenu), 0);
    UINT state = ::GetMenuState(hMenu, nCommand, MF_BYCOMMAND);
    EXPECT_NE(state, UINT(-1)) << nCommand;
    return (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

std::vector<std::string> CChapterTestDlg::BookTexts() {
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

void ImportFile(CChapterTestDlg& w,
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
