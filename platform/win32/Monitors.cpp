#include "platform/win32/Monitors.h"

#include <utility>

namespace {

using AwarenessContext = HANDLE;
const AwarenessContext kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4));
using SetAwarenessFunction = AwarenessContext(WINAPI*)(AwarenessContext);

SetAwarenessFunction SetAwareness() {
    static const auto function = reinterpret_cast<SetAwarenessFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext")));
    return function;
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(monitor, &info)) {
        const RECT& r = info.rcMonitor;
        reinterpret_cast<std::vector<std::pair<HMONITOR, platform::ScreenRect>>*>(data)->push_back(
            {monitor, platform::ScreenRect{r.left, r.top, r.right, r.bottom}});
    }
    return TRUE;
}

std::vector<std::pair<HMONITOR, platform::ScreenRect>> MonitorRects() {
    std::vector<std::pair<HMONITOR, platform::ScreenRect>> rects;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&rects));
    return rects;
}

}  // namespace

namespace win32 {

PhysicalPixels::PhysicalPixels() {
    if (SetAwareness() != nullptr) {
        previous_ = SetAwareness()(kPerMonitorAwareV2);
    }
}

PhysicalPixels::~PhysicalPixels() {
    if (previous_ != nullptr) {
        SetAwareness()(previous_);
    }
}

std::vector<platform::MonitorSpace> GatherMonitors() {
    const auto logical = MonitorRects();
    auto physical = logical;
    if (SetAwareness() != nullptr) {
        const PhysicalPixels pixels;
        physical = MonitorRects();
    }
    std::vector<platform::MonitorSpace> monitors;
    for (const auto& [monitor, rect] : logical) {
        for (const auto& [other, physicalRect] : physical) {
            if (other == monitor) {
                monitors.push_back({physicalRect, rect});
            }
        }
    }
    return monitors;
}

}  // namespace win32
