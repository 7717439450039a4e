// The Window step: finds another program's window by a part of its title, at once, acts on it and
// polls until the action shows (the window in front, at its place, at its size, minimised...),
// for at most 2 s. The polls go through the player's waits, so Stop, Escape and Pause act at once.

#include <algorithm>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/system.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "steps/Numbers.h"
#include "steps/StepKinds.h"
#include "steps/WindowChoice.h"

namespace {

using platform::Rect;
using platform::TopLevelId;
using platform::TopLevelShow;

constexpr const char* kCaption = "Window";
constexpr int64_t kRespondMicroseconds = 2'000'000;
// A look costs a few microseconds: a short period lets the click follow the window in front at
// once (under Wine a window is in front about 2 ms after it was asked).
constexpr int64_t kPollMicroseconds = 2'000;
// An action that has not shown yet is asked again this often: the system may refuse the
// foreground at first, and a pause may have let the user put the window elsewhere.
constexpr int64_t kAskAgainMicroseconds = 250'000;

// One Window step being played on the window it found.
struct Acting {
    const StepRecord& step;
    TopLevelId window = 0;
    Rect before;  // the outer rectangle in the normal state, before a Move or Size was asked
};

bool ShowsAs(const Acting& acting, TopLevelShow state) {
    return platform::TopLevelShowState(acting.window) == state;
}

bool SameRect(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

Rect OuterRect(const Acting& acting) {
    Rect outer;
    platform::TopLevelRect(acting.window, outer);
    return outer;
}

// The screen point of the step's point in the window's client area.
bool ScreenPoint(const Acting& acting, int& x, int& y) {
    if (!platform::TopLevelClientOrigin(acting.window, x, y)) {
        return false;
    }
    x += acting.step.WindowX;
    y += acting.step.WindowY;
    return true;
}

// [SECTION] What each action asks of the window, and how it shows

// An action of the window that needs nothing but the window, and a state it shows.
template <void (*Act)(TopLevelId window)>
void Ask(Acting& acting) {
    Act(acting.window);
}

template <TopLevelShow State>
bool Shows(Acting& acting) {
    return ShowsAs(acting, State);
}

bool InFront(Acting& acting) {
    return platform::IsTopLevelInFront(acting.window) && !ShowsAs(acting, TopLevelShow::Minimised);
}

// In front, and the point lies on the window, not on a window above it (this program's main
// window stays on top of every other).
bool InFrontAtThePoint(Acting& acting) {
    int x = 0;
    int y = 0;
    platform::TopLevelAtPoint at;
    return InFront(acting) && ScreenPoint(acting, x, y) && platform::TopLevelAt(x, y, at) &&
           at.id == acting.window;
}

void MoveTo(Acting& acting) {
    platform::MoveTopLevel(acting.window, acting.step.WindowX, acting.step.WindowY);
}

bool Moved(Acting& acting) {
    const Rect outer = OuterRect(acting);
    return ShowsAs(acting, TopLevelShow::Normal) && outer.left == acting.step.WindowX &&
           outer.top == acting.step.WindowY;
}

void SizeTo(Acting& acting) {
    platform::SizeTopLevel(acting.window, acting.step.WindowX, acting.step.WindowY);
}

// The size asked for, or the one the system gave instead: a window cannot get smaller than its
// frame and caption, nor larger than the system allows.
bool Sized(Acting& acting) {
    const Rect outer = OuterRect(acting);
    const bool exact = outer.right - outer.left == acting.step.WindowX &&
                       outer.bottom - outer.top == acting.step.WindowY;
    return ShowsAs(acting, TopLevelShow::Normal) && (exact || !SameRect(outer, acting.before));
}

// The program may ask about unsaved work first: the step does not wait for the window to go.
bool Asked(Acting&) {
    return true;
}

struct WindowDoing {
    WindowAction action;
    void (*ask)(Acting& acting);
    bool (*shown)(Acting& acting);
    // Acts on the normal place: a minimised or maximised window is restored first.
    bool normalFirst = false;
};

constexpr WindowDoing kDoings[] = {
    {WindowAction::Click, Ask<platform::BringTopLevelToFront>, InFrontAtThePoint},
    {WindowAction::Activate, Ask<platform::BringTopLevelToFront>, InFront},
    {WindowAction::Move, MoveTo, Moved, true},
    {WindowAction::Size, SizeTo, Sized, true},
    {WindowAction::Minimize, Ask<platform::MinimiseTopLevel>, Shows<TopLevelShow::Minimised>},
    {WindowAction::Maximize, Ask<platform::MaximiseTopLevel>, Shows<TopLevelShow::Maximised>},
    {WindowAction::Restore, Ask<platform::RestoreTopLevel>, Shows<TopLevelShow::Normal>},
    {WindowAction::Close, Ask<platform::AskTopLevelToClose>, Asked},
};

const WindowDoing* DoingOf(WindowAction action) {
    return RowWith(kDoings, &WindowDoing::action, action);
}

// [SECTION] Playing the step

enum class Outcome { Shown, NoAnswer, Gone, Ended };

// The 2 s a step has, held while the run is paused.
struct Clock {
    int64_t start = 0;
    int64_t held = 0;
};

// Asks, then polls until the action shows; after a pause, or a while without it, asks again.
Outcome Await(Acting& acting, void (*ask)(Acting&), bool (*shown)(Acting&), Clock& clock) {
    int64_t askedAt = platform::MonotonicMicroseconds();
    ask(acting);
    for (;;) {
        if (shown(acting)) {
            return Outcome::Shown;
        }
        if (!platform::TopLevelExists(acting.window)) {
            return Outcome::Gone;
        }
        const int64_t now = platform::MonotonicMicroseconds();
        const int64_t deadline = clock.start + clock.held + kRespondMicroseconds;
        if (now >= deadline) {
            return Outcome::NoAnswer;
        }
        if (!WaitUntil(std::min(now + kPollMicroseconds, deadline)) &&
            !GoOnHoldingClock(clock.held)) {
            return Outcome::Ended;
        }
        if (platform::MonotonicMicroseconds() - askedAt >= kAskAgainMicroseconds) {
            ask(acting);
            askedAt = platform::MonotonicMicroseconds();
        }
    }
}

Outcome AwaitAction(Acting& acting, const WindowDoing& doing) {
    Clock clock{platform::MonotonicMicroseconds()};
    if (doing.normalFirst && !ShowsAs(acting, TopLevelShow::Normal)) {
        const Outcome restored =
            Await(acting, Ask<platform::RestoreTopLevel>, Shows<TopLevelShow::Normal>, clock);
        if (restored != Outcome::Shown) {
            return restored;
        }
    }
    acting.before = OuterRect(acting);
    return Await(acting, doing.ask, doing.shown, clock);
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string PointText(int x, int y) {
    return IntegerText(x) + " " + IntegerText(y);
}

// Why a click's point could not be reached in time: the window is not in front, the point lies
// beyond it, or another window covers it there.
std::string ClickFailure(const Acting& acting, const std::string& title) {
    int x = 0;
    int y = 0;
    const Rect outer = OuterRect(acting);
    platform::TopLevelAtPoint at;
    if (!platform::IsTopLevelInFront(acting.window) || !ScreenPoint(acting, x, y)) {
        return "Window " + title + " did not respond";
    }
    const std::string point = PointText(acting.step.WindowX, acting.step.WindowY);
    if (x < outer.left || x >= outer.right || y < outer.top || y >= outer.bottom) {
        return "The point " + point + " lies outside window " + title;
    }
    const bool named = platform::TopLevelAt(x, y, at) && !at.title.empty();
    return "Window " + title + " is covered at " + point + " by " +
           (named ? Quoted(at.title) : std::string("another window"));
}

// What the run log says was done: the action, the window's full title, and where to for Move and
// Size (a click adds the screen point it clicked).
std::string Did(const StepRecord& step, const WindowActionRow& action, const std::string& full) {
    std::string did = step.WindowDo + " " + Quoted(full);
    if (action.point == WindowPoint::OnScreen || action.point == WindowPoint::Size) {
        did += " to " + PointText(step.WindowX, step.WindowY);
    }
    return did;
}

}  // namespace

void PlayWindow(Run& run, const StepRecord& step) {
    const std::string title = Quoted(step.WindowTitle);
    run.did = step.WindowDo + " " + title;
    const WindowActionRow* action = FindWindowAction(step.WindowDo);
    const WindowDoing* doing = action != nullptr ? DoingOf(action->action) : nullptr;
    if (doing == nullptr) {
        ReportRunFailure(run, kCaption, "Unknown window action " + Quoted(step.WindowDo));
        return;
    }
    const std::vector<platform::TopLevelWindow> windows = platform::OtherTopLevels();
    const platform::TopLevelWindow* found = ChooseWindow(windows, step.WindowTitle);
    if (found == nullptr) {
        ReportRunFailure(run, kCaption, "Window " + title + " not found");
        return;
    }
    Acting acting{step, found->id};
    switch (AwaitAction(acting, *doing)) {
        case Outcome::Shown:
            break;
        case Outcome::NoAnswer:
            ReportRunFailure(run, kCaption,
                             action->action == WindowAction::Click
                                 ? ClickFailure(acting, title)
                                 : "Window " + title + " did not respond");
            return;
        case Outcome::Gone:
            ReportRunFailure(run, kCaption, "Window " + title + " not found");
            return;
        case Outcome::Ended:
            return;
    }
    run.did = Did(step, *action, found->title);
    int x = 0;
    int y = 0;
    if (action->action == WindowAction::Click && ScreenPoint(acting, x, y)) {
        run.did += " at " + PointText(x, y);
        platform::SetCursorPosition(x, y);
        Click(action->click);
    }
    WaitAfterStep();
}
