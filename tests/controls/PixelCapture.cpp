#include "PixelCapture.h"

CPixelCapture::CPixelCapture(int cx, int cy) : m_cx(cx), m_cy(cy), m_hDC(::CreateCompatibleDC(nullptr)) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;  // top-down: row 0 is the top
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    m_hBitmap = ::CreateDIBSection(m_hDC, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    m_pBits = static_cast<const DWORD*>(pBits);
    m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
}

CPixelCapture::~CPixelCapture() {
    ::SelectObject(m_hDC, m_hOldBitmap);
    ::DeleteObject(m_hBitmap);
    ::DeleteDC(m_hDC);
}

void CPixelCapture::Capture(HWND hWnd) {
    HBRUSH hBrush = ::CreateSolidBrush(kUnpainted);
    RECT all = {0, 0, m_cx, m_cy};
    ::FillRect(m_hDC, &all, hBrush);
    ::DeleteObject(hBrush);
    ::SendMessageA(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(m_hDC), PRF_CLIENT);
    ::GdiFlush();
}

COLORREF CPixelCapture::Pixel(int x, int y) const {
    DWORD bgr = m_pBits[y * m_cx + x];
    return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
}

int CPixelCapture::Count(const RECT& rect, COLORREF color) const {
    int n = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x)
            n += Pixel(x, y) == color ? 1 : 0;
    }
    return n;
}
