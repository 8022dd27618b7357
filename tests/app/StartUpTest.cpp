// Start-up: the ".book" association in the registry, the program directory, and the book named
// on the command line.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "Book.h"
#include "ModalAnswerer.h"
#include "QuireBinderApp.h"
#include "TestMainDlg.h"
#include "WindowRunner.h"

namespace {

constexpr const char* kType = "Folioview`s Book";

void DeleteTree(HKEY hRoot, const std::string& key) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(hRoot, key.c_str(), 0, KEY_READ | KEY_WRITE, &hKey) != ERROR_SUCCESS)
        return;
    char name[256];
    DWORD nName = sizeof(name);
    while (::RegEnumKeyExA(hKey, 0, name, &nName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        DeleteTree(hKey, name);
        nName = sizeof(name);
    }
    ::RegCloseKey(hKey);
    ::RegDeleteKeyA(hRoot, key.c_str());
}

// The key's unnamed value; "<absent>" without a key or value.
std::string DefaultValue(const std::string& key) {
    char value[512] = {};
    LONG nValue = sizeof(value);
    if (::RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), value, &nValue) != ERROR_SUCCESS)
        return "<absent>";
    return value;
}

void SetDefaultValue(const std::string& key, const char* value) {
    ASSERT_EQ(::RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value, DWORD(strlen(value))),
              ERROR_SUCCESS);
}

TEST(FileType, FreshRegistryGetsBothKeys) {
    DeleteTree(HKEY_CLASSES_ROOT, ".book");
    DeleteTree(HKEY_CLASSES_ROOT, kType);
    CQuireBinderApp::RegisterBookFileType("C:\\Program Files\\Kelvra\\QuireBinder.exe");
    EXPECT_EQ(DefaultValue(".book"), kType);
    EXPECT_EQ(DefaultValue(std::string(kType) + "\\shell\\open\\command"),
              "\"C:\\Program Files\\Kelvra\\QuireBinder.exe\" \"%1\"");
    EXPECT_EQ(DefaultValue(kType), "");  // the type itself has no description
}

TEST(FileType, TakenExtensionStaysButTheCommandIsRewritten) {
    SetDefaultValue(".book", "Other.Document");
    SetDefaultValue(std::string(kType) + "\\shell\\open\\command", "old");
    CQuireBinderApp::RegisterBookFileType("D:\\Moved\\QuireBinder.exe");
    EXPECT_EQ(DefaultValue(".book"), "Other.Document");
    EXPECT_EQ(DefaultValue(std::string(kType) + "\\shell\\open\\command"),
              "\"D:\\Moved\\QuireBinder.exe\" \"%1\"");
    DeleteTree(HKEY_CLASSES_ROOT, ".book");
    DeleteTree(HKEY_CLASSES_ROOT, kType);
}

TEST(FileType, ProgramDirectory) {
    EXPECT_EQ(CQuireBinderApp::ProgramDirectory("C:\\Kelvra\\Binder\\QuireBinder.exe", 33),
              "C:\\Kelvra\\Binder");
    EXPECT_EQ(CQuireBinderApp::ProgramDirectory("QuireBinder.exe", 15), "QuireBinder.exe");
    EXPECT_EQ(CQuireBinderApp::ProgramDirectory("C:\\QuireBinder.exe", 0), "");
}

class CommandLine : public testing::Test {
protected:
    void SetUp() override {
        char szTemp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, szTemp);
        m_dir = std::string(szTemp) + "quire_cmdline";
        ::CreateDirectoryA(m_dir.c_str(), nullptr);
        m_pOldCmdLine = AfxGetApp()->m_lpCmdLine;
    }
    void TearDown() override {
        AfxGetApp()->m_lpCmdLine = m_pOldCmdLine;
        for (const std::string& file : m_files)
            ::DeleteFileA(file.c_str());
        ::RemoveDirectoryA(m_dir.c_str());
    }

    std::string WriteBook(const std::string& name) {
        CBook book;
        book.SetAuthor("Mary Shelley");
        book.SetTitle("Frankenstein");
        book.SetChapterTitle(0, "Letter 1");
        book.SetChapterText(0, "To Mrs. Saville, England.");
        book.SetChapterTitle(1, "Letter 2");
        std::string path = m_dir + "\\" + name;
        EXPECT_TRUE(book.SaveToFile(path.c_str()));
        m_files.push_back(path);
        return path;
    }

    // Starts a window with this command line; returns its caption, after `check` looked at it.
    std::string StartWith(std::string cmdLine, const std::function<void(CTestMainDlg&)>& check = nullptr) {
        m_cmdLine = std::move(cmdLine);
        AfxGetApp()->m_lpCmdLine = &m_cmdLine[0];
        CTestMainDlg dlg;
        std::string caption;
        WindowRunner::Run(dlg, [&](CTestMainDlg& w) {
            caption = WindowRunner::WindowText(w.m_hWnd);
            if (check)
                check(w);
        });
        return caption;
    }

    std::string m_dir;
    std::vector<std::string> m_files;
    std::string m_cmdLine;
    LPSTR m_pOldCmdLine = nullptr;
};

TEST_F(CommandLine, QuotedBookIsOpened) {
    std::string path = WriteBook("Novel.BOOK");
    std::string caption = StartWith("\"" + path + "\"", [](CTestMainDlg& w) {
        EXPECT_EQ(WindowRunner::WindowText(::GetDlgItem(w.m_hWnd, IDC_AUTHOR)), "Mary Shelley");
        EXPECT_EQ(WindowRunner::WindowText(::GetDlgItem(w.m_hWnd, IDC_TITLE)), "Frankenstein");
        EXPECT_EQ(w.ListTitles().size(), 2u);
        EXPECT_EQ(w.Selected(), 0);
        EXPECT_EQ(WindowRunner::WindowText(::GetDlgItem(w.m_hWnd, IDC_EDITOR)), "To Mrs. Saville, England.");
        EXPECT_EQ(WindowRunner::WindowText(::GetDlgItem(w.m_hWnd, IDC_CHAPTER_LABEL)), "Letter 1");
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(w.m_hWnd, IDC_EDITOR)));
        EXPECT_FALSE(w.IsModified());
    });
    EXPECT_EQ(caption, "Novel.BOOK - Kelvra Quire Binder");
}

TEST_F(CommandLine, OtherFilesAreIgnored) {
    std::string path = WriteBook("readme.txt");
    EXPECT_EQ(StartWith(path), "new.book - Kelvra Quire Binder");
    EXPECT_EQ(StartWith("ook"), "new.book - Kelvra Quire Binder");
    EXPECT_EQ(StartWith(std::string(300, 'a') + "book"), "new.book - Kelvra Quire Binder");
}

TEST_F(CommandLine, UnreadableBookIsReported) {
    ModalAnswerer answerer;
    answerer.Expect(ModalAnswerer::Press("Error!", IDOK).WithText("Invalid file format"));
    EXPECT_EQ(StartWith(m_dir + "\\missing.book"), "new.book - Kelvra Quire Binder");
    EXPECT_TRUE(answerer.AllAnswered());
}

}  // namespace
