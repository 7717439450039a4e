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
#include "steps/RList.h"
#include "steps/WaitValues.h"

namespace {

// Short enough to see a change within 20 ms, long enough to cost next to nothing.
constexpr int64_t kPollMicroseconds = 8'000;
constexpr int64_t kTenthMicroseconds = 100'000;
constexpr double kMaxSeconds = 86400.0;

enum class Kind { Window, Active, NoWindow, Pixel, Answer };

struct Condition {
    Kind kind = Kind::Window;
    std::string text;  // a title part or the answer
    PixelCondition pixel;
    HeldComPort* port = nullptr;
};

WaitOutcome gLastOutcome;

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
            TakeIncoming(*condition.port);
            return condition.port->Incoming.Contains(condition.text);
    }
    return false;
}

// Reads the step into a condition; false, with the failure reported, when it cannot be waited
// for (a file the text check never saw, a port without Initialise).
bool ReadCondition(const StepRecord& step, Condition& condition) {
    static constexpr std::pair<const char*, Kind> kKinds[] = {{"Window", Kind::Window},
                                                              {"Active", Kind::Active},
                                                              {"NoWindow", Kind::NoWindow},
                                                              {"Pixel", Kind::Pixel},
                                                              {"Answer", Kind::Answer}};
    const auto* found = std::find_if(std::begin(kKinds), std::end(kKinds),
                                     [&](const auto& row) { return step.WaitFor == row.first; });
    if (found == std::end(kKinds) || !WaitValueValid(step.WaitFor, step.WaitValue)) {
        ReportRunFailure("Wait", "Cannot wait for " + step.WaitFor + " \"" + step.WaitValue + "\"");
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
        condition.port = FindHeldPort(answer.port);
        if (condition.port == nullptr) {
            ReportRunFailure("COM port", PortRegistered(answer.port) ? "Can't open port!"
                                                                     : "Port is not initialised!");
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

// Polls until the condition holds or `length` of unpaused time has passed.
WaitOutcome AwaitCondition(const Condition& condition, int64_t length) {
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
        if (!WaitUntil(std::min(now + kPollMicroseconds, deadline)) && !GoOnHoldingClock(held)) {
            outcome.ended = true;
            break;
        }
        holds = Holds(condition);
    }
    outcome.waitedMicroseconds = platform::MonotonicMicroseconds() - start - held;
    outcome.timedOut = !holds && !outcome.ended;
    ShowRunText(TextWaitCountdown, outcome.timedOut ? "0.0" : "");
    return outcome;
}

void TimedOut(const StepRecord& step) {
    if (step.WaitElse >= 1) {
        WaitAfterStep();
        if (IsStepNumber(step.WaitElse)) {
            PlayNextAtOnce(step.WaitElse - 1);
        }
        return;
    }
    ReportRunFailure("Wait", "Timed out after " + OneDecimalText(step.WaitTime) +
                                 " s: " + step.WaitFor + " \"" + step.WaitValue + "\"");
}

}  // namespace

const WaitOutcome& LastWaitOutcome() {
    return gLastOutcome;
}

int PlayWait() {
    const StepRecord& step = *RList.Current();
    gLastOutcome = WaitOutcome{};
    Condition condition;
    if (!ReadCondition(step, condition)) {
        return 0;
    }
    gLastOutcome = AwaitCondition(condition, WaitLength(step.WaitTime));
    if (gLastOutcome.ended) {
        return 0;
    }
    if (gLastOutcome.timedOut) {
        TimedOut(step);
        return 0;
    }
    WaitAfterStep();
    return 0;
}
