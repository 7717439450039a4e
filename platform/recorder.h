// The input recorder: low-level mouse and keyboard hooks that queue the user's own clicks, wheel
// turns and keys, wherever on the desktop they go, and the system's click metrics.
//
// Implemented by platform/win32/recorder.cpp and platform/headless/recorder.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class UserInputKind { ButtonDown, ButtonUp, Wheel, KeyDown, KeyUp };
enum class MouseButton { Left, Right, Middle };

// One event of the user's mouse or keyboard. Synthesised input (ours, or another program's) is
// never queued; mouse moves and other buttons are not either.
struct UserInput {
    UserInputKind kind = UserInputKind::KeyDown;
    int64_t timeMs = 0;  // when it happened, in milliseconds since the recorder started
    // The window under the pointer (mouse) or the foreground window (keys) is one of ours.
    bool onOwnWindow = false;
    // Logical screen point of a mouse event (the space of CursorPosition, input.h): the hook's
    // physical point taken over per monitor before anything uses it.
    int x = 0;
    int y = 0;
    MouseButton button = MouseButton::Left;
    // A mouse event: the top-level window under the pointer at that moment (it may move later),
    // as TopLevelAt (desktop.h) finds it: its title ("" where there is none) and the event's point
    // in its client area (logical).
    std::string windowTitle;
    int windowX = 0;
    int windowY = 0;
    uint8_t key = 0;  // virtual key of a key event
    // KeyDown: what the key types on the keyboard layout of the foreground window with the Shift,
    // Caps Lock and AltGr state of that moment, leaving Control and Alt out (ANSI code page);
    // "" when it types nothing (a dead key, a character the code page lacks). The key after a
    // dead key carries what both type together ("ê" for "^" then "e", "^" for "^" then a blank).
    std::string text;
    // KeyDown: it typed a character the ANSI code page cannot hold (`text` is "").
    bool lostCharacter = false;
    // KeyDown: the modifiers held. A right Alt that gave `text` as AltGr is neither Control nor
    // Alt.
    bool shift = false;
    bool control = false;
    bool alt = false;
};

// The system's click metrics (GetSystemMetrics, GetDoubleClickTime).
struct ClickMetrics {
    int dragWidth = 4;  // SM_CXDRAG, SM_CYDRAG
    int dragHeight = 4;
    int doubleClickMs = 500;
    int doubleClickWidth = 4;  // SM_CXDOUBLECLK, SM_CYDOUBLECLK
    int doubleClickHeight = 4;
};
ClickMetrics SystemClickMetrics();

// Installs the hooks on a thread of their own with its own message loop and returns once they
// are in place; false when the system refuses them. The hooks only queue and return at once.
// Whenever input is queued while the queue is empty, the event handler gets an event of kind
// UserInputQueued. The user's first Escape press ends the recording: it is queued, but not passed
// on to the program in front, and from then on the hooks pass everything on untouched.
bool StartInputRecorder();
// Removes the hooks and ends their thread, after the hooks have passed on every event the system
// handed them; what they queued can still be taken. Starting the recorder again drops it.
void StopInputRecorder();
// The input queued since the last call, oldest first.
std::vector<UserInput> TakeUserInput();

}  // namespace platform
