// Acting on another program's window under Wine, with real windows: what a look at the other
// windows costs, how soon each action of platform/desktop.h shows on the target program's window,
// how long a Window step's click takes as the player plays it, and how long each call takes while
// that program is hung (its thread suspended): every call must return at once, since none may wait
// for the window's owner.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Driver.h"
#include "platform/desktop.h"
#include "platform/recorder.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "steps/WindowChoice.h"

namespace {

constexpr int kRuns = 10;
constexpr int kEffectTimeoutMs = 2000;

using platform::TopLevelId;
using platform::TopLevelShow;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

platform::Rect RectOf(TopLevelId window) {
    platform::Rect rect;
    platform::TopLevelRect(window, rect);
    return rect;
}

struct Action {
    const char* name;
    std::function<void(int run)> prepare;  // waits until the window is where the action starts
    std::function<void(int run)> act;
    std::function<bool(int run)> done;
};

// Milliseconds from each action's call to its effect, over kRuns; false when one never showed.
bool Measure(const Action& action) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        action.prepare(run);
        const double start = e2e::NowMs();
        action.act(run);
        if (!e2e::WaitUntilPrecise([&] { return action.done(run); }, kEffectTimeoutMs)) {
            std::printf("%-34s run %d: no effect within %d ms\n", action.name, run + 1,
                        kEffectTimeoutMs);
            return false;
        }
        times.push_back(e2e::NowMs() - start);
    }
    std::printf("%-34s median %6.1f ms, worst %6.1f ms\n", action.name, Median(times),
                *std::max_element(times.begin(), times.end()));
    return true;
}

// A real click at a point counted from the client area's origin lands on that point of the
// window, wherever the window has been put.
bool ClickCountedFromTheClientArea(const e2e::TargetProgram& target, TopLevelId window) {
    const bool placed = e2e::PlaceWindow(target.window, {150, 120, 430, 260});
    platform::BringTopLevelToFront(window);
    e2e::WaitUntil([&] { return platform::IsTopLevelInFront(window); });
    int x = 0, y = 0;
    platform::TopLevelClientOrigin(window, x, y);
    const e2e::Point spot{x + 80, y + 40};
    e2e::MoveMouse(spot.x, spot.y);
    e2e::WaitForPointerAt(spot);
    const size_t from = e2e::TargetLogSize(target);
    e2e::ClickAt(spot);
    e2e::WaitUntil([&] { return e2e::TargetLogLines(target, from, "client").size() >= 2; });
    const std::vector<std::string> lines = e2e::TargetLogLines(target, from, "client L down");
    const std::string seen = lines.empty() ? "nothing" : lines.front();
    std::printf("window placed at 150 120: %s; a click at client 80 40 logs \"%s\"\n",
                placed ? "yes" : "NO", seen.c_str());
    return placed && seen == "client L down 80 40 button";
}

// A user's click, as the recorder's hooks see it: with the window under it and the point in its
// client area.
bool RecordedClick(TopLevelId window) {
    int x = 0, y = 0;
    platform::TopLevelClientOrigin(window, x, y);
    if (!platform::StartInputRecorder()) {
        std::printf("recorder: the hooks were refused\n");
        return false;
    }
    e2e::Xdotool("mousemove " + std::to_string(x + 70) + " " + std::to_string(y + 35) + " click 1");
    std::vector<platform::UserInput> taken;
    e2e::WaitUntil([&] {
        for (platform::UserInput& input : platform::TakeUserInput()) {
            taken.push_back(std::move(input));
        }
        return taken.size() >= 2;
    });
    platform::StopInputRecorder();
    const bool seen = !taken.empty() && taken[0].kind == platform::UserInputKind::ButtonDown;
    std::printf("recorded click: %s \"%s\" at client %d %d\n", seen ? "down on" : "NOTHING",
                seen ? taken[0].windowTitle.c_str() : "", seen ? taken[0].windowX : 0,
                seen ? taken[0].windowY : 0);
    return seen && taken[0].windowTitle == e2e::TargetTitle && taken[0].windowX == 70 &&
           taken[0].windowY == 35 && !taken[0].onOwnWindow;
}

// A Window step clicking the target's button, played as the player plays it, with another window
// in front and the target at another place each time: how soon the target has the click, and how
// long the whole step takes (the 200 ms every step waits after it included).
bool MeasureWindowClick(const e2e::TargetProgram& target, e2e::Window other) {
    const e2e::Box button = e2e::ScreenBox(e2e::FindControl(target.window, e2e::TargetButton));
    const e2e::Box outer = e2e::ScreenBox(target.window);
    const e2e::Point origin = e2e::ClientOrigin(target.window);
    StepRecord step;
    step.RECORDtype = TypeWindow;
    step.WindowDo = "L_Click";
    step.WindowTitle = e2e::TargetTitle;
    step.WindowX = button.x + button.width / 2 - origin.x;
    step.WindowY = button.y + button.height / 2 - origin.y;
    const std::string expected = "client L up " + std::to_string(step.WindowX) + " " +
                                 std::to_string(step.WindowY) + " button";
    std::vector<double> clicked;
    std::vector<double> whole;
    PlayRunning = 1;
    bool ok = true;
    for (int run = 0; run < kRuns && ok; ++run) {
        e2e::PlaceWindow(target.window, {60 + run * 37, 90 + run * 23, outer.width, outer.height});
        e2e::Activate(other);
        e2e::MoveMouse(5, 1000);
        e2e::WaitForPointerAt({5, 1000});
        const size_t from = e2e::TargetLogSize(target);
        // The step plays on this thread, which has long been in use, as the player thread has; a
        // watcher notes when the target has logged the click.
        std::atomic<double> landedAt{0};
        std::atomic<bool> played{false};
        std::thread watcher([&] {
            e2e::WaitUntilPrecise([&] {
                return played || !e2e::TargetLogLines(target, from, "client L up").empty();
            });
            landedAt = e2e::NowMs();
        });
        const double start = e2e::NowMs();
        Run playing;
        PlayWindow(playing, step);
        const double ended = e2e::NowMs();
        played = true;
        watcher.join();
        const std::vector<std::string> lines = e2e::TargetLogLines(target, from, "client L up");
        const bool landed = !lines.empty();
        ok = landed && lines.front() == expected;
        if (!ok) {
            std::printf("Window click, run %d: %s\n", run + 1,
                        landed ? lines.front().c_str() : "no click");
        }
        clicked.push_back(landedAt - start);
        whole.push_back(ended - start);
    }
    PlayRunning = 0;
    if (ok) {
        std::printf(
            "Window L_Click step, another window in front, the target moved: the click lands "
            "after median %.1f ms (worst %.1f), the whole step takes median %.1f ms with the "
            "%d ms after it\n",
            Median(clicked), *std::max_element(clicked.begin(), clicked.end()), Median(whole),
            StepInterval);
    }
    return ok;
}

// With the target's thread suspended, every call returns at once and changes nothing.
bool MeasureHung(TopLevelId window, const std::vector<Action>& actions) {
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE,
                               GetWindowThreadProcessId(reinterpret_cast<HWND>(window), nullptr));
    if (thread == nullptr || SuspendThread(thread) == static_cast<DWORD>(-1)) {
        std::printf("hung target: its thread could not be suspended\n");
        return false;
    }
    bool ok = true;
    double slowest = 0;
    for (const Action& action : actions) {
        const double start = e2e::NowMs();
        action.act(kRuns);
        slowest = std::max(slowest, e2e::NowMs() - start);
    }
    platform::TopLevelAtPoint at;
    const platform::Rect rect = RectOf(window);
    const double start = e2e::NowMs();
    platform::OtherTopLevels();
    platform::TopLevelAt(rect.left + 20, rect.top + 40, at);
    platform::TopLevelExists(window);
    platform::IsTopLevelInFront(window);
    int x = 0, y = 0;
    platform::TopLevelClientOrigin(window, x, y);
    slowest = std::max(slowest, e2e::NowMs() - start);
    std::printf("hung target: slowest call %.1f ms (every action, then every look)\n", slowest);
    ok = slowest < 50.0;
    ResumeThread(thread);
    CloseHandle(thread);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: window_wine_bench.exe <Target.exe>\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    e2e::TargetProgram target;
    if (!e2e::StartTarget(argv[1], e2e::ScratchFolder() + "window-bench.log", target)) {
        std::printf("the target did not start\n");
        return 1;
    }
    e2e::ShowTargetSecondWindow(target, true);
    e2e::Window second = e2e::WaitForAnyWindow("Quorvane Target Second");
    const auto window = static_cast<TopLevelId>(reinterpret_cast<uintptr_t>(target.window));
    e2e::Activate(target.window);

    const double start = e2e::NowMs();
    for (int i = 0; i < 200; ++i) {
        platform::OtherTopLevels();
    }
    std::printf("one look at the other windows: %.1f us (%zu windows)\n",
                (e2e::NowMs() - start) * 1000.0 / 200, platform::OtherTopLevels().size());

    // The second window, shown without activation, lies over the target's button: above it in the
    // z-order, though the target is in front.
    const e2e::Box button = e2e::ScreenBox(e2e::FindControl(target.window, e2e::TargetButton));
    const auto secondId = static_cast<TopLevelId>(reinterpret_cast<uintptr_t>(second));
    platform::MoveTopLevel(secondId, button.x - 10, button.y - 10);
    e2e::WaitUntil([&] { return RectOf(secondId).left == button.x - 10; });
    const auto chosenTitle = [] {
        const std::vector<platform::TopLevelWindow> windows = platform::OtherTopLevels();
        const platform::TopLevelWindow* chosen = ChooseWindow(windows, "quorvane target");
        return chosen != nullptr ? chosen->title : std::string("none");
    };
    const auto uncovered = [&] {
        platform::TopLevelAtPoint at;
        return platform::TopLevelAt(button.x + 10, button.y + 5, at) && at.id == window;
    };
    const std::string before = chosenTitle();
    platform::BringTopLevelToFront(window);
    const bool raised = e2e::WaitUntil(
        [&] { return platform::IsTopLevelInFront(window) && uncovered(); }, kEffectTimeoutMs);
    const std::string after = chosenTitle();
    std::printf(
        "\"quorvane target\" chooses \"%s\", after bringing the covered target to the "
        "front \"%s\"; the button %s\n",
        before.c_str(), after.c_str(), raised ? "uncovered" : "STILL COVERED");
    bool ok = before == "Quorvane Target Second" && after == "Quorvane Target" && raised;

    int originX = 0, originY = 0;
    platform::TopLevelClientOrigin(window, originX, originY);
    const e2e::Point origin = e2e::ClientOrigin(target.window);
    platform::TopLevelAtPoint at;
    const bool found = platform::TopLevelAt(button.x + 10, button.y + 5, at);
    std::printf("client origin %d %d (driver %d %d); at the button's corner: %s, client %d %d\n",
                originX, originY, origin.x, origin.y, found ? at.title.c_str() : "nothing",
                at.clientX, at.clientY);
    ok = ok && originX == origin.x && originY == origin.y && found && at.id == window &&
         at.clientX == button.x + 10 - origin.x && at.clientY == button.y + 5 - origin.y;

    const auto show = [&](TopLevelShow state) {
        return [&, state](int) { return platform::TopLevelShowState(window) == state; };
    };
    const auto minimised = [&](int) {
        platform::MinimiseTopLevel(window);
        e2e::WaitUntil(
            [&] { return platform::TopLevelShowState(window) == TopLevelShow::Minimised; });
    };
    const auto normal = [&](int) {
        platform::RestoreTopLevel(window);
        e2e::WaitUntil([&] { return platform::TopLevelShowState(window) == TopLevelShow::Normal; });
    };
    const std::vector<Action> actions = {
        {"bring to front (another in front)", [&](int) { e2e::Activate(second); },
         [&](int) { platform::BringTopLevelToFront(window); },
         [&](int) { return platform::IsTopLevelInFront(window) && uncovered(); }},
        {"bring to front (minimised)", minimised,
         [&](int) { platform::BringTopLevelToFront(window); },
         [&](int) {
             return platform::IsTopLevelInFront(window) &&
                    platform::TopLevelShowState(window) == TopLevelShow::Normal;
         }},
        {"move", normal, [&](int run) { platform::MoveTopLevel(window, 100 + run * 7, 80 + run); },
         [&](int run) {
             const platform::Rect r = RectOf(window);
             return r.left == 100 + run * 7 && r.top == 80 + run;
         }},
        {"size", normal, [&](int run) { platform::SizeTopLevel(window, 420 + run * 5, 260 + run); },
         [&](int run) {
             const platform::Rect r = RectOf(window);
             return r.right - r.left == 420 + run * 5 && r.bottom - r.top == 260 + run;
         }},
        {"minimise", normal, [&](int) { platform::MinimiseTopLevel(window); },
         show(TopLevelShow::Minimised)},
        {"maximise", normal, [&](int) { platform::MaximiseTopLevel(window); },
         show(TopLevelShow::Maximised)},
        {"restore (maximised)",
         [&](int) {
             platform::MaximiseTopLevel(window);
             e2e::WaitUntil(
                 [&] { return platform::TopLevelShowState(window) == TopLevelShow::Maximised; });
         },
         [&](int) { platform::RestoreTopLevel(window); }, show(TopLevelShow::Normal)},
    };
    for (const Action& action : actions) {
        ok = Measure(action) && ok;
    }
    normal(0);
    ok = ClickCountedFromTheClientArea(target, window) && ok;
    ok = RecordedClick(window) && ok;
    // The second window stands in front while the step looks for the target, under another title:
    // only the target's holds "Quorvane Target" then.
    SetWindowTextW(second, L"Another program");
    ok = MeasureWindowClick(target, second) && ok;
    ok = MeasureHung(window, actions) && ok;

    platform::AskTopLevelToClose(window);
    const double closing = e2e::NowMs();
    const bool closed =
        e2e::WaitUntilPrecise([&] { return !platform::TopLevelExists(window); }, kEffectTimeoutMs);
    std::printf("close: %s in %.1f ms\n", closed ? "gone" : "still there", e2e::NowMs() - closing);
    ok = ok && closed;
    target.process.End();
    std::printf("%s\n", ok ? "all window actions took effect" : "SOME WINDOW ACTIONS FAILED");
    return ok ? 0 : 1;
}
