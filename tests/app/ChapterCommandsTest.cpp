// The chapter commands on the real main window: the list, the book and the editor kept in step,
// the chapter buttons and menu items, the modified state, and the title dialog run from them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Book.h"
#include "ModalAnswerer.h"
#include "TestMainDlg.h"
#include "WindowRunner.h"

namespace {

using Titles = std::vector<std::string>;

// Chapters "A", "B", "C" with the texts "text A", "text B", "text C", the last one on show.
void AddThreeChapters(CTestMainDlg& w) {
    for (const char* title : {"A", "B", "C"}) {
        w.AddChapter(title);
        w.Type(IDC_EDITOR, std::string("text ") + title);
    }
}

// The chapter on show: list selection, editor, label and the window's own index agree.
void ExpectShowing(CTestMainDlg& w, int nIndex, const std::string& title, const std::string& text) {
    EXPECT_EQ(w.Selected(), nIndex);
    EXPECT_EQ(w.ShownChapter(), nIndex);
    EXPECT_EQ(w.Text(IDC_CHAPTER_LABEL), title);
    EXPECT_EQ(w.Text(IDC_EDITOR), text);
    EXPECT_TRUE(w.Enabled(IDC_EDITOR));
}

TEST(ChapterCommands, NewChapterOnAnEmptyBook) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        dlg.AddChapter("First");
        EXPECT_EQ(dlg.ListTitles(), Titles{"First"});
        ExpectShowing(dlg, 0, "First", "");
        EXPECT_EQ(CTestMainDlg::BookTexts(), Titles{""});
        EXPECT_EQ(::GetFocus(), dlg.List());
        for (int id : {IDC_DELETE_CHAPTER, IDC_RENAME_CHAPTER, IDC_IMPORT_TEXT, IDC_NEW_CHAPTER})
            EXPECT_TRUE(dlg.Enabled(id)) << id;
        for (int id : {IDC_MOVE_UP, IDC_MOVE_DOWN})
            EXPECT_FALSE(dlg.Enabled(id)) << id;
    });
}

TEST(ChapterCommands, NewChapterGoesAfterTheSelectedOneAndStoresItsTextFirst) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        AddThreeChapters(dlg);
        dlg.ChooseChapter(1);
        ExpectShowing(dlg, 1, "B", "text B");
        dlg.Append(IDC_EDITOR, " and more");

        dlg.AddChapter("New");
        EXPECT_EQ(dlg.ListTitles(), (Titles{"A", "B", "New", "C"}));
        ExpectShowing(dlg, 2, "New", "");
        EXPECT_EQ(CTestMainDlg::BookTexts(), (Titles{"text A", "text B and more", "", "text C"}));
    });
}

TEST(ChapterCommands, ChoosingAChapterStoresTheEditorsTextUnchanged) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        AddThreeChapters(dlg);
        dlg.ChooseChapter(0);
        dlg.Append(IDC_EDITOR, "  \r\n");  // trailing white space stays until Save
        dlg.ChooseChapter(2);
        ExpectShowing(dlg, 2, "C", "text C");
        EXPECT_EQ(CTestMainDlg::BookTexts()[0], "text A  \r\n");
        dlg.ChooseChapter(0);
        ExpectShowing(dlg, 0, "A", "text A  \r\n");
    });
}

TEST(ChapterCommands, RenameKeepsPositionAndTextAndTellsOnlyTheList) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        AddThreeChapters(dlg);
        dlg.ChooseChapter(1);
        std::string shown;
        ModalAnswerer answerer(10000);
        answerer.Expect(ModalAnswerer::Act("Chapter Title", [&](HWND hDlg) {
            shown = ModalAnswerer::ControlText(hDlg, IDC_CHAPTER_TITLE_BOX);
            ::SendDlgItemMessageA(hDlg, IDC_CHAPTER_TITLE_BOX, WM_SETTEXT, 0,
                                  reinterpret_cast<LPARAM>("Second\r\nPart  "));
            ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
        }));
        dlg.Menu(IDM_RENAME_CHAPTER);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(shown, "B");
        EXPECT_EQ(dlg.ListTitles(), (Titles{"A", "Second  Part", "C"}));
        ExpectShowing(dlg, 1, "Second  Part", "text B");
        EXPECT_EQ(::GetFocus(), dlg.List());
        EXPECT_EQ(theBook.ChapterTitle(1), "");  // the book hears of it at Save
        EXPECT_FALSE(dlg.m_bTitleDialogOpen);
    });
}

TEST(ChapterCommands, CancelledDialogsChangeNothing) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        AddThreeChapters(dlg);
        dlg.ChooseChapter(1);
        dlg.ClearModified();
        ModalAnswerer answerer(10000);
        answerer.Expect(ModalAnswerer::Press("Chapter Title", IDCANCEL));
        answerer.Expect(ModalAnswerer::Press("Chapter Title", IDCANCEL));
        answerer.Expect(ModalAnswerer::Press("Confirm Chapter Delete", IDCANCEL)
                            .WithText("Are you sure you want to delete Chapter \"B\" ?"));
        dlg.Click(IDC_NEW_CHAPTER);
        dlg.Click(IDC_RENAME_CHAPTER);
        dlg.Click(IDC_DELETE_CHAPTER);
        EXPECT_TRUE(answerer.AllAnswered());
        ASSERT_EQ(answerer.Seen().size(), 3u);
        EXPECT_EQ(answerer.Seen()[2].hOwner, dlg.m_hWnd);
        EXPECT_EQ(dlg.ListTitles(), (Titles{"A", "B", "C"}));
        ExpectShowing(dlg, 1, "B", "text B");
        EXPECT_EQ(CTestMainDlg::BookTexts().size(), 3u);
        EXPECT_FALSE(dlg.IsModified());
        EXPECT_FALSE(dlg.m_bTitleDialogOpen);
    });
}

// The question names the chapter exactly; the chapter that takes the deleted one's place is shown,
// or the one before it when the last went, or nothing at all.
TEST(ChapterCommands, DeleteMiddleLastAndOnlyChapter) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        AddThreeChapters(dlg);
        dlg.ChooseChapter(1);
        ModalAnswerer answerer(20000);
        answerer.Expect(ModalAnswerer::Press("Confirm Chapter Delete", IDOK)
                            .WithText("Are you sure you want to delete Chapter \"B\" ?"));
        dlg.Click(IDC_DELETE_CHAPTER);
        EXPECT_EQ(dlg.ListTitles(), (Titles{"A", "C"}));
        ExpectShowing(dlg, 1, "C", "text C");
        EXPECT_EQ(CTestMainDlg::BookTexts(), (Titles{"text A", "text C"}));
        EXPECT_EQ(::GetFocus(), dlg.List());

        answerer.Expect(ModalAnswerer::Press("Confirm Chapter Delete", IDOK)
                            .WithText("Are you sure you want to delete Chapter \"C\" ?"));
        dlg.Menu(IDM_DELETE_CHAPTER);
        EXPECT_EQ(dlg.ListTitles(), Titles{"A"});
        ExpectShowing(dlg, 0, "A", "text A");
        EXPECT_EQ(CTestMainDlg::BookTexts(), Titles{"text A"});

        answerer.Expect(ModalAnswerer::Press("Confirm Chapter Delete", IDOK));
        dlg.Click(IDC_DELETE_CHAPTER);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_TRUE(dlg.ListTitles().empty());
        EXPECT_EQ(theBook.ChapterCount(), 0);
        EXPECT_EQ(dlg.Selected(), LB_ERR);
        EXPECT_EQ(dlg.ShownChapter(), -1);
        EXPECT_FALSE(dlg.Enabled(IDC_EDITOR));
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "");
        EXPECT_EQ(dlg.Text(IDC_CHAPTER_LABEL), "");
        EXPECT_EQ(::GetFocus(), dlg.Item(IDC_AUTHOR));
        for (int id : {IDC_DELETE_CHAPTER, IDC_RENAME_CHAPTER, IDC_IMPORT_TEXT, IDC_MOVE_UP, IDC_MOVE_DOWN,
                       IDC_PASTE_TEXT})
            EXPECT_FALSE(dlg.Enabled(id)) << id;

        // Nothing selected: the menu command does nothing, and asks nothing.
        dlg.Menu(IDM_DELETE_CHAPTER);
        dlg.Click(IDC_RENAME_CHAPTER);
        EXPECT_EQ(answerer.Seen().size(), 3u);
    });
}

TEST(ChapterCommands, MoveButtonsAtTheEndsAndWithOneChapter) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        dlg.AddChapter("A");
        EXPECT_FALSE(dlg.Enabled(IDC_MOVE_UP));
        EXPECT_FALSE(dlg.Enabled(IDC_MOVE_DOWN));
        dlg.Type(IDC_EDITOR, "text A");
        dlg.AddChapter("B");
        dlg.Type(IDC_EDITOR, "text B");
        dlg.AddChapter("C");
        dlg.Type(IDC_EDITOR, "text C");
        struct Expected {
            int nIndex;
            bool bUp;
            bool bDown;
        };
        for (Expected e : {Expected{0, false, true}, Expected{1, true, true}, Expected{2, true, false}}) {
            dlg.ChooseChapter(e.nIndex);
            EXPECT_EQ(dlg.Enabled(IDC_MOVE_UP), e.bUp) << e.nIndex;
            EXPECT_EQ(dlg.Enabled(IDC_MOVE_DOWN), e.bDown) << e.nIndex;
        }

        // At the ends the commands do nothing, from the menu or from the buttons.
        dlg.ClearModified();
        dlg.Menu(IDM_MOVE_DOWN);
        dlg.Click(IDC_MOVE_DOWN);
        dlg.ChooseChapter(0);
        dlg.Menu(IDM_MOVE_UP);
        dlg.Click(IDC_MOVE_UP);
        EXPECT_EQ(dlg.ListTitles(), (Titles{"A", "B", "C"}));
        EXPECT_FALSE(dlg.IsModified());

        // The chapter on show moves with its text.
        dlg.Menu(IDM_MOVE_DOWN);
        EXPECT_EQ(dlg.ListTitles(), (Titles{"B", "A", "C"}));
        ExpectShowing(dlg, 1, "A", "text A");
        EXPECT_EQ(::GetFocus(), dlg.List());
        dlg.Click(IDC_MOVE_DOWN);
        EXPECT_EQ(dlg.ListTitles(), (Titles{"B", "C", "A"}));
        ExpectShowing(dlg, 2, "A", "text A");
        EXPECT_TRUE(dlg.Enabled(IDC_MOVE_UP));
        EXPECT_FALSE(dlg.Enabled(IDC_MOVE_DOWN));
        dlg.Click(IDC_MOVE_UP);
        ExpectShowing(dlg, 1, "A", "text A");
        dlg.ChooseChapter(0);  // stores A's text where A now is
        EXPECT_EQ(CTestMainDlg::BookTexts(), (Titles{"text B", "text A", "text C"}));
    });
}

// Every change of the list marks the book modified, and so does typing; choosing a chapter does
// not, and it does not lose the mark of text typed before it either.
TEST(ChapterCommands, ModifiedStateFromListChangesAndTyping) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        EXPECT_FALSE(dlg.IsModified());
        dlg.AddChapter("A");
        EXPECT_TRUE(dlg.IsModified());
        dlg.AddChapter("B");
        dlg.AddChapter("C");

        dlg.ClearModified();
        dlg.ChooseChapter(0);
        dlg.ChooseChapter(2);
        EXPECT_FALSE(dlg.IsModified());

        ModalAnswerer answerer(20000);
        answerer.Expect(ModalAnswerer::Press("Chapter Title", IDOK));
        dlg.Click(IDC_RENAME_CHAPTER);
        EXPECT_TRUE(dlg.IsModified());
        dlg.ClearModified();
        dlg.Click(IDC_MOVE_UP);
        EXPECT_TRUE(dlg.IsModified());
        dlg.ClearModified();
        answerer.Expect(ModalAnswerer::Press("Confirm Chapter Delete", IDOK));
        dlg.Click(IDC_DELETE_CHAPTER);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_TRUE(dlg.IsModified());

        for (int id : {IDC_EDITOR, IDC_TITLE, IDC_AUTHOR}) {
            dlg.ClearModified();
            dlg.Type(id, "x");
            EXPECT_TRUE(dlg.IsModified()) << id;
        }
        dlg.ClearModified();
        dlg.Type(IDC_EDITOR, "typed");
        dlg.ChooseChapter(0);
        EXPECT_TRUE(dlg.IsModified());
    });
}

TEST(ChapterCommands, TitleDialogRefusesABlankTitleAndNormalisesTheRest) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        bool bFlagWhileOpen = false;
        bool bStillOpen = false;
        std::string afterRefusal = "unread";
        auto setBox = [](HWND hDlg, const char* text) {
            ::SendDlgItemMessageA(hDlg, IDC_CHAPTER_TITLE_BOX, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        };
        ModalAnswerer answerer(10000);
        answerer.Expect(ModalAnswerer::Act("Chapter Title", [&](HWND hDlg) {
            bFlagWhileOpen = dlg.m_bTitleDialogOpen;
            setBox(hDlg, " \t\r\n ");
            ::SendMessageA(hDlg, WM_COMMAND, IDOK, 0);
            bStillOpen = ::IsWindowVisible(hDlg) != FALSE;
            afterRefusal = ModalAnswerer::ControlText(hDlg, IDC_CHAPTER_TITLE_BOX);
            setBox(hDlg, "  Part\r\nOne\t ");
            ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
        }));
        dlg.Click(IDC_NEW_CHAPTER);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_TRUE(bFlagWhileOpen);
        EXPECT_TRUE(bStillOpen);
        EXPECT_EQ(afterRefusal, "");
        EXPECT_FALSE(dlg.m_bTitleDialogOpen);
        EXPECT_EQ(dlg.ListTitles(), Titles{"  Part  One"});
        EXPECT_EQ(dlg.Text(IDC_CHAPTER_LABEL), "  Part  One");
    });
}

// Ctrl+V and Ctrl+S typed in the title dialog belong to its box; once it is closed the window's
// shortcuts work again.
TEST(ChapterCommands, NoAcceleratorsWhileTheTitleDialogIsOpen) {
    CTestMainDlg dlg;
    dlg.m_swallowed.insert(IDM_FILE_SAVE);
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        if (::OpenClipboard(dlg.m_hWnd)) {
            ::EmptyClipboard();
            HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, 8);
            std::memcpy(::GlobalLock(hText), "Pasted", 7);
            ::GlobalUnlock(hText);
            ::SetClipboardData(CF_TEXT, hText);
            ::CloseClipboard();
        }
        ModalAnswerer answerer(10000);
        answerer.Expect(ModalAnswerer::Act("Chapter Title", [&](HWND hDlg) {
            HWND hBox = ::GetDlgItem(hDlg, IDC_CHAPTER_TITLE_BOX);
            WindowRunner::PressKey(hBox, 'V', true);
            WindowRunner::PressKey(hBox, 'S', true);
            ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
        }));
        dlg.Click(IDC_NEW_CHAPTER);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(dlg.ListTitles(), Titles{"Pasted"});
        EXPECT_TRUE(dlg.MenuCommandIds().empty());
        WindowRunner::PressKey(dlg.List(), 'S', true);
        EXPECT_EQ(dlg.MenuCommandIds(), std::vector<UINT>{IDM_FILE_SAVE});
    });
}

// The main menu's chapter items follow their buttons whenever the menu opens, and the commands of
// the menu act only while the button is enabled.
TEST(ChapterCommands, MenuItemsFollowTheButtons) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        const UINT kItems[] = {IDM_IMPORT_TEXT, IDM_RENAME_CHAPTER, IDM_DELETE_CHAPTER,
                               IDM_MOVE_UP,     IDM_MOVE_DOWN,      IDM_PASTE_TEXT};
        for (UINT id : kItems)
            EXPECT_FALSE(dlg.MenuItemEnabled(id)) << id;
        EXPECT_TRUE(dlg.MenuItemEnabled(IDM_NEW_CHAPTER));

        dlg.AddChapter("A");
        dlg.AddChapter("B");
        const int kButtons[] = {IDC_IMPORT_TEXT, IDC_RENAME_CHAPTER, IDC_DELETE_CHAPTER,
                                IDC_MOVE_UP,     IDC_MOVE_DOWN,      IDC_PASTE_TEXT};
        for (size_t i = 0; i < std::size(kItems); ++i)
            EXPECT_EQ(dlg.MenuItemEnabled(kItems[i]), dlg.Enabled(kButtons[i])) << kItems[i];
        EXPECT_TRUE(dlg.MenuItemEnabled(IDM_MOVE_UP));
        EXPECT_FALSE(dlg.MenuItemEnabled(IDM_MOVE_DOWN));

        // A disabled button stops its menu command, also the New Chapter one.
        ::EnableWindow(dlg.Item(IDC_NEW_CHAPTER), FALSE);
        dlg.Menu(IDM_NEW_CHAPTER);
        ::EnableWindow(dlg.Item(IDC_RENAME_CHAPTER), FALSE);
        dlg.Menu(IDM_RENAME_CHAPTER);
        ::EnableWindow(dlg.Item(IDC_NEW_CHAPTER), TRUE);
        ::EnableWindow(dlg.Item(IDC_RENAME_CHAPTER), TRUE);
        EXPECT_EQ(dlg.ListTitles(), (Titles{"A", "B"}));
    });
}

}  // namespace
