// The main window as it stands after start-up: its controls against the template, the attached
// custom controls, menus, tooltips, painting, the layout on resizing, the minimum size, and the
// keys that would end an ordinary dialog.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "MessageSink.h"
#include "ModalAnswerer.h"
#include "TestMainDlg.h"
#include "WindowRunner.h"

using WindowRunner::kStillOpen;
using WindowRunner::WindowText;

namespace {

constexpr DWORD kImageButton = BS_OWNERDRAW;  // attached buttons draw themselves

struct ControlSpec {
    int id;
    const char* windowClass;
    DWORD style;  // these bits must be set
    const char* text;
};

// Template order, which is also the tab order; the status bar comes last, made at initialisation.
const std::vector<ControlSpec> kControls = {
    {IDC_AUTHOR, "Edit", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, ""},
    {IDC_TITLE, "Edit", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, ""},
    {IDC_CONTENTS, "ListBox",
     LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_DISABLENOSCROLL |
         WS_VSCROLL | WS_BORDER | WS_TABSTOP,
     ""},
    {IDC_PASTE_TEXT, "Button", kImageButton, ""},
    {IDC_NEW_CHAPTER, "Button", kImageButton, ""},
    {IDC_RENAME_CHAPTER, "Button", kImageButton, ""},
    {IDC_DELETE_CHAPTER, "Button", kImageButton, ""},
    {IDC_MOVE_UP, "Button", kImageButton, ""},
    {IDC_MOVE_DOWN, "Button", kImageButton, ""},
    {IDC_IMPORT_TEXT, "Button", kImageButton, ""},
    {-1, "Static", SS_LEFT, "Author:"},
    {-1, "Static", SS_LEFT, "Title:"},
    {IDC_CHAPTERS_FRAME, "Button", BS_GROUPBOX, ""},
    {-1, "Static", SS_CENTER | SS_CENTERIMAGE, "Table of Contents"},
    {IDC_HEADER_FRAME, "Button", BS_GROUPBOX, ""},
    {IDC_NEW_BOOK, "Button", kImageButton, ""},
    {IDC_OPEN_BOOK, "Button", kImageButton, ""},
    {IDC_SAVE_BOOK, "Button", kImageButton, ""},
    {IDC_SEND_BOOK, "Button", kImageButton, ""},
    {IDC_EDITOR, "RichEdit",
     ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_DISABLENOSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP,
     ""},
    {IDC_CHAPTER_LABEL, "Static", SS_LEFTNOWORDWRAP, ""},
    {IDC_STATUS_BAR, "msctls_statusbar32", WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP, "Book Size ~ 1 Kb"},
};

std::string ClassName(HWND hWnd) {
    char name[64] = {};
    ::GetClassNameA(hWnd, name, int(sizeof(name)));
    return name;
}

RECT ClientRectOf(HWND hWnd, HWND hParent) {
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT ChildRect(const CTestMainDlg& dlg, int id) {
    return ClientRectOf(::GetDlgItem(dlg.m_hWnd, id), dlg.m_hWnd);
}

POINT Centre(const RECT& rect) {
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The tip the window gives for a point in client coordinates.
std::string TipAt(const CTestMainDlg& dlg, POINT point, INT_PTR* pHit = nullptr) {
    TOOLINFOA ti{};
    ti.cbSize = sizeof(ti);
    INT_PTR nHit = dlg.OnToolHitTest(point, &ti);
    if (pHit != nullptr)
        *pHit = nHit;
    std::string text = ti.lpszText != nullptr ? ti.lpszText : "";
    std::free(ti.lpszText);
    return text;
}

struct MenuItem {
    std::string text;
    UINT id;  // 0 for separators and submenus
    std::vector<MenuItem> items;
};

std::vector<MenuItem> ReadMenu(HMENU hMenu) {
    std::vector<MenuItem> items;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        char text[128] = {};
        ::GetMenuStringA(hMenu, UINT(i), text, int(sizeof(text)), MF_BYPOSITION);
        HMENU hSub = ::GetSubMenu(hMenu, i);
        UINT id = hSub != nullptr ? 0 : ::GetMenuItemID(hMenu, i);
        items.push_back(MenuItem{text, id == UINT(-1) ? 0 : id,
                                 hSub != nullptr ? ReadMenu(hSub) : std::vector<MenuItem>{}});
    }
    return items;
}

void ExpectMenu(const std::vector<MenuItem>& actual, const std::vector<MenuItem>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("item " + std::to_string(i) + " \"" + expected[i].text + "\"");
        EXPECT_EQ(actual[i].text, expected[i].text);
        EXPECT_EQ(actual[i].id, expected[i].id);
        ExpectMenu(actual[i].items, expected[i].items);
    }
}

TEST(MainWindow, ControlsAfterStartUpMatchTheTemplate) {
    CTestMainDlg dlg;
    INT_PTR nResult = WindowRunner::Run(dlg, [](CTestMainDlg& w) {
        EXPECT_EQ(WindowText(w.m_hWnd), "new.book - Kelvra Quire Binder");
        size_t i = 0;
        for (HWND hChild = ::GetWindow(w.m_hWnd, GW_CHILD); hChild != nullptr;
             hChild = ::GetWindow(hChild, GW_HWNDNEXT), ++i) {
            ASSERT_LT(i, kControls.size()) << "an extra child window, class " << ClassName(hChild);
            const ControlSpec& spec = kControls[i];
            SCOPED_TRACE("control " + std::to_string(i) + " id " + std::to_string(spec.id));
            EXPECT_EQ(::GetDlgCtrlID(hChild), spec.id);
            EXPECT_EQ(::lstrcmpiA(ClassName(hChild).c_str(), spec.windowClass), 0) << ClassName(hChild);
            DWORD style = DWORD(::GetWindowLongA(hChild, GWL_STYLE));
            // The dialog manager draws a template's border as a sunken client edge.
            if (::GetWindowLongA(hChild, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)
                style |= WS_BORDER;
            EXPECT_EQ(style & spec.style, spec.style);
            // The type bits of buttons and statics are one value, not flags.
            if (std::string(spec.windowClass) == "Button") {
                EXPECT_EQ(style & BS_TYPEMASK, spec.style & BS_TYPEMASK);
                EXPECT_EQ(style & WS_TABSTOP, 0u);
            }
            if (std::string(spec.windowClass) == "Static") {
                EXPECT_EQ(style & SS_TYPEMASK, spec.style & SS_TYPEMASK);
            }
            EXPECT_EQ(WindowText(hChild), spec.text);
        }
        EXPECT_EQ(i, kControls.size());

        // The custom controls are attached; every button has its 16x16 icon.
        EXPECT_NE(
            dynamic_cast<CContentsListBox*>(CWnd::FromHandlePermanent(::GetDlgItem(w.m_hWnd, IDC_CONTENTS))),
            nullptr);
        for (const ButtonSpec& button : kButtonTips) {
            SCOPED_TRACE("button " + std::to_string(button.id));
            auto* pButton = dynamic_cast<CImageButton*>(CWnd::FromHandlePermanent(::GetDlgItem(w.m_hWnd, button.id)));
            ASSERT_NE(pButton, nullptr);
            EXPECT_NE(pButton->GetActiveIcon(), nullptr);
            EXPECT_EQ(pButton->GetIconSize().cx, 16);
            EXPECT_EQ(pButton->GetIconSize().cy, 16);
        }

        // Limits, event mask and the state of a new book.
        HWND hEditor = ::GetDlgItem(w.m_hWnd, IDC_EDITOR);
        EXPECT_EQ(::SendMessageA(::GetDlgItem(w.m_hWnd, IDC_AUTHOR), EM_GETLIMITTEXT, 0, 0), 50);
        EXPECT_EQ(::SendMessageA(::GetDlgItem(w.m_hWnd, IDC_TITLE), EM_GETLIMITTEXT, 0, 0), 50);
        EXPECT_EQ(::SendMessageA(hEditor, EM_GETEVENTMASK, 0, 0), ENM_CHANGE | ENM_MOUSEEVENTS);
        EXPECT_EQ(::SendMessageA(hEditor, EM_GETLIMITTEXT, 0, 0), 0x100000);
        EXPECT_FALSE(::IsWindowEnabled(hEditor));
        for (int id : {IDC_NEW_CHAPTER, IDC_NEW_BOOK, IDC_OPEN_BOOK, IDC_SAVE_BOOK, IDC_SEND_BOOK})
            EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(w.m_hWnd, id))) << id;
        for (int id : {IDC_DELETE_CHAPTER, IDC_RENAME_CHAPTER, IDC_IMPORT_TEXT, IDC_MOVE_UP, IDC_MOVE_DOWN,
                       IDC_PASTE_TEXT})
            EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(w.m_hWnd, id))) << id;
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(w.m_hWnd, IDC_AUTHOR));
        EXPECT_EQ(w.EditTarget(), w.Item(IDC_AUTHOR));
        w.RestoreFocus();  // stays where it is
        EXPECT_EQ(::GetFocus(), w.Item(IDC_AUTHOR));
        EXPECT_FALSE(w.IsModified());

        HICON hIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_QUIREBINDER));
        EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(w.m_hWnd, WM_GETICON, ICON_BIG, 0)), hIcon);
        EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(w.m_hWnd, WM_GETICON, ICON_SMALL, 0)), hIcon);
        EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(w.m_hWnd, WM_QUERYDRAGICON, 0, 0)), hIcon);
    });
    EXPECT_EQ(nResult, kStillOpen);
}

TEST(MainWindow, MenuBarContextMenuAndSystemMenu) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [](CTestMainDlg& w) {
        // The window shows the menus of the resources (their texts are checked there), nothing added
        // while no book was opened yet.
        HMODULE hModule = ::GetModuleHandleA(nullptr);
        HMENU hMenuBar = ::LoadMenuA(hModule, MAKEINTRESOURCEA(IDR_MAINMENU));
        ExpectMenu(ReadMenu(::GetMenu(w.m_hWnd)), ReadMenu(hMenuBar));
        ::DestroyMenu(hMenuBar);
        w.AddChapter("One");  // the editor takes clicks
        HMENU hShown = w.RightClickEditor();
        ASSERT_NE(hShown, nullptr);
        HMENU hContext = ::LoadMenuA(hModule, MAKEINTRESOURCEA(IDR_EDITOR_MENU));
        ExpectMenu(ReadMenu(hShown), ReadMenu(::GetSubMenu(hContext, 0)));
        ::DestroyMenu(hContext);

        std::vector<MenuItem> system = ReadMenu(::GetSystemMenu(w.m_hWnd, FALSE));
        ASSERT_GE(system.size(), 2u);
        EXPECT_EQ(system[system.size() - 2].text, "");
        EXPECT_EQ(system.back().text, "&About...");
        EXPECT_EQ(system.back().id, 16u);
    });
}

TEST(MainWindow, TooltipsNameEveryButtonAndNothingElse) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [](CTestMainDlg& w) {
        for (const ButtonSpec& button : kButtonTips) {
            INT_PTR nHit = -1;
            EXPECT_EQ(TipAt(w, Centre(ChildRect(w, button.id)), &nHit), button.tip) << button.id;
            EXPECT_EQ(nHit, button.id);
        }
        for (int id : {IDC_CONTENTS, IDC_EDITOR, IDC_AUTHOR, IDC_STATUS_BAR})
            EXPECT_EQ(TipAt(w, Centre(ChildRect(w, id))), "") << id;
        INT_PTR nHit = 0;
        EXPECT_EQ(TipAt(w, POINT{1, 1}, &nHit), "");  // the bare window
        EXPECT_EQ(nHit, -1);
    });
}

TEST(MainWindow, PaintsAnEtchedLineUnderTheMenu) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [](CTestMainDlg& w) {
        ::RedrawWindow(w.m_hWnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT client;
        ::GetClientRect(w.m_hWnd, &client);
        HDC hdc = ::GetDC(w.m_hWnd);
        int x = client.right / 2;  // clear of the top row of buttons
        EXPECT_EQ(::GetPixel(hdc, x, 0), ::GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(::GetPixel(hdc, x, 1), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(::GetPixel(hdc, x, 2), ::GetSysColor(COLOR_BTNFACE));
        ::ReleaseDC(w.m_hWnd, hdc);
    });
}

// After every resize: Author, Title, the chapter label and the editor end 5 pixels from the right,
// the frames at the right edge; the editor and the list end 5 pixels above the status bar, the
// chapters frame on it. Nothing moves its left or top edge, and the buttons stay where they are.
TEST(MainWindow, LayoutFollowsTheWindowSize) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [](CTestMainDlg& w) {
        std::vector<RECT> before;
        const int kFixed[] = {IDC_AUTHOR,       IDC_TITLE,         IDC_CONTENTS, IDC_CHAPTERS_FRAME,
                              IDC_HEADER_FRAME, IDC_CHAPTER_LABEL, IDC_EDITOR};
        for (int id : kFixed)
            before.push_back(ChildRect(w, id));
        std::vector<RECT> buttons;
        for (const ButtonSpec& button : kButtonTips)
            buttons.push_back(ChildRect(w, button.id));

        for (SIZE size : {SIZE{900, 700}, SIZE{700, 450}, SIZE{1000, 520}}) {
            SCOPED_TRACE("window " + std::to_string(size.cx) + "x" + std::to_string(size.cy));
            ::SetWindowPos(w.m_hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
            RECT client;
            ::GetClientRect(w.m_hWnd, &client);
            RECT status = ChildRect(w, IDC_STATUS_BAR);
            EXPECT_EQ(status.bottom, client.bottom);
            EXPECT_EQ(status.left, client.left);
            EXPECT_EQ(status.right, client.right);
            const LONG h = status.bottom - status.top;
            EXPECT_GT(h, 0);

            EXPECT_EQ(ChildRect(w, IDC_AUTHOR).right, client.right - 5);
            EXPECT_EQ(ChildRect(w, IDC_TITLE).right, client.right - 5);
            EXPECT_EQ(ChildRect(w, IDC_CHAPTER_LABEL).right, client.right - 5);
            EXPECT_EQ(ChildRect(w, IDC_HEADER_FRAME).right, client.right);
            EXPECT_EQ(ChildRect(w, IDC_EDITOR).right, client.right - 5);
            EXPECT_EQ(ChildRect(w, IDC_EDITOR).bottom, client.bottom - h - 5);
            EXPECT_EQ(ChildRect(w, IDC_CHAPTERS_FRAME).right, client.right);
            EXPECT_EQ(ChildRect(w, IDC_CHAPTERS_FRAME).bottom, client.bottom - h);
            EXPECT_EQ(ChildRect(w, IDC_CONTENTS).bottom, client.bottom - h - 5);
            EXPECT_EQ(ChildRect(w, IDC_CONTENTS).right, before[2].right);  // the list keeps its width
            for (size_t i = 0; i < before.size(); ++i) {
                EXPECT_EQ(ChildRect(w, kFixed[i]).left, before[i].left) << kFixed[i];
                EXPECT_EQ(ChildRect(w, kFixed[i]).top, before[i].top) << kFixed[i];
            }
            for (size_t i = 0; i < kButtonTips.size(); ++i) {
                RECT now = ChildRect(w, kButtonTips[i].id);
                EXPECT_TRUE(::EqualRect(&now, &buttons[i])) << kButtonTips[i].id;
            }
        }
    });
}

TEST(MainWindow, MinimumSizeWhileDragging) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [](CTestMainDlg& w) {
        RECT window;
        ::GetWindowRect(w.m_hWnd, &window);
        RECT paste;
        ::GetWindowRect(::GetDlgItem(w.m_hWnd, IDC_PASTE_TEXT), &paste);
        RECT down;
        ::GetWindowRect(::GetDlgItem(w.m_hWnd, IDC_MOVE_DOWN), &down);
        RECT status;
        ::GetWindowRect(::GetDlgItem(w.m_hWnd, IDC_STATUS_BAR), &status);
        const LONG minWidth = paste.right - window.left + 10;
        const LONG minHeight = down.bottom - window.top + (status.bottom - status.top) + 10;

        auto sizing = [&](UINT edge, RECT proposed) {
            ::SendMessageA(w.m_hWnd, WM_SIZING, edge, reinterpret_cast<LPARAM>(&proposed));
            return proposed;
        };
        // Too small from the left and the top: the right and bottom edges stay.
        RECT r =
            sizing(WMSZ_TOPLEFT, RECT{window.right - 20, window.bottom - 20, window.right, window.bottom});
        EXPECT_EQ(r.right, window.right);
        EXPECT_EQ(r.left, window.right - minWidth);
        EXPECT_EQ(r.bottom, window.bottom);
        EXPECT_EQ(r.top, window.bottom - minHeight);
        r = sizing(WMSZ_LEFT, RECT{window.right - 20, window.top, window.right, window.bottom});
        EXPECT_EQ(r.left, window.right - minWidth);
        EXPECT_EQ(r.top, window.top);
        r = sizing(WMSZ_TOP, RECT{window.left, window.bottom - 20, window.right, window.bottom});
        EXPECT_EQ(r.top, window.bottom - minHeight);
        EXPECT_EQ(r.left, window.left);
        // From the right and the bottom: the left and top edges stay.
        r = sizing(WMSZ_BOTTOMRIGHT, RECT{window.left, window.top, window.left + 20, window.top + 20});
        EXPECT_EQ(r.left, window.left);
        EXPECT_EQ(r.right, window.left + minWidth);
        EXPECT_EQ(r.top, window.top);
        EXPECT_EQ(r.bottom, window.top + minHeight);
        // Big enough: untouched.
        RECT big{window.left - 50, window.top - 50, window.right + 50, window.bottom + 50};
        r = sizing(WMSZ_TOPLEFT, big);
        EXPECT_TRUE(::EqualRect(&r, &big));
    });
}

// Escape anywhere and Enter in the Author field reach the window, which stays open.
TEST(MainWindow, EscapeAndEnterNeverCloseIt) {
    CTestMainDlg dlg;
    INT_PTR nResult = WindowRunner::Run(dlg, [](CTestMainDlg& w) {
        HWND hAuthor = ::GetDlgItem(w.m_hWnd, IDC_AUTHOR);
        ::SetFocus(hAuthor);
        WindowRunner::PressKey(hAuthor, VK_RETURN);
        WindowRunner::PressKey(hAuthor, VK_ESCAPE);
        HWND hList = ::GetDlgItem(w.m_hWnd, IDC_CONTENTS);
        ::SetFocus(hList);
        WindowRunner::PressKey(hList, VK_ESCAPE);
        WindowRunner::PressKey(w.m_hWnd, VK_ESCAPE);
        // Enter went through the dialog manager as IDOK, which the window ignores.
        std::vector<UINT> ids = w.MenuCommandIds();
        EXPECT_EQ(std::count(ids.begin(), ids.end(), UINT(IDOK)), 1);
        EXPECT_EQ(std::count(ids.begin(), ids.end(), UINT(IDCANCEL)), 0);
    });
    EXPECT_EQ(nResult, kStillOpen);
}

// The window is a clipboard viewer from its start to its end, and leaves the chain as it was.
TEST(MainWindow, JoinsAndLeavesTheClipboardViewerChain) {
    HWND hBefore = ::GetClipboardViewer();
    CTestMainDlg dlg;
    HWND hDuring = nullptr;
    WindowRunner::Run(dlg, [&](CTestMainDlg& w) {
        hDuring = ::GetClipboardViewer();
        EXPECT_EQ(hDuring, w.m_hWnd);
    });
    EXPECT_NE(hDuring, nullptr);
    EXPECT_EQ(::GetClipboardViewer(), hBefore);
}

// The book writer's messages and both About commands open their boxes over the main window.
TEST(MainWindow, MessageSinkAndAboutBoxes) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [](CTestMainDlg& w) {
        ModalAnswerer answerer;
        answerer.Expect(ModalAnswerer::Press("Kelvra Quire Binder", IDOK).WithText("disk full"));
        ShowMessage("disk full");
        answerer.Expect(ModalAnswerer::Press("About Kelvra Quire Binder", IDOK));
        ::SendMessageA(w.m_hWnd, WM_SYSCOMMAND, 16, 0);
        answerer.Expect(ModalAnswerer::Press("About Kelvra Quire Binder", IDOK));
        ::SendMessageA(w.m_hWnd, WM_COMMAND, IDM_ABOUT, 0);
        EXPECT_TRUE(answerer.AllAnswered());
        ASSERT_EQ(answerer.Seen().size(), 3u);
        for (const auto& seen : answerer.Seen())
            EXPECT_EQ(seen.hOwner, w.m_hWnd) << seen.caption;
    });
}

}  // namespace
