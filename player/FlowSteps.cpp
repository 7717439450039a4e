// The step actions that need no device: Loop, Jump, State, Execute and Message.

#include <string>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/window.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "steps/Numbers.h"
#include "steps/RList.h"

namespace {

constexpr int kLoopTexts[3] = {TextLoop1, TextLoop2, TextLoop3};

void ShowLoopCounter(int level) {
    ShowRunText(kLoopTexts[level], "L" + IntegerText(level + 1) + ": " +
                                                    IntegerText(LoopLevels[level].Counter));
}

// The Loop step at `index` owns `level` and has been reached once more.
void CountLoop(int level, int index, const StepRecord& step) {
    LoopLevel& owned = LoopLevels[level];
    owned.Counter = owned.Counter + 1;
    if (step.LoopCount == owned.Counter) {
        owned.Active = 0;
        ShowRunText(kLoopTexts[level], "");
        if (index + 1 < RList.Count()) {
            PlayNextAtOnce(index + 1);
        } else {
            EndRun(RunEnd::PlayedToEnd);
        }
        return;
    }
    ShowLoopCounter(level);
    WaitAfterStep();
    PlayNextAtOnce(step.LoopFrom - 1);
}

void StartLoop(int level, int index, const StepRecord& step) {
    LoopLevel& taken = LoopLevels[level];
    taken.Active = 1;
    taken.Index = index;
    taken.Counter = 1;
    ShowLoopCounter(level);
    WaitAfterStep();
    PlayNextAtOnce(step.LoopFrom - 1);
}

}  // namespace

int PlayLoop() {
    const int index = RList.Index();
    const StepRecord& step = RList.At(index);
    // A target outside the list takes no level: the step is passed over like one with no target.
    const bool hasTarget = IsStepNumber(step.LoopFrom);
    for (int level = 0; level < 3; ++level) {
        const LoopLevel& tested = LoopLevels[level];
        if (tested.Active == 1 && tested.Index == index) {
            CountLoop(level, index, step);
            return 0;
        }
        if (hasTarget && tested.Active == 0) {
            StartLoop(level, index, step);
            return 0;
        }
    }
    WaitAfterStep();
    return 0;
}

int PlayJump() {
    WaitAfterStep();
    const int32_t jumpTo = RList.Current()->JumpTo;
    if (IsStepNumber(jumpTo)) {
        PlayNextAtOnce(jumpTo - 1);
    }
    return 0;
}

int PlayState() {
    ShowRunText(TextState, RList.Current()->StateText);
    WaitAfterStep();
    return 0;
}

int PlayExecute() {
    const std::string path = platform::TextAsPath(RList.Current()->ExecFile);
    if (platform::FileExists(path)) {
        platform::ShellOpen(path);
    }
    WaitAfterStep();
    return 0;
}

int PlayMessage() {
    SetMessageOpen(true);
    ShowMessage("PAUSE", RList.Current()->MessageText);
    SetMessageOpen(false);
    WaitAfterStep();
    return 0;
}
