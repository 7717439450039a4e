// How fast a user's Escape ends a run under Wine: from a real Escape key press (xdotool, through
// the X server) to the end state of the run in Quorvane's window (Play enabled, Pause and Stop
// disabled), 20 presses during a Delay step and 20 during the wait after a State step, each at a
// different moment of the tick or the wait. Prints every press, the median and the worst.
//   usage: escape_wine_bench.exe [--program=<Quorvane.exe>]
// The step files are opened through File > Open, so any build of Quorvane.exe can be measured.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Driver.h"
#include "Forms/FormMAIN.h"

using namespace e2e;

namespace {

constexpr int kPresses = 20;
constexpr double kMedianTargetMs = 20;
constexpr double kWorstTargetMs = 50;

Window gMain = nullptr;

bool RunActive() {
    return IsEnabled(FindControl(gMain, ButtonStop)) && !IsEnabled(FindControl(gMain, ButtonPlay));
}

bool RunEnded() {
    return IsEnabled(FindControl(gMain, ButtonPlay)) &&
           !IsEnabled(FindControl(gMain, ButtonPause)) &&
           !IsEnabled(FindControl(gMain, ButtonStop));
}

// One press: Play, a moment into the run, a real Escape; milliseconds from the return of the key
// press to the end state, or -1 when the run did not end.
double MeasurePress(int press) {
    ChooseMenuItem(gMain, MenuPlay);
    if (!WaitUntil(RunActive)) {
        return -1;
    }
    // A different moment of the 100 ms tick or the 200 ms wait for every press; 37 is prime to
    // both, so the moments spread over them.
    const double pressAt = NowMs() + 300 + (press * 37) % 200;
    WaitUntilPrecise([&] { return NowMs() >= pressAt; }, 1000);
    const std::string stamp = RunFolder() + "/escape-" + std::to_string(press);
    StartShell("xdotool keydown Escape; date +%s%3N >" + stamp + ".part; mv " + stamp + ".part " +
               stamp + "; xdotool keyup Escape");
    const bool ended = WaitUntilPrecise(RunEnded, 10000);
    const double endedAt = WallClockMs();
    std::string pressedAt;
    WaitUntil([&] { return !(pressedAt = ReadWholeFile(WindowsPathOf(stamp))).empty(); });
    RunShell("rm -f " + stamp);
    if (!ended || pressedAt.empty()) {
        return -1;
    }
    return endedAt - std::strtod(pressedAt.c_str(), nullptr);
}

// Prints the presses of one kind of wait, their median and worst; true when both meet the target.
bool Measure(const std::string& kind, const std::string& path) {
    if (!OpenThroughDialog(gMain, path)) {
        std::printf("%s: the step file did not open\n", kind.c_str());
        return false;
    }
    std::vector<double> latencies;
    for (int press = 0; press < kPresses; ++press) {
        const double latency = MeasurePress(press);
        if (latency < 0) {
            std::printf("%s, press %d: the run did not end\n", kind.c_str(), press + 1);
            return false;
        }
        latencies.push_back(latency);
        std::printf("%s, press %2d: %6.1f ms\n", kind.c_str(), press + 1, latency);
        std::fflush(stdout);
        WaitUntil(RunEnded);
    }
    std::sort(latencies.begin(), latencies.end());
    const double median = (latencies[kPresses / 2 - 1] + latencies[kPresses / 2]) / 2;
    const double worst = latencies.back();
    std::printf(
        "%s: median %.1f ms, worst %.1f ms over %d presses (targets: median below %.0f ms, "
        "worst below %.0f ms)\n",
        kind.c_str(), median, worst, kPresses, kMedianTargetMs, kWorstTargetMs);
    std::fflush(stdout);
    return median < kMedianTargetMs && worst < kWorstTargetMs;
}

std::string WriteSteps(const std::string& folder, const std::string& fileName,
                       const std::vector<std::string>& steps) {
    WriteWholeFile(folder + fileName, StepFileText(steps, "Escape benchmark"));
    return folder + fileName;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = ScratchFolder();
    if ((gMain = LaunchProgramUnderTest(argc, argv)) == nullptr) {
        std::printf("Quorvane.exe did not start\n");
        return 1;
    }
    const std::string delay = WriteSteps(folder, "escape-delay.stp", {"3;30.0;"});
    // A State step's wait, and a Jump back to it (whose wait comes before the jump).
    const std::string states =
        WriteSteps(folder, "escape-state.stp", {"7;a;", "7;b;", "7;c;", "7;d;", "7;e;", "6;1;"});
    const bool delayOk = Measure("during a Delay step", delay);
    const bool stateOk = Measure("during the wait after a State step", states);
    EndProgram();
    return delayOk && stateOk ? 0 : 1;
}
