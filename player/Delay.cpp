// The Delay step: a countdown in ticks of 100 ms, held by a pause, cut short by Stop
// and Escape.

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
#include "steps/RList.h"

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

// Sleeps until the monotonic clock reaches `deadline`; the sleep has 1 ms resolution, so the
// remainder is rounded up to end on or just after the deadline.
void SleepUntil(int64_t deadline) {
    const int64_t remaining = deadline - platform::MonotonicMicroseconds();
    platform::SleepMs(static_cast<int>(std::max<int64_t>(0, (remaining + 999) / 1000)));
}

}  // namespace

int PlayDelay() {
    const int32_t ticks = TickCount(RList.Current()->DelayTime);
    // Each tick's deadline counts from the start of the schedule, so the time the display takes
    // does not add up; a pause starts a new schedule at the value it held.
    int64_t scheduleStart = platform::MonotonicMicroseconds();
    int32_t scheduleFrom = ticks;
    for (int32_t tick = ticks; tick >= 1; --tick) {
        CheckUserEscape();
        if (PlayRunning == 0) {
            return 0;
        }
        if (PlayPaused == 1) {
            PauseWait();
            if (PlayRunning == 0) {
                return 0;
            }
            scheduleStart = platform::MonotonicMicroseconds();
            scheduleFrom = tick;
        }
        platform::SetControlText(TextCountdown, TenthsText(tick));
        SleepUntil(scheduleStart + int64_t{scheduleFrom - tick + 1} * kTickMicroseconds);
    }
    platform::SetControlText(TextCountdown, "0.0");
    return 0;
}
