// The player thread: one run from its start step to its end, and the per-step dispatcher.

#include <string>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "editor/EditorPanel.h"
#include "platform/input.h"
#include "platform/system.h"
#include "platform/window.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "steps/Numbers.h"
#include "steps/RList.h"
#include "steps/StepRecord.h"

namespace {

constexpr int kPauseWaitPollMs = 100;
constexpr int64_t kMicrosecondsPerMs = 1000;

// Only the thread that plays a run reads and writes this.
int gNextAtOnce = -1;

// The checks before and after every step: false when the run is to end, also when it is
// stopped while it waits in a pause.
bool ChecksBetweenSteps() {
    CheckUserEscape();
    if (PlayRunning == 0) {
        return false;
    }
    PauseWait();
    return PlayRunning != 0;
}

// Plays the current element and then every element that a Loop or Jump step sends the run to,
// each after the checks; false when the run is to end.
bool PlayStepAndTargets() {
    PlayActualRecord();
    for (int target = TakeNextAtOnce(); target >= 0; target = TakeNextAtOnce()) {
        if (!ChecksBetweenSteps()) {
            return false;
        }
        RList.Select(target);
        PlayActualRecord();
    }
    return true;
}

// What one run owns: no registered or held ports and free loop levels at its start.
void ResetRunState() {
    ComPorts.clear();
    HeldComPorts.clear();
    for (LoopLevel& level : LoopLevels) {
        level.Active = 0;
        level.Index = 0;
        level.Counter = 0;
    }
}

void EndOfRun() {
    HeldComPorts.clear();
    for (int field : {TextLoop1, TextLoop2, TextLoop3}) {
        platform::SetControlText(field, "");
    }
    // The list is read for the last time before anything that could change it is unlocked, and
    // the run is over (Play offered) last, so that a new run cannot start while this one ends.
    RList.Select(PlayStartIndex);
    GetValues();
    FinishRun();
}

}  // namespace

void ShowRunText(int control, std::string_view text) {
    platform::SetControlText(control, text);
}

void ReportRunFailure(std::string_view title, std::string_view text) {
    if (Unattended()) {
        EndRun(RunEnd::Failed);
        return;
    }
    HoldRun();
    ShowMessage(title, text);
}

void CheckUserEscape() {
    if (platform::UserEscapePressed()) {
        EndRun(RunEnd::Stopped);
    }
}

void PauseWait() {
    for (;;) {
        // Read before the look, so that a change after it ends the sleep at once.
        const uint64_t seen = platform::WakeCount();
        CheckUserEscape();
        if (PlayPaused != 1 || PlayRunning == 0) {
            return;
        }
        platform::SleepUntilWoken(kPauseWaitPollMs, seen);
    }
}

bool GoOnHoldingClock(int64_t& held) {
    CheckUserEscape();
    if (PlayRunning == 0) {
        return false;
    }
    if (PlayPaused == 1) {
        const int64_t pausedAt = platform::MonotonicMicroseconds();
        PauseWait();
        held += platform::MonotonicMicroseconds() - pausedAt;
    }
    return PlayRunning != 0;
}

bool WaitUntil(int64_t deadline) {
    for (;;) {
        const uint64_t seen = platform::WakeCount();
        CheckUserEscape();
        if (PlayRunning == 0 || PlayPaused == 1) {
            return false;
        }
        const int64_t remaining = deadline - platform::MonotonicMicroseconds();
        if (remaining <= 0) {
            return true;
        }
        // The sleep has 1 ms resolution: round up to end on or just after the deadline.
        platform::SleepUntilWoken(
            static_cast<int>((remaining + kMicrosecondsPerMs - 1) / kMicrosecondsPerMs), seen);
    }
}

void WaitAfterStep() {
    WaitUntil(platform::MonotonicMicroseconds() + StepInterval * kMicrosecondsPerMs);
}

void PlayNextAtOnce(int index) {
    gNextAtOnce = index;
}

int TakeNextAtOnce() {
    const int index = gNextAtOnce;
    gNextAtOnce = -1;
    return index;
}

bool IsStepNumber(int32_t number) {
    return number >= 1 && number <= RList.Count();
}

void ThreadPLAY(int) {
    for (;;) {
        WaitForRun();
        PlayRun();
    }
}

void PlayRun() {
    ResetRunState();
    TakeNextAtOnce();
    RList.Select(PlayStartIndex);
    if (RList.Current() != nullptr) {
        while (ChecksBetweenSteps() && PlayStepAndTargets() && ChecksBetweenSteps() &&
               RList.Next()) {
        }
    }
    EndOfRun();
}

int PlayActualRecord() {
    GetValues();
    const StepRecord* step = RList.Current();
    if (step == nullptr) {
        return 0;
    }
    switch (step->RECORDtype) {
        case TypeMouse:
            return PlayMouse();
        case TypeKeyboard:
            return PlayKeyboard();
        case TypeDelay:
            return PlayDelay();
        case TypeLoop:
            return PlayLoop();
        case TypeComport:
            return PlayComport();
        case TypeJump:
            return PlayJump();
        case TypeState:
            return PlayState();
        case TypeExecute:
            return PlayExecute();
        case TypeMessage:
            return PlayMessage();
        case TypeWait:
            return PlayWait();
        default:
            ShowMessage("Error",
                        "ThreadPLAY(): Unknown recordtype: " + IntegerText(step->RECORDtype));
            return 0;
    }
}
