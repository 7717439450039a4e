// The Delay step in the Win32 program under Wine, with real time: the measured length of Delay
// steps of 10 s and 1 s played by PlayDelay on a second thread, as the player thread plays them,
// while the main thread handles the countdown's window messages. Target: within 5 ms of 10 s.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "Forms/MainWindow.h"
#include "Quorvane/Quorvane.h"
#include "bench/wine/MessagePump.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "steps/RList.h"

namespace {

constexpr double kToleranceMs = 5.0;

// Milliseconds one Delay step of `seconds` takes.
double DelayLength(float seconds) {
    RList.Clear();
    StepRecord& step = RList.AddAfterCurrent();
    step.RECORDtype = 3;
    step.DelayTime = seconds;
    PlayRunning = 1;
    std::atomic<bool> done{false};
    double milliseconds = 0;
    std::thread player([&] {
        const auto start = std::chrono::steady_clock::now();
        Run run;
        PlayDelay(run, step);
        const auto end = std::chrono::steady_clock::now();
        milliseconds = std::chrono::duration<double, std::milli>(end - start).count();
        done.store(true);
    });
    bench::PumpMessagesUntil(done);
    player.join();
    PlayRunning = 0;
    return milliseconds;
}

// Prints each run of `seconds` and the worst deviation; true when every run is within tolerance.
bool Measure(float seconds, int runs) {
    double worst = 0;
    for (int run = 1; run <= runs; ++run) {
        const double length = DelayLength(seconds);
        const double deviation = length - seconds * 1000.0;
        worst = std::max(worst, deviation < 0 ? -deviation : deviation);
        std::printf("Delay %4.1f s, run %d: %10.3f ms (%+.3f ms)\n", seconds, run, length,
                    deviation);
        std::fflush(stdout);
    }
    std::printf("Delay %4.1f s: worst deviation %.3f ms (target within %.0f ms)\n", seconds, worst,
                kToleranceMs);
    return worst <= kToleranceMs;
}

}  // namespace

int main() {
    StartUp();
    bench::PumpMessages();
    const bool shortOk = Measure(1.0f, 5);
    const bool longOk = Measure(10.0f, 3);
    std::fflush(stdout);
    return shortOk && longOk ? 0 : 1;
}
