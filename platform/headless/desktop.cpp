// The windows on the desktop and the screen's pixels, as a test sets them.

#include "platform/desktop.h"

#include "platform/headless/State.h"

namespace {

using headless_state::Lock;
using headless_state::Shared;

}  // namespace

namespace platform {

std::vector<std::string> OtherWindowTitles() {
    const auto lock = Lock();
    std::vector<std::string> titles;
    for (const headless::DesktopWindow& window : Shared().desktopWindows) {
        if (window.visible && !window.own) {
            titles.push_back(window.title);
        }
    }
    return titles;
}

std::string ForegroundWindowTitle() {
    const auto lock = Lock();
    for (const headless::DesktopWindow& window : Shared().desktopWindows) {
        if (window.foreground) {
            return window.own ? "" : window.title;
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
    const auto found = Shared().screenPixels.find({x, y});
    rgb = found != Shared().screenPixels.end() ? found->second : 0;
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
    Shared().screenPixels[{x, y}] = rgb;
}

}  // namespace headless
