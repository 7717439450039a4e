// The Wait step: looks at its condition at once, then polls it cheaply until it holds or the
// time runs out, counting down as the Delay does. A pause holds the clock.

#include "player/WaitStep.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "platform/desktop.h"
#include "platform/system.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "steps/Numbers.h"
#include "steps/StepKinds.h"
#include "steps/WaitKinds.h"
#include "steps/WaitValues.h"

namespace {

constexpr int64_t kTenthMicroseconds = 100'000;
constexpr double kMaxSeconds = 86400.0;

// A Wait step's condition as the player looks at it: the port of an answer is the run's, and so
// are a picture and the screen it is looked for on.
struct Condition {
    WaitCondition read;
    int64_t pollMicroseconds = 0;
    HeldComPort* port = nullptr;
    RunScreen* screen = nullptr;
    RunPicture* picture = nullptr;
};

bool AnyTitleContains(const std::string& text) {
    const std::vector<std::string> titles = platform::OtherWindowTitles();
    return std::any_of(titles.begin(), titles.end(),
                       [&](const std::string& title) { return TitleContains(title, text); });
}

// [SECTION] One look per kind

bool WindowOpen(const Condition& condition) {
    return AnyTitleContains(condition.read.text);
}

bool WindowGone(const Condition& condition) {
    return !AnyTitleContains(condition.read.text);
}

bool WindowInFront(const Condition& condition) {
    return TitleContains(platform::ForegroundWindowTitle(), condition.read.text);
}

bool PixelShows(const Condition& condition) {
    const PixelCondition& pixel = condition.read.pixel;
    uint32_t rgb = 0;
    return platform::ScreenPixel(pixel.x, pixel.y, rgb) &&
           ColourMatches(rgb, pixel.rgb, pixel.tolerance);
}

// Every wait reads the held ports; a port closed by a failed read answers nothing. A match
// consumes what came in up to its end.
bool AnswerCame(const Condition& condition) {
    return condition.port->Port->IsOpen() &&
           condition.port->Incoming.TakeMatch(condition.read.text);
}

bool PictureShows(const Condition& condition) {
    int x = 0;
    int y = 0;
    return LookForPicture(*condition.screen, *condition.picture, false, x, y) == PictureLook::Found;
}

// A look costs a capture of the whole screen: the period follows what the looks cost.
int64_t PicturePeriod(const Condition& condition) {
    return PicturePollMicroseconds(condition.pollMicroseconds, condition.screen->looks,
                                   condition.screen->lookCpuMicroseconds);
}

struct WaitLook {
    WaitKind kind;
    bool (*holds)(const Condition& condition);
    // The time to the next look; nullptr: the period of the kind's row.
    int64_t (*period)(const Condition& condition) = nullptr;
};

constexpr WaitLook kLooks[] = {
    {WaitKind::Window, WindowOpen},   {WaitKind::Active, WindowInFront},
    {WaitKind::NoWindow, WindowGone}, {WaitKind::Pixel, PixelShows},
    {WaitKind::Answer, AnswerCame},   {WaitKind::Image, PictureShows, PicturePeriod},
};

const WaitLook* LookOf(const Condition& condition) {
    return RowWith(kLooks, &WaitLook::kind, condition.read.kind);
}

bool Holds(const Condition& condition) {
    const WaitLook* look = LookOf(condition);
    return look != nullptr && look->holds(condition);
}

int64_t Period(const Condition& condition) {
    const WaitLook* look = LookOf(condition);
    return look != nullptr && look->period != nullptr ? look->period(condition)
                                                      : condition.pollMicroseconds;
}

// Reads the step into a condition; false, with the failure reported, when it cannot be waited
// for (a file the text check never saw, a port without Initialise).
bool ReadCondition(Run& run, const StepRecord& step, Condition& condition) {
    const WaitKindRow* kind = FindWaitKind(step.WaitFor);
    if (kind == nullptr || !ReadWaitCondition(step.WaitFor, step.WaitValue, condition.read)) {
        ReportRunFailure(run, "Wait",
                         "Cannot wait for " + step.WaitFor + " \"" + step.WaitValue + "\"");
        return false;
    }
    condition.pollMicroseconds = kind->pollMicroseconds;
    if (condition.read.kind == WaitKind::Image) {
        std::string failure;
        condition.screen = &run.screen;
        condition.picture = PictureOfValue(run.screen, condition.read.picture, failure);
        if (condition.picture == nullptr) {
            ReportRunFailure(run, "Image", failure);
            return false;
        }
    }
    if (condition.read.kind == WaitKind::Answer) {
        const std::string& port = condition.read.port;
        condition.port = FindHeldPort(run, port);
        if (condition.port == nullptr) {
            ReportRunFailure(
                run, "COM port",
                PortRegistered(run, port) ? "Can't open port!" : "Port is not initialised!");
            return false;
        }
        if (!ReopenHeldPort(run, *condition.port)) {
            return false;
        }
    }
    return true;
}

int64_t WaitLength(float seconds) {
    const double clamped = std::clamp(static_cast<double>(seconds), 0.0, kMaxSeconds);
    return std::isnan(seconds) ? 0 : std::llround(clamped * 1e6);
}

void ShowRemaining(int64_t remaining, int64_t& shownTenths) {
    const int64_t tenths = (remaining + kTenthMicroseconds - 1) / kTenthMicroseconds;
    if (tenths != shownTenths) {
        shownTenths = tenths;
        ShowRunText(TextWaitCountdown, IntegerText(tenths / 10) + "." + IntegerText(tenths % 10));
    }
}

// Polls until the condition holds or `length` of unpaused time has passed. A failure reported
// meanwhile (a held port that cannot be read) ends the wait: the run holds after the step.
WaitOutcome AwaitCondition(const Run& run, const Condition& condition, int64_t length) {
    const int64_t start = platform::MonotonicMicroseconds();
    int64_t held = 0;
    int64_t shownTenths = -1;
    WaitOutcome outcome;
    bool holds = Holds(condition);
    while (!holds) {
        const int64_t now = platform::MonotonicMicroseconds();
        const int64_t deadline = start + held + length;
        if (now >= deadline) {
            break;
        }
        ShowRemaining(deadline - now, shownTenths);
        const bool waited = WaitUntil(std::min(now + Period(condition), deadline));
        if (!run.failure.empty()) {
            outcome.failed = true;
            break;
        }
        if (!waited && !GoOnHoldingClock(held)) {
            outcome.ended = true;
            break;
        }
        holds = Holds(condition);
    }
    outcome.waitedMicroseconds = platform::MonotonicMicroseconds() - start - held;
    outcome.timedOut = !holds && !outcome.ended && !outcome.failed;
    ShowRunText(TextWaitCountdown, outcome.timedOut ? "0.0" : "");
    return outcome;
}

// The run goes on at the else step; with none, or one that is not a step of the list (steps
// deleted since), it holds with a box.
void TimedOut(Run& run, const StepRecord& step) {
    if (step.WaitElse >= 1 && !IsStepNumber(step.WaitElse)) {
        ReportRunFailure(run, "Wait",
                         "Else step " + IntegerText(step.WaitElse) + " is not in the list");
        return;
    }
    if (step.WaitElse >= 1) {
        WaitAfterStep();
        run.nextAtOnce = step.WaitElse - 1;
        return;
    }
    ReportRunFailure(run, "Wait",
                     "Timed out after " + OneDecimalText(step.WaitTime) + " s: " + step.WaitFor +
                         " \"" + step.WaitValue + "\"");
}

// "3.2 s", to the tenth.
std::string SecondsText(int64_t microseconds) {
    const int64_t tenths = (microseconds + kTenthMicroseconds / 2) / kTenthMicroseconds;
    return IntegerText(static_cast<int32_t>(tenths / 10)) + "." +
           IntegerText(static_cast<int32_t>(tenths % 10)) + " s";
}

}  // namespace

const WaitOutcome& LastWaitOutcome() {
    return LastRun().wait;
}

void PlayWait(Run& run, const StepRecord& step) {
    run.wait = WaitOutcome{};
    run.did = step.WaitFor + " \"" + step.WaitValue + "\"";
    Condition condition;
    if (!ReadCondition(run, step, condition)) {
        return;
    }
    run.wait = AwaitCondition(run, condition, WaitLength(step.WaitTime));
    const WaitOutcome& outcome = run.wait;
    run.did += (outcome.timedOut ? ", timed out after " : ", waited ") +
               SecondsText(outcome.waitedMicroseconds);
    if (outcome.ended || outcome.failed) {
        return;
    }
    if (outcome.timedOut) {
        if (step.WaitElse >= 1) {
            run.did += ", else step " + IntegerText(step.WaitElse);
        }
        TimedOut(run, step);
        return;
    }
    WaitAfterStep();
}
