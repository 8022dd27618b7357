// The application object: names, profile settings in the registry, the application message box,
// and the report of an exception that leaves a handler. Also CFile and run-time class info.
#include <string>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "Framework.h"
#include "ModalAnswerer.h"
#include "PlainDialog.h"
#include "TestApp.h"
#include "TestResource.h"

namespace {

constexpr UINT ID_T_THROW_FILE = 41010;
constexpr UINT WM_T_SHOW_BOX = WM_APP + 3;
constexpr int kMessageBoxIcon = 0x0440;  // the icon of the system's message box template
const char kMissingFile[] = "C:\\no such folder\\missing.txt";

class ThrowingDialog : public PlainDialog {
protected:
    void OnButton() { throw std::runtime_error("boom"); }
    void OnOpenMissing() { CFile file(kMissingFile, CFile::modeRead); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ThrowingDialog, PlainDialog)
    ON_BN_CLICKED(IDC_T_BUTTON, &ThrowingDialog::OnButton)
    ON_COMMAND(ID_T_THROW_FILE, &ThrowingDialog::OnOpenMissing)
END_MESSAGE_MAP()

class MessageBoxDialog : public PlainDialog {
public:
    int m_nAnswer = 0;
    HWND m_hSelf = nullptr;

protected:
    BOOL OnInitDialog() override {
        PlainDialog::OnInitDialog();
        PostMessage(WM_T_SHOW_BOX);
        return TRUE;
    }
    LRESULT OnShowBox(WPARAM, LPARAM) {
        m_hSelf = m_hWnd;
        m_nAnswer = AfxMessageBox("hello", MB_YESNO | MB_ICONQUESTION);
        EndDialog(IDOK);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MessageBoxDialog, PlainDialog)
    ON_MESSAGE(WM_T_SHOW_BOX, &MessageBoxDialog::OnShowBox)
END_MESSAGE_MAP()

std::string TestSectionPath(const char* section) {
    return std::string("Software\\QuireFrameworkTest\\") + AfxGetAppName() + "\\" + section;
}

void DeleteTestKeys() {
    ::RegDeleteKeyA(HKEY_CURRENT_USER, TestSectionPath("Window").c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER,
                    (std::string("Software\\QuireFrameworkTest\\") + AfxGetAppName()).c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuireFrameworkTest");
}

class ProfileTest : public testing::Test {
protected:
    void SetUp() override { DeleteTestKeys(); }
    void TearDown() override {
        theApp.SetRegistryKey(static_cast<const char*>(nullptr));
        DeleteTestKeys();
    }
};

std::string TempFilePath(const char* name) {
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

}  // namespace

TEST(Application, TakesItsNamesFromTheExecutable) {
    EXPECT_STREQ(theApp.m_pszExeName, "framework_tests");
    EXPECT_STREQ(AfxGetAppName(), "framework_tests");  // the resources hold no title string
    EXPECT_EQ(AfxGetApp(), &theApp);
    ASSERT_NE(theApp.m_lpCmdLine, nullptr);
    EXPECT_STREQ(theApp.m_lpCmdLine, "");
}

TEST_F(ProfileTest, IntsLiveUnderSoftwareKeyApplicationSection) {
    EXPECT_EQ(theApp.GetProfileInt("Window", "Maximized", -1), -1);  // no key yet: the default
    EXPECT_FALSE(theApp.WriteProfileInt("Window", "Maximized", 1));

    theApp.SetRegistryKey(UINT(IDS_T_REGISTRY_KEY));
    EXPECT_STREQ(theApp.m_pszRegistryKey, "QuireFrameworkTest");
    EXPECT_EQ(theApp.GetProfileInt("Window", "Maximized", -1), -1);
    EXPECT_TRUE(theApp.WriteProfileInt("Window", "Maximized", 7));
    EXPECT_EQ(theApp.GetProfileInt("Window", "Maximized", -1), 7);

    HKEY hKey = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, TestSectionPath("Window").c_str(), 0, KEY_READ, &hKey),
              ERROR_SUCCESS);
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    EXPECT_EQ(::RegQueryValueExA(hKey, "Maximized", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_DWORD));
    EXPECT_EQ(value, 7u);
    ::RegCloseKey(hKey);
    EXPECT_TRUE(theApp.WriteProfileInt("Window", "Maximized", 0));
    EXPECT_EQ(theApp.GetProfileInt("Window", "Maximized", -1), 0);
}

TEST_F(ProfileTest, AValueOfAnotherTypeReadsAsTheDefault) {
    theApp.SetRegistryKey("QuireFrameworkTest");
    ASSERT_TRUE(theApp.WriteProfileInt("Window", "Maximized", 1));
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, TestSectionPath("Window").c_str(), 0, KEY_WRITE, &hKey),
              ERROR_SUCCESS);
    ::RegSetValueExA(hKey, "Maximized", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    ::RegCloseKey(hKey);
    EXPECT_EQ(theApp.GetProfileInt("Window", "Maximized", -1), -1);
}

TEST(Application, TheMessageBoxIsOwnedByTheMainWindowAndCaptionedWithTheTitle) {
    MessageBoxDialog dlg;
    theApp.m_pMainWnd = &dlg;
    ModalAnswerer answerer;
    answerer.Expect(ModalAnswerer::Press(AfxGetAppName(), IDNO).WithText("hello"));
    EXPECT_EQ(dlg.DoModal(), IDOK);
    theApp.m_pMainWnd = nullptr;
    EXPECT_EQ(dlg.m_nAnswer, IDNO);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].hOwner, dlg.m_hSelf);
}

TEST(Application, AnExceptionLeavingAHandlerIsReportedAndTheProgramGoesOn) {
    ThrowingDialog dlg;
    HICON hBoxIcon = nullptr;
    ModalAnswerer answerer;
    answerer.Expect(ModalAnswerer::Act("Plain", [](HWND h) {
        ::PostMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_T_BUTTON, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(h, IDC_T_BUTTON)));
    }));
    answerer.Expect(ModalAnswerer::Act(AfxGetAppName(), [&](HWND box) {
                        hBoxIcon = reinterpret_cast<HICON>(
                            ::SendDlgItemMessageA(box, kMessageBoxIcon, STM_GETICON, 0, 0));
                        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                    }).WithText("boom"));
    answerer.Expect(
        ModalAnswerer::Act("Plain", [](HWND h) { ::PostMessageA(h, WM_COMMAND, ID_T_THROW_FILE, 0); }));
    answerer.Expect(ModalAnswerer::Press(AfxGetAppName(), IDOK));
    answerer.Expect(ModalAnswerer::Press("Plain", IDCANCEL));  // still alive after both

    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(answerer.AllAnswered());
    EXPECT_EQ(hBoxIcon, ::LoadIconA(nullptr, MAKEINTRESOURCEA(32513)));  // IDI_HAND: the error icon
    ASSERT_EQ(answerer.Seen().size(), 5u);
    const std::string& fileMessage = answerer.Seen()[3].text;
    EXPECT_EQ(fileMessage.rfind(std::string("\"") + kMissingFile + "\" could not be opened.", 0), 0u)
        << fileMessage;
}

TEST(Application, AMissingDialogControlIsReportedByName) {
    class MissingControlDialog : public PlainDialog {
    public:
        CEdit m_ghost;
        void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, 4242, m_ghost); }
    } dlg;
    ModalAnswerer answerer;
    answerer.Expect(
        ModalAnswerer::Press(AfxGetAppName(), IDOK).WithText("The dialog has no control 4242 to attach."));
    answerer.Expect(ModalAnswerer::Press("Plain", IDCANCEL));
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST(ModalAnswererTest, AnUnexpectedWindowFailsTheTestAndIsCancelled) {
    EXPECT_NONFATAL_FAILURE(
        {
            ModalAnswerer answerer;
            EXPECT_EQ(AfxMessageBox("Nobody expects this", MB_OKCANCEL), IDCANCEL);
        },
        "Nobody expects this");
}

TEST(File, ReadsAFileAndNamesTheFileWhenItFails) {
    std::string path = TempFilePath("framework_cfile.bin");
    HANDLE hFile = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(hFile, "abc\0def", 7, &written, nullptr);
    ::CloseHandle(hFile);

    {
        CFile file(path.c_str(), CFile::modeRead | CFile::typeBinary);
        EXPECT_EQ(file.GetLength(), 7u);
        char buffer[16] = {};
        EXPECT_EQ(file.Read(buffer, 5), 5u);
        EXPECT_EQ(std::string(buffer, 5), std::string("abc\0d", 5));
        EXPECT_EQ(file.Read(buffer, 16), 2u);
        EXPECT_EQ(file.Read(buffer, 16), 0u);
        file.Close();
        EXPECT_THROW(file.Read(buffer, 1), CFileException);
    }
    ::DeleteFileA(path.c_str());

    CFile closed;
    EXPECT_FALSE(closed.Open(kMissingFile, CFile::modeRead));
    try {
        CFile missing(kMissingFile, CFile::modeRead);
        FAIL() << "opened a missing file";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_strFileName, kMissingFile);
        EXPECT_NE(std::string(e.what()).find(kMissingFile), std::string::npos);
        EXPECT_NE(e.m_lOsError, 0u);
    }
}

