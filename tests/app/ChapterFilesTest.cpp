// Chapters from files, split at the cursor and merged, on the real main window: the Open dialog
// with many files, the order, titles and bytes of the chapters, the one report at the end, the
// limit, Cancel on the progress window clicked with the pointer, and the book and list together.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Book.h"
#include "ImportProgress.h"
#include "ModalAnswerer.h"
#include "TestMainDlg.h"
#include "TextCorpus.h"
#include "TextLossAnswer.h"
#include "WindowRunner.h"

namespace {

using Titles = std::vector<std::string>;

// A fresh folder in the temporary folder; returns its path with a trailing backslash.
std::string MakeFolder(const std::string& name) {
    std::string folder = WriteTempFile(name + ".probe", "");
    ::DeleteFileA(folder.c_str());
    folder.resize(folder.size() - 6);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

// Two chapters "A" and "B" with their texts, "A" on show.
void AddTwoChapters(CTestMainDlg& w) {
    for (const char* title : {"A", "B"}) {
        w.AddChapter(title);
        w.Type(IDC_EDITOR, std::string("text ") + title);
    }
    w.ChooseChapter(0);
}

TEST(ChapterFiles, ManyFilesBecomeChaptersInNaturalOrderWithOneReport) {
    std::string folder = MakeFolder("chapter files");
    struct File {
        const char* name;
        std::string bytes;
    } files[] = {
        {"ch10.txt", "ten \xE2\x98\x85"},  // UTF-8: the star cannot be kept
        {"ch2.txt", "Caf\xC3\xA9 \xE2\x98\x85\xE2\x98\x85"},
        {"ch1.txt", "one\r\n"},
        {"empty.txt", ""},
        {"notes.rtf", "{\\rtf1\\ansi Plain {\\b bold}}"},
        {"picture.png", "\x89PNG"},
    };
    std::string names;
    for (const File& file : files) {
        WriteTempFile("chapter files\\" + std::string(file.name), file.bytes);
        names += "\"" + std::string(file.name) + "\" ";
    }
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        AddTwoChapters(dlg);
        std::string lossList;
        ModalAnswerer answerer(20000);
        answerer.Expect(ModalAnswerer::FileName("Open", folder));  // goes into the folder
        answerer.Expect(ModalAnswerer::FileName("Open", names));
        answerer.Expect(AnswerTextLoss(IDOK, lossList));
        answerer.Expect(ModalAnswerer::Press("Kelvra Quire Binder", IDOK)
                            .WithText("These files were not added:\n\nempty.txt: empty file\npicture.png: neither a "
                                      "text file (.txt) nor an RTF file (.rtf)"));
        ASSERT_TRUE(dlg.MenuItemEnabled(IDM_ADD_CHAPTERS));
        WindowRunner::PressKey(dlg.List(), 'O', true, true);
        EXPECT_TRUE(answerer.AllAnswered());
        // One list for all files: the star once, with every occurrence.
        EXPECT_EQ(0u, lossList.find("3 characters cannot be stored")) << lossList;
        EXPECT_EQ(dlg.ListTitles(), (Titles{"A", "ch1", "ch2", "ch10", "notes", "B"}));
        EXPECT_EQ(CTestMainDlg::BookTexts(),
                  (Titles{"text A", "one\r\n", "Caf\xE9 ", "ten ", "Plain bold", "text B"}));
        EXPECT_EQ(dlg.Selected(), 1);
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "one\r\n");
        EXPECT_EQ(dlg.Text(IDC_CHAPTER_LABEL), "ch1");
        EXPECT_TRUE(dlg.IsModified());
    });
}

// The limit is checked before any file is read: these files do not even exist.
TEST(ChapterFiles, MoreChaptersThanABookHoldsAreRefusedBeforeAnythingChanges) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        AddTwoChapters(dlg);
        dlg.ClearModified();
        std::vector<std::string> paths;
        for (int i = 0; i < 1894; ++i)
            paths.push_back("C:\\nowhere\\" + std::to_string(i) + ".txt");
        ModalAnswerer answerer(10000);
        answerer.Expect(ModalAnswerer::Press("Kelvra Quire Binder", IDOK)
                            .WithText("These 1894 files would make 1896 chapters; a book can hold at most 1895."));
        dlg.AddChapterFiles(paths, 1);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(dlg.ListTitles(), (Titles{"A", "B"}));
        EXPECT_FALSE(dlg.IsModified());
    });
}

// Cancel, clicked with the pointer while the files are read, adds the chapters read so far, each
// whole, and nothing half-made.
TEST(ChapterFiles, CancelOnTheProgressWindowKeepsTheChaptersReadSoFar) {
    std::string folder = MakeFolder("many chapter files");
    std::vector<std::string> paths;
    const int nFiles = 1500;
    // The window shows once reading takes more than a moment: files this big keep it up a while.
    const std::size_t kBytes = 32000;
    for (int i = 1; i <= nFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "part %d.txt", i);
        paths.push_back(
            WriteTempFile("many chapter files\\" + std::string(name), std::string(kBytes, char('a' + i % 26))));
    }
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        // A hand of its own clicks Cancel while the window shows, whatever the window's thread is
        // doing; the first click may come before the window is ready for it, so it clicks again.
        std::atomic<bool> bDone{false};
        std::thread hand([&] {
            while (!bDone) {
                HWND hProgress = ::FindWindowA(CImportProgress::kClassName, nullptr);
                if (hProgress == nullptr || !::IsWindowVisible(hProgress)) {
                    ::Sleep(2);
                    continue;
                }
                RECT button;
                ::GetWindowRect(::GetDlgItem(hProgress, IDCANCEL), &button);
                ::SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2);
                INPUT clicks[2] = {};
                clicks[0].type = clicks[1].type = INPUT_MOUSE;
                clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
                clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
                ::SendInput(2, clicks, sizeof(INPUT));
                ::Sleep(50);
            }
        });
        // Under Wine a click can arrive after the last file on a fast run: then once more.
        for (int nTry = 0; nTry < 3 && (nTry == 0 || theBook.ChapterCount() == nFiles); ++nTry) {
            dlg.ResetDocument();
            dlg.AddChapterFiles(paths, 0);
        }
        bDone = true;
        hand.join();
        EXPECT_EQ(::FindWindowA(CImportProgress::kClassName, nullptr), nullptr);
        EXPECT_TRUE(::IsWindowEnabled(dlg.m_hWnd));
        int nAdded = theBook.ChapterCount();
        EXPECT_GT(nAdded, 0);
        EXPECT_LT(nAdded, nFiles);
        Titles titles = dlg.ListTitles();
        ASSERT_EQ(int(titles.size()), nAdded);
        for (int i = 0; i < nAdded; ++i) {
            EXPECT_EQ(titles[size_t(i)], "part " + std::to_string(i + 1));
            EXPECT_EQ(theBook.ChapterText(uint32_t(i)), std::string(kBytes, char('a' + (i + 1) % 26)));
        }
    });
    for (const std::string& path : paths)
        ::DeleteFileA(path.c_str());
}

TEST(ChapterFiles, SplitAtTheCursorAndMergeAgainGiveBackTheText) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        EXPECT_FALSE(dlg.MenuItemEnabled(IDM_SPLIT_AT_CURSOR));
        const std::string text = "first part\r\n\r\n  Second Title\r\nrest";
        dlg.AddChapter("A");
        ::SetFocus(dlg.Editor());
        ::SendMessageA(dlg.Editor(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
        dlg.AddChapter("B");
        dlg.ChooseChapter(0);
        EXPECT_TRUE(dlg.MenuItemEnabled(IDM_MERGE_NEXT));
        ::SendMessageA(dlg.Editor(), EM_SETSEL, 12, 12);  // after the first line break
        std::string proposed;
        {
            ModalAnswerer answerer(10000);
            answerer.Expect(ModalAnswerer::Act("Chapter Title", [&](HWND hDlg) {
                proposed = WindowRunner::WindowText(::GetDlgItem(hDlg, IDC_CHAPTER_TITLE_BOX));
                ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
            }));
            dlg.Menu(IDM_SPLIT_AT_CURSOR);
            EXPECT_TRUE(answerer.AllAnswered());
        }
        EXPECT_EQ(proposed, "Second Title");
        EXPECT_EQ(dlg.ListTitles(), (Titles{"A", "Second Title", "B"}));
        EXPECT_EQ(CTestMainDlg::BookTexts(), (Titles{"first part\r\n", "\r\n  Second Title\r\nrest", ""}));
        EXPECT_EQ(dlg.Selected(), 1);
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "\r\n  Second Title\r\nrest");
        // One step of the history, both ways.
        dlg.Menu(IDM_EDIT_UNDO);
        EXPECT_EQ(dlg.ListTitles(), (Titles{"A", "B"}));
        EXPECT_EQ(CTestMainDlg::BookTexts(), (Titles{text, ""}));
        dlg.Menu(IDM_EDIT_REDO);
        EXPECT_EQ(dlg.ListTitles(), (Titles{"A", "Second Title", "B"}));

        // Merge asks first; Cancel changes nothing, OK puts the text back together byte for byte.
        dlg.ChooseChapter(0);
        const std::string question = "Merge \"A\" with the next chapter, \"Second Title\"?\n\nThe text of \"Second "
                                     "Title\" goes to the end of \"A\", and its title goes.";
        for (int button : {IDCANCEL, IDOK}) {
            ModalAnswerer answerer(10000);
            answerer.Expect(ModalAnswerer::Press("Kelvra Quire Binder", button).WithText(question));
            dlg.Menu(IDM_MERGE_NEXT);
            EXPECT_TRUE(answerer.AllAnswered());
        }
        EXPECT_EQ(dlg.ListTitles(), (Titles{"A", "B"}));
        EXPECT_EQ(CTestMainDlg::BookTexts(), (Titles{text, ""}));
        EXPECT_EQ(dlg.Text(IDC_EDITOR), text);
        dlg.ChooseChapter(1);
        EXPECT_FALSE(dlg.MenuItemEnabled(IDM_MERGE_NEXT));
    });
}

// Files dropped from another process: on the list at an item, on the editor, on the window, and
// what cannot be added; a book dropped opens behind the save-changes prompt.
TEST(ChapterFiles, FilesDroppedFromAnotherProcess) {
    std::string folder = MakeFolder("dropped files");
    for (const char* name : {"ch2.txt", "ch1.txt"})
        WriteTempFile("dropped files\\" + std::string(name), std::string("dropped ") + name);
    std::unique_ptr<CBook> book(new CBook);
    book->SetChapterTitle(0, "Only");
    book->SetChapterText(0, "from the book");
    ASSERT_TRUE(book->SaveToFile((folder + "dropped.book").c_str()));
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        AddTwoChapters(dlg);
        auto drop = [&](HWND hOver, const std::vector<std::string>& names) {
            RECT rect;
            if (hOver == dlg.List())
                ::SendMessageA(hOver, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rect));  // item "B"
            else
                ::GetClientRect(hOver, &rect);
            POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
            ::MapWindowPoints(hOver, dlg.m_hWnd, &point, 1);
            std::string args = std::to_string(reinterpret_cast<UINT_PTR>(dlg.m_hWnd)) + " " +
                               std::to_string(point.x) + " " + std::to_string(point.y);
            for (const std::string& name : names)
                args += " \"" + folder + name + "\"";
            EXPECT_EQ(RunHelperProgram("drop_helper.exe", args), 0u);
            ModalAnswerer::PumpPending();
        };
        drop(dlg.List(), {"ch2.txt", "ch1.txt"});
        EXPECT_EQ(dlg.ListTitles(), (Titles{"A", "ch1", "ch2", "B"}));
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "dropped ch1.txt");

        ::SendMessageA(dlg.Editor(), EM_SETSEL, 8, 8);
        drop(dlg.Editor(), {"ch2.txt"});
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "dropped dropped ch2.txtch1.txt");
        EXPECT_EQ(dlg.ListTitles().size(), 4u);
        {
            ModalAnswerer answerer(10000);
            answerer.Expect(ModalAnswerer::Press("Kelvra Quire Binder", IDOK)
                                .WithText("These files cannot be added:\npicture.png\nnotes.doc\n\nDrop text (.txt) or "
                                          "RTF (.rtf) files to add them as chapters, or one book (.book) to open it."));
            drop(dlg.Item(IDC_AUTHOR), {"picture.png", "notes.doc"});
            EXPECT_TRUE(answerer.AllAnswered());
        }
        EXPECT_EQ(dlg.ListTitles().size(), 4u);
        {
            ModalAnswerer answerer(10000);
            answerer.Expect(ModalAnswerer::Press("Kelvra Quire Binder", IDNO)
                                .WithText("Do you want to save the changes you made to \"new.book\" ?"));
            drop(dlg.Item(IDC_TITLE), {"dropped.book"});
            EXPECT_TRUE(answerer.AllAnswered());
        }
        EXPECT_EQ(dlg.ListTitles(), (Titles{"Only"}));
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "from the book");
        EXPECT_EQ(dlg.DocName(), "dropped.book");
    });
}

// The preview follows the rule as it is chosen and typed; a bad expression is said in the dialog;
// OK puts the chapters in the chapter's place, and they join back into its text byte for byte.
TEST(ChapterFiles, SplitIntoChaptersShowsWhatItWouldMakeFirst) {
    const std::string novel = SampleNovel(12, 2000, "Chapter %d");
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        dlg.AddChapter("Novel");
        dlg.ClearModified();
        ::SendMessageA(dlg.Editor(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(novel.c_str()));
        struct Step {
            int nRule;             // -1: leaves the rule
            const char* expression;  // null: leaves the box
            std::string status;
            int nItems;
        } steps[] = {
            {0, nullptr, "13 chapters:", 13},
            {1, nullptr, "Nothing matches: the chapter would stay as it is.", 0},
            {4, "^Chapter (", "This rule cannot be used: a \"(\" without its \")\".", 0},
            {-1, "^Chapter ([2-5]|1\\d)$", "8 chapters:", 8},
        };
        std::vector<std::string> seen;
        ModalAnswerer answerer(20000);
        answerer.Expect(ModalAnswerer::Act("Split into Chapters", [&](HWND hDlg) {
            for (const Step& step : steps) {
                if (step.nRule >= 0) {
                    ::SendDlgItemMessageA(hDlg, IDC_SPLIT_RULE, CB_SETCURSEL, WPARAM(step.nRule), 0);
                    ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_SPLIT_RULE, CBN_SELCHANGE),
                                   reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, IDC_SPLIT_RULE)));
                }
                if (step.expression != nullptr)
                    ::SetDlgItemTextA(hDlg, IDC_SPLIT_EXPRESSION, step.expression);  // EN_CHANGE, as typing
                EXPECT_EQ(WindowRunner::WindowText(::GetDlgItem(hDlg, IDC_SPLIT_STATUS)), step.status);
                EXPECT_EQ(::SendDlgItemMessageA(hDlg, IDC_SPLIT_PREVIEW, LB_GETCOUNT, 0, 0), step.nItems);
                EXPECT_EQ(::IsWindowEnabled(::GetDlgItem(hDlg, IDOK)) != FALSE, step.nItems > 0);
            }
            char line[256] = "";
            ::SendDlgItemMessageA(hDlg, IDC_SPLIT_PREVIEW, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(line));
            seen.push_back(line);
            ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
        }));
        dlg.Menu(IDM_SPLIT_INTO_CHAPTERS);
        EXPECT_TRUE(answerer.AllAnswered());
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].substr(0, 10), "Chapter 2\t");
        Titles titles = dlg.ListTitles();
        EXPECT_EQ(titles, (Titles{"Novel", "Chapter 2", "Chapter 3", "Chapter 4", "Chapter 5", "Chapter 10",
                                  "Chapter 11", "Chapter 12"}));
        std::string joined;
        for (const std::string& text : CTestMainDlg::BookTexts())
            joined += text;
        EXPECT_EQ(joined, novel);
        EXPECT_TRUE(dlg.IsModified());
    });
}

}  // namespace
