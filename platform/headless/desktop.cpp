// The desktop's top-level windows and the screen's pixels, as a test sets them; the actions on a
// window change it as Windows would.

#include "platform/desktop.h"

#include <algorithm>

#include "platform/ScreenSpace.h"
#include "platform/headless/State.h"

namespace {

using headless::DesktopWindow;
using headless::TopLevelActionKind;
using headless_state::kScreenHeight;
using headless_state::kScreenWidth;
using headless_state::Lock;
using headless_state::Shared;
using platform::Rect;
using platform::TopLevelId;

// Where Windows parks a minimised window, and the size it gives it there.
constexpr Rect kParked{-32000, -32000, -32000 + 160, -32000 + 28};
constexpr Rect kScreen{0, 0, kScreenWidth, kScreenHeight};

bool Contains(const Rect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

bool IsEmpty(const Rect& r) {
    return r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0;
}

std::vector<DesktopWindow>::iterator Find(TopLevelId window) {
    auto& windows = Shared().desktopWindows;
    return std::find_if(windows.begin(), windows.end(),
                        [&](const DesktopWindow& each) { return each.id == window; });
}

DesktopWindow* Get(TopLevelId window) {
    const auto found = Find(window);
    return found != Shared().desktopWindows.end() ? &*found : nullptr;
}

// The window that takes the foreground when the one in front goes: the next visible one that is
// not minimised.
void PassForegroundOn() {
    bool given = false;
    for (DesktopWindow& window : Shared().desktopWindows) {
        const bool takes = !given && window.visible && !window.minimised;
        given = given || takes;
        window.foreground = takes;
    }
}

// Raises the window to the top, below the always-on-top windows unless it is one, and makes it
// the only one in front.
void Activate(std::vector<DesktopWindow>::iterator window) {
    auto& windows = Shared().desktopWindows;
    const auto top = window->topmost
                         ? windows.begin()
                         : std::find_if(windows.begin(), window,
                                        [](const DesktopWindow& each) { return !each.topmost; });
    std::rotate(top, window, window + 1);
    for (DesktopWindow& each : windows) {
        each.foreground = false;
    }
    top->foreground = true;
}

void Restore(DesktopWindow& window) {
    if (window.minimised) {
        window.minimised = false;
        window.rect = window.maximised ? kScreen : window.restored;
    } else if (window.maximised) {
        window.maximised = false;
        window.rect = window.restored;
    }
}

void Place(DesktopWindow& window, int left, int top, int width, int height) {
    if (window.minimised) {
        return;
    }
    window.rect = {left, top, left + std::max(width, window.leastWidth),
                   top + std::max(height, window.leastHeight)};
    if (!window.maximised) {
        window.restored = window.rect;
    }
}

// Logs the action and, when the window is there and answers, lets it act.
template <class Act>
void ActOn(TopLevelId id, TopLevelActionKind kind, int x, int y, Act act) {
    const auto lock = Lock();
    Shared().topLevelActions.push_back({kind, id, x, y});
    const auto window = Find(id);
    if (window != Shared().desktopWindows.end() && !window->ignoresActions) {
        act(window);
    }
}

// The screen pixel at a point of Quorvane's (logical) space; nullptr off every monitor. With
// Lock() held.
uint32_t* PixelAtLogicalPoint(int x, int y) {
    return platform::ToPhysicalPoint(Shared().monitors, x, y) ? headless_state::ScreenPixelAt(x, y)
                                                              : nullptr;
}

}  // namespace

namespace headless_state {

bool DesktopWindowAt(int x, int y, platform::TopLevelAtPoint& found) {
    for (const DesktopWindow& window : Shared().desktopWindows) {
        if (window.visible && !window.minimised && Contains(window.rect, x, y)) {
            found = {window.id, window.title, x - window.rect.left - window.clientLeft,
                     y - window.rect.top - window.clientTop, window.own};
            return true;
        }
    }
    return false;
}

}  // namespace headless_state

namespace platform {

std::string ForegroundWindowTitle() {
    const auto lock = Lock();
    for (const DesktopWindow& window : Shared().desktopWindows) {
        if (window.foreground) {
            return window.own ? "" : window.title;
        }
    }
    return "";
}

std::vector<TopLevelWindow> OtherTopLevels() {
    const auto lock = Lock();
    std::vector<TopLevelWindow> windows;
    for (const DesktopWindow& window : Shared().desktopWindows) {
        if (window.visible && !window.own && !window.title.empty()) {
            windows.push_back({window.id, window.title});
        }
    }
    return windows;
}

bool TopLevelAt(int x, int y, TopLevelAtPoint& found) {
    const auto lock = Lock();
    return headless_state::DesktopWindowAt(x, y, found);
}

bool TopLevelExists(TopLevelId window) {
    const auto lock = Lock();
    return Get(window) != nullptr;
}

TopLevelShow TopLevelShowState(TopLevelId window) {
    const auto lock = Lock();
    const DesktopWindow* found = Get(window);
    return found == nullptr   ? TopLevelShow::Normal
           : found->minimised ? TopLevelShow::Minimised
           : found->maximised ? TopLevelShow::Maximised
                              : TopLevelShow::Normal;
}

bool IsTopLevelInFront(TopLevelId window) {
    const auto lock = Lock();
    const DesktopWindow* found = Get(window);
    return found != nullptr && found->foreground;
}

bool TopLevelRect(TopLevelId window, Rect& outer) {
    const auto lock = Lock();
    const DesktopWindow* found = Get(window);
    if (found == nullptr) {
        return false;
    }
    outer = found->rect;
    return true;
}

bool TopLevelClientOrigin(TopLevelId window, int& x, int& y) {
    const auto lock = Lock();
    const DesktopWindow* found = Get(window);
    if (found == nullptr) {
        return false;
    }
    x = found->rect.left + found->clientLeft;
    y = found->rect.top + found->clientTop;
    return true;
}

void BringTopLevelToFront(TopLevelId window) {
    ActOn(window, TopLevelActionKind::BringToFront, 0, 0, [](auto found) {
        if (found->minimised) {
            Restore(*found);
        }
        Activate(found);
    });
}

void MoveTopLevel(TopLevelId window, int x, int y) {
    ActOn(window, TopLevelActionKind::Move, x, y, [x, y](auto found) {
        const Rect& r = found->rect;
        Place(*found, x, y, r.right - r.left, r.bottom - r.top);
    });
}

void SizeTopLevel(TopLevelId window, int width, int height) {
    ActOn(window, TopLevelActionKind::Size, width, height, [width, height](auto found) {
        Place(*found, found->rect.left, found->rect.top, width, height);
    });
}

void MinimiseTopLevel(TopLevelId window) {
    ActOn(window, TopLevelActionKind::Minimise, 0, 0, [](auto found) {
        if (!found->minimised) {
            found->minimised = true;
            found->rect = kParked;
            if (found->foreground) {
                PassForegroundOn();
            }
        }
    });
}

void MaximiseTopLevel(TopLevelId window) {
    ActOn(window, TopLevelActionKind::Maximise, 0, 0, [](auto found) {
        found->minimised = false;
        found->maximised = true;
        found->rect = kScreen;
        Activate(found);
    });
}

void RestoreTopLevel(TopLevelId window) {
    ActOn(window, TopLevelActionKind::Restore, 0, 0, [](auto found) {
        Restore(*found);
        Activate(found);
    });
}

void AskTopLevelToClose(TopLevelId window) {
    ActOn(window, TopLevelActionKind::Close, 0, 0, [](auto found) {
        const bool wasInFront = found->foreground;
        Shared().desktopWindows.erase(found);
        if (wasInFront) {
            PassForegroundOn();
        }
    });
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
    static TopLevelId lastId = 0;
    const auto lock = Lock();
    Shared().desktopWindows = windows;
    for (DesktopWindow& window : Shared().desktopWindows) {
        window.id = window.id != 0 ? window.id : ++lastId;
        if (IsEmpty(window.restored)) {
            window.restored = window.rect;
        }
        if (window.minimised) {
            window.rect = kParked;
        } else if (window.maximised) {
            window.rect = kScreen;
        }
    }
}

std::vector<DesktopWindow> DesktopWindows() {
    const auto lock = Lock();
    return Shared().desktopWindows;
}

std::vector<TopLevelAction> TopLevelActions() {
    const auto lock = Lock();
    return Shared().topLevelActions;
}

void SetScreenPixel(int x, int y, uint32_t rgb) {
    const auto lock = Lock();
    if (uint32_t* pixel = PixelAtLogicalPoint(x, y)) {
        *pixel = 0xFF000000u | rgb;
    }
}

}  // namespace headless
