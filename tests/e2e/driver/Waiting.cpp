// Waiting by polling, and the two clocks tests measure with.
#include <windows.h>

#include "Driver.h"

namespace e2e {

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!condition()) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

bool WaitUntilPrecise(const std::function<bool()>& condition, int timeoutMs) {
    const double deadline = NowMs() + timeoutMs;
    while (!condition()) {
        if (NowMs() >= deadline) {
            return false;
        }
        Sleep(1);
    }
    return true;
}

double NowMs() {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER now{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double WallClockMs() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    constexpr ULONGLONG UnixEpoch = 116444736000000000ULL;  // 1970-01-01 in 100 ns ticks
    return static_cast<double>(ticks - UnixEpoch) / 10000.0;
}

}  // namespace e2e
