// Recording: the user's input turned into steps (in virtual time), and Control > Record from the
// menu to the steps inserted after the current one.

#include "steps/Recording.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "Quorvane/Quorvane.h"
#include "editor/StepFileCommands.h"
#include "platform/headless/headless.h"
#include "platform/window.h"
#include "player/Player.h"
#include "steps/RList.h"
#include "steps/StepFile.h"
#include "tests/unit/player_test_steps.h"

namespace {

constexpr uint8_t kShiftKey = 0xA0, kControlKey = 0xA2, kEscape = 0x1B, kEnter = 0x0D, kTab = 0x09,
                  kF2 = 0x71, kF4 = 0x73, kDelete = 0x2E;

// [SECTION] From input to steps

InputAction Button(InputKind kind, int64_t ms, int x, int y, InputButton button) {
    InputAction action;
    action.kind = kind;
    action.timeMs = ms;
    action.x = x;
    action.y = y;
    action.button = button;
    return action;
}

// A button pressed at `ms` and released 80 ms later, `moved` pixels to the right.
std::vector<InputAction> Click(int64_t ms, int x, int y, InputButton button = InputButton::Left,
                               int moved = 0) {
    return {Button(InputKind::ButtonDown, ms, x, y, button),
            Button(InputKind::ButtonUp, ms + 80, x + moved, y, button)};
}

struct Held {
    bool shift = false, control = false, alt = false;
};

// A key pressed at `ms` (with what it types and the modifiers held) and released 30 ms later.
std::vector<InputAction> Key(int64_t ms, uint8_t key, const std::string& text, Held held = {}) {
    InputAction down;
    down.kind = InputKind::KeyDown;
    down.timeMs = ms;
    down.key = key;
    down.text = text;
    down.shift = held.shift;
    down.control = held.control;
    down.alt = held.alt;
    InputAction up = down;
    up.kind = InputKind::KeyUp;
    up.timeMs = ms + 30;
    return {down, up};
}

// Letters typed 100 ms apart from `ms` on, upper-case ones with Shift.
std::vector<InputAction> Typed(int64_t ms, const std::string& text) {
    std::vector<InputAction> keys;
    for (char c : text) {
        const bool upper = c >= 'A' && c <= 'Z';
        const auto key = static_cast<uint8_t>(upper ? c : c - 'a' + 'A');
        for (const InputAction& action : Key(ms, key, std::string(1, c), {.shift = upper})) {
            keys.push_back(action);
        }
        ms += 100;
    }
    return keys;
}

std::vector<InputAction> OnOwnWindow(std::vector<InputAction> actions) {
    for (InputAction& action : actions) {
        action.onOwnWindow = true;
    }
    return actions;
}

std::vector<InputAction> Join(std::initializer_list<std::vector<InputAction>> parts) {
    std::vector<InputAction> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

std::vector<std::string> Lines(const Recording& recording) {
    std::vector<std::string> lines;
    for (const StepRecord& step : recording.steps) {
        std::string line;
        FormatStepLine(step, line);
        lines.push_back(line);
    }
    return lines;
}

struct RecordingCase {
    const char* name;
    std::vector<InputAction> input;
    std::vector<std::string> lines;
    int drags = 0;
    int wheelTurns = 0;
};

TEST(RecordingSteps, InputBecomesStepsOfTheExistingTypes) {
    using enum InputButton;
    const InputAction wheel = Button(InputKind::Wheel, 100, 5, 5, Middle);
    const RecordingCase cases[] = {
        {"a click where the button went down", Click(0, 100, 200), {"1;L_Click;100;200;"}},
        {"right and middle clicks",
         Join({Click(0, 1, 2, Right), Click(100, 3, 4, Middle)}),
         {"1;R_Click;1;2;", "1;M_Click;3;4;"}},
        {"two quick left clicks within 2 pixels",
         Join({Click(0, 100, 200), Click(300, 102, 198)}),
         {"1;Ldbl_Click;100;200;"}},
        {"a third click after a double click",
         Join({Click(0, 10, 10), Click(200, 10, 10), Click(400, 10, 10)}),
         {"1;Ldbl_Click;10;10;", "1;L_Click;10;10;"}},
        {"clicks too slow or too far apart for a double click",
         Join({Click(0, 10, 10), Click(500, 10, 10), Click(700, 13, 10)}),
         {"1;L_Click;10;10;", "1;L_Click;10;10;", "1;L_Click;13;10;"}},
        {"a drag becomes a click where it started",
         Join({Click(0, 10, 10, Left, 3), Click(200, 50, 50, Right, 2), Click(300, 50, 50)}),
         {"1;L_Click;10;10;", "1;R_Click;50;50;", "1;L_Click;50;50;"},
         1},
        {"typed text with Shift, a ';' and a '{'",
         Join({Key(0, kShiftKey, "", {.shift = true}), Key(10, 'H', "H", {.shift = true}),
               Typed(100, "i"), Key(200, 0xBA, ";"), Key(300, ' ', " "),
               Key(400, 0xDB, "{", {.shift = true}), Key(500, '1', "!", {.shift = true})}),
         {"2;String;Hi{SEMICOLON} {LEFTBRACE}!;"}},
        {"named keys, Shift written only with a named key",
         Join({Key(0, kEnter, "\r"), Key(100, kTab, "\t", {.shift = true}), Key(200, kF2, "")}),
         {"2;String;{ENTER}{SHIFTDOWN}{TAB}{SHIFTUP}{F2};"}},
        {"Control and Alt held with another key",
         Join({Key(0, kControlKey, "", {.control = true}), Key(10, 'A', "a", {.control = true}),
               Key(100, kF4, "", {.alt = true}),
               Key(200, kDelete, "", {.control = true, .alt = true}), Key(300, 'Q', "@")}),
         {"2;String;{CONTROLDOWN}a{CONTROLUP}{ALTDOWN}{F4}{ALTUP}"
          "{CONTROLDOWN}{ALTDOWN}{DELETE}{ALTUP}{CONTROLUP}@;"}},
        {"pauses of 0.5 s and more, less the step interval, become delays",
         Join({Typed(0, "ab"), Typed(790, "c"), Typed(1490, "d"), Click(3190, 1, 1),
               Typed(3990, "e")}),
         {"2;String;abc;", "3;0.5;", "2;String;d;", "3;1.5;", "1;L_Click;1;1;", "3;0.6;",
          "2;String;e;"}},
        {"nothing done on Quorvane's own windows",
         Join({Typed(0, "a"), OnOwnWindow(Click(100, 5, 5)), OnOwnWindow(Typed(200, "x")),
               Typed(300, "b"), OnOwnWindow({wheel})}),
         {"2;String;ab;"}},
        {"wheel turns are counted, a release without a press is skipped",
         Join({{wheel, wheel}, {Button(InputKind::ButtonUp, 200, 1, 1, Left)}}),
         {},
         0,
         2},
        {"Escape ends the recording",
         Join({Typed(0, "a"), Key(100, kEscape, "\x1B"), Typed(200, "b")}),
         {"2;String;a;"}},
    };
    for (const RecordingCase& row : cases) {
        const Recording recording = StepsFromInput(row.input, ClickRules{});
        EXPECT_EQ(Lines(recording), row.lines) << row.name;
        EXPECT_EQ(recording.dragsAsClicks, row.drags) << row.name;
        EXPECT_EQ(recording.wheelTurns, row.wheelTurns) << row.name;
    }
}

TEST(RecordingSteps, TheSystemsRulesDecideDragsAndDoubleClicks) {
    const ClickRules wide{.dragWidth = 10, .doubleClickMs = 900, .doubleClickWidth = 10};
    const auto input = Join({Click(0, 10, 10, InputButton::Left, 4), Click(800, 14, 10)});
    EXPECT_EQ(Lines(StepsFromInput(input, wide)), std::vector<std::string>{"1;Ldbl_Click;10;10;"});
}

TEST(RecordingSteps, TheNoticeCountsStepsDragsAndWheelTurns) {
    const struct {
        size_t steps;
        int drags, wheelTurns;
        const char* notice;
    } rows[] = {
        {0, 0, 3, "Nothing recorded"},
        {1, 0, 0, "Recorded 1 step"},
        {5, 2, 0, "Recorded 5 steps; 2 drags recorded as clicks"},
        {2, 1, 1, "Recorded 2 steps; 1 drag recorded as a click; 1 wheel turn not recorded"},
        {3, 0, 4, "Recorded 3 steps; 4 wheel turns not recorded"},
    };
    for (const auto& row : rows) {
        Recording recording;
        recording.steps.resize(row.steps);
        recording.dragsAsClicks = row.drags;
        recording.wheelTurns = row.wheelTurns;
        EXPECT_EQ(RecordingNotice(recording), row.notice);
    }
}

// [SECTION] Control > Record

platform::UserInput UserKey(int64_t ms, uint8_t key, const std::string& text) {
    platform::UserInput input;
    input.kind = platform::UserInputKind::KeyDown;
    input.timeMs = ms;
    input.key = key;
    input.text = text;
    return input;
}

platform::UserInput UserButton(platform::UserInputKind kind, int64_t ms, int x, int y) {
    platform::UserInput input;
    input.kind = kind;
    input.timeMs = ms;
    input.x = x;
    input.y = y;
    return input;
}

struct Offered {
    bool play, record, playFromCurrent, pause, stop, locked;
    bool operator==(const Offered&) const = default;
};

Offered Shown() {
    const bool stop = platform::IsControlEnabled(ButtonStop);
    EXPECT_EQ(stop, platform::IsMenuItemEnabled(MenuStop));
    return {platform::IsControlEnabled(ButtonPlay) && platform::IsMenuItemEnabled(MenuPlay),
            platform::IsMenuItemEnabled(MenuRecord),
            platform::IsMenuItemEnabled(MenuPlayFromCurrent),
            platform::IsControlEnabled(ButtonPause),
            stop,
            !platform::IsControlEnabled(ButtonNext) && !platform::IsMenuItemEnabled(MenuOpen)};
}

constexpr Offered kIdle{true, true, true, false, false, false};
constexpr Offered kRecording{false, false, false, false, true, true};

class RecordCommandTest : public PlayerTest {
protected:
    // The text of the notice shown by `command`.
    static std::string NoticeOf(void (*command)()) {
        auto text = std::make_shared<std::string>();
        headless::ScheduleAt(headless::VirtualMicroseconds() + 1,
                             [text] { *text = headless::Control(TextNotice).text; });
        command();
        return *text;
    }
};

TEST_F(RecordCommandTest, RecordIsOfferedWithPlayAndOnlyWhenIdle) {
    EXPECT_FALSE(platform::IsMenuItemEnabled(MenuRecord)) << "no step list yet";
    NewStepFile();
    EXPECT_EQ(Shown(), kIdle);
    Start({steps::Delay(1.0f)});
    EXPECT_FALSE(platform::IsMenuItemEnabled(MenuRecord)) << "during a run";
    RecordSteps();
    EXPECT_FALSE(headless::InputRecorderRunning()) << "a recording cannot start during a run";
    PlayRun();
    EXPECT_EQ(Shown(), kIdle);
}

TEST_F(RecordCommandTest, WhileRecordingOnlyStopIsOfferedAndARunCannotStart) {
    NewStepFile();
    RecordSteps();
    EXPECT_TRUE(headless::InputRecorderRunning());
    EXPECT_EQ(platform::ControlText(TextState), "Recording");
    EXPECT_EQ(Shown(), kRecording);
    PlaySteps(0);
    PlayFromCurrentStep();
    EXPECT_EQ(PlayRunning, 0);
    EXPECT_EQ(Shown(), kRecording);

    EXPECT_EQ(NoticeOf([] { StopSteps(0); }), "Nothing recorded");
    EXPECT_FALSE(headless::InputRecorderRunning());
    EXPECT_EQ(platform::ControlText(TextState), "");
    EXPECT_EQ(Shown(), kIdle);
    EXPECT_EQ(RList.Count(), 1);
}

TEST_F(RecordCommandTest, EscapeEndsItAndTheStepsFollowTheCurrentStep) {
    Load({steps::State("one"), steps::State("two")}, 0);
    RecordSteps();
    using enum platform::UserInputKind;
    headless::UserInputs({UserButton(ButtonDown, 0, 30, 40), UserButton(ButtonUp, 50, 30, 40),
                          UserKey(100, 'A', "a"), UserKey(1500, 'B', "b")});
    HandleEvent(platform::WaitEvent());
    EXPECT_TRUE(headless::InputRecorderRunning()) << "still recording before Escape";
    headless::UserInputs({UserKey(1600, kEscape, "\x1B"), UserKey(1700, 'C', "c")});
    EXPECT_EQ(NoticeOf([] { HandleEvent(platform::WaitEvent()); }), "Recorded 4 steps");

    std::vector<std::string> lines;
    for (const StepRecord& step : RList.Elements()) {
        std::string line;
        FormatStepLine(step, line);
        lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"7;one;", "1;L_Click;30;40;", "2;String;a;",
                                               "3;1.2;", "2;String;b;", "7;two;"}));
    EXPECT_EQ(RList.Index(), 1);
    EXPECT_EQ(platform::ControlText(FrameStep), "2");
    EXPECT_EQ(platform::ControlText(ComboType), "1 Mouse");
    EXPECT_FALSE(headless::InputRecorderRunning());
    EXPECT_EQ(Shown(), kIdle);
}

}  // namespace
