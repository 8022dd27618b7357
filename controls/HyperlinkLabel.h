// A static text that acts as a web link: drawn underlined in link colours, with its address as
// a tip, fitted to its text; a click opens the address through the shell, or through the
// registry's handler of ".htm" files, and a failure is reported with its reason.
#pragma once

#include <string>

#include "Framework.h"

class CHyperlinkLabel : public CStatic {
public:
    // The calls that reach outside the program. Tests replace them so that nothing is opened
    // and nothing sounds; by default they are the system's own.
    struct PlatformCalls {
        HINSTANCE(WINAPI* pfnShellExecute)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
        UINT(WINAPI* pfnWinExec)(LPCSTR, UINT);
        BOOL(WINAPI* pfnMessageBeep)(UINT);

        static const PlatformCalls& Active();
        // Null restores the system's calls.
        static void SetActive(const PlatformCalls* calls);
    };

    static constexpr COLORREF kLinkColour = RGB(0, 0, 238);
    static constexpr COLORREF kVisitedColour = RGB(85, 26, 139);
    static constexpr UINT_PTR kTipToolId = 1;

    CHyperlinkLabel();
    ~CHyperlinkLabel() override;

    void SetVisited(BOOL bVisited);
    BOOL IsVisited() const { return m_bVisited; }
    const std::string& GetLink() const { return m_strLink; }
    CToolTipCtrl& GetToolTip() { return m_ToolTip; }

    // Opens the address; a result above 32 means success, anything else is a shell error code.
    static int OpenLink(const char* lpszAddress, int nShowCmd);
    static void ShowLinkError(int nError);
    // The message ShowLinkError shows for the code.
    static std::string LinkErrorText(int nError);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PreSubclassWindow() override;

    // void OnClicked(), STN_CLICKED reflected from the parent
    void OnClicked();
    // HBRUSH CtlColor(CDC* pDC, UINT nCtlColor), reflected from the parent
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    // BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

private:
    void FitToText();

    BOOL m_bVisited = FALSE;
    std::string m_strLink;
    CFont m_UnderlineFont;       // made at the first paint from the control's own font
    HFONT m_hOwnFont = nullptr;  // the control's font before the underlined one replaced it
    HCURSOR m_hLinkCursor = nullptr;
    CToolTipCtrl m_ToolTip;

    DECLARE_MESSAGE_MAP()
};
