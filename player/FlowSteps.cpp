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
#include "steps/StepFile.h"

namespace {

constexpr int kLoopTexts[3] = {TextLoop1, TextLoop2, TextLoop3};

void ShowLoopCounter(const Run& run, int level) {
    ShowRunText(kLoopTexts[level],
                "L" + IntegerText(level + 1) + ": " + IntegerText(run.loops[level].Counter));
}

// The Loop step at run.index owns `level` and has been reached once more.
void CountLoop(Run& run, int level, const StepRecord& step) {
    LoopLevel& owned = run.loops[level];
    owned.Counter = owned.Counter + 1;
    if (step.LoopCount == owned.Counter) {
        owned.Active = 0;
        ShowRunText(kLoopTexts[level], "");
        run.did = "loop done after " + IntegerText(owned.Counter) + " rounds";
        // On the last step nothing follows: the list has run out and the run ends played to its
        // end.
        if (run.index + 1 < RList.Count()) {
            run.nextAtOnce = run.index + 1;
        }
        return;
    }
    ShowLoopCounter(run, level);
    run.did =
        "round " + IntegerText(owned.Counter) + ", back to step " + IntegerText(step.LoopFrom);
    WaitAfterStep();
    run.nextAtOnce = step.LoopFrom - 1;
}

void StartLoop(Run& run, int level, const StepRecord& step) {
    LoopLevel& taken = run.loops[level];
    taken.Active = 1;
    taken.Index = run.index;
    taken.Counter = 1;
    ShowLoopCounter(run, level);
    run.did = "round 1, back to step " + IntegerText(step.LoopFrom);
    WaitAfterStep();
    run.nextAtOnce = step.LoopFrom - 1;
}

}  // namespace

void PlayLoop(Run& run, const StepRecord& step) {
    // A target outside the list takes no level: the step is passed over like one with no target.
    const bool hasTarget = IsStepNumber(step.LoopFrom);
    for (int level = 0; level < 3; ++level) {
        const LoopLevel& tested = run.loops[level];
        if (tested.Active == 1 && tested.Index == run.index) {
            CountLoop(run, level, step);
            return;
        }
        if (hasTarget && tested.Active == 0) {
            StartLoop(run, level, step);
            return;
        }
    }
    run.did = "passed over";
    WaitAfterStep();
}

void PlayJump(Run& run, const StepRecord& step) {
    WaitAfterStep();
    if (IsStepNumber(step.JumpTo)) {
        run.nextAtOnce = step.JumpTo - 1;
        run.did = "jump to step " + IntegerText(step.JumpTo);
    } else {
        run.did = "no step " + IntegerText(step.JumpTo) + " to jump to";
    }
}

void PlayState(Run& run, const StepRecord& step) {
    ShowRunText(TextState, step.StateText);
    run.did = "state " + step.StateText;
    WaitAfterStep();
}

void PlayExecute(Run& run, const StepRecord& step) {
    const std::string path = platform::TextAsPath(step.ExecFile);
    run.did = "started " + step.ExecFile;
    // A device (COM5, NUL) is no program; looking for it would open it.
    if (NamesDevice(path) || !platform::FileExists(path)) {
        // With a person there a missing program is passed over; unattended, the list cannot do
        // what it was meant to, and the run ends.
        run.did = "no file " + step.ExecFile;
        if (Unattended()) {
            ReportRunFailure(run, "Execute", "File not found " + step.ExecFile, false);
        }
    } else if (!platform::ShellOpen(path)) {
        ReportRunFailure(run, "Execute", "Can't start " + step.ExecFile, false);
    }
    WaitAfterStep();
}

void PlayMessage(Run& run, const StepRecord& step) {
    SetMessageOpen(true);
    AskPerson(run, "PAUSE", step.MessageText);
    run.did = "message shown";
    WaitAfterStep();
}
