// What the tests of the document commands share: a folder of their own, books written into it and
// read back, the main window run with a chosen command line, and the texts and looks of the
// window's message boxes.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Book.h"
#include "ModalAnswerer.h"
#include "TempDir.h"
#include "TestMainDlg.h"

class DocumentTest : public testing::Test {
protected:
    static constexpr const char* kAppTitle = "Kelvra Quire Binder";

    struct Chapter {
        std::string title;
        std::string text;
    };

    void SetUp() override;
    void TearDown() override;

    // The test's folder, without a trailing backslash, and a file in it.
    std::string Folder() const;
    std::string Path(const std::string& name) const { return m_folder.Path(name); }
    std::vector<std::string> Files() const { return m_folder.Names(); }

    // Writes a book into the folder; returns its full path.
    std::string WriteBook(const std::string& name,
                          const std::string& author,
                          const std::string& title,
                          const std::vector<Chapter>& chapters = {});
    // The book in a file, loaded by a book object of its own; null when it does not load.
    static std::unique_ptr<CBook> LoadBook(const std::string& path);

    // Runs a new main window started with this command line; `body` gets its turn once it shows.
    INT_PTR Run(const std::function<void(CTestMainDlg&)>& body, const std::string& cmdLine = "");

    static std::string CaptionFor(const std::string& docName);
    static std::string SaveQuestion(const std::string& docName);
    static std::string InvalidNameQuestion(const std::string& name);
    // A message box's buttons, default button and icon, as "Yes No Cancel; default Yes; question".
    static std::string DescribeBox(HWND hBox);
    // Press `button` in the message box with this caption and text, noting its looks in `*pLooks`.
    static ModalAnswerer::Expectation Box(const std::string& caption,
                                          const std::string& text,
                                          int button,
                                          std::string* pLooks = nullptr);

    CTempDir m_folder;
    // Where Run's window keeps its copy against a crash (empty: none), with short pauses.
    std::string m_recoveryDir;

private:
    std::string m_oldDirectory;
    std::string m_cmdLine;
    LPSTR m_pOldCmdLine = nullptr;
};
