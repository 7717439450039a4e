// Physical and logical screen points. Quorvane is DPI-unaware: Windows shows it every monitor in
// logical pixels (physical pixels divided by the monitor's display scale), and that is the space
// of every point it stores and uses. Low-level hooks report physical pixels and the screen is read
// in them; the one rule below takes points across, shared by both platform implementations so
// that they agree.
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

// The rule both ways: a pixel goes to the pixel of the other space that holds its centre, on the
// same monitor (offset o from the monitor's edge, from a size of n pixels to one of m:
// floor((o + 1/2) * m / n)). A monitor's physical size is never below its logical one (display
// scales are 100 % and more), so a logical point taken to physical and back is the same point.
inline int ScaleAcross(int value, int from, int fromEnd, int to, int toEnd) {
    if (fromEnd <= from) {
        return to;
    }
    const int64_t inside = value < from ? 0 : value >= fromEnd ? fromEnd - from - 1 : value - from;
    return static_cast<int>(to + (2 * inside + 1) * (toEnd - to) / (2 * int64_t{fromEnd - from}));
}

// The logical point of a physical one (from a low-level hook): on the monitor whose physical
// rectangle holds it, or the nearest one. Unchanged without monitors.
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
    x = ScaleAcross(x, p.left, p.right, l.left, l.right);
    y = ScaleAcross(y, p.top, p.bottom, l.top, l.bottom);
}

// The physical point of a logical one (to read the screen there): on the monitor whose logical
// rectangle holds it. False, and the point unchanged, when it lies on no monitor.
inline bool ToPhysicalPoint(const std::vector<MonitorSpace>& monitors, int& x, int& y) {
    for (const MonitorSpace& monitor : monitors) {
        const ScreenRect& l = monitor.logical;
        const ScreenRect& p = monitor.physical;
        if (x >= l.left && x < l.right && y >= l.top && y < l.bottom) {
            x = ScaleAcross(x, l.left, l.right, p.left, p.right);
            y = ScaleAcross(y, l.top, l.bottom, p.top, p.bottom);
            return true;
        }
    }
    return false;
}

}  // namespace platform
