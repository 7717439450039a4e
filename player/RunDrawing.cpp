// What a run shows and reports: the player asks, the main thread draws. On the main thread itself
// (a run played there by a test) the drawing happens at once.

#include <condition_variable>
#include <mutex>
#include <string>

#include "Forms/MainWindow.h"
#include "editor/EditorPanel.h"
#include "platform/window.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "steps/RList.h"

namespace {

struct PendingBox {
    std::string title;
    std::string text;
    bool open = false;  // posted and not closed yet
};

std::mutex gBoxMutex;
std::condition_variable gBoxClosed;
PendingBox gBox;  // guarded by gBoxMutex

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

// The run's boxes have no owner, so that the main window's Stop and Pause stay usable.
void ShowPendingBox() {
    std::string title;
    std::string text;
    {
        const std::lock_guard<std::mutex> lock(gBoxMutex);
        title = gBox.title;
        text = gBox.text;
    }
    ShowMessage(title, text, BoxOwner::Nobody);
    {
        const std::lock_guard<std::mutex> lock(gBoxMutex);
        gBox.open = false;
    }
    gBoxClosed.notify_all();
}

// Has the main thread show a box; `wait`: returns when it has been closed.
void ShowBox(std::string_view title, std::string_view text, bool wait) {
    {
        std::unique_lock<std::mutex> lock(gBoxMutex);
        // One box at a time: a box still open from the step before is closed first.
        gBoxClosed.wait(lock, [] { return !gBox.open; });
        gBox = PendingBox{std::string(title), std::string(text), true};
    }
    Draw(RunEventOf(RunEvent::Box));
    if (wait) {
        std::unique_lock<std::mutex> lock(gBoxMutex);
        gBoxClosed.wait(lock, [] { return !gBox.open; });
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
    ShowBox(title, text, false);
}

void AskPerson(std::string_view title, std::string_view text) {
    ShowBox(title, text, true);
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
            ShowPendingBox();
            break;
        case RunEvent::Ended:
            break;
    }
}
