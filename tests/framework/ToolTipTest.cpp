// Tooltips: the framework asks OnToolHitTest on every mouse move and shows the text it returns.
#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "Framework.h"
#include "ModalAnswerer.h"
#include "PlainDialog.h"
#include "TestResource.h"

namespace {

char* NewText(const char* text) {
    std::size_t size = std::strlen(text) + 1;
    char* copy = static_cast<char*>(std::malloc(size));
    if (copy != nullptr)
        std::memcpy(copy, text, size);
    return copy;
}

// Tips for the edit box; the list answers -1 although the default finds it; other controls
// have no text.
class TipDialog : public PlainDialog {
public:
    mutable int m_nHitTests = 0;
    mutable bool m_bRecordZeroed = true;

    INT_PTR OnToolHitTest(POINT point, TOOLINFOA* pTI) const override {
        ++m_nHitTests;
        m_bRecordZeroed = m_bRecordZeroed && pTI != nullptr && pTI->cbSize == sizeof(TOOLINFOA) &&
                          pTI->lpszText == nullptr && pTI->uFlags == 0 && pTI->uId == 0;
        INT_PTR nHit = PlainDialog::OnToolHitTest(point, pTI);
        if (nHit == IDC_T_LIST)
            return -1;
        if (nHit == IDC_T_EDIT && pTI != nullptr)
            pTI->lpszText = NewText("Edit tip");
        return nHit;
    }

protected:
    BOOL OnInitDialog() override {
        PlainDialog::OnInitDialog();
        EnableToolTips(TRUE);
        return TRUE;
    }
};

struct TipSearch {
    HWND hOwner;
    HWND hTip;
};

BOOL CALLBACK FindTip(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<TipSearch*>(lParam);
    char className[32] = {};
    ::GetClassNameA(hWnd, className, int(sizeof(className)));
    if (std::string(className) == TOOLTIPS_CLASSA && ::GetWindow(hWnd, GW_OWNER) == search->hOwner) {
        search->hTip = hWnd;
        return FALSE;
    }
    return TRUE;
}

std::string OnlyToolText(HWND hTip) {
    if (::SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0) != 1)
        return "<" + std::to_string(::SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0)) + " tools>";
    char text[80] = {};
    TOOLINFOA ti{};
    ti.cbSize = sizeof(ti);
    ti.lpszText = text;
    ::SendMessageA(hTip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&ti));
    return text;
}

}  // namespace

TEST(ToolTips, TheTextComesFromOnToolHitTestAndMinusOneShowsNone) {
    TipDialog dlg;
    RunModal(dlg, [&](HWND h) {
        TipSearch search{h, nullptr};
        ::EnumThreadWindows(::GetCurrentThreadId(), &FindTip, reinterpret_cast<LPARAM>(&search));
        ASSERT_NE(search.hTip, nullptr);
        auto moveOver = [&](int id) {
            int before = dlg.m_nHitTests;
            ::PostMessageA(::GetDlgItem(h, id), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
            return ModalAnswerer::PumpUntil([&] { return dlg.m_nHitTests > before; });
        };

        ASSERT_TRUE(moveOver(IDC_T_EDIT));
        EXPECT_EQ(OnlyToolText(search.hTip), "Edit tip");
        ASSERT_TRUE(moveOver(IDC_T_LIST));
        EXPECT_EQ(::SendMessageA(search.hTip, TTM_GETTOOLCOUNT, 0, 0), 0);
        ASSERT_TRUE(moveOver(IDC_T_EDIT));
        EXPECT_EQ(OnlyToolText(search.hTip), "Edit tip");
        ASSERT_TRUE(moveOver(IDC_T_BUTTON));  // a control without text
        EXPECT_EQ(::SendMessageA(search.hTip, TTM_GETTOOLCOUNT, 0, 0), 0);
        EXPECT_TRUE(dlg.m_bRecordZeroed);
        ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
    });
}
