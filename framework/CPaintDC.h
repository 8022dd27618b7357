// BeginPaint in the constructor, EndPaint in the destructor.
#pragma once

#include "CDC.h"

class CWnd;

class CPaintDC : public CDC {
public:
    PAINTSTRUCT m_ps{};

    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

private:
    HWND m_hWnd;
};
