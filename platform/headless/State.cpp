#include "platform/headless/State.h"

#include <algorithm>

namespace headless_state {

std::unique_lock<std::mutex> Lock() {
    static std::mutex mutex;
    return std::unique_lock<std::mutex>(mutex);
}

State& Shared() {
    static State state;
    return state;
}

std::condition_variable& EventQueued() {
    static std::condition_variable queued;
    return queued;
}

void NoteCaller(const char* call) {
    if (std::this_thread::get_id() != Shared().mainThread) {
        Shared().wrongThreadCalls.emplace_back(call);
    }
}

platform::ScreenRect ScreenBounds() {
    return platform::PhysicalBounds(Shared().monitors);
}

std::vector<uint32_t>& ScreenPixels() {
    std::vector<uint32_t>& screen = Shared().screen;
    const platform::ScreenRect bounds = ScreenBounds();
    const int width = bounds.right - bounds.left;
    if (screen.empty() && width > 0 && bounds.bottom > bounds.top) {
        screen.assign(static_cast<size_t>(width) * (bounds.bottom - bounds.top), 0);
        for (const platform::MonitorSpace& monitor : Shared().monitors) {
            const platform::ScreenRect& r = monitor.physical;
            for (int y = r.top; y < r.bottom; ++y) {
                const auto row = screen.begin() + static_cast<ptrdiff_t>(y - bounds.top) * width;
                std::fill(row + (r.left - bounds.left), row + (r.right - bounds.left), 0xFF000000u);
            }
        }
    }
    return screen;
}

uint32_t* ScreenPixelAt(int x, int y) {
    for (const platform::MonitorSpace& monitor : Shared().monitors) {
        const platform::ScreenRect& r = monitor.physical;
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
            const platform::ScreenRect bounds = ScreenBounds();
            return ScreenPixels().data() +
                   static_cast<ptrdiff_t>(y - bounds.top) * (bounds.right - bounds.left) +
                   (x - bounds.left);
        }
    }
    return nullptr;
}

intptr_t OpenHandle(std::map<intptr_t, std::string>& table, const std::string& name) {
    static intptr_t nextHandle = 0;
    const intptr_t handle = nextHandle++;
    table.emplace(handle, name);
    return handle;
}

const std::string* HandleName(const std::map<intptr_t, std::string>& table, intptr_t handle) {
    auto found = table.find(handle);
    return found != table.end() ? &found->second : nullptr;
}

int64_t& CallerThreadCpu() {
    thread_local int64_t used = 0;
    return used;
}

}  // namespace headless_state

namespace headless {

void Reset() {
    // Actions are destroyed outside the lock: a captured object's destructor may call back in.
    headless_state::State old;
    {
        const auto lock = headless_state::Lock();
        std::swap(old, headless_state::Shared());
    }
}

}  // namespace headless
