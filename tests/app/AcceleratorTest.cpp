// The application translates the main window's shortcuts wherever the focus is inside it, and not
// while the chapter title dialog is open.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "TestMainDlg.h"
#include "WindowRunner.h"

namespace {

struct Shortcut {
    WORD key;
    UINT command;
};

const std::vector<Shortcut> kShortcuts = {
    {'N', IDM_FILE_NEW},  {'O', IDM_FILE_OPEN},  {'S', IDM_FILE_SAVE}, {'A', IDM_EDIT_SELECT_ALL},
    {'C', IDM_EDIT_COPY}, {'V', IDM_EDIT_PASTE}, {'X', IDM_EDIT_CUT},
};

// Text on the clipboard and a part of the Author field selected, so that no Edit item has a
// reason to be grayed: a grayed menu item would stop its shortcut.
void PrepareEditState(CTestMainDlg& w) {
    if (::OpenClipboard(w.m_hWnd)) {
        ::EmptyClipboard();
        HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, 6);
        std::memcpy(::GlobalLock(hText), "Brown", 6);
        ::GlobalUnlock(hText);
        ::SetClipboardData(CF_TEXT, hText);
        ::CloseClipboard();
    }
    HWND hAuthor = ::GetDlgItem(w.m_hWnd, IDC_AUTHOR);
    ::SetWindowTextA(hAuthor, "Charlotte");
    ::SetFocus(hAuthor);
    ::SendMessageA(hAuthor, EM_SETSEL, 0, 4);
}

void SwallowShortcuts(CTestMainDlg& dlg) {
    for (const Shortcut& shortcut : kShortcuts)
        dlg.m_swallowed.insert(shortcut.command);
}

TEST(Accelerators, ReachTheWindowAsTheirCommands) {
    CTestMainDlg dlg;
    SwallowShortcuts(dlg);
    WindowRunner::Run(dlg, [](CTestMainDlg& w) {
        PrepareEditState(w);
        for (HWND hFocus : {::GetDlgItem(w.m_hWnd, IDC_AUTHOR), ::GetDlgItem(w.m_hWnd, IDC_CONTENTS)}) {
            ::SetFocus(hFocus);
            for (const Shortcut& shortcut : kShortcuts) {
                SCOPED_TRACE(std::string("Ctrl+") + char(shortcut.key));
                w.m_commands.clear();
                WindowRunner::PressKey(hFocus, shortcut.key, true);
                ASSERT_EQ(w.m_commands.size(), 1u);
                // An accelerator's command: code 1, no control.
                EXPECT_EQ(w.m_commands[0].wParam, MAKEWPARAM(shortcut.command, 1));
                EXPECT_EQ(w.m_commands[0].lParam, 0);
            }
        }
        // Without Ctrl the letter is typed, not translated.
        w.m_commands.clear();
        WindowRunner::PressKey(::GetDlgItem(w.m_hWnd, IDC_AUTHOR), 'N');
        EXPECT_TRUE(w.MenuCommandIds().empty());
    });
}

TEST(Accelerators, NoneWhileTheTitleDialogIsOpen) {
    CTestMainDlg dlg;
    SwallowShortcuts(dlg);
    WindowRunner::Run(dlg, [](CTestMainDlg& w) {
        PrepareEditState(w);
        w.m_bTitleDialogOpen = true;
        HWND hAuthor = ::GetDlgItem(w.m_hWnd, IDC_AUTHOR);
        for (const Shortcut& shortcut : kShortcuts)
            WindowRunner::PressKey(hAuthor, shortcut.key, true);
        EXPECT_TRUE(w.MenuCommandIds().empty());
        w.m_bTitleDialogOpen = false;
        WindowRunner::PressKey(hAuthor, 'S', true);
        EXPECT_EQ(w.MenuCommandIds(), std::vector<UINT>{IDM_FILE_SAVE});
    });
}

}  // namespace
