// Each dialog template, created hidden from the compiled resources, against the design:
// its frame, font and size, and every control in template order (which is the tab order).
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resource.h"

namespace {

constexpr int kNoId = -1;

struct ControlSpec {
    int id;
    const char* windowClass;
    DWORD style;  // control-specific bits exactly; WS_ bits must be present; WS_TABSTOP exactly
    int x, y, cx, cy;
    const char* text;  // nullptr: not checked (an icon's text is its resource id)
    bool sizesItself;  // an icon static takes the icon's size
};

struct DialogSpec {
    int id;
    const char* caption;
    DWORD style;
    DWORD exStyle;
    int cx, cy;
    std::vector<ControlSpec> controls;
};

constexpr DWORD kEditLine = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kImageButton = BS_PUSHBUTTON;  // no tab stop, no text: painted by its owner later

const DialogSpec kAbout{
    100,
    "About Kelvra Quire Binder",
    DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    0,
    203,
    76,
    {
        {kNoId, "Static", SS_ICON, 11, 17, 20, 20, nullptr, true},
        {kNoId, "Static", SS_LEFT | SS_NOPREFIX, 49, 10, 103, 8, "Kelvra Quire Binder Version 1.0", false},
        {IDC_LINK, "Static", SS_LEFT, 74, 40, 55, 8, "http://kelvra.example/", false},
        {IDOK, "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, 77, 55, 50, 14, "OK", false},
    }};

const DialogSpec kMain{
    102,
    "Kelvra Quire Binder",
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
    WS_EX_APPWINDOW,
    411,
    260,
    {
        {IDC_AUTHOR, "Edit", kEditLine, 36, 21, 354, 14, "", false},
        {IDC_TITLE, "Edit", kEditLine, 36, 37, 342, 14, "", false},
        {IDC_CONTENTS, "ListBox",
         LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_DISABLENOSCROLL |
             WS_VSCROLL | WS_BORDER | WS_TABSTOP,
         19, 71, 126, 175, "", false},
        {IDC_PASTE_TEXT, "Button", kImageButton, 154, 84, 15, 14, "", false},
        {IDC_NEW_CHAPTER, "Button", kImageButton, 3, 70, 15, 14, "", false},
        {IDC_RENAME_CHAPTER, "Button", kImageButton, 3, 84, 15, 14, "", false},
        {IDC_DELETE_CHAPTER, "Button", kImageButton, 3, 99, 15, 14, "", false},
        {IDC_MOVE_UP, "Button", kImageButton, 3, 113, 15, 14, "", false},
        {IDC_MOVE_DOWN, "Button", kImageButton, 3, 128, 15, 14, "", false},
        {IDC_IMPORT_TEXT, "Button", kImageButton, 154, 70, 15, 14, "", false},
        {kNoId, "Static", SS_LEFT, 7, 23, 24, 8, "Author:", false},
        {kNoId, "Static", SS_LEFT, 11, 39, 16, 8, "Title:", false},
        {IDC_CHAPTERS_FRAME, "Button", BS_GROUPBOX, 0, 53, 405, 194, "", false},
        {kNoId, "Static", SS_CENTER | SS_CENTERIMAGE, 19, 60, 126, 11, "Table of Contents", false},
        {IDC_HEADER_FRAME, "Button", BS_GROUPBOX, 0, 15, 405, 40, "", false},
        {IDC_NEW_BOOK, "Button", kImageButton, 0, 3, 15, 14, "", false},
        {IDC_OPEN_BOOK, "Button", kImageButton, 16, 3, 15, 14, "", false},
        {IDC_SAVE_BOOK, "Button", kImageButton, 32, 3, 15, 14, "", false},
        {IDC_SEND_BOOK, "Button", kImageButton, 48, 3, 15, 14, "", false},
        {IDC_EDITOR, "RichEdit",
         ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_DISABLENOSCROLL | WS_VSCROLL | WS_BORDER |
             WS_TABSTOP,
         170, 71, 223, 174, "", false},
        {IDC_CHAPTER_LABEL, "Static", SS_LEFTNOWORDWRAP, 170, 60, 219, 11, "", false},
    }};

const DialogSpec kChapterTitle{
    139,
    "Chapter Title",
    DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT,
    0,
    226,
    66,
    {
        // Multi-line without ES_WANTRETURN, so that Enter presses OK.
        {IDC_CHAPTER_TITLE_BOX, "Edit", ES_MULTILINE | WS_BORDER | WS_VSCROLL | WS_TABSTOP, 0, 0, 226, 45, "",
         false},
        {IDOK, "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, 58, 48, 50, 14, "OK", false},
        {IDCANCEL, "Button", BS_PUSHBUTTON | WS_TABSTOP, 120, 48, 50, 14, "Cancel", false},
    }};

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// A dialog made from a copy of its template with WS_VISIBLE cleared, so nothing shows.
struct HiddenDialog {
    DWORD templateStyle = 0;
    HWND hwnd = nullptr;

    explicit HiddenDialog(int id) {
        HMODULE module = GetModuleHandleA(nullptr);
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
        if (!found)
            return;
        const BYTE* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
        std::vector<DWORD> copy((SizeofResource(module, found) + 3) / 4);
        std::memcpy(copy.data(), bytes, SizeofResource(module, found));
        // DIALOGEX header: version, signature, help id, extended style, then the style.
        const size_t styleOffset = 12;
        std::memcpy(&templateStyle, reinterpret_cast<BYTE*>(copy.data()) + styleOffset, sizeof templateStyle);
        DWORD hidden = templateStyle & ~WS_VISIBLE;
        std::memcpy(reinterpret_cast<BYTE*>(copy.data()) + styleOffset, &hidden, sizeof hidden);
        hwnd = CreateDialogIndirectParamA(module, reinterpret_cast<LPCDLGTEMPLATEA>(copy.data()), nullptr,
                                          QuietDialogProc, 0);
    }
    ~HiddenDialog() {
        if (hwnd)
            DestroyWindow(hwnd);
    }
    HiddenDialog(const HiddenDialog&) = delete;
    HiddenDialog& operator=(const HiddenDialog&) = delete;
};

std::string WindowText(HWND hwnd) {
    char buffer[256] = "";
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
}

std::string ClassOf(HWND hwnd) {
    char buffer[64] = "";
    GetClassNameA(hwnd, buffer, sizeof buffer);
    return buffer;
}

// Mapped as the dialog manager maps a template: position and size each on their own, so that
// rounding matches.
RECT DialogUnits(HWND dialog, int x, int y, int cx, int cy) {
    RECT r{x, y, cx, cy};
    MapDialogRect(dialog, &r);
    return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
}

RECT ClientRectOf(HWND control, HWND dialog) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class DialogTemplate : public testing::TestWithParam<const DialogSpec*> {
protected:
    static void SetUpTestSuite() {
        // The main window's chapter editor is a rich edit 1.0 control.
        s_richEdit = LoadLibraryA("RICHED32.DLL");
        ASSERT_NE(s_richEdit, nullptr);
    }
    static void TearDownTestSuite() {
        if (s_richEdit)
            FreeLibrary(s_richEdit);
        s_richEdit = nullptr;
    }

private:
    static HMODULE s_richEdit;
};

HMODULE DialogTemplate::s_richEdit = nullptr;

TEST_P(DialogTemplate, FrameFontAndSize) {
    const DialogSpec& spec = *GetParam();
    HiddenDialog dialog(spec.id);
    ASSERT_NE(dialog.hwnd, nullptr) << "dialog " << spec.id << " could not be created";

    EXPECT_EQ(dialog.templateStyle & ~DS_SETFONT, spec.style & ~DS_SETFONT);
    EXPECT_EQ(GetWindowLongA(dialog.hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW, spec.exStyle);
    EXPECT_EQ(WindowText(dialog.hwnd), spec.caption);

    LOGFONTA font{};
    HFONT hfont = reinterpret_cast<HFONT>(SendMessageA(dialog.hwnd, WM_GETFONT, 0, 0));
    ASSERT_NE(GetObjectA(hfont, sizeof font, &font), 0);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);

    RECT client;
    GetClientRect(dialog.hwnd, &client);
    RECT expected = DialogUnits(dialog.hwnd, 0, 0, spec.cx, spec.cy);
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);
}

TEST_P(DialogTemplate, ControlsInTemplateOrder) {
    const DialogSpec& spec = *GetParam();
    HiddenDialog dialog(spec.id);
    ASSERT_NE(dialog.hwnd, nullptr) << "dialog " << spec.id << " could not be created";

    HWND child = GetWindow(dialog.hwnd, GW_CHILD);
    for (size_t i = 0; i < spec.controls.size(); ++i, child = GetWindow(child, GW_HWNDNEXT)) {
        const ControlSpec& c = spec.controls[i];
        SCOPED_TRACE("dialog " + std::to_string(spec.id) + ", control #" + std::to_string(i) + " (id " +
                     std::to_string(c.id) + ")");
        ASSERT_NE(child, nullptr) << "missing";
        EXPECT_EQ(GetDlgCtrlID(child), c.id);
        EXPECT_EQ(_stricmp(ClassOf(child).c_str(), c.windowClass), 0) << ClassOf(child);

        DWORD style = GetWindowLongA(child, GWL_STYLE);
        // The dialog manager draws a bordered edit control's border as a sunken client edge.
        if (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)
            style |= WS_BORDER;
        EXPECT_EQ(style & 0xFFFF, c.style & 0xFFFF) << std::hex << style;
        EXPECT_EQ(style & c.style & 0xFFFF0000, c.style & 0xFFFF0000) << std::hex << style;
        EXPECT_EQ(style & WS_TABSTOP, c.style & WS_TABSTOP) << "tab stop";
        EXPECT_TRUE(style & WS_VISIBLE);
        if (c.text) {
            EXPECT_EQ(WindowText(child), c.text);
        }

        RECT actual = ClientRectOf(child, dialog.hwnd);
        RECT expected = DialogUnits(dialog.hwnd, c.x, c.y, c.cx, c.cy);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        if (!c.sizesItself) {
            EXPECT_EQ(actual.right, expected.right);
            EXPECT_EQ(actual.bottom, expected.bottom);
        }
    }
    EXPECT_EQ(child, nullptr) << "more controls than the design has: next is id " << GetDlgCtrlID(child);
}

INSTANTIATE_TEST_SUITE_P(Resources,
                         DialogTemplate,
                         testing::Values(&kAbout, &kMain, &kChapterTitle),
                         [](const testing::TestParamInfo<const DialogSpec*>& param) {
                             return "Template" + std::to_string(param.param->id);
                         });

// The About box shows program icon 128 in its icon static.
TEST(AboutBox, ShowsTheProgramIcon) {
    HiddenDialog dialog(IDD_ABOUTBOX);
    ASSERT_NE(dialog.hwnd, nullptr);
    HWND iconStatic = GetWindow(dialog.hwnd, GW_CHILD);
    HICON shown = reinterpret_cast<HICON>(SendMessageA(iconStatic, STM_GETICON, 0, 0));
    ASSERT_NE(shown, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(shown, &info));
    EXPECT_EQ(info.xHotspot * 2, static_cast<DWORD>(GetSystemMetrics(SM_CXICON)));
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
}

}  // namespace
