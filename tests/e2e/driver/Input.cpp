// Real pointer and key input: synthesised with SendInput, or through the X server with xdotool
// where the program must see a user's own key press.
#include <windows.h>

#include "Driver.h"
#include "WideText.h"

namespace e2e {

namespace {

INPUT KeyEvent(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

INPUT UnicodeEvent(wchar_t character, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = character;
    input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

// Key presses for one character: with Shift where the layout needs it, else as a Unicode packet.
void AddCharacter(std::vector<INPUT>& inputs, wchar_t character) {
    const SHORT scan = VkKeyScanW(character);
    if (scan == -1 || (HIBYTE(scan) & ~1) != 0) {
        inputs.push_back(UnicodeEvent(character, false));
        inputs.push_back(UnicodeEvent(character, true));
        return;
    }
    const bool shift = (HIBYTE(scan) & 1) != 0;
    if (shift) {
        inputs.push_back(KeyEvent(VK_SHIFT, false));
    }
    inputs.push_back(KeyEvent(LOBYTE(scan), false));
    inputs.push_back(KeyEvent(LOBYTE(scan), true));
    if (shift) {
        inputs.push_back(KeyEvent(VK_SHIFT, true));
    }
}

}  // namespace

Point CursorPosition() {
    POINT point{};
    GetCursorPos(&point);
    return {point.x, point.y};
}

void MoveMouse(int x, int y) {
    SetCursorPos(x, y);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof(INPUT));
}

bool WaitForPointerAt(Point spot) {
    // A move of the pointer that Wine has not finished handling can still put it back: the pointer
    // counts as there once it has stayed there a while.
    constexpr double kStaysMs = 150;
    double since = -1;
    return WaitUntil([&] {
        if (CursorPosition() != spot) {
            since = -1;
            return false;
        }
        since = since < 0 ? NowMs() : since;
        return NowMs() - since >= kStaysMs;
    });
}

void PressKey(int virtualKey) {
    INPUT keys[2] = {KeyEvent(static_cast<WORD>(virtualKey), false),
                     KeyEvent(static_cast<WORD>(virtualKey), true)};
    SendInput(2, keys, sizeof(INPUT));
}

void TypeText(std::string_view text) {
    std::vector<INPUT> inputs;
    for (wchar_t character : Wide(text)) {
        AddCharacter(inputs, character);
    }
    if (!inputs.empty()) {
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    }
}

bool Xdotool(std::string_view arguments, int timeoutMs) {
    return RunShell("/usr/bin/xdotool " + std::string(arguments), timeoutMs) == 0;
}

}  // namespace e2e
