// The hyperlink label on a real static control: attaching, painting read back from its pixels,
// clicks through the shell and the registry's ".htm" handler (both behind a fake, so nothing
// is opened), and the error message as the user sees it.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "FakeLinkPlatform.h"
#include "HtmHandlerScope.h"
#include "HyperlinkLabel.h"
#include "ModalAnswerer.h"
#include "PixelCapture.h"
#include "TestHostWnd.h"
#include "resource.h"

namespace {

constexpr const char* kAddress = "http://kelvra.example/";
const std::string kPrefix = "Unable to open hyperlink:\n\n";

// The message box a failed link shows, pressed OK; the tests check its caption and text.
ModalAnswerer::Expectation LinkErrorBox() {
    return ModalAnswerer::Press("", IDOK);
}

class HyperlinkLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(m_host.m_hWnd, nullptr);
        HWND hStatic = m_host.CreateChild("Static", kAddress, SS_LEFT, {10, 20, 210, 50}, IDC_LINK);
        ASSERT_NE(hStatic, nullptr);
        ::SendMessageA(hStatic, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), FALSE);
        ASSERT_TRUE(m_label.SubclassDlgItem(IDC_LINK, &m_host));
    }
    void TearDown() override {
        m_label.DestroyWindow();
        ::DeleteObject(m_hFont);
    }

    void Click() {
        m_label.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        m_label.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }
    SIZE TextExtent() const {
        HDC hDC = ::GetDC(m_label.m_hWnd);
        HGDIOBJ hOld = ::SelectObject(hDC, m_hFont);
        SIZE size{};
        ::GetTextExtentPoint32A(hDC, kAddress, int(strlen(kAddress)), &size);
        ::SelectObject(hDC, hOld);
        ::ReleaseDC(m_label.m_hWnd, hDC);
        return size;
    }
    // The label as it paints itself: how many pixels of each colour, and whether one row is
    // (nearly) all of that colour, as an underline is.
    struct Painted {
        int link = 0;
        int visited = 0;
        bool underlined = false;
    };
    Painted Paint(HWND hLabel = nullptr) const {
        if (hLabel == nullptr)
            hLabel = m_label.m_hWnd;
        CRect client;
        ::GetClientRect(hLabel, &client);
        CPixelCapture capture(client.Width(), client.Height());
        capture.Capture(hLabel);
        Painted painted;
        for (int y = 0; y < client.Height(); ++y) {
            RECT row = {0, y, client.Width(), y + 1};
            int link = capture.Count(row, CHyperlinkLabel::kLinkColour);
            int visited = capture.Count(row, CHyperlinkLabel::kVisitedColour);
            painted.link += link;
            painted.visited += visited;
            painted.underlined |= std::max(link, visited) * 10 >= client.Width() * 9;
        }
        return painted;
    }

    CFakeLinkPlatform m_platform;
    HFONT m_hFont = ::CreateFontA(-11,
                                  0,
                                  0,
                                  0,
                                  FW_NORMAL,
                                  FALSE,
                                  FALSE,
                                  FALSE,
                                  ANSI_CHARSET,
                                  OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY,
                                  DEFAULT_PITCH,
                                  "MS Sans Serif");
    CTestHostWnd m_host{200, 200, 300, 100};
    CHyperlinkLabel m_label;
};

TEST_F(HyperlinkLabelTest, AttachingTakesTheAddressFitsTheTextAndAddsNotifyAndTip) {
    EXPECT_EQ(m_label.GetLink(), kAddress);
    EXPECT_TRUE(m_label.GetStyle() & SS_NOTIFY);

    CRect rect;
    m_label.GetWindowRect(&rect);
    m_host.ScreenToClient(&rect);
    SIZE extent = TextExtent();
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.Width(), extent.cx);
    EXPECT_EQ(rect.Height(), extent.cy);

    CToolTipCtrl& tip = m_label.GetToolTip();
    ASSERT_NE(tip.m_hWnd, nullptr);
    ASSERT_EQ(tip.SendMessage(TTM_GETTOOLCOUNT), 1);
    char text[128] = {};
    TOOLINFOA ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = m_label.m_hWnd;
    ti.uId = CHyperlinkLabel::kTipToolId;
    ti.lpszText = text;
    tip.SendMessage(TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(text, kAddress);
    ASSERT_TRUE(tip.SendMessage(TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_EQ(CRect(ti.rect), CRect(0, 0, extent.cx, extent.cy));

    // The pointer over the link is the standard arrow.
    EXPECT_TRUE(m_label.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_label.m_hWnd),
                                    MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(HyperlinkLabelTest, PaintsUnderlinedInTheLinkColourWithoutABackground) {
    CPixelCapture dc(8, 8);
    LRESULT brush = m_host.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.GetDC()),
                                       reinterpret_cast<LPARAM>(m_label.m_hWnd));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), ::GetStockObject(NULL_BRUSH));
    EXPECT_EQ(::GetTextColor(dc.GetDC()), CHyperlinkLabel::kLinkColour);
    EXPECT_EQ(::GetBkMode(dc.GetDC()), TRANSPARENT);
    HGDIOBJ hUnderlined = ::GetCurrentObject(dc.GetDC(), OBJ_FONT);
    LOGFONTA made{}, own{};
    ::GetObjectA(hUnderlined, sizeof(made), &made);
    ::GetObjectA(m_hFont, sizeof(own), &own);
    EXPECT_EQ(made.lfUnderline, 1);
    EXPECT_EQ(made.lfHeight, own.lfHeight);
    EXPECT_STREQ(made.lfFaceName, own.lfFaceName);

    // Made once: every later paint selects the same font.
    m_host.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.GetDC()),
                       reinterpret_cast<LPARAM>(m_label.m_hWnd));
    EXPECT_EQ(::GetCurrentObject(dc.GetDC(), OBJ_FONT), hUnderlined);
    ::SelectObject(dc.GetDC(), ::GetStockObject(SYSTEM_FONT));

    Painted painted = Paint();
    EXPECT_GT(painted.link, 0);
    EXPECT_EQ(painted.visited, 0);
    EXPECT_TRUE(painted.underlined);
}

TEST_F(HyperlinkLabelTest, AControlThatOutlivesItsLabelGetsItsOwnFontBack) {
    HWND hStatic = m_label.m_hWnd;
    {
        CHyperlinkLabel label;
        m_label.UnsubclassWindow();
        ASSERT_TRUE(label.SubclassWindow(hStatic));
        EXPECT_TRUE(Paint(hStatic).underlined);
        EXPECT_NE(::SendMessageA(hStatic, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(m_hFont));
    }
    EXPECT_EQ(::SendMessageA(hStatic, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(m_hFont));
    ::DestroyWindow(hStatic);
}

TEST_F(HyperlinkLabelTest, SuccessfulClickOpensTheAddressAndTurnsVisitedAtOnce) {
    ModalAnswerer answerer;
    Click();
    ASSERT_EQ(m_platform.m_shellCalls.size(), 1u);
    const CFakeLinkPlatform::ShellCall& call = m_platform.m_shellCalls[0];
    EXPECT_EQ(call.hWnd, nullptr);
    EXPECT_EQ(call.verb, "open");
    EXPECT_EQ(call.file, kAddress);
    EXPECT_FALSE(call.hasParameters);
    EXPECT_FALSE(call.hasDirectory);
    EXPECT_EQ(call.showCmd, SW_SHOW);
    EXPECT_TRUE(m_platform.m_execCalls.empty());
    EXPECT_TRUE(m_platform.m_beeps.empty());
    EXPECT_TRUE(m_label.IsVisited());

    // The whole label was invalidated for repainting in the visited colour.
    RECT update{};
    EXPECT_TRUE(::GetUpdateRect(m_label.m_hWnd, &update, FALSE));
    Painted painted = Paint();
    EXPECT_GT(painted.visited, 0);
    EXPECT_EQ(painted.link, 0);
    EXPECT_TRUE(painted.underlined);

    // A message box, even a late one, is unexpected: the answerer fails the test and cancels it.
    ModalAnswerer::PumpUntil([] { return false; }, 50);
    EXPECT_TRUE(answerer.Seen().empty());
}

TEST_F(HyperlinkLabelTest, ShellFailureWithoutAnHtmHandlerBeepsOnceAndNamesTheReason) {
    if (CHtmHandlerScope::HtmKeyExists())
        GTEST_SKIP() << "this prefix has a .htm key; the case without one cannot be set up";
    m_platform.m_nShellResult = SE_ERR_NOASSOC;
    ModalAnswerer answerer;
    answerer.Expect(LinkErrorBox());
    Click();
    EXPECT_EQ(m_platform.m_beeps, std::vector<UINT>{MB_ICONEXCLAMATION});
    EXPECT_TRUE(m_platform.m_execCalls.empty());
    EXPECT_FALSE(m_label.IsVisited());
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, AfxGetApp()->m_pszAppName);
    EXPECT_EQ(answerer.Seen()[0].text,
              kPrefix + "There is no application associated\nwith the given filename extension.");
}

TEST_F(HyperlinkLabelTest, ShellFailureWithAnHtmTypeWithoutCommandReportsTheShellResult) {
    CHtmHandlerScope handler(nullptr);
    m_platform.m_nShellResult = ERROR_FILE_NOT_FOUND;
    ModalAnswerer answerer;
    answerer.Expect(LinkErrorBox());
    Click();
    EXPECT_EQ(m_platform.m_beeps.size(), 1u);
    EXPECT_TRUE(m_platform.m_execCalls.empty());
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].text, kPrefix + "The specified file was not found.");
}

TEST_F(HyperlinkLabelTest, FallbackRunsTheHtmHandlerWithTheAddressInPlaceOfThePlaceholder) {
    m_platform.m_nShellResult = SE_ERR_NOASSOC;
    struct Case {
        const char* registered;
        std::string run;
    } cases[] = {
        // Cut before the quote: the address follows unquoted after one more blank.
        {"\"C:\\Program Files\\Browser\\browse.exe\" -url \"%1\"",
         std::string("\"C:\\Program Files\\Browser\\browse.exe\" -url  ") + kAddress},
        // Cut at the first bare placeholder; what followed it is dropped.
        {"C:\\Browser\\browse.exe %1 -new", std::string("C:\\Browser\\browse.exe  ") + kAddress},
        // No placeholder: the address is appended after one blank.
        {"C:\\Browser\\browse.exe", std::string("C:\\Browser\\browse.exe ") + kAddress},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.registered);
        CHtmHandlerScope handler(c.registered);
        m_platform.m_execCalls.clear();
        EXPECT_EQ(CHyperlinkLabel::OpenLink(kAddress, SW_SHOW), 33);
        ASSERT_EQ(m_platform.m_execCalls.size(), 1u);
        EXPECT_EQ(m_platform.m_execCalls[0].commandLine, c.run);
        EXPECT_EQ(m_platform.m_execCalls[0].showCmd, UINT(SW_SHOW));
    }
}

TEST_F(HyperlinkLabelTest, FallbackSuccessIsVisitedAndItsFailureIsReportedWithTheWinExecResult) {
    CHtmHandlerScope handler("C:\\Browser\\browse.exe \"%1\"");
    m_platform.m_nShellResult = SE_ERR_NOASSOC;
    ModalAnswerer answerer;
    answerer.Expect(LinkErrorBox());

    Click();
    EXPECT_TRUE(m_label.IsVisited());
    EXPECT_TRUE(m_platform.m_beeps.empty());

    // A later failure clears the flag; the colour follows at the next repaint.
    m_platform.m_nExecResult = ERROR_PATH_NOT_FOUND;
    Click();
    EXPECT_FALSE(m_label.IsVisited());
    EXPECT_EQ(m_platform.m_beeps.size(), 1u);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].text, kPrefix + "The specified path was not found.");
    Painted painted = Paint();
    EXPECT_GT(painted.link, 0);
    EXPECT_EQ(painted.visited, 0);
}

TEST_F(HyperlinkLabelTest, OverlongRegistryValuesAreNotUsed) {
    m_platform.m_nShellResult = SE_ERR_NOASSOC;
    {
        // A command line too long to read is no handler at all.
        CHtmHandlerScope handler(std::string(300, 'x').c_str());
        EXPECT_EQ(CHyperlinkLabel::OpenLink(kAddress, SW_SHOW), SE_ERR_NOASSOC);
        char out[MAX_PATH] = "untouched";
        EXPECT_NE(AfxReadRegistryDefault(
                      HKEY_CLASSES_ROOT,
                      (std::string(CHtmHandlerScope::kFileType) + "\\shell\\open\\command").c_str(), out),
                  ERROR_SUCCESS);
        EXPECT_STREQ(out, "untouched");
    }
    {
        // A command line that the address would make too long is not run cut short.
        CHtmHandlerScope handler((std::string(250, 'x') + " %1").c_str());
        std::string address = "http://kelvra.example/" + std::string(300, 'p');
        EXPECT_EQ(CHyperlinkLabel::OpenLink(address.c_str(), SW_SHOW), SE_ERR_NOASSOC);
        EXPECT_TRUE(m_platform.m_execCalls.empty());
    }
    char out[MAX_PATH] = "untouched";
    EXPECT_EQ(AfxReadRegistryDefault(HKEY_CLASSES_ROOT, "QuireBinderTest.no-such-key", out),
              ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(out, "untouched");
}

TEST(HyperlinkLabelErrorTest, EveryCodeHasItsReasonAndOthersTheUnknownText) {
    const std::pair<int, const char*> reasons[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30,
         "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {4, "Unknown Error (4) occurred."},
        {-1, "Unknown Error (-1) occurred."},
        {33, "Unknown Error (33) occurred."},
    };
    for (const auto& reason : reasons)
        EXPECT_EQ(CHyperlinkLabel::LinkErrorText(reason.first), kPrefix + reason.second) << reason.first;
}

TEST(HyperlinkLabelErrorTest, UnknownCodeIsShownInTheApplicationsExclamationBox) {
    ModalAnswerer answerer;
    answerer.Expect(LinkErrorBox());
    CHyperlinkLabel::ShowLinkError(4);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, AfxGetApp()->m_pszAppName);
    EXPECT_EQ(answerer.Seen()[0].text, kPrefix + "Unknown Error (4) occurred.");
}

}  // namespace
