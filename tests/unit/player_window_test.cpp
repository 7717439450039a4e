// Window steps on the headless desktop: the window each one chooses among several, how that window
// ends up, the click counted from its client area, and the failures that hold the run.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "platform/headless/headless.h"
#include "steps/StepFile.h"
#include "tests/unit/player_test_steps.h"

namespace {

using headless::DesktopWindow;

DesktopWindow At(const char* title, platform::Rect rect, bool front = false) {
    return {.title = title, .rect = rect, .foreground = front, .clientLeft = 8, .clientTop = 30};
}

// "TITLE: left top right bottom [maximised|minimised] [front]; " and the pointer's moves and
// mouse_event flags.
std::string Shown(const std::string& title) {
    std::string shown = title + ": gone";
    for (const DesktopWindow& w : headless::DesktopWindows()) {
        const platform::Rect& r = w.rect;
        if (w.title == title) {
            shown = title + ": " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                    std::to_string(r.right) + " " + std::to_string(r.bottom) +
                    (w.minimised   ? " minimised"
                     : w.maximised ? " maximised"
                                   : "") +
                    (w.foreground ? " front" : "");
        }
    }
    shown += ";";
    for (const headless::InputEvent& e : headless::InputLog()) {
        shown += e.kind == headless::InputKind::CursorMove
                     ? " move " + std::to_string(e.x) + " " + std::to_string(e.y)
                     : " " + std::to_string(e.flags);
    }
    return shown;
}

// A Window step of the CODE line "11;FIELDS;".
StepRecord Step(const std::string& fields) {
    StepRecord step;
    std::string unknown;
    ParseStepLine("11;" + fields + ";", step, unknown);
    return step;
}

class WindowStepTest : public PlayerTest {};

// Each row: a step's fields, then how its window ends up and what the run log says it did.
TEST_F(WindowStepTest, EachActionShowsOnTheWindowItChose) {
    const char* const rows[][2] = {
        {"L_Click;NOTEPAD;40;60",
         "Untitled - Notepad: 100 100 500 400 front; move 148 190 2 4 | "
         "L_Click \"Untitled - Notepad\" at 148 190"},
        {"Ldbl_Click;notes.txt;5;-20",
         "notes.txt - Notepad: 300 200 700 500 front; move 313 210 "
         "2 4 2 4 | Ldbl_Click \"notes.txt - Notepad\" at 313 210"},
        {"Activate;calc;0;0", "Calculator: 50 50 350 450 front; | Activate \"Calculator\""},
        // Moved and sized in the normal place; the system keeps a least size.
        {"Move;Calc;-100;80",
         "Calculator: -100 80 200 480 front; | Move \"Calculator\" to -100 80"},
        {"Size;Calc;10;10", "Calculator: 50 50 170 90 front; | Size \"Calculator\" to 10 10"},
        {"Maximize;Untitled;0;0",
         "Untitled - Notepad: 0 0 1920 1080 maximised front; | Maximize "
         "\"Untitled - Notepad\""},
        {"Minimize;Untitled;0;0",
         "Untitled - Notepad: -32000 -32000 -31840 -31972 minimised; | "
         "Minimize \"Untitled - Notepad\""},
        {"Close;notes;0;0", "notes.txt - Notepad: gone; | Close \"notes.txt - Notepad\""},
    };
    for (const auto& [fields, expected] : rows) {
        DesktopWindow calculator = At("Calculator", {50, 50, 350, 450});
        calculator.minimised = true;
        calculator.leastWidth = 120;
        calculator.leastHeight = 40;
        headless::SetDesktopWindows({At("Untitled - Notepad", {100, 100, 500, 400}, true),
                                     At("notes.txt - Notepad", {300, 200, 700, 500}), calculator});
        headless::ClearInputLog();
        Play({Step(fields)});
        EXPECT_TRUE(TakeBoxes().empty()) << fields;
        const std::string title = std::string(expected).substr(0, std::string(expected).find(':'));
        EXPECT_EQ(Shown(title) + " | " + LastRun().did, expected);
    }
}

// Each fails with its box after trying for `ms` (this program's main window stays on top of the
// window brought to the front); Play after the box goes on with the next step.
TEST_F(WindowStepTest, FailuresHoldTheRunWithABoxAndClickNothing) {
    DesktopWindow main = At("Quorvane", {0, 0, 300, 200});
    main.own = main.topmost = true;
    DesktopWindow hung = At("Hung", {});
    hung.ignoresActions = true;
    const struct {
        const char *fields, *box;
        int64_t ms;
    } rows[] = {
        {"Activate;Quorvane;0;0", "Window \"Quorvane\" not found", 0},
        {"Move;hung;5;5", "Window \"hung\" did not respond", 2000},
        {"L_Click;Editor;42;20", "Window \"Editor\" is covered at 42 20 by \"Quorvane\"", 2000},
        {"R_Click;Editor;400;5", "The point 400 5 lies outside window \"Editor\"", 2000},
    };
    PressPlayAfterEachBox(100);
    for (const auto& row : rows) {
        headless::SetDesktopWindows({main, At("Editor", {100, 100, 500, 400}), hung});
        const int64_t start = NowMs();
        Play({Step(row.fields), steps::State("after the box")});
        EXPECT_EQ(TakeBoxes(), std::vector<std::string>{std::string("Window: ") + row.box});
        EXPECT_NEAR(NowMs() - start, row.ms + 100 + StepInterval, 5) << row.box;
        EXPECT_EQ(platform::ControlText(TextState), "after the box");
        EXPECT_TRUE(headless::InputLog().empty()) << row.box;
    }
    headless::ScheduleAt((NowMs() + 500) * kMs, [] { StopSteps(0); });
    const int64_t start = NowMs();
    Play({Step("Activate;Hung;0;0")});
    EXPECT_LE(NowMs() - start, 505) << "Stop ends the step at once";
}

}  // namespace
