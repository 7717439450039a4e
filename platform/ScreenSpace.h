// Physical and logical screen points. Quorvane is DPI-unaware: Windows shows it every monitor in
// logical pixels (physical pixels divided by the monitor's display scale), and that is the space
// of every point it stores and uses. Low-level hooks report physical pixels; this rule takes them
// over, shared by both platform implementations so that they agree.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace platform {

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// One monitor's rectangle as a per-monitor-aware program sees it (physical) and as Quorvane does
// (logical).
struct MonitorSpace {
    ScreenRect physical;
    ScreenRect logical;
};

// The rectangle around every monitor, physical pixels: the desktop a capture covers. Empty
// without monitors.
inline ScreenRect PhysicalBounds(const std::vector<MonitorSpace>& monitors) {
    if (monitors.empty()) {
        return {};
    }
    ScreenRect bounds = monitors.front().physical;
    for (const MonitorSpace& monitor : monitors) {
        bounds.left = std::min(bounds.left, monitor.physical.left);
        bounds.top = std::min(bounds.top, monitor.physical.top);
        bounds.right = std::max(bounds.right, monitor.physical.right);
        bounds.bottom = std::max(bounds.bottom, monitor.physical.bottom);
    }
    return bounds;
}

// The logical point of a physical one: scaled from the physical rectangle of the monitor that
// holds it (or the nearest one) to that monitor's logical rectangle. Unchanged without monitors.
inline void ToLogicalPoint(const std::vector<MonitorSpace>& monitors, int& x, int& y) {
    const MonitorSpace* nearest = nullptr;
    int64_t nearestDistance = 0;
    for (const MonitorSpace& monitor : monitors) {
        const ScreenRect& p = monitor.physical;
        const int64_t dx = x < p.left ? p.left - x : x >= p.right ? x - p.right + 1 : 0;
        const int64_t dy = y < p.top ? p.top - y : y >= p.bottom ? y - p.bottom + 1 : 0;
        const int64_t distance = dx * dx + dy * dy;
        if (nearest == nullptr || distance < nearestDistance) {
            nearest = &monitor;
            nearestDistance = distance;
        }
    }
    if (nearest == nullptr) {
        return;
    }
    const ScreenRect& p = nearest->physical;
    const ScreenRect& l = nearest->logical;
    const auto scale = [](int value, int from, int fromEnd, int to, int toEnd) {
        if (fromEnd <= from) {
            return to;
        }
        const int64_t inside = value < from       ? 0
                               : value >= fromEnd ? fromEnd - from - 1
                                                  : value - from;
        return static_cast<int>(to + inside * (toEnd - to) / (fromEnd - from));
    };
    x = scale(x, p.left, p.right, l.left, l.right);
    y = scale(y, p.top, p.bottom, l.top, l.bottom);
}

}  // namespace platform
