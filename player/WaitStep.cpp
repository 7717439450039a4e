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
#include "steps/WaitValues.h"

namespace {

// How often each kind of condition is looked at: often enough to see a change within 20 ms on
// the median, seldom enough that a look (a walk over the other programs' windows, a screen read)
// costs next to nothing.
constexpr int64_t kTenthMicroseconds = 100'000;
constexpr double kMaxSeconds = 86400.0;

enum class Kind { Window, Active, NoWindow, Pixel, Answer };

struct Condition {
    Kind kind = Kind::Window;
    std::string text;  // a title part or the answer
    PixelCondition pixel;
    HeldComPort* port = nullptr;
};

int64_t PollMicroseconds(Kind kind) {
    switch (kind) {
        case Kind::Window:
        case Kind::NoWindow:
            return 25'000;
        case Kind::Answer:
            return 15'000;
        case Kind::Active:
            return 12'000;
        case Kind::Pixel:
            return 10'000;
    }
    return 15'000;
}

bool AnyTitleContains(const std::string& text) {
    const std::vector<std::string> titles = platform::OtherWindowTitles();
    return std::any_of(titles.begin(), titles.end(),
                       [&](const std::string& title) { return TitleContains(title, text); });
}

bool Holds(const Condition& condition) {
    uint32_t rgb = 0;
    switch (condition.kind) {
        case Kind::Window:
            return AnyTitleContains(condition.text);
        case Kind::NoWindow:
            return !AnyTitleContains(condition.text);
        case Kind::Active:
            return TitleContains(platform::ForegroundWindowTitle(), condition.text);
        case Kind::Pixel:
            return platform::ScreenPixel(condition.pixel.x, condition.pixel.y, rgb) &&
                   ColourMatches(rgb, condition.pixel.rgb, condition.pixel.tolerance);
        case Kind::Answer:
            // Every wait reads the held ports; a port closed by a failed read answers nothing.
            return condition.port->Port->IsOpen() &&
                   condition.port->Incoming.TakeMatch(condition.text);
    }
    return false;
}

// Reads the step into a condition; false, with the failure reported, when it cannot be waited
// for (a file the text check never saw, a port without Initialise).
bool ReadCondition(Run& run, const StepRecord& step, Condition& condition) {
    static constexpr std::pair<const char*, Kind> kKinds[] = {{"Window", Kind::Window},
                                                              {"Active", Kind::Active},
                                                              {"NoWindow", Kind::NoWindow},
                                                              {"Pixel", Kind::Pixel},
                                                              {"Answer", Kind::Answer}};
    const auto* found = std::find_if(std::begin(kKinds), std::end(kKinds),
                                     [&](const auto& row) { return step.WaitFor == row.first; });
    if (found == std::end(kKinds) || !WaitValueValid(step.WaitFor, step.WaitValue)) {
        ReportRunFailure(run, "Wait",
                         "Cannot wait for " + step.WaitFor + " \"" + step.WaitValue + "\"");
        return false;
    }
    condition.kind = found->second;
    condition.text = step.WaitValue;
    if (condition.kind == Kind::Pixel) {
        ReadPixelValue(step.WaitValue, condition.pixel);
    }
    if (condition.kind == Kind::Answer) {
        AnswerCondition answer;
        ReadAnswerValue(step.WaitValue, answer);
        condition.text = answer.text;
        condition.port = FindHeldPort(run, answer.port);
        if (condition.port == nullptr) {
            ReportRunFailure(
                run, "COM port",
                PortRegistered(run, answer.port) ? "Can't open port!" : "Port is not initialised!");
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
        const bool waited = WaitUntil(std::min(now + PollMicroseconds(condition.kind), deadline));
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

void TimedOut(Run& run, const StepRecord& step) {
    if (step.WaitElse >= 1) {
        WaitAfterStep();
        if (IsStepNumber(step.WaitElse)) {
            run.nextAtOnce = step.WaitElse - 1;
        }
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
