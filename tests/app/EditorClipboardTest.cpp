// The editor and the clipboard on the real main window: the Edit commands on the edit control used
// last, plain-text pastes, the editor's right-click menu, the main menu's Edit items, the Paste
// Text from Clipboard button following another process's clipboard, and the clipboard-viewer chain.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "ModalAnswerer.h"
#include "TestMainDlg.h"
#include "TextLossAnswer.h"
#include "WindowRunner.h"

namespace {

std::string ClipboardText(HWND hOwner) {
    std::string text;
    if (!::OpenClipboard(hOwner))
        return "(clipboard busy)";
    if (HANDLE hData = ::GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(::GlobalLock(hData));
        ::GlobalUnlock(hData);
    }
    ::CloseClipboard();
    return text;
}

// --- The editor's right-click menu ---------------------------------------------------------------

struct ContextMenuState {
    bool bOpened;
    std::map<UINT, bool> enabled;
};

// A right-button release in the editor, as the mouse sends it, and the states of the menu it opens.
ContextMenuState RightClickEditor(CTestMainDlg& w) {
    HMENU hPopup = w.RightClickEditor();
    ContextMenuState state{hPopup != nullptr, {}};
    for (UINT id : {IDM_EDITOR_UNDO, IDM_EDITOR_CUT, IDM_EDITOR_COPY, IDM_EDITOR_PASTE, IDM_EDITOR_DELETE,
                    IDM_EDITOR_SELECT_ALL})
        state.enabled[id] = (::GetMenuState(hPopup, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
    return state;
}

TEST(EditorClipboard, RightClickMenuFollowsTheEditorsTextAndSelection) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        SetClipboard(dlg.m_hWnd, {{CF_TEXT, "clip"}});
        dlg.AddChapter("One");
        struct Case {
            const char* what;
            long nStart;
            long nEnd;
            bool bSelectAll;
            bool bSelection;  // Copy, Cut, Delete
        };
        ContextMenuState empty = RightClickEditor(dlg);
        EXPECT_TRUE(empty.bOpened);
        EXPECT_FALSE(empty.enabled[IDM_EDITOR_SELECT_ALL]);
        EXPECT_FALSE(empty.enabled[IDM_EDITOR_COPY]);
        EXPECT_FALSE(empty.enabled[IDM_EDITOR_CUT]);
        EXPECT_FALSE(empty.enabled[IDM_EDITOR_DELETE]);
        EXPECT_FALSE(empty.enabled[IDM_EDITOR_UNDO]);
        EXPECT_TRUE(empty.enabled[IDM_EDITOR_PASTE]);

        dlg.Type(IDC_EDITOR, "Hello world");
        for (Case c : {Case{"whole text", 0, -1, false, true}, Case{"part", 0, 5, true, true},
                       Case{"caret only", 3, 3, true, false}}) {
            SCOPED_TRACE(c.what);
            CHARRANGE range = {c.nStart, c.nEnd};
            ::SendMessageA(dlg.Editor(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
            ContextMenuState state = RightClickEditor(dlg);
            EXPECT_TRUE(state.bOpened);
            EXPECT_EQ(state.enabled[IDM_EDITOR_SELECT_ALL], c.bSelectAll);
            EXPECT_EQ(state.enabled[IDM_EDITOR_COPY], c.bSelection);
            EXPECT_EQ(state.enabled[IDM_EDITOR_CUT], c.bSelection);
            EXPECT_EQ(state.enabled[IDM_EDITOR_DELETE], c.bSelection);
            EXPECT_TRUE(state.enabled[IDM_EDITOR_UNDO]);
        }

        // Paste follows the Paste Text from Clipboard button.
        SetClipboard(dlg.m_hWnd, {});
        EXPECT_FALSE(dlg.Enabled(IDC_PASTE_TEXT));
        EXPECT_FALSE(RightClickEditor(dlg).enabled[IDM_EDITOR_PASTE]);
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "Hello world");  // the clicks only opened the menu
    });
}

TEST(EditorClipboard, RightClickMenuCommandsActOnTheEditor) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        dlg.AddChapter("One");
        dlg.Type(IDC_EDITOR, "Hello world");
        ::SetFocus(dlg.List());
        dlg.Menu(IDM_EDITOR_SELECT_ALL);
        EXPECT_EQ(::GetFocus(), dlg.Editor());
        dlg.Menu(IDM_EDITOR_CUT);
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "");
        EXPECT_EQ(ClipboardText(dlg.m_hWnd), "Hello world");
        dlg.Menu(IDM_EDITOR_UNDO);
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "Hello world");
        ::SendMessageA(dlg.Editor(), EM_SETSEL, 11, 11);
        dlg.Menu(IDM_EDITOR_PASTE);
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "Hello worldHello world");
        ::SendMessageA(dlg.Editor(), EM_SETSEL, 5, 11);
        dlg.Menu(IDM_EDITOR_DELETE);
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "HelloHello world");
    });
}

// After the Title field was used and the focus went on to a button or the list, the Edit menu
// and its shortcuts still act on the Title field, and give it the focus back.
TEST(EditorClipboard, EditCommandsActOnTheLastFocusedField) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        dlg.AddChapter("One");
        dlg.Type(IDC_EDITOR, "chapter text");
        dlg.Type(IDC_TITLE, "Book Title");
        ::SendMessageA(dlg.Item(IDC_TITLE), EM_SETSEL, 5, 10);
        ::SetFocus(dlg.Item(IDC_NEW_CHAPTER));
        EXPECT_EQ(dlg.EditTarget(), dlg.Item(IDC_TITLE));

        WindowRunner::PressKey(::GetFocus(), 'C', true);
        EXPECT_EQ(ClipboardText(dlg.m_hWnd), "Title");
        EXPECT_EQ(::GetFocus(), dlg.Item(IDC_TITLE));

        ::SetFocus(dlg.List());
        WindowRunner::PressKey(dlg.List(), 'A', true);
        DWORD dwStart = 1, dwEnd = 0;
        ::SendMessageA(dlg.Item(IDC_TITLE), EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart),
                       reinterpret_cast<LPARAM>(&dwEnd));
        EXPECT_EQ(dwStart, 0u);
        EXPECT_EQ(dwEnd, 10u);
        ::SetFocus(dlg.List());
        dlg.Menu(IDM_EDIT_DELETE);
        EXPECT_EQ(dlg.Text(IDC_TITLE), "");
        ::SetFocus(dlg.List());
        WindowRunner::PressKey(dlg.List(), 'V', true);
        EXPECT_EQ(dlg.Text(IDC_TITLE), "Title");
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "chapter text");
    });
}

// The main menu's Edit items: grayed without a target, then from the target's text, selection
// and the clipboard.
TEST(EditorClipboard, EditMenuItemsFollowTheTargetAndTheClipboard) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        const UINT kSelectionItems[] = {IDM_EDIT_COPY, IDM_EDIT_CUT, IDM_EDIT_DELETE};
        SetClipboard(dlg.m_hWnd, {{CF_TEXT, "clip"}});
        dlg.ForgetEditTarget();
        for (UINT id : {IDM_EDIT_SELECT_ALL, IDM_EDIT_COPY, IDM_EDIT_CUT, IDM_EDIT_DELETE, IDM_EDIT_PASTE})
            EXPECT_FALSE(dlg.MenuItemEnabled(id)) << id;

        ::SetFocus(dlg.List());
        dlg.Type(IDC_AUTHOR, "");  // focuses the empty Author field
        EXPECT_TRUE(dlg.MenuItemEnabled(IDM_EDIT_PASTE));
        EXPECT_FALSE(dlg.MenuItemEnabled(IDM_EDIT_SELECT_ALL));
        for (UINT id : kSelectionItems)
            EXPECT_FALSE(dlg.MenuItemEnabled(id)) << id;

        dlg.Type(IDC_AUTHOR, "Ann Author");
        ::SendMessageA(dlg.Item(IDC_AUTHOR), EM_SETSEL, 0, -1);
        EXPECT_FALSE(dlg.MenuItemEnabled(IDM_EDIT_SELECT_ALL));
        for (UINT id : kSelectionItems)
            EXPECT_TRUE(dlg.MenuItemEnabled(id)) << id;
        ::SendMessageA(dlg.Item(IDC_AUTHOR), EM_SETSEL, 4, 4);
        EXPECT_TRUE(dlg.MenuItemEnabled(IDM_EDIT_SELECT_ALL));
        for (UINT id : kSelectionItems)
            EXPECT_FALSE(dlg.MenuItemEnabled(id)) << id;

        SetClipboard(dlg.m_hWnd, {});
        EXPECT_FALSE(dlg.MenuItemEnabled(IDM_EDIT_PASTE));
        // A grayed item stops its shortcut too.
        dlg.m_commands.clear();
        WindowRunner::PressKey(dlg.Item(IDC_AUTHOR), 'C', true);
        EXPECT_TRUE(dlg.MenuCommandIds().empty());
    });
}

// Formatting on the clipboard never reaches the chapter: with rich text beside the plain text, the
// editor gets the plain one, by Ctrl+V and by Paste Text from Clipboard alike.
TEST(EditorClipboard, PastesIntoTheEditorArePlainText) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        UINT cfRtf = ::RegisterClipboardFormatA("Rich Text Format");
        SetClipboard(dlg.m_hWnd, {{cfRtf, "{\\rtf1\\ansi {\\b RICH}}"}, {CF_TEXT, "plain"}});
        dlg.Menu(IDM_PASTE_TEXT);  // no chapter yet: the button is disabled and so is the command
        dlg.AddChapter("One");
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "");

        dlg.Type(IDC_EDITOR, "<>");
        ::SendMessageA(dlg.Editor(), EM_SETSEL, 1, 1);
        WindowRunner::PressKey(dlg.Editor(), 'V', true);
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "<plain>");

        ::SendMessageA(dlg.Editor(), EM_SETSEL, 1, 6);
        ::SetFocus(dlg.List());
        ASSERT_TRUE(dlg.Enabled(IDC_PASTE_TEXT));
        dlg.Click(IDC_PASTE_TEXT);
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "<plain>");
        EXPECT_EQ(::GetFocus(), dlg.Editor());
        dlg.Menu(IDM_PASTE_TEXT);
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "<plainplain>");
        CHARFORMATA format{};
        format.cbSize = sizeof(format);
        ::SendMessageA(dlg.Editor(), EM_SETSEL, 0, -1);
        ::SendMessageA(dlg.Editor(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        EXPECT_EQ(format.dwEffects & CFE_BOLD, 0u);
    });
}

// --- The clipboard as another process changes it -------------------------------------------------

// Runs the helper program beside this test with the arguments, pumping messages while it runs
// (the clipboard tells this window's viewer while the helper waits). Returns its exit code.
DWORD RunClipboardHelper(const std::string& args) {
    return RunHelperProgram("clipboard_helper.exe", args);
}

TEST(EditorClipboard, PasteButtonFollowsAnotherProcessesClipboard) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        ASSERT_EQ(RunClipboardHelper("empty"), 0u);
        // Without a chapter the button stays disabled, whatever the clipboard holds.
        ASSERT_EQ(RunClipboardHelper("set Elsewhere"), 0u);
        ModalAnswerer::PumpPending();
        EXPECT_FALSE(dlg.Enabled(IDC_PASTE_TEXT));

        dlg.AddChapter("One");
        EXPECT_TRUE(dlg.Enabled(IDC_PASTE_TEXT));
        ASSERT_EQ(RunClipboardHelper("empty"), 0u);
        EXPECT_TRUE(ModalAnswerer::PumpUntil([&] { return !dlg.Enabled(IDC_PASTE_TEXT); }));
        ASSERT_EQ(RunClipboardHelper("set \"from afar\""), 0u);
        EXPECT_TRUE(ModalAnswerer::PumpUntil([&] { return dlg.Enabled(IDC_PASTE_TEXT); }));
        dlg.Click(IDC_PASTE_TEXT);
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "from afar");
    });
}

// Unicode text from another program goes through the book's conversion: held characters arrive
// as the code page has them, the rest is listed first (Insert or Cancel); CF_TEXT alone pastes as
// it always did. Ctrl+V, the Paste Text button and its menu item alike.
TEST(EditorClipboard, UnicodeTextIsConvertedAndLossesListedFirst) {
    const std::string star = "\xE2\x98\x85";
    struct Case {
        std::string helper;  // clipboard_helper's arguments
        UINT nCommand;       // 0: Ctrl+V
        int button;          // the loss dialog's answer; 0: none expected
        const char* expected;
        std::string list;
    } cases[] = {
        {"set-utf8 Caf\xC3\xA9" + star, 0, IDOK, "<Caf\xE9>",
         "1 character cannot be stored in a Kelvra book: " + star + " U+2605 (\xC3\x97" "1, line 1) \xE2\x86\x92 removed"},
        {"set-utf8 Caf\xC3\xA9" + star, IDC_PASTE_TEXT, IDCANCEL, "<>",
         "1 character cannot be stored in a Kelvra book: " + star + " U+2605 (\xC3\x97" "1, line 1) \xE2\x86\x92 removed"},
        {"set-utf8 \xC5\x82\xC3\xA9", IDM_PASTE_TEXT, IDOK, "<l\xE9>",
         "1 character cannot be stored in a Kelvra book: \xC5\x82 U+0142 (\xC3\x97" "1, line 1) \xE2\x86\x92 l"},
        {"set-utf8 \xE2\x80\x9C\xE2\x82\xAC" "5\xE2\x80\x98", 0, 0, "<\x93\x80" "5\x91>", ""},
        {"set ansi\x80", IDC_PASTE_TEXT, 0, "<ansi\x80>", ""},
    };
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        dlg.AddChapter("One");
        ModalAnswerer answerer(30000);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.helper);
            ::SetWindowTextA(dlg.Editor(), "<>");
            ::SendMessageA(dlg.Editor(), EM_SETSEL, 1, 1);
            ::SetFocus(dlg.Editor());
            ASSERT_EQ(RunClipboardHelper(c.helper), 0u);
            std::string list;
            if (c.button != 0)
                answerer.Expect(AnswerTextLoss(c.button, list));
            if (c.nCommand == IDC_PASTE_TEXT)
                dlg.Click(IDC_PASTE_TEXT);
            else if (c.nCommand != 0)
                dlg.Menu(c.nCommand);
            else
                WindowRunner::PressKey(dlg.Editor(), 'V', true);
            EXPECT_TRUE(answerer.AllAnswered());
            EXPECT_EQ(list, c.list);
            EXPECT_EQ(dlg.Text(IDC_EDITOR), c.expected);
        }
    });
}

// Real keys for characters of any script, as another keyboard layout or an input method types
// them: SendInput of the characters into the focused field.
void TypeUnicode(HWND hField, const std::u16string& text) {
    ::SetForegroundWindow(::GetAncestor(hField, GA_ROOT));
    ::SetFocus(hField);
    for (char16_t unit : text) {
        INPUT keys[2] = {};
        keys[0].type = INPUT_KEYBOARD;
        keys[0].ki.wScan = WORD(unit);
        keys[0].ki.dwFlags = KEYEVENTF_UNICODE;
        keys[1] = keys[0];
        keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        ::SendInput(2, keys, sizeof(INPUT));
        ModalAnswerer::PumpPending();
    }
}

// A typed character the book cannot hold never arrives as "?": it is refused with a beep, and the
// first time with a message; the characters around it arrive as typed.
TEST(EditorClipboard, TypedCharactersTheBookCannotHoldAreRefused) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        dlg.AddChapter("One");
        ModalAnswerer answerer(30000);
        std::string told;
        answerer.Expect(ModalAnswerer::Act("Kelvra Quire Binder", [&](HWND hBox) {
            told = Utf8WindowText(::GetDlgItem(hBox, ModalAnswerer::kMessageText));
            ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
        }));
        struct Case {
            int nField;
            std::u16string typed;
            const char* expected;
        } cases[] = {
            {IDC_EDITOR, u"a\u2605b", "ab"},
            {IDC_AUTHOR, u"\u00E9\u2605\u0142?", "\xE9?"},
            {IDC_TITLE, u"x\U0001F600y", "xy"},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.nField);
            ::SetWindowTextA(dlg.Item(c.nField), "");
            TypeUnicode(dlg.Item(c.nField), c.typed);
            EXPECT_EQ(dlg.Text(c.nField), c.expected);
        }
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(answerer.Seen().size(), 1u);  // once per session
        EXPECT_EQ(told, "\xE2\x98\x85 cannot be stored in a Kelvra book");
    });
}

// A plain viewer of the clipboard chain that records what reaches it and behaves as a viewer must.
class ChainRecorder {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    ChainRecorder() {
        static ATOM s_class = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = &ChainRecorder::WndProc;
            wc.hInstance = ::GetModuleHandleA(nullptr);
            wc.lpszClassName = "QuireChainRecorder";
            return ::RegisterClassA(&wc);
        }();
        m_hWnd = ::CreateWindowA(MAKEINTATOM(s_class), "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
        Recorders()[m_hWnd] = this;
    }
    ChainRecorder(const ChainRecorder&) = delete;
    ChainRecorder& operator=(const ChainRecorder&) = delete;
    ~ChainRecorder() {
        Leave();
        Recorders().erase(m_hWnd);
        ::DestroyWindow(m_hWnd);
    }

    void Join() {
        m_bJoined = true;
        m_hNext = ::SetClipboardViewer(m_hWnd);
    }
    void Leave() {
        if (m_bJoined)
            ::ChangeClipboardChain(m_hWnd, m_hNext);
        m_bJoined = false;
    }
    std::vector<Message> Received(UINT message) const {
        std::vector<Message> found;
        for (const Message& m : m_messages) {
            if (m.message == message)
                found.push_back(m);
        }
        return found;
    }

    HWND m_hWnd = nullptr;
    HWND m_hNext = nullptr;
    bool m_bJoined = false;
    std::vector<Message> m_messages;

private:
    static std::map<HWND, ChainRecorder*>& Recorders() {
        static std::map<HWND, ChainRecorder*> recorders;
        return recorders;
    }

    static LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto it = Recorders().find(hWnd);
        if (it == Recorders().end() || (message != WM_DRAWCLIPBOARD && message != WM_CHANGECBCHAIN))
            return ::DefWindowProcA(hWnd, message, wParam, lParam);
        ChainRecorder& self = *it->second;
        self.m_messages.push_back(Message{message, wParam, lParam});
        if (message == WM_CHANGECBCHAIN && reinterpret_cast<HWND>(wParam) == self.m_hNext)
            self.m_hNext = reinterpret_cast<HWND>(lParam);
        else if (self.m_hNext != nullptr)
            ::SendMessageA(self.m_hNext, message, wParam, lParam);
        return 0;
    }
};

// The chain is: the window, A, C, D. Removing C goes through the window on to A, which relinks
// itself. Removing A, the window's own next viewer, relinks the window to D and goes no further:
// neither A nor D hears of it, and D gets the window's next clipboard change.
TEST(EditorClipboard, ViewerChainPassesOnAndRelinks) {
    ChainRecorder d;
    ChainRecorder c;
    ChainRecorder a;
    d.Join();
    c.Join();
    a.Join();
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        ASSERT_EQ(dlg.NextClipboardViewer(), a.m_hWnd);
        ModalAnswerer::PumpPending();  // the notices of joining the chain
        std::vector<size_t> drawn;
        for (ChainRecorder* pViewer : {&a, &c, &d})
            drawn.push_back(pViewer->Received(WM_DRAWCLIPBOARD).size());
        SetClipboard(dlg.m_hWnd, {{CF_TEXT, "one"}});
        EXPECT_EQ(a.Received(WM_DRAWCLIPBOARD).size(), drawn[0] + 1);
        EXPECT_EQ(c.Received(WM_DRAWCLIPBOARD).size(), drawn[1] + 1);
        EXPECT_EQ(d.Received(WM_DRAWCLIPBOARD).size(), drawn[2] + 1);

        c.Leave();  // the system tells the head of the chain, the window
        ModalAnswerer::PumpPending();
        ASSERT_EQ(a.Received(WM_CHANGECBCHAIN).size(), 1u);
        EXPECT_EQ(reinterpret_cast<HWND>(a.Received(WM_CHANGECBCHAIN)[0].wParam), c.m_hWnd);
        EXPECT_EQ(a.m_hNext, d.m_hWnd);
        EXPECT_EQ(dlg.NextClipboardViewer(), a.m_hWnd);

        a.Leave();
        ModalAnswerer::PumpPending();
        EXPECT_EQ(dlg.NextClipboardViewer(), d.m_hWnd);
        EXPECT_EQ(a.Received(WM_CHANGECBCHAIN).size(), 1u);
        EXPECT_TRUE(d.Received(WM_CHANGECBCHAIN).empty());

        SetClipboard(dlg.m_hWnd, {{CF_TEXT, "two"}});
        EXPECT_EQ(a.Received(WM_DRAWCLIPBOARD).size(), drawn[0] + 1);
        EXPECT_EQ(d.Received(WM_DRAWCLIPBOARD).size(), drawn[2] + 2);
        EXPECT_FALSE(dlg.Enabled(IDC_PASTE_TEXT));  // no chapter: stays disabled
    });
}

// A viewer on a thread of its own that stops answering inside its clipboard notice while the
// event is reset, as a hung program would.
struct HangingViewer {
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_DRAWCLIPBOARD)
            return ::DefWindowProcA(hWnd, message, wParam, lParam);
        ++s_nNotices;
        ::WaitForSingleObject(s_hAnswering, 10000);
        return 0;
    }
    static inline std::atomic<int> s_nNotices{0};
    static inline HANDLE s_hAnswering = ::CreateEventA(nullptr, TRUE, TRUE, nullptr);
};

// A viewer further down the chain that hangs costs the window a moment at most, and it keeps its
// place: once it answers again it hears of the next change through the window.
TEST(EditorClipboard, AHangingViewerFurtherOnNeitherFreezesTheWindowNorLosesItsPlace) {
    std::atomic<HWND> hViewer{nullptr};
    std::thread viewer([&] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &HangingViewer::WndProc;
        wc.lpszClassName = "QuireHangingViewer";
        ::RegisterClassA(&wc);
        HWND hWnd =
            ::CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        HWND hNext = ::SetClipboardViewer(hWnd);
        hViewer = hWnd;
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
            ::DispatchMessageA(&msg);
        ::ChangeClipboardChain(hWnd, hNext);
        ::DestroyWindow(hWnd);
    });
    ASSERT_TRUE(ModalAnswerer::PumpUntil([&] { return hViewer != nullptr; }));
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        ASSERT_EQ(dlg.NextClipboardViewer(), hViewer);
        ::ResetEvent(HangingViewer::s_hAnswering);
        DWORD start = ::GetTickCount();
        SetClipboard(dlg.m_hWnd, {{CF_TEXT, "one"}});
        EXPECT_LT(::GetTickCount() - start, 3000u);
        ::SetEvent(HangingViewer::s_hAnswering);
        int nBefore = HangingViewer::s_nNotices;
        SetClipboard(dlg.m_hWnd, {{CF_TEXT, "two"}});
        EXPECT_TRUE(ModalAnswerer::PumpUntil([&] { return HangingViewer::s_nNotices > nBefore; }));
        EXPECT_EQ(dlg.NextClipboardViewer(), hViewer);
    });
    ::PostMessageA(hViewer, WM_QUIT, 0, 0);
    viewer.join();
}

}  // namespace
