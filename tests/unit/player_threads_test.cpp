// Real runs on the real player thread against the headless platform: the main window's commands
// come from the test thread while the player plays, as they come from the event loop in the
// program. Built with ThreadSanitizer this shows that the two threads share nothing unguarded.

#include <gtest/gtest.h>

#include <atomic>
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
#include "steps/KeyText.h"
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

    // The user clicks a button of the main window: the event is queued for the event loop, or
    // for the modal loop of a box that is open.
    static void Click(int button) {
        headless::PushEvent(platform::Event{platform::EventKind::Control, FormMAIN, button});
    }

    static bool ButtonsShowIdle() {
        return platform::IsControlEnabled(ButtonPlay) && !platform::IsControlEnabled(ButtonStop);
    }
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

// Regression: Stop did nothing until a failure box was closed, and a failure that does not hold
// the run let it go on clicking behind its box. Now the player waits for the box, and Stop
// clicked while it is open ends the run at once, the buttons showing it, the box still open.
TEST_F(PlayerThreadTest, StopClickedWhileAFailureBoxIsOpenEndsTheRunBeforeTheBoxCloses) {
    const struct {
        const char* name;
        std::vector<StepRecord> list;
    } rows[] = {
        {"port not initialised (holds the run)", {Com("COM1", "String", "ATZ"), Marker(2)}},
        {"unknown type (goes on after the box)", {State("a"), OfType(12), Marker(3)}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // The panel's own box about the unknown type closes at once; the run's box has no owner.
        bool endedWhileOpen = false;
        headless::OnBoxShown([](const headless::ShownBox& box) {
            if (box.owner == -1) {
                Click(ButtonStop);
            }
        });
        headless::KeepBoxesOpenUntil([&](const headless::ShownBox& box) {
            endedWhileOpen = PlayerIdle() && ButtonsShowIdle();
            return box.owner != -1 || endedWhileOpen;
        });
        PlayOnThread(row.list);
        ASSERT_TRUE(WaitFor([] {
            const auto boxes = headless::Boxes();
            return !boxes.empty() && boxes.back().owner == -1 && PlayerIdle();
        }));
        EXPECT_TRUE(endedWhileOpen);
        EXPECT_EQ(Moves(), 0u);
        headless::ClearBoxes();
    }
}

// Regression: a Pause given while a Message box was open was handled only after the box had
// closed, racing the player's own end of the box, and the run sometimes stayed paused.
TEST_F(PlayerThreadTest, PauseClickedWhileAMessageBoxIsOpenShowsAtOnceAndEndsWithTheBox) {
    bool pausedWhileOpen = false;
    headless::OnBoxShown([](const headless::ShownBox&) { Click(ButtonPause); });
    headless::KeepBoxesOpenUntil([&](const headless::ShownBox&) {
        pausedWhileOpen =
            platform::IsControlEnabled(ButtonPlay) && !platform::IsControlEnabled(ButtonPause);
        return pausedWhileOpen;
    });
    PlayOnThread({Message("Insert the card"), Marker(2)});
    ASSERT_TRUE(WaitFor(PlayerIdle));
    EXPECT_TRUE(pausedWhileOpen);
    EXPECT_EQ(Moves(), 1u) << "the run went on once the box was closed";
}

// The close box ends the run and gives the player time to finish it: in the middle of a long
// upper-case text, every Shift the player pressed is released by the player itself.
TEST_F(PlayerThreadTest, EndRunAndWaitLetsThePlayerReleaseEveryShiftItPressed) {
    // The player is held with Shift down (the 401st key event) until the run has been ended.
    std::atomic<bool> shiftHeld{false};
    headless::AfterInputEvents(401, [&] {
        shiftHeld = true;
        while (PlayRunning != 0) {
            std::this_thread::yield();
        }
    });
    PlayOnThread({Keys("String", std::string(20000, 'Q'))});
    ASSERT_TRUE(WaitFor([&] { return shiftHeld.load(); }));
    EXPECT_TRUE(EndRunAndWait(300));
    EXPECT_FALSE(RunActive());
    EXPECT_EQ(TakeRunEnd(), RunEnd::Stopped);
    bool shiftDown = false;
    for (const auto& event : headless::InputLog()) {
        if (event.kind == headless::InputKind::Key && event.key == kShiftKey) {
            shiftDown = !event.up;
        }
    }
    EXPECT_FALSE(shiftDown);
    EXPECT_LT(headless::InputLog().size(), 1000u) << "the text was cut short";
}

}  // namespace
