// A device context the wrapper does not own: handlers receive one for a DC that Windows or a
// derived class (CPaintDC, CClientDC) manages; wrap a DC from a draw-item record as CDC dc(hDC). Not
// copyable, so an owning derived object is never sliced into a second owner.
#pragma once

#include <string>

#include <windows.h>

class CGdiObject;

class CDC {
public:
    HDC m_hDC = nullptr;

    CDC() = default;
    explicit CDC(HDC hDC) : m_hDC(hDC) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() = default;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }  // NOLINT(google-explicit-constructor)

    // Colours and modes; each returns the previous value.
    COLORREF SetTextColor(COLORREF crColor);
    COLORREF SetBkColor(COLORREF crColor);
    int SetBkMode(int nBkMode);
    // Returns the previously selected object of the same kind.
    HGDIOBJ SelectObject(HGDIOBJ hObject);
    HGDIOBJ SelectObject(CGdiObject* pObject);

    // Filling and framing.
    void FillRect(const RECT* lpRect, HBRUSH hBrush);
    // Fills with a solid colour; the background colour is left as it was.
    void FillSolidRect(const RECT* lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    void FrameRect(const RECT* lpRect, HBRUSH hBrush);
    // A one-pixel frame: top and left in clrTopLeft, bottom and right in clrBottomRight.
    void Draw3dRect(const RECT* lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);
    BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags);
    void DrawFocusRect(const RECT* lpRect);

    // Text.
    int DrawText(const char* lpszString, int nCount, LPRECT lpRect, UINT nFormat);
    int DrawText(const std::string& str, LPRECT lpRect, UINT nFormat);
    BOOL GetTextMetrics(TEXTMETRICA* lpMetrics) const;
    BOOL GetCharWidth(UINT nFirstChar, UINT nLastChar, LPINT lpBuffer) const;
    SIZE GetTextExtent(const char* lpszString, int nCount) const;

    // Icons.
    BOOL DrawIcon(int x, int y, HICON hIcon);
    // DrawStateA for an icon: position pt, extent size, DST_ICON plus nFlags (e.g. DSS_DISABLED).
    BOOL DrawState(POINT pt, SIZE size, HICON hIcon, UINT nFlags, HBRUSH hBrush = nullptr);
};
