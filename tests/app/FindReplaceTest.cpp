// Find and Replace across the book on the real window, through the platform's own dialogs: the
// search goes on through the following chapters and once round, honours match case and whole
// word, and Replace All is one step that Undo takes back to the very bytes.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "DocumentTest.h"
#include "TestFiles.h"
#include "WindowRunner.h"

namespace {

constexpr int kFindWhat = 0x480;     // edt1
constexpr int kReplaceWith = 0x481;  // edt2
constexpr int kWholeWord = 0x410;    // chk3
constexpr int kMatchCase = 0x411;    // chk4
constexpr int kReplaceAll = 0x401;   // psh2

// Opens the dialog with its key, fills it in and presses `button` in it; the message boxes that
// follow are answered as `boxes` say.
void UseDialog(CTestMainDlg& w, WORD key, const std::string& what, bool bCase, bool bWord, int button,
               const std::string& with = "", std::vector<ModalAnswerer::Expectation> boxes = {}) {
    WindowRunner::PressKey(::GetFocus(), key, true);
    HWND hDialog = w.m_hFindDialog;
    ASSERT_NE(hDialog, nullptr);
    ::SetDlgItemTextA(hDialog, kFindWhat, what.c_str());
    if (::GetDlgItem(hDialog, kReplaceWith) != nullptr)
        ::SetDlgItemTextA(hDialog, kReplaceWith, with.c_str());
    ::CheckDlgButton(hDialog, kMatchCase, bCase ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(hDialog, kWholeWord, bWord ? BST_CHECKED : BST_UNCHECKED);
    ModalAnswerer answerer(10000);
    answerer.Ignore(hDialog);
    for (ModalAnswerer::Expectation& box : boxes)
        answerer.Expect(std::move(box));
    ::PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), LPARAM(::GetDlgItem(hDialog, button)));
    ModalAnswerer::PumpPending();
    EXPECT_TRUE(ModalAnswerer::PumpUntil([&] { return answerer.AllAnswered(); }, 10000));
}

CHARRANGE Selection(CTestMainDlg& w) {
    CHARRANGE range{};
    ::SendMessageA(w.Editor(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

std::string CountsPart(CTestMainDlg& w) {
    char szText[256] = "";
    ::SendMessageA(w.Item(IDC_STATUS_BAR), SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(szText));
    return szText;
}

// The chapters both tests search: (title, text).
const std::vector<std::pair<std::string, std::string>> kChapters = {
    {"One", "The Cat sat."},
    {"Two", "concatenate the cat"},
    {"Three", "no match here"},
    {"Four", "a cat, a CAT"},
};

TEST_F(DocumentTest, FindNextGoesThroughTheFollowingChaptersAndRound) {
    std::vector<Chapter> chapters;
    for (const auto& chapter : kChapters)
        chapters.push_back({chapter.first, chapter.second});
    std::string path = WriteBook("find.book", "Author", "Title", chapters);
    Run(
        [&](CTestMainDlg& w) {
            struct Case {
                const char* what;
                bool bCase, bWord;
                std::vector<std::pair<int, LONG>> matches;  // chapter, start, in order from the start
            };
            const Case cases[] = {
                {"cat", false, false, {{0, 4}, {1, 3}, {1, 16}, {3, 2}, {3, 9}, {0, 4}}},
                {"cat", true, false, {{1, 3}, {1, 16}, {3, 2}, {1, 3}}},
                {"cat", false, true, {{0, 4}, {1, 16}, {3, 2}, {3, 9}, {0, 4}}},
                {"CAT", true, true, {{3, 9}, {3, 9}}},
            };
            for (const Case& c : cases) {
                SCOPED_TRACE(std::string(c.what) + (c.bCase ? " case" : "") + (c.bWord ? " word" : ""));
                w.ChooseChapter(0);
                ::SendMessageA(w.Editor(), EM_SETSEL, 0, 0);
                ::SetFocus(w.Editor());
                UseDialog(w, 'F', c.what, c.bCase, c.bWord, IDOK);
                for (size_t k = 0; k < c.matches.size(); ++k) {
                    if (k > 0)
                        ::PostMessageA(w.m_hFindDialog, WM_COMMAND, IDOK, 0), ModalAnswerer::PumpPending();
                    EXPECT_EQ(w.Selected(), c.matches[k].first) << k;
                    EXPECT_EQ(Selection(w).cpMin, c.matches[k].second) << k;
                    EXPECT_EQ(Selection(w).cpMax, c.matches[k].second + 3) << k;
                }
                EXPECT_EQ(CountsPart(w), "Find reached the starting point");
                ::SendMessageA(w.m_hFindDialog, WM_COMMAND, IDCANCEL, 0);
                ModalAnswerer::PumpPending();
                EXPECT_EQ(w.m_hFindDialog, nullptr);
            }
            // F3 goes on without the dialog; a text found nowhere is said so.
            WindowRunner::PressKey(w.Editor(), VK_F3);
            EXPECT_EQ(w.Selected(), 3);
            UseDialog(w, 'F', "dog", false, false, IDOK, "", {Box(kAppTitle, "Cannot find \"dog\".", IDOK)});
            ::SendMessageA(w.m_hFindDialog, WM_COMMAND, IDCANCEL, 0);
            ModalAnswerer::PumpPending();
            // Titles are searched when asked for: the chapter is chosen, its text left unselected.
            w.Menu(IDM_EDIT_FIND_TITLES);
            UseDialog(w, 'F', "three", false, false, IDOK);
            EXPECT_EQ(w.Selected(), 2);
            EXPECT_EQ(Selection(w).cpMax, 0);
            ::SendMessageA(w.m_hFindDialog, WM_COMMAND, IDCANCEL, 0);
        },
        "\"" + path + "\"");
}

TEST_F(DocumentTest, ReplaceAllIsOneStepThatUndoTakesBackToTheSameBytes) {
    std::vector<Chapter> chapters;
    for (const auto& chapter : kChapters)
        chapters.push_back({chapter.first, chapter.second});
    std::string path = WriteBook("replace.book", "Author", "Title", chapters);
    Run(
        [&](CTestMainDlg& w) {
            ::SetFocus(w.List());
            WindowRunner::PressKey(w.List(), 'S', true);
            std::string before = ReadBytes(path);

            UseDialog(w, 'H', "cat", false, true, kReplaceAll, "dog", {Box(kAppTitle, "4 replacements in 3 chapters", IDOK)});
            ::SendMessageA(w.m_hFindDialog, WM_COMMAND, IDCANCEL, 0);
            ModalAnswerer::PumpPending();
            EXPECT_EQ(w.Text(IDC_EDITOR), "The dog sat.");
            EXPECT_EQ(CTestMainDlg::BookTexts(),
                      (std::vector<std::string>{"The dog sat.", "concatenate the dog", "no match here",
                                                "a dog, a dog"}));
            EXPECT_TRUE(w.IsModified());

            ::SetFocus(w.List());
            EXPECT_TRUE(w.MenuItemEnabled(IDM_EDIT_UNDO));
            WindowRunner::PressKey(w.List(), 'Z', true);
            EXPECT_EQ(w.Text(IDC_EDITOR), "The Cat sat.");
            ::SetFocus(w.List());
            WindowRunner::PressKey(w.List(), 'S', true);
            EXPECT_EQ(ReadBytes(path), before);
        },
        "\"" + path + "\"");
}

}  // namespace
