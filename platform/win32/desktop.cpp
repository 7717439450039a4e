// Windows and pixels of the desktop through the window manager and the screen's device context.

#include "platform/desktop.h"

#include "platform/win32/Monitors.h"
#include "platform/win32/WinApi.h"

namespace {

// Window titles are read without a message to their owner (GetWindowTextW of another process's
// window answers from the system's copy), so a hung program cannot hold the player up.
std::string TitleOf(HWND window) {
    wchar_t title[512];
    const int length = GetWindowTextW(window, title, static_cast<int>(std::size(title)));
    return length > 0 ? win32::Narrow(std::wstring_view(title, static_cast<size_t>(length)))
                      : std::string();
}

// The cheap test first: most top-level windows (Wine's and every program's hidden helpers) are
// not visible, and a window's visibility costs one look where its owner and title cost more.
BOOL CALLBACK CollectOtherTitle(HWND window, LPARAM data) {
    if (!IsWindowVisible(window)) {
        return TRUE;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) {
        std::string title = TitleOf(window);
        if (!title.empty()) {
            reinterpret_cast<std::vector<std::string>*>(data)->push_back(std::move(title));
        }
    }
    return TRUE;
}

// The monitor's rectangle in this program's coordinates and in physical pixels; a point scales
// between the two within its own monitor.
bool PhysicalPoint(int x, int y, POINT& physical) {
    HMONITOR monitor = MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONULL);
    MONITORINFO logical{};
    logical.cbSize = sizeof(logical);
    if (monitor == nullptr || !GetMonitorInfoW(monitor, &logical)) {
        return false;
    }
    MONITORINFO real = logical;
    {
        const win32::PhysicalPixels pixels;
        GetMonitorInfoW(monitor, &real);
    }
    const LONG logicalWidth = logical.rcMonitor.right - logical.rcMonitor.left;
    const LONG logicalHeight = logical.rcMonitor.bottom - logical.rcMonitor.top;
    const LONG realWidth = real.rcMonitor.right - real.rcMonitor.left;
    const LONG realHeight = real.rcMonitor.bottom - real.rcMonitor.top;
    if (logicalWidth <= 0 || logicalHeight <= 0) {
        return false;
    }
    physical.x = real.rcMonitor.left + MulDiv(x - logical.rcMonitor.left, realWidth, logicalWidth);
    physical.y = real.rcMonitor.top + MulDiv(y - logical.rcMonitor.top, realHeight, logicalHeight);
    return true;
}

}  // namespace

namespace platform {

std::vector<std::string> OtherWindowTitles() {
    std::vector<std::string> titles;
    EnumWindows(CollectOtherTitle, reinterpret_cast<LPARAM>(&titles));
    return titles;
}

std::string ForegroundWindowTitle() {
    HWND window = GetForegroundWindow();
    return window != nullptr ? TitleOf(window) : std::string();
}

std::string TopLevelTitleAt(int x, int y) {
    HWND window = WindowFromPoint(POINT{x, y});
    HWND root = window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr;
    return root != nullptr ? TitleOf(root) : std::string();
}

bool ScreenPixel(int x, int y, uint32_t& rgb) {
    POINT physical{};
    if (!PhysicalPoint(x, y, physical)) {
        return false;
    }
    const win32::PhysicalPixels pixels;
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return false;
    }
    const COLORREF colour = GetPixel(screen, physical.x, physical.y);
    ReleaseDC(nullptr, screen);
    if (colour == CLR_INVALID) {
        return false;
    }
    rgb = (static_cast<uint32_t>(GetRValue(colour)) << 16) |
          (static_cast<uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
    return true;
}

}  // namespace platform
