// A static control. Derived classes react to its reflected notifications (STN_CLICKED with
// SS_NOTIFY) and colour requests through ON_CONTROL_REFLECT and ON_WM_CTLCOLOR_REFLECT.
#pragma once

#include "CWnd.h"

class CStatic : public CWnd {
public:
    HICON SetIcon(HICON hIcon);
};
