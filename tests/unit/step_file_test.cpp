// Reading step files: lines and fields, the CODE-line table, and File > "New" / "Open".

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "editor/EditorPanel.h"
#include "editor/StepFileCommands.h"
#include "platform/headless/headless.h"
#include "steps/Document.h"
#include "steps/RList.h"
#include "steps/StepFile.h"
#include "tests/unit/support/Fixture.h"

namespace {

const std::string kHeader = "Quorvane 2.2\r\nanna  -  01.02.2026 10:00\r\ninfo line\r\n";

std::vector<std::string> Texts(const std::vector<std::string_view>& views) {
    return {views.begin(), views.end()};
}

// [SECTION] Lines and fields

TEST(StepFileLines, EveryKindOfLineEnd) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(Texts(SplitLines("")), Lines{});
    EXPECT_EQ(Texts(SplitLines("a")), Lines{"a"});
    EXPECT_EQ(Texts(SplitLines("a\r\n")), Lines{"a"});
    EXPECT_EQ(Texts(SplitLines("a\r\nb\nc\rd")), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(Texts(SplitLines("a\n\r\nb")), (Lines{"a", "", "b"}));
    EXPECT_EQ(Texts(SplitLines("a\n\rb")), (Lines{"a", "", "b"}));
    EXPECT_EQ(Texts(SplitLines("\r\r")), (Lines{"", ""}));
    EXPECT_EQ(Texts(SplitLines("a\r")), Lines{"a"});
    EXPECT_EQ(Texts(SplitLines(std::string("a\0b\nc", 5))), (Lines{std::string("a\0b", 3), "c"}));
}

TEST(StepFileLines, FieldsBetweenSemicolons) {
    EXPECT_EQ(Field("1;L_Click;50;50;", 1), "1");
    EXPECT_EQ(Field("1;L_Click;50;50;", 2), "L_Click");
    EXPECT_EQ(Field("1;L_Click;50;50;", 4), "50");
    EXPECT_EQ(Field("1;L_Click;50;50;", 5), "");
    EXPECT_EQ(Field("1;L_Click;50;50;", 6), "");
    EXPECT_EQ(Field("3", 1), "3");
    EXPECT_EQ(Field("3", 2), "");
    EXPECT_EQ(Field("", 1), "");
    EXPECT_EQ(Field(";;x", 3), "x");
}

// [SECTION] One CODE line

StepRecord Parsed(const std::string& line) {
    StepRecord step;
    std::string unknown;
    EXPECT_EQ(ParseStepLine(line, step, unknown), LineKind::Step) << line;
    return step;
}

TEST(StepFileLine, EveryTypeByTheTable) {
    StepRecord mouse;
    mouse.RECORDtype = 1;
    mouse.MouseClick = "L_Click";
    mouse.MouseX = 16;
    mouse.MouseY = -5;
    mouse.Remarks = "left";
    EXPECT_EQ(Parsed("1;L_Click;$10;-5;left;click"), mouse);

    StepRecord key;
    key.RECORDtype = 2;
    key.KeyType = "Key";
    key.KeyName = "{F2}";
    key.Remarks = "press F2";
    EXPECT_EQ(Parsed("2;Key;{F2};press F2"), key);

    StepRecord typed;
    typed.RECORDtype = 2;
    typed.KeyType = "String";
    typed.KeyString = "abc";
    typed.Remarks = "typed";
    EXPECT_EQ(Parsed("2;String;abc;typed"), typed);

    StepRecord otherKind;
    otherKind.RECORDtype = 2;
    otherKind.KeyType = "string";
    otherKind.KeyName = "abc";
    EXPECT_EQ(Parsed("2;string;abc;"), otherKind);

    EXPECT_EQ(Parsed("3;1.25;wait").DelayTime, 1.25f);
    EXPECT_EQ(Parsed("3;1.25;wait").Remarks, "wait");
    EXPECT_EQ(Parsed("3;abc;").DelayTime, 0.0f);
    EXPECT_EQ(Parsed("3;-infinity;").DelayTime, -std::numeric_limits<float>::infinity());

    const StepRecord loop = Parsed("4;1;-10;repeat all");
    EXPECT_EQ(loop.LoopFrom, 1);
    EXPECT_EQ(loop.LoopCount, -10);
    EXPECT_EQ(loop.Remarks, "repeat all");

    const StepRecord port = Parsed("5;COM1;Initialise;9600 N 8 1;Remarks");
    EXPECT_EQ(port.ComPort, "COM1");
    EXPECT_EQ(port.ComType, "Initialise");
    EXPECT_EQ(port.ComValue, "9600 N 8 1");
    EXPECT_EQ(port.Remarks, "Remarks");

    EXPECT_EQ(Parsed("6;2;").JumpTo, 2);
    EXPECT_EQ(Parsed("7; waiting ;r").StateText, " waiting ");
    EXPECT_EQ(Parsed("8;C:\\Tools\\report.exe;").ExecFile, "C:\\Tools\\report.exe");
    EXPECT_EQ(Parsed("9;Done;r").MessageText, "Done");
    EXPECT_EQ(Parsed("9;Done;r").Remarks, "r");
}

TEST(StepFileLine, FieldCountIsNotChecked) {
    StepRecord bare;
    bare.RECORDtype = 1;
    EXPECT_EQ(Parsed("1"), bare);
    const StepRecord state = Parsed("7;a;b;c;d;e;f");
    EXPECT_EQ(state.StateText, "a");
    EXPECT_EQ(state.Remarks, "b");
}

TEST(StepFileLine, OtherKinds) {
    StepRecord step;
    std::string unknown;
    EXPECT_EQ(ParseStepLine("", step, unknown), LineKind::Empty);
    EXPECT_EQ(ParseStepLine("'1;L_Click;1;1;", step, unknown), LineKind::Comment);
    EXPECT_EQ(ParseStepLine("'", step, unknown), LineKind::Comment);
    // Regression: ";1" (an empty field 1) read the first character of an empty field.
    for (const char* line :
         {"13;x", "01;L_Click;1;1;", " 1;L_Click;1;1;", "0;", "a", ";1", " 'comment"}) {
        SCOPED_TRACE(line);
        EXPECT_EQ(ParseStepLine(line, step, unknown), LineKind::Unknown);
        EXPECT_EQ(unknown, std::string(Field(line, 1)));
    }
}

// [SECTION] The whole file

TEST(StepFileParse, HeaderLinesAndSteps) {
    const ParsedStepFile file =
        ParseStepFile(kHeader + "1;L_Click;50;50;\r\n\r\n'note\r\n13;x\r\n3;0.5;");
    EXPECT_TRUE(file.titleMatches);
    EXPECT_EQ(file.userDate, "anna  -  01.02.2026 10:00");
    EXPECT_EQ(file.information, "info line");
    ASSERT_EQ(file.steps.size(), 2u);
    EXPECT_EQ(file.steps[0].RECORDtype, 1);
    EXPECT_EQ(file.steps[1].DelayTime, 0.5f);
    EXPECT_EQ(file.unknownTypes, std::vector<std::string>{"13"});
}

TEST(StepFileParse, SameStepsWhateverTheLineEnds) {
    const std::string lf = "Quorvane 2.2\nu\ni\n6;2;\n7;s;\n";
    const std::string cr = "Quorvane 2.2\ru\ri\r6;2;\r7;s;";
    const std::string crlf = "Quorvane 2.2\r\nu\r\ni\r\n6;2;\r\n7;s;\r\n";
    const ParsedStepFile expected = ParseStepFile(crlf);
    ASSERT_EQ(expected.steps.size(), 2u);
    for (const std::string& bytes : {lf, cr}) {
        const ParsedStepFile file = ParseStepFile(bytes);
        EXPECT_EQ(file.steps, expected.steps);
        EXPECT_EQ(file.userDate, "u");
        EXPECT_EQ(file.information, "i");
    }
}

TEST(StepFileParse, TitleMustMatchExactly) {
    for (const std::string& bytes :
         {std::string(""), std::string("Quorvane 2.2 \r\nu\r\ni\r\n"),
          std::string("quorvane 2.2\r\n"), std::string("\xEF\xBB\xBFQuorvane 2.2\r\n"),
          std::string("Quorvane 2.1\r\n")}) {
        SCOPED_TRACE(bytes);
        EXPECT_FALSE(ParseStepFile(bytes).titleMatches);
    }
    const ParsedStepFile titleOnly = ParseStepFile("Quorvane 2.2");
    EXPECT_TRUE(titleOnly.titleMatches);
    // The title belongs to the format, not to the build: a new version of the program must open
    // every file written so far, and write files the versions before it open.
    EXPECT_EQ(StepFileTitle, "Quorvane 2.2");
    EXPECT_EQ(titleOnly.userDate, "");
    EXPECT_TRUE(titleOnly.steps.empty());
}

// [SECTION] File > "Open" and loading

class StepFileLoadTest : public QuorvaneTest {
protected:
    // The notices shown while `action` runs; each one holds the clock for 600 ms.
    template <typename Action>
    std::vector<std::string> NoticesDuring(int expected, Action action) {
        std::vector<std::string> notices;
        const int64_t start = headless::VirtualMicroseconds();
        for (int i = 0; i < expected + 1; ++i) {
            headless::ScheduleAt(start + 300'000 + 600'000 * i, [&notices] {
                if (headless::Window(WindowNotice).open) {
                    notices.push_back(headless::Control(TextNotice).text);
                }
            });
        }
        action();
        return notices;
    }
};

TEST_F(StepFileLoadTest, NewMakesOneHalfSecondDelay) {
    StepFilePath = "C:\\old.stp";
    platform::SetControlText(StringDescription, "left over");
    NewStepFile();
    ASSERT_EQ(RList.Count(), 1);
    EXPECT_EQ(RList.Index(), 0);
    EXPECT_EQ(*RList.Current(), NewStepRecord());
    EXPECT_EQ(StepFilePath, "");
    EXPECT_EQ(headless::Control(TextFile).text, "");
    EXPECT_EQ(headless::Control(StringDescription).text, "");
    EXPECT_EQ(headless::Control(FrameStep).text, "1");
    EXPECT_EQ(ChooserText(ComboType), "3 Delay");
    EXPECT_FALSE(headless::Control(ContainerStep).hidden);
    EXPECT_FALSE(platform::IsMenuItemEnabled(MenuSave));
    EXPECT_TRUE(platform::IsMenuItemEnabled(MenuSaveAs));
    EXPECT_TRUE(platform::IsMenuItemEnabled(MenuPlay));
    EXPECT_TRUE(platform::IsMenuItemEnabled(MenuPlayFromCurrent));
}

TEST_F(StepFileLoadTest, OpenLoadsTheChosenFileAndShowsStepOne) {
    headless::PutFile("C:\\Steps\\plan.stp", kHeader + "7;first;one\r\n9;second;two\r\n");
    headless::ScriptFileDialog("C:\\Steps\\plan.stp");
    OpenStepFile();
    const auto boxes = headless::Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, headless::BoxKind::OpenFile);
    EXPECT_EQ(boxes[0].title, "Filename");
    EXPECT_EQ(boxes[0].text, "STEP file (*.stp)|*.stp");
    ASSERT_EQ(RList.Count(), 2);
    EXPECT_EQ(RList.Index(), 0);
    EXPECT_EQ(RList.At(1).MessageText, "second");
    EXPECT_EQ(StepFilePath, "C:\\Steps\\plan.stp");
    EXPECT_EQ(FileUserDate, "anna  -  01.02.2026 10:00");
    EXPECT_EQ(FileInformation, "info line");
    EXPECT_EQ(headless::Control(TextFile).text, "plan.stp");
    EXPECT_EQ(headless::Control(FrameStep).text, "1");
    EXPECT_EQ(headless::Control(StringDescription).text, "one");
    EXPECT_FALSE(headless::Control(ContainerStep).hidden);
    for (int item : {MenuSave, MenuSaveAs, MenuPlay, MenuPlayFromCurrent}) {
        EXPECT_TRUE(platform::IsMenuItemEnabled(item)) << item;
    }
}

TEST_F(StepFileLoadTest, CancelledOpenChangesNothing) {
    NewStepFile();
    OpenStepFile();
    EXPECT_EQ(RList.Count(), 1);
    EXPECT_EQ(StepFilePath, "");
}

// A failed open or a wrong first line leaves the document exactly as it was.
TEST_F(StepFileLoadTest, RefusedFilesLeaveEverythingAsItWas) {
    headless::PutFile("C:\\a.stp", kHeader + "7;a;\r\n7;b;\r\n");
    LoadStepFile("C:\\a.stp");
    RList.Select(1);
    GetValues();
    TakeBoxes();

    const struct {
        const char* path;
        std::string bytes;
        std::string box;
        void (*put)(const std::string&, const std::string&) = headless::PutFile;
    } cases[] = {
        {"C:\\missing.stp", "", "Error: File not open C:\\missing.stp", nullptr},
        // A port would block the first read for good; this one would even answer a valid file.
        {"C:\\com5.stp", kHeader + "7;port;\r\n", "Error: File not open C:\\com5.stp",
         headless::PutDevice},
        {"C:\\blank.stp", "Quorvane 2.2 \r\nx\r\ny\r\n7;c;\r\n",
         "Quorvane 2.2: Wrong File-Version"},
        {"C:\\lower.stp", "quorvane 2.2\r\n", "Quorvane 2.2: Wrong File-Version"},
        {"C:\\empty.stp", "", "Quorvane 2.2: Wrong File-Version"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        if (c.put != nullptr) {
            c.put(c.path, c.bytes);
        }
        LoadStepFile(c.path);
        EXPECT_EQ(TakeBoxes(), std::vector<std::string>{c.box});
        EXPECT_EQ(RList.Count(), 2);
        EXPECT_EQ(RList.Index(), 1);
        EXPECT_EQ(StepFilePath, "C:\\a.stp");
        EXPECT_EQ(FileUserDate, "anna  -  01.02.2026 10:00");
        EXPECT_EQ(FileInformation, "info line");
        EXPECT_EQ(headless::Control(TextFile).text, "a.stp");
        EXPECT_EQ(headless::Control(FrameStep).text, "2");
    }
}

TEST_F(StepFileLoadTest, CommentsAndEmptyLinesMakeNoStep) {
    headless::PutFile("C:\\c.stp", kHeader + "7;a;\r\n\r\n'7;skipped;\r\n\n7;b;");
    LoadStepFile("C:\\c.stp");
    EXPECT_TRUE(TakeBoxes().empty());
    ASSERT_EQ(RList.Count(), 2);
    EXPECT_EQ(RList.At(0).StateText, "a");
    EXPECT_EQ(RList.At(1).StateText, "b");
}

TEST_F(StepFileLoadTest, UnknownLinesAreAnnouncedAndSkipped) {
    headless::PutFile("C:\\u.stp", kHeader + "13;x\r\n7;a;\r\n 1;L_Click;1;1;\r\n");
    const auto notices = NoticesDuring(2, [] { LoadStepFile("C:\\u.stp"); });
    EXPECT_EQ(notices,
              (std::vector<std::string>{"Unknown recordtype: 13", "Unknown recordtype:  1"}));
    ASSERT_EQ(RList.Count(), 1);
    EXPECT_EQ(RList.At(0).StateText, "a");
    EXPECT_EQ(StepFilePath, "C:\\u.stp");
}

// A binary file of thousands of lines must not hold the window for 600 ms per line.
TEST_F(StepFileLoadTest, OnlyTheFirstFiveUnknownLinesGetANotice) {
    std::string bytes = kHeader;
    for (int i = 0; i < 5000; ++i) {
        bytes += "x" + std::to_string(i) + ";junk\r\n";
    }
    bytes += "7;kept;\r\n";
    headless::PutFile("C:\\junk.stp", bytes);
    const int64_t start = headless::VirtualMicroseconds();
    const auto notices = NoticesDuring(6, [] { LoadStepFile("C:\\junk.stp"); });
    EXPECT_EQ(notices, (std::vector<std::string>{"Unknown recordtype: x0", "Unknown recordtype: x1",
                                                 "Unknown recordtype: x2", "Unknown recordtype: x3",
                                                 "Unknown recordtype: x4",
                                                 "Skipped 4995 more lines of unknown recordtype"}));
    EXPECT_EQ(headless::VirtualMicroseconds() - start, 6 * 600'000);
    ASSERT_EQ(RList.Count(), 1);
    EXPECT_EQ(RList.At(0).StateText, "kept");
}

TEST_F(StepFileLoadTest, ExactlyFiveUnknownLinesGetNoSummary) {
    std::string bytes = kHeader;
    for (int i = 0; i < 5; ++i) {
        bytes += "?;\r\n";
    }
    headless::PutFile("C:\\five.stp", bytes);
    const auto notices = NoticesDuring(6, [] { LoadStepFile("C:\\five.stp"); });
    EXPECT_EQ(notices, std::vector<std::string>(5, "Unknown recordtype: ?"));
}

// Everything after a load works on a current step; a file without steps gets the "New" step.
TEST_F(StepFileLoadTest, FileWithoutStepsGetsOneDelay) {
    for (const std::string& bytes :
         {std::string("Quorvane 2.2\r\nu\r\ni\r\n"), std::string("Quorvane 2.2"),
          std::string("Quorvane 2.2\r\nu\r\ni\r\n'only a comment\r\n\r\n")}) {
        SCOPED_TRACE(bytes);
        headless::PutFile("C:\\none.stp", bytes);
        LoadStepFile("C:\\none.stp");
        ASSERT_EQ(RList.Count(), 1);
        EXPECT_EQ(RList.Index(), 0);
        EXPECT_EQ(*RList.Current(), NewStepRecord());
        EXPECT_EQ(StepFilePath, "C:\\none.stp");
        EXPECT_EQ(headless::Control(FrameStep).text, "1");
        EXPECT_TRUE(platform::IsMenuItemEnabled(MenuSave));
    }
}

TEST_F(StepFileLoadTest, ReloadReplacesTheList) {
    headless::PutFile("C:\\a.stp", kHeader + "7;a;\r\n7;b;\r\n7;c;\r\n");
    headless::PutFile("C:\\b.stp", kHeader + "9;z;\r\n");
    LoadStepFile("C:\\a.stp");
    RList.Last();
    LoadStepFile("C:\\b.stp");
    ASSERT_EQ(RList.Count(), 1);
    EXPECT_EQ(RList.Index(), 0);
    EXPECT_EQ(RList.At(0).MessageText, "z");
}

}  // namespace
