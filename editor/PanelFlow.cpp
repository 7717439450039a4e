// The Delay, Loop, Jump, State, Execute and Message containers: their rows, showing and storing
// their fields, and the execute-file chooser.

#include <algorithm>
#include <string>

#include "Forms/FormMAIN.h"
#include "editor/EditorPanel.h"
#include "editor/PanelTypes.h"
#include "platform/files.h"
#include "platform/window.h"
#include "steps/Numbers.h"

namespace {

// [SECTION] Delay

void ShowDelay(const StepRecord& step, int) {
    platform::SetControlText(StringDelay, OneDecimalText(step.DelayTime));
}

// "," is taken for the decimal point as well.
bool StoreDelay(StepRecord& step) {
    std::string delay = platform::ControlText(StringDelay);
    std::replace(delay.begin(), delay.end(), ',', '.');
    step.DelayTime = ReadFloat(delay);
    return Required(delay, "No delay time entered");
}

// [SECTION] Loop and Jump

void ShowLoop(const StepRecord& step, int stepCount) {
    SetStepNumberChooser(ComboLoopFrom, step.LoopFrom, stepCount);
    platform::SetControlText(StringRepetitions, IntegerText(step.LoopCount));
}

bool StoreLoop(StepRecord& step) {
    return StoreInteger(step.LoopFrom, ChooserText(ComboLoopFrom),
                        "No loop from step no selected") &&
           StoreInteger(step.LoopCount, platform::ControlText(StringRepetitions),
                        "No loop repetitions entered");
}

void ShowJump(const StepRecord& step, int stepCount) {
    SetStepNumberChooser(ComboJumpTo, step.JumpTo, stepCount);
}

bool StoreJump(StepRecord& step) {
    return StoreInteger(step.JumpTo, ChooserText(ComboJumpTo), "No jump no selected");
}

// [SECTION] State, Execute and Message

void ShowState(const StepRecord& step, int) {
    platform::SetControlText(StringStateText, step.StateText);
}

// An empty state text is stored.
bool StoreState(StepRecord& step) {
    return StoreText(step.StateText, platform::ControlText(StringStateText), WrongValues,
                     "state text");
}

void ShowExecute(const StepRecord& step, int) {
    platform::SetControlText(StringExecFile, step.ExecFile);
}

bool StoreExecute(StepRecord& step) {
    return StoreText(step.ExecFile, platform::ControlText(StringExecFile), WrongValues,
                     "file path") &&
           Required(step.ExecFile, "No execute file selected");
}

void ShowMessageText(const StepRecord& step, int) {
    platform::SetControlText(StringMessageText, step.MessageText);
}

// An empty message text is stored.
bool StoreMessage(StepRecord& step) {
    return StoreText(step.MessageText, platform::ControlText(StringMessageText), WrongValues,
                     "message text");
}

constexpr PanelEvent kExecuteEvents[] = {{ButtonExecFile, [](int) { return SelectExecuteFile(); }}};

}  // namespace

const PanelType DelayPanel = {
    .type = TypeDelay, .container = ContainerDelay, .show = ShowDelay, .store = StoreDelay};
const PanelType LoopPanel = {
    .type = TypeLoop, .container = ContainerLoop, .show = ShowLoop, .store = StoreLoop};
const PanelType JumpPanel = {
    .type = TypeJump, .container = ContainerJump, .show = ShowJump, .store = StoreJump};
const PanelType StatePanel = {
    .type = TypeState, .container = ContainerState, .show = ShowState, .store = StoreState};
const PanelType ExecutePanel = {.type = TypeExecute,
                                .container = ContainerExecute,
                                .show = ShowExecute,
                                .store = StoreExecute,
                                .events = kExecuteEvents};
const PanelType MessagePanel = {.type = TypeMessage,
                                .container = ContainerMessage,
                                .show = ShowMessageText,
                                .store = StoreMessage};

int SelectExecuteFile() {
    const std::string path =
        platform::OpenFileDialog("Select execute file", {"All files (*.*)", "*.*"});
    if (!path.empty()) {
        platform::SetControlText(StringExecFile, platform::PathAsText(path));
    }
    return 0;
}
