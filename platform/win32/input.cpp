// Input synthesis, the keyboard layout, and the watch for the user's Escape key.

#include "platform/input.h"

#include <atomic>
#include <mutex>
#include <thread>

#include "platform/system.h"
#include "platform/win32/WinApi.h"

namespace {

std::atomic<bool> gUserEscape{false};
std::atomic<bool> gWatching{false};
std::atomic<uint64_t> gSynthesisedKeys{0};

// Synthesised key events (ours, or another program's) carry LLKHF_INJECTED; only a key from
// the keyboard itself counts.
LRESULT CALLBACK WatchKeys(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
        if ((key->flags & LLKHF_INJECTED) != 0) {
            ++gSynthesisedKeys;
        }
    }
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
    gWatching = true;
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

KeyboardLayout ForegroundKeyboardLayout() {
    HWND foreground = GetForegroundWindow();
    const DWORD thread = foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    return reinterpret_cast<KeyboardLayout>(GetKeyboardLayout(thread));
}

uint16_t ScanCode(uint8_t key, KeyboardLayout layout) {
    const HKL hkl = reinterpret_cast<HKL>(layout);
    const auto code = static_cast<uint16_t>(MapVirtualKeyExA(key, MAPVK_VK_TO_VSC_EX, hkl));
    // Wine answers without the prefix for every key. The arrows are extended on every PC
    // keyboard: where they come back without it, the keys of the navigation block and Print
    // Screen get the prefix Windows gives them.
    const bool prefixesKnown = (MapVirtualKeyExA(VK_LEFT, MAPVK_VK_TO_VSC_EX, hkl) >> 8) != 0;
    const bool navigation = (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT ||
                            key == VK_DELETE || key == VK_SNAPSHOT;
    return !prefixesKnown && navigation && code != 0 ? static_cast<uint16_t>(0xE000 | code) : code;
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

int16_t KeyScan(char c, KeyboardLayout layout) {
    return VkKeyScanExA(c, reinterpret_cast<HKL>(layout));
}

bool IsDeadKey(int16_t code, KeyboardLayout layout) {
    if (code == -1) {
        return false;
    }
    BYTE state[256] = {};
    const int shifts = (code >> 8) & 0xFF;
    state[VK_SHIFT] = (shifts & 1) != 0 ? 0x80 : 0;
    state[VK_CONTROL] = (shifts & 2) != 0 ? 0x80 : 0;
    state[VK_MENU] = (shifts & 4) != 0 ? 0x80 : 0;
    const auto key = static_cast<UINT>(code & 0xFF);
    const HKL hkl = reinterpret_cast<HKL>(layout);
    // Leaves the keyboard state as it was (Windows 10 1607 on); a blank after a dead key clears
    // what older systems keep.
    constexpr UINT kKeepKeyboardState = 0x4;
    wchar_t typed[4] = {};
    const int count = ToUnicodeEx(key, MapVirtualKeyExA(key, MAPVK_VK_TO_VSC, hkl), state, typed, 4,
                                  kKeepKeyboardState, hkl);
    if (count < 0) {
        BYTE none[256] = {};
        ToUnicodeEx(VK_SPACE, MapVirtualKeyExA(VK_SPACE, MAPVK_VK_TO_VSC, hkl), none, typed, 4,
                    kKeepKeyboardState, hkl);
    }
    return count < 0;
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

uint64_t SynthesisedKeysPassed() {
    return gWatching ? gSynthesisedKeys.load() : UINT64_MAX;
}

}  // namespace platform
