// Per-step overhead of a run: wall time from one step's end to the next one's start, on lists of
// 10 and of 10,000 State steps. The headless clock is virtual, so the 200 ms after each State
// step costs nothing and the wall time of a run is the player's own work per step (showing the
// step, dispatching it, the checks between steps). Then the same with a run log, whose lines go
// into the headless platform's in-memory file: the cost of making and writing a line per step.

#include <chrono>
#include <cstdio>
#include <string>

#include "Forms/MainWindow.h"
#include "Quorvane/Quorvane.h"
#include "editor/EditorPanel.h"
#include "platform/headless/headless.h"
#include "player/Player.h"
#include "steps/RList.h"
#include "steps/RunLog.h"
#include "steps/StepRecord.h"

namespace {

void FillStates(int count) {
    RList.Clear();
    for (int i = 0; i < count; ++i) {
        StepRecord& step = RList.AddAfterCurrent();
        step.RECORDtype = TypeState;
        step.StateText = "state " + std::to_string(i + 1);
    }
    RList.First();
    GetValues();
}

// Runs of `count` steps until 100,000 steps have been played, in microseconds per step: the
// same amount of work for either length, so that the machine's load weighs on both alike.
double MicrosecondsPerStep(int count) {
    constexpr int kStepsInAll = 100'000;
    FillStates(count);
    double micros = 0.0;
    for (int played = 0; played < kStepsInAll; played += count) {
        PlaySteps(0);
        const auto start = std::chrono::steady_clock::now();
        PlayRun();
        SettleStartUp();
        const auto end = std::chrono::steady_clock::now();
        micros += std::chrono::duration<double, std::micro>(end - start).count();
    }
    return micros / kStepsInAll;
}

// The length of a 10 s Delay step on the virtual clock: the tick schedule alone, without the
// time the display takes.
double DelaySeconds() {
    RList.Clear();
    StepRecord& step = RList.AddAfterCurrent();
    step.RECORDtype = TypeDelay;
    step.DelayTime = 10.0f;
    GetValues();
    PlaySteps(0);
    const int64_t start = headless::VirtualMicroseconds();
    PlayRun();
    return static_cast<double>(headless::VirtualMicroseconds() - start) / 1e6;
}

}  // namespace

int main() {
    headless::Reset();
    StartUp();
    const double small = MicrosecondsPerStep(10);
    const double large = MicrosecondsPerStep(10'000);
    std::printf("per-step overhead, 10 State steps:     %.2f us\n", small);
    std::printf("per-step overhead, 10,000 State steps: %.2f us\n", large);
    std::printf("ratio 10,000 : 10: %.2f (target below 2)\n", large / small);
    if (!OpenRunLog("C:\\run.log")) {
        std::printf("the run log could not be opened\n");
        return 1;
    }
    const double logged = MicrosecondsPerStep(10'000);
    std::printf(
        "per-step overhead, 10,000 State steps with the run log: %.2f us (%.2f us more; "
        "target at most 1000 us more)\n",
        logged, logged - large);
    std::printf("10 s Delay on the virtual clock: %.6f s\n", DelaySeconds());
    return 0;
}
