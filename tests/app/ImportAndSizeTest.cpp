// Add Text from File and the book-size display on the real main window: text and RTF files
// inserted at the caret as plain text, empty and unreadable files, and the size estimate.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "ModalAnswerer.h"
#include "TestMainDlg.h"
#include "TextCorpus.h"
#include "TextLossAnswer.h"
#include "WindowRunner.h"

namespace {

// A chapter "One" holding `text` with [start, end) selected.
void PrepareChapter(CTestMainDlg& w, const std::string& text, long nStart, long nEnd) {
    w.AddChapter("One");
    w.Type(IDC_EDITOR, text);
    CHARRANGE range = {nStart, nEnd};
    ::SendMessageA(w.Editor(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

std::string StatusText(const CTestMainDlg& w) {
    return w.Text(IDC_STATUS_BAR);
}

TEST(ImportAndSize, TextFilesReplaceTheSelectionAndCanBeUndone) {
    struct Case {
        const char* name;
        bool bMenu;
    };
    for (Case c : {Case{"import.txt", false}, Case{"IMPORT2.TXT", true}}) {
        SCOPED_TRACE(c.name);
        // The text ends at the first zero byte.
        std::string path = WriteTempFile(c.name, std::string("there\r\nfriend\0ignored", 21));
        CTestMainDlg dlg;
        WindowRunner::Run(dlg, [&](CTestMainDlg&) {
            PrepareChapter(dlg, "Hello world!", 6, 11);
            ::SetFocus(dlg.List());
            ModalAnswerer answerer(15000);
            ImportFile(dlg, answerer, path, {}, c.bMenu);
            EXPECT_TRUE(answerer.AllAnswered());
            EXPECT_EQ(dlg.Text(IDC_EDITOR), "Hello there\r\nfriend!");
            EXPECT_EQ(::GetFocus(), dlg.Editor());
            EXPECT_TRUE(dlg.IsModified());
            dlg.Menu(IDM_EDITOR_UNDO);
            EXPECT_EQ(dlg.Text(IDC_EDITOR), "Hello world!");
        });
    }
}

// Bold and coloured text arrives as its characters, without the formatting, and the decoding
// control is gone afterwards.
TEST(ImportAndSize, RtfFilesGiveTheirPlainCharacters) {
    std::string path = WriteTempFile("styled.rtf",
                                     "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}"
                                     "{\\colortbl;\\red255\\green0\\blue0;}"
                                     "\\f0\\fs40 Plain {\\b bold} {\\cf1 red}\\par second line}");
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        PrepareChapter(dlg, "[]", 1, 1);
        ModalAnswerer answerer(15000);
        ImportFile(dlg, answerer, path);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "[Plain bold red\r\nsecond line]");
        CHARFORMATA format{};
        format.cbSize = sizeof(format);
        ::SendMessageA(dlg.Editor(), EM_SETSEL, 0, -1);
        ::SendMessageA(dlg.Editor(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        EXPECT_EQ(format.dwEffects & CFE_BOLD, 0u);
        EXPECT_NE(format.dwMask & CFM_BOLD, 0u);  // the same, not bold, all through
        EXPECT_NE(format.dwMask & CFM_SIZE, 0u);
        EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, 1), nullptr);
        dlg.Menu(IDM_EDITOR_UNDO);
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "[]");
    });
}

// An empty .txt, an .rtf without text: "Empty file", and the chapter stays as it was. Another
// extension: nothing at all. A cancelled dialog: nothing. The editor gets the focus every time.
TEST(ImportAndSize, EmptyFilesOtherExtensionsAndCancel) {
    std::string empty = WriteTempFile("empty.txt", "");
    std::string blank = WriteTempFile("blank.rtf", "{\\rtf1\\ansi }");
    std::string other = WriteTempFile("notes.log", "log text");
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        PrepareChapter(dlg, "kept", 0, 2);
        ModalAnswerer answerer(30000);
        for (const std::string& path : {empty, blank}) {
            ::SetFocus(dlg.List());
            ImportFile(dlg, answerer, path, {ModalAnswerer::Press("Error!", IDOK).WithText("Empty file")});
            EXPECT_EQ(dlg.Text(IDC_EDITOR), "kept") << path;
            EXPECT_EQ(::GetFocus(), dlg.Editor()) << path;
        }
        ::SetFocus(dlg.List());
        ImportFile(dlg, answerer, other);
        EXPECT_EQ(::GetFocus(), dlg.Editor());
        ::SetFocus(dlg.List());
        answerer.Expect(ModalAnswerer::Press("Open", IDCANCEL));
        dlg.Click(IDC_IMPORT_TEXT);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(answerer.Seen().size(), 6u);
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "kept");
        EXPECT_EQ(::GetFocus(), dlg.Editor());
        EXPECT_EQ(answerer.Seen()[1].hOwner, dlg.m_hWnd);
    });
}

// Today's text files, one per encoding, each give the book's bytes; the ANSI and ASCII ones exactly
// their own bytes, as before. The star is listed before anything goes in; a binary file is refused.
TEST(ImportAndSize, TextFilesOfEveryEncoding) {
    ASSERT_EQ(::GetACP(), 1252u);
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        dlg.AddChapter("One");
        ModalAnswerer answerer(60000);
        for (const STextSample& sample : TextCorpus()) {
            SCOPED_TRACE(sample.name);
            ::SetWindowTextA(dlg.Editor(), "");
            std::string list;
            std::vector<ModalAnswerer::Expectation> then;
            if (sample.bBinary)
                then.push_back(ModalAnswerer::Press("Error!", IDOK).WithText("This file does not look like text."));
            else if (sample.nLost != 0)
                then.push_back(AnswerTextLoss(IDOK, list));
            ImportFile(dlg, answerer, WriteTempFile(sample.name, sample.bytes), std::move(then));
            EXPECT_TRUE(answerer.AllAnswered());
            EXPECT_EQ(dlg.Text(IDC_EDITOR), sample.ansi);
            if (sample.nLost != 0) {
                EXPECT_EQ(list, "2 characters cannot be stored in a Kelvra book: \xE2\x98\x85 U+2605 (\xC3\x97"
                                "2, line 2) \xE2\x86\x92 removed");
            }
        }
    });
}

// Characters the book cannot hold are listed before anything goes in: Insert takes the text as
// listed, Cancel leaves the chapter as it was. RTF keeps its code page, \'hh and \uN up to that list.
TEST(ImportAndSize, LossesAreListedFirstAndCancelInsertsNothing) {
    const std::string star = "\xE2\x98\x85";
    const std::string listed = "2 characters cannot be stored in a Kelvra book: \xC5\x82 U+0142 (\xC3\x97" "1, line 2) "
                               "\xE2\x86\x92 l\r\n" + star + " U+2605 (\xC3\x97" "1, line 2) \xE2\x86\x92 removed";
    struct Case {
        const char* name;
        std::string bytes;
        int button;
        const char* expected;
    } cases[] = {
        {"lost.txt", "a\n\xC5\x82" + star + "b", IDCANCEL, "[]"},
        {"lost2.txt", "a\n\xC5\x82" + star + "b", IDOK, "[a\r\nlb]"},
        {"lost.rtf", "{\\rtf1\\ansi\\ansicpg1250 a\\par \\'b3\\u9733?b}", IDCANCEL, "[]"},
        {"lost2.rtf", "{\\rtf1\\ansi\\ansicpg1250 a\\par \\'b3\\u9733?b}", IDOK, "[a\r\nlb]"},
    };
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        dlg.AddChapter("One");
        ModalAnswerer answerer(30000);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            ::SetWindowTextA(dlg.Editor(), "[]");
            ::SendMessageA(dlg.Editor(), EM_SETSEL, 1, 1);
            std::string list;
            ImportFile(dlg, answerer, WriteTempFile(c.name, c.bytes), {AnswerTextLoss(c.button, list)});
            EXPECT_TRUE(answerer.AllAnswered());
            EXPECT_EQ(list, listed);
            EXPECT_EQ(dlg.Text(IDC_EDITOR), c.expected);
            EXPECT_EQ(::GetFocus(), dlg.Editor());
        }
    });
}

// Beside the test: a link to the kernel's view of the reading process's memory, which opens
// like any file and fails with an I/O error at its first byte.
std::string UnreadableRtfPath() {
    char szExe[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szExe, MAX_PATH);
    std::string path = szExe;
    return path.substr(0, path.rfind('\\') + 1) + "testdata\\unreadable.rtf";
}

// A file that cannot be opened or read is reported by the framework with the file's name and the
// reason; the chapter stays as it was, the editor does not get the focus, and the program goes on.
// The RTF read fails inside the rich edit control's stream.
TEST(ImportAndSize, UnreadableFilesAreReportedAndChangeNothing) {
    std::string text = WriteTempFile("locked.txt", "secret text");
    std::string rtf = WriteTempFile("locked.rtf", "{\\rtf1\\ansi secret text}");
    std::string unreadable = UnreadableRtfPath();
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        PrepareChapter(dlg, "kept", 0, 2);
        ModalAnswerer answerer(30000);
        struct Case {
            std::string path;
            bool bHeld;  // open elsewhere without sharing
            const char* reason;
        };
        for (const Case& c : {Case{text, true, "could not be opened"}, Case{rtf, true, "could not be opened"},
                              Case{unreadable, false, "could not be read"}}) {
            SCOPED_TRACE(c.path);
            if (::GetFileAttributesA(c.path.c_str()) == INVALID_FILE_ATTRIBUTES) {
                std::printf("note: %s is made on Linux hosts only; its case is left out\n", c.path.c_str());
                continue;
            }
            HANDLE hHold = INVALID_HANDLE_VALUE;
            if (c.bHeld) {
                hHold = ::CreateFileA(c.path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
                ASSERT_NE(hHold, INVALID_HANDLE_VALUE);
            }
            std::string message;
            ::SetFocus(dlg.List());
            ImportFile(dlg, answerer, c.path, {ModalAnswerer::Act(AfxGetAppName(), [&](HWND hBox) {
                           message = ModalAnswerer::ControlText(hBox, ModalAnswerer::kMessageText);
                           ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
                       })});
            if (c.bHeld)
                ::CloseHandle(hHold);
            EXPECT_TRUE(answerer.AllAnswered());
            EXPECT_NE(message.find("\"" + c.path + "\""), std::string::npos) << message;
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
            EXPECT_EQ(dlg.Text(IDC_EDITOR), "kept");
            EXPECT_EQ(::GetFocus(), dlg.List());
            EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, 1), nullptr);
        }
        // The window goes on working.
        ImportFile(dlg, answerer, rtf);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(dlg.Text(IDC_EDITOR), "secret textpt");
    });
}

// The estimate counts the stored texts of the other chapters, the editor, Title and Author: 1023
// bytes are 1 Kb, 1024 are 2 Kb; the chapter on show is never counted twice.
TEST(ImportAndSize, SizeDisplayAt1023And1024Bytes) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        EXPECT_EQ(StatusText(dlg), "Book Size ~ 1 Kb");
        dlg.Type(IDC_AUTHOR, "Author");  // 6
        dlg.Type(IDC_TITLE, "Title");    // 5
        dlg.AddChapter("A");
        ::SendMessageA(dlg.Editor(), EM_REPLACESEL, FALSE, LPARAM(std::string(500, 'a').c_str()));
        dlg.AddChapter("B");  // stores A's 500
        ::SendMessageA(dlg.Editor(), EM_REPLACESEL, FALSE, LPARAM(std::string(511, 'b').c_str()));
        EXPECT_EQ(StatusText(dlg), "Book Size ~ 1 Kb");
        dlg.Type(IDC_EDITOR, "b");  // 1023
        EXPECT_EQ(StatusText(dlg), "Book Size ~ 1 Kb");
        dlg.Type(IDC_EDITOR, "b");  // 1024
        EXPECT_EQ(StatusText(dlg), "Book Size ~ 2 Kb");
        dlg.ChooseChapter(0);
        EXPECT_EQ(StatusText(dlg), "Book Size ~ 2 Kb");
        ::SendMessageA(dlg.Editor(), EM_SETSEL, 0, 1);
        ::SendMessageA(dlg.Editor(), EM_REPLACESEL, FALSE, LPARAM(""));  // back to 1023
        EXPECT_EQ(StatusText(dlg), "Book Size ~ 1 Kb");
    });
}

}  // namespace

namespace {

std::string CountsText(const CTestMainDlg& w) {
    char szText[256] = "";
    ::SendMessageA(w.Item(IDC_STATUS_BAR), SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(szText));
    return szText;
}

// The counts follow typing, chapter changes and deletions; a large chapter is counted as soon as
// the typing pauses.
TEST(ImportAndSize, CountsOfTheChapterAndTheBookBesideTheSize) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        EXPECT_EQ(CountsText(dlg), "Book: 0 words, 0 characters");
        dlg.AddChapter("One");
        dlg.Type(IDC_EDITOR, "one two");
        EXPECT_EQ(CountsText(dlg), "Chapter: 2 words, 7 characters \xB7 Book: 2 words, 7 characters");
        dlg.AddChapter("Two");
        dlg.Type(IDC_EDITOR, "three");
        EXPECT_EQ(CountsText(dlg), "Chapter: 1 word, 5 characters \xB7 Book: 3 words, 12 characters");
        dlg.ChooseChapter(0);
        EXPECT_EQ(CountsText(dlg), "Chapter: 2 words, 7 characters \xB7 Book: 3 words, 12 characters");

        std::string large;
        for (int i = 0; i < 10000; ++i)
            large += "word ab\r\n";
        dlg.Append(IDC_EDITOR, " ");
        ::SendMessageA(dlg.Editor(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(large.c_str()));
        const std::string expected =
            "Chapter: 20,002 words, 70,008 characters \xB7 Book: 20,003 words, 70,013 characters";
        EXPECT_TRUE(ModalAnswerer::PumpUntil([&] { return CountsText(dlg) == expected; }, 5000)) << CountsText(dlg);
        EXPECT_EQ(StatusText(dlg), "Book Size ~ 88 Kb");
    });
}

}  // namespace
