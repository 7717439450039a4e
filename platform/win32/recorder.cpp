// [SECTION] The input recorder: low-level hooks on their own thread queue the user's input raw;
// the characters of the keys are worked out when the queue is taken.

#include "platform/recorder.h"

#include <array>
#include <atomic>
#include <future>
#include <initializer_list>
#include <mutex>
#include <thread>

#include "platform/ScreenSpace.h"
#include "platform/desktop.h"
#include "platform/win32/Monitors.h"
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
bool gSwallowEscapeUp = false;
// Gathered before the hooks start, read by them only.
std::vector<platform::MonitorSpace> gMonitors;

// Set by the Escape that ends the recording, or by the stop: from then on the hooks pass
// everything on untouched and queue nothing.
std::atomic<bool> gEnded{false};

// [SECTION] Hooks

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
    if (code == HC_ACTION && (mouse->flags & LLMHF_INJECTED) == 0 && !gEnded) {
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
            // The hook's point is physical; this thread, like the program, works in logical ones.
            int x = mouse->pt.x, y = mouse->pt.y;
            platform::ToLogicalPoint(gMonitors, x, y);
            input.x = x;
            input.y = y;
            platform::TopLevelAtPoint under;
            if (platform::TopLevelAt(x, y, under)) {
                input.onOwnWindow = under.own;
                input.windowTitle = std::move(under.title);
                input.windowX = under.clientX;
                input.windowY = under.clientY;
            }
            Queue(queued);
        }
    }
    return CallNextHookEx(nullptr, code, message, data);
}

constexpr int kModifierKeys[] = {VK_LSHIFT,   VK_RSHIFT, VK_LCONTROL,
                                 VK_RCONTROL, VK_LMENU,  VK_RMENU};

// The modifiers as the system has them. The hook follows them by their own events, which can be
// missed: the releases after Ctrl+Alt+Del or a UAC prompt go to the secure desktop.
void ReadModifiers() {
    for (int key : kModifierKeys) {
        gKeyDown[static_cast<size_t>(key)] = (GetAsyncKeyState(key) & 0x8000) != 0;
    }
}

bool AnyModifierHeld() {
    for (int key : kModifierKeys) {
        if (gKeyDown[static_cast<size_t>(key)]) {
            return true;
        }
    }
    return false;
}

LRESULT CALLBACK RecordKey(int code, WPARAM message, LPARAM data) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    const bool up = (key->flags & LLKHF_UP) != 0;
    if (code == HC_ACTION && gSwallowEscapeUp && up && key->vkCode == VK_ESCAPE) {
        gSwallowEscapeUp = false;
        return 1;
    }
    if (code == HC_ACTION && (key->flags & LLKHF_INJECTED) == 0 && !gEnded &&
        (key->scanCode & kAltGrControlScanCode) == 0) {
        const auto virtualKey = static_cast<uint8_t>(key->vkCode);
        if (virtualKey == VK_CAPITAL && !up && !gKeyDown[VK_CAPITAL]) {
            gCapsLock = !gCapsLock;
        }
        // A key pressed while a modifier seems held may show that its release went unseen.
        if (!up && AnyModifierHeld()) {
            ReadModifiers();
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
        // The Escape that ends the recording is for Quorvane, not for the program in front.
        if (virtualKey == VK_ESCAPE && !up) {
            gEnded = true;
            gSwallowEscapeUp = true;
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, message, data);
}

// A low-level hook is called on the thread that installed it, through that thread's message
// loop; this thread does nothing else, so the user's input is never held up by the program.
// The promise belongs to this thread: it is set here and dies here.
void RunHooks(std::promise<bool> installed) {
    MSG msg;
    // Makes the thread's message queue, so that the stop request cannot be lost.
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HHOOK mouse = SetWindowsHookExA(WH_MOUSE_LL, RecordMouse, instance, 0);
    HHOOK keys = SetWindowsHookExA(WH_KEYBOARD_LL, RecordKey, instance, 0);
    gHookThreadId = GetCurrentThreadId();
    const bool ok = mouse != nullptr && keys != nullptr;
    installed.set_value(ok);
    if (ok) {
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
    // Input the system handed to the hooks before they went still waits here: let it through
    // (the hooks pass it on untouched now), or it would be lost with the thread.
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
    }
}

// What the key types with the modifiers of its moment: Shift and Caps Lock, and AltGr when
// asked; Control and Alt are left out. -1 for a dead key. `flags` kKeepKeyboardState asks the
// layout to forget the key; 0 lets a dead key wait for the next call.
int ToText(const QueuedInput& queued, bool altGr, UINT flags, wchar_t (&typed)[8]) {
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
    return ToUnicodeEx(queued.input.key, queued.scanCode, state, typed, 8, flags, queued.layout);
}

// The dead key the next key is typed after (main thread only).
struct PendingDeadKey {
    bool waiting = false;
    QueuedInput key;
    bool altGr = false;
};
PendingDeadKey gDeadKey;

// What the key types after the waiting dead key: the layout composes them ("ê"), or gives both.
int AfterDeadKey(const QueuedInput& queued, bool altGr, wchar_t (&typed)[8]) {
    ToText(gDeadKey.key, gDeadKey.altGr, 0, typed);
    gDeadKey.waiting = false;
    return ToText(queued, altGr, 0, typed);
}

// The text of the key in the ANSI code page; `lost` when the code page cannot hold it.
std::string TypedText(const QueuedInput& queued, bool altGr, bool& lost) {
    wchar_t typed[8] = {};
    int count = ToText(queued, altGr, kKeepKeyboardState, typed);
    if (count < 0) {
        gDeadKey = {true, queued, altGr};
        return {};
    }
    if (count > 0 && gDeadKey.waiting) {
        count = AfterDeadKey(queued, altGr, typed);
    }
    if (count <= 0) {
        return {};
    }
    char text[32] = {};
    BOOL unmapped = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, typed, count, text,
                                         sizeof(text), nullptr, &unmapped);
    lost = size <= 0 || unmapped;
    return lost ? std::string() : std::string(text, static_cast<size_t>(size));
}

// Would the right Alt give a character here (AltGr)? Asked without touching a waiting dead key.
bool GivesAltGrText(const QueuedInput& queued) {
    wchar_t typed[8] = {};
    return ToText(queued, true, kKeepKeyboardState, typed) != 0;
}

UserInput Translated(const QueuedInput& queued) {
    UserInput input = queued.input;
    if (input.kind != UserInputKind::KeyDown) {
        return input;
    }
    // A right Alt is AltGr where it gives a character, and an Alt key where it does not.
    const bool altGr = queued.rightAlt && GivesAltGrText(queued);
    input.text = TypedText(queued, altGr, input.lostCharacter);
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
    gSwallowEscapeUp = false;
    gEnded = false;
    gDeadKey.waiting = false;
    gMonitors = win32::GatherMonitors();

    std::promise<bool> installed;
    std::future<bool> answer = installed.get_future();
    gHookThread = std::thread(RunHooks, std::move(installed));
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
    gEnded = true;
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
