// Input synthesis and key state: the pointer, mouse and key events, the keyboard layout, and the
// watch for Escape keys pressed by the user.
//
// Implemented by platform/win32/input.cpp and platform/headless/input.cpp.
#pragma once

#include <cstdint>

namespace platform {

// Points here are in the screen coordinates a DPI-unaware program sees (logical pixels, scaled
// by each monitor's display scale): the space of step files, F9 and the player.

// Screen position of the mouse cursor (GetCursorPos), logical.
void CursorPosition(int& x, int& y);
// Moves the pointer to a logical screen point (SetCursorPos).
void SetCursorPosition(int x, int y);
// One mouse_event(flags, 0, 0, 0, 0) at the pointer.
void SendMouseEvent(uint32_t flags);
// One keybd_event(key, scanCode, flags, 0); flags: KEYEVENTF_KEYUP when up, KEYEVENTF_EXTENDEDKEY
// when extended.
void SendKeyEvent(uint8_t key, uint8_t scanCode, bool extended, bool up);
// A keyboard layout (an HKL).
using KeyboardLayout = uintptr_t;
// The layout of the thread of the foreground window, which gets the keys typed next
// (GetKeyboardLayout of GetWindowThreadProcessId(GetForegroundWindow())); the program's own when
// no window is in front.
KeyboardLayout ForegroundKeyboardLayout();
// The scan code of a virtual key on the layout (MapVirtualKeyExA, MAPVK_VK_TO_VSC_EX): the low
// byte the code, the high byte 0xE0 or 0xE1 for an extended key; 0 when the layout has none.
uint16_t ScanCode(uint8_t key, KeyboardLayout layout);
// Types one character by its code point (SendInput with KEYEVENTF_UNICODE, down then up).
void SendUnicodeCharacter(uint16_t codePoint);
// VkKeyScanExA(c, layout): low byte virtual key, high byte shift state (1 Shift, 2 Ctrl, 4 Alt);
// -1 when the layout cannot produce the character.
int16_t KeyScan(char c, KeyboardLayout layout);
// True when the key and shift state of a KeyScan code make a dead key on the layout: pressed, it
// types nothing and changes the next character (ToUnicodeEx answers -1).
bool IsDeadKey(int16_t code, KeyboardLayout layout);
// The character of the ANSI code page as a UTF-16 code point.
uint16_t AnsiToCodePoint(char c);
// How many synthesised key events (ours or another program's) the system has passed on to the
// programs since start-up, as the Escape watch sees them; UINT64_MAX when nothing counts them.
// A typist compares it with what it sent to keep only a little of its input in flight.
uint64_t SynthesisedKeysPassed();

// Escape watch: sees only Escape presses from the user's keyboard, never synthesised ones
// (ours or another program's), and wakes sleepers (system.h) when it sees one. Installed once at
// start-up.
void InstallEscapeWatch();
// Forgets every Escape seen so far.
void ResetUserEscape();
// True when the user pressed Escape since the last reset.
bool UserEscapePressed();

}  // namespace platform
