// Loops and jumps: the three loop levels in their order, the status fields, targets outside the
// list, and the lists that jump back to themselves without end.

#include <gtest/gtest.h>

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

class LoopTest : public PlayerTest {};

TEST_F(LoopTest, StepsBeforeALoopOfThreeArePlayedThreeTimesThenTheRest) {
    auto loopText = WatchText(TextLoop1, 1800);
    Play({Marker(1), Marker(2), Loop(1, 3), Marker(4)});
    EXPECT_EQ(PointerMoves(), (std::vector<int>{1, 2, 1, 2, 1, 2, 4}));
    EXPECT_EQ(*loopText, (std::vector<std::string>{"", "L1: 1", "L1: 2", ""}));
    // Two waits before going back, none when the loop ends.
    EXPECT_EQ(NowMs(), 7 * 200 + 2 * 200);
    EXPECT_EQ(LastRun().loops[0].Active, 0);
}

TEST_F(LoopTest, ACountOfOneRepeatsUntilStopAndCountsOn) {
    auto loopText = WatchText(TextLoop1, 3090);
    headless::ScheduleAt(3100 * kMs, [] { StopSteps(0); });
    Play({Marker(1), Marker(2), Loop(1, 1), Marker(4)});
    EXPECT_EQ(*loopText,
              (std::vector<std::string>{"", "L1: 1", "L1: 2", "L1: 3", "L1: 4", "L1: 5"}));
    EXPECT_EQ(PointerMoves().back(), 1);
    EXPECT_EQ(platform::ControlText(TextLoop1), "");
}

TEST_F(LoopTest, ALoopFinishingOnTheLastStepEndsTheRun) {
    Play({Marker(1), Loop(1, 2)});
    EXPECT_EQ(PointerMoves(), (std::vector<int>{1, 1}));
    EXPECT_EQ(NowMs(), 600);
    EXPECT_EQ(PlayRunning, 0);
    EXPECT_EQ(RList.Index(), 0);
    EXPECT_TRUE(platform::IsControlEnabled(ButtonPlay));
}

TEST_F(LoopTest, TargetsOutsideTheListOnlyWaitAndTakeNoLevel) {
    for (int32_t from : {0, -1, 4, 1000}) {
        headless::Reset();
        SetUp();
        Play({Marker(1), Loop(from, 3), Marker(3)});
        EXPECT_EQ(PointerMoves(), (std::vector<int>{1, 3})) << from;
        EXPECT_EQ(NowMs(), 600) << from;
        EXPECT_EQ(LastRun().loops[0].Active, 0) << from;
    }
}

TEST_F(LoopTest, AFourthLoopWhileThreeLevelsAreBusyIsPassedOver) {
    auto level3 = TextAt(TextLoop3, 900);
    auto level1 = TextAt(TextLoop1, 900);
    Play({Loop(2, 9), Loop(3, 9), Loop(4, 9), Loop(5, 9), Marker(5)});
    EXPECT_EQ(*level1, "L1: 1");
    EXPECT_EQ(*level3, "L3: 1");
    EXPECT_EQ(PointerMoves(), std::vector<int>{5});
    EXPECT_EQ(NowMs(), 1000);
    for (int level = 0; level < 3; ++level) {
        EXPECT_EQ(LastRun().loops[level].Active, 1) << level;
        EXPECT_EQ(LastRun().loops[level].Index, level) << level;
    }
    for (int field : {TextLoop1, TextLoop2, TextLoop3}) {
        EXPECT_EQ(platform::ControlText(field), "") << field;
    }
}

TEST_F(LoopTest, NestedLoopsCountOnTheirOwnLevels) {
    // Inner loop (step 3) twice per pass of the outer loop (step 4), the outer one twice.
    Play({Marker(1), Marker(2), Loop(2, 2), Loop(1, 2), Marker(5)});
    EXPECT_EQ(PointerMoves(), (std::vector<int>{1, 2, 2, 1, 2, 2, 5}));
}

TEST_F(LoopTest, ALoopTakesTheLowestFreeLevel) {
    // Step 3 takes level 1; step 2, reached again inside it, takes level 2 and frees it; step 3
    // then ends and frees level 1.
    auto level2 = TextAt(TextLoop2, 1100);
    Play({Marker(1), Loop(1, 2), Loop(1, 2), Marker(4)});
    EXPECT_EQ(PointerMoves(), (std::vector<int>{1, 1, 1, 1, 4}));
    EXPECT_EQ(*level2, "L2: 1");
    EXPECT_EQ(LastRun().loops[0].Active, 0);
    EXPECT_EQ(LastRun().loops[1].Active, 0);
}

TEST_F(LoopTest, ANewRunFreesTheLevelsAndThePorts) {
    headless::ScheduleAt(500 * kMs, [] { StopSteps(0); });
    Play({Com("COM1", "Initialise", "9600 N 8 1"), Marker(2), Loop(2, 5)});
    EXPECT_EQ(LastRun().loops[0].Active, 1);
    EXPECT_EQ(LastRun().ports.size(), 1u);
    Play({Marker(1)});
    EXPECT_EQ(LastRun().loops[0].Active, 0);
    EXPECT_EQ(LastRun().loops[0].Counter, 0);
    EXPECT_TRUE(LastRun().ports.empty());
}

class JumpTest : public PlayerTest {};

TEST_F(JumpTest, JumpToStepOneOnTheLastStepRepeatsTheListUntilStop) {
    headless::ScheduleAt(2500 * kMs, [] { StopSteps(0); });
    Play({Marker(1), Marker(2), Jump(1)});
    EXPECT_EQ(PointerMoves(), (std::vector<int>{1, 2, 1, 2, 1, 2, 1, 2, 1}));
    EXPECT_EQ(NowMs(), 2500);
    EXPECT_EQ(RList.Index(), 0);
}

TEST_F(JumpTest, TheRunGoesOnAfterTheJumpTarget) {
    Play({Jump(3), Marker(2), Marker(3), Marker(4)});
    EXPECT_EQ(PointerMoves(), (std::vector<int>{3, 4}));
    EXPECT_EQ(NowMs(), 600);
}

TEST_F(JumpTest, TargetsOutsideTheListPassOnAfterTheWait) {
    for (int32_t to : {0, -5, 4, 99}) {
        headless::Reset();
        SetUp();
        Play({Marker(1), Jump(to), Marker(3)});
        EXPECT_EQ(PointerMoves(), (std::vector<int>{1, 3})) << to;
        EXPECT_EQ(NowMs(), 600) << to;
    }
}

TEST_F(JumpTest, EscapeBeforeTheJumpTargetEndsTheRun) {
    headless::ScheduleAt(100 * kMs, [] { headless::UserPressesEscape(); });
    Play({Jump(2), Marker(2)});
    EXPECT_TRUE(PointerMoves().empty());
    EXPECT_EQ(NowMs(), 100);
}

// Lists that send the run back to the step that sent it: each repetition is played like any
// other step, with the checks before it, at the same depth.
struct Runaway {
    const char* name;
    std::vector<StepRecord> steps;
};

class RunawayTest : public PlayerTest {};

TEST_F(RunawayTest, EveryCaseEndsCleanlyOnStopAfterManyRepetitions) {
    const Runaway cases[] = {
        {"jump to itself", {Marker(1), Jump(2), Marker(3)}},
        {"two jumps naming each other", {Jump(2), Jump(1), Marker(3)}},
        {"loop on itself counting once", {Marker(1), Loop(2, 1), Marker(3)}},
        {"loop on itself counting none", {Loop(1, 0), Marker(2)}},
        {"loop on itself counting down", {Loop(1, -3), Marker(2)}},
    };
    // 40,000 repetitions of 200 ms: nesting a call per repetition would overflow the stack.
    constexpr int64_t kStopMs = 8'000'000;
    for (const Runaway& runaway : cases) {
        headless::Reset();
        SetUp();
        headless::ScheduleAt(kStopMs * kMs, [] { StopSteps(0); });
        Play(runaway.steps);
        EXPECT_EQ(PlayRunning, 0) << runaway.name;
        EXPECT_LE(NowMs(), kStopMs + 200) << runaway.name;
        for (int x : PointerMoves()) {
            EXPECT_NE(x, 3) << runaway.name;
        }
        EXPECT_TRUE(platform::IsControlEnabled(ButtonPlay)) << runaway.name;
    }
}

TEST_F(RunawayTest, PauseAndEscapeWorkInsideAJumpToItself) {
    headless::ScheduleAt(1000 * kMs, [] { PauseSteps(0); });
    auto paused = TextAt(FrameStep, 1500);
    headless::ScheduleAt(2000 * kMs, [] { headless::UserPressesEscape(); });
    headless::ScheduleAt(2100 * kMs, [] { PlaySteps(0); });
    Play({Jump(1)});
    EXPECT_EQ(*paused, "1");
    EXPECT_EQ(PlayRunning, 0);
    // The Escape pressed while paused ends the run at once.
    EXPECT_EQ(NowMs(), 2000);
}

}  // namespace
