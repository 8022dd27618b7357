#include "DocumentTest.h"

#include <utility>

#include "WindowRunner.h"

namespace {

// The icon static of the system's message box.
constexpr int kMessageIcon = 0x0440;

const char* ButtonName(int nID) {
    switch (nID) {
        case IDOK:
            return "OK";
        case IDYES:
            return "Yes";
        case IDNO:
            return "No";
        case IDCANCEL:
            return "Cancel";
        default:
            return "?";
    }
}

}  // namespace

void DocumentTest::SetUp() {
    char szDir[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, szDir);
    m_oldDirectory = szDir;
    m_pOldCmdLine = AfxGetApp()->m_lpCmdLine;
}

void DocumentTest::TearDown() {
    // Save As makes the book's folder the current one; the folder cannot go while it is.
    ::SetCurrentDirectoryA(m_oldDirectory.c_str());
    AfxGetApp()->m_lpCmdLine = m_pOldCmdLine;
}

std::string DocumentTest::Folder() const {
    std::string folder = m_folder.Path("");
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

std::string DocumentTest::WriteBook(const std::string& name,
                                    const std::string& author,
                                    const std::string& title,
                                    const std::vector<Chapter>& chapters) {
    auto book = std::make_unique<CBook>();  // too big for the stack
    book->SetAuthor(author);
    book->SetTitle(title);
    for (size_t i = 0; i < chapters.size(); ++i) {
        book->SetChapterTitle(uint32_t(i), chapters[i].title);
        book->SetChapterText(uint32_t(i), chapters[i].text);
    }
    std::string path = Path(name);
    EXPECT_TRUE(book->SaveToFile(path.c_str())) << path;
    return path;
}

std::unique_ptr<CBook> DocumentTest::LoadBook(const std::string& path) {
    auto book = std::make_unique<CBook>();
    if (!book->LoadFromFile(path.c_str()))
        return nullptr;
    return book;
}

INT_PTR DocumentTest::Run(const std::function<void(CTestMainDlg&)>& body, const std::string& cmdLine) {
    m_cmdLine = cmdLine;
    AfxGetApp()->m_lpCmdLine = &m_cmdLine[0];
    CTestMainDlg dlg;
    dlg.m_strRecoveryDir = m_recoveryDir;
    dlg.m_nAutosavePauseMs = 300;
    dlg.m_nAutosaveIntervalMs = 1000;
    return WindowRunner::Run(dlg, [&](CTestMainDlg&) { body(dlg); });
}

std::string DocumentTest::CaptionFor(const std::string& docName) {
    return docName + " - " + kAppTitle;
}

std::string DocumentTest::SaveQuestion(const std::string& docName) {
    return "Do you want to save the changes you made to \"" + docName + "\" ?";
}

std::string DocumentTest::InvalidNameQuestion(const std::string& name) {
    return "Invalid Kelvra file name\n\n\"" + name + "\"\n\n Use this name anyway?";
}

std::string DocumentTest::DescribeBox(HWND hBox) {
    std::string looks;
    for (int nID : {IDYES, IDNO, IDOK, IDCANCEL}) {
        if (::GetDlgItem(hBox, nID) != nullptr)
            looks += std::string(looks.empty() ? "" : " ") + ButtonName(nID);
    }
    for (int nID : {IDYES, IDNO, IDOK, IDCANCEL}) {
        HWND hButton = ::GetDlgItem(hBox, nID);
        if (hButton != nullptr && (::GetWindowLongA(hButton, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            looks += std::string("; default ") + ButtonName(nID);
    }
    auto hIcon = reinterpret_cast<HICON>(::SendDlgItemMessageA(hBox, kMessageIcon, STM_GETICON, 0, 0));
    if (hIcon != nullptr && hIcon == ::LoadIconA(nullptr, IDI_QUESTION))
        looks += "; question";
    else if (hIcon != nullptr && hIcon == ::LoadIconA(nullptr, IDI_HAND))
        looks += "; error";
    else if (hIcon != nullptr && hIcon == ::LoadIconA(nullptr, IDI_EXCLAMATION))
        looks += "; exclamation";
    return looks;
}

ModalAnswerer::Expectation DocumentTest::Box(const std::string& caption,
                                             const std::string& text,
                                             int button,
                                             std::string* pLooks) {
    ModalAnswerer::Expectation expectation = ModalAnswerer::Press(caption, button).WithText(text);
    if (pLooks != nullptr)
        expectation.action = [pLooks](HWND hBox) { *pLooks = DescribeBox(hBox); };
    return expectation;
}
