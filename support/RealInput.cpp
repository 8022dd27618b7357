#include "RealInput.h"

#include <vector>

#include "ModalAnswerer.h"

namespace {

INPUT KeyInput(WORD vk, WORD scan, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    return input;
}

INPUT MouseInput(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

}  // namespace

POINT RealInput::CentreOf(HWND hWnd) {
    RECT rect = {};
    ::GetWindowRect(hWnd, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void RealInput::MoveTo(POINT screen) {
    ::SetCursorPos(screen.x, screen.y);
}

void RealInput::Click(POINT screen, int button) {
    MoveTo(screen);
    bool bRight = button == VK_RBUTTON;
    INPUT inputs[] = {MouseInput(bRight ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
                      MouseInput(bRight ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)};
    Send(inputs, 2);
}

void RealInput::DoubleClick(POINT screen) {
    MoveTo(screen);
    INPUT inputs[] = {MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP),
                      MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)};
    Send(inputs, 4);
}

void RealInput::PressKey(WORD vk, bool bCtrl, bool bShift, bool bAlt) {
    std::vector<INPUT> inputs;
    const WORD modifiers[] = {WORD(bCtrl ? VK_CONTROL : 0), WORD(bShift ? VK_SHIFT : 0), WORD(bAlt ? VK_MENU : 0)};
    for (WORD modifier : modifiers) {
        if (modifier != 0)
            inputs.push_back(KeyInput(modifier, 0, 0));
    }
    inputs.push_back(KeyInput(vk, 0, 0));
    inputs.push_back(KeyInput(vk, 0, KEYEVENTF_KEYUP));
    for (int i = 2; i >= 0; --i) {
        if (modifiers[i] != 0)
            inputs.push_back(KeyInput(modifiers[i], 0, KEYEVENTF_KEYUP));
    }
    Send(inputs.data(), UINT(inputs.size()));
}

void RealInput::MenuKeys(const std::vector<WORD>& keys) {
    std::vector<INPUT> inputs;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (i == 0)
            inputs.push_back(KeyInput(VK_MENU, 0, 0));
        inputs.push_back(KeyInput(keys[i], 0, 0));
        inputs.push_back(KeyInput(keys[i], 0, KEYEVENTF_KEYUP));
        if (i == 0)
            inputs.push_back(KeyInput(VK_MENU, 0, KEYEVENTF_KEYUP));
    }
    Send(inputs.data(), UINT(inputs.size()));
}

void RealInput::Type(const std::string& text) {
    std::vector<INPUT> inputs;
    for (unsigned char c : text) {
        inputs.push_back(KeyInput(0, c, KEYEVENTF_UNICODE));
        inputs.push_back(KeyInput(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
    }
    if (!inputs.empty())
        Send(inputs.data(), UINT(inputs.size()));
}

void RealInput::Send(INPUT* inputs, UINT count) {
    ::SendInput(count, inputs, sizeof(INPUT));
    ModalAnswerer::PumpPending();
}
