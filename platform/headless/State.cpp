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

intptr_t TakeSlot(std::vector<std::string>& table, const std::string& name) {
    for (size_t slot = 0; slot < table.size(); ++slot) {
        if (table[slot].empty()) {
            table[slot] = name;
            return static_cast<intptr_t>(slot);
        }
    }
    table.push_back(name);
    return static_cast<intptr_t>(table.size() - 1);
}

const std::string* SlotName(const std::vector<std::string>& table, intptr_t handle) {
    if (handle < 0 || static_cast<size_t>(handle) >= table.size()) {
        return nullptr;
    }
    const std::string& name = table[static_cast<size_t>(handle)];
    return name.empty() ? nullptr : &name;
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
