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
    {'N', 57600}, {'O', 57601}, {'S', 57603}, {'A', 57642}, {'C', 57634}, {'V', 57637}, {'X', 57635},
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
    HWND hAuthor = ::GetDlgItem(w.m_hWnd, 1000);
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
        for (HWND hFocus : {::GetDlgItem(w.m_hWnd, 1000), ::GetDlgItem(w.m_hWnd, 1010)}) {
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
        WindowRunner::PressKey(::GetDlgItem(w.m_hWnd, 1000), 'N');
        EXPECT_TRUE(w.MenuCommandIds().empty());
    });
}

TEST(Accelerators, NoneWhileTheTitleDialogIsOpen) {
    CTestMainDlg dlg;
    SwallowShortcuts(dlg);
    WindowRunner::Run(dlg, [](CTestMainDlg& w) {
        PrepareEditState(w);
        w.m_bTitleDialogOpen = true;
        HWND hAuthor = ::GetDlgItem(w.m_hWnd, 1000);
        for (const Shortcut& shortcut : kShortcuts)
            WindowRunner::PressKey(hAuthor, shortcut.key, true);
        EXPECT_TRUE(w.MenuCommandIds().empty());
        w.m_bTitleDialogOpen = false;
        WindowRunner::PressKey(hAuthor, 'S', true);
        EXPECT_EQ(w.MenuCommandIds(), std::vector<UINT>{57603});
    });
}

}  // namespace
