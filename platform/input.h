// Input synthesis and key state: the pointer, mouse and key events, the keyboard layout, and the
// watch for Escape keys pressed by the user.
//
// Implemented by platform/win32/input.cpp and platform/headless/input.cpp.
#pragma once

#include <cstdint>

namespace platform {

// Screen position of the mouse cursor (GetCursorPos).
void CursorPosition(int& x, int& y);
// Moves the pointer (SetCursorPos).
void SetCursorPosition(int x, int y);
// One mouse_event(flags, 0, 0, 0, 0) at the pointer.
void SendMouseEvent(uint32_t flags);
// One keybd_event(key, scanCode, flags, 0); flags: KEYEVENTF_KEYUP when up, KEYEVENTF_EXTENDEDKEY
// when extended.
void SendKeyEvent(uint8_t key, uint8_t scanCode, bool extended, bool up);
// The scan code of a virtual key on the current layout (MapVirtualKeyExA, MAPVK_VK_TO_VSC,
// GetKeyboardLayout(0)); 0 when the layout has none.
uint8_t ScanCode(uint8_t key);
// Types one character by its code point (SendInput with KEYEVENTF_UNICODE, down then up).
void SendUnicodeCharacter(uint16_t codePoint);
// VkKeyScanExA(c, GetKeyboardLayout(0)): low byte virtual key, high byte shift state
// (1 Shift, 2 Ctrl, 4 Alt); -1 when the layout cannot produce the character.
int16_t KeyScan(char c);
// The character of the ANSI code page as a UTF-16 code point.
uint16_t AnsiToCodePoint(char c);

// Escape watch: sees only Escape presses from the user's keyboard, never synthesised ones
// (ours or another program's), and wakes sleepers (system.h) when it sees one. Installed once at
// start-up.
void InstallEscapeWatch();
// Forgets every Escape seen so far.
void ResetUserEscape();
// True when the user pressed Escape since the last reset.
bool UserEscapePressed();

}  // namespace platform
