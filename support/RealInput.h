// Real pointer and key input for the Windows tests and benchmarks: SetCursorPos and SendInput put
// it in the system's input queue, so it reaches whichever window is under the pointer or has the
// focus, with hit-testing, capture, tooltips and accelerators as a user's input would. Clicks and
// keys pump this thread's messages afterwards, so their effects have happened when they return.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class RealInput {
public:
    // The centre of the window, in screen coordinates.
    static POINT CentreOf(HWND hWnd);
    // Moves the pointer to the screen point; the window under it hears of it when the thread pumps.
    static void MoveTo(POINT screen);
    // Moves the pointer to the point and clicks the button there (VK_LBUTTON or VK_RBUTTON).
    static void Click(POINT screen, int button = VK_LBUTTON);
    static void DoubleClick(POINT screen);
    // Presses and releases the key, with Ctrl, Shift and Alt held as asked.
    static void PressKey(WORD vk, bool bCtrl = false, bool bShift = false, bool bAlt = false);
    // Opens a menu of the menu bar with Alt and its letter, then presses each further letter, all
    // queued before the menu's own loop starts reading them.
    static void MenuKeys(const std::vector<WORD>& keys);
    // Types the text (each byte a Latin-1 character) as characters, whatever the keyboard layout.
    static void Type(const std::string& text);

private:
    static void Send(INPUT* inputs, UINT count);
};
