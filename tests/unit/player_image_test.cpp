// Image steps and the Wait for a picture on the headless desktop, in virtual time: the click at
// the picture's centre in the coordinates Mouse steps use, on a scaled monitor and on one left of
// the main one; every failure holds the run with its box; a Wait sees a picture soon after it
// shows, looking as often as the looks' cost allows.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "player/WaitStep.h"
#include "tests/unit/player_test_steps.h"

namespace {

using headless::InputEvent;
using headless::InputKind;
using namespace steps;

constexpr char kFolder[] = "C:\\Users\\tester\\";

// The main monitor at 150 % (2880 x 1620 pixels seen as 1920 x 1080), a plain one left of it.
const std::vector<platform::MonitorSpace> kMonitors = {
    {{0, 0, 2880, 1620}, {0, 0, 1920, 1080}},
    {{-1920, 0, 0, 1080}, {-1920, 0, 0, 1080}},
};

class ImageStepTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        headless::SetMonitors(kMonitors);
        headless::PutPicture(std::string(kFolder) + "badge.png", Badge());
        headless::PutPicture(std::string(kFolder) + "plain.png",
                             Badge(4, 4, 0xFF808080u, 0xFF808080u));
    }
};

TEST_F(ImageStepTest, ClicksAtThePicturesCentreInTheCoordinatesMouseStepsUse) {
    const struct {
        const char* action;
        int left, top;  // where the 8 x 6 badge is painted, physical desktop pixels
        int offsetX, offsetY;
        int x, y;  // the pointer afterwards
        std::vector<uint32_t> buttons;
    } rows[] = {
        // The centre pixel (1504, 903) scaled by 2/3.
        {"L_Click", 1500, 900, 0, 0, 1002, 602, {0x0002, 0x0004}},
        {"R_Click", 1500, 900, 10, -2, 1012, 600, {0x0008, 0x0010}},
        {"Move", -1000, 500, -5, 10, -1001, 513, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.action);
        headless::SetMonitors(kMonitors);
        headless::PaintScreen(row.left, row.top, Badge());
        headless::ClearInputLog();
        Play({Image(row.action, "0 badge.png", row.offsetX, row.offsetY)});
        EXPECT_TRUE(TakeBoxes().empty());
        std::vector<InputEvent> expected = {
            {.kind = InputKind::CursorMove, .x = row.x, .y = row.y}};
        for (uint32_t flags : row.buttons) {
            expected.push_back({.kind = InputKind::Mouse, .flags = flags});
        }
        EXPECT_EQ(headless::InputLog(), expected);
    }
}

// Each failure holds the run with its box; Play goes on with the next step.
TEST_F(ImageStepTest, FailuresHoldTheRunWithTheirBox) {
    headless::PaintScreen(100, 100, Badge());
    const struct {
        StepRecord step;
        bool screenLocked;
        const char* box;
    } rows[] = {
        {Image("L_Click", "0 gone.png"), false, "Image: Can't read picture \"gone.png\""},
        {Image("L_Click", "0 badge.png", 0, 0), true, "Image: Can't capture the screen"},
        {Image("L_Click", "9 plain.png"), false,
         "Image: Picture \"plain.png\" is all one colour: it would match any plain area"},
        {Image("L_Click", "badge.png"), false, "Image: Wrong picture value \"badge.png\""},
        {Wait("Image", "0 gone.png", 1.0f), false, "Image: Can't read picture \"gone.png\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.box);
        headless::SetScreenLocked(row.screenLocked);
        headless::ClearInputLog();
        headless::OnBoxShown([](const headless::ShownBox&) {
            headless::ScheduleAt(headless::VirtualMicroseconds() + 1000 * kMs,
                                 [] { PlaySteps(0); });
        });
        Play({row.step, Marker(9)});
        EXPECT_EQ(TakeBoxes(), std::vector<std::string>{row.box});
        EXPECT_EQ(PointerMoves(), std::vector<int>{9});
    }
    headless::SetScreenLocked(false);
}

TEST_F(ImageStepTest, APictureNotOnTheScreenIsAFailureNamingItsFile) {
    headless::OnBoxShown([](const headless::ShownBox&) {
        headless::ScheduleAt(headless::VirtualMicroseconds() + 1000 * kMs, [] { StopSteps(0); });
    });
    Play({Image("L_Click", "0 badge.png"), Marker(9)});
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Image: Image \"badge.png\" not found"});
    EXPECT_TRUE(PointerMoves().empty());
}

// A look costs 4 ms of processor time here: the Wait looks every 100 ms (a 25th of one core), not
// every 20 ms, and the Image step after it finds the picture at once where the Wait saw it.
TEST_F(ImageStepTest, AWaitSeesThePictureWithinALookPeriodThatFollowsTheLooksCost) {
    headless::SetCaptureCost(4000);
    headless::ScheduleAt(1500 * kMs, [] { headless::PaintScreen(-300, 40, Badge()); });
    Play({Wait("Image", "0 badge.png", 5.0f), Image("L_Click", "0 badge.png"), Marker(9)});
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_FALSE(LastWaitOutcome().timedOut);
    const int64_t waitedMs = LastWaitOutcome().waitedMicroseconds / kMs;
    EXPECT_GE(waitedMs, 1500);
    EXPECT_LE(waitedMs, 1600);
    // One look at once, one every 100 ms until 1.5 s, one for the Image step.
    EXPECT_LE(headless::CaptureCount(), 18);
    EXPECT_EQ(PointerMoves(), (std::vector<int>{-296, 9}));
}

}  // namespace
