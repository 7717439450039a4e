// Input synthesis, the keyboard layout, and the watch for the user's Escape key.

#include "platform/input.h"

#include <atomic>
#include <mutex>
#include <thread>

#include "platform/system.h"
#include "platform/win32/WinApi.h"

namespace {

std::atomic<bool> gUserEscape{false};

// Synthesised key events (ours, or another program's) carry LLKHF_INJECTED; only a key from
// the keyboard itself counts.
LRESULT CALLBACK WatchKeys(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
        if (key->vkCode == VK_ESCAPE && (key->flags & LLKHF_INJECTED) == 0) {
            gUserEscape = true;
            platform::WakeSleepers();
        }
    }
    return CallNextHookEx(nullptr, code, message, data);
}

// A low-level hook is called on the thread that installed it, through that thread's message
// loop; this thread does nothing else, so key input is never held up by the program.
void RunEscapeWatch() {
    HHOOK hook = SetWindowsHookExA(WH_KEYBOARD_LL, WatchKeys, GetModuleHandleA(nullptr), 0);
    if (hook == nullptr) {
        return;
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageA(&msg);
    }
    UnhookWindowsHookEx(hook);
}

}  // namespace

namespace platform {

void CursorPosition(int& x, int& y) {
    POINT point{};
    GetCursorPos(&point);
    x = point.x;
    y = point.y;
}

void SetCursorPosition(int x, int y) {
    SetCursorPos(x, y);
}

void SendMouseEvent(uint32_t flags) {
    mouse_event(flags, 0, 0, 0, 0);
}

void SendKeyEvent(uint8_t key, uint8_t scanCode, bool extended, bool up) {
    const DWORD flags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    keybd_event(key, scanCode, flags, 0);
}

uint8_t ScanCode(uint8_t key) {
    return static_cast<uint8_t>(MapVirtualKeyExA(key, MAPVK_VK_TO_VSC, GetKeyboardLayout(0)));
}

void SendUnicodeCharacter(uint16_t codePoint) {
    INPUT inputs[2]{};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = codePoint;
        input.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

int16_t KeyScan(char c) {
    return VkKeyScanExA(c, GetKeyboardLayout(0));
}

uint16_t AnsiToCodePoint(char c) {
    wchar_t wide = 0;
    if (MultiByteToWideChar(CP_ACP, 0, &c, 1, &wide, 1) != 1) {
        return static_cast<unsigned char>(c);
    }
    return static_cast<uint16_t>(wide);
}

void InstallEscapeWatch() {
    static std::once_flag once;
    std::call_once(once, [] { std::thread(RunEscapeWatch).detach(); });
}

void ResetUserEscape() {
    gUserEscape = false;
}

bool UserEscapePressed() {
    return gUserEscape;
}

}  // namespace platform
