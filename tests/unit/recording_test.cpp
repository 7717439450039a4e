// Recording: the user's input turned into steps (in virtual time), and Control > Record from the
// menu to the steps inserted after the current one.

#include "steps/Recording.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "Quorvane/Quorvane.h"
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

// Mouse events on the top-level window titled `title`, at the point in its client area.
std::vector<InputAction> InWindow(std::vector<InputAction> actions, const std::string& title, int x,
                                  int y) {
    for (InputAction& action : actions) {
        action.windowTitle = title;
        action.windowX = x;
        action.windowY = y;
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

std::vector<std::string> Lines(const std::vector<StepRecord>& steps) {
    std::vector<std::string> lines;
    for (const StepRecord& step : steps) {
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
    const char* notice = nullptr;  // checked where given
    ClickRules rules{};
    bool inWindows = false;
};

TEST(RecordingSteps, InputBecomesStepsOfTheExistingTypes) {
    using enum InputButton;
    const InputAction wheel = Button(InputKind::Wheel, 100, 5, 5, Middle);
    InputAction lost = Key(400, 'X', "")[0];
    lost.lostCharacter = true;
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
        // The second click keeps more than the double-click time from the first on replay: the
        // step interval and a Delay of the rest.
        {"clicks too slow or too far apart for a double click",
         Join({Click(0, 10, 10), Click(500, 10, 10), Click(700, 13, 10)}),
         {"1;L_Click;10;10;", "3;0.4;", "1;L_Click;10;10;", "1;L_Click;13;10;"}},
        {"a drag becomes a click where it started",
         Join({Click(0, 10, 10, Left, 3), Click(200, 50, 50, Right, -3), Click(300, 50, 50),
               Click(400, 50, 50, Middle, 2)}),
         {"1;L_Click;10;10;", "1;R_Click;50;50;", "1;L_Click;50;50;", "1;M_Click;50;50;"},
         "Recorded 4 steps; 2 drags recorded as clicks"},
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
         {"2;String;ab;"},
         "Recorded 1 step"},
        {"wheel turns are counted, a release without a press is skipped",
         Join({{wheel, wheel},
               {Button(InputKind::ButtonUp, 200, 1, 1, Left)},
               Click(300, 1, 1, Left, 5)}),
         {"1;L_Click;1;1;"},
         "Recorded 1 step; 1 drag recorded as a click; 2 wheel turns not recorded"},
        {"the system's rules decide drags and double clicks",
         Join({Click(0, 10, 10, Left, 4), Click(800, 14, 10)}),
         {"1;Ldbl_Click;10;10;"},
         nullptr,
         {.dragWidth = 10, .doubleClickMs = 900, .doubleClickWidth = 10}},
        {"a dead key types with the key after it; a character a step file cannot hold is counted",
         Join({Key(0, 0xDC, ""),
               Key(100, 'E', "\xEA"),
               Key(200, 0xDC, ""),
               Key(300, ' ', "^"),
               {lost}}),
         {"2;String;\xEA^;"},
         "Recorded 1 step; 1 character a step file cannot hold was left out"},
        {"Escape ends the recording",
         Join({Key(0, kEscape, "\x1B"), Typed(100, "b")}),
         {},
         "Nothing recorded"},
        {"in windows: clicks on a titled window there, a drag or a click on no title as before",
         Join({InWindow(Click(0, 100, 200), "Untitled - Notepad", 40, 60),
               InWindow(Click(200, 100, 200), "Untitled - Notepad", 40, 60),
               InWindow(Click(1000, 300, 300, Right), "Save;As", -5, 6),
               InWindow(Click(1100, 10, 10, Left, 5), "Notepad", 1, 2), Click(1200, 20, 20)}),
         {"11;Ldbl_Click;Untitled - Notepad;40;60;", "3;0.6;", "11;R_Click;Save;-5;6;",
          "1;L_Click;10;10;", "1;L_Click;20;20;"},
         nullptr,
         {},
         true},
    };
    for (const RecordingCase& row : cases) {
        const Recording recording = StepsFromInput(row.input, row.rules, row.inWindows);
        EXPECT_EQ(Lines(recording.steps), row.lines) << row.name;
        if (row.notice != nullptr) {
            EXPECT_EQ(RecordingNotice(recording), row.notice) << row.name;
        }
    }
}

// [SECTION] Control > Record

// The same input as the hooks queue it.
std::vector<platform::UserInput> AsQueued(const std::vector<InputAction>& actions) {
    std::vector<platform::UserInput> inputs;
    for (const InputAction& action : actions) {
        platform::UserInput input;
        input.kind = static_cast<platform::UserInputKind>(action.kind);
        input.timeMs = action.timeMs;
        input.x = action.x;
        input.y = action.y;
        input.key = action.key;
        input.text = action.text;
        inputs.push_back(input);
    }
    return inputs;
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

TEST_F(RecordCommandTest, OfferedOnlyWhenIdleWithAListAndWhileRecordingOnlyStopIs) {
    EXPECT_FALSE(platform::IsMenuItemEnabled(MenuRecord)) << "no step list yet";
    Start({steps::Delay(1.0f)});
    EXPECT_FALSE(platform::IsMenuItemEnabled(MenuRecord)) << "during a run";
    RecordSteps();
    EXPECT_FALSE(headless::InputRecorderRunning()) << "a recording cannot start during a run";
    PlayRun();
    EXPECT_EQ(Shown(), kIdle);

    RecordSteps();
    EXPECT_TRUE(headless::InputRecorderRunning());
    EXPECT_EQ(platform::ControlText(TextState), "Recording");
    EXPECT_EQ(Shown(), kRecording);
    PlaySteps(0);
    PlayFromCurrentStep();
    EXPECT_EQ(PlayRunning, 0) << "a run cannot start while recording";
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
    headless::UserInputs(AsQueued(Join({Click(0, 30, 40), Typed(100, "a"), Typed(1500, "b")})));
    HandlePendingEvents();
    EXPECT_TRUE(headless::InputRecorderRunning()) << "still recording before Escape";
    headless::UserInputs(AsQueued(Join({Key(1600, kEscape, "\x1B"), Typed(1700, "c")})));
    EXPECT_EQ(NoticeOf([] { HandlePendingEvents(); }), "Recorded 4 steps");
    EXPECT_EQ(Lines(RList.Elements()),
              (std::vector<std::string>{"7;one;", "1;L_Click;30;40;", "2;String;a;", "3;1.2;",
                                        "2;String;b;", "7;two;"}));
    EXPECT_EQ(RList.Index(), 1);
    EXPECT_EQ(platform::ControlText(FrameStep), "2");
    EXPECT_EQ(platform::ControlText(ComboType), "1 Mouse");
    EXPECT_FALSE(headless::InputRecorderRunning());
    EXPECT_EQ(Shown(), kIdle);
}

// Two single clicks at one spot, further apart than the double-click time but within 0.5 s plus
// the step interval, must not become a double click in the program that gets them on replay.
TEST_F(RecordCommandTest, TwoSingleClicksAreReplayedAtLeastTheDoubleClickTimeApart) {
    const ClickRules rules;
    const Recording recording = StepsFromInput(Join({Click(0, 10, 10), Click(550, 10, 10)}), rules);
    // Each click is a pointer move, a press and a release: the presses are events 2 and 5.
    auto presses = std::make_shared<std::vector<int64_t>>();
    headless::AfterInputEvents(2, [presses] {
        presses->push_back(headless::VirtualMicroseconds());
        headless::AfterInputEvents(
            5, [presses] { presses->push_back(headless::VirtualMicroseconds()); });
    });
    Play(recording.steps);
    ASSERT_EQ(presses->size(), 2u);
    EXPECT_GT((*presses)[1] - (*presses)[0], rules.doubleClickMs * kMs);
}

}  // namespace
