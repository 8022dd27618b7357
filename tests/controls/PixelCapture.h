// A window's client area as the window paints it into a memory bitmap (WM_PRINTCLIENT), so
// tests can read its pixels whatever the screen shows.
#pragma once

#include <windows.h>

class CPixelCapture {
public:
    static constexpr COLORREF kUnpainted = RGB(255, 0, 255);

    CPixelCapture(int cx, int cy);
    ~CPixelCapture();
    CPixelCapture(const CPixelCapture&) = delete;
    CPixelCapture& operator=(const CPixelCapture&) = delete;

    // Fills the bitmap with kUnpainted, then lets the window paint its client area into it.
    void Capture(HWND hWnd);
    COLORREF Pixel(int x, int y) const;
    // How many pixels of the rectangle have exactly this colour.
    int Count(const RECT& rect, COLORREF color) const;
    HDC GetDC() const { return m_hDC; }
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }

private:
    int m_cx;
    int m_cy;
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOldBitmap;
    const DWORD* m_pBits = nullptr;
};
