// The command line: reading the arguments, opening and playing the file they name, and the exit
// codes of an unattended run.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "Quorvane/CommandLine.h"
#include "Quorvane/Quorvane.h"
#include "platform/headless/headless.h"
#include "player/Player.h"
#include "steps/Document.h"
#include "steps/RunLog.h"
#include "tests/unit/support/Fixture.h"

namespace {

using Arguments = std::vector<std::string>;

// [SECTION] Reading the arguments

struct ReadRow {
    Arguments arguments;
    CommandLine expected;
};

const ReadRow kReadRows[] = {
    {{}, {"", false, false, ""}},
    {{"a.stp"}, {"a.stp", false, false, ""}},
    {{"/play", "a.stp"}, {"a.stp", true, false, ""}},
    {{"a.stp", "-PLAY"}, {"a.stp", true, false, ""}},
    {{"/Exit", "C:\\My lists\\a b.stp", "-play"}, {"C:\\My lists\\a b.stp", true, true, ""}},
    {{"a.stp", "b.stp"}, {"a.stp", false, false, "Second step file: b.stp"}},
    {{"/run", "a.stp", "b.stp"}, {"a.stp", false, false, "Unknown option: /run"}},
    {{"--play", "a.stp"}, {"a.stp", false, false, "Unknown option: --play"}},
    {{"/exit", "a.stp"}, {"a.stp", false, true, "/exit needs /play"}},
    {{"/play", "/exit", ""}, {"", true, true, "/play needs a step file"}},
    {{"/LOG", "-x.log", "/play", "a.stp"}, {"a.stp", true, false, "", "-x.log"}},
    {{"a.stp", "/log"}, {"a.stp", false, false, "/log needs a file"}},
};

TEST(ReadCommandLine, ReadsEachRow) {
    for (const ReadRow& row : kReadRows) {
        const CommandLine read = ReadCommandLine(row.arguments);
        const std::string name = row.arguments.empty() ? "(none)" : row.arguments.front();
        EXPECT_EQ(read.path, row.expected.path) << name;
        EXPECT_EQ(read.play, row.expected.play) << name;
        EXPECT_EQ(read.exitAtEnd, row.expected.exitAtEnd) << name;
        EXPECT_EQ(read.fault, row.expected.fault) << name;
        EXPECT_EQ(read.logPath, row.expected.logPath) << name;
    }
}

// [SECTION] Carrying it out

constexpr char kCurrentFolder[] = "D:\\lists";
constexpr char kListPath[] = "D:\\lists\\a.stp";

const std::string kHeader = "Quorvane 2.2\r\ntester  -  01.01.2026 10:00\r\n\r\n";

class CommandLineTest : public QuorvaneTest {
protected:
    void SetUp() override {
        QuorvaneTest::SetUp();
        headless::SetCurrentFolder(kCurrentFolder);
        headless::PutFile(kListPath, kHeader + "7;one;\r\n7;two;\r\n");
        headless::MakeFolder("D:\\logs");
    }
};

struct FollowRow {
    Arguments arguments;
    std::vector<std::string> boxes;
    std::string loaded;  // StepFilePath afterwards
    bool running;
};

const FollowRow kFollowRows[] = {
    {{}, {}, "", false},
    {{"a.stp"}, {}, kListPath, false},
    {{"D:\\lists\\a.stp"}, {}, kListPath, false},
    {{"/PLAY", "a.stp"}, {}, kListPath, true},
    {{"/play", "missing.stp"}, {"Error: File not open D:\\lists\\missing.stp"}, "", false},
    {{"/play", "refused.stp"},
     {"Input required: No string entered"},
     "D:\\lists\\refused.stp",
     false},
    // A port is refused by its name, never opened (DeviceOpens below): that would toggle its lines.
    {{"/log", "COM5", "COM5"}, {"Error: File not open D:\\lists\\COM5"}, "", false},
    {{"a.stp", "/x"},
     {"Error: Unknown option: /x\nUsage: Quorvane.exe [/log LOGFILE] [PATH | /play PATH | /play "
      "/exit PATH]"},
     "",
     false},
};

TEST_F(CommandLineTest, OpensAndPlaysWhatTheArgumentsName) {
    for (const FollowRow& row : kFollowRows) {
        SetUp();
        headless::PutFile("D:\\lists\\refused.stp", kHeader + "2;String;;\r\n");
        headless::PutDevice("D:\\lists\\COM5", kHeader + "7;a port answering;\r\n");
        headless::SetCommandLineArguments(row.arguments);
        PrepareForCommandLine();
        FollowCommandLine();
        const std::string name = row.arguments.empty() ? "(none)" : row.arguments.front();
        // The run waits for start-up to settle.
        EXPECT_EQ(PlayRunning, 0) << name;
        HandlePendingEvents();
        StartQueuedRun();
        EXPECT_EQ(TakeBoxes(), row.boxes) << name;
        EXPECT_EQ(StepFilePath, row.loaded) << name;
        EXPECT_EQ(platform::ControlText(TextFile), row.loaded.substr(row.loaded.rfind('\\') + 1))
            << name;
        EXPECT_EQ(headless::IsControlVisible(ButtonPlay), !row.loaded.empty()) << name;
        EXPECT_EQ(PlayRunning == 1, row.running) << name;
        EXPECT_EQ(headless::DeviceOpens("D:\\lists\\COM5"), 0) << name;
        EXPECT_FALSE(RunLogOpen()) << name;
        // Only a run that has started keeps the program in the background, until it ends.
        EXPECT_EQ(KeepInBackground(), row.running) << name;
        SetKeepInBackground(false);
    }
}

// [SECTION] Unattended runs: every way they end, and never a box that waits

struct UnattendedRow {
    const char* name;
    std::string file;  // a.stp
    int exitCode;
    int escapeAtMs = 0;  // the user presses Escape then; 0: never
    Arguments arguments = {"/play", "/exit", "a.stp"};
    int64_t freeBytes = -1;  // room left on the disk; -1: no limit
};

const UnattendedRow kUnattendedRows[] = {
    {"played to its end", kHeader + "7;one;\r\n", ExitPlayedToEnd},
    {"loop ends on the last step", kHeader + "7;x;\r\n4;1;2;\r\n", ExitPlayedToEnd},
    {"Escape during a delay", kHeader + "3;5.0;\r\n7;never;\r\n", ExitStopped, 1000},
    {"port not initialised", kHeader + "5;COM1;String;ATZ;\r\n", ExitFailed},
    {"bad telegram", kHeader + "5;COM1;Initialise;9600 N 8 1;\r\n5;COM1;Hex;XY;\r\n", ExitFailed},
    {"wait timed out", kHeader + "10;Window;Save As;1.0;0;\r\n7;never;\r\n", ExitFailed},
    {"wait's else step not in the list", kHeader + "10;Window;Save As;1.0;5;\r\n7;never;\r\n",
     ExitFailed},
    {"wrong file version", "Quorvane 2.1\r\n", ExitNotPlayable},
    {"first step refused", kHeader + "2;String;;\r\n", ExitNotPlayable},
    {"missing file", "", ExitNotPlayable, 0, {"/play", "/exit", "missing.stp"}},
    {"/exit without /play", kHeader + "7;one;\r\n", ExitNotPlayable, 0, {"/exit", "a.stp"}},
    {"program to execute missing", kHeader + "8;C:\\none.exe;\r\n", ExitFailed},
    {"window not found", kHeader + "11;Activate;No Such Window;0;0;\r\n7;never;\r\n", ExitFailed},
    {"picture missing", kHeader + "7;one;\r\n12;L_Click;0 none.png;0;0;\r\n7;never;\r\n",
     ExitFailed},
    {"log cannot be opened",
     kHeader + "7;one;\r\n",
     ExitNotPlayable,
     0,
     {"/play", "/exit", "a.stp", "/log", "D:\\logs"}},
    {"log cannot be written",
     kHeader + "7;one;\r\n",
     ExitNotPlayable,
     0,
     {"/play", "/exit", "a.stp", "/log", "D:\\logs\\full.log"},
     0},
};

// Any box shown ends the child process with this code instead.
constexpr int kBoxShown = 99;
// The run was not started, or ended without ending the process.
constexpr int kNoExit = 98;

TEST_F(CommandLineTest, UnattendedRunsEndTheProcessWithTheirExitCode) {
    for (const UnattendedRow& row : kUnattendedRows) {
        SetUp();
        headless::PutFile(kListPath, row.file);
        headless::SetFreeBytes(row.freeBytes);
        headless::SetCommandLineArguments(row.arguments);
        headless::OnBoxShown([](const headless::ShownBox&) { std::_Exit(kBoxShown); });
        if (row.escapeAtMs > 0) {
            headless::ScheduleAt(row.escapeAtMs * int64_t{1000}, headless::UserPressesEscape);
        }
        EXPECT_EXIT(
            {
                FollowCommandLine();
                HandlePendingEvents();
                StartQueuedRun();
                if (PlayRunning == 1) {
                    PlayRun();
                    HandlePendingEvents();
                }
                std::_Exit(kNoExit);
            },
            ::testing::ExitedWithCode(row.exitCode), "")
            << row.name;
    }
}

// Started to play, the program leaves the window in front alone: its own window is shown without
// being activated, and the run begins only once start-up has settled.
TEST_F(CommandLineTest, PlayStartsInTheBackgroundOnceStartUpHasSettled) {
    headless::Reset();
    headless::SetCurrentFolder(kCurrentFolder);
    headless::PutFile(kListPath, kHeader + "2;String;typed;\r\n");
    headless::SetCommandLineArguments({"/play", "/exit", "a.stp"});
    PrepareForCommandLine();
    StartUp();
    FollowCommandLine();
    EXPECT_FALSE(headless::Window(FormMAIN).shape.activate);
    EXPECT_NE(headless::ActiveWindow(), FormMAIN);
    EXPECT_EQ(PlayRunning, 0);
    headless::PushEvent(platform::Event{platform::EventKind::Menu, FormMAIN, MenuAbout, 0, 0});
    HandlePendingEvents();
    StartQueuedRun();
    EXPECT_EQ(PlayRunning, 1);
    EXPECT_NE(headless::ActiveWindow(), FormMAIN);
    SetKeepInBackground(false);
}

TEST_F(CommandLineTest, UnattendedCloseBoxEndsWithStopped) {
    headless::SetCommandLineArguments({"/play", "/exit", "a.stp"});
    FollowCommandLine();
    EXPECT_EXIT(HandleEvent(platform::Event{platform::EventKind::Close, FormMAIN, -1, 0, 0}),
                ::testing::ExitedWithCode(ExitStopped), "");
}

// [SECTION] The run log

TEST(RunLogLine, FiveFieldsOnOneLine) {
    const platform::LocalTime time{2026, 12, 8, 22, 10, 5, 123};
    EXPECT_EQ(RunLogLine(time, 4, "MOUSE", "L_Click 348 362", "ok"),
              "2026-12-08 22:10:05.123\t4\tMOUSE\tL_Click 348 362\tok\r\n");
    EXPECT_EQ(RunLogLine(time, 0, "RUN", "state a\tb\r\nc", ""),
              "2026-12-08 22:10:05.123\t\tRUN\tstate a b  c\t\r\n");
}

TEST_F(CommandLineTest, EveryRunAppendsItsStepsAndHowItEndedToTheLog) {
    const std::string logPath = "D:\\logs\\night.log";
    headless::PutFile(logPath, "earlier\r\n");
    headless::PutFile(kListPath, kHeader +
                                     "1;L_Click;348;362;\r\n2;String;Hello{ENTER};\r\n3;0.5;\r\n"
                                     "7;Ready;\r\n5;COM5;String;ATZ;\r\n");
    headless::SetCommandLineArguments({"/play", "/log", logPath, "a.stp"});
    headless::ScheduleAt(5000 * kMs, [] { StopSteps(0); });
    FollowCommandLine();
    StartQueuedRun();
    PlayRun();
    HandlePendingEvents();
    std::string log;
    ASSERT_TRUE(headless::GetFile(logPath, log));
    const std::string at = "2026-12-08 09:30:00.000\t";
    EXPECT_EQ(log, "earlier\r\n" + at + "\tRUN\tstarted D:\\lists\\a.stp\tQuorvane " +
                       ProgramVersion + "\r\n" + at + "1\tMOUSE\tL_Click 348 362\tok\r\n" + at +
                       "2\tKEYBOARD\ttyped 12 characters\tok\r\n" + at +
                       "3\tDELAY\tDelay 0.5 s\tok\r\n" + at + "4\tSTATE\tstate Ready\tok\r\n" + at +
                       "5\tCOMPORT\tString telegram to COM5\t" +
                       "failed: Port is not initialised!\r\n" + at + "\tRUN\tended\tstopped\r\n");
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"COM port: Port is not initialised!"});
}

// A loop that finishes on the last step is a list played to its end. A log the disk or the
// system stops taking holds whole lines only, and the person is told once the run has ended.
TEST_F(CommandLineTest, TheRunLogSaysHowTheRunWentInWholeLines) {
    const std::string logPath = "D:\\logs\\night.log";
    const platform::LocalTime at{2026, 12, 8, 9, 30};
    const std::string started =
        RunLogLine(at, 0, "RUN", "started " + std::string(kListPath), "Quorvane " + ProgramVersion);
    const std::string state = RunLogLine(at, 1, "STATE", "state x", "ok");
    const std::string cannotWrite = "Can't write the run log " + logPath;
    const struct {
        const char* name;
        std::function<void()> happens;
        std::string logEnd;
        std::string notice;
    } rows[] = {
        {"nothing goes wrong", [] {},
         RunLogLine(at, 2, "LOOP", "loop done after 2 rounds", "ok") +
             RunLogLine(at, 0, "RUN", "ended", "played to the end"),
         ""},
        // Then room for a STATE line, not for a LOOP line.
        {"the disk fills up",
         [&] { headless::SetFreeBytes(static_cast<int64_t>(started.size() + state.size()) + 50); },
         started + state + state, cannotWrite},
        {"the log is made unwritable",
         [&] { headless::ScheduleAt(100 * kMs, [&] { headless::SetReadOnly(logPath, true); }); },
         started, cannotWrite},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        headless::PutFile(kListPath, kHeader + "7;x;\r\n4;1;2;\r\n");
        headless::SetCommandLineArguments({"/log", logPath, "/play", "a.stp"});
        row.happens();
        FollowCommandLine();
        StartQueuedRun();
        PlayRun();
        const auto notice = TextAt(TextNotice, NowMs() + 300);
        HandlePendingEvents();
        std::string log;
        headless::GetFile(logPath, log);
        EXPECT_TRUE(log.ends_with(row.logEnd)) << log;
        EXPECT_EQ(*notice, row.notice);
    }
}

}  // namespace
