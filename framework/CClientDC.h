// GetDC in the constructor, ReleaseDC in the destructor; movable, not copyable.
#pragma once

#include "CDC.h"

class CWnd;

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);  // null: the screen
    CClientDC(CClientDC&& other) noexcept;
    CClientDC& operator=(CClientDC&&) = delete;
    ~CClientDC() override;

private:
    HWND m_hWnd;
};
