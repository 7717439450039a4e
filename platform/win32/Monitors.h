// The monitors in both pixel spaces, and a thread that sees physical pixels for a while: shared
// by the recorder, the pixel reads of the desktop and the screen capture.
#pragma once

#include <vector>

#include "platform/ScreenSpace.h"
#include "platform/win32/WinApi.h"

namespace win32 {

// Makes the calling thread per-monitor DPI aware (it sees physical pixels) while it lives, where
// the system has SetThreadDpiAwarenessContext (Windows 10 1607 and later); elsewhere nothing.
class PhysicalPixels {
public:
    PhysicalPixels();
    ~PhysicalPixels();
    PhysicalPixels(const PhysicalPixels&) = delete;
    PhysicalPixels& operator=(const PhysicalPixels&) = delete;

private:
    HANDLE previous_ = nullptr;
};

// Every monitor's rectangle as this DPI-unaware program sees it (logical) and as a per-monitor
// aware one does (physical). Systems before Windows 10 1607 lack the thread switch, and Wine does
// not scale: there both are the same.
std::vector<platform::MonitorSpace> GatherMonitors();

}  // namespace win32
