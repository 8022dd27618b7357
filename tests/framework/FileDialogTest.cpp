// The file dialogs: the filter, the names while the dialog is open, and OnFileNameOK keeping the
// dialog open.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Framework.h"
#include "ModalAnswerer.h"

namespace {

// Rejects the first name it is given.
class CheckingFileDialog : public CFileDialog {
public:
    using CFileDialog::CFileDialog;

    std::vector<std::string> m_names;
    std::vector<std::string> m_exts;
    std::vector<std::string> m_paths;

protected:
    BOOL OnFileNameOK() override {
        m_names.push_back(GetFileName());
        m_exts.push_back(GetFileExt());
        m_paths.push_back(GetPathName());
        return m_names.size() == 1;
    }
};

std::string TempDirectory() {
    char dir[MAX_PATH];
    DWORD n = ::GetTempPathA(MAX_PATH, dir);
    std::string path(dir, n);
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

std::string FilterBytes(const CFileDialog& dlg) {
    const char* p = dlg.m_ofn.lpstrFilter;
    std::string bytes;
    while (*p != '\0') {
        bytes.append(p).push_back('|');
        p += std::strlen(p) + 1;
    }
    return bytes;
}

}  // namespace

TEST(FileDialog, TheFilterBecomesTerminatedStringsAndTheHookIsOn) {
    CFileDialog full(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST, "Books (*.book)|*.book|Text|*.txt||");
    EXPECT_EQ(FilterBytes(full), "Books (*.book)|*.book|Text|*.txt|");
    CFileDialog unterminated(TRUE, nullptr, nullptr, 0, "Books|*.book");
    EXPECT_EQ(FilterBytes(unterminated), "Books|*.book|");
    EXPECT_EQ(full.m_ofn.Flags & (OFN_EXPLORER | OFN_ENABLEHOOK | OFN_FILEMUSTEXIST),
              DWORD(OFN_EXPLORER | OFN_ENABLEHOOK | OFN_FILEMUSTEXIST));
}

TEST(FileDialog, OnFileNameOKSeesTheNameBoxAndCanKeepTheDialogOpen) {
    std::string dir = TempDirectory();
    CheckingFileDialog dlg(FALSE, "book", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                           "Books (*.book)|*.book|");
    dlg.m_ofn.lpstrInitialDir = dir.c_str();
    ModalAnswerer answerer;
    answerer.Expect(ModalAnswerer::FileName("Save As", "first.txt"));
    answerer.Expect(ModalAnswerer::FileName("Save As", "second"));

    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(answerer.AllAnswered());
    EXPECT_EQ(dlg.m_names, (std::vector<std::string>{"first.txt", "second"}));
    EXPECT_EQ(dlg.m_exts, (std::vector<std::string>{"txt", ""}));
    ASSERT_EQ(dlg.m_paths.size(), 2u);
    EXPECT_EQ(dlg.m_paths[0], dir + "\\first.txt");
    EXPECT_EQ(dlg.GetPathName(), dir + "\\second.book");
    EXPECT_EQ(dlg.GetFileName(), "second.book");
    EXPECT_EQ(dlg.GetFileExt(), "book");
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(FileDialog, CancelReturnsIDCANCEL) {
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST, "All|*.*|");
    ModalAnswerer answerer;
    answerer.Expect(ModalAnswerer::Press("Open", IDCANCEL));
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(answerer.AllAnswered());
}
