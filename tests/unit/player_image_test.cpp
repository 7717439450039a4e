// Image steps and the Wait for a picture on the headless desktop, in virtual time: the click at
// the picture's centre in the coordinates Mouse steps use, on a scaled monitor and on one left of
// the main one; every failure holds the run with its box; a Wait looks as often as its looks' cost
// allows.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/WaitStep.h"
#include "tests/unit/player_test_steps.h"

namespace {

using namespace steps;

class ImageStepTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        // The main monitor at 150 % (2880 x 1620 pixels seen as 1920 x 1080), one left of it.
        headless::SetMonitors(
            {{{0, 0, 2880, 1620}, {0, 0, 1920, 1080}}, {{-1920, 0, 0, 1080}, {-1920, 0, 0, 1080}}});
        headless::PutPicture("C:\\Users\\tester\\badge.png", Badge());
        headless::PutPicture("C:\\Users\\tester\\other.png", Badge(5, 5));
        headless::PutPicture("C:\\Users\\tester\\plain.png", Badge(4, 4, 0xFF808080u, 0xFF808080u));
    }
};

// The badge's centre pixel (1504, 903) on the scaled monitor is (1003, 602) for a Mouse step: the
// logical pixel that holds the physical pixel's centre.
TEST_F(ImageStepTest, ClicksAtThePicturesCentreInTheCoordinatesMouseStepsUse) {
    headless::PaintScreen(1500, 900, Badge());
    headless::PaintScreen(-1000, 500, Badge(5, 5));
    Play({Image("R_Click", "0 badge.png", 10, -2), Image("Move", "0 other.png", -5, 10)});
    EXPECT_TRUE(TakeBoxes().empty());
    const std::vector<headless::InputEvent> expected = {
        {.kind = headless::InputKind::CursorMove, .x = 1013, .y = 600},
        {.kind = headless::InputKind::Mouse, .flags = 0x0008},
        {.kind = headless::InputKind::Mouse, .flags = 0x0010},
        {.kind = headless::InputKind::CursorMove, .x = -1003, .y = 512},
    };
    EXPECT_EQ(headless::InputLog(), expected);
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
        {Image("L_Click", "0 other.png"), false, "Image: Image \"other.png\" not found"},
        {Image("L_Click", "0 badge.png"), true, "Image: Can't capture the screen"},
        {Image("L_Click", "9 plain.png"), false,
         "Image: Picture \"plain.png\" is all one colour: it would match any plain area"},
        {Image("L_Click", "badge.png"), false, "Image: Wrong picture value \"badge.png\""},
        {Wait("Image", "0 gone.png", 1.0f), false, "Image: Can't read picture \"gone.png\""},
    };
    PressPlayAfterEachBox(1000);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.box);
        headless::SetScreenLocked(row.screenLocked);
        headless::ClearInputLog();
        Play({row.step, Marker(9)});
        EXPECT_EQ(TakeBoxes(), std::vector<std::string>{row.box});
        EXPECT_EQ(PointerMoves(), std::vector<int>{9});
    }
}

// A look costs 4 ms of processor time here: the Wait looks every 120 ms (a 30th of one core), not
// every 20 ms, and the Image step after it finds the picture where the Wait saw it.
TEST_F(ImageStepTest, AWaitSeesThePictureWithinALookPeriodThatFollowsTheLooksCost) {
    headless::SetCaptureCost(4000);
    headless::ScheduleAt(1500 * kMs, [] { headless::PaintScreen(-300, 40, Badge()); });
    Play({Wait("Image", "0 badge.png", 5.0f), Image("L_Click", "0 badge.png")});
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_FALSE(LastWaitOutcome().timedOut);
    EXPECT_LE(LastWaitOutcome().waitedMicroseconds / kMs, 1600);
    EXPECT_LE(headless::CaptureCount(), 16);  // at 0, every 120 ms to 1.56 s, and the step's
    EXPECT_EQ(PointerMoves(), std::vector<int>{-296});
}

}  // namespace
