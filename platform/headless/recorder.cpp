// [SECTION] The input recorder: the tests hand in the user's input as the hooks would queue it.

#include "platform/recorder.h"

#include "platform/headless/State.h"

namespace {

using headless_state::Lock;
using headless_state::Shared;

}  // namespace

namespace platform {

ClickMetrics SystemClickMetrics() {
    return ClickMetrics{};
}

bool StartInputRecorder() {
    const auto lock = Lock();
    if (!Shared().recorderRunning) {
        Shared().recorderRunning = true;
        Shared().recordedInput.clear();
    }
    return true;
}

void StopInputRecorder() {
    const auto lock = Lock();
    Shared().recorderRunning = false;
}

std::vector<UserInput> TakeUserInput() {
    const auto lock = Lock();
    std::vector<UserInput> taken;
    taken.swap(Shared().recordedInput);
    return taken;
}

}  // namespace platform

namespace headless {

void UserInputs(const std::vector<platform::UserInput>& inputs) {
    {
        const auto lock = Lock();
        if (!Shared().recorderRunning || inputs.empty()) {
            return;
        }
        if (Shared().recordedInput.empty()) {
            platform::Event event;
            event.kind = platform::EventKind::UserInputQueued;
            Shared().events.push_back(event);
        }
        Shared().recordedInput.insert(Shared().recordedInput.end(), inputs.begin(), inputs.end());
    }
    headless_state::EventQueued().notify_all();
}

bool InputRecorderRunning() {
    const auto lock = Lock();
    return Shared().recorderRunning;
}

}  // namespace headless
