// A long text that stops: a Keyboard step of 100,000 characters typed by a run of Quorvane.exe
// into the target's counter, and a real Escape press 1 s into it. Prints the typing rate before
// the press, how long after the press the run ended and the last character arrived, how many
// characters came after the press, and whether Shift, Control or Alt is still down afterwards.
//   usage: long_text_wine_bench.exe --program=<Quorvane.exe> <Target.exe>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Driver.h"
#include "Forms/FormMAIN.h"

using namespace e2e;

namespace {

constexpr size_t kLength = 100000;
constexpr double kPressAfterMs = 1000;
constexpr double kTargetMs = 100;
// The log line of one character: "char 97\n" (every character of the text has a two-digit code).
constexpr size_t kLineBytes = 8;

Window gMain = nullptr;

bool RunEnded() {
    return IsEnabled(FindControl(gMain, ButtonPlay)) && !IsEnabled(FindControl(gMain, ButtonStop));
}

// Letters with and without Shift, blanks and punctuation: every character a two-digit code.
std::string TextToType() {
    const std::string pattern = "The quick brown fox jumps over the lazy dog. ";
    std::string text;
    while (text.size() < kLength) {
        text += pattern;
    }
    text.resize(kLength);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: long_text_wine_bench.exe --program=<Quorvane.exe> <Target.exe>\n");
        return 2;
    }
    const std::string folder = ScratchFolder();
    TargetProgram target;
    if ((gMain = LaunchProgramUnderTest(argc, argv)) == nullptr ||
        !StartTarget(argv[argc - 1], folder + "long-text.log", target)) {
        std::printf("Quorvane.exe or the target did not start\n");
        return 1;
    }
    const std::string path = folder + "long-text.stp";
    WriteWholeFile(path, StepFileText({"2;String;" + TextToType() + ";"}, "long text"));
    if (!OpenThroughDialog(gMain, path)) {
        std::printf("the step file did not open\n");
        return 1;
    }
    Window counter = FindControl(target.window, TargetCounter);
    ClickReal(counter);
    if (!WaitUntil([&] { return FocusedControl(target.window) == counter; })) {
        std::printf("the counter did not get the focus\n");
        return 1;
    }
    const size_t from = TargetLogSize(target);
    ChooseMenuItem(gMain, MenuPlay);
    WaitUntilPrecise([&] { return TargetLogSize(target) > from; }, 10000);
    const double firstAt = NowMs();
    WaitUntilPrecise([&] { return NowMs() >= firstAt + kPressAfterMs; }, 5000);
    const std::string stamp = RunFolder() + "/long-text-escape";
    StartShell("xdotool keydown Escape; date +%s%3N >" + stamp + ".part; mv " + stamp + ".part " +
               stamp + "; xdotool keyup Escape");
    // One watch over the characters, the press and the run's end, until the characters have
    // stopped for 2 s after the run ended.
    std::string pressedText;
    double pressedAt = -1;
    double endedAt = -1;
    size_t size = TargetLogSize(target);
    double lastGrowth = NowMs();
    size_t atPress = 0;
    while (endedAt < 0 || pressedAt < 0 || NowMs() - lastGrowth < 2000) {
        if (NowMs() - firstAt > 60000) {
            std::printf(
                "the run did not end within 60 s; %.0f characters per second before the "
                "press (%zu)\n",
                static_cast<double>(atPress) * 1000.0 / (pressedAt - firstAt), atPress);
            return 1;
        }
        const size_t now = TargetLogSize(target);
        if (now != size) {
            size = now;
            lastGrowth = NowMs();
        }
        if (pressedAt < 0 && !(pressedText = ReadWholeFile(WindowsPathOf(stamp))).empty()) {
            pressedAt = NowMs() - (WallClockMs() - std::strtod(pressedText.c_str(), nullptr));
            atPress = (size - from) / kLineBytes;
        }
        if (endedAt < 0 && RunEnded()) {
            endedAt = NowMs();
        }
        Sleep(1);
    }
    const size_t received = (size - from) / kLineBytes;
    const bool held = (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0 ||
                      (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0 ||
                      (GetAsyncKeyState(VK_MENU) & 0x8000) != 0;
    RunShell("rm -f " + stamp);
    target.process.End();
    EndProgram();

    const double typedFor = pressedAt - firstAt;
    const double endedAfter = endedAt - pressedAt;
    const double lastAfter = lastGrowth - pressedAt;
    std::printf("typing rate before the press: %.0f characters per second (%zu in %.0f ms)\n",
                static_cast<double>(atPress) * 1000.0 / typedFor, atPress, typedFor);
    std::printf("run ended %.1f ms after the press\n", endedAfter);
    std::printf(
        "last character arrived %.1f ms after the press; %zu characters after it, %zu of "
        "%zu in all\n",
        lastAfter, received - atPress, received, kLength);
    std::printf("Shift, Control or Alt down afterwards: %s\n", held ? "yes" : "no");
    std::printf("target: run ended and last character within %.0f ms of the press, nothing held\n",
                kTargetMs);
    return endedAfter <= kTargetMs && lastAfter <= kTargetMs && !held ? 0 : 1;
}
