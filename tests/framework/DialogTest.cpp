// The modal loop: the dialog manager's keys, closing, pre-translation by the application and the
// window, nested dialogs with the main window's accelerators, and the help key.
#include <stdexcept>

#include <gtest/gtest.h>

#include "Framework.h"
#include "ModalAnswerer.h"
#include "PlainDialog.h"
#include "TestApp.h"
#include "TestResource.h"

namespace {

constexpr UINT WM_T_RUN_INNER = WM_APP + 2;
constexpr UINT WM_T_SHOW_BOX = WM_APP + 3;

void PostKey(HWND hWnd, UINT vk) {
    ::PostMessageA(hWnd, WM_KEYDOWN, vk, 1);
    ::PostMessageA(hWnd, WM_KEYUP, vk, LPARAM(0xC0000001u));
}

// Sets the application's main window for one test.
class MainWindowScope {
public:
    explicit MainWindowScope(CWnd* pWnd) { theApp.m_pMainWnd = pWnd; }
    ~MainWindowScope() {
        theApp.m_pMainWnd = nullptr;
        theApp.m_hAccel = nullptr;
    }
};

class KeyCountingDialog : public PlainDialog {
public:
    int m_nQ = 0;
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == 'Q') {
            ++m_nQ;
            return TRUE;
        }
        return PlainDialog::PreTranslateMessage(pMsg);
    }
};

// Runs the inner dialog from its own handler; the main window's accelerator ends it.
class OuterDialog : public PlainDialog {
public:
    OuterDialog() : PlainDialog(IDD_TEST_OUTER) {}

    PlainDialog m_inner{IDD_TEST_INNER};
    INT_PTR m_innerResult = 0;
    int m_nAccelerated = 0;
    bool m_bInnerWasOpen = false;
    bool m_bEnabledWhileInner = true;
    bool m_bEnabledAfterInner = false;

protected:
    BOOL OnInitDialog() override {
        PlainDialog::OnInitDialog();
        PostMessage(WM_T_RUN_INNER);
        return TRUE;
    }
    LRESULT OnRunInner(WPARAM, LPARAM) {
        m_innerResult = m_inner.DoModal();
        m_bEnabledAfterInner = IsWindowEnabled() != FALSE;
        EndDialog(int(m_innerResult));
        return 0;
    }
    void OnAccelerator() {
        ++m_nAccelerated;
        m_bInnerWasOpen = m_inner.m_hWnd != nullptr;
        m_bEnabledWhileInner = IsWindowEnabled() != FALSE;
        m_inner.EndDialog(77);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(OuterDialog, PlainDialog)
    ON_MESSAGE(WM_T_RUN_INNER, &OuterDialog::OnRunInner)
    ON_COMMAND(ID_T_ACCEL_CMD, &OuterDialog::OnAccelerator)
END_MESSAGE_MAP()

class ThrowingInnerDialog : public PlainDialog {
public:
    ThrowingInnerDialog() : PlainDialog(IDD_TEST_INNER) {}
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == 'Z')
            throw std::runtime_error("pre-translation failed");
        return PlainDialog::PreTranslateMessage(pMsg);
    }
};

// Runs the inner dialog; an exception leaves its modal loop and this dialog's handler.
class UnwindingOuterDialog : public PlainDialog {
public:
    UnwindingOuterDialog() : PlainDialog(IDD_TEST_OUTER) {}
    ThrowingInnerDialog m_inner;

protected:
    BOOL OnInitDialog() override {
        PlainDialog::OnInitDialog();
        PostMessage(WM_T_RUN_INNER);
        return TRUE;
    }
    LRESULT OnRunInner(WPARAM, LPARAM) {
        m_inner.DoModal();
        return 0;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(UnwindingOuterDialog, PlainDialog)
    ON_MESSAGE(WM_T_RUN_INNER, &UnwindingOuterDialog::OnRunInner)
END_MESSAGE_MAP()

class HelpDialog : public PlainDialog {
protected:
    void OnHelp() { EndDialog(55); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HelpDialog, PlainDialog)
    ON_COMMAND(AFX_ID_HELP, &HelpDialog::OnHelp)
END_MESSAGE_MAP()

}  // namespace

TEST(ModalLoop, EscapeEnterCloseAndTheButtonsEndAPlainDialog) {
    PlainDialog dlg;  // one object, run again and again
    auto edit = [](HWND h) { return ::GetDlgItem(h, IDC_T_EDIT); };
    EXPECT_EQ(RunModal(dlg, [&](HWND h) { PostKey(edit(h), VK_ESCAPE); }), IDCANCEL);
    EXPECT_EQ(RunModal(dlg, [&](HWND h) { PostKey(edit(h), VK_RETURN); }), IDOK);
    EXPECT_EQ(RunModal(dlg, [&](HWND h) { ::PostMessageA(h, WM_CLOSE, 0, 0); }), IDCANCEL);
    EXPECT_EQ(RunModal(dlg, [&](HWND h) { ::SendMessageA(::GetDlgItem(h, IDOK), BM_CLICK, 0, 0); }), IDOK);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(ModalLoop, MessagesGoThroughTheApplicationsAndTheWindowsPreTranslation) {
    KeyCountingDialog dlg;
    theApp.m_nPreTranslated = 0;
    INT_PTR result = RunModal(dlg, [&](HWND h) {
        HWND hEdit = ::GetDlgItem(h, IDC_T_EDIT);
        PostKey(hEdit, 'Q');
        PostKey(hEdit, VK_ESCAPE);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dlg.m_nQ, 1);  // posted to the edit control, seen by its dialog
    EXPECT_GE(theApp.m_nPreTranslated, 4);
}

TEST(ModalLoop, ANestedDialogIsModalToItsOwnerAndTheMainWindowsAcceleratorsWork) {
    OuterDialog outer;
    MainWindowScope scope(&outer);
    theApp.m_hAccel = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_T_ACCEL));
    ASSERT_NE(theApp.m_hAccel, nullptr);

    HWND hInnerOwner = nullptr;
    ModalAnswerer answerer;
    answerer.Expect(ModalAnswerer::Act("Inner", [&](HWND h) {
        hInnerOwner = ::GetWindow(h, GW_OWNER);
        PostKey(::GetDlgItem(h, IDC_T_EDIT), VK_F5);
    }));
    EXPECT_EQ(outer.DoModal(), 77);

    EXPECT_EQ(outer.m_nAccelerated, 1);
    EXPECT_TRUE(outer.m_bInnerWasOpen);
    EXPECT_FALSE(outer.m_bEnabledWhileInner);
    EXPECT_TRUE(outer.m_bEnabledAfterInner);
    EXPECT_NE(hInnerOwner, nullptr);
    EXPECT_TRUE(answerer.AllAnswered());
}

TEST(ModalLoop, ADialogLeftByAnExceptionIsDestroyedAndItsOwnerEnabled) {
    UnwindingOuterDialog outer;
    MainWindowScope scope(&outer);
    bool bOuterEnabled = false;
    ModalAnswerer answerer;
    answerer.Expect(ModalAnswerer::Act("Inner", [](HWND h) { PostKey(::GetDlgItem(h, IDC_T_EDIT), 'Z'); }));
    answerer.Expect(ModalAnswerer::Press(AfxGetAppName(), IDOK).WithText("pre-translation failed"));
    answerer.Expect(ModalAnswerer::OnMainWindow([&](HWND h) {
        bOuterEnabled = ::IsWindowEnabled(h) != FALSE;
        ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
    }));
    EXPECT_EQ(outer.DoModal(), IDCANCEL);
    EXPECT_TRUE(answerer.AllAnswered());
    EXPECT_TRUE(bOuterEnabled);
    EXPECT_EQ(outer.m_inner.m_hWnd, nullptr);
}

TEST(ModalLoop, TheHelpKeySendsHelpToTheMainWindow) {
    HelpDialog dlg;
    MainWindowScope scope(&dlg);
    ModalAnswerer answerer(5000);
    answerer.Expect(ModalAnswerer::OnMainWindow([](HWND h) { PostKey(::GetDlgItem(h, IDC_T_EDIT), VK_F1); }));
    EXPECT_EQ(dlg.DoModal(), 55);
    EXPECT_TRUE(answerer.AllAnswered());
}

TEST(ModalLoop, EndDialogDuringInitialisationAndAMissingTemplate) {
    PlainDialog dlg;
    dlg.onInit = [](PlainDialog& d) { d.EndDialog(9); };
    EXPECT_EQ(dlg.DoModal(), 9);

    CDialog missing(IDD_TEST_MISSING);
    EXPECT_EQ(missing.DoModal(), -1);
}
