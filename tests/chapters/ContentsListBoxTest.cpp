// The table-of-contents list in a real list box with the main window's styles, inside a hidden
// dialog that reflects measuring and drawing to it and counts selection notifications.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "CClientDC.h"
#include "ChaptersTestResource.h"
#include "ContentsListBox.h"
#include "ModalAnswerer.h"
#include "resource.h"

namespace {

// True if a child of the message box shows the icon (the system's shared icon handle).
bool ShowsIcon(HWND hBox, HICON hIcon) {
    for (HWND h = ::GetWindow(hBox, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (reinterpret_cast<HICON>(::SendMessageA(h, STM_GETICON, 0, 0)) == hIcon)
            return true;
    }
    return false;
}

class CContentsHost : public CWnd {
public:
    CContentsListBox m_list;
    int m_nSelChanges = 0;

    bool Create() {
        HWND hDlg =
            ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEST_CONTENTS_HOST),
                                 nullptr, &HostDialogProc, 0);
        return hDlg != nullptr && SubclassWindow(hDlg) && m_list.SubclassDlgItem(IDC_CONTENTS, this);
    }

    void OnSelChange() { ++m_nSelChanges; }

private:
    static INT_PTR CALLBACK HostDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CContentsHost, CWnd)
    ON_LBN_SELCHANGE(IDC_CONTENTS, &CContentsHost::OnSelChange)
END_MESSAGE_MAP()

class ContentsListBoxTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_host.Create());
        CClientDC dc(&m_host.m_list);
        HGDIOBJ hOld = dc.SelectObject(ListFont());
        ASSERT_TRUE(dc.GetCharWidth(0, 255, m_widths));
        TEXTMETRICA tm{};
        dc.GetTextMetrics(&tm);
        m_nTextHeight = tm.tmHeight;
        dc.SelectObject(hOld);
    }

    void TearDown() override { m_host.DestroyWindow(); }

    HGDIOBJ ListFont() { return reinterpret_cast<HGDIOBJ>(m_host.m_list.SendMessage(WM_GETFONT)); }

    int TextWidth(const std::string& text) const {
        int nSum = 0;
        for (unsigned char c : text)
            nSum += m_widths[c];
        return nSum;
    }

    // Resizes the list so that its client area (where items are wrapped) is cx pixels wide.
    void SetClientWidth(int cx) {
        CRect rcWindow, rcClient;
        List().GetWindowRect(&rcWindow);
        List().GetClientRect(&rcClient);
        int nFrame = rcWindow.Width() - rcClient.Width();
        List().MoveWindow(0, 0, cx + nFrame, rcWindow.Height());
        List().GetClientRect(&rcClient);
        ASSERT_EQ(rcClient.Width(), cx);
    }

    // The lines of item i as the line record cuts its title.
    std::vector<std::string> ItemLines(int i) {
        std::vector<std::string> lines;
        const CContentsListBox::LineRecord* pRecord = List().GetLineRecord(i);
        if (pRecord == nullptr)
            return lines;
        std::string title;
        List().GetText(i, title);
        size_t nStart = 0;
        for (int k = 1; k <= (*pRecord)[0]; ++k) {
            lines.push_back(title.substr(nStart, size_t((*pRecord)[size_t(k)])));
            nStart += size_t((*pRecord)[size_t(k)]);
        }
        return lines;
    }

    int ItemHeight(int i) { return int(List().SendMessage(LB_GETITEMHEIGHT, WPARAM(i))); }
    DWORD_PTR ItemData(int i) { return DWORD_PTR(List().SendMessage(LB_GETITEMDATA, WPARAM(i))); }

    void ExpectInStep() { EXPECT_EQ(List().GetLineRecordCount(), List().GetCount()); }

    CContentsListBox& List() { return m_host.m_list; }

    CContentsHost m_host;
    int m_widths[256] = {};
    int m_nTextHeight = 0;
};

using Lines = std::vector<std::string>;

TEST_F(ContentsListBoxTest, EmptyTitleIsOneLineOfTextHeightPlusFour) {
    EXPECT_FALSE(List().m_bChanged);
    List().InsertItem("", CContentsListBox::kWhite, 0);
    ASSERT_EQ(List().GetCount(), 1);
    EXPECT_EQ(ItemLines(0), Lines{""});
    EXPECT_EQ(ItemHeight(0), m_nTextHeight + 4);
    EXPECT_EQ(ItemData(0), CContentsListBox::kWhite);
    EXPECT_TRUE(List().m_bChanged);
}

TEST_F(ContentsListBoxTest, WrapsToTheClientWidthLessFourPixels) {
    // Five W's fit; the sixth does not: the word is broken inside.
    SetClientWidth(4 + TextWidth("WWWWW") + m_widths['W'] / 2);
    List().InsertItem("WWWWWWWWWWWWWWWWWWWWWW", CContentsListBox::kWhite, 0);
    EXPECT_EQ(ItemLines(0), (Lines{"WWWWW", "WWWWW", "WWWWW", "WWWWW", "WW"}));
    EXPECT_EQ(ItemHeight(0), 5 * m_nTextHeight + 4);

    // The second word ends beyond the width: it goes to the next line, the space stays behind.
    SetClientWidth(4 + TextWidth("Alpha Ome"));
    List().InsertItem("Alpha Omega", CContentsListBox::kWhite, 1);
    EXPECT_EQ(ItemLines(1), (Lines{"Alpha ", "Omega"}));
    EXPECT_EQ(ItemHeight(1), 2 * m_nTextHeight + 4);

    // A width exactly filled still fits.
    SetClientWidth(4 + TextWidth("Alpha Omega"));
    List().InsertItem("Alpha Omega", CContentsListBox::kWhite, 2);
    EXPECT_EQ(ItemLines(2), Lines{"Alpha Omega"});

    // Later width changes do not re-wrap what was measured.
    EXPECT_EQ(ItemLines(1), (Lines{"Alpha ", "Omega"}));
    ExpectInStep();
}

TEST_F(ContentsListBoxTest, MoreThanTenLinesShowTheFirstTen) {
    SetClientWidth(4 + TextWidth("ab "));
    std::string title;
    for (int i = 0; i < 14; ++i)
        title += "ab ";
    List().InsertItem(title.c_str(), CContentsListBox::kWhite, 0);
    EXPECT_EQ(ItemLines(0), Lines(10, "ab "));
    EXPECT_EQ(ItemHeight(0), 10 * m_nTextHeight + 4);
}

TEST_F(ContentsListBoxTest, ListNarrowerThanFourPixelsPutsEachTitleOnOneLine) {
    SetClientWidth(3);
    List().InsertItem("A title far wider than the list", CContentsListBox::kWhite, 0);
    EXPECT_EQ(ItemLines(0), Lines{"A title far wider than the list"});
    EXPECT_EQ(ItemHeight(0), m_nTextHeight + 4);
}

TEST_F(ContentsListBoxTest, ListNarrowerThanOneCharacterShowsOneCharacterPerLine) {
    SetClientWidth(5);
    List().InsertItem("Chap", CContentsListBox::kWhite, 0);
    EXPECT_EQ(ItemLines(0), (Lines{"C", "h", "a", "p"}));
    List().InsertItem("Chapter Eleven", CContentsListBox::kWhite, 1);
    EXPECT_EQ(ItemLines(1).size(), 10u);
    EXPECT_EQ(ItemHeight(1), 10 * m_nTextHeight + 4);
}

TEST_F(ContentsListBoxTest, InsertKeepsRecordsAtTheirItems) {
    SetClientWidth(4 + TextWidth("Alpha Ome"));
    List().InsertItem("One", CContentsListBox::kWhite, 0);
    List().InsertItem("Three", 0x00FF00, 1);                  // the item count appends
    List().InsertItem("Alpha Omega", 0x0000FF, 1);            // in the middle
    List().InsertItem("Last", CContentsListBox::kWhite, -1);  // -1 appends, as the list box does
    ASSERT_EQ(List().GetCount(), 4);
    ExpectInStep();
    EXPECT_EQ(ItemLines(0), Lines{"One"});
    EXPECT_EQ(ItemLines(1), (Lines{"Alpha ", "Omega"}));
    EXPECT_EQ(ItemLines(2), Lines{"Three"});
    EXPECT_EQ(ItemLines(3), Lines{"Last"});
    EXPECT_EQ(ItemData(1), 0x0000FFu);
    EXPECT_EQ(ItemData(2), 0x00FF00u);
}

TEST_F(ContentsListBoxTest, RefusedInsertionSaysLowMemoryAndKeepsTheTableInStep) {
    List().InsertItem("One", CContentsListBox::kWhite, 0);
    List().m_bChanged = false;
    ModalAnswerer answerer(10000);
    bool bErrorIcon = false;
    answerer.Expect(ModalAnswerer::Act("Kelvra Quire Binder", [&bErrorIcon](HWND hBox) {
                        bErrorIcon = ShowsIcon(hBox, ::LoadIconA(nullptr, IDI_HAND));
                        ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
                    }).WithText("Low Memory"));
    List().InsertItem("Two", CContentsListBox::kWhite, 5);  // beyond the end: the list box refuses
    EXPECT_TRUE(answerer.AllAnswered());
    EXPECT_TRUE(bErrorIcon);
    EXPECT_EQ(List().GetCount(), 1);
    ExpectInStep();
    EXPECT_EQ(ItemLines(0), Lines{"One"});
    // Raised before the insertion is tried, as for every insertion.
    EXPECT_TRUE(List().m_bChanged);
}

TEST_F(ContentsListBoxTest, RemoveItemTakesItsRecordAndIgnoresPositionsBeyondTheEnd) {
    SetClientWidth(4 + TextWidth("Alpha Ome"));
    List().InsertItem("One", CContentsListBox::kWhite, 0);
    List().InsertItem("Alpha Omega", CContentsListBox::kWhite, 1);
    List().InsertItem("Three", CContentsListBox::kWhite, 2);
    List().m_bChanged = false;

    List().RemoveItem(0);
    EXPECT_TRUE(List().m_bChanged);
    ASSERT_EQ(List().GetCount(), 2);
    ExpectInStep();
    EXPECT_EQ(ItemLines(0), (Lines{"Alpha ", "Omega"}));
    EXPECT_EQ(ItemLines(1), Lines{"Three"});

    List().m_bChanged = false;
    List().RemoveItem(2);
    List().RemoveItem(-1);
    EXPECT_TRUE(List().m_bChanged);
    EXPECT_EQ(List().GetCount(), 2);
    ExpectInStep();
}

TEST_F(ContentsListBoxTest, MovedItemIsSelectedAndWhiteWithoutNotifyingTheParent) {
    SetClientWidth(4 + TextWidth("Alpha Ome"));
    List().InsertItem("One", 0x00FF00, 0);
    List().InsertItem("Two", 0xFF0000, 1);
    List().InsertItem("Alpha Omega", 0x0000FF, 2);
    List().m_bChanged = false;

    List().MoveItemUp(2);
    EXPECT_TRUE(List().m_bChanged);
    std::string title;
    List().GetText(1, title);
    EXPECT_EQ(title, "Alpha Omega");
    EXPECT_EQ(List().GetCurSel(), 1);
    EXPECT_EQ(ItemData(1), CContentsListBox::kWhite);
    EXPECT_EQ(ItemData(2), 0xFF0000u);  // the neighbour keeps its colour
    EXPECT_EQ(ItemLines(1), (Lines{"Alpha ", "Omega"}));
    EXPECT_EQ(ItemLines(2), Lines{"Two"});
    EXPECT_EQ(ItemHeight(1), 2 * m_nTextHeight + 4);
    EXPECT_EQ(ItemHeight(2), m_nTextHeight + 4);

    List().m_bChanged = false;
    List().MoveItemDown(0);
    EXPECT_TRUE(List().m_bChanged);
    List().GetText(1, title);
    EXPECT_EQ(title, "One");
    EXPECT_EQ(List().GetCurSel(), 1);
    EXPECT_EQ(ItemData(1), CContentsListBox::kWhite);
    EXPECT_EQ(ItemLines(0), (Lines{"Alpha ", "Omega"}));
    EXPECT_EQ(ItemLines(1), Lines{"One"});
    ExpectInStep();
    EXPECT_EQ(m_host.m_nSelChanges, 0);

    // The counter does see a selection the user makes.
    CRect rcItem;
    List().GetItemRect(2, &rcItem);
    LPARAM point = MAKELPARAM(rcItem.left + 5, rcItem.top + 3);
    List().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
    List().SendMessage(WM_LBUTTONUP, 0, point);
    EXPECT_EQ(List().GetCurSel(), 2);
    EXPECT_GE(m_host.m_nSelChanges, 1);
}

TEST_F(ContentsListBoxTest, MovesBeyondTheEndsChangeNothing) {
    List().InsertItem("One", CContentsListBox::kWhite, 0);
    List().InsertItem("Two", CContentsListBox::kWhite, 1);
    List().m_bChanged = false;
    List().MoveItemUp(0);
    List().MoveItemDown(1);
    List().MoveItemUp(7);
    List().MoveItemDown(-1);
    EXPECT_FALSE(List().m_bChanged);
    EXPECT_EQ(List().GetCount(), 2);
    EXPECT_EQ(List().GetCurSel(), LB_ERR);
    ExpectInStep();
}

TEST_F(ContentsListBoxTest, ResetItemsEmptiesTheListAndLeavesTheChangedFlag) {
    List().InsertItem("One", CContentsListBox::kWhite, 0);
    List().InsertItem("Two", CContentsListBox::kWhite, 1);
    List().ResetItems();
    EXPECT_EQ(List().GetCount(), 0);
    EXPECT_EQ(List().GetLineRecordCount(), 0);
    EXPECT_TRUE(List().m_bChanged);
    List().m_bChanged = false;
    List().ResetItems();
    EXPECT_FALSE(List().m_bChanged);
}

// Opening a large book inserts every title: 1895 chapters of 120 characters must stay quick.
TEST_F(ContentsListBoxTest, ManyLongTitlesInsertQuickly) {
    std::string title;
    while (title.size() < 120)
        title += "Lorem ipsum ";
    title.resize(120);
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1895; ++i)
        List().InsertItem(title.c_str(), CContentsListBox::kWhite, i);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RecordProperty("insert_seconds", std::to_string(seconds));
    EXPECT_EQ(List().GetCount(), 1895);
    ExpectInStep();
    EXPECT_EQ(ItemLines(1894), ItemLines(0));
    EXPECT_LT(seconds, 20.0);
}

// The same on a visible list, refilled after a reset as opening a book does. Under Wine a list that
// redraws repaints its scroll bar on every insertion (2 ms each: 4 s for this book); after a reset
// the list shows the new items, scroll bar included, when the thread reads its messages again.
class VisibleContentsTest : public ContentsListBoxTest {
protected:
    void SetUp() override {
        ContentsListBoxTest::SetUp();
        m_host.ShowWindow(SW_SHOWNOACTIVATE);
        ModalAnswerer::PumpPending(5000);
    }

    SCROLLINFO VerticalScroll() {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        ::GetScrollInfo(List().m_hWnd, SB_VERT, &info);
        return info;
    }

    void Refill(int nItems) {
        List().ResetItems();
        for (int i = 0; i < nItems; ++i)
            List().InsertItem(("Chapter " + std::to_string(i)).c_str(), CContentsListBox::kWhite, i);
    }
};

TEST_F(VisibleContentsTest, RefillIsQuickAndShownWhenTheMessagesAreRead) {
    List().InsertItem("Before", CContentsListBox::kWhite, 0);
    ModalAnswerer::PumpPending(5000);
    std::string title;
    while (title.size() < 120)
        title += "Lorem ipsum ";
    title.resize(120);
    auto start = std::chrono::steady_clock::now();
    List().ResetItems();
    for (int i = 0; i < 1895; ++i)
        List().InsertItem(title.c_str(), CContentsListBox::kWhite, i);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RecordProperty("insert_seconds", std::to_string(seconds));
    EXPECT_EQ(List().GetCount(), 1895);
    ExpectInStep();
    EXPECT_LT(seconds, 2.0);

    ModalAnswerer::PumpPending(5000);
    SCROLLINFO info = VerticalScroll();
    EXPECT_EQ(info.nMax, 1894);
    EXPECT_EQ(info.nPos, 0);
    EXPECT_FALSE(::GetUpdateRect(List().m_hWnd, nullptr, FALSE));  // painted
    // Redrawing again: the next insertion moves the scroll bar at once.
    List().InsertItem("After", CContentsListBox::kWhite, 1895);
    EXPECT_EQ(VerticalScroll().nMax, 1895);
}

// Removing or moving an item in the same breath as the refill scrolls as it always did.
TEST_F(VisibleContentsTest, RemoveAndMoveRightAfterARefillUpdateTheScrollBarAtOnce) {
    Refill(60);
    List().RemoveItem(59);
    EXPECT_EQ(VerticalScroll().nMax, 58);

    Refill(60);
    List().MoveItemDown(58);
    EXPECT_EQ(VerticalScroll().nMax, 59);
    EXPECT_EQ(List().GetCurSel(), 59);
    ModalAnswerer::PumpPending(5000);
    CRect rcItem, rcClient;
    List().GetItemRect(59, &rcItem);
    List().GetClientRect(&rcClient);
    EXPECT_GT(VerticalScroll().nPos, 0);
    EXPECT_LE(rcItem.bottom, rcClient.bottom);  // the moved item is in view
    EXPECT_GE(rcItem.top, 0);
}

// Painting into a bitmap: colours, frame and the stored line breaks.
class ContentsDrawTest : public ContentsListBoxTest {
protected:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 60;
    static constexpr COLORREF kBlank = RGB(1, 2, 3);

    void SetUp() override {
        ContentsListBoxTest::SetUp();
        BITMAPINFO bmi{};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = kWidth;
        bmi.bmiHeader.biHeight = -kHeight;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        void* pBits = nullptr;
        m_hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
        m_hDC = ::CreateCompatibleDC(nullptr);
        m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
        m_hOldFont = ::SelectObject(m_hDC, ListFont());
        RECT rcAll = {0, 0, kWidth, kHeight};
        CDC(m_hDC).FillSolidRect(&rcAll, kBlank);
    }

    void TearDown() override {
        ::SelectObject(m_hDC, m_hOldFont);
        ::SelectObject(m_hDC, m_hOldBitmap);
        ::DeleteDC(m_hDC);
        ::DeleteObject(m_hBitmap);
        ContentsListBoxTest::TearDown();
    }

    void Draw(int nItem, UINT nAction, UINT nState) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_LISTBOX;
        dis.CtlID = IDC_CONTENTS;
        dis.itemID = UINT(nItem);
        dis.itemAction = nAction;
        dis.itemState = nState;
        dis.hwndItem = List().m_hWnd;
        dis.hDC = m_hDC;
        dis.rcItem = m_rcItem;
        dis.itemData = nItem >= 0 ? ItemData(nItem) : 0;
        List().DrawItem(&dis);
    }

    COLORREF Pixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }

    // Pixels of colour cr within the band of rows [top, bottom) and columns [left, right).
    int Count(COLORREF cr, int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x)
                n += Pixel(x, y) == cr ? 1 : 0;
        }
        return n;
    }

    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    HGDIOBJ m_hOldFont = nullptr;
    RECT m_rcItem = {0, 0, kWidth, kHeight};
};

TEST_F(ContentsDrawTest, UnselectedItemIsFilledWithItsColourFramedAndDrawnFromItsStoredLines) {
    SetClientWidth(4 + TextWidth("Alpha Ome"));
    const COLORREF kRed = RGB(255, 0, 0);
    List().InsertItem("Alpha Omega", kRed, 0);
    Draw(0, ODA_DRAWENTIRE, 0);

    COLORREF crFrame = ::GetSysColor(COLOR_3DLIGHT);
    EXPECT_EQ(Pixel(0, 0), crFrame);
    EXPECT_EQ(Pixel(kWidth - 1, kHeight - 1), crFrame);
    EXPECT_EQ(Pixel(1, 1), kRed);
    EXPECT_EQ(Pixel(kWidth - 2, kHeight - 2), kRed);
    EXPECT_EQ(Count(kBlank, 0, 0, kWidth, kHeight), 0);
    // The bitmap is wider than the list, but the item keeps its two measured lines: text in both
    // lines' bands and none beyond the width the title was wrapped to.
    int h = m_nTextHeight;
    int nBand = (kWidth - 3) * h;
    int nBeyond = 2 + TextWidth("Alpha Ome") + 1;
    EXPECT_LT(Count(kRed, 2, 2, kWidth - 1, 2 + h), nBand);
    EXPECT_LT(Count(kRed, 2, 2 + h, kWidth - 1, 2 + 2 * h), nBand);
    EXPECT_EQ(Count(kRed, nBeyond, 1, kWidth - 1, kHeight - 1), (kWidth - 1 - nBeyond) * (kHeight - 2));
}

TEST_F(ContentsDrawTest, SelectedItemIsHighlightedWithoutFrame) {
    List().InsertItem("Chapter", RGB(255, 0, 0), 0);
    COLORREF crText = ::GetTextColor(m_hDC);
    COLORREF crBk = ::GetBkColor(m_hDC);
    Draw(0, ODA_SELECT, ODS_SELECTED);
    COLORREF crHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(Pixel(0, 0), crHighlight);
    EXPECT_EQ(Pixel(kWidth - 1, kHeight - 1), crHighlight);
    EXPECT_GT(Count(::GetSysColor(COLOR_HIGHLIGHTTEXT), 2, 2, kWidth, 2 + m_nTextHeight), 0);
    // The colours the device context had are given back.
    EXPECT_EQ(::GetTextColor(m_hDC), crText);
    EXPECT_EQ(::GetBkColor(m_hDC), crBk);
}

TEST_F(ContentsDrawTest, FocusChangeOnlyInvertsTheFocusRectangle) {
    List().InsertItem("Chapter", RGB(255, 0, 0), 0);
    Draw(0, ODA_FOCUS, ODS_FOCUS);
    EXPECT_EQ(Count(kBlank, 1, 1, kWidth - 1, kHeight - 1), (kWidth - 2) * (kHeight - 2));
    EXPECT_LT(Count(kBlank, 0, 0, kWidth, kHeight), kWidth * kHeight);

    // An empty list receiving the focus draws nothing.
    RECT rcAll = {0, 0, kWidth, kHeight};
    CDC(m_hDC).FillSolidRect(&rcAll, kBlank);
    Draw(-1, ODA_FOCUS | ODA_DRAWENTIRE, ODS_FOCUS);
    EXPECT_EQ(Count(kBlank, 0, 0, kWidth, kHeight), kWidth * kHeight);
}

}  // namespace
