// Runs the main window the way the program does (modal, the application's pre-translation, the
// application's main window) and gives a test its turn inside the window's modal loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class CTestMainDlg;

namespace WindowRunner {

// DoModal's result when the window was still open after the test's body: the harness ended it.
constexpr INT_PTR kStillOpen = 4242;

// Shows `dlg` modally; once it is visible (and no window of its own disables it), runs `body`
// inside its modal loop. If the body leaves the window open, the window is ended with kStillOpen
// at the first idle moment after the body returned with no other window open, so anything the
// body's messages started (closing, with its questions answered) wins over it.
// Returns DoModal's result.
INT_PTR Run(CTestMainDlg& dlg, const std::function<void(CTestMainDlg&)>& body);

// A key pressed (and released) on the focused window, with Ctrl or Shift held if asked. The keyboard
// state is set directly, so the result never depends on which window the desktop thinks is active.
void PressKey(HWND hFocus, WORD vk, bool bCtrl = false, bool bShift = false);

std::string WindowText(HWND hWnd);

}  // namespace WindowRunner
