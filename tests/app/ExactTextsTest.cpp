// Texts the window's controls cannot show as they are: zero bytes, where the controls stop, and
// chapters too big for the editor. Opening such a book says so once; saving keeps every text the
// user did not change byte for byte, however often the book is opened and saved; a text the user
// edits is saved as the window shows it.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DocumentTest.h"
#include "TestFiles.h"
#include "WindowRunner.h"

namespace {

using namespace std::string_literals;

// Words of a few letters, a line break after about every `paragraph` bytes (0: none).
std::string Words(size_t length, size_t paragraph) {
    std::string text;
    size_t lineStart = 0;
    for (unsigned n = 1; text.size() < length; ++n) {
        text += std::string(2 + n % 7, char('a' + n % 26));
        bool breakLine = paragraph > 0 && text.size() - lineStart >= paragraph;
        text += breakLine ? "\r\n" : " ";
        lineStart = breakLine ? text.size() : lineStart;
    }
    text.resize(length);
    text.back() = '.';
    return text;
}

bool ReadOnly(HWND hEditor) {
    return (::GetWindowLongA(hEditor, GWL_STYLE) & ES_READONLY) != 0;
}

TEST_F(DocumentTest, TextsTheWindowCannotShowAsTheyAreSurviveOpenAndSave) {
    const std::string tooBig = "Too large for the editor, shown read-only and saved unchanged: ";
    const struct {
        const char* what;
        std::string author, title;
        std::vector<Chapter> chapters;
        std::string notice;   // a part of the notice on opening
        std::string editor;   // what the editor shows of the first chapter
        bool readOnly;
    } cases[] = {
        {"zero bytes in the chapter on show", "Ann", "Tale", {{"One", "ab\0cd\0"s}, {"Two", "plain"}},
         "Zero bytes are shown as \"<NUL>\" in: chapter 1 \"One\".\n\nThese texts are saved with their zero "
         "bytes as long as you do not change them. A text you edit is saved as the window shows it.",
         "ab<NUL>cd<NUL>", false},
        {"zero bytes in another chapter", "Ann", "Tale", {{"One", "plain"}, {"Two", "x\0\0y"s}},
         "in: chapter 2 \"Two\".", "plain", false},
        {"zero bytes in author, title and a chapter title", "An\0n"s, "\0Tale"s, {{"O\0ne"s, "text"}},
         "in: the author, the title, chapter 1 \"O<NUL>ne\".", "text", false},
        {"a chapter beyond the editor's limit", "Ann", "Tale", {{"One", "short"}, {"Big", Words(1500000, 600)}},
         tooBig + "chapter 2 \"Big\".", "short", false},
        {"a paragraph too long for the editor", "Ann", "Tale", {{"Long", Words(400000, 0)}},
         tooBig + "chapter 1 \"Long\".", "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = WriteBook("exact.book", c.author, c.title, c.chapters);
        const std::string before = ReadBytes(path);
        for (int cycle = 0; cycle < 2; ++cycle) {
            ModalAnswerer answerer;
            answerer.Expect(ModalAnswerer::Press(kAppTitle, IDOK));
            Run(
                [&](CTestMainDlg& w) {
                    ASSERT_TRUE(answerer.AllAnswered());
                    EXPECT_NE(answerer.Seen()[0].text.find(c.notice), std::string::npos) << answerer.Seen()[0].text;
                    if (!c.readOnly) {
                        EXPECT_EQ(w.Text(IDC_EDITOR), c.editor);
                    }
                    EXPECT_EQ(ReadOnly(w.Editor()), c.readOnly);
                    EXPECT_EQ(w.Enabled(IDC_IMPORT_TEXT), !c.readOnly);
                    for (int i = int(c.chapters.size()) - 1; i >= 0; --i)
                        w.ChooseChapter(i);
                    w.Click(IDC_SAVE_BOOK);
                    EXPECT_FALSE(w.IsModified());
                },
                "\"" + path + "\"");
            EXPECT_EQ(ReadBytes(path), before) << "cycle " << cycle;
        }
    }
}

TEST_F(DocumentTest, AnEditedTextIsSavedAsTheWindowShowsIt) {
    const std::string path = WriteBook("edited.book", "Ann", "Tale", {{"One", "ab\0cd"s}, {"Two", "x\0y"s}});
    ModalAnswerer answerer;
    answerer.Expect(ModalAnswerer::Press(kAppTitle, IDOK));
    Run(
        [&](CTestMainDlg& w) {
            w.Append(IDC_EDITOR, "!");
            w.ChooseChapter(1);
            EXPECT_TRUE(w.IsModified());
            w.Click(IDC_SAVE_BOOK);
        },
        "\"" + path + "\"");
    auto book = LoadBook(path);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->ChapterText(0), "ab<NUL>cd!");
    EXPECT_EQ(book->ChapterText(1), "x\0y"s);
}

// A chapter shown read-only takes nothing from any way in: its preview is not its text, and an
// edit there would be shown but never saved.
TEST_F(DocumentTest, NothingGetsIntoAReadOnlyPreview) {
    const std::string path = WriteBook("preview.book", "Ann", "Tale", {{"Long", Words(400000, 0)}});
    const std::string before = ReadBytes(path);
    const struct {
        const char* way;
        std::function<void(CTestMainDlg&)> act;
    } ways[] = {
        {"Ctrl+V", [](CTestMainDlg& w) { WindowRunner::PressKey(w.Editor(), 'V', true); }},
        {"Shift+Insert", [](CTestMainDlg& w) { WindowRunner::PressKey(w.Editor(), VK_INSERT, false, true); }},
        {"Edit > Paste", [](CTestMainDlg& w) { w.Menu(IDM_EDIT_PASTE); }},
        {"right-click Paste", [](CTestMainDlg& w) { w.Menu(IDM_EDITOR_PASTE); }},
        {"Paste Text from Clipboard", [](CTestMainDlg& w) { w.Click(IDC_PASTE_TEXT); }},
        {"Add Text from File", [](CTestMainDlg& w) { w.Menu(IDM_IMPORT_TEXT); }},
        {"typing", [](CTestMainDlg& w) { w.Type(IDC_EDITOR, "x\r"); }},
        {"Cut", [](CTestMainDlg& w) { w.Menu(IDM_EDIT_CUT); }},
        {"Delete", [](CTestMainDlg& w) { w.Menu(IDM_EDIT_DELETE); }},
    };
    ModalAnswerer answerer;
    answerer.Expect(ModalAnswerer::Press(kAppTitle, IDOK));
    Run(
        [&](CTestMainDlg& w) {
            SetClipboard(w.m_hWnd, {{CF_TEXT, "pasted"}});
            ::SetFocus(w.Editor());
            w.Menu(IDM_EDIT_SELECT_ALL);
            const std::string shown = w.Text(IDC_EDITOR);
            for (const auto& way : ways) {
                SCOPED_TRACE(way.way);
                way.act(w);
                ModalAnswerer::PumpPending();
                EXPECT_TRUE(w.Text(IDC_EDITOR) == shown);
                EXPECT_FALSE(w.IsModified());
            }
            EXPECT_FALSE(w.MenuItemEnabled(IDM_EDIT_PASTE));
            SetClipboard(w.m_hWnd, {});
            w.Click(IDC_SAVE_BOOK);
        },
        "\"" + path + "\"");
    EXPECT_TRUE(answerer.AllAnswered());
    EXPECT_EQ(ReadBytes(path), before);
}

}  // namespace
