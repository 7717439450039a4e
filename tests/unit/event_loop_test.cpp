// Event dispatch: keys, mouse releases, close requests and the notice window.

#include <cstdlib>
#include <string>

#include "Forms/FormEditor.h"
#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "Quorvane/Quorvane.h"
#include "editor/EditorPanel.h"
#include "editor/StepFileCommands.h"
#include "platform/headless/headless.h"
#include "player/Player.h"
#include "steps/RList.h"
#include "tests/unit/support/Fixture.h"

namespace {

using platform::Event;
using platform::EventKind;

class EventLoopTest : public QuorvaneTest {};

constexpr int kF9 = 0x78;

TEST_F(EventLoopTest, F9WritesTheCursorPositionIntoTheHiddenMouseInputs) {
    headless::SetCursor(-12, 345);
    HandleEvent(Event{EventKind::KeyDown, FormMAIN, -1, 0, kF9});
    EXPECT_EQ(headless::Control(StringX).text, "-12");
    EXPECT_EQ(headless::Control(StringY).text, "345");
    EXPECT_TRUE(headless::Control(ContainerMouse).hidden);
}

TEST_F(EventLoopTest, F9FillsTheWaitValueFromTheWindowOrPixelUnderThePointer) {
    headless::SetDesktopWindows({{"Save As; Final", {100, 100, 300, 200}}});
    headless::SetScreenPixel(150, 120, 0x33CC33);
    headless::SetCursor(150, 120);
    SetChooserText(ComboType, "10 Wait");
    const struct {
        const char* kind;
        const char* value;
    } rows[] = {{"Active", "Save As"}, {"Pixel", "150 120 33CC33"}, {"Answer", "kept"}};
    // A title is taken up to its first ";", which a value cannot hold.
    for (const auto& row : rows) {
        SetChooserText(ComboWaitFor, row.kind);
        platform::SetControlText(StringWaitValue, "kept");
        HandleEvent(Event{EventKind::KeyDown, FormMAIN, -1, 0, kF9});
        EXPECT_EQ(headless::Control(StringWaitValue).text, row.value) << row.kind;
    }
    EXPECT_EQ(headless::Control(StringX).text, "150");  // the Mouse inputs as always
}

// The title and the point in the window (clicks) or on the screen (Move); nothing from our own.
TEST_F(EventLoopTest, F9FillsTheWindowTitleAndPointFromTheWindowUnderThePointer) {
    headless::SetDesktopWindows(
        {{.title = "Quorvane", .rect = {0, 0, 100, 100}, .own = true},
         {.title = "Save As; Final", .rect = {100, 0, 300, 200}, .clientLeft = 4}});
    SetChooserText(ComboType, "11 Window");
    const char* const rows[][3] = {{"R_Click", "150", "Save As 46"},
                                   {"Move", "150", "Save As 150"},
                                   {"Size", "150", "Save As kept"},
                                   {"L_Click", "50", "kept kept"}};
    for (const auto& row : rows) {
        SetChooserText(ComboWindowDo, row[0]);
        platform::SetControlText(StringWindowTitle, "kept");
        platform::SetControlText(StringWindowX, "kept");
        headless::SetCursor(std::atoi(row[1]), 130);
        HandleEvent(Event{EventKind::KeyDown, FormMAIN, -1, 0, kF9});
        EXPECT_EQ(
            headless::Control(StringWindowTitle).text + " " + headless::Control(StringWindowX).text,
            row[2]);
    }
}

TEST_F(EventLoopTest, OtherKeysAndMouseReleasesChangeNothing) {
    headless::SetCursor(7, 8);
    HandleEvent(Event{EventKind::KeyDown, FormMAIN, -1, 0, 0x77});
    HandleEvent(Event{EventKind::LeftButtonUp, FormMAIN, -1, 0, 0});
    EXPECT_EQ(headless::Control(StringX).text, "50");
    EXPECT_EQ(headless::Control(StringY).text, "50");
    EXPECT_TRUE(headless::Boxes().empty());
}

TEST_F(EventLoopTest, CloseRequestsOfOtherWindowsAreIgnored) {
    HandleEvent(Event{EventKind::Close, WindowSelectStep, -1, 0, 0});
    HandleEvent(Event{EventKind::Close, WindowNotice, -1, 0, 0});
    EXPECT_TRUE(headless::Window(FormMAIN).open);
}

TEST_F(EventLoopTest, CloseBoxOfTheMainWindowEndsTheProcessWithCodeZero) {
    EXPECT_EXIT(HandleEvent(Event{EventKind::Close, FormMAIN, -1, 0, 0}),
                ::testing::ExitedWithCode(0), "");
}

TEST_F(EventLoopTest, EventsOfUnknownControlsAndMenuItemsAreDropped) {
    HandleEvent(Event{EventKind::Control, FormMAIN, StringX, 0, 0});
    HandleEvent(Event{EventKind::Menu, FormMAIN, 79, 0, 0});
    EXPECT_TRUE(headless::Boxes().empty());
}

// What a user cannot reach does nothing, however the event got into the queue.
TEST_F(EventLoopTest, EventsOfDisabledControlsMenuItemsAndWindowsAreDropped) {
    NewStepFile();
    platform::SetControlEnabled(ButtonNewEnd, false);
    HandleEvent(Event{EventKind::Control, FormMAIN, ButtonNewEnd, 0, 0});
    platform::SetMenuItemEnabled(MenuAbout, false);
    HandleEvent(Event{EventKind::Menu, FormMAIN, MenuAbout, 0, 0});
    platform::SetMenuItemEnabled(MenuAbout, true);
    platform::SetWindowEnabled(FormMAIN, false);
    HandleEvent(Event{EventKind::Menu, FormMAIN, MenuAbout, 0, 0});
    HandleEvent(Event{EventKind::Close, FormMAIN, -1, 0, 0});
    EXPECT_EQ(RList.Count(), 1);
    EXPECT_TRUE(headless::Boxes().empty());
    EXPECT_TRUE(headless::Window(FormMAIN).open);
}

// Regression: a control still showing enabled from a drawing that came late let a click edit the
// list under the player. The click is checked against the run itself.
TEST_F(EventLoopTest, EditingClicksDuringARunAreDroppedWhateverTheControlsShow) {
    NewStepFile();
    PlaySteps(0);
    ASSERT_TRUE(RunActive());
    for (int control : {ButtonNewEnd, ButtonDelete}) {
        platform::SetControlEnabled(control, true);
        HandleEvent(Event{EventKind::Control, FormMAIN, control, 0, 0});
    }
    platform::SetMenuItemEnabled(MenuNew, true);
    HandleEvent(Event{EventKind::Menu, FormMAIN, MenuNew, 0, 0});
    EXPECT_EQ(RList.Count(), 1);
    EXPECT_TRUE(headless::Boxes().empty());
}

TEST_F(EventLoopTest, AboutMenuShowsTheVersionWithTheMainWindowLowered) {
    HandleEvent(Event{EventKind::Menu, FormMAIN, MenuAbout, 0, 0});
    const auto boxes = headless::Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "About");
    EXPECT_EQ(boxes[0].text, std::string(26, ' ') + "Quorvane   V2.2.0");
    EXPECT_FALSE(boxes[0].mainWindowTopmost);
    EXPECT_TRUE(headless::Window(FormMAIN).topmost);
}

TEST_F(EventLoopTest, NoticeShowsItsTextForSixHundredMillisecondsThenCloses) {
    int64_t shownAt = -1;
    std::string shownText;
    headless::ScheduleAt(headless::VirtualMicroseconds() + 300'000, [&] {
        shownAt = headless::VirtualMicroseconds();
        shownText = headless::Control(TextNotice).text;
        EXPECT_TRUE(headless::Window(WindowNotice).open);
        EXPECT_EQ(headless::Window(WindowNotice).shape.clientWidth, 16 * 12);
        EXPECT_EQ(headless::Control(TextNotice).font, FontNotice);
    });
    const int64_t start = headless::VirtualMicroseconds();
    ShowNotice("Unknown: 12!", FormMAIN);
    EXPECT_EQ(shownText, "Unknown: 12!");
    EXPECT_EQ(headless::VirtualMicroseconds() - start, 600'000);
    EXPECT_FALSE(headless::Window(WindowNotice).open);
    EXPECT_EQ(headless::ActiveWindow(), FormMAIN);
}

TEST_F(EventLoopTest, NoticeTooWideForTheScreenIsCut) {
    const std::string junk(5000, 'x');
    size_t shownWidth = 0;
    headless::ScheduleAt(headless::VirtualMicroseconds() + 1, [&] {
        shownWidth = static_cast<size_t>(headless::Window(WindowNotice).shape.clientWidth);
    });
    ShowNotice(junk, FormMAIN);
    EXPECT_GT(shownWidth, 0u);
    EXPECT_LE(shownWidth, static_cast<size_t>(platform::ScreenWidth()));
}

}  // namespace
