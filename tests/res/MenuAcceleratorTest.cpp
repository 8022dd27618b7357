// The menu bar, the chapter editor's context menu and the accelerator table against the design.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "resource.h"

namespace {

struct Item {
    const char* text;  // nullptr: a separator
    UINT id;           // 0 for a popup
    std::vector<Item> popup;
};

const Item kSeparator{nullptr, 0, {}};

const std::vector<Item> kMainMenu{
    {"&File",
     0,
     {
         {"&New\tCtrl+N", 57600, {}},
         {"&Open...\tCtrl+O", 57601, {}},
         {"&Save\tCtrl+S", 57603, {}},
         {"Save &As...", 32789, {}},
         {"Save and Sen&d to Kelvra computer...", 32797, {}},
         kSeparator,
         {"E&xit", 32771, {}},
     }},
    {"&Edit",
     0,
     {
         {"&Undo\tCtrl+Z", 32840, {}},
         {"&Redo\tCtrl+Y", 32841, {}},
         kSeparator,
         {"Table &of Contents",
          0,
          {
              {"&New Chapter", 32792, {}},
              {"&Add Chapters from Files...\tCtrl+Shift+O", IDM_ADD_CHAPTERS, {}},
              {"&Rename Chapter", 32793, {}},
              {"&Delete Chapter", 32798, {}},
              {"Move Chapter &Up", 32794, {}},
              {"Move Chapter Do&wn", 32795, {}},
              {"&Merge with Next Chapter", IDM_MERGE_NEXT, {}},
          }},
         {"C&hapter",
          0,
          {
              {"&Add Text from File...", 32790, {}},
              {"&Paste Text from Clipboard", 32791, {}},
              {"Split Chapter at &Cursor", IDM_SPLIT_AT_CURSOR, {}},
              {"&Split into Chapters...", IDM_SPLIT_INTO_CHAPTERS, {}},
          }},
         kSeparator,
         {"Cut\tCtrl+X", 57635, {}},
         {"Copy\tCtrl+C", 57634, {}},
         {"Paste\tCtrl+V", 57637, {}},
         {"&Delete", 32786, {}},
         kSeparator,
         {"Select All\tCtrl+A", 57642, {}},
         kSeparator,
         {"&Find...\tCtrl+F", 32842, {}},
         {"Find &Next\tF3", 32843, {}},
         {"R&eplace...\tCtrl+H", 32844, {}},
         {"Search Chapter T&itles Too", 32845, {}},
     }},
    {"&Help",
     0,
     {
         {"Kelvra Quire Binder Help\tF1", 57670, {}},
         {"&About...", 32788, {}},
     }},
};

const std::vector<Item> kEditorMenuPopup{
    {"&Undo", 32811, {}},   kSeparator, {"Cu&t", 32807, {}},        {"&Copy", 32808, {}}, {"&Paste", 32809, {}},
    {"&Delete", 32810, {}}, kSeparator, {"Select &All", 32806, {}},
    kSeparator, {"Split Chapter at Cu&rsor", IDM_SPLIT_AT_CURSOR, {}},
};

void ExpectMenu(HMENU menu, const std::vector<Item>& expected, const std::string& path) {
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(expected.size())) << path;
    for (size_t i = 0; i < expected.size(); ++i) {
        const Item& want = expected[i];
        char text[128] = "";
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = sizeof text;
        ASSERT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) << path << " #" << i;
        const std::string where = path + " #" + std::to_string(i);
        if (!want.text) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR) << where << " should be a separator";
            continue;
        }
        EXPECT_FALSE(info.fType & MFT_SEPARATOR) << where;
        EXPECT_STREQ(text, want.text) << where;
        if (want.popup.empty()) {
            EXPECT_EQ(info.hSubMenu, nullptr) << where;
            EXPECT_EQ(info.wID, want.id) << where << " " << want.text;
        } else {
            ASSERT_NE(info.hSubMenu, nullptr) << where << " " << want.text << " should open a submenu";
            ExpectMenu(info.hSubMenu, want.popup, path + " > " + want.text);
        }
    }
}

// Every item of a popup has its own access letter: an "&" of its own, or, for the designed texts
// that carry a shortcut and so stay as they are, the letter the window answers (given here).
void ExpectDistinctAccessLetters(HMENU menu) {
    const std::vector<std::pair<std::string, char>> kAnswered{
        {"Cut", 'T'}, {"Copy", 'C'}, {"Paste", 'P'}, {"Select All", 'A'}, {"Kelvra Quire Binder Help", 'H'}};
    std::string letters;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        if (GetMenuStringA(menu, UINT(i), text, int(sizeof text), MF_BYPOSITION) == 0)
            continue;  // a separator
        std::string item = std::string(text).substr(0, std::string(text).find('\t'));
        size_t amp = item.find('&');
        char letter = amp != std::string::npos ? char(toupper(item[amp + 1])) : 0;
        for (const auto& answered : kAnswered)
            letter = item == answered.first ? answered.second : letter;
        EXPECT_NE(letter, 0) << item;
        EXPECT_EQ(letters.find(letter), std::string::npos) << item << " repeats " << letter;
        letters += letter;
        if (HMENU sub = GetSubMenu(menu, i))
            ExpectDistinctAccessLetters(sub);
    }
}

TEST(Menu, MenuBar129) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINMENU));
    ASSERT_NE(menu, nullptr);
    ExpectMenu(menu, kMainMenu, "menu 129");
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        ExpectDistinctAccessLetters(GetSubMenu(menu, i));
    DestroyMenu(menu);
}

TEST(Menu, EditorContextMenu158IsItsFirstPopup) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_EDITOR_MENU));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 1);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    ExpectMenu(popup, kEditorMenuPopup, "menu 158");
    ExpectDistinctAccessLetters(popup);
    DestroyMenu(menu);
}

TEST(Accelerators, Table150IsCtrlPlusSevenKeys) {
    struct Entry {
        WORD key;
        WORD command;
    };
    const std::vector<Entry> expected{
        {'A', 57642}, {'C', 57634}, {'N', 57600}, {'O', 57601}, {'S', 57603}, {'V', 57637}, {'X', 57635},
    };
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    std::vector<ACCEL> entries(CopyAcceleratorTableA(table, nullptr, 0));
    CopyAcceleratorTableA(table, entries.data(), static_cast<int>(entries.size()));
    ASSERT_EQ(entries.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        // 0x80 only marks the table's last entry.
        EXPECT_EQ(entries[i].fVirt & 0x7F, FVIRTKEY | FCONTROL | FNOINVERT);
        EXPECT_EQ(entries[i].key, expected[i].key);
        EXPECT_EQ(entries[i].cmd, expected[i].command);
    }
}

// Ctrl+S reaches the window as the Save command; F1 has no entry (the framework's help key does it).
TEST(Accelerators, TranslateToTheirCommands) {
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    struct Sink {
        static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_COMMAND)
                SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
            return DefWindowProcA(hwnd, message, wParam, lParam);
        }
    };
    WNDCLASSA wc{};
    wc.lpfnWndProc = Sink::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuireAccelSink";
    RegisterClassA(&wc);
    HWND sink =
        CreateWindowA("QuireAccelSink", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(sink, nullptr);

    auto translate = [&](WORD key, bool ctrl) -> LONG_PTR {
        SetWindowLongPtrA(sink, GWLP_USERDATA, -1);
        BYTE keys[256] = {};
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG msg{sink, WM_KEYDOWN, key, 1, 0, {}};
        if (!TranslateAcceleratorA(sink, table, &msg))
            return -1;
        return GetWindowLongPtrA(sink, GWLP_USERDATA);
    };
    EXPECT_EQ(translate('S', true), MAKEWPARAM(57603, 1));
    EXPECT_EQ(translate('S', false), -1);
    EXPECT_EQ(translate(VK_F1, false), -1);
    BYTE none[256] = {};
    SetKeyboardState(none);
    DestroyWindow(sink);
}

}  // namespace
