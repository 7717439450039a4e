// The trickier promises of the headless platform that every other test leans on.

#include "platform/headless/headless.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/ScreenSpace.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/serial.h"
#include "platform/system.h"
#include "platform/window.h"

namespace {

constexpr int kMainWindow = 53;

class Headless : public ::testing::Test {
protected:
    void SetUp() override { headless::Reset(); }
};

void OpenMainWindowWith(const std::vector<std::pair<int, platform::ControlSpec>>& controls) {
    platform::WindowSpec window;
    window.clientWidth = 252;
    window.clientHeight = 344;
    window.title = "Quorvane";
    ASSERT_TRUE(platform::OpenWindow(kMainWindow, window));
    for (const auto& [number, shape] : controls) {
        ASSERT_TRUE(platform::CreateControl(number, shape)) << number;
    }
}

platform::ControlSpec NewControl(platform::ControlKind kind, int parent) {
    platform::ControlSpec shape;
    shape.kind = kind;
    shape.parent = parent;
    return shape;
}

// [SECTION] Virtual clock

TEST_F(Headless, SleepRunsScheduledActionsInTimeOrderAtTheirOwnTime) {
    std::vector<std::pair<std::string, int64_t>> ran;
    auto note = [&](std::string name) {
        return [&ran, name] { ran.emplace_back(name, headless::VirtualMicroseconds()); };
    };
    headless::ScheduleAt(2500, note("late"));
    headless::ScheduleAt(700, note("first"));
    headless::ScheduleAt(700, note("same time, scheduled later"));
    headless::ScheduleAt(5000, note("beyond the sleep"));

    platform::SleepMs(3);

    const std::vector<std::pair<std::string, int64_t>> expected = {
        {"first", 700}, {"same time, scheduled later", 700}, {"late", 2500}};
    EXPECT_EQ(ran, expected);
    EXPECT_EQ(platform::MonotonicMicroseconds(), 3000);
    headless::AdvanceClock(2000);
    ASSERT_EQ(ran.size(), 4u);
    EXPECT_EQ(ran.back(), std::make_pair(std::string("beyond the sleep"), int64_t{5000}));
}

TEST_F(Headless, ActionMayScheduleAnotherInsideTheSameSleep) {
    std::vector<int64_t> ran;
    headless::ScheduleAt(1000, [&] {
        ran.push_back(headless::VirtualMicroseconds());
        headless::ScheduleAt(1500, [&] { ran.push_back(headless::VirtualMicroseconds()); });
    });
    platform::SleepMs(2);
    EXPECT_EQ(ran, (std::vector<int64_t>{1000, 1500}));
}

TEST_F(Headless, NegativeSleepAndAdvanceLeaveTheClock) {
    platform::SleepMs(-5);
    headless::AdvanceClock(-100);
    EXPECT_EQ(headless::VirtualMicroseconds(), 0);
}

// [SECTION] Boxes and scripted answers

TEST_F(Headless, BoxIsRecordedBeforeTheActionRunsAndAnswersComeInOrder) {
    OpenMainWindowWith({});
    platform::SetWindowTopmost(kMainWindow, true);
    std::vector<size_t> boxesSeenByAction;
    headless::OnBoxShown([&](const headless::ShownBox&) {
        boxesSeenByAction.push_back(headless::Boxes().size());
        platform::SetWindowTopmost(kMainWindow, false);
    });
    headless::ScriptYesNo(true);
    headless::ScriptFileDialog("C:\\steps\\a.stp");

    EXPECT_TRUE(platform::MessageBoxYesNo(kMainWindow, "Confirm", "Exit program?"));
    EXPECT_FALSE(platform::MessageBoxYesNo(kMainWindow, "Confirm", "Unscripted"));
    EXPECT_EQ(platform::OpenFileDialog("Open", {"STEP file (*.stp)", "*.stp"}), "C:\\steps\\a.stp");
    EXPECT_EQ(platform::SaveFileDialog("Save", {"STEP file (*.stp)", "*.stp"}), "");

    EXPECT_EQ(boxesSeenByAction, (std::vector<size_t>{1, 2, 3, 4}));
    const auto boxes = headless::Boxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].kind, headless::BoxKind::YesNo);
    EXPECT_EQ(boxes[0].title, "Confirm");
    EXPECT_EQ(boxes[0].text, "Exit program?");
    EXPECT_TRUE(boxes[0].answer);
    EXPECT_TRUE(boxes[0].mainWindowTopmost);
    EXPECT_FALSE(boxes[1].mainWindowTopmost);
    EXPECT_EQ(boxes[2].kind, headless::BoxKind::OpenFile);
    EXPECT_EQ(boxes[2].text, "STEP file (*.stp)|*.stp");
    EXPECT_EQ(boxes[2].path, "C:\\steps\\a.stp");
    EXPECT_EQ(boxes[3].kind, headless::BoxKind::SaveFile);
    EXPECT_EQ(boxes[3].thread, std::this_thread::get_id());
}

// The player thread sleeps and shows boxes while the main thread sleeps too (run under TSan).
TEST_F(Headless, TwoThreadsShareTheClockAndTheBoxes) {
    std::atomic<int> actionsRun = 0;
    headless::OnBoxShown([&](const headless::ShownBox&) { ++actionsRun; });
    for (int at = 1; at <= 20; ++at) {
        headless::ScheduleAt(at * 1000, [&] { ++actionsRun; });
    }
    std::thread player([] {
        for (int i = 0; i < 10; ++i) {
            platform::SleepMs(1);
            platform::MessageBoxOk(-1, "COM port", "Can't open port!");
        }
    });
    for (int i = 0; i < 10; ++i) {
        platform::SleepMs(1);
    }
    player.join();

    EXPECT_EQ(headless::VirtualMicroseconds(), 20000);
    EXPECT_EQ(actionsRun, 30);
    const auto boxes = headless::Boxes();
    ASSERT_EQ(boxes.size(), 10u);
    EXPECT_EQ(boxes[0].owner, -1);
    EXPECT_NE(boxes[0].thread, std::this_thread::get_id());
}

std::vector<int> gHandled;  // sources of the events the handler got

TEST_F(Headless, EventsPushedFromAnotherThreadReachTheHandlerInOrder) {
    gHandled.clear();
    platform::SetEventHandler(
        [](const platform::Event& event) { gHandled.push_back(event.source); });
    std::thread pusher([] {
        for (int source = 1; source <= 3; ++source) {
            headless::PushEvent({.kind = platform::EventKind::Menu, .source = source});
        }
    });
    pusher.join();
    platform::HandlePendingEvents();
    EXPECT_EQ(gHandled, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(headless::PendingEvents(), 0);
}

// [SECTION] Controls

TEST_F(Headless, UserTypingIntoDigitsInputKeepsOnlyDigits) {
    OpenMainWindowWith({{4, NewControl(platform::ControlKind::DigitsInput, kMainWindow)},
                        {70, NewControl(platform::ControlKind::Input, kMainWindow)}});
    headless::UserTypes(4, "-12a 3.4");
    headless::UserTypes(70, "-12a 3.4");
    EXPECT_EQ(platform::ControlText(4), "1234");
    EXPECT_EQ(platform::ControlText(70), "-12a 3.4");
    platform::SetControlText(4, "-7");  // the program itself is not filtered
    EXPECT_EQ(platform::ControlText(4), "-7");
}

TEST_F(Headless, ListsFindTheFirstEntryIgnoringCaseAndShowTheSelection) {
    OpenMainWindowWith({{69, NewControl(platform::ControlKind::DropDownList, kMainWindow)}});
    platform::SetItems(69, {"Mouse", "Keyboard", "KEYBOARD", "COM1"});
    platform::AddItem(69, "Delay");
    EXPECT_EQ(platform::FindItemIgnoringCase(69, "keyboard"), 1);
    EXPECT_EQ(platform::FindItemIgnoringCase(69, "com1"), 3);
    EXPECT_EQ(platform::FindItemIgnoringCase(69, "DELAY"), 4);
    EXPECT_EQ(platform::FindItemIgnoringCase(69, "Key"), -1);
    EXPECT_EQ(platform::ControlText(69), "");
    platform::SelectItem(69, 2);
    EXPECT_EQ(platform::ControlText(69), "KEYBOARD");
    platform::SelectItem(69, 5);
    EXPECT_EQ(platform::SelectedItem(69), -1);
    headless::UserSelects(69, 0);
    EXPECT_EQ(platform::ControlText(69), "Mouse");
    platform::ClearItems(69);
    EXPECT_EQ(platform::FindItemIgnoringCase(69, "mouse"), -1);
    EXPECT_EQ(platform::ControlText(69), "");
}

TEST_F(Headless, ClosingAWindowDestroysEveryControlInsideIt) {
    OpenMainWindowWith({{68, NewControl(platform::ControlKind::Container, kMainWindow)},
                        {69, NewControl(platform::ControlKind::DropDownList, 68)},
                        {2, NewControl(platform::ControlKind::Container, 68)},
                        {4, NewControl(platform::ControlKind::DigitsInput, 2)}});
    platform::SetControlHidden(68, true);
    EXPECT_FALSE(headless::IsControlVisible(4));
    platform::SetControlHidden(68, false);
    EXPECT_TRUE(headless::IsControlVisible(4));
    platform::FocusControl(4);

    platform::CloseWindow(kMainWindow);

    for (int control : {68, 69, 2, 4}) {
        EXPECT_FALSE(platform::ControlExists(control)) << control;
    }
    EXPECT_EQ(platform::FocusedControl(), -1);
    EXPECT_EQ(platform::ControlText(4), "");
    EXPECT_EQ(platform::SelectedItem(69), -1);
    EXPECT_FALSE(platform::CreateControl(5, NewControl(platform::ControlKind::Input, kMainWindow)));
}

TEST_F(Headless, TextAreaLines) {
    OpenMainWindowWith({{104, NewControl(platform::ControlKind::RichEdit, kMainWindow)}});
    EXPECT_EQ(platform::TextLines(104), (std::vector<std::string>{""}));
    platform::SetTextLines(104, {"Quorvane 2.2", "tester", "info"});
    platform::SetTextLine(104, 1, "tester  -  08.12.2026 09:30");
    platform::SetTextLine(104, 7, "CODE");
    EXPECT_EQ(platform::ControlText(104),
              "Quorvane 2.2\r\ntester  -  08.12.2026 09:30\r\ninfo\r\nCODE");
    headless::UserMovesCaret(104, 2);
    EXPECT_EQ(platform::SelectionStartLine(104), 2);
    headless::UserMovesCaret(104, 99);
    EXPECT_EQ(platform::SelectionStartLine(104), 3);
}

// [SECTION] Keyboard layouts

struct KeyScanRow {
    headless::KeyboardLayout layout;
    char character;
    int16_t code;
};

TEST_F(Headless, KeyScanFollowsTheLayout) {
    using enum headless::KeyboardLayout;
    const KeyScanRow rows[] = {
        {US, 'a', 0x41},        {US, 'A', 0x141},       {US, 'z', 0x5A},      {US, '0', 0x30},
        {US, ')', 0x130},       {US, '(', 0x139},       {US, '!', 0x131},     {US, '@', 0x132},
        {US, ' ', 0x20},        {US, '\n', 0x20D},      {US, '{', 0x1DB},     {US, '"', 0x1DE},
        {US, '\xE4', -1},       {US, '\x01', -1},       {German, 'z', 0x5A},  {German, 'Y', 0x159},
        {German, '@', 0x651},   {German, '=', 0x130},   {German, ')', 0x139}, {German, '\\', 0x6DB},
        {German, '\xE4', 0xDE}, {German, '\xDF', 0xDB}, {German, '#', 0xBF},  {German, '|', 0x6E2},
    };
    for (const KeyScanRow& row : rows) {
        headless::SetKeyboardLayout(row.layout);
        EXPECT_EQ(platform::KeyScan(row.character, platform::ForegroundKeyboardLayout()), row.code)
            << (row.layout == US ? "US " : "German ") << static_cast<int>(row.character);
    }
}

// A 100 % primary monitor, a 150 % one left of it and a 125 % one above it: a physical point on
// any of them becomes the logical point where a click of a DPI-unaware program lands on the same
// spot, and each row's logical point goes back to its physical one (the pixel holding its
// centre).
const std::vector<platform::MonitorSpace> kMonitors = {
    {{0, 0, 1920, 1080}, {0, 0, 1920, 1080}},
    {{-2880, 0, 0, 1620}, {-1920, 0, 0, 1080}},
    {{0, -1350, 2400, 0}, {0, -1080, 1920, 0}},
};

TEST(ScreenSpace, PointsGoAcrossOnTheirOwnMonitor) {
    const struct {
        int physicalX, physicalY, logicalX, logicalY;
    } rows[] = {
        {0, 0, 0, 0},         {1919, 1079, 1919, 1079},
        {-2880, 0, -1920, 0}, {-1440, 810, -960, 540},
        {-1, 1619, -1, 1079}, {-2878, 2, -1919, 1},
        {0, -1350, 0, -1080}, {1200, -675, 960, -540},
        {2399, -1, 1919, -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.physicalX) + "," + std::to_string(row.physicalY));
        int x = row.physicalX, y = row.physicalY;
        platform::ToLogicalPoint(kMonitors, x, y);
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(row.logicalX, row.logicalY));
        x = row.logicalX, y = row.logicalY;
        ASSERT_TRUE(platform::ToPhysicalPoint(kMonitors, x, y));
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(row.physicalX, row.physicalY));
    }
    // At 150 % several physical pixels share a logical one; a point off every monitor goes to
    // the nearest monitor's edge.
    const struct {
        int physicalX, physicalY, logicalX, logicalY;
    } onlyToLogical[] = {{-2, 1618, -1, 1079}, {-2879, 1, -1919, 1}, {2000, 500, 1919, 500}};
    for (const auto& row : onlyToLogical) {
        int x = row.physicalX, y = row.physicalY;
        platform::ToLogicalPoint(kMonitors, x, y);
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(row.logicalX, row.logicalY));
    }
    int x = 1920, y = 500;
    EXPECT_FALSE(platform::ToPhysicalPoint(kMonitors, x, y));
}

TEST_F(Headless, SynthesisedInputIsLoggedAndNeverCountsAsTheUsersEscape) {
    platform::SetCursorPosition(100, 200);
    platform::SendKeyEvent(0x1B, 0x01, false, false);
    platform::SendKeyEvent(0x25, 0x4B, true, true);
    platform::SendUnicodeCharacter(0x20AC);
    EXPECT_FALSE(platform::UserEscapePressed());
    const std::vector<headless::InputEvent> expected = {
        {.kind = headless::InputKind::CursorMove, .x = 100, .y = 200},
        {.kind = headless::InputKind::Key, .key = 0x1B, .up = false, .scanCode = 0x01},
        {.kind = headless::InputKind::Key,
         .key = 0x25,
         .up = true,
         .scanCode = 0x4B,
         .extended = true},
        {.kind = headless::InputKind::Unicode, .up = false, .codePoint = 0x20AC},
        {.kind = headless::InputKind::Unicode, .up = true, .codePoint = 0x20AC},
    };
    EXPECT_EQ(headless::InputLog(), expected);
    headless::UserPressesEscape();
    EXPECT_TRUE(platform::UserEscapePressed());
    platform::ResetUserEscape();
    EXPECT_FALSE(platform::UserEscapePressed());
    EXPECT_EQ(platform::AnsiToCodePoint('\x80'), 0x20AC);
    EXPECT_EQ(platform::AnsiToCodePoint('\xE4'), 0xE4);
}

// [SECTION] Files

TEST_F(Headless, AWriteLandsWholeOrNotAtAll) {
    headless::SetFreeBytes(5);
    platform::OutputFile file;
    ASSERT_TRUE(file.CreateNew("C:\\a.tmp"));
    EXPECT_TRUE(file.Write("abc"));
    EXPECT_FALSE(file.Write("defg"));  // the disk is full
    EXPECT_TRUE(file.Write("de"));
    EXPECT_TRUE(file.Close());
    std::string bytes;
    ASSERT_TRUE(headless::GetFile("C:\\a.tmp", bytes));
    EXPECT_EQ(bytes, "abcde");
}

TEST_F(Headless, ReplaceAndCreateRespectReadOnlyFilesAndFolders) {
    headless::PutFile("C:\\s.stp", "old");
    headless::PutFile("C:\\new.tmp", "new");
    headless::MakeFolder("C:\\locked");
    headless::SetReadOnly("C:\\locked", true);
    headless::MakeFolder("C:\\dir");
    platform::OutputFile file;

    EXPECT_FALSE(file.CreateNew("C:\\s.stp"));
    EXPECT_FALSE(file.CreateNew("C:\\locked\\x.stp"));
    EXPECT_FALSE(platform::ReplaceFile("C:\\missing", "C:\\s.stp"));
    EXPECT_FALSE(platform::ReplaceFile("C:\\new.tmp", "C:\\dir"));
    headless::SetReadOnly("C:\\s.stp", true);
    EXPECT_FALSE(platform::ReplaceFile("C:\\new.tmp", "C:\\s.stp"));
    std::string bytes;
    EXPECT_FALSE(platform::ReadFileForEditing("C:\\s.stp", bytes));
    EXPECT_FALSE(platform::ReadFileForEditing("C:\\locked\\y.stp", bytes));
    headless::SetReadOnly("C:\\s.stp", false);
    EXPECT_TRUE(platform::ReplaceFile("C:\\new.tmp", "C:\\s.stp"));

    EXPECT_EQ(headless::FilePaths(), (std::vector<std::string>{"C:\\s.stp"}));
    ASSERT_TRUE(platform::ReadWholeFile("C:\\s.stp", bytes));
    EXPECT_EQ(bytes, "new");
    EXPECT_TRUE(platform::FileExists("C:\\dir"));
    EXPECT_FALSE(platform::FileExists(""));
    EXPECT_FALSE(platform::ReadWholeFile("C:\\dir", bytes));
    EXPECT_TRUE(platform::ReadFileForEditing("C:\\fresh.stp", bytes));
    EXPECT_TRUE(platform::FileExists("C:\\fresh.stp"));
}

TEST_F(Headless, OnlyOrdinaryFilesAreReadAndAppendedTo) {
    headless::PutFile("C:\\a.log", "one\r\n");
    headless::PutDevice("C:\\com5.stp", "bytes a port would send");
    headless::MakeFolder("C:\\dir");
    std::string bytes;
    for (const char* refused : {"C:\\com5.stp", "C:\\dir", "C:\\missing"}) {
        EXPECT_FALSE(platform::ReadWholeFile(refused, bytes)) << refused;
        platform::OutputFile appended;
        EXPECT_EQ(appended.OpenForAppend(refused), refused == std::string("C:\\missing"))
            << refused;
    }
    EXPECT_FALSE(platform::ReadFileForEditing("C:\\com5.stp", bytes));
    EXPECT_TRUE(platform::FileExists("C:\\com5.stp"));

    platform::OutputFile log;
    ASSERT_TRUE(log.OpenForAppend("C:\\a.log"));
    EXPECT_TRUE(log.Write("two\r\n"));
    ASSERT_TRUE(platform::ReadWholeFile("C:\\a.log", bytes));
    EXPECT_EQ(bytes, "one\r\ntwo\r\n");
}

// [SECTION] Serial devices

TEST_F(Headless, SerialPortOpensOnlyAnExistingFreeDeviceOnce) {
    headless::AddSerialDevice("COM1");
    platform::SerialPort port;
    EXPECT_FALSE(port.Open("com1"));
    ASSERT_TRUE(port.Open("COM1"));
    platform::SerialPort second;
    EXPECT_FALSE(second.Open("COM1"));
    platform::PortSettings settings;
    ASSERT_TRUE(port.ReadSettings(settings));
    EXPECT_EQ(settings.baudRate, 1200u);
    EXPECT_TRUE(settings.ctsFlow);
    settings.baudRate = 9600;
    EXPECT_TRUE(port.WriteSettings(settings));
    EXPECT_TRUE(port.Write("ATZ"));
    port.Close();
    EXPECT_FALSE(port.Write("lost"));

    const headless::SerialDevice device = headless::GetSerialDevice("COM1");
    EXPECT_EQ(device.written, "ATZ");
    EXPECT_EQ(device.settings.baudRate, 9600u);
    EXPECT_EQ(device.opens, 1);
    EXPECT_FALSE(device.open);

    headless::SerialDevice refusing = device;
    refusing.refuseSettings = true;
    headless::SetSerialDevice("COM1", refusing);
    ASSERT_TRUE(second.Open("COM1"));
    EXPECT_FALSE(second.WriteSettings(settings));
}

// A port an earlier test left open must not write into a later test's device.
TEST_F(Headless, PortLeftOpenAcrossResetReachesNothing) {
    headless::AddSerialDevice("COM1");
    platform::SerialPort stale;
    ASSERT_TRUE(stale.Open("COM1"));
    headless::Reset();
    headless::AddSerialDevice("COM1");
    platform::SerialPort fresh;
    ASSERT_TRUE(fresh.Open("COM1"));
    EXPECT_FALSE(stale.Write("old"));
    stale.Close();
    EXPECT_TRUE(fresh.Write("new"));
    EXPECT_EQ(headless::GetSerialDevice("COM1").written, "new");
    EXPECT_TRUE(headless::GetSerialDevice("COM1").open);
}

// [SECTION] The desktop

using platform::TopLevelId;
using platform::TopLevelShow;

// The first desktop window, topmost first, that `picks` (an empty one when none does).
template <class Picks>
headless::DesktopWindow WindowWhere(Picks picks) {
    for (const headless::DesktopWindow& window : headless::DesktopWindows()) {
        if (picks(window)) {
            return window;
        }
    }
    return {};
}

TopLevelId IdOf(const std::string& title) {
    return WindowWhere([&](const headless::DesktopWindow& w) { return w.title == title; }).id;
}

std::string TitleInFront() {
    return WindowWhere([](const headless::DesktopWindow& w) { return w.foreground; }).title;
}

using WindowAction = void (*)(TopLevelId, int, int);
const WindowAction kFront = [](TopLevelId w, int, int) { platform::BringTopLevelToFront(w); };
const WindowAction kMove = [](TopLevelId w, int x, int y) { platform::MoveTopLevel(w, x, y); };
const WindowAction kSize = [](TopLevelId w, int x, int y) { platform::SizeTopLevel(w, x, y); };
const WindowAction kMinimise = [](TopLevelId w, int, int) { platform::MinimiseTopLevel(w); };
const WindowAction kMaximise = [](TopLevelId w, int, int) { platform::MaximiseTopLevel(w); };
const WindowAction kRestore = [](TopLevelId w, int, int) { platform::RestoreTopLevel(w); };
const WindowAction kClose = [](TopLevelId w, int, int) { platform::AskTopLevelToClose(w); };

// One window taken through every action in turn, as a Window step's actions would take it; each
// row is the state after the action.
TEST_F(Headless, TopLevelActionsChangeTheDesktopAsWindowsDoes) {
    headless::SetDesktopWindows({
        {.title = "Editor", .rect = {100, 100, 500, 400}, .foreground = true},
        {.title = "Viewer",
         .rect = {200, 150, 600, 450},
         .clientLeft = 8,
         .clientTop = 31,
         .minimised = true},
        {.title = "Hung", .rect = {700, 100, 900, 300}, .ignoresActions = true},
    });
    const TopLevelId viewer = IdOf("Viewer");
    const platform::Rect parked{-32000, -32000, -31840, -31972};
    const struct {
        WindowAction act;
        const char* window;
        int x, y;
        platform::Rect rect;  // of the window acted on
        TopLevelShow show;
        const char* inFront;
    } rows[] = {
        {kFront, "Viewer", 0, 0, {200, 150, 600, 450}, TopLevelShow::Normal, "Viewer"},
        {kMove, "Viewer", 40, 60, {40, 60, 440, 360}, TopLevelShow::Normal, "Viewer"},
        {kSize, "Viewer", 300, 200, {40, 60, 340, 260}, TopLevelShow::Normal, "Viewer"},
        {kMaximise, "Viewer", 0, 0, {0, 0, 1920, 1080}, TopLevelShow::Maximised, "Viewer"},
        {kMinimise, "Viewer", 0, 0, parked, TopLevelShow::Minimised, "Editor"},
        {kMove, "Viewer", 10, 10, parked, TopLevelShow::Minimised, "Editor"},
        {kRestore, "Viewer", 0, 0, {0, 0, 1920, 1080}, TopLevelShow::Maximised, "Viewer"},
        {kRestore, "Viewer", 0, 0, {40, 60, 340, 260}, TopLevelShow::Normal, "Viewer"},
        {kFront, "Hung", 0, 0, {700, 100, 900, 300}, TopLevelShow::Normal, "Viewer"},
        {kClose, "Hung", 0, 0, {700, 100, 900, 300}, TopLevelShow::Normal, "Viewer"},
    };
    int number = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(++number);
        const TopLevelId window = IdOf(row.window);
        row.act(window, row.x, row.y);
        platform::Rect rect;
        ASSERT_TRUE(platform::TopLevelRect(window, rect));
        EXPECT_EQ(std::vector<int>({rect.left, rect.top, rect.right, rect.bottom}),
                  std::vector<int>({row.rect.left, row.rect.top, row.rect.right, row.rect.bottom}));
        EXPECT_EQ(platform::TopLevelShowState(window), row.show);
        EXPECT_EQ(TitleInFront(), row.inFront);
        EXPECT_EQ(platform::IsTopLevelInFront(window), TitleInFront() == row.window);
    }
    int x = 0, y = 0;
    ASSERT_TRUE(platform::TopLevelClientOrigin(viewer, x, y));
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(48, 91));
    EXPECT_EQ(platform::OtherTopLevels().front().title, "Viewer");

    platform::AskTopLevelToClose(viewer);
    EXPECT_FALSE(platform::TopLevelExists(viewer));
    EXPECT_EQ(TitleInFront(), "Editor");
    EXPECT_EQ(headless::TopLevelActions().size(), std::size(rows) + 1);
    EXPECT_EQ(headless::TopLevelActions()[1],
              (headless::TopLevelAction{headless::TopLevelActionKind::Move, viewer, 40, 60}));
}

// F9 and the recorder find the window under a point as it stands at that moment; the program's
// own windows are found there but never listed among the others.
TEST_F(Headless, WindowUnderAPointAndTheClickRecordedOnIt) {
    headless::SetDesktopWindows({
        {.title = "Quorvane", .rect = {0, 0, 300, 200}, .own = true},
        {.title = "Editor", .rect = {100, 100, 500, 400}, .clientLeft = 4, .clientTop = 24},
        {.title = "Minimised", .rect = {100, 100, 500, 400}, .minimised = true},
        {.title = "", .rect = {600, 0, 700, 100}},
    });
    std::vector<std::string> listed;
    for (const platform::TopLevelWindow& window : platform::OtherTopLevels()) {
        listed.push_back(window.title);
    }
    EXPECT_EQ(listed, std::vector<std::string>({"Editor", "Minimised"}));
    EXPECT_EQ(platform::OtherWindowTitles(), listed);

    platform::TopLevelAtPoint at;
    ASSERT_TRUE(platform::TopLevelAt(150, 150, at));
    EXPECT_TRUE(at.own);
    ASSERT_TRUE(platform::TopLevelAt(450, 150, at));
    EXPECT_EQ(at.title, "Editor");
    EXPECT_EQ(std::make_pair(at.clientX, at.clientY), std::make_pair(346, 26));
    EXPECT_FALSE(platform::TopLevelAt(550, 150, at));

    ASSERT_TRUE(platform::StartInputRecorder());
    platform::UserInput click;
    click.kind = platform::UserInputKind::ButtonDown;
    click.x = 450;
    click.y = 150;
    headless::UserInputs({click});
    platform::MoveTopLevel(at.id, 0, 500);
    const std::vector<platform::UserInput> taken = platform::TakeUserInput();
    platform::StopInputRecorder();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].windowTitle, "Editor");
    EXPECT_EQ(std::make_pair(taken[0].windowX, taken[0].windowY), std::make_pair(346, 26));
    EXPECT_FALSE(taken[0].onOwnWindow);
}

TEST(HeadlessExit, ExitProcessNowEndsWithTheCode) {
    EXPECT_EXIT(platform::ExitProcessNow(3), ::testing::ExitedWithCode(3), "");
}

}  // namespace
