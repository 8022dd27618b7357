// A book typed into the real main window, saved, and opened again from the command line comes back
// whole, and its file is the very file the quire tool packs from the same content.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DocumentTest.h"
#include "TestFiles.h"

namespace {

std::string ProgramDirectory() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.rfind('\\'));
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Runs quire.exe from beside this program; its exit code, or -1 when it did not run or end in time.
long RunQuire(const std::string& arguments) {
    std::string exe = ProgramDirectory() + "\\quire.exe";
    std::string commandLine = Quoted(exe) + " " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi))
        return -1;
    DWORD code = DWORD(-1);
    if (::WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(pi.hProcess, &code);
    else
        ::TerminateProcess(pi.hProcess, 99);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return long(code);
}

TEST_F(DocumentTest, TypedBookComesBackWholeAndMatchesTheQuireTool) {
    const std::string author = "Mary Shelley";
    const std::string title = "Frankenstein";
    // Texts that end in white space would lose it on Save (the one on show) but not in quire.
    const std::vector<Chapter> chapters = {
        {"Letter 1",
         "St. Petersburgh, Dec. 11th, 17--\r\n\r\nTO Mrs. Saville, England.\r\n\r\nYou will rejoice."},
        {"Letter 2",
         "Archangel, 28th March, 17--\r\n\r\nHow slowly the time passes here,\r\nencompassed as I am."},
        {"Chapter 1",
         "I am by birth a Genevese,\r\nand my family is one of the most distinguished of that republic."},
    };
    const std::string saved = Path("Frankenstein.book");

    INT_PTR nResult = Run([&](CTestMainDlg& w) {
        w.Type(IDC_AUTHOR, author);
        w.Type(IDC_TITLE, title);
        for (const Chapter& chapter : chapters) {
            w.AddChapter(chapter.title);
            w.Retype(IDC_EDITOR, chapter.text);
        }
        ModalAnswerer answerer;
        answerer.Expect(ModalAnswerer::FileName("Save As", saved));
        w.Click(IDC_SAVE_BOOK);
        EXPECT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(w.Caption(), CaptionFor("Frankenstein.book"));
        EXPECT_FALSE(w.IsModified());
        ::PostMessageA(w.m_hWnd, WM_CLOSE, 0, 0);  // saved: no question
    });
    EXPECT_EQ(nResult, IDCANCEL);

    ASSERT_TRUE(::CreateDirectoryA(Path("texts").c_str(), nullptr));
    std::string arguments =
        "pack -o " + Quoted(Path("quire.book")) + " -a " + Quoted(author) + " -t " + Quoted(title);
    for (const Chapter& chapter : chapters) {
        std::string file = Path("texts") + "\\" + chapter.title + ".txt";
        WriteBytes(file, chapter.text);
        arguments += " " + Quoted(file);
    }
    ASSERT_EQ(RunQuire(arguments), 0) << arguments;
    EXPECT_EQ(ReadBytes(saved), ReadBytes(Path("quire.book")));

    Run(
        [&](CTestMainDlg& w) {
            EXPECT_EQ(w.Caption(), CaptionFor("Frankenstein.book"));
            EXPECT_EQ(w.Text(IDC_AUTHOR), author);
            EXPECT_EQ(w.Text(IDC_TITLE), title);
            std::vector<std::string> titles;
            for (const Chapter& chapter : chapters)
                titles.push_back(chapter.title);
            EXPECT_EQ(w.ListTitles(), titles);
            for (int i = 0; i < int(chapters.size()); ++i) {
                SCOPED_TRACE("chapter " + std::to_string(i));
                if (i > 0)
                    w.ChooseChapter(i);
                EXPECT_EQ(w.Selected(), i);
                EXPECT_EQ(w.Text(IDC_EDITOR), chapters[size_t(i)].text);
                EXPECT_EQ(w.Text(IDC_CHAPTER_LABEL), chapters[size_t(i)].title);
            }
            EXPECT_FALSE(w.IsModified());
        },
        Quoted(saved));
}

}  // namespace
