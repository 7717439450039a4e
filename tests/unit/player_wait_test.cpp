// Wait steps on the virtual clock: each kind seen as soon as it holds, the time-out with and
// without an else step, the countdown, a pause holding the clock, and the held port's answers:
// read through every wait, each satisfying one Wait, and a port that fails to be read.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "platform/headless/headless.h"
#include "player/WaitStep.h"
#include "tests/unit/player_test_steps.h"

namespace {

using namespace steps;

class WaitTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        headless::AddSerialDevice("COM1");
    }
    static int64_t WaitedMs() { return LastWaitOutcome().waitedMicroseconds / kMs; }
};

struct ConditionRow {
    const char* kind;
    const char* value;
    std::function<void()> makeTrue;
};

TEST_F(WaitTest, EachKindIsSeenWithinAPollOfHolding) {
    const ConditionRow rows[] = {
        {"Window", "save as", [] { headless::SetDesktopWindows({{"Save As - Editor"}}); }},
        {"NoWindow", "Save As", [] { headless::SetDesktopWindows({}); }},
        {"Active", "Editor",
         [] { headless::SetDesktopWindows({{.title = "Editor", .foreground = true}}); }},
        {"Pixel", "5 6 33CC33 2", [] { headless::SetScreenPixel(5, 6, 0x32CD34); }},
        {"Answer", "COM1 OK", [] { headless::DeviceSends("COM1", "O"); }},
    };
    for (const ConditionRow& row : rows) {
        SCOPED_TRACE(row.kind);
        headless::SetDesktopWindows({{std::string(row.kind) == "NoWindow" ? "Save As" : "Other"}});
        headless::SetScreenPixel(5, 6, 0);
        const int64_t start = headless::VirtualMicroseconds();
        headless::ScheduleAt(start + 1500 * kMs, row.makeTrue);
        headless::ScheduleAt(start + 1600 * kMs, [] { headless::DeviceSends("COM1", "K\r"); });
        Play({Com("COM1", "Initialise", "9600 N 8 1"), Wait(row.kind, row.value, 5.0f), Marker(7)});
        EXPECT_TRUE(TakeBoxes().empty());
        EXPECT_FALSE(LastWaitOutcome().timedOut);
        const int64_t expected = std::string(row.kind) == "Answer" ? 1400 : 1300;
        EXPECT_GE(WaitedMs(), expected);
        EXPECT_LE(WaitedMs(), expected + 10);
        EXPECT_EQ(PointerMoves(), std::vector<int>{7});
        headless::ClearInputLog();
    }
}

// Quorvane's own windows (its main window in front, a box of its own) are not what a list waits
// for: the condition is decided as if they were not there.
TEST_F(WaitTest, OwnWindowsNeverCount) {
    headless::SetDesktopWindows(
        {{.title = "Quorvane", .foreground = true, .own = true}, {.title = "Report - Editor"}});
    const struct {
        const char* kind;
        bool holds;
    } rows[] = {{"Window", false}, {"Active", false}, {"NoWindow", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind);
        Play({Wait(row.kind, "quorvane", 0.0f, 3), Marker(2), Marker(3)});
        EXPECT_EQ(PointerMoves(), (row.holds ? std::vector<int>{2, 3} : std::vector<int>{3}));
        headless::ClearInputLog();
    }
}

TEST_F(WaitTest, TimeOutGoesToTheElseStepWithoutABox) {
    Play({Wait("Window", "Save As", 1.0f, 3), Marker(2), Marker(3)});
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_TRUE(LastWaitOutcome().timedOut);
    EXPECT_EQ(WaitedMs(), 1000);
    EXPECT_EQ(PointerMoves(), std::vector<int>{3});
}

TEST_F(WaitTest, ZeroSecondsIsAnIfThatDecidesAtOnce) {
    headless::SetDesktopWindows({{"Save As"}});
    Play({Wait("NoWindow", "Save", 0.0f, 3), Marker(2), Marker(3)});
    EXPECT_EQ(WaitedMs(), 0);
    EXPECT_EQ(PointerMoves(), std::vector<int>{3});
}

// Without an else step, and with one that is not a step of the list (steps deleted since).
TEST_F(WaitTest, TimeOutWithoutAnElseStepHoldsTheRunWithABoxAndPlayGoesOn) {
    const struct {
        int32_t elseStep;
        const char* box;
    } rows[] = {{0, "Wait: Timed out after 1.0 s: Window \"Save As\""},
                {3, "Wait: Else step 3 is not in the list"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.elseStep);
        const auto countdown = TextAt(TextWaitCountdown, NowMs() + 550);
        PressPlayAfterEachBox(1000);
        Play({Wait("Window", "Save As", 1.0f, row.elseStep), Marker(2)});
        EXPECT_EQ(*countdown, "0.5");
        EXPECT_EQ(TakeBoxes(), std::vector<std::string>{row.box});
        EXPECT_EQ(PointerMoves(), std::vector<int>{2});
        headless::ClearInputLog();
    }
}

TEST_F(WaitTest, PauseHoldsTheClock) {
    headless::ScheduleAt(500 * kMs, [] { PauseSteps(0); });
    headless::ScheduleAt(3000 * kMs, [] { PlaySteps(0); });
    Play({Wait("Window", "Save As", 1.0f, 2), Marker(2)});
    EXPECT_EQ(WaitedMs(), 1000);
    EXPECT_GE(NowMs(), 3500);
}

TEST_F(WaitTest, StopEndsTheWaitAtOnce) {
    headless::ScheduleAt(500 * kMs, [] { StopSteps(0); });
    Play({Wait("Window", "Save As", 10.0f, 2), Marker(2)});
    EXPECT_TRUE(LastWaitOutcome().ended);
    EXPECT_LE(NowMs(), 510);
    EXPECT_TRUE(PointerMoves().empty());
}

TEST_F(WaitTest, TheHeldPortMatchesOnlyAnswersAfterTheLastSend) {
    headless::ScheduleAt(100 * kMs, [] { headless::DeviceSends("COM1", "OK"); });
    Play({Com("COM1", "Initialise", "9600 N 8 1"), Com("COM1", "String", "ATZ"),
          Wait("Answer", "COM1 OK", 1.0f, 5), Marker(4), Marker(5)});
    EXPECT_EQ(PointerMoves(), std::vector<int>{5});
    const auto device = headless::GetSerialDevice("COM1");
    EXPECT_EQ(device.written, "ATZ");
    EXPECT_EQ(device.opens, 1);
    EXPECT_FALSE(device.open);  // closed when the run ended
    EXPECT_EQ(device.inputQueue, 65536u);
    EXPECT_EQ(device.timeouts.readInterval, 0xFFFFFFFFu);
}

TEST_F(WaitTest, PortFailuresAreReportedAsATelegramGetsThem) {
    headless::OnBoxShown([](const headless::ShownBox&) {
        headless::ScheduleAt(headless::VirtualMicroseconds() + 1000 * kMs, [] { StopSteps(0); });
    });
    Play({Wait("Answer", "COM1 OK", 1.0f)});
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"COM port: Port is not initialised!"});
    headless::AddSerialDevice("COM2");
    headless::SerialDevice busy = headless::GetSerialDevice("COM2");
    busy.inUse = true;
    headless::SetSerialDevice("COM2", busy);
    Play({Com("COM2", "Initialise", "9600 N 8 1"), Wait("Answer", "COM2 OK", 1.0f)});
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"COM port: Can't open port!"});
}

// Through a long Delay the device sends far more than the driver's queue holds; the answer at
// its end still reaches the Wait after it, and satisfies one Wait only.
TEST_F(WaitTest, HeldPortsAreReadThroughEveryWaitAndEachAnswerCountsOnce) {
    ChattyCom1();
    Play({Com("COM1", "Initialise", "9600 N 8 1"), Delay(10.0f),
          Wait("Answer", "COM1 READY", 0.0f, 5), Wait("Answer", "COM1 READY", 1.0f, 6), Marker(5),
          Marker(6)});
    EXPECT_EQ(PointerMoves(), std::vector<int>{6});
}

// The adapter is pulled out during a Wait: a box says so at once and the run holds; it is not a
// Wait that timed out. Plugged back in, Play goes on with the next step and the port is opened
// again for the Wait after it.
TEST_F(WaitTest, AHeldPortThatCannotBeReadIsAFailureNotATimeOut) {
    headless::ScheduleAt(1000 * kMs, [] { headless::SetSerialDeviceUnplugged("COM1", true); });
    headless::OnBoxShown([](const headless::ShownBox&) {
        EXPECT_LE(headless::VirtualMicroseconds(), 1050 * kMs);
        headless::SetSerialDeviceUnplugged("COM1", false);
        PlaySteps(0);
    });
    Play({Com("COM1", "Initialise", "9600 N 8 1"), Wait("Answer", "COM1 OK", 5.0f), Marker(3),
          Wait("Answer", "COM1 OK", 0.0f, 5), Marker(5)});
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"COM port: Can't read port!"});
    EXPECT_EQ(PointerMoves(), (std::vector<int>{3, 5}));
    EXPECT_EQ(headless::GetSerialDevice("COM1").opens, 2);
}

}  // namespace
