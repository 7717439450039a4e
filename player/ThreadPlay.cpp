// The player thread: one run from its start step to its end, the per-step dispatcher and the
// waits between steps.

#include <algorithm>
#include <iterator>
#include <span>
#include <string>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/system.h"
#include "platform/window.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "steps/Document.h"
#include "steps/Numbers.h"
#include "steps/RList.h"
#include "steps/RunLog.h"
#include "steps/StepKinds.h"
#include "steps/StepRecord.h"
#include "steps/StepTypes.h"

namespace {

constexpr int64_t kMicrosecondsPerMs = 1000;
// A paused run sleeps until a transition or the Escape watch wakes it; the limit is only a safety
// net and costs nothing.
constexpr int kPauseSafetyNetMs = 60000;
// While the run holds ports open, no sleep is longer than this: a device sending at 115200 baud
// fills less than 600 bytes of the driver's queue meanwhile.
constexpr int kHeldPortReadMs = 50;

// The action of each step type. The run log line names the type by its upper-case name
// (steps/StepTypes.h).
constexpr StepAction kStepActions[] = {
    {TypeMouse, PlayMouse}, {TypeKeyboard, PlayKeyboard}, {TypeDelay, PlayDelay},
    {TypeLoop, PlayLoop},   {TypeComport, PlayComport},   {TypeJump, PlayJump},
    {TypeState, PlayState}, {TypeExecute, PlayExecute},   {TypeMessage, PlayMessage},
    {TypeWait, PlayWait},   {TypeWindow, PlayWindow},     {TypeImage, PlayImage},
};

// The run being played, or the last one. Only the thread that plays a run touches it while it
// lasts; tests read it after the run.
Run gRun;

// The checks before and after every step: false when the run is to end, also when it is
// stopped while it waits in a pause. A held port that fails meanwhile gets a line of its own in
// the run log.
bool ChecksBetweenSteps(Run& run) {
    run.failure.clear();
    CheckUserEscape();
    if (PlayRunning != 0) {
        PauseWait();
    }
    if (!run.failure.empty()) {
        WriteRunLog(0, "RUN", "between steps", "failed: " + run.failure);
    }
    return PlayRunning != 0;
}

// What a step's line in the run log says about how it went.
std::string StepResult(const Run& run) {
    if (!run.failure.empty()) {
        return "failed: " + run.failure;
    }
    return PlayRunning == 0 ? "stopped" : "ok";
}

// Shows and performs the element run.index, and writes its line in the run log.
void PlayElement(Run& run) {
    ShowRunStep(run.index);
    const StepRecord& step = RList.At(run.index);
    run.did.clear();
    run.failure.clear();
    const int32_t type = step.RECORDtype;
    if (const StepAction* action = StepActionOf(type)) {
        action->play(run, step);
    } else {
        run.did = "unknown type " + IntegerText(type);
        ReportRunFailure(run, "Error", "ThreadPLAY(): Unknown recordtype: " + IntegerText(type),
                         false);
    }
    const char* name = TypeUpperName(type);
    WriteRunLog(run.index + 1, *name != '\0' ? name : "UNKNOWN", run.did, StepResult(run));
}

// Plays the current element and then every element that a Loop or Jump step sends the run to,
// each after the checks; false when the run is to end.
bool PlayStepAndTargets(Run& run) {
    PlayElement(run);
    while (run.nextAtOnce >= 0) {
        run.index = run.nextAtOnce;
        run.nextAtOnce = -1;
        if (!ChecksBetweenSteps(run)) {
            return false;
        }
        PlayElement(run);
    }
    return true;
}

bool NextElement(Run& run) {
    if (run.index + 1 >= RList.Count()) {
        return false;
    }
    ++run.index;
    return true;
}

// The end of a run: the status fields emptied, the start step shown again, then idle (Play
// offered) last, so that a new run cannot start while this one ends; then the main thread is
// told that it ended.
void EndOfRun(Run& run) {
    run.heldPorts.clear();
    for (int field : {TextLoop1, TextLoop2, TextLoop3}) {
        ShowRunText(field, "");
    }
    ShowRunStep(PlayStartIndex);
    FinishRun();
    platform::Event event;
    event.kind = platform::EventKind::Posted;
    event.source = static_cast<int>(RunEvent::Ended);
    platform::PostEvent(event);
}

}  // namespace

void SleepReadingPorts(int milliseconds, uint64_t seen) {
    platform::SleepUntilWoken(
        gRun.heldPorts.empty() ? milliseconds : std::min(milliseconds, kHeldPortReadMs), seen);
}

void CheckUserEscape() {
    if (platform::UserEscapePressed()) {
        EndRun(RunEnd::Stopped);
    }
}

void PauseWait() {
    for (;;) {
        // Read before the look, so that a change after it ends the sleep at once. Every
        // transition and the Escape watch wake the sleeper, so it needs no time limit.
        const uint64_t seen = platform::WakeCount();
        ReadHeldPorts(gRun);
        CheckUserEscape();
        if (PlayPaused != 1 || PlayRunning == 0) {
            return;
        }
        SleepReadingPorts(kPauseSafetyNetMs, seen);
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
        ReadHeldPorts(gRun);
        CheckUserEscape();
        if (PlayRunning == 0 || PlayPaused == 1) {
            return false;
        }
        const int64_t remaining = deadline - platform::MonotonicMicroseconds();
        if (remaining <= 0) {
            return true;
        }
        // The sleep has 1 ms resolution: round up to end on or just after the deadline.
        SleepReadingPorts(
            static_cast<int>((remaining + kMicrosecondsPerMs - 1) / kMicrosecondsPerMs), seen);
    }
}

void WaitAfterStep() {
    WaitUntil(platform::MonotonicMicroseconds() + StepInterval * kMicrosecondsPerMs);
}

std::span<const StepAction> StepActions() {
    return kStepActions;
}

const StepAction* StepActionOf(int32_t type) {
    return RowWith(kStepActions, &StepAction::type, type);
}

bool IsStepNumber(int32_t number) {
    return number >= 1 && number <= RList.Count();
}

const Run& LastRun() {
    return gRun;
}

void ThreadPLAY(int) {
    for (;;) {
        WaitForRun();
        PlayRun();
    }
}

void PlayRun() {
    gRun = Run{};
    gRun.startIndex = PlayStartIndex;
    gRun.index = gRun.startIndex;
    WriteRunLog(0, "RUN", "started " + platform::PathAsText(StepFilePath),
                "Quorvane " + ProgramVersion);
    if (gRun.index >= 0 && gRun.index < RList.Count()) {
        while (ChecksBetweenSteps(gRun) && PlayStepAndTargets(gRun) && ChecksBetweenSteps(gRun) &&
               NextElement(gRun)) {
        }
    }
    EndOfRun(gRun);
}
