// What a run shows and reports: the player asks, the main thread draws. On the main thread itself
// (a run played there by a test) the drawing happens at once.

#include <map>
#include <mutex>
#include <string>

#include "Forms/MainWindow.h"
#include "editor/EditorPanel.h"
#include "platform/system.h"
#include "platform/window.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "steps/RList.h"

namespace {

// A player held by a box sleeps until the box closes or a transition wakes it; the limit is only
// a safety net.
constexpr int kBoxSafetyNetMs = 60000;

// A box the player asked for, from its posting until the person closes it.
struct RunBox {
    std::string title;
    std::string text;
    bool message = false;  // a Message step's box
};

std::mutex gBoxMutex;
std::map<int, RunBox> gOpenBoxes;  // by number; guarded by gBoxMutex
int gLastBox = 0;                  // guarded by gBoxMutex

// The element the run being played showed last, -1 when none yet. Main thread only.
int gShownByRun = -1;

platform::Event RunEventOf(RunEvent what, int value = 0, std::string_view text = {}) {
    platform::Event event;
    event.kind = platform::EventKind::Posted;
    event.source = static_cast<int>(what);
    event.value = value;
    event.text = text;
    return event;
}

void Draw(const platform::Event& event) {
    if (OnMainThread()) {
        DrawRunEvent(event);
    } else {
        platform::PostEvent(event);
    }
}

// Shows box `number` and returns when the person has closed it (main thread). The run's boxes
// have no owner, so that the main window's Stop and Pause stay usable; what they do while the
// box is open is handled inside its modal loop.
void ShowRunBox(int number) {
    RunBox box;
    {
        const std::lock_guard<std::mutex> lock(gBoxMutex);
        const auto found = gOpenBoxes.find(number);
        if (found == gOpenBoxes.end()) {
            return;
        }
        box = found->second;
    }
    ShowMessage(box.title, box.text, BoxOwner::Nobody);
    {
        const std::lock_guard<std::mutex> lock(gBoxMutex);
        gOpenBoxes.erase(number);
    }
    // On the main thread, at the moment it closes: a Pause given while it was open ends here,
    // never after the player has gone on.
    if (box.message) {
        SetMessageOpen(false);
    }
    platform::WakeSleepers();
}

bool IsBoxOpen(int number) {
    const std::lock_guard<std::mutex> lock(gBoxMutex);
    return gOpenBoxes.count(number) != 0;
}

// Has the main thread show a box; returns its number.
int PostRunBox(RunBox box) {
    int number = 0;
    {
        const std::lock_guard<std::mutex> lock(gBoxMutex);
        number = ++gLastBox;
        gOpenBoxes.emplace(number, std::move(box));
    }
    Draw(RunEventOf(RunEvent::Box, number));
    return number;
}

// Holds the player until box `number` is closed, reading the run's held ports meanwhile, so that
// a chatty device does not overrun its queue while a box is open. The user's Escape is seen; with
// `endsWithRun`, the hold also ends at once when the run ends (Stop, Escape, the close box).
void HoldWhileOpen(Run& run, int number, bool endsWithRun) {
    for (;;) {
        const uint64_t seen = platform::WakeCount();
        ReadHeldPorts(run);
        CheckUserEscape();
        if (!IsBoxOpen(number) || (endsWithRun && PlayRunning == 0)) {
            return;
        }
        SleepReadingPorts(kBoxSafetyNetMs, seen);
    }
}

}  // namespace

void ForgetShownStep() {
    gShownByRun = -1;
}

void ShowRunText(int control, std::string_view text) {
    Draw(RunEventOf(RunEvent::Text, control, text));
}

void ShowRunStep(int index) {
    Draw(RunEventOf(RunEvent::Step, index));
}

void ReportRunFailure(Run& run, std::string_view title, std::string_view text, bool hold) {
    if (run.failure.empty()) {
        run.failure = text;
    }
    if (Unattended()) {
        // Nobody could read the box or choose Play or Stop: the run ends, failed.
        ReportFailure(title, text);
        EndRun(RunEnd::Failed);
        return;
    }
    if (hold) {
        HoldRun();
    }
    // Nothing is played behind the box: the run goes on (or holds in the pause) once it is
    // closed, and Stop or Escape end the run at once.
    HoldWhileOpen(run, PostRunBox(RunBox{std::string(title), std::string(text)}), true);
}

void AskPerson(Run& run, std::string_view title, std::string_view text) {
    HoldWhileOpen(run, PostRunBox(RunBox{std::string(title), std::string(text), true}), false);
}

bool IsRunEvent(const platform::Event& event) {
    return event.kind == platform::EventKind::Posted &&
           event.source >= static_cast<int>(RunEvent::Phase) &&
           event.source <= static_cast<int>(RunEvent::Ended);
}

void DrawRunEvent(const platform::Event& event) {
    switch (static_cast<RunEvent>(event.source)) {
        case RunEvent::Phase:
            ShowRunPhase();
            break;
        case RunEvent::Step:
            // An element this run has shown last is still shown: the list cannot change during
            // a run. Showing it again would only cost time (a long text is slow to set).
            if (gShownByRun != event.value || RList.Index() != event.value) {
                RList.Select(event.value);
                GetValues();
                gShownByRun = event.value;
            }
            break;
        case RunEvent::Text:
            platform::SetControlText(event.value, event.text);
            break;
        case RunEvent::Box:
            ShowRunBox(event.value);
            break;
        case RunEvent::Ended:
            break;
    }
}
