// The desktop as a Wait step sees it: other programs' windows, the window in front, screen
// pixels.
//
// Implemented by platform/win32/desktop.cpp (EnumWindows, GetForegroundWindow, WindowFromPoint,
// InternalGetWindowText, GetPixel) and platform/headless/desktop.cpp. Points are in the
// coordinates GetCursorPos gives this DPI-unaware program, as Mouse steps use them; the win32
// side turns them into physical pixels of the monitor they lie on (ToPhysicalPoint). Any thread
// may call these, and none of them waits for another thread: a title is read from the system's
// copy, without a message to the window (which, for this program's own windows, would wait for
// the main thread).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Titles of the visible top-level windows of other processes (never this program's own).
std::vector<std::string> OtherWindowTitles();
// Title of the foreground window; "" when there is none or it is one of this program's own.
std::string ForegroundWindowTitle();
// Title of the top-level window at the point; "" when none lies there.
std::string TopLevelTitleAt(int x, int y);
// Colour of the screen pixel at the point as 0xRRGGBB; false when the point is off every
// screen.
bool ScreenPixel(int x, int y, uint32_t& rgb);

}  // namespace platform
