// Real runs on the real player thread against the headless platform: the main window's commands
// come from the test thread while the player plays, as they come from the event loop in the
// program. Built with ThreadSanitizer this shows that the two threads share nothing unguarded.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Forms/FormMAIN.h"
#include "platform/headless/headless.h"
#include "platform/system.h"
#include "platform/window.h"
#include "player/Player.h"
#include "tests/unit/player_test_steps.h"

namespace {

using namespace steps;

// Long enough for a slow sanitizer build on a busy machine; a run that takes longer is hung.
constexpr auto kGenerous = std::chrono::seconds(60);

// Waits as the event loop does: what the player posts is drawn meanwhile, and once more when the
// condition holds, so that the controls show everything posted before it.
bool WaitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + kGenerous;
    for (;;) {
        QuorvaneTest::HandlePendingEvents();
        if (condition()) {
            QuorvaneTest::HandlePendingEvents();
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::yield();
    }
}

bool PlayerIdle() {
    return PlayRunning == 0 && PlayerWaiting();
}

bool ShowsIdle() {
    return PlayerIdle() && platform::IsControlEnabled(ButtonPlay) &&
           !platform::IsControlEnabled(ButtonStop);
}

bool ShowsPaused() {
    return platform::IsControlEnabled(ButtonPlay) && !platform::IsControlEnabled(ButtonPause);
}

class PlayerThreadTest : public PlayerTest {
protected:
    void SetUp() override {
        // The player waits for a run between tests, touching nothing that Reset replaces.
        static const bool started = [] {
            platform::StartThread(ThreadPLAY, 100);
            return WaitFor(PlayerWaiting);
        }();
        ASSERT_TRUE(started);
        PlayerTest::SetUp();
    }

    void TearDown() override {
        StopSteps(0);
        ASSERT_TRUE(WaitFor(PlayerIdle));
        headless::OnBoxShown(nullptr);
        headless::KeepBoxesOpenUntil(nullptr);
    }

    // Presses Play on the list with its first step shown, as a user would; the player thread
    // may start at once, so the list is not touched afterwards.
    void PlayOnThread(const std::vector<StepRecord>& list) {
        Load(list);
        PlaySteps(0);
    }

    static size_t Moves() { return PointerMoves().size(); }
};

TEST_F(PlayerThreadTest, ThreeHalfSecondDelaysEndOnStepOne) {
    PlayOnThread({Delay(0.5f), Delay(0.5f), Delay(0.5f)});
    ASSERT_TRUE(WaitFor(PlayerIdle));
    EXPECT_EQ(NowMs(), 1500);
    EXPECT_EQ(platform::ControlText(FrameStep), "1");
    EXPECT_EQ(platform::ControlText(TextCountdown), "0.0");
    EXPECT_TRUE(platform::IsControlEnabled(ButtonPlay));
    EXPECT_FALSE(platform::IsControlEnabled(ButtonStop));
}

TEST_F(PlayerThreadTest, RunsFollowEachOtherAtOnce) {
    for (int run = 1; run <= 20; ++run) {
        PlayOnThread({Marker(run), State("run " + std::to_string(run))});
        ASSERT_TRUE(WaitFor(PlayerIdle)) << run;
        EXPECT_EQ(platform::ControlText(TextState), "run " + std::to_string(run));
    }
    EXPECT_EQ(Moves(), 20u);
}

TEST_F(PlayerThreadTest, StopFromTheMainThreadEndsAJumpWithoutEnd) {
    PlayOnThread({Marker(1), Jump(1)});
    ASSERT_TRUE(WaitFor([] { return Moves() >= 200; }));
    StopSteps(0);
    ASSERT_TRUE(WaitFor(PlayerIdle));
    const size_t moves = Moves();
    EXPECT_EQ(Moves(), moves);
    EXPECT_TRUE(platform::IsControlEnabled(ButtonPlay));
    EXPECT_TRUE(platform::IsControlEnabled(ButtonNext));
}

TEST_F(PlayerThreadTest, PauseHoldsADelayAndPlayResumesIt) {
    PlayOnThread({Delay(100000.0f), Marker(2)});
    ASSERT_TRUE(WaitFor([] { return platform::ControlText(TextCountdown) != "0"; }));
    PauseSteps(0);
    // The countdown may take one more tick before the pause is seen.
    const int64_t pausedAt = headless::VirtualMicroseconds();
    ASSERT_TRUE(WaitFor([&] { return headless::VirtualMicroseconds() > pausedAt + 300 * kMs; }));
    const std::string held = platform::ControlText(TextCountdown);
    const int64_t heldAt = headless::VirtualMicroseconds();
    ASSERT_TRUE(WaitFor([&] { return headless::VirtualMicroseconds() > heldAt + 2000 * kMs; }));
    EXPECT_EQ(platform::ControlText(TextCountdown), held);

    PlaySteps(0);
    ASSERT_TRUE(WaitFor([&] { return platform::ControlText(TextCountdown) != held; }));
    EXPECT_EQ(PlayRunning, 1);
    EXPECT_EQ(Moves(), 0u);
}

TEST_F(PlayerThreadTest, EscapeFromTheUserEndsALongDelay) {
    PlayOnThread({Delay(100000.0f), Marker(2)});
    ASSERT_TRUE(WaitFor([] { return platform::ControlText(TextCountdown) != "0"; }));
    headless::UserPressesEscape();
    ASSERT_TRUE(WaitFor(PlayerIdle));
    EXPECT_EQ(Moves(), 0u);
    EXPECT_NE(platform::ControlText(TextCountdown), "0.0");
}

// The player waits for the box; the main thread shows it, without owner so that Stop and Pause
// stay usable.
TEST_F(PlayerThreadTest, AMessageBoxIsShownByTheMainThreadWithoutOwner) {
    std::mutex seenMutex;
    std::vector<headless::ShownBox> seen;
    headless::OnBoxShown([&](const headless::ShownBox& box) {
        const std::lock_guard<std::mutex> lock(seenMutex);
        seen.push_back(box);
    });
    PlayOnThread({Message("Insert the card"), Marker(2)});
    ASSERT_TRUE(WaitFor(PlayerIdle));
    const std::lock_guard<std::mutex> lock(seenMutex);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, "PAUSE");
    EXPECT_EQ(seen[0].text, "Insert the card");
    EXPECT_EQ(seen[0].thread, std::this_thread::get_id());
    EXPECT_EQ(seen[0].owner, -1);
    EXPECT_EQ(Moves(), 1u);
}

// Play, Pause and Stop pressed in every order while the player runs, meets Message boxes and ends
// runs: the buttons always come to rest showing the state the player is in.
TEST_F(PlayerThreadTest, CommandsInAnyOrderLeaveTheButtonsShowingThePlayersState) {
    headless::OnBoxShown([](const headless::ShownBox&) { PauseSteps(0); });
    void (*const commands[])() = {[] { PlaySteps(0); }, [] { PauseSteps(0); }, [] { StopSteps(0); },
                                  [] { PlayFromCurrentStep(); }};
    Load({State("a"), Message("m"), Delay(0.3f), Jump(1)});
    for (int press = 0; press < 400; ++press) {
        commands[(press * 7 + press / 5) % 4]();
        QuorvaneTest::HandlePendingEvents();
        std::this_thread::yield();
    }
    StopSteps(0);
    ASSERT_TRUE(WaitFor(PlayerIdle));
    EXPECT_EQ(PlayPaused, 0);
    EXPECT_TRUE(platform::IsControlEnabled(ButtonPlay));
    EXPECT_FALSE(platform::IsControlEnabled(ButtonPause));
    EXPECT_FALSE(platform::IsControlEnabled(ButtonStop));
    EXPECT_TRUE(platform::IsMenuItemEnabled(MenuPlayFromCurrent));
    EXPECT_TRUE(platform::IsControlEnabled(ButtonNext));
}

TEST_F(PlayerThreadTest, StopWhileAPortFailureHoldsTheRunEndsIt) {
    PlayOnThread({Com("COM1", "String", "ATZ"), Marker(2)});
    ASSERT_TRUE(WaitFor([] { return headless::Boxes().size() == 1; }));
    ASSERT_TRUE(WaitFor([] { return PlayPaused == 1; }));
    StopSteps(0);
    ASSERT_TRUE(WaitFor(PlayerIdle));
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"COM port: Port is not initialised!"});
    EXPECT_EQ(Moves(), 0u);
}

// A chatty device goes on sending while a Message box is open: the player reads the held port
// meanwhile, so the driver's queue does not overrun and the answer at the end reaches the Wait.
TEST_F(PlayerThreadTest, HeldPortsAreReadWhileAMessageBoxIsOpen) {
    headless::AddSerialDevice("COM1");
    ChattyCom1();
    headless::KeepBoxesOpenUntil(
        [](const headless::ShownBox&) { return headless::VirtualMicroseconds() > 10000 * kMs; });
    PlayOnThread({Com("COM1", "Initialise", "9600 N 8 1"), Message("m"),
                  Wait("Answer", "COM1 READY", 0.0f, 5), Marker(4), Marker(5)});
    ASSERT_TRUE(WaitFor(PlayerIdle));
    EXPECT_EQ(PointerMoves(), (std::vector<int>{4, 5}));
}

// Regression: nothing queued was handled while a run's box was open (Stop did nothing until it
// closed; a Pause given meanwhile raced the box's end and sometimes stayed), and a failure that
// does not hold the run went on clicking behind its box. Now a click while the run's box is open
// acts and shows at once, before the box closes.
TEST_F(PlayerThreadTest, RunButtonsClickedWhileTheRunsBoxIsOpenActAtOnce) {
    const struct {
        const char* name;
        std::vector<StepRecord> list;
        int button;
        bool (*shownWhileOpen)();
        size_t moves;  // Mouse steps played once the box has closed
    } rows[] = {
        {"Stop, port not initialised",
         {Com("COM1", "String", "ATZ"), Marker(2)},
         ButtonStop,
         ShowsIdle,
         0},
        {"Stop, unknown type", {State("a"), OfType(13), Marker(3)}, ButtonStop, ShowsIdle, 0},
        {"Pause, Message box: cleared as it closes",
         {Message("m"), Marker(4)},
         ButtonPause,
         ShowsPaused,
         1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        bool shown = false;
        // Every box of a run has no owner, the panel's own about the unknown type it shows too:
        // none of them may disable the main window and its Stop.
        headless::OnBoxShown([&](const headless::ShownBox& box) {
            EXPECT_EQ(box.owner, -1) << box.text;
            headless::PushEvent({platform::EventKind::Control, FormMAIN, row.button});
        });
        headless::KeepBoxesOpenUntil(
            [&](const headless::ShownBox&) { return shown = row.shownWhileOpen(); });
        PlayOnThread(row.list);
        ASSERT_TRUE(WaitFor([&] { return shown && PlayerIdle(); }));
        EXPECT_EQ(Moves(), row.moves);
        headless::ClearInputLog();
    }
}

}  // namespace
