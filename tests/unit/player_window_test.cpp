// Window steps on the headless desktop: the window each one chooses among several, what it asks of
// that window and how the window ends up, the click at the point counted from the client area,
// and the failures that hold the run.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "platform/desktop.h"
#include "platform/headless/headless.h"
#include "tests/unit/player_test_steps.h"

namespace {

using headless::TopLevelActionKind;
using platform::Rect;
using platform::TopLevelShow;
using steps::Window;

std::vector<int> Corners(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

class WindowStepTest : public PlayerTest {
protected:
    // Two windows whose titles hold "notepad", the upper one in front, and a minimised one.
    static void ThreeWindows() {
        headless::SetDesktopWindows({
            {.title = "Untitled - Notepad",
             .rect = {100, 100, 500, 400},
             .foreground = true,
             .clientLeft = 8,
             .clientTop = 30},
            {.title = "notes.txt - Notepad",
             .rect = {300, 200, 700, 500},
             .clientLeft = 8,
             .clientTop = 30},
            {.title = "Calculator", .rect = {50, 50, 350, 450}, .minimised = true},
        });
    }

    static const headless::DesktopWindow* Titled(const std::vector<headless::DesktopWindow>& all,
                                                 const std::string& title) {
        for (const headless::DesktopWindow& window : all) {
            if (window.title == title) {
                return &window;
            }
        }
        return nullptr;
    }

    // The kinds of the actions asked since `from`, each of the window `id`.
    static std::vector<TopLevelActionKind> AskedSince(size_t from, platform::TopLevelId id) {
        std::vector<TopLevelActionKind> kinds;
        const auto actions = headless::TopLevelActions();
        for (size_t i = from; i < actions.size(); ++i) {
            EXPECT_EQ(actions[i].window, id);
            kinds.push_back(actions[i].kind);
        }
        return kinds;
    }

    // What the pointer and the buttons did: "move X Y", "flags F".
    static std::vector<std::string> Input() {
        std::vector<std::string> seen;
        for (const headless::InputEvent& event : headless::InputLog()) {
            seen.push_back(event.kind == headless::InputKind::CursorMove
                               ? "move " + std::to_string(event.x) + " " + std::to_string(event.y)
                               : "flags " + std::to_string(event.flags));
        }
        return seen;
    }
};

TEST_F(WindowStepTest, EachActionShowsOnTheWindowItChose) {
    using enum TopLevelActionKind;
    const Rect parked{-32000, -32000, -31840, -31972};
    const struct {
        StepRecord step;
        const char* actedOn;
        std::vector<TopLevelActionKind> asked;
        Rect rect;
        TopLevelShow show;
        bool inFront;
        std::vector<std::string> input;
        const char* did;
    } rows[] = {
        {Window("L_Click", "NOTEPAD", 40, 60),
         "Untitled - Notepad",
         {BringToFront},
         {100, 100, 500, 400},
         TopLevelShow::Normal,
         true,
         {"move 148 190", "flags 2", "flags 4"},
         "L_Click \"Untitled - Notepad\" at 148 190"},
        {Window("Ldbl_Click", "notes.txt", 5, -20),
         "notes.txt - Notepad",
         {BringToFront},
         {300, 200, 700, 500},
         TopLevelShow::Normal,
         true,
         {"move 313 210", "flags 2", "flags 4", "flags 2", "flags 4"},
         "Ldbl_Click \"notes.txt - Notepad\" at 313 210"},
        {Window("Activate", "calc"),
         "Calculator",
         {BringToFront},
         {50, 50, 350, 450},
         TopLevelShow::Normal,
         true,
         {},
         "Activate \"Calculator\""},
        {Window("Move", "notes", -100, 80),
         "notes.txt - Notepad",
         {Move},
         {-100, 80, 300, 380},
         TopLevelShow::Normal,
         false,
         {},
         "Move \"notes.txt - Notepad\" to -100 80"},
        {Window("Size", "Calculator", 400, 300),
         "Calculator",
         {Restore, Size},
         {50, 50, 450, 350},
         TopLevelShow::Normal,
         true,
         {},
         "Size \"Calculator\" to 400 300"},
        {Window("Maximize", "Untitled"),
         "Untitled - Notepad",
         {Maximise},
         {0, 0, 1920, 1080},
         TopLevelShow::Maximised,
         true,
         {},
         "Maximize \"Untitled - Notepad\""},
        {Window("Minimize", "Untitled"),
         "Untitled - Notepad",
         {Minimise},
         parked,
         TopLevelShow::Minimised,
         false,
         {},
         "Minimize \"Untitled - Notepad\""},
        {Window("Restore", "Calculator"),
         "Calculator",
         {Restore},
         {50, 50, 350, 450},
         TopLevelShow::Normal,
         true,
         {},
         "Restore \"Calculator\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.did);
        ThreeWindows();
        headless::ClearInputLog();
        const size_t before = headless::TopLevelActions().size();
        const platform::TopLevelId id = Titled(headless::DesktopWindows(), row.actedOn)->id;
        Play({row.step});
        EXPECT_TRUE(TakeBoxes().empty());
        EXPECT_EQ(AskedSince(before, id), row.asked);
        const std::vector<headless::DesktopWindow> after = headless::DesktopWindows();
        const headless::DesktopWindow* window = Titled(after, row.actedOn);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(Corners(window->rect), Corners(row.rect));
        EXPECT_EQ(platform::TopLevelShowState(id), row.show);
        EXPECT_EQ(window->foreground, row.inFront);
        EXPECT_EQ(Input(), row.input);
        EXPECT_EQ(LastRun().did, row.did);
    }
    ThreeWindows();
    Play({Window("Close", "notes")});
    EXPECT_EQ(Titled(headless::DesktopWindows(), "notes.txt - Notepad"), nullptr);
}

// A maximised window is restored before it moves; a window that keeps a least size has its size
// when the system has given it the one it allows.
TEST_F(WindowStepTest, MoveAndSizeActOnTheNormalPlace) {
    headless::SetDesktopWindows({{.title = "Viewer",
                                  .rect = {10, 10, 410, 310},
                                  .maximised = true,
                                  .leastWidth = 120,
                                  .leastHeight = 40}});
    Play({Window("Move", "Viewer", 200, 100), Window("Size", "Viewer", 10, 10)});
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(Corners(headless::DesktopWindows()[0].rect), Corners({200, 100, 320, 140}));
    EXPECT_EQ(platform::TopLevelShowState(headless::DesktopWindows()[0].id), TopLevelShow::Normal);
    EXPECT_LE(NowMs(), 2 * StepInterval + 10);
}

TEST_F(WindowStepTest, FailuresHoldTheRunWithABoxAndClickNothing) {
    const struct {
        std::vector<headless::DesktopWindow> windows;
        StepRecord step;
        const char* box;
        int64_t afterMs;  // how long the step tried
    } rows[] = {
        {{}, Window("Activate", "Save As"), "Window: Window \"Save As\" not found", 0},
        // A Wait step waits for a window; a Window step does not.
        {{{.title = "Quorvane", .own = true}},
         Window("Activate", "Quorvane"),
         "Window: Window \"Quorvane\" not found",
         0},
        {{{.title = "Hung", .rect = {0, 0, 100, 100}, .ignoresActions = true}},
         Window("Move", "hung", 5, 5),
         "Window: Window \"hung\" did not respond",
         2000},
        {{{.title = "Quorvane", .rect = {0, 0, 300, 200}, .own = true, .topmost = true},
          {.title = "Editor", .rect = {100, 100, 500, 400}}},
         Window("L_Click", "Editor", 50, 50),
         "Window: Window \"Editor\" is covered at 50 50 by \"Quorvane\"",
         2000},
        {{{.title = "Editor", .rect = {100, 100, 500, 400}}},
         Window("R_Click", "Editor", 400, 5),
         "Window: The point 400 5 lies outside window \"Editor\"",
         2000},
        {{{.title = "Editor"}},
         Window("l_click", "Editor"),
         "Window: Unknown window action \"l_click\"",
         0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.box);
        headless::SetDesktopWindows(row.windows);
        headless::ClearInputLog();
        const int64_t start = NowMs();
        auto boxAt = std::make_shared<int64_t>(-1);
        headless::OnBoxShown([boxAt](const headless::ShownBox&) {
            *boxAt = headless::VirtualMicroseconds() / kMs;
            headless::ScheduleAt(headless::VirtualMicroseconds() + 100 * kMs, [] { PlaySteps(0); });
        });
        Play({row.step, steps::State("after the box")});
        EXPECT_EQ(TakeBoxes(), std::vector<std::string>{row.box});
        EXPECT_GE(*boxAt - start, row.afterMs);
        EXPECT_LE(*boxAt - start, row.afterMs + 10);
        EXPECT_EQ(platform::ControlText(TextState), "after the box");
        EXPECT_TRUE(Input().empty());
    }
}

TEST_F(WindowStepTest, StopEndsTheStepAtOnce) {
    headless::SetDesktopWindows({{.title = "Hung", .ignoresActions = true}});
    headless::ScheduleAt(500 * kMs, [] { StopSteps(0); });
    Play({Window("Activate", "Hung"), steps::State("not reached")});
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_LE(NowMs(), 510);
    EXPECT_NE(platform::ControlText(TextState), "not reached");
}

}  // namespace
