// New, Open and Save on the real main window, with its message boxes and file dialogs answered:
// when the save-changes question comes and what each answer does, where a book is written, what
// reaches the file, and what is left after a failed open or save.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DocumentTest.h"
#include "TestContainer.h"
#include "TestFiles.h"

namespace {

const char kSaveFailed[] = "cannot save file";
const char kInvalidFormat[] = "Invalid file format";

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string CurrentDirectory() {
    char szDir[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, szDir);
    return szDir;
}

// The window's pixels as the screen shows them, the caret left out (it blinks). Wine copies what
// was painted to the screen from the message loop, at most every 50 ms: the loop runs first.
std::vector<DWORD> ScreenPixels(HWND hWnd) {
    DWORD dwUntil = ::GetTickCount() + 200;
    ModalAnswerer::PumpUntil([&] { return LONG(::GetTickCount() - dwUntil) >= 0; }, 1000);
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), rc.right - rc.left, rc.top - rc.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(size_t(rc.right - rc.left) * size_t(rc.bottom - rc.top));
    ::HideCaret(nullptr);
    HDC hScreen = ::GetDC(nullptr);
    HDC hMemory = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, rc.right - rc.left, rc.bottom - rc.top);
    HGDIOBJ hOld = ::SelectObject(hMemory, hBitmap);
    ::BitBlt(hMemory, 0, 0, rc.right - rc.left, rc.bottom - rc.top, hScreen, rc.left, rc.top, SRCCOPY);
    ::SelectObject(hMemory, hOld);
    ::GetDIBits(hMemory, hBitmap, 0, UINT(rc.bottom - rc.top), pixels.data(), &info, DIB_RGB_COLORS);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMemory);
    ::ReleaseDC(nullptr, hScreen);
    ::ShowCaret(nullptr);
    return pixels;
}

// The window shows a new, empty book.
void ExpectNewBook(CTestMainDlg& w) {
    EXPECT_EQ(w.Caption(), "new.book - Kelvra Quire Binder");
    EXPECT_EQ(w.DocDir(), "");
    EXPECT_TRUE(w.IsUntitled());
    EXPECT_EQ(w.Text(IDC_AUTHOR), "");
    EXPECT_EQ(w.Text(IDC_TITLE), "");
    EXPECT_TRUE(w.ListTitles().empty());
    EXPECT_EQ(w.Text(IDC_EDITOR), "");
    EXPECT_EQ(w.Text(IDC_CHAPTER_LABEL), "");
    EXPECT_FALSE(w.Enabled(IDC_EDITOR));
    EXPECT_EQ(w.ShownChapter(), -1);
    EXPECT_FALSE(w.IsModified());
    EXPECT_EQ(theBook.ChapterCount(), 0);
    char szCounts[256] = "";
    ::SendMessageA(w.Item(IDC_STATUS_BAR), SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(szCounts));
    EXPECT_EQ(w.Text(IDC_STATUS_BAR) + " | " + szCounts, "Book Size ~ 1 Kb | Book: 0 words, 0 characters");
}

TEST_F(DocumentTest, NewAsksOnlyWhenSomethingChanged) {
    Run([&](CTestMainDlg& w) {
        ModalAnswerer answerer;  // nothing expected: any window fails the test
        w.Click(IDC_NEW_BOOK);
        EXPECT_TRUE(answerer.Seen().empty());

        // The name is in the question even for a book never saved.
        std::string looks;
        w.Type(IDC_AUTHOR, "Jane");
        answerer.Expect(Box(kAppTitle, SaveQuestion("new.book"), IDNO, &looks));
        w.Menu(IDM_FILE_NEW);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(looks, "Yes No Cancel; default Yes; question");
        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(answerer.Seen()[0].hOwner, w.m_hWnd);
        ExpectNewBook(w);

        // Cancel keeps the book and gives the focus back to where the user was.
        w.Type(IDC_TITLE, "Emma");
        answerer.Expect(ModalAnswerer::Press(kAppTitle, IDCANCEL).WithText(SaveQuestion("new.book")));
        w.Click(IDC_NEW_BOOK);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(w.Text(IDC_TITLE), "Emma");
        EXPECT_TRUE(w.IsModified());
        EXPECT_EQ(::GetFocus(), w.Item(IDC_TITLE));
    });
}

// A new book has no file yet: Yes leads to the Save As dialog, and cancelling that cancels New.
// Save never writes "new.book" by itself.
TEST_F(DocumentTest, ANewBookIsSavedOnlyUnderAChosenName) {
    std::string startDir = CurrentDirectory();
    Run([&](CTestMainDlg& w) {
        ModalAnswerer answerer;
        w.Type(IDC_AUTHOR, "Jane");
        answerer.Expect(ModalAnswerer::Press(kAppTitle, IDYES).WithText(SaveQuestion("new.book")))
            .Expect(ModalAnswerer::Press("Save As", IDCANCEL));
        w.Click(IDC_NEW_BOOK);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(w.Text(IDC_AUTHOR), "Jane");
        EXPECT_TRUE(w.IsModified());
        EXPECT_TRUE(w.IsUntitled());
        EXPECT_EQ(w.Caption(), CaptionFor("new.book"));

        answerer.Expect(ModalAnswerer::Press("Save As", IDCANCEL));
        w.Click(IDC_SAVE_BOOK);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_TRUE(w.IsUntitled());
        EXPECT_EQ(w.DocName(), "new.book");
        EXPECT_FALSE(Exists(startDir + "\\new.book"));
        EXPECT_FALSE(Exists("\\new.book"));

        answerer.Expect(ModalAnswerer::FileName("Save As", Path("first")));
        w.Menu(IDM_FILE_SAVE);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(w.Caption(), CaptionFor("first.book"));
        EXPECT_EQ(w.DocDir(), Folder());
        EXPECT_FALSE(w.IsUntitled());
        EXPECT_FALSE(w.IsModified());

        // From now on Save writes that file without asking.
        size_t nSeen = answerer.Seen().size();
        w.Retype(IDC_AUTHOR, "Jane Austen");
        w.Menu(IDM_FILE_SAVE);
        EXPECT_EQ(answerer.Seen().size(), nSeen);
    });
    EXPECT_EQ(Files(), std::vector<std::string>{"first.book"});
    auto book = LoadBook(Path("first.book"));
    ASSERT_TRUE(book);
    EXPECT_EQ(book->Author(), "Jane Austen");
}

// A name that breaks the device's rule (here a blank) is questioned at every Save: Yes writes the
// file under it, No asks for another name.
TEST_F(DocumentTest, SaveQuestionsAnInvalidNameEveryTime) {
    std::string novel = WriteBook("My Novel.book", "Old", "Title", {{"One", "text"}});
    Run([&](CTestMainDlg& w) {
        ModalAnswerer answerer;
        answerer.Expect(ModalAnswerer::FileName("Open", novel));
        w.Click(IDC_OPEN_BOOK);
        ASSERT_EQ(w.Caption(), CaptionFor("My Novel.book"));

        std::string looks;
        w.Retype(IDC_AUTHOR, "New");
        answerer.Expect(Box(kAppTitle, InvalidNameQuestion("My Novel.book"), IDYES, &looks));
        w.Click(IDC_SAVE_BOOK);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(looks, "Yes No; default No; question");
        EXPECT_EQ(answerer.Seen().back().hOwner, w.m_hWnd);
        EXPECT_FALSE(w.IsModified());
        EXPECT_EQ(LoadBook(novel)->Author(), "New");

        // Asked again, changed or not.
        answerer.Expect(
            ModalAnswerer::Press(kAppTitle, IDYES).WithText(InvalidNameQuestion("My Novel.book")));
        w.Menu(IDM_FILE_SAVE);
        EXPECT_TRUE(answerer.AllAnswered());

        w.Retype(IDC_AUTHOR, "Newer");
        answerer.Expect(ModalAnswerer::Press(kAppTitle, IDNO).WithText(InvalidNameQuestion("My Novel.book")))
            .Expect(ModalAnswerer::FileName("Save As", Path("MyNovel")));
        w.Menu(IDM_FILE_SAVE);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(w.Caption(), CaptionFor("MyNovel.book"));

        // A valid name is not questioned.
        size_t nSeen = answerer.Seen().size();
        w.Retype(IDC_AUTHOR, "Newest");
        w.Menu(IDM_FILE_SAVE);
        EXPECT_EQ(answerer.Seen().size(), nSeen);
    });
    EXPECT_EQ(LoadBook(novel)->Author(), "New");
    EXPECT_EQ(LoadBook(Path("MyNovel.book"))->Author(), "Newest");
}

// Cancelling the invalid-name path leaves everything as it was.
TEST_F(DocumentTest, NoToAnInvalidNameThenCancelSavesNothing) {
    std::string novel = WriteBook("My Novel.book", "Old", "Title");
    std::string before = ReadBytes(novel);
    Run(
        [&](CTestMainDlg& w) {
            ModalAnswerer answerer;
            w.Retype(IDC_AUTHOR, "New");
            answerer
                .Expect(ModalAnswerer::Press(kAppTitle, IDNO).WithText(InvalidNameQuestion("My Novel.book")))
                .Expect(ModalAnswerer::Press("Save As", IDCANCEL));
            w.Click(IDC_SAVE_BOOK);
            EXPECT_TRUE(answerer.AllAnswered());
            EXPECT_EQ(w.Caption(), CaptionFor("My Novel.book"));
            EXPECT_TRUE(w.IsModified());
            EXPECT_EQ(::GetFocus(), w.Item(IDC_AUTHOR));
        },
        "\"" + novel + "\"");
    EXPECT_EQ(ReadBytes(novel), before);
}

TEST_F(DocumentTest, ReadOnlyTargetTurnsSaveIntoSaveAs) {
    std::string locked = WriteBook("kept.book", "Old", "Title");
    ::SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    std::string before = ReadBytes(locked);
    Run(
        [&](CTestMainDlg& w) {
            ModalAnswerer answerer;
            w.Retype(IDC_AUTHOR, "New");
            answerer.Expect(ModalAnswerer::Press("Save As", IDCANCEL));
            w.Click(IDC_SAVE_BOOK);
            EXPECT_TRUE(answerer.AllAnswered());
            EXPECT_EQ(w.DocName(), "kept.book");
            EXPECT_TRUE(w.IsModified());

            answerer.Expect(ModalAnswerer::FileName("Save As", Path("copy.book")));
            w.Menu(IDM_FILE_SAVE);
            EXPECT_TRUE(answerer.AllAnswered());
            EXPECT_EQ(w.Caption(), CaptionFor("copy.book"));
        },
        "\"" + locked + "\"");
    EXPECT_EQ(ReadBytes(locked), before);
    EXPECT_EQ(LoadBook(Path("copy.book"))->Author(), "New");
    ::SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Save takes author and title without their trailing white space, every chapter title as it is,
// however long, and the chapter on show without trailing white space; the others as the book has
// them. The fields keep what was typed.
TEST_F(DocumentTest, SaveTakesTheFieldsIntoTheBook) {
    const std::string longTitle(400, 'L');
    const std::string longerTitle = std::string(700, 'x') + " end";
    std::string path = WriteBook("fields.book", "Old", "Old",
                                 {{"One ", "first"}, {longTitle, "second"}, {longerTitle, "third \r\n"}});
    Run(
        [&](CTestMainDlg& w) {
            ModalAnswerer answerer;
            w.Retype(IDC_AUTHOR, "Jane Austen \t ");
            w.Retype(IDC_TITLE, "Emma  ");
            w.Retype(IDC_EDITOR, "first, revised \r\n\r\n ");
            w.Click(IDC_SAVE_BOOK);
            EXPECT_TRUE(answerer.Seen().empty());
            EXPECT_FALSE(w.IsModified());
            EXPECT_EQ(w.ShownChapter(), 0);
            EXPECT_EQ(w.Text(IDC_AUTHOR), "Jane Austen \t ");
            EXPECT_EQ(w.Text(IDC_TITLE), "Emma  ");
            EXPECT_EQ(w.Text(IDC_EDITOR), "first, revised \r\n\r\n ");
        },
        "\"" + path + "\"");
    auto book = LoadBook(path);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->Author(), "Jane Austen");
    EXPECT_EQ(book->Title(), "Emma");
    ASSERT_EQ(book->ChapterCount(), 3);
    EXPECT_EQ(book->ChapterTitle(0), "One ");
    EXPECT_EQ(book->ChapterTitle(1), longTitle);
    EXPECT_EQ(book->ChapterTitle(2), longerTitle);
    EXPECT_EQ(book->ChapterText(0), "first, revised");
    EXPECT_EQ(book->ChapterText(1), "second");
    EXPECT_EQ(book->ChapterText(2), "third \r\n");
}

// A save that cannot replace the file (another program holds it) says so and changes nothing:
// not the file, not the name, not the caption; the book stays modified and the command that asked
// for the save is abandoned.
TEST_F(DocumentTest, FailedSaveKeepsTheFileTheNameAndTheCaption) {
    std::string path = WriteBook("held.book", "Old", "Title", {{"One", "text"}});
    std::string before = ReadBytes(path);
    Run(
        [&](CTestMainDlg& w) {
            ModalAnswerer answerer;
            w.Retype(IDC_AUTHOR, "New");
            HANDLE hHeld = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(hHeld, INVALID_HANDLE_VALUE);

            std::string looks;
            answerer.Expect(Box(kAppTitle, kSaveFailed, IDOK, &looks));
            w.Click(IDC_SAVE_BOOK);
            EXPECT_TRUE(answerer.AllAnswered());
            EXPECT_EQ(looks, "OK; default OK; error");
            EXPECT_EQ(w.Caption(), CaptionFor("held.book"));
            EXPECT_EQ(w.DocDir(), Folder());
            EXPECT_FALSE(w.IsUntitled());
            EXPECT_TRUE(w.IsModified());

            answerer.Expect(ModalAnswerer::Press(kAppTitle, IDYES).WithText(SaveQuestion("held.book")))
                .Expect(ModalAnswerer::Press(kAppTitle, IDOK).WithText(kSaveFailed));
            w.Click(IDC_NEW_BOOK);
            EXPECT_TRUE(answerer.AllAnswered());
            EXPECT_EQ(w.Text(IDC_AUTHOR), "New");
            EXPECT_EQ(w.Caption(), CaptionFor("held.book"));
            ::CloseHandle(hHeld);
        },
        "\"" + path + "\"");
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(Files(), std::vector<std::string>{"held.book"});  // no temporary file left
}

// After a failed Save As the book is named as chosen (no longer untitled) while the caption still
// shows the old name; the next Save tries that name again without asking.
TEST_F(DocumentTest, FailedSaveAsKeepsTheChosenName) {
    std::string path = WriteBook("held.book", "Old", "Title");
    std::string before = ReadBytes(path);
    Run([&](CTestMainDlg& w) {
        ModalAnswerer answerer;
        w.Type(IDC_AUTHOR, "Fresh");
        HANDLE hHeld = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(hHeld, INVALID_HANDLE_VALUE);
        ModalAnswerer::Expectation replace = ModalAnswerer::Press("", IDYES);  // the dialog's own question
        replace.requiredControl = IDYES;
        answerer.Expect(ModalAnswerer::FileName("Save As", path))
            .Expect(replace)
            .Expect(ModalAnswerer::Press(kAppTitle, IDOK).WithText(kSaveFailed));
        w.Menu(IDM_FILE_SAVE_AS);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(w.Caption(), CaptionFor("new.book"));  // the name held.book shows at the next Save
        EXPECT_EQ(w.DocDir(), Folder());
        EXPECT_FALSE(w.IsUntitled());
        EXPECT_TRUE(w.IsModified());
        ::CloseHandle(hHeld);
        EXPECT_EQ(ReadBytes(path), before);

        size_t nSeen = answerer.Seen().size();
        w.Menu(IDM_FILE_SAVE);
        EXPECT_EQ(answerer.Seen().size(), nSeen);
        EXPECT_EQ(w.Caption(), CaptionFor("held.book"));
        EXPECT_FALSE(w.IsModified());
    });
    EXPECT_EQ(LoadBook(path)->Author(), "Fresh");
}

// Whatever was open before, a file that is not a book, or a book cut short, leaves an empty new
// book behind the message.
TEST_F(DocumentTest, OpenOfABrokenFileLeavesANewBook) {
    std::string good = WriteBook("good.book", "Mary Shelley", "Frankenstein", {{"Letter 1", "text"}});
    std::string junk = Path("junk.book");
    WriteBytes(junk, "This is a plain text file.\r\n");
    std::string bytes = ReadBytes(WriteBook("cut.book", "Anne", "Agnes Grey", {{"One", "Some text"}}));
    std::string cut = Path("cut.book");
    WriteBytes(cut, bytes.substr(0, bytes.size() - 5));
    std::string notes = Path("notes");  // not a book, and no extension either
    WriteBytes(notes, "Plain notes.\r\n");
    Run(
        [&](CTestMainDlg& w) {
            ModalAnswerer answerer;
            for (const std::string& broken : {junk, cut, notes}) {
                SCOPED_TRACE(broken);
                std::string looks;
                answerer.Expect(ModalAnswerer::FileName("Open", broken))
                    .Expect(Box("Error!", kInvalidFormat, IDOK, &looks));
                w.Click(IDC_OPEN_BOOK);
                EXPECT_TRUE(answerer.AllAnswered());
                EXPECT_EQ(looks, "OK; default OK; error");
                ExpectNewBook(w);

                answerer.Expect(ModalAnswerer::FileName("Open", good));
                w.Menu(IDM_FILE_OPEN);
                EXPECT_EQ(w.Caption(), CaptionFor("good.book"));
            }
        },
        "\"" + good + "\"");
}

// New and Open leave their repaint to the window's next paint. Once it has painted, the screen
// shows what a repaint of everything from scratch shows: no part is left stale.
TEST_F(DocumentTest, NewOpenAndAChosenChapterAreFullyPainted) {
    std::string path = WriteBook("painted.book", "Painted Author", "Painted Title",
                                 {{"First", "first chapter's text"}, {"Second", "the second\r\nchapter"}});
    Run([&](CTestMainDlg& w) {
        auto expectFullyPainted = [&](const char* step) {
            std::vector<DWORD> shown = ScreenPixels(w.m_hWnd);
            ::RedrawWindow(w.m_hWnd, nullptr, nullptr,
                           RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            EXPECT_TRUE(ScreenPixels(w.m_hWnd) == shown) << step;
        };
        w.OpenBook(path.c_str());  // as the command line and a drop open a book
        expectFullyPainted("open");
        w.ChooseChapter(1);
        expectFullyPainted("chapter");
        w.Menu(IDM_FILE_NEW);
        expectFullyPainted("new");
        ModalAnswerer answerer;
        answerer.Expect(ModalAnswerer::FileName("Open", path));
        w.Menu(IDM_FILE_OPEN);
        expectFullyPainted("open from the menu");
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(w.Text(IDC_EDITOR), "first chapter's text");
    });
}

// The file chosen in the Open dialog is the file opened, whatever its name ends in, also when a
// file of that name with ".book" added exists beside it.
TEST_F(DocumentTest, OpenTakesTheChosenFile) {
    WriteBook("Novel.BOOK", "Upper", "Title", {{"One", "upper text"}});
    WriteBook("Story.Book", "Mixed", "Title");
    WriteBook("plain", "No extension", "Title");
    WriteBook("plain.book", "Plain", "Title");
    Run([&](CTestMainDlg& w) {
        ModalAnswerer answerer;
        struct Row {
            const char* chosen;
            const char* docName;
            const char* author;
        };
        for (const Row& row :
             {Row{"Novel.BOOK", "Novel.BOOK", "Upper"}, Row{"Story.Book", "Story.Book", "Mixed"},
              Row{"plain", "plain", "No extension"}, Row{"plain.book", "plain.book", "Plain"}}) {
            SCOPED_TRACE(row.chosen);
            answerer.Expect(ModalAnswerer::FileName("Open", Path(row.chosen)));
            w.Menu(IDM_FILE_OPEN);
            EXPECT_TRUE(answerer.AllAnswered());
            EXPECT_EQ(w.Caption(), CaptionFor(row.docName));
            EXPECT_EQ(w.DocDir(), Folder());
            EXPECT_EQ(w.Text(IDC_AUTHOR), row.author);
            EXPECT_FALSE(w.IsUntitled());
            EXPECT_FALSE(w.IsModified());
        }

        // Cancelled: nothing changes.
        answerer.Expect(ModalAnswerer::Press("Open", IDCANCEL));
        w.Click(IDC_OPEN_BOOK);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(w.Caption(), CaptionFor("plain.book"));
        EXPECT_EQ(w.Text(IDC_AUTHOR), "Plain");

        // Unsaved changes are asked about first; Cancel there shows no Open dialog at all.
        w.Retype(IDC_AUTHOR, "Changed");
        answerer.Expect(ModalAnswerer::Press(kAppTitle, IDCANCEL).WithText(SaveQuestion("plain.book")));
        w.Click(IDC_OPEN_BOOK);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(w.Text(IDC_AUTHOR), "Changed");
        EXPECT_EQ(::GetFocus(), w.Item(IDC_AUTHOR));
    });
}

// A saved book holds at most 1895 chapters. A book from elsewhere with more is opened and edited;
// Save and Save As say how many chapters must go and leave the file alone. At the limit New Chapter
// says so and adds nothing.
TEST_F(DocumentTest, ChapterLimitIsToldBeforeASaveFails) {
    const std::string kLimit = "A book can hold at most 1895 chapters.";
    std::string path = Path("big.book");
    WriteBytes(path, EncodeContainer(BookMembers("Anne", "Big", std::vector<std::string>(1896, "c"),
                                                 std::vector<std::string>(1896, "t"))));
    std::string before = ReadBytes(path);
    Run(
        [&](CTestMainDlg& w) {
            ModalAnswerer answerer;
            w.Retype(IDC_AUTHOR, "Changed");
            std::string looks;
            answerer.Expect(Box(kAppTitle, kLimit + "\n\nDelete 1 chapter to save this book.", IDOK, &looks))
                .Expect(Box(kAppTitle, kLimit + "\n\nDelete 1 chapter to save this book.", IDOK))
                .Expect(
                    Box("Confirm Chapter Delete", "Are you sure you want to delete Chapter \"c\" ?", IDOK))
                .Expect(Box(kAppTitle, kLimit, IDOK));
            w.Click(IDC_SAVE_BOOK);
            w.Menu(IDM_FILE_SAVE_AS);  // no name is asked for
            EXPECT_EQ(ReadBytes(path), before);
            w.Click(IDC_DELETE_CHAPTER);
            w.Click(IDC_NEW_CHAPTER);  // no title is asked for
            EXPECT_TRUE(answerer.AllAnswered());
            EXPECT_EQ(looks, "OK; default OK; exclamation");
            EXPECT_EQ(w.ListTitles().size(), 1895u);
            w.Click(IDC_SAVE_BOOK);
            EXPECT_FALSE(w.IsModified());
        },
        "\"" + path + "\"");
    EXPECT_EQ(LoadBook(path)->ChapterCount(), 1895);
}

TEST_F(DocumentTest, CommandLineBookWithoutExtensionIsOpened) {
    std::string path = WriteBook("mybook", "Anne", "Title");
    Run([&](CTestMainDlg& w) { EXPECT_EQ(w.Caption(), CaptionFor("mybook")); }, path);
}

// The quotes do not count against the 259 characters of the path.
TEST_F(DocumentTest, CommandLinePathOfTheLongestLengthIsOpened) {
    std::string name = std::string(259 - Folder().size() - 1 - 5, 'n') + ".book";
    std::string path = WriteBook(name, "Long", "Title");
    ASSERT_EQ(path.size(), 259u);
    ModalAnswerer answerer;  // a message box would fail the test instead of hanging it
    Run([&](CTestMainDlg& w) { EXPECT_EQ(w.Caption(), CaptionFor(name)); }, "\"" + path + "\"");
    // One more is ignored without a message (no answerer: a message box would hang the test).
    Run([&](CTestMainDlg& w) { EXPECT_EQ(w.Caption(), CaptionFor("new.book")); }, "\"" + path + "x\"");
}

// Saved at the longest paths there are: the temporary file beside the book keeps within them too.
TEST_F(DocumentTest, SaveWorksUpToTheLongestPath) {
    std::string dir = Path(std::string(244 - Folder().size(), 'd'));
    ASSERT_TRUE(::CreateDirectoryA(dir.c_str(), nullptr)) << dir;
    for (size_t length = 252; length <= 259; ++length) {
        std::string path = dir + "\\" + std::string(length - dir.size() - 6, 'n') + ".book";
        WriteBytes(path, EncodeContainer(BookMembers("Old", "Title", {"One"}, {"text"})));
        ModalAnswerer answerer;  // a failure message fails the test instead of hanging it
        Run(
            [&](CTestMainDlg& w) {
                w.Retype(IDC_AUTHOR, "Saved");
                w.Click(IDC_SAVE_BOOK);
            },
            "\"" + path + "\"");
        EXPECT_EQ(LoadBook(path)->Author(), "Saved") << length;
    }
    WIN32_FIND_DATAA found;
    EXPECT_EQ(::FindFirstFileA((dir + "\\~*").c_str(), &found), INVALID_HANDLE_VALUE);  // no file left behind
}

// A book named without its folder is saved back where it was opened from, not beside whatever the
// current directory becomes or at the root of the drive.
TEST_F(DocumentTest, BookOpenedByARelativeNameIsSavedWhereItCameFrom) {
    std::string path = WriteBook("relative.book", "Old", "Title");
    ::DeleteFileA("C:\\relative.book");  // from an earlier run that went wrong
    ASSERT_TRUE(::SetCurrentDirectoryA(Folder().c_str()));
    Run(
        [&](CTestMainDlg& w) {
            EXPECT_EQ(w.Caption(), CaptionFor("relative.book"));
            EXPECT_EQ(w.DocDir(), Folder());
            ::SetCurrentDirectoryA("C:\\");
            w.Retype(IDC_AUTHOR, "New");
            ModalAnswerer answerer;
            w.Menu(IDM_FILE_SAVE);
            EXPECT_FALSE(w.IsModified());
        },
        "relative.book");
    EXPECT_EQ(LoadBook(path)->Author(), "New");
    EXPECT_FALSE(Exists("C:\\relative.book"));
}

}  // namespace
