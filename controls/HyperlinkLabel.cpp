#include "HyperlinkLabel.h"

#include <shellapi.h>
#include <mbstring.h>

#include <cstdio>
#include <cstring>

namespace {

const CHyperlinkLabel::PlatformCalls* g_pCalls = nullptr;

// The reasons ShellExecute and WinExec give for a failure, by their result.
struct LinkErrorReason {
    int nCode;
    const char* pszText;
};

constexpr LinkErrorReason kReasons[] = {
    {0, "The operating system is out\nof memory or resources."},
    {ERROR_FILE_NOT_FOUND, "The specified file was not found."},
    {ERROR_PATH_NOT_FOUND, "The specified path was not found."},
    {SE_ERR_ACCESSDENIED, "The operating system denied\naccess to the specified file."},
    {SE_ERR_OOM, "There was not enough memory to complete the operation."},
    {ERROR_BAD_FORMAT, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {SE_ERR_SHARE, "A sharing violation occurred. "},
    {SE_ERR_ASSOCINCOMPLETE, "The filename association is\nincomplete or invalid."},
    {SE_ERR_DDETIMEOUT, "The DDE transaction could not\nbe completed because the request timed out."},
    {SE_ERR_DDEFAIL, "The DDE transaction failed."},
    {SE_ERR_DDEBUSY,
     "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
    {SE_ERR_NOASSOC, "There is no application associated\nwith the given filename extension."},
    {SE_ERR_DLLNOTFOUND, "The specified dynamic-link library was not found."},
};

constexpr size_t kCommandBufferSize = 520;

}  // namespace

BEGIN_MESSAGE_MAP(CHyperlinkLabel, CStatic)
    // void OnClicked()
    ON_CONTROL_REFLECT(STN_CLICKED, &CHyperlinkLabel::OnClicked)
    // HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
    ON_WM_CTLCOLOR_REFLECT()
    // BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

const CHyperlinkLabel::PlatformCalls& CHyperlinkLabel::PlatformCalls::Active() {
    static const PlatformCalls system{&::ShellExecuteA, &::WinExec, &::MessageBeep};
    return g_pCalls != nullptr ? *g_pCalls : system;
}

void CHyperlinkLabel::PlatformCalls::SetActive(const PlatformCalls* calls) {
    g_pCalls = calls;
}

CHyperlinkLabel::CHyperlinkLabel() = default;

// The underlined font and the tip go with their members; the window stays with its dialog,
// and must not keep drawing with a font that is about to be deleted.
CHyperlinkLabel::~CHyperlinkLabel() {
    if (m_hWnd != nullptr && m_UnderlineFont.m_hObject != nullptr &&
        SendMessage(WM_GETFONT) == reinterpret_cast<LRESULT>(m_UnderlineFont.m_hObject))
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_hOwnFont), FALSE);
}

void CHyperlinkLabel::PreSubclassWindow() {
    ::SetWindowLongA(m_hWnd, GWL_STYLE, LONG(GetStyle() | SS_NOTIFY));  // or no clicks are reported

    if (m_strLink.empty())
        GetWindowText(m_strLink);
    if (GetWindowTextLength() == 0)
        SetWindowText(m_strLink);

    FitToText();

    m_hLinkCursor = ::LoadCursorA(nullptr, IDC_ARROW);

    if (m_ToolTip.Create(this)) {
        CRect client;
        GetClientRect(&client);
        m_ToolTip.AddTool(this, m_strLink.c_str(), &client, kTipToolId);
    }

    CStatic::PreSubclassWindow();
}

void CHyperlinkLabel::FitToText() {
    CRect rect;
    GetWindowRect(&rect);
    ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&rect), 2);

    std::string text;
    GetWindowText(text);
    CClientDC dc(this);
    // Measured in the font the text is drawn in; the underline does not change the extent.
    HGDIOBJ hOldFont = nullptr;
    if (HFONT hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)))
        hOldFont = dc.SelectObject(hFont);
    SIZE extent = dc.GetTextExtent(text.data(), int(text.size()));
    if (hOldFont != nullptr)
        dc.SelectObject(hOldFont);

    SetWindowPos(nullptr, rect.left, rect.top, extent.cx, extent.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CHyperlinkLabel::PreTranslateMessage(MSG* pMsg) {
    if (m_ToolTip.m_hWnd != nullptr)
        m_ToolTip.RelayEvent(pMsg);
    return CStatic::PreTranslateMessage(pMsg);
}

HBRUSH CHyperlinkLabel::CtlColor(CDC* pDC, UINT) {
    pDC->SetTextColor(m_bVisited ? kVisitedColour : kLinkColour);
    if (m_UnderlineFont.m_hObject == nullptr) {
        // A static without a font of its own draws in the system font.
        m_hOwnFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        HGDIOBJ hFont = m_hOwnFont != nullptr ? m_hOwnFont : ::GetStockObject(SYSTEM_FONT);
        LOGFONTA lf{};
        if (::GetObjectA(hFont, sizeof(lf), &lf) == int(sizeof(lf))) {
            lf.lfUnderline = TRUE;
            m_UnderlineFont.CreateFontIndirect(&lf);
        }
        // Some static controls select their own font after asking for the colours, which would
        // undo the selection below: make the underlined font the control's own as well.
        if (m_UnderlineFont.m_hObject != nullptr)
            SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_UnderlineFont.m_hObject), FALSE);
    }
    if (m_UnderlineFont.m_hObject != nullptr)
        pDC->SelectObject(&m_UnderlineFont);
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CHyperlinkLabel::OnSetCursor(CWnd*, UINT, UINT) {
    ::SetCursor(m_hLinkCursor);
    return TRUE;
}

void CHyperlinkLabel::SetVisited(BOOL bVisited) {
    m_bVisited = bVisited;
    Invalidate(TRUE);
}

void CHyperlinkLabel::OnClicked() {
    int nResult = OpenLink(m_strLink.c_str(), SW_SHOW);
    m_bVisited = nResult > 32 ? TRUE : FALSE;
    if (m_bVisited) {
        SetVisited(TRUE);
        return;
    }
    // The colour follows the cleared flag at the next repaint.
    PlatformCalls::Active().pfnMessageBeep(MB_ICONEXCLAMATION);
    ShowLinkError(nResult);
}

int CHyperlinkLabel::OpenLink(const char* lpszAddress, int nShowCmd) {
    int nResult = int(reinterpret_cast<INT_PTR>(
        PlatformCalls::Active().pfnShellExecute(nullptr, "open", lpszAddress, nullptr, nullptr, nShowCmd)));
    if (UINT(nResult) > 32)
        return nResult;

    // The shell could not open it: run the browser that opens ".htm" files, as its registered
    // command line says, with the address in place of the file.
    char command[kCommandBufferSize] = {};
    if (AfxReadRegistryDefault(HKEY_CLASSES_ROOT, ".htm", command) != ERROR_SUCCESS)
        return nResult;
    std::string key = std::string(command) + "\\shell\\open\\command";
    if (AfxReadRegistryDefault(HKEY_CLASSES_ROOT, key.c_str(), command) != ERROR_SUCCESS)
        return nResult;

    auto* pszCommand = reinterpret_cast<unsigned char*>(command);
    unsigned char* pCut = _mbsstr(pszCommand, reinterpret_cast<const unsigned char*>("\"%1\""));
    if (pCut == nullptr)
        pCut = _mbsstr(pszCommand, reinterpret_cast<const unsigned char*>("%1"));
    if (pCut != nullptr)
        *pCut = '\0';

    // A command line that would not fit is not run cut short: the shell's failure stands.
    std::string line = std::string(command) + " " + lpszAddress;
    if (line.size() + 1 > sizeof(command))
        return nResult;
    return int(PlatformCalls::Active().pfnWinExec(line.c_str(), UINT(nShowCmd)));
}

std::string CHyperlinkLabel::LinkErrorText(int nError) {
    std::string text = "Unable to open hyperlink:\n\n";
    for (const LinkErrorReason& reason : kReasons) {
        if (reason.nCode == nError)
            return text + reason.pszText;
    }
    char unknown[64];
    std::snprintf(unknown, sizeof(unknown), "Unknown Error (%d) occurred.", nError);
    return text + unknown;
}

void CHyperlinkLabel::ShowLinkError(int nError) {
    AfxMessageBox(LinkErrorText(nError).c_str(), MB_OK | MB_ICONEXCLAMATION);
}
