// The text editor window: template, line information, opening, saving and closing.

#include <string>
#include <vector>

#include "Forms/FormEditor.h"
#include "Forms/FormMAIN.h"
#include "editor/TextEditor.h"
#include "platform/window.h"
#include "steps/Document.h"
#include "steps/RList.h"
#include "tests/unit/support/Fixture.h"

namespace {

const std::string kHeader = "Quorvane 2.2\r\ntester  -  08.12.2026 09:30\r\ninfo\r\n";

class TextEditorTest : public QuorvaneTest {
protected:
    static std::vector<std::string> Lines() { return platform::TextLines(EditorText); }
    static std::string Text(int control) { return headless::Control(control).text; }
    static std::string File(const std::string& path) {
        std::string bytes;
        EXPECT_TRUE(headless::GetFile(path, bytes)) << path;
        return bytes;
    }
    // The line information shown for 0-based line `line`: "meaning|type|syntax".
    static std::string InfoFor(int line) {
        headless::UserMovesCaret(EditorText, line);
        EditorLineInfo();
        return Text(EditorLineMeaning) + "|" + Text(EditorLineType) + "|" + Text(EditorLineSyntax);
    }
};

// [SECTION] Opening the window

TEST_F(TextEditorTest, WithoutAFileTheWindowShowsTheTemplate) {
    ShowEditor();
    const headless::WindowState window = headless::Window(FormEditor);
    EXPECT_TRUE(window.open);
    EXPECT_EQ(window.shape.title, "Editor");
    EXPECT_EQ(window.shape.clientWidth, 388);
    EXPECT_EQ(window.shape.clientHeight, 496);
    EXPECT_EQ(window.shape.owner, FormMAIN);
    EXPECT_EQ(headless::Control(EditorText).kind, platform::ControlKind::RichEdit);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Quorvane 2.2", "tester  -  08.12.2026 09:30", "",
                                                 "1;L_Click;50;50;"}));
    EXPECT_FALSE(headless::Control(EditorButtonSave).enabled);
    EXPECT_EQ(platform::FocusedControl(), EditorText);
    EXPECT_FALSE(headless::Window(FormMAIN).enabled);
    EXPECT_FALSE(headless::Window(FormMAIN).topmost);
    EXPECT_EQ(EditorFilePath, "");
}

TEST_F(TextEditorTest, TheMainWindowsFileIsShownAsOnDisk) {
    headless::PutFile("C:\\work\\plan.stp", kHeader + "3;0.5;wait\r\n6;1;\r\n");
    StepFilePath = "C:\\work\\plan.stp";
    ShowEditor();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Quorvane 2.2", "tester  -  08.12.2026 09:30",
                                                 "info", "3;0.5;wait", "6;1;"}));
    EXPECT_EQ(Text(EditorFileName), "plan.stp");
    EXPECT_EQ(EditorFilePath, "C:\\work\\plan.stp");
    EXPECT_TRUE(headless::Control(EditorButtonSave).enabled);
}

TEST_F(TextEditorTest, AMainWindowFileThatCannotBeOpenedLeavesTheTextEmpty) {
    headless::PutFile("C:\\ro.stp", kHeader);
    headless::SetReadOnly("C:\\ro.stp", true);
    StepFilePath = "C:\\ro.stp";
    ShowEditor();
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Error: Can't open file"});
    EXPECT_EQ(Lines(), std::vector<std::string>{""});
}

TEST_F(TextEditorTest, ClosingGivesTheMainWindowBack) {
    ShowEditor();
    CloseEditor();
    EXPECT_FALSE(headless::Window(FormEditor).open);
    EXPECT_TRUE(headless::Window(FormMAIN).enabled);
    EXPECT_TRUE(headless::Window(FormMAIN).topmost);
}

// [SECTION] Line information

TEST_F(TextEditorTest, LineInformationExplainsEveryKindOfLine) {
    ShowEditor();
    platform::SetTextLines(
        EditorText, {"Quorvane 2.2", "u", "i", "1;L_Click;1;1;", "2;Key;{F2};", "3;1;", "4;1;1;",
                     "5;COM1;Hex;00;", "6;1;", "7;;", "8;x;", "9;;", "10;Window;a;1.0;0;",
                     "12;Move;0 a.png;0;0;", "'comment", ""});
    const std::vector<std::string> expected = {
        "File-Version||",
        "User  -  Date (dd.mm.yyyy hh:mm)||",
        "File-Information||",
        "CODE Line: 1|MOUSE|1;L_Click/Ldbl_Click/R_Click/M_Click;X;Y;Remarks",
        "CODE Line: 2|KEYBOARD|2;String/Key;MyString/{F2};Rermarks",
        "CODE Line: 3|DELAY|3;Time;Remarks",
        "CODE Line: 4|LOOP|4;FromStepNo;Repetitions;Remarks",
        "CODE Line: 5|COMPORT|5;COM1;Initialise;9600 N 8 1;Remarks",
        "CODE Line: 6|JUMP|6;ToStepNo;Remarks",
        "CODE Line: 7|STATE|7;MyStateText;Remarks",
        "CODE Line: 8|EXECUTE|8;Filepath;Remarks",
        "CODE Line: 9|MESSAGE|9;MyMessageText;Remarks",
        "CODE Line: "
        "10|WAIT|10;Window/Active/NoWindow/Pixel/Answer/Image;Value;Seconds;ElseStepNo;Remarks",
        "CODE Line: 11|IMAGE|12;L_Click/Ldbl_Click/R_Click/M_Click/Move;V File;X;Y;Remarks",
        "CODE Line: 12|UNKNOWN|",
        "CODE Line: 13|UNKNOWN|",
    };
    for (int line = 0; line < static_cast<int>(expected.size()); ++line) {
        EXPECT_EQ(InfoFor(line), expected[static_cast<size_t>(line)]) << "line " << line;
    }
}

// Regression: with no caret line to tell (the text area gone), the line information read the
// meaning before the first header line's (index -1); the sanitizer builds catch such a read.
TEST_F(TextEditorTest, AnUnknownCaretLineShowsNoInformation) {
    ShowEditor();
    CloseEditor();
    ASSERT_EQ(platform::SelectionStartLine(EditorText), -1);
    EditorLineInfo();
    EXPECT_FALSE(headless::Window(FormEditor).open);
}

// [SECTION] Open

TEST_F(TextEditorTest, OpenShowsTheChosenFileAndEnablesSave) {
    headless::PutFile("C:\\b.stp", kHeader + "7;state;\r\n");
    ShowEditor();
    headless::ClearBoxes();
    headless::ScriptFileDialog("C:\\b.stp");
    EditorOpen();
    const std::vector<headless::ShownBox> boxes = headless::Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, headless::BoxKind::OpenFile);
    EXPECT_EQ(boxes[0].title, "Filename");
    EXPECT_EQ(boxes[0].text, "STEP file (*.stp)|*.stp");
    EXPECT_EQ(Lines().back(), "7;state;");
    EXPECT_EQ(Text(EditorFileName), "b.stp");
    EXPECT_EQ(EditorFilePath, "C:\\b.stp");
    EXPECT_TRUE(headless::Control(EditorButtonSave).enabled);
}

TEST_F(TextEditorTest, OpenCancelledOrRefusedKeepsTheText) {
    headless::PutFile("C:\\ro.stp", kHeader);
    headless::SetReadOnly("C:\\ro.stp", true);
    ShowEditor();
    const std::vector<std::string> before = Lines();
    headless::ScriptFileDialog("");
    EditorOpen();
    headless::ScriptFileDialog("C:\\ro.stp");
    EditorOpen();
    EXPECT_EQ(Lines(), before);
    EXPECT_EQ(EditorFilePath, "");
    EXPECT_FALSE(headless::Control(EditorButtonSave).enabled);
    const std::vector<headless::ShownBox> boxes = headless::Boxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().title + ": " + boxes.back().text, "Error: Can't open file");
}

// [SECTION] Save and Save as

TEST_F(TextEditorTest, SaveAsWritesTheStampedTextWithCrLf) {
    headless::SetUserName("anna");
    ShowEditor();
    platform::SetTextLines(EditorText, {"old title", "old date", "my info", "3;2.5;wait", ""});
    headless::ScriptFileDialog("C:\\new");
    EditorSaveAs();
    EXPECT_EQ(File("C:\\new.stp"),
              "Quorvane 2.2\r\nanna  -  08.12.2026 09:30\r\nmy info\r\n3;2.5;wait\r\n");
    EXPECT_EQ(Text(EditorFileName), "new.stp");
    EXPECT_EQ(EditorFilePath, "C:\\new.stp");
    EXPECT_TRUE(headless::Control(EditorButtonSave).enabled);
    EXPECT_EQ(TakeBoxes().back(), "OK: File saved");
}

TEST_F(TextEditorTest, SaveAsAsksBeforeReplacing) {
    headless::PutFile("C:\\old.stp", "previous");
    ShowEditor();
    headless::ScriptFileDialog("C:\\old.stp");
    headless::ScriptYesNo(false);
    EditorSaveAs();
    EXPECT_EQ(File("C:\\old.stp"), "previous");
    const std::vector<headless::ShownBox> boxes = headless::Boxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().kind, headless::BoxKind::YesNo);
    EXPECT_EQ(boxes.back().owner, FormEditor);
    EXPECT_EQ(boxes.back().title + ": " + boxes.back().text,
              "Confirm: File already exists! Replace?");

    headless::ScriptFileDialog("C:\\old.stp");
    headless::ScriptYesNo(true);
    EditorSaveAs();
    EXPECT_EQ(File("C:\\old.stp").substr(0, 14), "Quorvane 2.2\r\n");
}

// The main window's Save as has its end-to-end row. Without the name check the device "exists"
// and the replace question would come first.
TEST_F(TextEditorTest, SaveAsADeviceNameIsRefusedAtOnce) {
    headless::PutDevice("C:\\Steps\\prn.stp", "");
    ShowEditor();
    headless::ScriptFileDialog("C:\\Steps\\prn.stp");
    headless::ScriptYesNo(true);
    EditorSaveAs();
    const auto boxes = headless::Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].title + ": " + boxes[1].text,
              "Save as: prn.stp names a device, not a file; choose another name.");
    EXPECT_TRUE(headless::FilePaths().empty());
}

TEST_F(TextEditorTest, AFailedCheckStopsTheSave) {
    headless::PutFile("C:\\a.stp", kHeader + "3;1;\r\n");
    StepFilePath = "C:\\a.stp";
    ShowEditor();
    platform::SetTextLine(EditorText, 3, "x;bad");
    TakeBoxes();
    EditorSave();
    EXPECT_EQ(File("C:\\a.stp"), kHeader + "3;1;\r\n");
    std::vector<std::string> boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("Input: ", 0), 0u);

    headless::ScriptFileDialog("C:\\other.stp");
    EditorSaveAs();
    std::string bytes;
    EXPECT_FALSE(headless::GetFile("C:\\other.stp", bytes));
}

TEST_F(TextEditorTest, SavingTheMainWindowsFileReloadsIt) {
    headless::PutFile("C:\\a.stp", kHeader + "3;1.0;\r\n");
    StepFilePath = "C:\\a.stp";
    RList.Clear();
    RList.AddAfterCurrent().RECORDtype = TypeMessage;
    ShowEditor();
    platform::SetTextLines(EditorText, {"", "", "info", "3;1.5;", "7;done;"});
    EditorSave();
    ASSERT_EQ(RList.Count(), 2);
    EXPECT_EQ(RList.At(0).RECORDtype, TypeDelay);
    EXPECT_EQ(RList.At(1).RECORDtype, TypeState);
    EXPECT_EQ(headless::Control(FrameStep).text, "1");
    EXPECT_EQ(Text(TextFile), "a.stp");
    EXPECT_EQ(TakeBoxes().back(), "OK: File saved");
}

TEST_F(TextEditorTest, SavingAnotherFileLeavesTheMainWindowsList) {
    StepFilePath = "C:\\main.stp";
    RList.Clear();
    RList.AddAfterCurrent().RECORDtype = TypeMessage;
    headless::PutFile("C:\\b.stp", kHeader + "3;1.0;\r\n");
    ShowEditor();
    headless::ScriptFileDialog("C:\\b.stp");
    EditorOpen();
    EditorSave();
    ASSERT_EQ(RList.Count(), 1);
    EXPECT_EQ(RList.At(0).RECORDtype, TypeMessage);
    EXPECT_EQ(File("C:\\b.stp"), kHeader + "3;1.0;\r\n");
}

TEST_F(TextEditorTest, AFileThatCannotBeWrittenIsReportedWithItsPath) {
    headless::PutFile("C:\\a.stp", kHeader);
    StepFilePath = "C:\\a.stp";
    ShowEditor();
    headless::SetReadOnly("C:\\a.stp", true);
    TakeBoxes();
    EditorSave();
    const std::vector<std::string> boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("C:\\a.stp: ", 0), 0u);
    EXPECT_EQ(File("C:\\a.stp"), kHeader);
}

}  // namespace
