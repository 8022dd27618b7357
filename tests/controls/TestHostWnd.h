// A top-level framework window that hosts the control under test: it reflects owner-draw,
// colour and click notifications to its linked children as a dialog does, and records the
// commands that reach it.
#pragma once

#include <utility>
#include <vector>

#include "Framework.h"

class CTestHostWnd : public CWnd {
public:
    // The client area's top-left corner lands at about (x, y) on the screen.
    CTestHostWnd(int x, int y, int cx = 240, int cy = 160);
    ~CTestHostWnd() override;

    // A child control of the given window class; the caller links it to its object.
    HWND CreateChild(const char* lpszClass, const char* lpszText, DWORD dwStyle, const RECT& rect, int nID);
    // Makes this the active window of the thread (there is no window manager to ask).
    bool Activate();

    // (control id, notification code) of every WM_COMMAND, in order.
    std::vector<std::pair<UINT, UINT>> m_commands;
    int CountCommands(UINT nID, UINT nCode) const;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};
