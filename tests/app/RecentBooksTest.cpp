// Recent books in the File menu of the real window: kept in the registry, newest first, eight at
// most, shortened in the middle, and a book that is gone offered for removal.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DocumentTest.h"
#include "RecentBooks.h"

namespace {

using Texts = std::vector<std::string>;

// The File menu's items from the designed separator above Exit on.
Texts FileMenuTail(HWND hWnd) {
    HMENU hFile = ::GetSubMenu(::GetMenu(hWnd), 0);
    Texts texts;
    for (int i = 5; i < ::GetMenuItemCount(hFile); ++i) {
        char szText[300] = "";
        ::GetMenuStringA(hFile, UINT(i), szText, int(sizeof szText), MF_BYPOSITION);
        texts.push_back(szText);
    }
    return texts;
}

std::string Stored(int nEntry) {
    return AfxGetApp()->GetProfileString("Recent Books", ("Book" + std::to_string(nEntry)).c_str(), "-");
}

TEST(RecentBooks, LongPathsAreShortenedInTheMiddle) {
    struct Case {
        const char* path;
        const char* shown;
    };
    const Case cases[] = {
        {"C:\\Books\\novel.book", "C:\\Books\\novel.book"},
        {"C:\\Users\\somebody\\Documents\\Writing\\Drafts\\2026\\Spring\\novel.book",
         "C:\\...\\Documents\\Writing\\Drafts\\2026\\Spring\\novel.book"},
        {"\\\\server\\share\\a very long folder name indeed\\another long folder\\novel.book",
         "\\\\server\\share\\...\\another long folder\\novel.book"},
        {"C:\\folder\\a-file-name-that-is-longer-than-the-whole-room-of-sixty-characters.book",
         "C:\\...\\a-file-name-that-is-longer-than-the-whole-room-of-sixty-characters.book"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CRecentBooks::Shortened(c.path), c.shown);
    EXPECT_EQ(CRecentBooks::MenuText(1, "C:\\R&D\\x.book"), "&2 C:\\R&&D\\x.book");
}

TEST_F(DocumentTest, RecentBooksAreListedAboveExitNewestFirstAndAGoneOneCanBeRemoved) {
    std::vector<std::string> paths;
    for (int i = 1; i <= 9; ++i)
        paths.push_back(WriteBook("book" + std::to_string(i) + ".book", "Author", "Book " + std::to_string(i)));
    Run([&](CTestMainDlg& w) {
        EXPECT_EQ(FileMenuTail(w.m_hWnd), (Texts{"", "E&xit"}));
        for (const std::string& path : paths) {
            ModalAnswerer answerer(10000);
            answerer.Expect(ModalAnswerer::FileName("Open", path));
            w.Menu(IDM_FILE_OPEN);
            EXPECT_TRUE(answerer.AllAnswered()) << path;
        }
        Texts expected{""};
        for (int i = 9; i >= 2; --i)
            expected.push_back(CRecentBooks::MenuText(size_t(9 - i), paths[size_t(i - 1)]));
        expected.insert(expected.end(), {"", "E&xit"});
        EXPECT_EQ(FileMenuTail(w.m_hWnd), expected);
        EXPECT_EQ(Stored(1), paths[8]);
        EXPECT_EQ(Stored(8), paths[1]);

        // The third entry, book7, opens and goes first.
        w.Menu(IDM_RECENT_BOOK_FIRST + 2);
        EXPECT_EQ(w.Caption(), CaptionFor("book7.book"));
        EXPECT_EQ(Stored(1), paths[6]);
        EXPECT_EQ(Stored(2), paths[8]);

        // book8, now second, is gone: No keeps it, Yes removes it.
        ASSERT_TRUE(::DeleteFileA(paths[7].c_str()));
        std::string question = "The book \"" + paths[7] +
                               "\" cannot be found.\n\nDo you want to remove it from the list of recent books?";
        for (int button : {IDNO, IDYES}) {
            ModalAnswerer answerer(10000);
            answerer.Expect(Box(kAppTitle, question, button));
            w.Menu(IDM_RECENT_BOOK_FIRST + 2);
            EXPECT_TRUE(answerer.AllAnswered());
        }
        EXPECT_EQ(w.Caption(), CaptionFor("book7.book"));
        EXPECT_EQ(Stored(3), paths[5]);
        EXPECT_EQ(Stored(8), "-");
        EXPECT_EQ(FileMenuTail(w.m_hWnd).size(), 7u + 3u);

        // Save As puts the new name first.
        ModalAnswerer answerer(10000);
        answerer.Expect(ModalAnswerer::FileName("Save As", Path("savedas.book")));
        w.Menu(IDM_FILE_SAVE_AS);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(Stored(1), Path("savedas.book"));
    });
}

}  // namespace
