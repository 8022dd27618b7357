// The Save As dialog of the real main window: the name the book gets from what is typed, and the
// device's file-name rule, which questions a name before the dialog accepts it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DocumentTest.h"
#include "KvFileDialog.h"
#include "TestFiles.h"

namespace {

struct Row {
    std::string typed;  // into the name box, relative to the test's folder
    std::string name;   // the book's name after the dialog
    bool valid;
};

// Valid names are accepted at once and the book is written under the name. An invalid one is
// questioned; No keeps the dialog open with the name box as the user left it.
TEST_F(DocumentTest, SaveAsNamesTheBookByTheDeviceRule) {
    const std::string name31 = std::string(26, 'n') + ".book";
    const std::string name32 = std::string(27, 'n') + ".book";
    const std::vector<Row> rows = {
        {"Chapter1.book", "Chapter1.book", true},
        {name31, name31, true},
        {name32, name32, false},
        {"My Book.book", "My Book.book", false},
        {"-notes.book", "-notes.book", false},
        {"notes-.book", "notes-.book", true},
        {"(1)_notes.book", "(1)_notes.book", true},
        {"caf\xe9.book", "caf\xe9.book", false},
        {"Some Folder\\notes.book", "notes.book", true},  // only the name is checked
        // Before "notes": file names do not differ by case, and notes.book would then exist.
        {"notes.BOOK", "notes.BOOK.book", true},  // only "book" itself is taken as the extension
        {"notes", "notes.book", true},
        {"notes.txt", "notes.txt.book", true},
    };
    ASSERT_TRUE(::CreateDirectoryA(Path("Some Folder").c_str(), nullptr));
    Run([&](CTestMainDlg& w) {
        ModalAnswerer answerer;
        std::string docName = "new.book";
        for (const Row& row : rows) {
            SCOPED_TRACE(row.typed);
            std::string typed = Folder() + "\\" + row.typed;  // not through the path class: bytes as given
            answerer.Expect(ModalAnswerer::FileName("Save As", typed));
            std::string looks;
            std::string nameLeft;
            if (!row.valid) {
                answerer.Expect(Box(kAppTitle, InvalidNameQuestion(row.name), IDNO, &looks))
                    .Expect(ModalAnswerer::Act("Save As", [&](HWND hDialog) {
                        nameLeft = ModalAnswerer::ControlText(hDialog, ModalAnswerer::kFileNameBox);
                        ::PostMessageA(hDialog, WM_COMMAND, IDCANCEL, 0);
                    }));
            }
            w.Menu(IDM_FILE_SAVE_AS);
            EXPECT_TRUE(answerer.AllAnswered());
            if (row.valid) {
                docName = row.name;
                std::string folder =
                    Folder() + (row.typed.find('\\') != std::string::npos ? "\\Some Folder" : "");
                EXPECT_EQ(w.DocDir(), folder);
                EXPECT_TRUE(LoadBook(folder + "\\" + row.name) != nullptr);
            } else {
                EXPECT_EQ(looks, "Yes No; default No; question");
                const auto& seen = answerer.Seen();
                ASSERT_GE(seen.size(), 3u);
                EXPECT_EQ(seen[seen.size() - 2].hOwner, seen[seen.size() - 3].hWnd);  // the file dialog
                EXPECT_EQ(seen[seen.size() - 1].hWnd, seen[seen.size() - 3].hWnd);    // still open
                EXPECT_EQ(nameLeft, typed);
            }
            EXPECT_EQ(w.Caption(), CaptionFor(docName));
        }
    });
    EXPECT_FALSE(FileExists(Path("notes.txt")));
    EXPECT_FALSE(FileExists(Path("My Book.book")));
}

// Yes keeps the invalid name: the book is written under it, and Save questions it from then on.
TEST_F(DocumentTest, YesSavesUnderTheInvalidName) {
    Run([&](CTestMainDlg& w) {
        ModalAnswerer answerer;
        w.Type(IDC_AUTHOR, "Jane");
        answerer.Expect(ModalAnswerer::FileName("Save As", Path("My Book")))
            .Expect(ModalAnswerer::Press(kAppTitle, IDYES).WithText(InvalidNameQuestion("My Book.book")));
        w.Menu(IDM_FILE_SAVE_AS);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(w.Caption(), CaptionFor("My Book.book"));
        EXPECT_FALSE(w.IsModified());

        answerer.Expect(ModalAnswerer::Press(kAppTitle, IDYES).WithText(InvalidNameQuestion("My Book.book")));
        w.Menu(IDM_FILE_SAVE);
        EXPECT_TRUE(answerer.AllAnswered());
    });
    auto book = LoadBook(Path("My Book.book"));
    ASSERT_TRUE(book);
    EXPECT_EQ(book->Author(), "Jane");
}

// Typing notes.txt writes notes.txt.book: an existing notes.txt.book is not replaced unasked.
TEST_F(DocumentTest, SaveAsAsksBeforeReplacingTheExtendedName) {
    const std::string target = Path("notes.txt.book");
    const std::string question = "notes.txt.book already exists.\nDo you want to replace it?";
    WriteBytes(target, "old");
    Run([&](CTestMainDlg& w) {
        ModalAnswerer answerer;
        w.Type(IDC_AUTHOR, "Jane");
        std::string looks;
        answerer.Expect(ModalAnswerer::FileName("Save As", Path("notes.txt")))
            .Expect(Box("Confirm Save As", question, IDNO, &looks))
            .Expect(ModalAnswerer::Press("Save As", IDCANCEL));
        w.Menu(IDM_FILE_SAVE_AS);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(looks, "Yes No; default No; exclamation");
        EXPECT_EQ(ReadBytes(target), "old");
        EXPECT_EQ(w.DocName(), "new.book");

        answerer.Expect(ModalAnswerer::FileName("Save As", Path("notes.txt")))
            .Expect(ModalAnswerer::Press("Confirm Save As", IDYES).WithText(question));
        w.Menu(IDM_FILE_SAVE_AS);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(w.DocName(), "notes.txt.book");
    });
    auto book = LoadBook(target);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->Author(), "Jane");
}

TEST(KvFileDialog, StartsWithNoNameChecked) {
    CKvFileDialog dlg(FALSE, "book");
    EXPECT_EQ(dlg.m_strCheckedName, "");
}

}  // namespace
