// The run state shared with the main thread: its transitions, the buttons that show it, and the
// idle player's wake-up.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "Forms/MainWindow.h"
#include "platform/system.h"
#include "platform/window.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"

std::atomic<int32_t> PlayRunning{0};
std::atomic<int32_t> PlayPaused{0};
std::atomic<int32_t> PlayStartIndex{0};
const int32_t StepInterval = 200;

namespace {

enum class Phase {
    Idle,       // no run; the editing controls are unlocked
    Playing,    // PlayRunning 1, PlayPaused 0 (1 while a Message step's box is open)
    Paused,     // PlayRunning 1, PlayPaused 1: held by Pause or a failure
    Ending,     // PlayRunning 0: stopped, Escape or the last loop done; the player is finishing
    Recording,  // no run; the user's input is being recorded, the editing controls are locked
};

// Never destroyed: the player thread waits on them until the process ends, and destroying a
// condition variable with a waiter blocks the exit.
std::mutex& StateMutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}

std::condition_variable& Wake() {
    static auto* wake = new std::condition_variable;
    return *wake;
}

// Guarded by StateMutex(); the flags mirror them for the threads that only poll.
Phase gPhase = Phase::Idle;
bool gMessageOpen = false;
// How the current or last run ended; PlayedToEnd also when its list ran out.
RunEnd gRunEnd = RunEnd::PlayedToEnd;
// True while the player thread waits in WaitForRun.
bool gWaiting = false;
// How the runs ended whose ends nobody has taken yet, oldest first.
std::deque<RunEnd> gUntakenEnds;

void SetPhase(Phase phase) {
    gPhase = phase;
    PlayRunning = phase == Phase::Playing || phase == Phase::Paused ? 1 : 0;
    PlayPaused = phase == Phase::Paused || (phase == Phase::Playing && gMessageOpen) ? 1 : 0;
}

Phase CurrentPhase() {
    const std::lock_guard<std::mutex> lock(StateMutex());
    return gPhase;
}

// Applies `change` under the state lock; when it changed the phase, wakes the player and has the
// main thread show the new phase. Returns whether it changed anything.
template <typename Change>
bool Transition(Change change) {
    bool changed = false;
    {
        const std::lock_guard<std::mutex> lock(StateMutex());
        changed = change();
    }
    if (changed) {
        Wake().notify_all();
        platform::WakeSleepers();
        platform::Event shown;
        shown.kind = platform::EventKind::Posted;
        shown.source = static_cast<int>(RunEvent::Phase);
        if (OnMainThread()) {
            ShowRunPhase();
        } else {
            platform::PostEvent(shown);
        }
    }
    return changed;
}

// The transition from `from` to `to`, when the run state is in `from`.
bool Move(Phase from, Phase to) {
    return Transition([from, to] {
        if (gPhase != from) {
            return false;
        }
        SetPhase(to);
        return true;
    });
}

}  // namespace

void ShowRunPhase() {
    // The phase is read when it is drawn, not when it changed: a drawing that comes late shows
    // the newest state, never an older one.
    switch (CurrentPhase()) {
        case Phase::Idle:
            LockControls(0);
            ShowIdleControls();
            break;
        case Phase::Playing:
            LockControls(1);
            ShowRunningControls();
            break;
        case Phase::Paused:
            LockControls(1);
            ShowPausedControls();
            break;
        case Phase::Ending:
            LockControls(1);
            ShowStoppingControls();
            break;
        case Phase::Recording:
            LockControls(1);
            ShowRecordingControls();
            break;
    }
}

const char* RunEndText(RunEnd ended) {
    switch (ended) {
        case RunEnd::PlayedToEnd:
            return "played to the end";
        case RunEnd::Stopped:
            return "stopped";
        case RunEnd::Failed:
            return "failed";
    }
    return "failed";
}

std::optional<RunEnd> TakeRunEnd() {
    const std::lock_guard<std::mutex> lock(StateMutex());
    if (gUntakenEnds.empty()) {
        return std::nullopt;
    }
    const RunEnd ended = gUntakenEnds.front();
    gUntakenEnds.pop_front();
    return ended;
}

void SetInitialRunState() {
    const std::lock_guard<std::mutex> lock(StateMutex());
    gUntakenEnds.clear();
    gMessageOpen = false;
    SetPhase(Phase::Idle);
    PlayStartIndex = 0;
}

bool BeginRun(int32_t startIndex) {
    return Transition([startIndex] {
        if (gPhase != Phase::Idle) {
            return false;
        }
        gMessageOpen = false;
        gRunEnd = RunEnd::PlayedToEnd;
        PlayStartIndex = startIndex;
        SetPhase(Phase::Playing);
        return true;
    });
}

bool RunActive() {
    return CurrentPhase() != Phase::Idle;
}

bool ResumeRun() {
    return Transition([] {
        if (gPhase != Phase::Paused) {
            return false;
        }
        // Play always names step 1 as the step the run ends on, also when it resumes.
        PlayStartIndex = 0;
        SetPhase(Phase::Playing);
        return true;
    });
}

bool HoldRun() {
    return Move(Phase::Playing, Phase::Paused);
}

bool EndRun(RunEnd reason) {
    return Transition([reason] {
        if (gPhase != Phase::Playing && gPhase != Phase::Paused) {
            return false;
        }
        gRunEnd = reason;
        SetPhase(Phase::Ending);
        return true;
    });
}

void SetMessageOpen(bool open) {
    Transition([open] {
        gMessageOpen = open;
        // A pause given while the box was open ends with the box.
        SetPhase(!open && gPhase == Phase::Paused ? Phase::Playing : gPhase);
        return true;
    });
}

RunEnd FinishRun() {
    RunEnd ended = RunEnd::PlayedToEnd;
    Transition([&ended] {
        gMessageOpen = false;
        ended = gRunEnd;
        gUntakenEnds.push_back(ended);
        SetPhase(Phase::Idle);
        return true;
    });
    return ended;
}

bool EndRunAndWait(int milliseconds) {
    EndRun(RunEnd::Stopped);
    std::unique_lock<std::mutex> lock(StateMutex());
    return Wake().wait_for(lock, std::chrono::milliseconds(milliseconds), [] {
        return gPhase != Phase::Playing && gPhase != Phase::Paused && gPhase != Phase::Ending;
    });
}

bool BeginRecording() {
    return Move(Phase::Idle, Phase::Recording);
}

bool RecordingActive() {
    return CurrentPhase() == Phase::Recording;
}

void FinishRecording() {
    Move(Phase::Recording, Phase::Idle);
}

void WaitForRun() {
    std::unique_lock<std::mutex> lock(StateMutex());
    gWaiting = true;
    Wake().wait(lock, [] { return gPhase != Phase::Idle && gPhase != Phase::Recording; });
    gWaiting = false;
}

bool PlayerWaiting() {
    // A run begun before the player has woken is not waiting any more: the player is about to
    // play it.
    const std::lock_guard<std::mutex> lock(StateMutex());
    return gWaiting && gPhase == Phase::Idle;
}
