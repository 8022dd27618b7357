// The flat icon button on a real button window: its drawing read back from the pixels it paints,
// its hover tracking driven by the real pointer position and timer, its clicks and its icons.
#include <gtest/gtest.h>

#include <map>

#include "ImageButton.h"
#include "ImportHook.h"
#include "ModalAnswerer.h"
#include "PixelCapture.h"
#include "RealInput.h"
#include "TestHostWnd.h"
#include "resource.h"

namespace {

constexpr int kButtonId = IDC_NEW_BOOK;
constexpr int kWidth = 24;
constexpr int kHeight = 22;
constexpr COLORREF kIconColour = RGB(200, 0, 0);

// A 16x16 icon of one opaque colour, so its pixels are easy to find.
HICON MakeSolidIcon(COLORREF colour) {
    HDC hScreen = ::GetDC(nullptr);
    HBITMAP hColour = ::CreateCompatibleBitmap(hScreen, 16, 16);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = ::SelectObject(hDC, hColour);
    HBRUSH hBrush = ::CreateSolidBrush(colour);
    RECT all = {0, 0, 16, 16};
    ::FillRect(hDC, &all, hBrush);
    ::DeleteObject(hBrush);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    ::ReleaseDC(nullptr, hScreen);
    static const WORD kOpaqueMask[16] = {};
    HBITMAP hMask = ::CreateBitmap(16, 16, 1, 1, kOpaqueMask);
    ICONINFO info = {TRUE, 0, 0, hMask, hColour};
    HICON hIcon = ::CreateIconIndirect(&info);
    ::DeleteObject(hMask);
    ::DeleteObject(hColour);
    return hIcon;
}

// Whether hWnd has a window timer running: waits a few periods of the button's 10 ms polling timer
// and looks for its WM_TIMER without taking it from the queue.
bool HasTimer(HWND hWnd) {
    const DWORD start = ::GetTickCount();
    MSG msg;
    for (;;) {
        // Look once more after the deadline, however long this thread was kept from running.
        bool bLast = ::GetTickCount() - start >= 60;
        if (::PeekMessageA(&msg, hWnd, WM_TIMER, WM_TIMER, PM_NOREMOVE | PM_NOYIELD))
            return true;
        if (bLast)
            return false;
        ::Sleep(5);
    }
}

class ImageButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(m_host.m_hWnd, nullptr);
        ASSERT_NE(
            m_host.CreateChild("Button", "", BS_PUSHBUTTON, {10, 10, 10 + kWidth, 10 + kHeight}, kButtonId),
            nullptr);
        ASSERT_TRUE(m_button.SubclassDlgItem(kButtonId, &m_host));
        PointAway();
        ModalAnswerer::PumpPending();
        ASSERT_FALSE(m_button.IsHovered());
    }

    POINT ButtonCentre() const {
        CRect rect;
        m_button.GetWindowRect(&rect);
        return POINT{rect.left + kWidth / 2, rect.top + kHeight / 2};
    }
    void PointAt(POINT pt) { RealInput::MoveTo(pt); }
    void PointAtButton() { PointAt(ButtonCentre()); }
    void PointAway() {
        CRect rect;
        m_host.GetWindowRect(&rect);
        PointAt(POINT{rect.right - 20, rect.bottom - 20});
    }
    // The pointer moving over the button, with or without the left mouse button down.
    void MouseMove(UINT nFlags = 0) { m_button.SendMessage(WM_MOUSEMOVE, nFlags, MAKELPARAM(5, 5)); }
    bool WaitForHover(bool bHovered) {
        return ModalAnswerer::PumpUntil([&] { return (m_button.IsHovered() != FALSE) == bHovered; }, 1000);
    }
    void Capture() { m_capture.Capture(m_button.m_hWnd); }

    enum class Frame { None, Raised, Sunken };
    ::testing::AssertionResult HasFrame(Frame frame) const {
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
        const COLORREF dark = ::GetSysColor(COLOR_BTNSHADOW);
        COLORREF topLeft = frame == Frame::None ? face : frame == Frame::Raised ? light : dark;
        COLORREF bottomRight = frame == Frame::None ? face : frame == Frame::Raised ? dark : light;
        const int corners[][3] = {{0, 0, 1},           {kWidth - 2, 0, 1},
                                  {0, kHeight - 2, 1}, {kWidth - 1, kHeight - 1, 0},
                                  {kWidth - 1, 1, 0},  {1, kHeight - 1, 0}};
        for (const auto& c : corners) {
            COLORREF want = c[2] ? topLeft : bottomRight;
            if (m_capture.Pixel(c[0], c[1]) != want)
                return ::testing::AssertionFailure()
                       << "pixel (" << c[0] << "," << c[1] << ") is " << std::hex
                       << m_capture.Pixel(c[0], c[1]) << ", expected " << want;
        }
        return ::testing::AssertionSuccess();
    }
    // The 16x16 icon colour fills exactly the square whose top-left corner is (x, y).
    ::testing::AssertionResult IconAt(int x, int y) const {
        RECT icon = {x, y, x + 16, y + 16};
        RECT all = {0, 0, kWidth, kHeight};
        int inside = m_capture.Count(icon, kIconColour);
        int total = m_capture.Count(all, kIconColour);
        if (inside != 256 || total != 256)
            return ::testing::AssertionFailure() << inside << " icon pixels in the square at (" << x << ","
                                                 << y << "), " << total << " in all";
        return ::testing::AssertionSuccess();
    }

    CTestHostWnd m_host{200, 200};
    CImageButton m_button;
    CPixelCapture m_capture{kWidth, kHeight};
};

TEST_F(ImageButtonTest, BecomesOwnerDrawnWithAHollowBackground) {
    EXPECT_EQ(m_button.GetStyle() & BS_TYPEMASK, DWORD(BS_OWNERDRAW));
    HDC hDC = m_capture.GetDC();
    LRESULT brush = m_host.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(hDC),
                                       reinterpret_cast<LPARAM>(m_button.m_hWnd));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), ::GetStockObject(NULL_BRUSH));
}

TEST_F(ImageButtonTest, IconIsCentredAtRestAndMovesOneRightAndDownWhilePressed) {
    m_button.SetIcon(MakeSolidIcon(kIconColour), nullptr);
    EXPECT_EQ(m_button.GetIconSize().cx, 16);
    EXPECT_EQ(m_button.GetIconSize().cy, 16);

    Capture();
    EXPECT_TRUE(HasFrame(Frame::None));
    EXPECT_TRUE(IconAt(4, 3));

    m_button.SendMessage(BM_SETSTATE, TRUE);
    Capture();
    EXPECT_TRUE(HasFrame(Frame::Sunken));
    EXPECT_TRUE(IconAt(5, 4));

    m_button.SendMessage(BM_SETSTATE, FALSE);
    Capture();
    EXPECT_TRUE(IconAt(4, 3));
}

TEST_F(ImageButtonTest, DisabledIconIsEmbossed) {
    m_button.SetIcon(MakeSolidIcon(kIconColour), nullptr);
    m_button.EnableWindow(FALSE);
    Capture();
    RECT all = {0, 0, kWidth, kHeight};
    EXPECT_EQ(m_capture.Count(all, kIconColour), 0);
    // The shape in shadow, its highlight one pixel down and right showing at the far edges.
    EXPECT_EQ(m_capture.Pixel(4, 3), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(m_capture.Pixel(19, 18), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(m_capture.Pixel(20, 19), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(m_capture.Pixel(3, 3), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(ImageButtonTest, MissingIconResourceDrawsTheFaceOnly) {
    m_button.SetIcon(9999, 0);
    EXPECT_EQ(m_button.GetActiveIcon(), nullptr);
    EXPECT_EQ(m_button.GetIconSize().cx, 0);
    EXPECT_EQ(m_button.GetIconSize().cy, 0);

    Capture();
    RECT all = {0, 0, kWidth, kHeight};
    EXPECT_EQ(m_capture.Count(all, ::GetSysColor(COLOR_BTNFACE)), kWidth * kHeight);

    m_button.SendMessage(BM_SETSTATE, TRUE);
    Capture();
    EXPECT_TRUE(HasFrame(Frame::Sunken));
    RECT inner = {1, 1, kWidth - 1, kHeight - 1};
    EXPECT_EQ(m_capture.Count(inner, ::GetSysColor(COLOR_BTNFACE)), (kWidth - 2) * (kHeight - 2));
}

TEST_F(ImageButtonTest, IconsLoadFromTheApplicationResources) {
    m_button.SetIcon(IDI_NEW_BOOK, 0);
    ASSERT_NE(m_button.GetActiveIcon(), nullptr);
    EXPECT_EQ(m_button.GetRestIcon(), m_button.GetActiveIcon());
    EXPECT_EQ(m_button.GetIconSize().cx, 16);
    EXPECT_EQ(m_button.GetIconSize().cy, 16);

    Capture();
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    RECT icon = {4, 3, 20, 19};
    EXPECT_LT(m_capture.Count(icon, face), 256) << "the icon drew nothing";
    EXPECT_EQ(m_capture.Count(RECT{0, 0, kWidth, kHeight}, face),
              m_capture.Count(icon, face) + kWidth * kHeight - 256)
        << "the icon drew outside its square";

    m_button.SetIcon(IDI_NEW_BOOK, IDI_OPEN_BOOK);
    EXPECT_NE(m_button.GetRestIcon(), nullptr);
    EXPECT_NE(m_button.GetRestIcon(), m_button.GetActiveIcon());
}

TEST_F(ImageButtonTest, HoverFrameFollowsThePointerWhileTheParentIsActive) {
    m_button.SetIcon(MakeSolidIcon(kIconColour), nullptr);
    ASSERT_TRUE(m_host.Activate());
    EXPECT_FALSE(HasTimer(m_button.m_hWnd));

    PointAtButton();
    MouseMove();
    ASSERT_TRUE(WaitForHover(true));
    Capture();
    EXPECT_TRUE(HasFrame(Frame::Raised));
    EXPECT_TRUE(IconAt(4, 3));
    EXPECT_TRUE(HasTimer(m_button.m_hWnd)) << "polling stopped while hovered";

    // Held down while hovered: sunken, icon moved.
    m_button.SendMessage(BM_SETSTATE, TRUE);
    Capture();
    EXPECT_TRUE(HasFrame(Frame::Sunken));
    EXPECT_TRUE(IconAt(5, 4));
    m_button.SendMessage(BM_SETSTATE, FALSE);

    PointAway();
    ASSERT_TRUE(WaitForHover(false));
    EXPECT_FALSE(HasTimer(m_button.m_hWnd)) << "polling went on after the pointer left";
    Capture();
    EXPECT_TRUE(HasFrame(Frame::None));
}

TEST_F(ImageButtonTest, PointerDraggedInWithTheButtonHeldStartsNoPolling) {
    ASSERT_TRUE(m_host.Activate());
    MouseMove(MK_LBUTTON);
    EXPECT_FALSE(HasTimer(m_button.m_hWnd));

    // Polling already started keeps running through a move with the button held.
    MouseMove();
    MouseMove(MK_LBUTTON);
    EXPECT_TRUE(HasTimer(m_button.m_hWnd));
    // The pointer is not over the button: the first tick stops the timer.
    EXPECT_TRUE(ModalAnswerer::PumpUntil([&] { return !HasTimer(m_button.m_hWnd); }, 1000));
    EXPECT_FALSE(m_button.IsHovered());
}

TEST_F(ImageButtonTest, NoFrameAndNoPollingWhileAnotherWindowIsActive) {
    CTestHostWnd other(600, 500, 100, 60);
    ASSERT_TRUE(other.Activate());
    PointAtButton();
    MouseMove();
    EXPECT_TRUE(ModalAnswerer::PumpUntil([&] { return !HasTimer(m_button.m_hWnd); }, 1000))
        << "polling went on while another window was active";
    EXPECT_FALSE(m_button.IsHovered());

    // Hovered, then the parent loses the activation: the next tick drops the frame.
    ASSERT_TRUE(m_host.Activate());
    MouseMove();
    ASSERT_TRUE(WaitForHover(true));
    ASSERT_TRUE(other.Activate());
    ASSERT_TRUE(WaitForHover(false));
    EXPECT_FALSE(HasTimer(m_button.m_hWnd));
}

TEST_F(ImageButtonTest, LosingTheFocusDropsTheFrameUntilTheNextTick) {
    ASSERT_TRUE(m_host.Activate());
    PointAtButton();
    MouseMove();
    ASSERT_TRUE(WaitForHover(true));

    m_button.SendMessage(WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(m_button.IsHovered());
    EXPECT_TRUE(HasTimer(m_button.m_hWnd));
    EXPECT_TRUE(WaitForHover(true)) << "the pointer is still over the button";
}

TEST_F(ImageButtonTest, CaptureChangeWhileHoveredReleasesTheCaptureAndKeepsTheFrame) {
    ASSERT_TRUE(m_host.Activate());
    PointAtButton();
    MouseMove();
    ASSERT_TRUE(WaitForHover(true));

    ::SetCapture(m_button.m_hWnd);
    m_button.SendMessage(WM_CAPTURECHANGED, 0, 0);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_TRUE(m_button.IsHovered());
}

TEST_F(ImageButtonTest, DoubleClickPressesTheButtonTwice) {
    const LPARAM at = MAKELPARAM(5, 5);
    m_button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    m_button.SendMessage(WM_LBUTTONUP, 0, at);
    m_button.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    m_button.SendMessage(WM_LBUTTONUP, 0, at);
    ModalAnswerer::PumpPending();
    EXPECT_EQ(m_host.CountCommands(kButtonId, BN_CLICKED), 2);
    EXPECT_EQ(m_host.CountCommands(kButtonId, BN_DOUBLECLICKED), 0);
}

// DestroyIcon as the button calls it, counted per handle and then done for real.
std::map<HICON, int> g_destroyed;
BOOL WINAPI CountingDestroyIcon(HICON hIcon);
CImportHook* g_pDestroyHook = nullptr;

BOOL WINAPI CountingDestroyIcon(HICON hIcon) {
    ++g_destroyed[hIcon];
    auto pfnReal = reinterpret_cast<BOOL(WINAPI*)(HICON)>(g_pDestroyHook->Original());
    return pfnReal(hIcon);
}

class ImageButtonIconOwnershipTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_destroyed.clear();
        g_pDestroyHook = &m_hook;
        ASSERT_TRUE(m_hook.IsInstalled());
    }
    void TearDown() override { g_pDestroyHook = nullptr; }

    CImportHook m_hook{"user32.dll", "DestroyIcon", reinterpret_cast<void*>(&CountingDestroyIcon)};
};

TEST_F(ImageButtonIconOwnershipTest, AnIconUsedForBothStatesIsDestroyedOnce) {
    HICON a = MakeSolidIcon(kIconColour);
    HICON b = MakeSolidIcon(kIconColour);
    {
        CImageButton button;
        button.SetIcon(a, nullptr);
        EXPECT_EQ(button.GetRestIcon(), a);
        button.SetIcon(a, nullptr);  // the same again: still owned, still alive
        EXPECT_EQ(g_destroyed[a], 0);
        button.SetIcon(b, b);
        EXPECT_EQ(g_destroyed[a], 1);
    }
    EXPECT_EQ(g_destroyed[a], 1);
    EXPECT_EQ(g_destroyed[b], 1);
}

TEST_F(ImageButtonIconOwnershipTest, SeparateIconsAreEachDestroyedOnce) {
    HICON active = MakeSolidIcon(kIconColour);
    HICON rest = MakeSolidIcon(kIconColour);
    HICON next = MakeSolidIcon(kIconColour);
    {
        CImageButton button;
        button.SetIcon(active, rest);
        button.SetIcon(next, nullptr);
        EXPECT_EQ(g_destroyed[active], 1);
        EXPECT_EQ(g_destroyed[rest], 1);
        EXPECT_EQ(g_destroyed[next], 0);
    }
    EXPECT_EQ(g_destroyed[next], 1);
    EXPECT_EQ(g_destroyed.size(), 3u);
}

}  // namespace
