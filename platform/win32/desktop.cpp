// Windows and pixels of the desktop through the window manager and the screen's device context.

#include "platform/desktop.h"

#include <vector>

#include "platform/ScreenSpace.h"
#include "platform/win32/WinApi.h"

namespace {

// Window titles are read from the system's copy, without a message to their owner: a hung
// program cannot hold the player up, and this program's own windows (whose GetWindowTextW is a
// message to the main thread) cannot make it wait for the main thread.
std::string TitleOf(HWND window) {
    wchar_t title[512];
    const int length = InternalGetWindowText(window, title, static_cast<int>(std::size(title)));
    return length > 0 ? win32::Narrow(std::wstring_view(title, static_cast<size_t>(length)))
                      : std::string();
}

bool IsOwnWindow(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

// The cheap test first: most top-level windows (Wine's and every program's hidden helpers) are
// not visible, and a window's visibility costs one look where its owner and title cost more.
BOOL CALLBACK CollectOtherTitle(HWND window, LPARAM data) {
    if (!IsWindowVisible(window)) {
        return TRUE;
    }
    if (!IsOwnWindow(window)) {
        std::string title = TitleOf(window);
        if (!title.empty()) {
            reinterpret_cast<std::vector<std::string>*>(data)->push_back(std::move(title));
        }
    }
    return TRUE;
}

using AwarenessContext = HANDLE;
const AwarenessContext kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4));
using SetAwarenessFunction = AwarenessContext(WINAPI*)(AwarenessContext);

// SetThreadDpiAwarenessContext where the system has it (Windows 10 1607 and later).
SetAwarenessFunction SetAwareness() {
    static const auto function = reinterpret_cast<SetAwarenessFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext")));
    return function;
}

// Makes the calling thread see physical pixels while it lives.
class PhysicalPixels {
public:
    PhysicalPixels() {
        if (SetAwareness() != nullptr) {
            previous_ = SetAwareness()(kPerMonitorAwareV2);
        }
    }
    ~PhysicalPixels() {
        if (previous_ != nullptr) {
            SetAwareness()(previous_);
        }
    }
    PhysicalPixels(const PhysicalPixels&) = delete;
    PhysicalPixels& operator=(const PhysicalPixels&) = delete;

private:
    AwarenessContext previous_ = nullptr;
};

platform::ScreenRect RectOf(const RECT& r) {
    return platform::ScreenRect{r.left, r.top, r.right, r.bottom};
}

// The point in physical pixels, by the rule of ScreenSpace.h over the monitor it lies on; false
// when it lies on none.
bool PhysicalPoint(int x, int y, POINT& physical) {
    HMONITOR monitor = MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONULL);
    MONITORINFO logical{};
    logical.cbSize = sizeof(logical);
    if (monitor == nullptr || !GetMonitorInfoW(monitor, &logical)) {
        return false;
    }
    MONITORINFO real = logical;
    {
        const PhysicalPixels pixels;
        GetMonitorInfoW(monitor, &real);
    }
    const std::vector<platform::MonitorSpace> space = {
        {RectOf(real.rcMonitor), RectOf(logical.rcMonitor)}};
    if (!platform::ToPhysicalPoint(space, x, y)) {
        return false;
    }
    physical = POINT{x, y};
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
    return window != nullptr && !IsOwnWindow(window) ? TitleOf(window) : std::string();
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
    const PhysicalPixels pixels;
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
