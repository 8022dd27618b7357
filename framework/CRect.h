// A RECT with constructors and the size helpers layout code uses.
#pragma once

#include <windows.h>

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& rc) : RECT(rc) {}  // NOLINT(google-explicit-constructor): RECT and CRect mix freely

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool PtInRect(POINT pt) const { return ::PtInRect(this, pt) != FALSE; }
    POINT TopLeft() const { return POINT{left, top}; }

    bool operator==(const RECT& rc) const { return ::EqualRect(this, &rc) != FALSE; }
    bool operator!=(const RECT& rc) const { return !(*this == rc); }
    operator LPRECT() { return this; }         // NOLINT(google-explicit-constructor)
    operator LPCRECT() const { return this; }  // NOLINT(google-explicit-constructor)
};
