// Control > Record: the user's clicks, typing and pauses become steps after the current one;
// Control > Record in windows makes the clicks on other programs' windows Window steps.
// Everything here runs on the main thread; the hooks only queue the input (platform/recorder.h).

#include <vector>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "editor/EditorPanel.h"
#include "platform/recorder.h"
#include "platform/window.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "steps/RList.h"
#include "steps/Recording.h"

namespace {

// The input of the recording under way, in order.
std::vector<InputAction> gInput;
// Control > Record in windows is checked: clicks on other programs' windows become Window steps.
bool gRecordInWindows = false;

// The platform and the recording logic list the same kinds and buttons in the same order.
static_assert(static_cast<int>(platform::UserInputKind::KeyUp) ==
              static_cast<int>(InputKind::KeyUp));
static_assert(static_cast<int>(platform::MouseButton::Middle) ==
              static_cast<int>(InputButton::Middle));

InputAction Action(const platform::UserInput& input) {
    InputAction action;
    action.kind = static_cast<InputKind>(input.kind);
    action.timeMs = input.timeMs;
    action.onOwnWindow = input.onOwnWindow;
    action.x = input.x;
    action.y = input.y;
    action.button = static_cast<InputButton>(input.button);
    action.windowTitle = input.windowTitle;
    action.windowX = input.windowX;
    action.windowY = input.windowY;
    action.key = input.key;
    action.text = input.text;
    action.lostCharacter = input.lostCharacter;
    action.shift = input.shift;
    action.control = input.control;
    action.alt = input.alt;
    return action;
}

// Takes what the hooks queued; true when the user pressed Escape.
bool CollectInput() {
    bool escape = false;
    for (const platform::UserInput& input : platform::TakeUserInput()) {
        gInput.push_back(Action(input));
        escape = escape || EndsRecording(gInput.back());
    }
    return escape;
}

ClickRules SystemClickRules() {
    const platform::ClickMetrics metrics = platform::SystemClickMetrics();
    return ClickRules{metrics.dragWidth, metrics.dragHeight, metrics.doubleClickMs,
                      metrics.doubleClickWidth, metrics.doubleClickHeight};
}

}  // namespace

void RecordSteps() {
    if (RunActive() || SaveActualRecord() == 0 || !BeginRecording()) {
        return;
    }
    gInput.clear();
    if (!platform::StartInputRecorder()) {
        FinishRecording();
        ShowMessage("Error", "Can't record: the system refused the mouse and keyboard hooks");
        return;
    }
    platform::SetControlText(TextState, "Recording");
}

void TakeRecordedInput() {
    if (RecordingActive() && CollectInput()) {
        EndRecording();
    }
}

void EndRecording() {
    if (!RecordingActive()) {
        return;
    }
    platform::StopInputRecorder();
    CollectInput();
    const Recording recording = StepsFromInput(gInput, SystemClickRules(), gRecordInWindows);
    gInput.clear();
    if (!recording.steps.empty()) {
        const int first = RList.Index() + 1;
        for (const StepRecord& step : recording.steps) {
            RList.AddAfterCurrent() = step;
        }
        RList.Select(first);
        GetValues();
    }
    platform::SetControlText(TextState, "");
    FinishRecording();
    // Input of the recording may still be on its way to the program in front: taking the
    // foreground from it now would lose that input.
    ShowNotice(RecordingNotice(recording), FormMAIN, false);
}

void ToggleRecordInWindows() {
    gRecordInWindows = !gRecordInWindows;
    platform::SetMenuItemChecked(MenuRecordInWindows, gRecordInWindows);
}
