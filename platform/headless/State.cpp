#include "platform/headless/State.h"

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
