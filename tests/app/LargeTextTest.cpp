// The whole of a large chapter text deleted or replaced in the real window: each way the user has
// of doing it leaves the editor with the right text, modified, the book size following, the focus
// where it was, and Undo bringing the old text back.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "TestMainDlg.h"
#include "WindowRunner.h"

namespace {

// Large enough for the editor to be made anew rather than emptied.
std::string LargeText() {
    std::string text;
    while (text.size() < 40000)
        text += "Paragraph " + std::to_string(text.size()) + " of words that go on for a while.\r\n";
    return text;
}

TEST(LargeText, WholeTextDeletedOrReplacedKeepsTheEditorsBehaviour) {
    const std::string large = LargeText();
    const struct {
        const char* what;
        std::function<void(CTestMainDlg&)> act;
        std::string after;
        bool ctrlZ;  // undone with Ctrl+Z, else with Undo of the right-click menu
    } cases[] = {
        {"Delete key", [](CTestMainDlg& w) { WindowRunner::PressKey(w.Editor(), VK_DELETE); }, "", true},
        {"Backspace key", [](CTestMainDlg& w) { WindowRunner::PressKey(w.Editor(), VK_BACK); }, "", false},
        {"a key typed over it", [](CTestMainDlg& w) { WindowRunner::PressKey(w.Editor(), 'K'); }, "k", true},
        {"Enter typed over it", [](CTestMainDlg& w) { WindowRunner::PressKey(w.Editor(), VK_RETURN); },
         "\r\n", false},
        {"Edit > Delete", [](CTestMainDlg& w) { w.Menu(IDM_EDIT_DELETE); }, "", false},
        {"Ctrl+X", [](CTestMainDlg& w) { WindowRunner::PressKey(w.Editor(), 'X', true); }, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CTestMainDlg dlg;
        WindowRunner::Run(dlg, [&](CTestMainDlg&) {
            dlg.AddChapter("One");
            ::SendMessageA(dlg.Editor(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(large.c_str()));
            dlg.ClearModified();
            ::SetFocus(dlg.Editor());
            ::SendMessageA(dlg.Editor(), EM_SETSEL, 0, -1);
            ::SendMessageA(dlg.Item(IDC_STATUS_BAR), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
            c.act(dlg);
            EXPECT_EQ(dlg.Text(IDC_EDITOR), c.after);
            EXPECT_TRUE(dlg.IsModified());
            EXPECT_EQ(dlg.Text(IDC_STATUS_BAR), "Book Size ~ 1 Kb");
            EXPECT_EQ(::GetFocus(), dlg.Editor());
            DWORD dwStart = 1, dwEnd = 0;
            ::SendMessageA(dlg.Editor(), EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
            EXPECT_EQ(dwStart, dwEnd);
            EXPECT_NE(::SendMessageA(dlg.Editor(), EM_CANUNDO, 0, 0), 0);
            if (c.ctrlZ)
                WindowRunner::PressKey(dlg.Editor(), 'Z', true);
            else
                dlg.Menu(IDM_EDITOR_UNDO);
            EXPECT_EQ(dlg.Text(IDC_EDITOR), large);
            EXPECT_TRUE(dlg.IsModified());
        });
    }
}

}  // namespace
