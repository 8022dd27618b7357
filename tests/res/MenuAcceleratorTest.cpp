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
         {"&New\tCtrl+N", IDM_FILE_NEW, {}},
         {"&Open...\tCtrl+O", IDM_FILE_OPEN, {}},
         {"&Save\tCtrl+S", IDM_FILE_SAVE, {}},
         {"Save &As...", IDM_FILE_SAVE_AS, {}},
         {"Save and Sen&d to Kelvra computer...", IDM_FILE_SAVE_SEND, {}},
         kSeparator,
         {"E&xit", IDM_FILE_EXIT, {}},
     }},
    {"&Edit",
     0,
     {
         {"&Undo\tCtrl+Z", IDM_EDIT_UNDO, {}},
         {"&Redo\tCtrl+Y", IDM_EDIT_REDO, {}},
         kSeparator,
         {"Table &of Contents",
          0,
          {
              {"&New Chapter", IDM_NEW_CHAPTER, {}},
              {"&Add Chapters from Files...\tCtrl+Shift+O", IDM_ADD_CHAPTERS, {}},
              {"&Rename Chapter", IDM_RENAME_CHAPTER, {}},
              {"&Delete Chapter", IDM_DELETE_CHAPTER, {}},
              {"Move Chapter &Up", IDM_MOVE_UP, {}},
              {"Move Chapter Do&wn", IDM_MOVE_DOWN, {}},
              {"&Merge with Next Chapter", IDM_MERGE_NEXT, {}},
          }},
         {"C&hapter",
          0,
          {
              {"&Add Text from File...", IDM_IMPORT_TEXT, {}},
              {"&Paste Text from Clipboard", IDM_PASTE_TEXT, {}},
              {"Split Chapter at &Cursor", IDM_SPLIT_AT_CURSOR, {}},
              {"&Split into Chapters...", IDM_SPLIT_INTO_CHAPTERS, {}},
          }},
         kSeparator,
         {"Cut\tCtrl+X", IDM_EDIT_CUT, {}},
         {"Copy\tCtrl+C", IDM_EDIT_COPY, {}},
         {"Paste\tCtrl+V", IDM_EDIT_PASTE, {}},
         {"&Delete", IDM_EDIT_DELETE, {}},
         kSeparator,
         {"Select All\tCtrl+A", IDM_EDIT_SELECT_ALL, {}},
         kSeparator,
         {"&Find...\tCtrl+F", IDM_EDIT_FIND, {}},
         {"Find &Next\tF3", IDM_EDIT_FIND_NEXT, {}},
         {"R&eplace...\tCtrl+H", IDM_EDIT_REPLACE, {}},
         {"Search Chapter T&itles Too", IDM_EDIT_FIND_TITLES, {}},
     }},
    {"&Help",
     0,
     {
         {"Kelvra Quire Binder Help\tF1", IDM_HELP, {}},
         {"&About...", IDM_ABOUT, {}},
     }},
};

const std::vector<Item> kEditorMenuPopup{
    {"&Undo", IDM_EDITOR_UNDO, {}},
    kSeparator,
    {"Cu&t", IDM_EDITOR_CUT, {}},
    {"&Copy", IDM_EDITOR_COPY, {}},
    {"&Paste", IDM_EDITOR_PASTE, {}},
    {"&Delete", IDM_EDITOR_DELETE, {}},
    kSeparator,
    {"Select &All", IDM_EDITOR_SELECT_ALL, {}},
    kSeparator,
    {"Split Chapter at Cu&rsor", IDM_SPLIT_AT_CURSOR, {}},
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
        char letter = amp != std::string::npos ? char(toupper(item[amp + 1])) : '\0';
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
        {'A', IDM_EDIT_SELECT_ALL}, {'C', IDM_EDIT_COPY},  {'N', IDM_FILE_NEW}, {'O', IDM_FILE_OPEN},
        {'S', IDM_FILE_SAVE},       {'V', IDM_EDIT_PASTE}, {'X', IDM_EDIT_CUT},
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
    EXPECT_EQ(translate('S', true), MAKEWPARAM(IDM_FILE_SAVE, 1));
    EXPECT_EQ(translate('S', false), -1);
    EXPECT_EQ(translate(VK_F1, false), -1);
    BYTE none[256] = {};
    SetKeyboardState(none);
    DestroyWindow(sink);
}

}  // namespace
