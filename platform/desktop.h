// The desktop as Wait and Window steps see it: other programs' top-level windows, what can be
// done to them, the window in front, screen pixels.
//
// Implemented by platform/win32/desktop.cpp (EnumWindows, GetForegroundWindow, WindowFromPoint,
// InternalGetWindowText, GetWindowRect, ClientToScreen, SetForegroundWindow, SetWindowPos, posted
// WM_SYSCOMMAND and WM_CLOSE, GetPixel) and platform/headless/desktop.cpp.
//
// Points and rectangles are in the coordinates GetCursorPos gives this DPI-unaware program
// (logical pixels), as Mouse steps use them; the win32 side turns a pixel's point into physical
// pixels of the monitor it lies on (ToPhysicalPoint). Any thread may call these. None of them sends
// a message to another window or waits for another program: a title is read from the system's copy,
// and every action is posted to the window's own thread, so a hung program cannot hold the caller
// up. An action therefore returns before it has taken effect; the caller polls for the result.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/window.h"

namespace platform {

// [SECTION] Top-level windows (Window steps, F9, the recorder)

// An opaque name of a top-level window (its HWND), valid while the window exists; 0 names none.
using TopLevelId = uint64_t;

struct TopLevelWindow {
    TopLevelId id = 0;
    std::string title;
};
// The visible top-level windows of other processes that have a title, in z-order, top first;
// never this program's own. Minimised windows are listed (they are visible); windows that Windows
// keeps cloaked (a suspended app, another virtual desktop) are not.
std::vector<TopLevelWindow> OtherTopLevels();

// The top-level window under a screen point, as the pointer would reach it.
struct TopLevelAtPoint {
    TopLevelId id = 0;
    std::string title;
    // The point in the window's client area (logical; may be negative on the frame).
    int clientX = 0;
    int clientY = 0;
    bool own = false;  // one of this program's own windows
};
// False when no top-level window lies at the point.
bool TopLevelAt(int x, int y, TopLevelAtPoint& found);

// False once the window has been closed (or its program has ended).
bool TopLevelExists(TopLevelId window);
enum class TopLevelShow { Normal, Minimised, Maximised };
// Normal also for a window that no longer exists.
TopLevelShow TopLevelShowState(TopLevelId window);
// The window is the foreground window, the one that gets the keys typed next.
bool IsTopLevelInFront(TopLevelId window);
// The outer rectangle, frame included (GetWindowRect): the one MoveTopLevel places and
// SizeTopLevel sizes. A minimised window lies far off every screen (-32000, -32000) on Windows.
// False when the window no longer exists.
bool TopLevelRect(TopLevelId window, Rect& outer);
// The screen point of the client area's top-left corner, the origin of points in the window.
bool TopLevelClientOrigin(TopLevelId window, int& x, int& y);

// The actions. Each returns at once; a window that does not exist, or whose program does not
// handle its messages, is left as it was.
//
// Restores the window when it is minimised, raises it to the top of the z-order (below
// always-on-top windows, such as this program's main window) and makes it the foreground window,
// on Windows also when another program is in front (SetForegroundWindow, allowed by a neutral
// input event when the system refuses it at first). May be repeated while the caller waits for it
// to get there.
void BringTopLevelToFront(TopLevelId window);
// Puts the outer top-left corner at the screen point, size and z-order unchanged. A minimised
// window keeps its place (restore it first); a maximised one moves and stays maximised.
void MoveTopLevel(TopLevelId window, int x, int y);
// Makes the outer size `width` by `height`, top-left corner unchanged; as for MoveTopLevel. The
// system may keep a window at its least size (the frame and caption need room).
void SizeTopLevel(TopLevelId window, int width, int height);
// As the window's own title-bar buttons do (WM_SYSCOMMAND SC_MINIMIZE, SC_MAXIMIZE,
// SC_RESTORE). Maximise and Restore also activate the window; Minimise gives the foreground to
// the next window.
void MinimiseTopLevel(TopLevelId window);
void MaximiseTopLevel(TopLevelId window);
void RestoreTopLevel(TopLevelId window);
// Asks the window to close, as its close box does (WM_CLOSE, posted): the program may ask about
// unsaved work first, or refuse.
void AskTopLevelToClose(TopLevelId window);

// [SECTION] Titles (Wait steps)

// Titles of the visible top-level windows of other processes (never this program's own), the
// same windows OtherTopLevels lists, in the same order.
inline std::vector<std::string> OtherWindowTitles() {
    std::vector<std::string> titles;
    for (TopLevelWindow& window : OtherTopLevels()) {
        titles.push_back(std::move(window.title));
    }
    return titles;
}
// Title of the foreground window; "" when there is none or it is one of this program's own.
std::string ForegroundWindowTitle();
// Title of the top-level window at the point; "" when none lies there.
inline std::string TopLevelTitleAt(int x, int y) {
    TopLevelAtPoint found;
    return TopLevelAt(x, y, found) ? found.title : std::string();
}

// [SECTION] Pixels

// Colour of the screen pixel at the point as 0xRRGGBB; false when the point is off every
// screen.
bool ScreenPixel(int x, int y, uint32_t& rgb);

}  // namespace platform
