// Runs from Play to their end: the run commands, the Delay countdown, Pause, Stop and Escape,
// and the State, Execute and Message steps.

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "platform/headless/headless.h"
#include "platform/window.h"
#include "player/Player.h"
#include "steps/RList.h"
#include "tests/unit/player_test_steps.h"

namespace {

using namespace steps;

struct RunControls {
    bool play, pause, stop, playFromCurrent, locked;
    bool operator==(const RunControls&) const = default;
};

RunControls Shown() {
    const bool play = platform::IsControlEnabled(ButtonPlay);
    EXPECT_EQ(play, platform::IsMenuItemEnabled(MenuPlay));
    const bool pause = platform::IsControlEnabled(ButtonPause);
    EXPECT_EQ(pause, platform::IsMenuItemEnabled(MenuPause));
    const bool stop = platform::IsControlEnabled(ButtonStop);
    EXPECT_EQ(stop, platform::IsMenuItemEnabled(MenuStop));
    return {play, pause, stop, platform::IsMenuItemEnabled(MenuPlayFromCurrent),
            !platform::IsControlEnabled(ButtonNext) && !platform::IsMenuItemEnabled(MenuOpen)};
}

constexpr RunControls kIdle{true, false, false, true, false};
constexpr RunControls kPlaying{false, true, true, false, true};
constexpr RunControls kPaused{true, false, true, false, true};

class RunCommandsTest : public PlayerTest {};

TEST_F(RunCommandsTest, PlayStartsANewRunFromStepOneWithFreshState) {
    Load({State("a"), State("b")}, 1);
    platform::SetControlText(TextState, "Ready");
    platform::SetControlText(TextLoop2, "L2: 4");

    PlaySteps(0);

    EXPECT_EQ(Shown(), kPlaying);
    EXPECT_EQ(PlayRunning, 1);
    EXPECT_EQ(PlayPaused, 0);
    EXPECT_EQ(PlayStartIndex, 0);
    for (int field : {TextState, TextLoop1, TextLoop2, TextLoop3}) {
        EXPECT_EQ(platform::ControlText(field), "") << field;
    }
}

TEST_F(RunCommandsTest, PlayRefusedByTheEditorPanelStartsNothing) {
    Load({Delay(1.0f)});
    headless::UserTypes(StringDelay, "");
    const auto before = headless::Control(ButtonPause);
    PlaySteps(0);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Input required: No delay time entered"});
    EXPECT_EQ(PlayRunning, 0);
    EXPECT_TRUE(platform::IsControlEnabled(ButtonNext));
    EXPECT_EQ(platform::IsControlEnabled(ButtonPause), before.enabled);

    PlayFromCurrentStep();
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Input required: No delay time entered"});
    EXPECT_EQ(PlayRunning, 0);
}

// Regression: a Pause just after the end of a run left PlayPaused set with no run, so the next
// Play skipped storing the panel and forgetting earlier Escape presses.
TEST_F(RunCommandsTest, PauseWithoutARunChangesNothing) {
    Play({Delay(1.0f)});
    PauseSteps(0);
    EXPECT_EQ(PlayPaused, 0);
    EXPECT_EQ(Shown(), kIdle);
    headless::UserPressesEscape();
    headless::UserTypes(StringDelay, "0.3");
    PlaySteps(0);
    EXPECT_EQ(RList.At(0).DelayTime, 0.3f);
    PlayRun();
    EXPECT_EQ(platform::ControlText(TextCountdown), "0.0");
}

TEST_F(RunCommandsTest, PlayDuringARunNeverResetsIt) {
    Start({State("a"), Delay(2.0f)});
    headless::ScheduleAt(500 * kMs, [] {
        platform::SetControlText(TextState, "kept");
        PlaySteps(0);
        PlayFromCurrentStep();
    });
    PlayRun();
    EXPECT_EQ(platform::ControlText(TextState), "kept");
    EXPECT_EQ(NowMs(), 2200);
}

TEST_F(RunCommandsTest, PauseThenPlayResumesKeepingTheRunState) {
    Start({State("a")});
    platform::SetControlText(TextState, "Ready");
    PauseSteps(0);
    EXPECT_EQ(Shown(), kPaused);
    EXPECT_EQ(PlayPaused, 1);

    PlaySteps(0);
    EXPECT_EQ(Shown(), kPlaying);
    EXPECT_EQ(PlayPaused, 0);
    EXPECT_EQ(platform::ControlText(TextState), "Ready");
}

// Regression: Stop used to unlock the File menu and the step buttons while the player was still
// finishing its step and about to read the list, so opening a file right after Stop (or right at
// the end of a run) could replace the list under the player. The player unlocks when it is done.
TEST_F(RunCommandsTest, StopClearsTheFlagsAndThePlayerUnlocksWhenTheRunHasEnded) {
    Start({State("a")});
    PauseSteps(0);
    StopSteps(0);
    EXPECT_EQ(PlayRunning, 0);
    EXPECT_EQ(PlayPaused, 0);
    for (int button : {ButtonPlay, ButtonPause, ButtonStop, ButtonNext}) {
        EXPECT_FALSE(platform::IsControlEnabled(button)) << button;
    }
    for (int item : {MenuPlay, MenuPause, MenuStop, MenuOpen, MenuNew}) {
        EXPECT_FALSE(platform::IsMenuItemEnabled(item)) << item;
    }
    PlayRun();
    EXPECT_EQ(Shown(), kIdle);
    EXPECT_TRUE(platform::IsControlEnabled(ButtonNext));
    EXPECT_TRUE(platform::IsMenuItemEnabled(MenuOpen));
}

TEST_F(RunCommandsTest, ThreeHalfSecondDelaysEndAtOnePointFiveSecondsOnStepOne) {
    Play({Delay(0.5f), Delay(0.5f), Delay(0.5f)});
    EXPECT_EQ(NowMs(), 1500);
    EXPECT_EQ(RList.Index(), 0);
    EXPECT_EQ(platform::ControlText(FrameStep), "1");
    EXPECT_EQ(platform::ControlText(TextCountdown), "0.0");
    EXPECT_EQ(Shown(), kIdle);
    EXPECT_EQ(PlayRunning, 0);
}

TEST_F(RunCommandsTest, PlayFromCurrentStepPlaysTheRestAndEndsThere) {
    Load({Marker(1), Marker(2), Marker(3), Marker(4), Marker(5)}, 2);
    PlayFromCurrentStep();
    EXPECT_EQ(Shown(), kPlaying);
    EXPECT_EQ(PlayStartIndex, 2);
    PlayRun();
    EXPECT_EQ(PointerMoves(), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(RList.Index(), 2);
    EXPECT_EQ(platform::ControlText(FrameStep), "3");
    EXPECT_EQ(Shown(), kIdle);
}

TEST_F(RunCommandsTest, ARunResumedWithPlayEndsOnStepOne) {
    Load({Marker(1), Marker(2), Marker(3)}, 1);
    PlayFromCurrentStep();
    headless::ScheduleAt(100 * kMs, [] { PauseSteps(0); });
    headless::ScheduleAt(500 * kMs, [] { PlaySteps(0); });
    PlayRun();
    EXPECT_EQ(PointerMoves(), (std::vector<int>{2, 3}));
    EXPECT_EQ(RList.Index(), 0);
}

TEST_F(RunCommandsTest, StateTextStaysAfterTheRunAndTheNextPlayEmptiesIt) {
    Play({State("Ready")});
    EXPECT_EQ(platform::ControlText(TextState), "Ready");
    EXPECT_EQ(NowMs(), 200);
    Load({Delay(0.0f)});
    PlaySteps(0);
    EXPECT_EQ(platform::ControlText(TextState), "");
}

class DelayTest : public PlayerTest {};

TEST_F(DelayTest, HalfASecondCountsDownInTenthsAndTheNextStepFollowsAtOnce) {
    auto countdown = WatchText(TextCountdown, 490);
    auto stepShown = TextAt(FrameStep, 550);
    Play({Delay(0.5f), State("next")});
    EXPECT_EQ(*countdown, (std::vector<std::string>{"0.5", "0.4", "0.3", "0.2", "0.1"}));
    EXPECT_EQ(*stepShown, "2");
    EXPECT_EQ(platform::ControlText(TextCountdown), "0.0");
    EXPECT_EQ(NowMs(), 700);
}

struct TickCase {
    float seconds;
    const char* first;
    int64_t lastsMs;
};

TEST_F(DelayTest, TicksAreTheTimeTimesTenRoundedHalfToEven) {
    const TickCase cases[] = {{0.25f, "0.2", 200},   {0.35f, "0.3", 300}, {2.5f, "2.5", 2500},
                              {0.04f, "0.0", 0},     {0.0f, "0.0", 0},    {-3.0f, "0.0", 0},
                              {12.0f, "12.0", 12000}};
    for (const TickCase& tick : cases) {
        headless::Reset();
        SetUp();
        auto first = TextAt(TextCountdown, 0);
        Play({Delay(tick.seconds)});
        EXPECT_EQ(NowMs(), tick.lastsMs) << tick.seconds;
        if (tick.lastsMs > 0) {
            EXPECT_EQ(*first, tick.first) << tick.seconds;
        }
        EXPECT_EQ(platform::ControlText(TextCountdown), "0.0") << tick.seconds;
    }
}

TEST_F(DelayTest, NotANumberOrHugeDelaysNeitherCrashNorOverflow) {
    Play({Delay(std::numeric_limits<float>::quiet_NaN())});
    EXPECT_EQ(NowMs(), 0);
    headless::ScheduleAt(1000 * kMs, [] { StopSteps(0); });
    Play({Delay(3.0e38f)});
    EXPECT_EQ(NowMs(), 1000);
}

TEST_F(DelayTest, PauseAtOnePointSevenHoldsItAndGoesOnWithOnePointSix) {
    headless::ScheduleAt(1350 * kMs, [] { PauseSteps(0); });
    auto held = TextAt(TextCountdown, 2500);
    headless::ScheduleAt(3000 * kMs, [] { PlaySteps(0); });
    auto resumed = TextAt(TextCountdown, 3100);
    Play({Delay(3.0f)});
    EXPECT_EQ(*held, "1.7");
    EXPECT_EQ(*resumed, "1.6");
    // The pause holds within the tick: 1.35 s before it, the remaining 1.65 s after it.
    EXPECT_EQ(NowMs(), 4650);
}

TEST_F(DelayTest, EscapeWithinATickEndsTheRunAtOnce) {
    headless::ScheduleAt(1350 * kMs, [] { headless::UserPressesEscape(); });
    Play({Delay(3.0f), Marker(2)});
    EXPECT_EQ(NowMs(), 1350);
    EXPECT_EQ(platform::ControlText(TextCountdown), "1.7");
    EXPECT_TRUE(PointerMoves().empty());
    EXPECT_EQ(PlayRunning, 0);
    EXPECT_EQ(Shown(), kIdle);
}

TEST_F(DelayTest, StopDuringAPauseEndsTheDelayAndTheRun) {
    headless::ScheduleAt(250 * kMs, [] { PauseSteps(0); });
    headless::ScheduleAt(900 * kMs, [] { StopSteps(0); });
    Play({Delay(1.0f), Marker(2)});
    EXPECT_EQ(NowMs(), 900);
    EXPECT_EQ(platform::ControlText(TextCountdown), "0.8");
    EXPECT_TRUE(PointerMoves().empty());
}

class PauseStopEscapeTest : public PlayerTest {};

TEST_F(PauseStopEscapeTest, PauseDuringAStepLetsItFinishAndHoldsBeforeTheNext) {
    headless::ScheduleAt(100 * kMs, [] { PauseSteps(0); });
    auto whilePaused = std::make_shared<std::vector<int>>();
    headless::ScheduleAt(900 * kMs, [this, whilePaused] { *whilePaused = PointerMoves(); });
    headless::ScheduleAt(1000 * kMs, [] { PlaySteps(0); });
    Play({Marker(1), Marker(2)});
    EXPECT_EQ(*whilePaused, std::vector<int>{1});
    EXPECT_EQ(PointerMoves(), (std::vector<int>{1, 2}));
    EXPECT_EQ(NowMs(), 1200);
}

TEST_F(PauseStopEscapeTest, StopInThePauseWaitAfterAStepEndsWithoutTheNext) {
    headless::ScheduleAt(100 * kMs, [] { PauseSteps(0); });
    headless::ScheduleAt(1000 * kMs, [] { StopSteps(0); });
    Play({Marker(1), Marker(2)});
    EXPECT_EQ(PointerMoves(), std::vector<int>{1});
    EXPECT_EQ(NowMs(), 1000);
    EXPECT_EQ(Shown(), kIdle);
}

TEST_F(PauseStopEscapeTest, StopInThePauseWaitBeforeAJumpTargetEndsTheRunAtOnce) {
    headless::ScheduleAt(100 * kMs, [] { PauseSteps(0); });
    headless::ScheduleAt(1000 * kMs, [] { StopSteps(0); });
    Play({Jump(3), Marker(2), Marker(3), Marker(4)});
    EXPECT_TRUE(PointerMoves().empty());
    EXPECT_EQ(NowMs(), 1000);
}

TEST_F(PauseStopEscapeTest, EscapeDuringAStepEndsTheRunAfterIt) {
    headless::ScheduleAt(100 * kMs, [] { headless::UserPressesEscape(); });
    Play({Marker(1), Marker(2)});
    EXPECT_EQ(PointerMoves(), std::vector<int>{1});
    EXPECT_EQ(Shown(), kIdle);
}

TEST_F(PauseStopEscapeTest, AnEscapePressedBeforeTheRunDoesNotStopIt) {
    headless::UserPressesEscape();
    Play({Marker(1), Marker(2)});
    EXPECT_EQ(PointerMoves(), (std::vector<int>{1, 2}));
}

TEST_F(PauseStopEscapeTest, TheRunsOwnEscapeKeyDoesNotStopIt) {
    Play({Keys("Key", "{ESCAPE}"), Keys("String", "{ESCAPE}"), Marker(3)});
    EXPECT_EQ(PointerMoves(), std::vector<int>{3});
}

// Every wait of the player ends at the very instant Stop, Escape or Pause happens: mid-way through
// the wait after (or before) each kind of step, and within a Delay tick.
TEST_F(PauseStopEscapeTest, EveryWaitEndsAtTheInstantOfStopEscapeAndPause) {
    const struct {
        const char* wait;
        StepRecord step;
        int64_t pausedRunEndsMs;  // paused at 150 ms, resumed at 1000 ms, then Marker(9)
    } waits[] = {
        {"after a Mouse step", Marker(1), 1200},
        {"after a Keyboard step", Keys("String", "a"), 1200},
        {"after a State step", State("s"), 1200},
        {"after an Execute step", Execute("C:\\missing.exe"), 1200},
        {"after an Initialise step", Com("COM1", "Initialise", "9600 N 8 1"), 1200},
        {"before a Loop goes back", Loop(2, 2), 1200},
        {"before a Jump", Jump(2), 1200},
        {"within a Delay tick", Delay(0.3f), 1350},
    };
    const struct {
        const char* name;
        void (*happen)();
    } interrupts[] = {{"Stop", [] { StopSteps(0); }},
                      {"Escape", [] { headless::UserPressesEscape(); }},
                      {"Pause", [] { PauseSteps(0); }}};
    for (const auto& wait : waits) {
        for (const auto& interrupt : interrupts) {
            SCOPED_TRACE(std::string(interrupt.name) + " " + wait.wait);
            headless::Reset();
            SetUp();
            headless::ScheduleAt(150 * kMs, interrupt.happen);
            const bool pause = std::string(interrupt.name) == "Pause";
            if (pause) {
                headless::ScheduleAt(1000 * kMs, [] { PlaySteps(0); });
            }
            Play({wait.step, Marker(9)});
            const std::vector<int> moves = PointerMoves();
            EXPECT_EQ(std::count(moves.begin(), moves.end(), 9), pause ? 1 : 0);
            EXPECT_EQ(NowMs(), pause ? wait.pausedRunEndsMs : 150);
            EXPECT_EQ(Shown(), kIdle);
        }
    }
}

class StepActionTest : public PlayerTest {};

TEST_F(StepActionTest, MessageBoxPausesTheRunUntilItIsClosed) {
    std::vector<int32_t> pausedWhileOpen;
    headless::OnBoxShown([&](const headless::ShownBox&) { pausedWhileOpen.push_back(PlayPaused); });
    Play({Message("Insert the card"), Marker(2)});
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"PAUSE: Insert the card"});
    EXPECT_EQ(pausedWhileOpen, std::vector<int32_t>{1});
    EXPECT_EQ(PointerMoves(), std::vector<int>{2});
    EXPECT_EQ(NowMs(), 400);
}

TEST_F(StepActionTest, StopWhileTheMessageBoxIsOpenEndsTheRunWhenItCloses) {
    headless::OnBoxShown([](const headless::ShownBox&) { StopSteps(0); });
    Play({Message("Stop me"), Marker(2)});
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"PAUSE: Stop me"});
    EXPECT_TRUE(PointerMoves().empty());
    EXPECT_EQ(NowMs(), 0);
    EXPECT_EQ(Shown(), kIdle);
}

// Regression: the buttons stayed paused after the box closed, and the Play that followed took
// the new-run path under the running player: it emptied the port registry, so the next telegram
// failed with "Port is not initialised!".
TEST_F(StepActionTest, PauseWhileTheMessageBoxIsOpenIsClearedWhenItCloses) {
    headless::AddSerialDevice("COM1");
    auto whileOpen = std::make_shared<RunControls>();
    headless::OnBoxShown([whileOpen](const headless::ShownBox&) {
        PauseSteps(0);
        *whileOpen = Shown();
    });
    auto afterClose = std::make_shared<RunControls>();
    headless::ScheduleAt(300 * kMs, [afterClose] {
        *afterClose = Shown();
        PlaySteps(0);
    });
    Play({Com("COM1", "Initialise", "9600 N 8 1"), Message("m"), Com("COM1", "String", "ATZ")});
    EXPECT_EQ(*whileOpen, kPaused);
    EXPECT_EQ(*afterClose, kPlaying);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"PAUSE: m"});
    EXPECT_EQ(headless::GetSerialDevice("COM1").written, "ATZ");
    EXPECT_EQ(Shown(), kIdle);
}

TEST_F(StepActionTest, UnknownTypeShowsAnErrorAndTheRunGoesOn) {
    Play({Marker(1), OfType(13), Marker(3)});
    const auto boxes = TakeBoxes();
    EXPECT_NE(std::find(boxes.begin(), boxes.end(), "Error: ThreadPLAY(): Unknown recordtype: 13"),
              boxes.end());
    EXPECT_EQ(PointerMoves(), (std::vector<int>{1, 3}));
    EXPECT_EQ(NowMs(), 400);
}

// A device is no program, and is not even looked at.
TEST_F(StepActionTest, ExecuteStartsAnExistingFileAndSkipsAMissingOne) {
    headless::PutFile("C:\\Tools\\target.exe", "MZ");
    headless::MakeFolder("C:\\Data");
    headless::PutDevice("C:\\Tools\\COM5", "");
    Play({Execute("C:\\Tools\\target.exe"), Execute("C:\\Tools\\missing.exe"), Execute("C:\\Data"),
          Execute(""), Execute("C:\\Tools\\COM5")});
    EXPECT_EQ(headless::ShellOpened(),
              (std::vector<std::string>{"C:\\Tools\\target.exe", "C:\\Data"}));
    EXPECT_EQ(headless::DeviceOpens("C:\\Tools\\COM5"), 0);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(NowMs(), 1000);
}

TEST_F(StepActionTest, EachStepIsShownInTheEditorPanelBeforeItIsPlayed) {
    auto shown = WatchText(FrameStep, 600);
    Play({State("a"), State("b"), State("c")});
    EXPECT_EQ(*shown, (std::vector<std::string>{"1", "2", "3"}));
}

}  // namespace
