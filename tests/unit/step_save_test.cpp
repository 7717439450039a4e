// Writing step files: the bytes of Save and Save as, round trips of every type, and saves that
// fail without costing the file that was there.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "Quorvane/Quorvane.h"
#include "editor/EditorPanel.h"
#include "editor/StepFileCommands.h"
#include "platform/files.h"
#include "platform/headless/headless.h"
#include "platform/window.h"
#include "steps/Document.h"
#include "steps/RList.h"
#include "steps/StepFile.h"
#include "tests/unit/support/Fixture.h"

namespace {

const std::string kPath = "C:\\Steps\\plan.stp";
const std::string kOldBytes = "Quorvane 2.2\r\nold  -  01.01.2020 00:00\r\nold info\r\n7;old;\r\n";

StepRecord Step(int32_t type) {
    StepRecord step;
    step.RECORDtype = type;
    return step;
}

// One step of every type, with only the fields of its type set.
std::vector<StepRecord> EveryType() {
    std::vector<StepRecord> steps(10);
    steps[0] = Step(TypeMouse);
    steps[0].MouseClick = "Ldbl_Click";
    steps[0].MouseX = -20;
    steps[0].MouseY = 2147483647;
    steps[0].Remarks = "double";
    steps[1] = Step(TypeKeyboard);
    steps[1].KeyType = "String";
    steps[1].KeyString = "Hello world";
    steps[2] = Step(TypeKeyboard);
    steps[2].KeyType = "Key";
    steps[2].KeyName = "{F2}";
    steps[2].Remarks = "press F2";
    steps[3] = Step(TypeDelay);
    steps[3].DelayTime = 2.0f;
    steps[4] = Step(TypeLoop);
    steps[4].LoopFrom = 1;
    steps[4].LoopCount = 10;
    steps[4].Remarks = "repeat all";
    steps[5] = Step(TypeComport);
    steps[5].ComPort = "COM1";
    steps[5].ComType = "Initialise";
    steps[5].ComValue = "9600 N 8 1";
    steps[6] = Step(TypeJump);
    steps[6].JumpTo = 2;
    steps[7] = Step(TypeExecute);
    steps[7].ExecFile = "C:\\Tools\\report.exe";
    steps[8] = Step(TypeMessage);
    steps[8].MessageText = "Done";
    steps[8].Remarks = "end";
    steps[9] = Step(TypeWait);
    steps[9].WaitFor = "Answer";
    steps[9].WaitValue = "COM5 OK ";
    steps[9].WaitTime = 2.0f;
    steps[9].WaitElse = 20;
    return steps;
}

std::string ListBytes() {
    std::vector<int32_t> unknownTypes;
    return StepFileBytes(unknownTypes);
}

class StepSaveTest : public QuorvaneTest {
protected:
    void SetUp() override {
        QuorvaneTest::SetUp();
        headless::SetUserName("anna");
        headless::SetLocalTime({2026, 3, 7, 14, 5});
    }

    // Puts the steps into the list with `current` shown in the panel, as after a load.
    void ShowList(const std::vector<StepRecord>& steps, int current = 0) {
        NewStepFile();
        ShowSteps(steps, current);
        TakeBoxes();
    }

    static std::string File(const std::string& path) {
        std::string bytes;
        EXPECT_TRUE(headless::GetFile(path, bytes)) << path;
        return bytes;
    }

    static std::vector<std::string> SortedPaths() {
        std::vector<std::string> paths = headless::FilePaths();
        std::sort(paths.begin(), paths.end());
        return paths;
    }
};

// [SECTION] The bytes written

TEST_F(StepSaveTest, SaveAsAfterNewWritesTheFourLines) {
    NewStepFile();
    headless::ScriptFileDialog("C:\\Steps\\plan");
    SaveStepFileAs();
    EXPECT_EQ(File(kPath), "Quorvane 2.2\r\nanna  -  07.03.2026 14:05\r\n\r\n3;0.5;\r\n");
    const auto boxes = headless::Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].kind, headless::BoxKind::SaveFile);
    EXPECT_EQ(boxes[0].title, "Filename");
    EXPECT_EQ(boxes[0].text, "STEP file (*.stp)|*.stp");
    EXPECT_EQ(boxes[1].title + ": " + boxes[1].text, "OK: File saved");
    EXPECT_FALSE(boxes[1].mainWindowTopmost);
    EXPECT_EQ(StepFilePath, kPath);
    EXPECT_EQ(headless::Control(TextFile).text, "plan.stp");
    EXPECT_TRUE(platform::IsMenuItemEnabled(MenuSave));
}

TEST_F(StepSaveTest, EveryTypeAsItsCodeLine) {
    ShowList(EveryType());
    FileInformation = "made by hand";
    EXPECT_EQ(ListBytes(),
              "Quorvane 2.2\r\n"
              "anna  -  07.03.2026 14:05\r\n"
              "made by hand\r\n"
              "1;Ldbl_Click;-20;2147483647;double\r\n"
              "2;String;Hello world;\r\n"
              "2;Key;{F2};press F2\r\n"
              "3;2.0;\r\n"
              "4;1;10;repeat all\r\n"
              "5;COM1;Initialise;9600 N 8 1;\r\n"
              "6;2;\r\n"
              "8;C:\\Tools\\report.exe;\r\n"
              "9;Done;end\r\n"
              "10;Answer;COM5 OK ;2.0;20;\r\n");
}

TEST_F(StepSaveTest, EveryTypeReadsBackTheSame) {
    std::vector<StepRecord> steps = EveryType();
    StepRecord state = Step(TypeState);
    state.StateText = "waiting";
    state.Remarks = "r";
    steps.push_back(state);
    ShowList(steps);
    const ParsedStepFile file = ParseStepFile(ListBytes());
    EXPECT_EQ(file.steps, steps);
    EXPECT_TRUE(file.unknownTypes.empty());
}

TEST_F(StepSaveTest, OnlyTheSelectedKeyFieldIsWritten) {
    StepRecord key = Step(TypeKeyboard);
    key.KeyType = "Key";
    key.KeyName = "{ENTER}";
    key.KeyString = "not written";
    StepRecord typed = key;
    typed.KeyType = "String";
    ShowList({key, typed});
    const std::string bytes = ListBytes();
    const std::vector<std::string_view> lines = SplitLines(bytes);
    EXPECT_EQ(lines[3], "2;Key;{ENTER};");
    EXPECT_EQ(lines[4], "2;String;not written;");
}

TEST_F(StepSaveTest, DelayIsWrittenWithOneDecimal) {
    const struct {
        float delay;
        const char* text;
        float readBack;
    } cases[] = {{0.25f, "3;0.2;", 0.2f},
                 {1.26f, "3;1.3;", 1.3f},
                 {2.0f, "3;2.0;", 2.0f},
                 {0.04f, "3;0.0;", 0.0f},
                 {1e6f, "3;1000000.0;", 1e6f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        StepRecord delay = Step(TypeDelay);
        delay.DelayTime = c.delay;
        ShowList({delay});
        const std::string bytes = ListBytes();
        EXPECT_EQ(SplitLines(bytes)[3], c.text);
        EXPECT_EQ(ParseStepFile(bytes).steps.at(0).DelayTime, c.readBack);
    }
}

// The format has no escape: a ";" in a text shifts the fields when the file is read again.
TEST_F(StepSaveTest, SemicolonInATextShiftsTheFields) {
    StepRecord state = Step(TypeState);
    state.StateText = "a;b";
    state.Remarks = "remark";
    ShowList({state});
    const std::string bytes = ListBytes();
    EXPECT_EQ(SplitLines(bytes)[3], "7;a;b;remark");
    const StepRecord back = ParseStepFile(bytes).steps.at(0);
    EXPECT_EQ(back.StateText, "a");
    EXPECT_EQ(back.Remarks, "b");
}

// A line break inside a text would otherwise split one step into two lines.
TEST_F(StepSaveTest, LineBreaksInATextBecomeBlanks) {
    StepRecord message = Step(TypeMessage);
    message.MessageText = "two\r\nlines\rand\nmore";
    message.Remarks = "x\ny";
    ShowList({message});
    const std::string bytes = ListBytes();
    EXPECT_EQ(SplitLines(bytes).size(), 4u);
    EXPECT_EQ(SplitLines(bytes)[3], "9;two  lines and more;x y");
}

TEST_F(StepSaveTest, UnknownTypeIsReportedAndWrittenAsAnEmptyLine) {
    StepRecord odd = Step(13);
    ShowList({Step(TypeState), odd, Step(TypeMessage)}, 0);
    StepFilePath = kPath;
    SaveStepFile();
    EXPECT_EQ(TakeBoxes(),
              (std::vector<std::string>{"Error: Unknown recordtype: 13", "OK: File saved"}));
    EXPECT_EQ(File(kPath), "Quorvane 2.2\r\nanna  -  07.03.2026 14:05\r\n\r\n7;;\r\n\r\n9;;\r\n");
}

// [SECTION] Save, Save as and the document

TEST_F(StepSaveTest, StepExtensionUnlessTheNameEndsInExactlyStp) {
    EXPECT_EQ(WithStepExtension("plan"), "plan.stp");
    EXPECT_EQ(WithStepExtension("plan.stp"), "plan.stp");
    EXPECT_EQ(WithStepExtension("plan.STP"), "plan.STP.stp");
    EXPECT_EQ(WithStepExtension("plan.stp.txt"), "plan.stp.txt.stp");
    EXPECT_EQ(WithStepExtension("stp"), "stp.stp");
    EXPECT_EQ(WithStepExtension(".stp"), ".stp");
}

TEST_F(StepSaveTest, SaveWithoutAFileNameDoesNothing) {
    NewStepFile();
    SaveStepFile();
    EXPECT_TRUE(headless::Boxes().empty());
    EXPECT_TRUE(headless::FilePaths().empty());
}

TEST_F(StepSaveTest, SaveKeepsTheCurrentStepAndTheInformationLine) {
    headless::PutFile(kPath, kOldBytes + "7;b;\r\n7;c;\r\n7;d;\r\n7;e;\r\n");
    LoadStepFile(kPath);
    RList.Select(1);
    GetValues();
    for (int save = 0; save < 2; ++save) {
        SaveStepFile();
        EXPECT_EQ(RList.Index(), 1);
        EXPECT_EQ(headless::Control(FrameStep).text, "2");
    }
    EXPECT_EQ(File(kPath),
              "Quorvane 2.2\r\nanna  -  07.03.2026 14:05\r\nold info\r\n"
              "7;old;\r\n7;b;\r\n7;c;\r\n7;d;\r\n7;e;\r\n");
    EXPECT_EQ(FileUserDate, "old  -  01.01.2020 00:00");
}

TEST_F(StepSaveTest, SaveStoresThePanelFirst) {
    headless::PutFile(kPath, kOldBytes);
    LoadStepFile(kPath);
    headless::UserTypes(StringDescription, "typed remark");
    SaveStepFile();
    EXPECT_EQ(SplitLines(File(kPath))[3], "7;old;typed remark");
}

TEST_F(StepSaveTest, RefusedPanelSavesNothing) {
    StepRecord mouse = Step(TypeMouse);
    mouse.MouseClick = "L_Click";
    mouse.MouseX = 5;
    mouse.MouseY = 5;
    headless::PutFile(kPath, kOldBytes);
    ShowList({mouse});
    StepFilePath = kPath;
    headless::UserTypes(StringX, "");
    SaveStepFile();
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Input required: No mouse x entered"});
    headless::ScriptFileDialog("C:\\other.stp");
    SaveStepFileAs();
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Input required: No mouse x entered"});
    EXPECT_EQ(File(kPath), kOldBytes);
    EXPECT_EQ(SortedPaths(), std::vector<std::string>{kPath});
}

TEST_F(StepSaveTest, SaveAsThenSaveWritesTheNewFile) {
    NewStepFile();
    headless::ScriptFileDialog("C:\\new.stp");
    SaveStepFileAs();
    headless::UserTypes(StringDescription, "second save");
    SaveStepFile();
    EXPECT_EQ(SplitLines(File("C:\\new.stp"))[3], "3;0.5;second save");
}

TEST_F(StepSaveTest, CancelledSaveAsWritesNothing) {
    NewStepFile();
    SaveStepFileAs();
    EXPECT_TRUE(headless::FilePaths().empty());
    EXPECT_EQ(StepFilePath, "");
    EXPECT_EQ(headless::Boxes().size(), 1u);
}

TEST_F(StepSaveTest, ReplacingAnExistingFileIsAsked) {
    headless::PutFile(kPath, kOldBytes);
    NewStepFile();
    headless::ScriptFileDialog(kPath);
    headless::ScriptYesNo(false);
    SaveStepFileAs();
    auto boxes = headless::Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].kind, headless::BoxKind::YesNo);
    EXPECT_EQ(boxes[1].title + ": " + boxes[1].text, "Confirm: File already exists! Replace?");
    EXPECT_EQ(File(kPath), kOldBytes);
    EXPECT_EQ(StepFilePath, "");

    headless::ClearBoxes();
    headless::ScriptFileDialog("C:\\Steps\\plan");
    headless::ScriptYesNo(true);
    SaveStepFileAs();
    EXPECT_EQ(SplitLines(File(kPath))[3], "3;0.5;");
    EXPECT_EQ(StepFilePath, kPath);
    EXPECT_EQ(headless::Boxes().back().text, "File saved");
}

// [SECTION] Names Windows opens as devices

TEST(StepFileNames, DeviceNames) {
    for (const char* device : {"COM5", "C:\\Steps\\com5.stp", "nul", "prn.stp", "Aux.txt", "CON",
                               "lpt1", "LPT9.log", "conin$", "CONOUT$.x", "C:\\x\\NUL .stp",
                               "COM5...", "C:COM1", "D:/x/Com0.stp", "\\\\.\\COM5"}) {
        EXPECT_TRUE(NamesDevice(device)) << device;
    }
    for (const char* file :
         {"COM10", "COM", "console.stp", "NULL.stp", "xcom5.stp", "COMA.stp", "C:\\nul\\plan.stp",
          "C:\\Steps\\plan.stp", "", "\\\\?\\C:\\plan.stp"}) {
        EXPECT_FALSE(NamesDevice(file)) << file;
    }
}

// [SECTION] Failed saves: the old file stays byte for byte, no temporary file is left, no
// "File saved".

struct FailedSave {
    const char* name;
    void (*prepare)();
    const char* message;
};

const FailedSave kFailedSaves[] = {
    {"read-only target", [] { headless::SetReadOnly(kPath, true); }, "Can't create file"},
    {"read-only folder", [] { headless::SetReadOnly("C:\\Steps", true); }, "Can't create file"},
    {"full disk", [] { headless::SetFreeBytes(20); }, "Can't write file"},
    {"no room at all", [] { headless::SetFreeBytes(0); }, "Can't write file"},
};

TEST_F(StepSaveTest, FailedSaveKeepsTheOldFile) {
    for (const FailedSave& failure : kFailedSaves) {
        SCOPED_TRACE(failure.name);
        headless::Reset();
        StartUp();
        headless::MakeFolder("C:\\Steps");
        headless::PutFile(kPath, kOldBytes);
        LoadStepFile(kPath);
        platform::SetMenuItemEnabled(MenuSave, false);
        headless::UserTypes(StringDescription, "changed");
        failure.prepare();
        TakeBoxes();

        SaveStepFile();
        EXPECT_EQ(TakeBoxes(), std::vector<std::string>{kPath + ": " + failure.message});
        EXPECT_EQ(File(kPath), kOldBytes);
        EXPECT_EQ(SortedPaths(), std::vector<std::string>{kPath});
        EXPECT_FALSE(platform::IsMenuItemEnabled(MenuSave));
    }
}

TEST_F(StepSaveTest, FolderAtTheTargetIsNotReplaced) {
    headless::MakeFolder(kPath);
    NewStepFile();
    headless::ScriptFileDialog(kPath);
    headless::ScriptYesNo(true);
    SaveStepFileAs();
    const auto boxes = headless::Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2].title + ": " + boxes[2].text, kPath + ": Can't create file");
    EXPECT_TRUE(headless::FilePaths().empty());
    EXPECT_TRUE(platform::FileExists(kPath));
    EXPECT_EQ(StepFilePath, "");
}

TEST_F(StepSaveTest, StaleTemporaryFileIsLeftAlone) {
    headless::PutFile(kPath, kOldBytes);
    headless::PutFile(kPath + ".~tmp", "someone else's");
    LoadStepFile(kPath);
    SaveStepFile();
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"OK: File saved"});
    EXPECT_EQ(SplitLines(File(kPath))[1], "anna  -  07.03.2026 14:05");
    EXPECT_EQ(File(kPath + ".~tmp"), "someone else's");
    EXPECT_EQ(SortedPaths(), (std::vector<std::string>{kPath, kPath + ".~tmp"}));
}

TEST_F(StepSaveTest, WriteFileSafelyResults) {
    EXPECT_EQ(WriteFileSafely("C:\\a.txt", "abc"), WriteResult::Written);
    EXPECT_EQ(File("C:\\a.txt"), "abc");
    EXPECT_EQ(WriteFileSafely("C:\\a.txt", ""), WriteResult::Written);
    EXPECT_EQ(File("C:\\a.txt"), "");
    headless::SetFreeBytes(2);
    EXPECT_EQ(WriteFileSafely("C:\\a.txt", "abc"), WriteResult::WriteFailed);
    EXPECT_EQ(File("C:\\a.txt"), "");
    EXPECT_EQ(headless::FilePaths(), std::vector<std::string>{"C:\\a.txt"});
}

}  // namespace
