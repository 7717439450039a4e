// [SECTION] The input recorder: low-level hooks on their own thread queue the user's input raw;
// the characters of the keys are worked out when the queue is taken.

#include "platform/recorder.h"

#include <array>
#include <future>
#include <initializer_list>
#include <mutex>
#include <thread>

#include "platform/win32/Registry.h"

namespace {

using platform::UserInput;
using platform::UserInputKind;

// What a key event needs later to give its character: the layout and modifiers of its moment.
struct QueuedInput {
    UserInput input;
    UINT scanCode = 0;
    HKL layout = nullptr;
    bool capsLock = false;
    bool rightAlt = false;
    bool leftAlt = false;
};

// ToUnicodeEx leaves the keyboard state (a pending dead key) as it was (Windows 10 1607 on).
constexpr UINT kKeepKeyboardState = 0x4;
// On layouts with AltGr, Windows sends a left Control with this bit in its scan code before the
// right Alt; it is part of AltGr, not a Control key of the user.
constexpr DWORD kAltGrControlScanCode = 0x200;

std::mutex gQueueMutex;
std::vector<QueuedInput> gQueue;  // guarded by gQueueMutex

// Only the main thread starts and stops the recorder; the hook thread names itself before the
// start returns.
std::thread gHookThread;
DWORD gHookThreadId = 0;

// Only the hook thread touches these while it runs. A low-level hook names the modifiers by
// their side (VK_LSHIFT, VK_RCONTROL, ...), so only those entries are read.
DWORD gStartTick = 0;
std::array<bool, 256> gKeyDown{};
bool gCapsLock = false;

void Queue(const QueuedInput& queued) {
    bool wasEmpty = false;
    {
        const std::lock_guard<std::mutex> lock(gQueueMutex);
        wasEmpty = gQueue.empty();
        gQueue.push_back(queued);
    }
    if (wasEmpty) {
        platform::Event event;
        event.kind = platform::EventKind::UserInputQueued;
        win32::PushEvent(event);
    }
}

bool IsOwnWindow(HWND window) {
    DWORD process = 0;
    return window != nullptr && GetWindowThreadProcessId(window, &process) != 0 &&
           process == GetCurrentProcessId();
}

int64_t SinceStart(DWORD time) {
    return static_cast<int32_t>(time - gStartTick);
}

bool Held(std::initializer_list<int> keys) {
    for (int key : keys) {
        if (gKeyDown[static_cast<size_t>(key)]) {
            return true;
        }
    }
    return false;
}

LRESULT CALLBACK RecordMouse(int code, WPARAM message, LPARAM data) {
    const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    if (code == HC_ACTION && (mouse->flags & LLMHF_INJECTED) == 0) {
        QueuedInput queued;
        UserInput& input = queued.input;
        bool wanted = true;
        switch (message) {
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_MBUTTONDOWN:
                input.kind = UserInputKind::ButtonDown;
                break;
            case WM_LBUTTONUP:
            case WM_RBUTTONUP:
            case WM_MBUTTONUP:
                input.kind = UserInputKind::ButtonUp;
                break;
            case WM_MOUSEWHEEL:
            case WM_MOUSEHWHEEL:
                input.kind = UserInputKind::Wheel;
                break;
            default:
                wanted = false;
                break;
        }
        if (wanted) {
            input.button = message == WM_RBUTTONDOWN || message == WM_RBUTTONUP
                               ? platform::MouseButton::Right
                           : message == WM_MBUTTONDOWN || message == WM_MBUTTONUP
                               ? platform::MouseButton::Middle
                               : platform::MouseButton::Left;
            input.timeMs = SinceStart(mouse->time != 0 ? mouse->time : GetTickCount());
            input.x = mouse->pt.x;
            input.y = mouse->pt.y;
            input.onOwnWindow = IsOwnWindow(WindowFromPoint(mouse->pt));
            Queue(queued);
        }
    }
    return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK RecordKey(int code, WPARAM message, LPARAM data) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    if (code == HC_ACTION && (key->flags & LLKHF_INJECTED) == 0 &&
        (key->scanCode & kAltGrControlScanCode) == 0) {
        const bool up = (key->flags & LLKHF_UP) != 0;
        const auto virtualKey = static_cast<uint8_t>(key->vkCode);
        if (virtualKey == VK_CAPITAL && !up && !gKeyDown[VK_CAPITAL]) {
            gCapsLock = !gCapsLock;
        }
        gKeyDown[virtualKey] = !up;

        QueuedInput queued;
        UserInput& input = queued.input;
        input.kind = up ? UserInputKind::KeyUp : UserInputKind::KeyDown;
        input.timeMs = SinceStart(key->time != 0 ? key->time : GetTickCount());
        input.key = virtualKey;
        HWND foreground = GetForegroundWindow();
        input.onOwnWindow = IsOwnWindow(foreground);
        input.shift = Held({VK_LSHIFT, VK_RSHIFT});
        input.control = Held({VK_LCONTROL, VK_RCONTROL});
        queued.leftAlt = Held({VK_LMENU});
        queued.rightAlt = Held({VK_RMENU});
        queued.capsLock = gCapsLock;
        queued.scanCode = key->scanCode;
        queued.layout = GetKeyboardLayout(GetWindowThreadProcessId(foreground, nullptr));
        Queue(queued);
    }
    return CallNextHookEx(nullptr, code, message, data);
}

// A low-level hook is called on the thread that installed it, through that thread's message
// loop; this thread does nothing else, so the user's input is never held up by the program.
void RunHooks(std::promise<bool>& installed) {
    MSG msg;
    // Makes the thread's message queue, so that the stop request cannot be lost.
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HHOOK mouse = SetWindowsHookExA(WH_MOUSE_LL, RecordMouse, instance, 0);
    HHOOK keys = SetWindowsHookExA(WH_KEYBOARD_LL, RecordKey, instance, 0);
    gHookThreadId = GetCurrentThreadId();
    installed.set_value(mouse != nullptr && keys != nullptr);
    if (mouse != nullptr && keys != nullptr) {
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            DispatchMessageA(&msg);
        }
    }
    if (mouse != nullptr) {
        UnhookWindowsHookEx(mouse);
    }
    if (keys != nullptr) {
        UnhookWindowsHookEx(keys);
    }
}

// What the key types with the modifiers of its moment: Shift and Caps Lock, and AltGr when
// asked; Control and Alt are left out. "" when it types nothing the code page can hold.
std::string TypedText(const QueuedInput& queued, bool altGr) {
    BYTE state[256] = {};
    if (queued.input.shift) {
        state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
    }
    if (queued.capsLock) {
        state[VK_CAPITAL] = 0x01;
    }
    if (altGr) {
        state[VK_CONTROL] = state[VK_LCONTROL] = state[VK_MENU] = state[VK_RMENU] = 0x80;
    }
    wchar_t typed[8] = {};
    const int count = ToUnicodeEx(queued.input.key, queued.scanCode, state, typed, 8,
                                  kKeepKeyboardState, queued.layout);
    if (count <= 0) {
        return {};
    }
    char text[32] = {};
    BOOL lost = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, typed, count, text,
                                         sizeof(text), nullptr, &lost);
    return size > 0 && !lost ? std::string(text, static_cast<size_t>(size)) : std::string();
}

UserInput Translated(const QueuedInput& queued) {
    UserInput input = queued.input;
    if (input.kind != UserInputKind::KeyDown) {
        return input;
    }
    // A right Alt is AltGr where it gives a character, and an Alt key where it does not.
    if (queued.rightAlt) {
        input.text = TypedText(queued, true);
    }
    const bool altGr = !input.text.empty();
    if (!altGr) {
        input.text = TypedText(queued, false);
    }
    input.alt = queued.leftAlt || (queued.rightAlt && !altGr);
    return input;
}

}  // namespace

namespace platform {

ClickMetrics SystemClickMetrics() {
    ClickMetrics metrics;
    metrics.dragWidth = GetSystemMetrics(SM_CXDRAG);
    metrics.dragHeight = GetSystemMetrics(SM_CYDRAG);
    metrics.doubleClickMs = static_cast<int>(GetDoubleClickTime());
    metrics.doubleClickWidth = GetSystemMetrics(SM_CXDOUBLECLK);
    metrics.doubleClickHeight = GetSystemMetrics(SM_CYDOUBLECLK);
    return metrics;
}

bool StartInputRecorder() {
    if (gHookThread.joinable()) {
        return true;
    }
    {
        const std::lock_guard<std::mutex> lock(gQueueMutex);
        gQueue.clear();
    }
    // The keys held and the Caps Lock state as the recording starts; the hooks follow them.
    gStartTick = GetTickCount();
    for (size_t key = 0; key < gKeyDown.size(); ++key) {
        gKeyDown[key] = (GetAsyncKeyState(static_cast<int>(key)) & 0x8000) != 0;
    }
    gCapsLock = (GetKeyState(VK_CAPITAL) & 1) != 0;

    std::promise<bool> installed;
    std::future<bool> answer = installed.get_future();
    gHookThread = std::thread(RunHooks, std::ref(installed));
    if (!answer.get()) {
        gHookThread.join();
        return false;
    }
    return true;
}

void StopInputRecorder() {
    if (!gHookThread.joinable()) {
        return;
    }
    PostThreadMessageA(gHookThreadId, WM_QUIT, 0, 0);
    gHookThread.join();
}

std::vector<UserInput> TakeUserInput() {
    std::vector<QueuedInput> taken;
    {
        const std::lock_guard<std::mutex> lock(gQueueMutex);
        taken.swap(gQueue);
    }
    std::vector<UserInput> inputs;
    inputs.reserve(taken.size());
    for (const QueuedInput& queued : taken) {
        inputs.push_back(Translated(queued));
    }
    return inputs;
}

}  // namespace platform
