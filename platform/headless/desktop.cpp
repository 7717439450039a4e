// Other programs' windows and the screen's pixels, as a test sets them.

#include "platform/desktop.h"

#include "platform/headless/State.h"

namespace {

using headless_state::Lock;
using headless_state::Shared;

// The screen pixel at a point of Quorvane's (logical) space: scaled within the monitor that holds
// it, rounded as the win32 side's MulDiv does; nullptr off every monitor. With Lock() held.
uint32_t* PixelAtLogicalPoint(int x, int y) {
    for (const platform::MonitorSpace& monitor : Shared().monitors) {
        const platform::ScreenRect& l = monitor.logical;
        const platform::ScreenRect& p = monitor.physical;
        if (x >= l.left && x < l.right && y >= l.top && y < l.bottom) {
            const auto scale = [](int offset, int to, int from) {
                return static_cast<int>((int64_t{offset} * to + from / 2) / from);
            };
            return headless_state::ScreenPixelAt(
                p.left + scale(x - l.left, p.right - p.left, l.right - l.left),
                p.top + scale(y - l.top, p.bottom - p.top, l.bottom - l.top));
        }
    }
    return nullptr;
}

}  // namespace

namespace platform {

std::vector<std::string> OtherWindowTitles() {
    const auto lock = Lock();
    std::vector<std::string> titles;
    for (const headless::DesktopWindow& window : Shared().desktopWindows) {
        if (window.visible) {
            titles.push_back(window.title);
        }
    }
    return titles;
}

std::string ForegroundWindowTitle() {
    const auto lock = Lock();
    for (const headless::DesktopWindow& window : Shared().desktopWindows) {
        if (window.foreground) {
            return window.title;
        }
    }
    return "";
}

std::string TopLevelTitleAt(int x, int y) {
    const auto lock = Lock();
    for (const headless::DesktopWindow& window : Shared().desktopWindows) {
        const Rect& r = window.rect;
        if (window.visible && x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
            return window.title;
        }
    }
    return "";
}

bool ScreenPixel(int x, int y, uint32_t& rgb) {
    const auto lock = Lock();
    const uint32_t* pixel = PixelAtLogicalPoint(x, y);
    if (pixel == nullptr) {
        return false;
    }
    rgb = *pixel & 0xFFFFFF;
    return true;
}

}  // namespace platform

namespace headless {

void SetDesktopWindows(const std::vector<DesktopWindow>& windows) {
    const auto lock = Lock();
    Shared().desktopWindows = windows;
}

void SetScreenPixel(int x, int y, uint32_t rgb) {
    const auto lock = Lock();
    if (uint32_t* pixel = PixelAtLogicalPoint(x, y)) {
        *pixel = 0xFF000000u | rgb;
    }
}

}  // namespace headless
