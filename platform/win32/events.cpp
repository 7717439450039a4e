// [SECTION] Events: the window procedure of our windows turns messages into the program's
// events; a message-only window hands the queued events to the program's handler, so that they
// are handled inside every modal loop too (a box's, a dialog's), as posted messages are.
//
// Index: [SECTION] Notifications  [SECTION] Window procedure  [SECTION] Event delivery
//        [SECTION] Message loop

#include "platform/win32/Registry.h"

namespace {

using platform::ControlKind;
using platform::Event;
using platform::EventKind;

// [SECTION] Notifications

// Only the notifications a user's action on the control means; the rest (focus, redraw, ...)
// would only wake the program for nothing.
bool IsMeaningful(ControlKind kind, UINT code) {
    switch (kind) {
        case ControlKind::Button:
        case ControlKind::ImageButton:
            return code == BN_CLICKED;
        case ControlKind::DropDownList:
            return code == CBN_SELCHANGE;
        case ControlKind::ListBox:
            return code == LBN_SELCHANGE || code == LBN_DBLCLK;
        case ControlKind::RichEdit:
            return code == EN_CHANGE || code == EN_SELCHANGE;
        default:
            return false;
    }
}

void OnControlNotification(HWND control, UINT code) {
    const auto identity = win32::IdentifyControl(control);
    if (!identity || !IsMeaningful(identity->kind, code)) {
        return;
    }
    Event event;
    event.kind = EventKind::Control;
    event.window = identity->window;
    event.source = identity->number;
    event.type = static_cast<int>(code);
    win32::PushEvent(event);
}

void OnMenuCommand(HWND window, int item) {
    Event event;
    event.kind = EventKind::Menu;
    event.window = win32::RootWindowNumber(window);
    event.source = item;
    win32::PushEvent(event);
}

// The program decides what a close request does; the window itself never closes on its own.
void OnCloseRequest(HWND window) {
    const int number = win32::RootWindowNumber(window);
    if (number < 0) {
        return;
    }
    Event event;
    event.kind = EventKind::Close;
    event.window = number;
    win32::PushEvent(event);
}

HBRUSH StaticBackground(HWND control, HDC dc) {
    const auto lock = win32::Lock();
    auto found = win32::Shared().controls.find(GetDlgCtrlID(control));
    if (found == win32::Shared().controls.end() || found->second.hwnd != control ||
        !found->second.background) {
        return nullptr;
    }
    SetBkColor(dc, found->second.backgroundColour);
    return found->second.background.get();
}

}  // namespace

namespace win32 {

// [SECTION] Window procedure

// Serves the top-level windows and the containers alike, so that controls inside containers
// report to the same place as controls of a window.
LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT answer = 0; AnswerTestQuery(message, wParam, answer)) {
        return answer;
    }
    switch (message) {
        case WM_COMMAND:
            if (lParam != 0) {
                OnControlNotification(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            } else if (HIWORD(wParam) == 0) {
                OnMenuCommand(hwnd, LOWORD(wParam));
            }
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header != nullptr && header->code == EN_SELCHANGE) {
                OnControlNotification(header->hwndFrom, EN_SELCHANGE);
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC:
            if (HBRUSH brush = StaticBackground(reinterpret_cast<HWND>(lParam),
                                                reinterpret_cast<HDC>(wParam))) {
                return reinterpret_cast<LRESULT>(brush);
            }
            break;
        case WM_CLOSE:
            OnCloseRequest(hwnd);
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) {
                OnCloseRequest(hwnd);
                return 0;
            }
            break;
        case kFocusRequest:
            SetFocus(reinterpret_cast<HWND>(lParam));
            return 0;
        default:
            break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace win32

// [SECTION] Event delivery

namespace {

constexpr char kEventWindowClass[] = "QuorvaneEvents";

std::optional<Event> TakeEvent() {
    const auto lock = win32::Lock();
    if (win32::Shared().events.empty() || win32::Shared().handler == nullptr) {
        return std::nullopt;
    }
    Event event = win32::Shared().events.front();
    win32::Shared().events.pop_front();
    return event;
}

// Each event leaves the queue before it is handled: a handler that opens a box has the events
// after it handled inside the box's loop, in their order, and none of them twice.
void DeliverEvents() {
    platform::EventHandler handler = nullptr;
    {
        const auto lock = win32::Lock();
        win32::Shared().deliveryPosted = false;
        handler = win32::Shared().handler;
    }
    while (auto event = TakeEvent()) {
        handler(*event);
    }
}

// Posts kDeliverEvents unless one is on its way already.
void PostDelivery() {
    HWND window = nullptr;
    {
        const auto lock = win32::Lock();
        if (win32::Shared().deliveryPosted || win32::Shared().eventWindow == nullptr) {
            return;
        }
        win32::Shared().deliveryPosted = true;
        window = win32::Shared().eventWindow;
    }
    // A full message queue refuses it; the next event or HandlePendingEvents tries again.
    if (!PostMessageA(window, win32::kDeliverEvents, 0, 0)) {
        const auto lock = win32::Lock();
        win32::Shared().deliveryPosted = false;
    }
}

LRESULT CALLBACK EventWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == win32::kDeliverEvents) {
        DeliverEvents();
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

namespace win32 {

void PushEvent(const platform::Event& event) {
    {
        const auto lock = Lock();
        Shared().events.push_back(event);
    }
    PostDelivery();
}

}  // namespace win32

namespace platform {

// [SECTION] Message loop

namespace {

// Key presses and button releases are taken from the queue as they come, before the control
// under them handles them, whichever control of ours that is.
void NoteInput(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_LBUTTONUP) {
        return;
    }
    const int window = win32::RootWindowNumber(msg.hwnd);
    if (window < 0) {
        return;
    }
    Event event;
    event.window = window;
    if (msg.message == WM_KEYDOWN) {
        event.kind = EventKind::KeyDown;
        event.key = static_cast<int>(msg.wParam);
    } else {
        event.kind = EventKind::LeftButtonUp;
    }
    win32::PushEvent(event);
}

void DispatchOne(const MSG& msg) {
    NoteInput(msg);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

}  // namespace

void SetEventHandler(EventHandler handler) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA eventClass{};
    eventClass.cbSize = sizeof(eventClass);
    eventClass.lpfnWndProc = EventWindowProcedure;
    eventClass.hInstance = instance;
    eventClass.lpszClassName = kEventWindowClass;
    RegisterClassExA(&eventClass);
    HWND window = CreateWindowExA(0, kEventWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  instance, nullptr);
    {
        const auto lock = win32::Lock();
        win32::Shared().handler = handler;
        win32::Shared().eventWindow = window;
    }
    PostDelivery();
}

void PostEvent(const Event& event) {
    win32::PushEvent(event);
}

void HandlePendingEvents() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT) {
            DispatchOne(msg);
        }
    }
    DeliverEvents();
}

void RunMessageLoop() {
    for (;;) {
        MSG msg;
        // Nothing posts WM_QUIT to the program; one from outside is not a reason to stop.
        if (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            DispatchOne(msg);
        }
    }
}

}  // namespace platform
