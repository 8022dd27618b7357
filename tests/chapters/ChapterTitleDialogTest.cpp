// The chapter title dialog run modally on the program's own template, answered in-process.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ChapterTitleDialog.h"
#include "ModalAnswerer.h"
#include "resource.h"

namespace {

constexpr char kCaption[] = "Chapter Title";

struct BoxState {
    std::string text;
    int nSelStart = -1;
    int nSelEnd = -1;
    int nLimit = -1;
    bool bFocused = false;
};

HWND Box(HWND hDlg) {
    return ::GetDlgItem(hDlg, IDC_CHAPTER_TITLE_BOX);
}

BoxState ReadBox(HWND hDlg) {
    BoxState state;
    state.text = ModalAnswerer::ControlText(hDlg, IDC_CHAPTER_TITLE_BOX);
    DWORD start = 0, end = 0;
    ::SendMessageA(Box(hDlg), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    state.nSelStart = int(start);
    state.nSelEnd = int(end);
    state.nLimit = int(::SendMessageA(Box(hDlg), EM_GETLIMITTEXT, 0, 0));
    state.bFocused = ::GetFocus() == Box(hDlg);
    return state;
}

void SetBox(HWND hDlg, const std::string& text) {
    ::SendMessageA(Box(hDlg), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// A key as the user presses it: through the modal loop and the dialog manager.
void PostKey(HWND hDlg, UINT vk) {
    ::PostMessageA(Box(hDlg), WM_KEYDOWN, vk, 1);
    ::PostMessageA(Box(hDlg), WM_KEYUP, vk, MAKELPARAM(1, 0xC000));  // once, was down, going up
}

void Press(HWND hDlg, int nButton) {
    ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED), LPARAM(::GetDlgItem(hDlg, nButton)));
}

// Runs the dialog on `given`; `act` sees the open dialog and must end it.
INT_PTR RunDialog(CChapterTitleDialog& dlg, const std::string& given, std::function<void(HWND)> act) {
    dlg.m_strTitle = given;
    ModalAnswerer answerer(10000);
    answerer.Expect(ModalAnswerer::Act(kCaption, std::move(act)));
    INT_PTR nResult = dlg.DoModal();
    EXPECT_TRUE(answerer.AllAnswered());
    return nResult;
}

TEST(ChapterTitleDialogTest, NewChapterIsProposedSelectedAndTakenWithEnter) {
    CChapterTitleDialog dlg;
    BoxState state;
    INT_PTR nResult = RunDialog(dlg, "", [&state](HWND hDlg) {
        state = ReadBox(hDlg);
        PostKey(hDlg, VK_RETURN);
    });
    EXPECT_EQ(state.text, "New Chapter");
    EXPECT_EQ(state.nSelStart, 0);
    EXPECT_EQ(state.nSelEnd, 11);
    EXPECT_EQ(state.nLimit, 100);
    EXPECT_TRUE(state.bFocused);
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(dlg.m_strTitle, "New Chapter");
}

TEST(ChapterTitleDialogTest, TypingReplacesTheProposalUpToOneHundredCharacters) {
    CChapterTitleDialog dlg;
    std::string typed;
    INT_PTR nResult = RunDialog(dlg, "", [&typed](HWND hDlg) {
        for (int i = 0; i < 120; ++i)
            ::SendMessageA(Box(hDlg), WM_CHAR, 'a' + i % 26, 1);
        typed = ModalAnswerer::ControlText(hDlg, IDC_CHAPTER_TITLE_BOX);
        Press(hDlg, IDOK);
    });
    EXPECT_EQ(typed.size(), 100u);
    EXPECT_EQ(typed.substr(0, 3), "abc");
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(dlg.m_strTitle, typed);
}

TEST(ChapterTitleDialogTest, LongerGivenTitlesAreShownWholeAndSelected) {
    for (size_t nLength : {100u, 150u}) {
        std::string given;
        while (given.size() < nLength)
            given += char('A' + given.size() % 26);
        CChapterTitleDialog dlg;
        BoxState state;
        INT_PTR nResult = RunDialog(dlg, given, [&state](HWND hDlg) {
            state = ReadBox(hDlg);
            PostKey(hDlg, VK_RETURN);
        });
        EXPECT_EQ(state.text, given);
        EXPECT_EQ(state.nSelStart, 0);
        EXPECT_EQ(state.nSelEnd, int(nLength));
        EXPECT_EQ(nResult, IDOK);
        EXPECT_EQ(dlg.m_strTitle, given);
    }
}

TEST(ChapterTitleDialogTest, OkMakesOneLineWithoutTrailingWhiteSpace) {
    struct Case {
        const char* typed;
        const char* title;
    };
    for (const Case& c :
         {Case{"Part\nOne", "Part One"}, Case{"Part\r\nTwo", "Part  Two"}, Case{"A\tB", "A B"},
          Case{"  word  ", "  word"}, Case{"Title\r\n\t \r\n", "Title"}}) {
        CChapterTitleDialog dlg;
        INT_PTR nResult = RunDialog(dlg, "Old", [&c](HWND hDlg) {
            SetBox(hDlg, c.typed);
            Press(hDlg, IDOK);
        });
        EXPECT_EQ(nResult, IDOK) << c.typed;
        EXPECT_EQ(dlg.m_strTitle, c.title);
    }
}

TEST(ChapterTitleDialogTest, BlankTitleEmptiesTheBoxAndKeepsTheDialogOpen) {
    CChapterTitleDialog dlg;
    bool bStillOpen = false;
    std::string after = "unread";
    INT_PTR nResult = RunDialog(dlg, "Chapter One", [&](HWND hDlg) {
        SetBox(hDlg, "   \r\n\t ");
        Press(hDlg, IDOK);
        bStillOpen = ::IsWindowVisible(hDlg) != FALSE;
        after = ModalAnswerer::ControlText(hDlg, IDC_CHAPTER_TITLE_BOX);
        PostKey(hDlg, VK_RETURN);  // refused again, now with an empty box
        ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    EXPECT_TRUE(bStillOpen);
    EXPECT_EQ(after, "");
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(dlg.m_strTitle, "Chapter One");
}

TEST(ChapterTitleDialogTest, CancelEscapeAndCloseLeaveTheTitleAsGiven) {
    auto cancelButton = [](HWND hDlg) {
        ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    };
    auto escape = [](HWND hDlg) { PostKey(hDlg, VK_ESCAPE); };
    auto closeBox = [](HWND hDlg) { ::PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); };
    for (const std::function<void(HWND)>& end :
         {std::function<void(HWND)>(cancelButton), std::function<void(HWND)>(escape),
          std::function<void(HWND)>(closeBox)}) {
        CChapterTitleDialog dlg;
        INT_PTR nResult = RunDialog(dlg, "Chapter One", [&end](HWND hDlg) {
            SetBox(hDlg, "Something else");
            end(hDlg);
        });
        EXPECT_EQ(nResult, IDCANCEL);
        EXPECT_EQ(dlg.m_strTitle, "Chapter One");
    }
}

TEST(ChapterTitleDialogTest, NormalizeTitle) {
    EXPECT_EQ(CChapterTitleDialog::NormalizeTitle("New Chapter"), "New Chapter");
    EXPECT_EQ(CChapterTitleDialog::NormalizeTitle("a\nb\rc\td"), "a b c d");
    EXPECT_EQ(CChapterTitleDialog::NormalizeTitle("x\r\n"), "x");
    EXPECT_EQ(CChapterTitleDialog::NormalizeTitle("\t\tx"), "  x");
    EXPECT_EQ(CChapterTitleDialog::NormalizeTitle("x \v\f"), "x");
    EXPECT_EQ(CChapterTitleDialog::NormalizeTitle("caf\xE9 \xA0"), "caf\xE9 \xA0");  // only ASCII white space
    EXPECT_EQ(CChapterTitleDialog::NormalizeTitle(" \r\n\t"), "");
    EXPECT_EQ(CChapterTitleDialog::NormalizeTitle(""), "");
}

}  // namespace
