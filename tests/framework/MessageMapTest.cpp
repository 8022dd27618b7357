// Message maps: dispatch of messages, commands, control notifications and WM_NOTIFY, chaining to
// the base class's map, and reflection of owner-draw, colour and click messages to the control.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Framework.h"
#include "PlainDialog.h"
#include "TestResource.h"

namespace {

constexpr UINT WM_T_ADD = WM_APP + 1;
constexpr UINT ID_T_BASE_ONLY = 41001;
constexpr UINT ID_T_BOTH = 41002;
constexpr UINT ID_T_DERIVED_ONLY = 41003;

// Records measuring and drawing; every item is 20 pixels high.
class RecordingListBox : public CListBox {
public:
    int m_nMeasured = 0;
    int m_nDrawn = 0;

    void MeasureItem(LPMEASUREITEMSTRUCT pMeasure) override {
        ++m_nMeasured;
        pMeasure->itemHeight = 20;
    }
    void DrawItem(LPDRAWITEMSTRUCT) override { ++m_nDrawn; }
};

class RecordingButton : public CButton {
public:
    int m_nDrawn = 0;
    void DrawItem(LPDRAWITEMSTRUCT) override { ++m_nDrawn; }
};

// A label that colours itself and takes its own clicks, as a hyperlink does.
class RecordingLabel : public CStatic {
public:
    CBrush m_brush{RGB(1, 2, 3)};
    int m_nClicked = 0;
    UINT m_nLastCtlColor = 0xFFFF;

protected:
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) {
        m_nLastCtlColor = nCtlColor;
        pDC->SetTextColor(RGB(0, 0, 238));
        return m_brush;
    }
    void OnClicked() { ++m_nClicked; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingLabel, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_CONTROL_REFLECT(STN_CLICKED, &RecordingLabel::OnClicked)
END_MESSAGE_MAP()

class BaseDialog : public PlainDialog {
public:
    std::vector<std::string> m_log;

protected:
    void OnBaseOnly() { m_log.push_back("base only"); }
    void OnBothInBase() { m_log.push_back("both, base"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseDialog, PlainDialog)
    ON_COMMAND(ID_T_BASE_ONLY, &BaseDialog::OnBaseOnly)
    ON_COMMAND(ID_T_BOTH, &BaseDialog::OnBothInBase)
END_MESSAGE_MAP()

class MapDialog : public BaseDialog {
public:
    RecordingListBox m_list;
    RecordingButton m_drawn;
    RecordingLabel m_label;
    CEdit m_edit;
    CRichEditCtrl m_rich;

    int m_nEditChanged = 0;
    int m_nButtonClicked = 0;
    int m_nParentSawLabelClick = 0;
    std::vector<UINT> m_filteredMessages;
    HMENU m_hInitMenu = nullptr;
    int m_nSizeCx = -1;
    int m_nSizeCy = -1;
    bool m_bSizingCallsDefault = true;
    HICON m_hDragIcon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        BaseDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_T_LIST, m_list);
        DDX_Control(pDX, IDC_T_DRAWN, m_drawn);
        DDX_Control(pDX, IDC_T_LINK, m_label);
        DDX_Control(pDX, IDC_T_EDIT, m_edit);
        DDX_Control(pDX, IDC_T_RICH, m_rich);
    }
    BOOL OnInitDialog() override {
        BaseDialog::OnInitDialog();
        m_rich.SetEventMask(ENM_MOUSEEVENTS);
        return TRUE;
    }

    LRESULT OnAdd(WPARAM wParam, LPARAM lParam) { return LRESULT(wParam) + lParam; }
    void OnBothInDerived() { m_log.push_back("both, derived"); }
    void OnDerivedOnly() { m_log.push_back("derived only"); }
    void OnEditChange() { ++m_nEditChanged; }
    void OnButton() { ++m_nButtonClicked; }
    void OnParentLabelClick() { ++m_nParentSawLabelClick; }
    void OnRichFilter(NMHDR* pHeader, LRESULT* pResult) {
        m_filteredMessages.push_back(reinterpret_cast<MSGFILTER*>(pHeader)->msg);
        *pResult = 0;
    }
    void OnInitMenu(CMenu* pMenu) { m_hInitMenu = pMenu->m_hMenu; }
    void OnSize(UINT nType, int cx, int cy) {
        CDialog::OnSize(nType, cx, cy);
        m_nSizeCx = cx;
        m_nSizeCy = cy;
    }
    void OnSizing(UINT fwSide, LPRECT pRect) {
        if (m_bSizingCallsDefault)
            CDialog::OnSizing(fwSide, pRect);
    }
    HCURSOR OnQueryDragIcon() { return m_hDragIcon; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MapDialog, BaseDialog)
    ON_MESSAGE(WM_T_ADD, &MapDialog::OnAdd)
    ON_COMMAND(ID_T_BOTH, &MapDialog::OnBothInDerived)
    ON_COMMAND(ID_T_DERIVED_ONLY, &MapDialog::OnDerivedOnly)
    ON_EN_CHANGE(IDC_T_EDIT, &MapDialog::OnEditChange)
    ON_BN_CLICKED(IDC_T_BUTTON, &MapDialog::OnButton)
    ON_CONTROL(STN_CLICKED, IDC_T_LINK, &MapDialog::OnParentLabelClick)
    ON_NOTIFY(EN_MSGFILTER, IDC_T_RICH, &MapDialog::OnRichFilter)
    ON_WM_INITMENU()
    ON_WM_SIZE()
    ON_WM_SIZING()
    ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

HWND Item(HWND hDlg, int id) {
    return ::GetDlgItem(hDlg, id);
}

}  // namespace

TEST(MessageMap, DispatchesMessagesCommandsAndNotificationsMostDerivedFirst) {
    MapDialog dlg;
    RunModal(dlg, [&](HWND h) {
        EXPECT_EQ(::SendMessageA(h, WM_T_ADD, 2, 3), 5);

        ::SendMessageA(h, WM_COMMAND, ID_T_DERIVED_ONLY, 0);
        ::SendMessageA(h, WM_COMMAND, ID_T_BASE_ONLY, 0);
        ::SendMessageA(h, WM_COMMAND, ID_T_BOTH, 0);
        ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(ID_T_BOTH, 1), 0);  // as an accelerator sends it
        EXPECT_EQ(dlg.m_log,
                  (std::vector<std::string>{"derived only", "base only", "both, derived", "both, derived"}));

        ::SetWindowTextA(Item(h, IDC_T_EDIT), "typed");
        EXPECT_EQ(dlg.m_nEditChanged, 1);
        ::SendMessageA(Item(h, IDC_T_BUTTON), BM_CLICK, 0, 0);
        EXPECT_EQ(dlg.m_nButtonClicked, 1);

        ::SendMessageA(Item(h, IDC_T_RICH), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
        ::SendMessageA(Item(h, IDC_T_RICH), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(dlg.m_filteredMessages, (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP}));

        HMENU hMenu = ::CreatePopupMenu();
        ::SendMessageA(h, WM_INITMENU, reinterpret_cast<WPARAM>(hMenu), 0);
        EXPECT_EQ(dlg.m_hInitMenu, hMenu);
        ::DestroyMenu(hMenu);
        ::SendMessageA(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 80));
        EXPECT_EQ(dlg.m_nSizeCx, 120);
        EXPECT_EQ(dlg.m_nSizeCy, 80);
        EXPECT_EQ(::SendMessageA(h, WM_QUERYDRAGICON, 0, 0), reinterpret_cast<LRESULT>(dlg.m_hDragIcon));

        // A handler returning void yields the result of the default processing it asked for.
        RECT rect = {0, 0, 100, 100};
        EXPECT_EQ(::SendMessageA(h, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&rect)),
                  ::DefWindowProcA(h, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&rect)));
        dlg.m_bSizingCallsDefault = false;
        EXPECT_EQ(::SendMessageA(h, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&rect)), 0);

        ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
    });
}

TEST(MessageMap, ReflectsMeasureDrawColourAndClicksToTheControl) {
    MapDialog dlg;
    RunModal(dlg, [&](HWND h) {
        // The list box measures a variable-height item inside LB_INSERTSTRING.
        EXPECT_EQ(dlg.m_list.InsertString(0, "first"), 0);
        EXPECT_EQ(dlg.m_list.m_nMeasured, 1);
        EXPECT_EQ(::SendMessageA(dlg.m_list.m_hWnd, LB_GETITEMHEIGHT, 0, 0), 20);

        dlg.m_list.RedrawWindow();
        dlg.m_drawn.RedrawWindow();
        EXPECT_GT(dlg.m_list.m_nDrawn, 0);
        EXPECT_GT(dlg.m_drawn.m_nDrawn, 0);

        HDC hDC = ::GetDC(h);
        LRESULT brush = ::SendMessageA(h, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                                       reinterpret_cast<LPARAM>(Item(h, IDC_T_LINK)));
        EXPECT_EQ(brush, reinterpret_cast<LRESULT>(static_cast<HBRUSH>(dlg.m_label.m_brush)));
        EXPECT_EQ(dlg.m_label.m_nLastCtlColor, UINT(CTLCOLOR_STATIC));
        EXPECT_EQ(::GetTextColor(hDC), RGB(0, 0, 238));
        // A control without a colour handler gets the dialog's default answer.
        LRESULT other = ::SendMessageA(h, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hDC),
                                       reinterpret_cast<LPARAM>(Item(h, IDC_T_EDIT)));
        EXPECT_NE(other, brush);
        ::ReleaseDC(h, hDC);

        ::SendMessageA(Item(h, IDC_T_LINK), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::SendMessageA(Item(h, IDC_T_LINK), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(dlg.m_label.m_nClicked, 1);
        EXPECT_EQ(dlg.m_nParentSawLabelClick, 0);

        ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
    });
}

TEST(MessageMap, DialogItemsAreTheBoundObjectsOrTemporaries) {
    MapDialog dlg;
    RunModal(dlg, [&](HWND h) {
        EXPECT_EQ(dlg.GetDlgItem(IDC_T_LIST), &dlg.m_list);
        EXPECT_EQ(CWnd::FromHandlePermanent(Item(h, IDC_T_RICH)), &dlg.m_rich);
        CWnd* pOk = dlg.GetDlgItem(IDOK);
        ASSERT_NE(pOk, nullptr);
        EXPECT_EQ(pOk->m_hWnd, Item(h, IDOK));
        EXPECT_EQ(CWnd::FromHandlePermanent(pOk->m_hWnd), nullptr);
        EXPECT_EQ(dlg.GetDlgItem(IDOK), pOk);  // the same temporary while this message lasts
        EXPECT_EQ(dlg.GetDlgItem(4242), nullptr);
        ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
    });
    // Destroyed with the dialog: the wrappers let go of their handles.
    EXPECT_EQ(dlg.m_list.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(MessageMap, AControlCreatedByCreateExIsMeasuredAsItIsCreated) {
    MapDialog dlg;
    RunModal(dlg, [&](HWND h) {
        RecordingListBox created;
        RECT rect = {0, 0, 60, 60};
        ASSERT_TRUE(created.CreateEx(0, "LISTBOX", "", WS_CHILD | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, rect,
                                     &dlg, 1100));
        EXPECT_EQ(created.m_nMeasured, 1);
        EXPECT_EQ(CWnd::FromHandlePermanent(Item(h, 1100)), &created);
        created.DestroyWindow();
        // A list made later under the same id is measured itself, not its predecessor.
        RecordingListBox later;
        ASSERT_TRUE(later.CreateEx(0, "LISTBOX", "", WS_CHILD | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, rect,
                                   &dlg, 1100));
        EXPECT_EQ(later.InsertString(0, "item"), 0);
        EXPECT_EQ(dlg.m_list.InsertString(0, "item"), 0);
        EXPECT_EQ(later.InsertString(1, "item"), 1);
        EXPECT_EQ(later.m_nMeasured, 2);
        EXPECT_EQ(dlg.m_list.m_nMeasured, 1);
        EXPECT_EQ(created.m_nMeasured, 1);
        later.DestroyWindow();
        ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
    });
}

TEST(MessageMap, UnsubclassingGivesTheWindowItsProcedureBack) {
    PlainDialog dlg;
    RunModal(dlg, [&](HWND h) {
        HWND hEdit = Item(h, IDC_T_EDIT);
        LONG_PTR original = ::GetWindowLongPtrA(hEdit, GWLP_WNDPROC);
        {
            CEdit edit;
            ASSERT_TRUE(edit.SubclassDlgItem(IDC_T_EDIT, &dlg));
            EXPECT_NE(::GetWindowLongPtrA(hEdit, GWLP_WNDPROC), original);
            CEdit second;
            EXPECT_FALSE(second.SubclassWindow(hEdit));  // one object per window
        }
        EXPECT_EQ(::GetWindowLongPtrA(hEdit, GWLP_WNDPROC), original);
        EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), nullptr);
        ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
    });
}
