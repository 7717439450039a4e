// The Delay step: a countdown in ticks of 100 ms, held by a pause, cut short by Stop and
// Escape at once.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "Forms/FormMAIN.h"
#include "platform/system.h"
#include "platform/window.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "steps/Numbers.h"

namespace {

constexpr int64_t kTickMicroseconds = 100'000;

// The number of 100 ms ticks: seconds x 10 rounded to the nearest, halves to the even
// neighbour. NaN and negative values give none; a huge value is capped rather than overflowing.
int32_t TickCount(float seconds) {
    const double ticks = std::nearbyint(static_cast<double>(seconds) * 10.0);
    if (!(ticks > 0.0)) {
        return 0;
    }
    return ticks >= std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                        : static_cast<int32_t>(ticks);
}

// Tenths of a second with exactly one decimal ("2.5"), from the integer so no float rounding
// can show a wrong digit.
std::string TenthsText(int32_t tenths) {
    return IntegerText(tenths / 10) + "." + IntegerText(tenths % 10);
}

}  // namespace

void PlayDelay(Run& run, const StepRecord& step) {
    const int32_t ticks = TickCount(step.DelayTime);
    run.did = "Delay " + TenthsText(ticks) + " s";
    // Each tick's deadline counts from the start, so the time the display takes does not add up;
    // a pause, within a tick or between two, moves the rest of the schedule on by its length and
    // keeps the value it showed.
    const int64_t start = platform::MonotonicMicroseconds();
    int64_t held = 0;
    for (int32_t tick = ticks; tick >= 1; --tick) {
        if (!GoOnHoldingClock(held)) {
            return;
        }
        ShowRunText(TextCountdown, TenthsText(tick));
        const int64_t due = start + int64_t{ticks - tick + 1} * kTickMicroseconds;
        while (!WaitUntil(due + held)) {
            if (!GoOnHoldingClock(held)) {
                return;
            }
        }
    }
    ShowRunText(TextCountdown, "0.0");
}
