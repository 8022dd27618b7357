// kvcomm.dll as the program meets it: bound at load time through the import library.
#include "ModalAnswerer.h"
#include "TempDir.h"
#include "TestFiles.h"

#include "KvCommResource.h"
#include "kvcomm.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

// The address the loader bound for the program's import of the function.
extern "C" FARPROC kvcommImport asm("__imp__KelvraUploadWizardA@12");

namespace {

const char* const kSettingsKey = "Software\\Kelvra\\Upload Wizard";

std::string RememberedFolder() {
    char data[MAX_PATH + 1] = "";
    DWORD size = MAX_PATH;
    DWORD type = 0;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return "(none)";
    LONG result = RegQueryValueExA(key, "Destination", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_SZ ? std::string(data) : "(unreadable)";
}

// Counts the windows this thread creates while it lives.
class CreatedWindows {
public:
    CreatedWindows() { s_count = 0, m_hook = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId()); }
    ~CreatedWindows() { UnhookWindowsHookEx(m_hook); }
    int Count() const { return s_count; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND)
            ++s_count;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static int s_count;
    HHOOK m_hook;
};
int CreatedWindows::s_count = 0;

TEST(KvCommExport, ExportsExactlyTheUndecoratedName) {
    HMODULE module = GetModuleHandleA("kvcomm.dll");
    ASSERT_NE(module, nullptr);
    auto base = reinterpret_cast<const BYTE*>(module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    ASSERT_NE(entry.VirtualAddress, 0u);
    auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    EXPECT_EQ(exports->NumberOfFunctions, 1u);
    ASSERT_EQ(exports->NumberOfNames, 1u);
    auto names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    EXPECT_STREQ(reinterpret_cast<const char*>(base + names[0]), "KelvraUploadWizardA");

    FARPROC byName = GetProcAddress(module, "KelvraUploadWizardA");
    EXPECT_NE(byName, nullptr);
    EXPECT_EQ(byName, kvcommImport);
    EXPECT_EQ(GetProcAddress(module, "KelvraUploadWizardA@12"), nullptr);
    EXPECT_EQ(GetProcAddress(module, "_KelvraUploadWizardA@12"), nullptr);
}

class KvCommWizard : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
        m_owner = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(m_owner, nullptr);
        m_strBook = m_temp.Path("My.book");
        m_strBytes = PatternBytes(3 * 65536 + 4711);
        WriteBytes(m_strBook, m_strBytes);
        m_strDevice = m_temp.Path("device");
        MakeFolder(m_strDevice);
    }
    void TearDown() override {
        DestroyWindow(m_owner);
        RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    }

    // Calls the wizard as the program does; fails the test if a window had to be cancelled.
    int Send(const std::string& path,
             const std::string& name,
             const std::function<void(ModalAnswerer::Script&)>& script) {
        UploadFileInfo record = {};
        record.size = sizeof(record);
        record.path = path.c_str();
        record.name = name.c_str();
        bool leftOpen = false;
        int result =
            ModalAnswerer::RunScript([&] { return KelvraUploadWizardA(&record, 1, m_owner); }, script, &leftOpen);
        EXPECT_FALSE(leftOpen) << "a window was left open";
        return result;
    }

    static HWND WaitForWizard(ModalAnswerer::Script& script) {
        HWND wizard = script.WaitForDialog(IDC_KV_FOLDER);
        EXPECT_NE(wizard, nullptr) << "no wizard";
        return wizard;
    }

    // Sends to `folder` and presses Finish once the book is there.
    static void SendAndFinish(ModalAnswerer::Script& script, const std::string& folder) {
        HWND wizard = WaitForWizard(script);
        if (!wizard)
            return;
        ModalAnswerer::SetControlText(wizard, IDC_KV_FOLDER, folder);
        ModalAnswerer::Click(wizard, IDOK);
        ASSERT_TRUE(
            ModalAnswerer::WaitUntil([&] { return ModalAnswerer::ControlText(wizard, IDOK) == "Finish"; }));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(wizard, IDCANCEL)));
        EXPECT_EQ(SendMessageA(GetDlgItem(wizard, IDC_KV_PROGRESS), PBM_GETPOS, 0, 0),
                  SendMessageA(GetDlgItem(wizard, IDC_KV_PROGRESS), PBM_GETRANGE, FALSE, 0));
        ModalAnswerer::Click(wizard, IDOK);
    }

    // Expects one message box owned by `owner` whose text holds `expected`, and presses OK.
    static void ExpectMessage(ModalAnswerer::Script& script, HWND owner, const std::string& expected) {
        HWND box = script.WaitForMessageBox(IDC_KV_FOLDER);
        ASSERT_NE(box, nullptr) << "no message box";
        std::string text = ModalAnswerer::ControlText(box, 0xFFFF);
        EXPECT_NE(text.find(expected), std::string::npos) << text;
        EXPECT_EQ(ModalAnswerer::Caption(box), "Kelvra Upload Wizard");
        EXPECT_EQ(GetWindow(box, GW_OWNER), owner);
        ModalAnswerer::Click(box, IDOK);
        EXPECT_TRUE(ModalAnswerer::WaitUntil([&] { return !IsWindow(box); }));
    }

    CTempDir m_temp;
    HWND m_owner = nullptr;
    std::string m_strBook;
    std::string m_strBytes;
    std::string m_strDevice;
};

TEST_F(KvCommWizard, BadRecordsReturnZeroWithoutAWindow) {
    UploadFileInfo good = {};
    good.size = sizeof(good);
    good.path = m_strBook.c_str();
    good.name = "My.book";
    struct Case {
        const char* what;
        UploadFileInfo record;
        int count;
    };
    std::vector<Case> cases = {{"count 0", good, 0}, {"count 2", good, 2}, {"count -1", good, -1}};
    for (DWORD size : {0u, 16u, 19u, 21u, 24u}) {
        cases.push_back({"wrong size", good, 1});
        cases.back().record.size = size;
    }
    cases.push_back({"null path", good, 1});
    cases.back().record.path = nullptr;
    cases.push_back({"null name", good, 1});
    cases.back().record.name = nullptr;
    cases.push_back({"empty path", good, 1});
    cases.back().record.path = "";
    cases.push_back({"empty name", good, 1});
    cases.back().record.name = "";

    for (Case& c : cases) {
        CreatedWindows windows;
        bool leftOpen = false;
        int result = ModalAnswerer::RunScript([&] { return KelvraUploadWizardA(&c.record, c.count, m_owner); },
                                       [](ModalAnswerer::Script&) {}, &leftOpen);
        EXPECT_EQ(result, 0) << c.what;
        EXPECT_EQ(windows.Count(), 0) << c.what;
        EXPECT_FALSE(leftOpen) << c.what;
    }
    CreatedWindows windows;
    EXPECT_EQ(KelvraUploadWizardA(nullptr, 1, m_owner), 0);
    EXPECT_EQ(windows.Count(), 0);
}

TEST_F(KvCommWizard, CopiesTheBookByteForByteAndRemembersTheFolder) {
    int result = Send(m_strBook, "My.book", [&](ModalAnswerer::Script& script) {
        HWND wizard = WaitForWizard(script);
        if (!wizard)
            return;
        EXPECT_EQ(GetWindow(wizard, GW_OWNER), m_owner);
        EXPECT_FALSE(IsWindowEnabled(m_owner));
        EXPECT_EQ(ModalAnswerer::ControlText(wizard, IDC_KV_BOOKNAME), "My.book");
        EXPECT_EQ(ModalAnswerer::ControlText(wizard, IDC_KV_BOOKSIZE), "197 KB (201319 bytes)");
        SendAndFinish(script, m_strDevice);
    });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(IsWindowEnabled(m_owner));
    EXPECT_EQ(FolderNames(m_strDevice), std::vector<std::string>{"My.book"});
    EXPECT_TRUE(ReadBytes(m_strDevice + "\\My.book") == m_strBytes);
    EXPECT_EQ(RememberedFolder(), m_strDevice);

    // The next wizard starts in the remembered folder.
    result = Send(m_strBook, "My.book", [&](ModalAnswerer::Script& script) {
        HWND wizard = WaitForWizard(script);
        EXPECT_EQ(ModalAnswerer::ControlText(wizard, IDC_KV_FOLDER), m_strDevice);
        ModalAnswerer::Click(wizard, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
}

TEST_F(KvCommWizard, ReadsTheRecordOnlyBeforeTheWizardOpens) {
    char path[MAX_PATH];
    char name[32] = "My.book";
    lstrcpynA(path, m_strBook.c_str(), MAX_PATH);
    UploadFileInfo record = {sizeof(record), path, name, 0, 0};
    bool leftOpen = false;
    int result = ModalAnswerer::RunScript([&] { return KelvraUploadWizardA(&record, 1, m_owner); },
                                   [&](ModalAnswerer::Script& script) {
                                       ASSERT_NE(script.WaitForDialog(IDC_KV_FOLDER), nullptr);
                                       memset(path, 'x', sizeof(path) - 1);
                                       memset(name, 'y', sizeof(name) - 1);
                                       record = UploadFileInfo();
                                       SendAndFinish(script, m_strDevice);
                                   },
                                   &leftOpen);
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(ReadBytes(m_strDevice + "\\My.book") == m_strBytes);
}

TEST_F(KvCommWizard, BrowseStartsAtTheFolderAndTakesTheChosenOne) {
    std::string other = m_temp.Path("other");
    MakeFolder(other);
    int result = Send(m_strBook, "My.book", [&](ModalAnswerer::Script& script) {
        HWND wizard = WaitForWizard(script);
        ModalAnswerer::SetControlText(wizard, IDC_KV_FOLDER, m_strDevice);
        // The name of the folder the browser's tree shows selected.
        auto selected = [](HWND browser) {
            HWND tree = FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr);
            char text[MAX_PATH] = "";
            TVITEMA item = {};
            item.mask = TVIF_TEXT;
            item.hItem = TreeView_GetSelection(tree);
            item.pszText = text;
            item.cchTextMax = MAX_PATH;
            return item.hItem && TreeView_GetItem(tree, &item) ? std::string(text) : std::string();
        };
        // Pick `choice` (or keep the preselection) and close the browser with `button`, once its
        // tree shows the folder: the browser may still be selecting it when it first shows.
        auto browse = [&](const std::string& choice, int button) {
            ModalAnswerer::Click(wizard, IDC_KV_BROWSE);
            HWND browser = script.WaitFor([&](HWND dialog) { return GetWindow(dialog, GW_OWNER) == wizard; });
            ASSERT_NE(browser, nullptr) << "no folder browser";
            EXPECT_TRUE(ModalAnswerer::WaitUntil([&] { return selected(browser) == "device"; }));
            if (!choice.empty()) {
                SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(choice.c_str()));
                EXPECT_TRUE(ModalAnswerer::WaitUntil([&] { return selected(browser) == "other"; }));
            }
            ModalAnswerer::Click(browser, button);
            ASSERT_TRUE(ModalAnswerer::WaitUntil([&] { return !IsWindow(browser); }));
            // Answered only once the wizard's thread is back in its message loop.
            SendMessageTimeoutA(wizard, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
        };
        browse("", IDOK);
        EXPECT_EQ(ModalAnswerer::ControlText(wizard, IDC_KV_FOLDER), m_strDevice);
        browse(other, IDCANCEL);
        EXPECT_EQ(ModalAnswerer::ControlText(wizard, IDC_KV_FOLDER), m_strDevice);
        browse(other, IDOK);
        EXPECT_EQ(ModalAnswerer::ControlText(wizard, IDC_KV_FOLDER), other);
        ModalAnswerer::Click(wizard, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
}

TEST_F(KvCommWizard, ReplacesAnOlderCopyButNotAReadOnlyOne) {
    std::string target = m_strDevice + "\\My.book";
    WriteBytes(target, "old version");
    EXPECT_EQ(Send(m_strBook, "My.book", [&](ModalAnswerer::Script& script) { SendAndFinish(script, m_strDevice); }),
              1);
    EXPECT_TRUE(ReadBytes(target) == m_strBytes);

    WriteBytes(target, "kept");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    int result = Send(m_strBook, "My.book", [&](ModalAnswerer::Script& script) {
        HWND wizard = WaitForWizard(script);
        ModalAnswerer::SetControlText(wizard, IDC_KV_FOLDER, m_strDevice);
        ModalAnswerer::Click(wizard, IDOK);
        ExpectMessage(script, wizard, "read-only \"My.book\"");
        ModalAnswerer::Click(wizard, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadBytes(target), "kept");
    EXPECT_EQ(FolderNames(m_strDevice), std::vector<std::string>{"My.book"});
}

TEST_F(KvCommWizard, MissingFolderIsRefusedAndTheWizardStaysOpen) {
    std::string missing = m_temp.Path("unplugged");
    int result = Send(m_strBook, "My.book", [&](ModalAnswerer::Script& script) {
        HWND wizard = WaitForWizard(script);
        ModalAnswerer::SetControlText(wizard, IDC_KV_FOLDER, missing);
        ModalAnswerer::Click(wizard, IDOK);
        ExpectMessage(script, wizard, "\"" + missing + "\"\n\ndoes not exist");
        EXPECT_TRUE(IsWindowVisible(wizard));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(wizard, IDOK)));

        ModalAnswerer::SetControlText(wizard, IDC_KV_FOLDER, "   ");
        ModalAnswerer::Click(wizard, IDOK);
        ExpectMessage(script, wizard, "Choose the folder");
        ModalAnswerer::Click(wizard, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(PathExists(missing));
    EXPECT_EQ(RememberedFolder(), "(none)");
}

// A name the handheld refuses gets a proposal it accepts, clear of the files on the device, in a
// box the user can change; a name typed there meets the same rule. The book on the computer keeps
// its name, Cancel sends nothing, and the wizard opens centred on its owner.
TEST_F(KvCommWizard, ProposesANameTheDeviceAcceptsAndChecksTheOneTyped) {
    SetWindowPos(m_owner, nullptr, 300, 200, 700, 600, SWP_NOZORDER | SWP_SHOWWINDOW);
    WriteBytes(m_strDevice + "\\My_Book.book", "earlier");
    struct Row {
        std::string name;
        std::string proposed;
        bool send;
    };
    for (const Row& row :
         {Row{"My Book.book", "My_Book(2).book", true}, Row{"-notes.book.", "notes.book", false},
          Row{"..\\escape.book", "escape.book", true},
          Row{std::string(40, 'a') + ".txt", std::string(26, 'a') + ".book", true}}) {
        int result = Send(m_strBook, row.name, [&](ModalAnswerer::Script& script) {
            HWND wizard = WaitForWizard(script);
            ModalAnswerer::SetControlText(wizard, IDC_KV_FOLDER, m_strDevice);
            EXPECT_EQ(ModalAnswerer::ControlText(wizard, IDC_KV_BOOKNAME), row.proposed) << row.name;
            RECT owner, self;
            GetWindowRect(m_owner, &owner);
            GetWindowRect(wizard, &self);
            EXPECT_NEAR(self.left + self.right, owner.left + owner.right, 2) << row.name;
            EXPECT_NEAR(self.top + self.bottom, owner.top + owner.bottom, 2) << row.name;
            ModalAnswerer::SetControlText(wizard, IDC_KV_BOOKNAME, "bad name");
            ModalAnswerer::Click(wizard, IDOK);
            ExpectMessage(script, wizard, "does not accept the file name\n\n\"bad name\"");
            ModalAnswerer::SetControlText(wizard, IDC_KV_BOOKNAME, row.proposed);
            if (row.send)
                SendAndFinish(script, m_strDevice);
            else
                ModalAnswerer::Click(wizard, IDCANCEL);
        });
        EXPECT_EQ(result, row.send ? 1 : 0) << row.name;
        EXPECT_EQ(PathExists(m_strDevice + "\\" + row.proposed), row.send) << row.name;
    }
    EXPECT_EQ(ReadBytes(m_strDevice + "\\My_Book.book"), "earlier");
    EXPECT_TRUE(ReadBytes(m_strBook) == m_strBytes);
    EXPECT_FALSE(PathExists(m_temp.Path("escape.book")));
}

TEST_F(KvCommWizard, MissingBookIsReportedBeforeTheWizard) {
    std::string gone = m_temp.Path("gone.book");
    int result = Send(gone, "gone.book", [&](ModalAnswerer::Script& script) {
        ExpectMessage(script, m_owner, "\"" + gone + "\"\n\ncannot be read");
    });
    EXPECT_EQ(result, 0);
}

TEST_F(KvCommWizard, CancelReturnsZeroAndCopiesNothing) {
    int result = Send(m_strBook, "My.book", [&](ModalAnswerer::Script& script) {
        HWND wizard = WaitForWizard(script);
        ModalAnswerer::SetControlText(wizard, IDC_KV_FOLDER, m_strDevice);
        ModalAnswerer::Click(wizard, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(FolderNames(m_strDevice).empty());
    EXPECT_EQ(RememberedFolder(), "(none)");
}

TEST_F(KvCommWizard, OffersTheDocumentsFolderWhenNothingIsRemembered) {
    char documents[MAX_PATH] = "";
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)));
    std::string expected = std::string(documents) + "\\Kelvra Handheld";
    Send(m_strBook, "My.book", [&](ModalAnswerer::Script& script) {
        HWND wizard = WaitForWizard(script);
        EXPECT_EQ(ModalAnswerer::ControlText(wizard, IDC_KV_FOLDER), expected);
        ModalAnswerer::Click(wizard, IDCANCEL);
    });
}

}  // namespace
