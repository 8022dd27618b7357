// The About box run modally from its template, answered from inside its own modal loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "AboutDlg.h"
#include "FakeLinkPlatform.h"
#include "ModalAnswerer.h"
#include "PixelCapture.h"

namespace {

constexpr const char* kAddress = "http://kelvra.example/";

TEST(AboutDlgTest, ShowsTheMakersAddressAsALinkFittedToItsText) {
    CAboutDlg dlg;
    CRect link, expectedAt;
    SIZE extent{};
    int linkPixels = 0, underlinePixels = 0;
    // Any caption: the test checks it below.
    ModalAnswerer::Expectation about = ModalAnswerer::Press("", IDOK);
    about.action = [&](HWND hDlg) {
        HWND hLink = ::GetDlgItem(hDlg, IDC_LINK);
        ::GetWindowRect(hLink, &link);
        ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&link), 2);
        expectedAt = CRect(74, 40, 74, 40);
        ::MapDialogRect(hDlg, &expectedAt);
        // Measured in the dialog's font, which the link draws in.
        HDC hDC = ::GetDC(hLink);
        HGDIOBJ hOld =
            ::SelectObject(hDC, reinterpret_cast<HGDIOBJ>(::SendMessageA(hLink, WM_GETFONT, 0, 0)));
        ::GetTextExtentPoint32A(hDC, kAddress, int(strlen(kAddress)), &extent);
        ::SelectObject(hDC, hOld);
        ::ReleaseDC(hLink, hDC);
        // Painted through the dialog: link colour, underlined along its bottom rows.
        CPixelCapture capture(link.Width(), link.Height());
        capture.Capture(hLink);
        linkPixels = capture.Count(RECT{0, 0, link.Width(), link.Height()}, CHyperlinkLabel::kLinkColour);
        for (int y = link.Height() / 2; y < link.Height(); ++y)
            underlinePixels = std::max(underlinePixels, capture.Count(RECT{0, y, link.Width(), y + 1},
                                                                      CHyperlinkLabel::kLinkColour));
    };
    ModalAnswerer answerer;
    answerer.Expect(about);

    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, "About Kelvra Quire Binder");
    EXPECT_EQ(dlg.m_Link.GetLink(), kAddress);
    EXPECT_EQ(link.TopLeft().x, expectedAt.left);
    EXPECT_EQ(link.TopLeft().y, expectedAt.top);
    EXPECT_EQ(link.Width(), extent.cx);
    EXPECT_EQ(link.Height(), extent.cy);
    EXPECT_GT(extent.cx, 0);
    EXPECT_GT(linkPixels, 0);
    EXPECT_GE(underlinePixels * 10, link.Width() * 9);
}

TEST(AboutDlgTest, ClickingTheLinkOpensItAndTurnsItVisited) {
    CFakeLinkPlatform platform;
    CAboutDlg dlg;
    bool visited = false;
    ModalAnswerer::Expectation about = ModalAnswerer::Press("About Kelvra Quire Binder", IDOK);
    about.action = [&](HWND hDlg) {
        HWND hLink = ::GetDlgItem(hDlg, IDC_LINK);
        ::SendMessageA(hLink, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::SendMessageA(hLink, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        visited = dlg.m_Link.IsVisited() != FALSE;
    };
    // A message box about the link would open inside the action, which the answerer does not
    // re-enter: its deadline closes the box and fails the test, so keep it short.
    ModalAnswerer answerer(5000);
    answerer.Expect(about);

    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(platform.m_shellCalls.size(), 1u);
    EXPECT_EQ(platform.m_shellCalls[0].file, kAddress);
    EXPECT_TRUE(visited);
    EXPECT_TRUE(platform.m_beeps.empty());
    ASSERT_EQ(answerer.Seen().size(), 1u) << "only the About box itself";
}

}  // namespace
