// Undo and Redo of the chapter commands on the real window, driven by keys: a save after Undo is
// the save from before the command, byte for byte, and a save after Redo the one after it. Also
// the contents list's keys, the added shortcuts, the tab order and the menus' access letters.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DocumentTest.h"
#include "RealInput.h"
#include "TestFiles.h"
#include "WindowRunner.h"

namespace {

using Titles = std::vector<std::string>;

std::string MenuText(CTestMainDlg& w, UINT nID) {
    HMENU hMenu = ::GetMenu(w.m_hWnd);
    ::SendMessageA(w.m_hWnd, WM_INITMENU, reinterpret_cast<WPARAM>(hMenu), 0);
    char szText[128] = "";
    ::GetMenuStringA(hMenu, nID, szText, int(sizeof szText), MF_BYCOMMAND);
    return szText;
}

// Ctrl+S on the list, and the bytes it wrote; the list has the focus again afterwards.
std::string SaveNow(CTestMainDlg& w, const std::string& path) {
    ::SetFocus(w.List());
    WindowRunner::PressKey(w.List(), 'S', true);
    ::SetFocus(w.List());
    return ReadBytes(path);
}

struct CommandCase {
    const char* name;  // as the Undo item names it
    WORD key;
    bool bCtrl;
    std::vector<ModalAnswerer::Expectation> answers;
    Titles after;
};

std::vector<CommandCase> CommandCases() {
    ModalAnswerer::Expectation newTitle = ModalAnswerer::Press("Chapter Title", IDOK);
    newTitle.fields.emplace_back(IDC_CHAPTER_TITLE_BOX, "Inserted");
    ModalAnswerer::Expectation rename = ModalAnswerer::Press("Chapter Title", IDOK);
    rename.fields.emplace_back(IDC_CHAPTER_TITLE_BOX, "Renamed");
    return {
        {"New Chapter", VK_INSERT, false, {newTitle}, {"A", "B", "Inserted", "C"}},
        {"Rename Chapter", VK_F2, false, {rename}, {"A", "Renamed", "C"}},
        {"Delete Chapter", VK_DELETE, false, {ModalAnswerer::Press("Confirm Chapter Delete", IDOK)}, {"A", "C"}},
        {"Move Chapter Up", VK_UP, true, {}, {"B", "A", "C"}},
        {"Move Chapter Down", VK_DOWN, true, {}, {"A", "C", "B"}},
    };
}

TEST_F(DocumentTest, EveryChapterCommandUndoesAndRedoesToTheSameBytes) {
    for (const CommandCase& c : CommandCases()) {
        SCOPED_TRACE(c.name);
        // Texts with trailing white space and line breaks: they must come back exactly.
        std::string path = WriteBook("undo.book", "Author", "Title",
                                     {{"A", "text A \r\n"}, {"B", "text B\r\n\r\n"}, {"C", "text C\t"}});
        Run(
            [&](CTestMainDlg& w) {
                w.ChooseChapter(1);
                w.Append(IDC_EDITOR, " typed");
                std::string before = SaveNow(w, path);

                ::SetFocus(w.List());
                ModalAnswerer answerer(10000);
                for (const ModalAnswerer::Expectation& answer : c.answers)
                    answerer.Expect(answer);
                WindowRunner::PressKey(w.List(), c.key, c.bCtrl);
                EXPECT_TRUE(answerer.AllAnswered());
                EXPECT_EQ(w.ListTitles(), c.after);
                EXPECT_EQ(MenuText(w, IDM_EDIT_UNDO), std::string("&Undo ") + c.name + "\tCtrl+Z");
                std::string after = SaveNow(w, path);
                EXPECT_NE(after, before);

                WindowRunner::PressKey(w.List(), 'Z', true);
                EXPECT_EQ(w.ListTitles(), (Titles{"A", "B", "C"}));
                EXPECT_EQ(w.Selected(), 1);
                EXPECT_EQ(w.Text(IDC_EDITOR), "text B\r\n\r\n typed");
                EXPECT_TRUE(w.IsModified());
                EXPECT_EQ(MenuText(w, IDM_EDIT_REDO), std::string("&Redo ") + c.name + "\tCtrl+Y");
                EXPECT_EQ(SaveNow(w, path), before);

                WindowRunner::PressKey(w.List(), 'Y', true);
                EXPECT_EQ(w.ListTitles(), c.after);
                EXPECT_EQ(SaveNow(w, path), after);
            },
            "\"" + path + "\"");
    }
}

// Open and New clear the history; Save keeps it. In the editor, Ctrl+Z is the editor's own.
TEST_F(DocumentTest, HistorySurvivesSaveAndTheEditorKeepsItsOwnUndo) {
    std::string path = WriteBook("keep.book", "Author", "Title", {{"A", "a"}, {"B", "b"}});
    Run(
        [&](CTestMainDlg& w) {
            w.ChooseChapter(1);
            WindowRunner::PressKey(w.List(), VK_UP, true);
            SaveNow(w, path);
            EXPECT_FALSE(w.IsModified());
            w.Append(IDC_EDITOR, "x");
            WindowRunner::PressKey(w.Editor(), 'Z', true);
            EXPECT_EQ(w.Text(IDC_EDITOR), "b");
            EXPECT_EQ(w.ListTitles(), (Titles{"B", "A"}));
            ::SetFocus(w.List());
            EXPECT_EQ(MenuText(w, IDM_EDIT_UNDO), "&Undo Move Chapter Up\tCtrl+Z");
            WindowRunner::PressKey(w.List(), 'Z', true);
            EXPECT_EQ(w.ListTitles(), (Titles{"A", "B"}));
            EXPECT_EQ(MenuText(w, IDM_EDIT_UNDO), "&Undo\tCtrl+Z");
            EXPECT_FALSE(w.MenuItemEnabled(IDM_EDIT_UNDO));

            WindowRunner::PressKey(w.List(), VK_UP, true);
            ModalAnswerer answerer(10000);
            answerer.Expect(Box(kAppTitle, SaveQuestion("keep.book"), IDNO));
            w.Menu(IDM_FILE_NEW);
            EXPECT_TRUE(answerer.AllAnswered());
            EXPECT_FALSE(w.MenuItemEnabled(IDM_EDIT_UNDO));
            EXPECT_FALSE(w.MenuItemEnabled(IDM_EDIT_REDO));
        },
        "\"" + path + "\"");
}

TEST_F(DocumentTest, ShortcutsTabOrderAndAccessLetters) {
    Run([&](CTestMainDlg& w) {
        w.AddChapter("A");
        // Tab walks Author, Title, the list and the editor.
        ::SetFocus(w.Item(IDC_AUTHOR));
        for (int id : {IDC_TITLE, IDC_CONTENTS, IDC_EDITOR}) {
            WindowRunner::PressKey(::GetFocus(), VK_TAB);
            EXPECT_EQ(::GetFocus(), w.Item(id)) << id;
        }

        struct Keys {
            std::vector<WORD> keys;  // Alt with the first, then each alone
            bool bCtrlShift;
            UINT command;
        };
        const Keys cases[] = {
            {{'S'}, true, IDM_FILE_SAVE_AS},  {{'F', 'A'}, false, IDM_FILE_SAVE_AS},
            {{'F', 'D'}, false, IDM_FILE_SAVE_SEND}, {{'E', 'O', 'N'}, false, IDM_NEW_CHAPTER},
            {{'H', 'A'}, false, IDM_ABOUT},   {{'H', 'H'}, false, IDM_HELP},
            {{'E', 'H', 'S'}, false, IDM_SPLIT_INTO_CHAPTERS},
        };
        for (const Keys& k : cases) {
            SCOPED_TRACE(std::string(k.keys.begin(), k.keys.end()));
            w.m_swallowed = {k.command};
            w.m_commands.clear();
            ::SetFocus(w.List());
            if (k.bCtrlShift)
                RealInput::PressKey(k.keys[0], true, true);
            else
                RealInput::MenuKeys(k.keys);
            EXPECT_EQ(w.MenuCommandIds(), std::vector<UINT>{k.command});
        }
        w.m_swallowed.clear();
    });
}

}  // namespace
