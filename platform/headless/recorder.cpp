// [SECTION] The input recorder: the tests hand in the user's input as the hooks would queue it.

#include "platform/recorder.h"

#include "platform/headless/State.h"

namespace {

using headless_state::Lock;
using headless_state::Shared;

// A mouse event carries the desktop window under it as it is now, as the hooks note it; without
// one there it keeps what the test gave.
void NoteWindowUnder(platform::UserInput& input) {
    platform::TopLevelAtPoint under;
    const bool mouse = input.kind == platform::UserInputKind::ButtonDown ||
                       input.kind == platform::UserInputKind::ButtonUp ||
                       input.kind == platform::UserInputKind::Wheel;
    if (mouse && headless_state::DesktopWindowAt(input.x, input.y, under)) {
        input.onOwnWindow = under.own;
        input.windowTitle = std::move(under.title);
        input.windowX = under.clientX;
        input.windowY = under.clientY;
    }
}

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
        for (platform::UserInput input : inputs) {
            NoteWindowUnder(input);
            Shared().recordedInput.push_back(std::move(input));
        }
    }
    headless_state::EventQueued().notify_all();
}

bool InputRecorderRunning() {
    const auto lock = Lock();
    return Shared().recorderRunning;
}

}  // namespace headless
