// Storing the editor panel: every refusal with its title, what the record holds afterwards, and
// the port parameter checks.

#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "editor/EditorPanel.h"
#include "platform/window.h"
#include "steps/Numbers.h"
#include "steps/RList.h"
#include "tests/unit/support/Fixture.h"

namespace {

class StoreRecordTest : public QuorvaneTest {
protected:
    // A list of `count` steps built from `step`, the first one shown.
    void ShowList(const StepRecord& step, int count = 1) {
        ShowSteps(std::vector<StepRecord>(static_cast<size_t>(count), step));
        TakeBoxes();
    }
    void ChooseType(const char* text) {
        SetChooserText(ComboType, text);
        FormMAIN_ComboType_Event(0);
    }
    // Saves the shown step and checks the outcome: stored without a box when `box` is empty,
    // else refused with `box` as the only box. Returns whether the step was stored.
    bool SaveExpecting(const std::string& box) {
        const bool stored = box.empty();
        EXPECT_EQ(SaveActualRecord(), stored ? 1 : 0);
        EXPECT_EQ(TakeBoxes(), stored ? std::vector<std::string>{} : std::vector<std::string>{box});
        return stored;
    }
    static StepRecord Delay(float seconds) {
        StepRecord step;
        step.RECORDtype = TypeDelay;
        step.DelayTime = seconds;
        return step;
    }
    static StepRecord Comport(const std::string& type, const std::string& value) {
        StepRecord step;
        step.RECORDtype = TypeComport;
        step.ComPort = "COM2";
        step.ComType = type;
        step.ComValue = value;
        return step;
    }
};

TEST_F(StoreRecordTest, MouseWithEmptyXIsRefusedAndKeepsWhatWasSetBeforeTheCheck) {
    StepRecord old = Delay(2.0f);
    old.StateText = "kept";  // a field after the failing one
    ShowList(old);
    ChooseType("1 Mouse");
    headless::UserTypes(StringX, "");
    headless::UserTypes(StringDescription, "new remark");

    EXPECT_EQ(SaveActualRecord(), 0);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Input required: No mouse x entered"});
    const StepRecord& step = RList.At(0);
    EXPECT_EQ(step.RECORDtype, TypeMouse);
    EXPECT_EQ(step.Remarks, "new remark");
    EXPECT_EQ(step.MouseClick, "L_Click");
    EXPECT_EQ(step.MouseX, 0);
    EXPECT_FLOAT_EQ(step.DelayTime, 2.0f);  // not reached by the walk
    EXPECT_EQ(step.StateText, "kept");
}

TEST_F(StoreRecordTest, BoxesKeepTheMainWindowOnTop) {
    ShowList(Delay(1.0f));
    headless::UserTypes(StringDelay, "");
    SaveActualRecord();
    ASSERT_EQ(headless::Boxes().size(), 1u);
    EXPECT_TRUE(headless::Boxes()[0].mainWindowTopmost);
    EXPECT_EQ(headless::Boxes()[0].owner, FormMAIN);
}

TEST_F(StoreRecordTest, ChangingTheTypeStoresTheNewTypeAndEmptiesTheOld) {
    ShowList(Delay(2.0f));
    ChooseType("1 Mouse");
    headless::UserTypes(StringX, "12abc");
    headless::UserTypes(StringY, "7");

    EXPECT_EQ(SaveActualRecord(), 1);
    EXPECT_TRUE(TakeBoxes().empty());
    const StepRecord& step = RList.At(0);
    EXPECT_EQ(step.RECORDtype, TypeMouse);
    EXPECT_EQ(step.MouseX, 12);
    EXPECT_EQ(step.MouseY, 7);
    EXPECT_FLOAT_EQ(step.DelayTime, 0.0f);
    EXPECT_EQ(platform::ControlText(StringX), "12");  // shown again as converted
}

struct Refusal {
    const char* type;
    int control;  // input emptied before storing
    const char* box;
};

TEST_F(StoreRecordTest, EveryEmptyRequiredInputIsRefusedWithItsMessage) {
    const Refusal refusals[] = {
        {"1 Mouse", StringY, "Input required: No mouse y entered"},
        {"2 Keyboard", StringKeyText, "Input required: No string entered"},
        {"3 Delay", StringDelay, "Input required: No delay time entered"},
        {"4 Loop", StringRepetitions, "Input required: No loop repetitions entered"},
        {"5 Comport", StringTelegram, "Input required: No telegram entered"},
        {"8 Execute", StringExecFile, "Input required: No execute file selected"},
    };
    for (const Refusal& row : refusals) {
        SCOPED_TRACE(row.type);
        ShowList(Delay(1.0f));
        ChooseType(row.type);
        headless::UserTypes(row.control, "");
        SaveExpecting(row.box);
    }
}

TEST_F(StoreRecordTest, EmptyChoosersAreRefusedWithTheirMessages) {
    const Refusal refusals[] = {
        {"1 Mouse", ComboClick, "Input required: No click type selected"},
        {"4 Loop", ComboLoopFrom, "Input required: No loop from step no selected"},
        {"5 Comport", ComboPort, "Input required: No COM port selected"},
        {"5 Comport", Combo_COMtype, "Input required: No COM type selected"},
        {"6 Jump", ComboJumpTo, "Input required: No jump no selected"},
    };
    for (const Refusal& row : refusals) {
        SCOPED_TRACE(row.box);
        ShowList(Delay(1.0f));
        ChooseType(row.type);
        headless::UserTypes(StringTelegram, "9600 N 8 1");
        SetChooserText(ComboPort, "COM1");  // emptied by an earlier row
        SetChooserText(row.control, "");
        SaveExpecting(row.box);
    }
}

TEST_F(StoreRecordTest, KeyKindWithoutKeyIsRefusedBeforeTheTextIsEmptied) {
    StepRecord step;
    step.RECORDtype = TypeKeyboard;
    step.KeyType = "Key";
    step.KeyString = "old text";
    ShowList(step);
    EXPECT_EQ(SaveActualRecord(), 0);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Input required: No key entered"});
    EXPECT_EQ(RList.At(0).KeyString, "old text");

    SetChooserText(ComboKeyName, "{f2}");
    EXPECT_EQ(SaveActualRecord(), 1);
    EXPECT_EQ(RList.At(0).KeyName, "{F2}");
    EXPECT_EQ(RList.At(0).KeyString, "");
}

TEST_F(StoreRecordTest, StringKindStoresTheTextAndEmptiesTheKey) {
    StepRecord step;
    step.RECORDtype = TypeKeyboard;
    step.KeyType = "String";
    step.KeyName = "{F2}";
    ShowList(step);
    headless::UserTypes(StringKeyText, " hello ");
    EXPECT_EQ(SaveActualRecord(), 1);
    EXPECT_EQ(RList.At(0).KeyName, "");
    EXPECT_EQ(RList.At(0).KeyString, " hello ");  // stored as typed, untrimmed
}

TEST_F(StoreRecordTest, DelayTextIsReadWithACommaAsPoint) {
    struct Row {
        const char* typed;
        float stored;
        const char* shown;
    } rows[] = {
        {"1,5", 1.5f, "1.5"}, {"abc", 0.0f, "0.0"}, {"2", 2.0f, "2.0"}, {"0.25", 0.25f, "0.2"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        ShowList(Delay(1.0f));
        headless::UserTypes(StringDelay, row.typed);
        EXPECT_EQ(SaveActualRecord(), 1);
        EXPECT_FLOAT_EQ(RList.At(0).DelayTime, row.stored);
        EXPECT_EQ(platform::ControlText(StringDelay), row.shown);
    }
}

TEST_F(StoreRecordTest, EmptyStateAndMessageTextsAreStored) {
    for (const char* type : {"7 State", "9 Message"}) {
        SCOPED_TRACE(type);
        ShowList(Delay(1.0f));
        ChooseType(type);
        headless::UserTypes(StringStateText, "");
        headless::UserTypes(StringMessageText, "");
        EXPECT_EQ(SaveActualRecord(), 1);
        EXPECT_TRUE(TakeBoxes().empty());
    }
}

TEST_F(StoreRecordTest, PortParametersAreCheckedInOrder) {
    struct Row {
        const char* parameters;
        const char* box;  // "" accepted
    } rows[] = {
        {"9600 N 8 1", ""},
        {"115200 E 7 2", ""},
        {"9600 N 8 1.5", ""},
        {"9600 N 8 1 extra", ""},
        {"9600 n 8 1", "Wrong values: Wrong parity (N, O, E)"},
        {"9600  N 8 1", "Wrong values: Wrong parity (N, O, E)"},
        {"9601 N 8 1",
         "Wrong values: Wrong baudrate (50, 75, 110, 150, 300, 600, 1200, 1800, 2400, 4800, 9600, "
         "19200, 38400, 57600, 115200)"},
        {"9600 X 4 3", "Wrong values: Wrong parity (N, O, E)"},
        {"9600 O 9 1", "Wrong values: Wrong dataformat (5, 6, 7, 8)"},
        {"9600 O 5", "Wrong values: Wrong stopbitx (1, 2)"},
        {"9600 O 5 3", "Wrong values: Wrong stopbitx (1, 2)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.parameters);
        ShowList(Comport("Initialise", "9600 N 8 1"));
        headless::UserTypes(StringTelegram, row.parameters);
        SaveExpecting(row.box);
        EXPECT_EQ(RList.At(0).ComValue, row.parameters);  // set before the check
    }
}

TEST_F(StoreRecordTest, TelegramsOfOtherComTypesAreNotChecked) {
    ShowList(Comport("Hex", "zz"));
    EXPECT_EQ(SaveActualRecord(), 1);
    EXPECT_EQ(RList.At(0).ComType, "Hex");
    EXPECT_EQ(RList.At(0).ComPort, "COM2");
}

TEST_F(StoreRecordTest, StoresTheStepTheFrameShowsWhereverTheListIs) {
    ShowList(Delay(1.0f), 3);
    headless::UserTypes(StringDelay, "4");
    RList.Select(2);
    EXPECT_EQ(SaveActualRecord(), 1);
    EXPECT_FLOAT_EQ(RList.At(0).DelayTime, 4.0f);
    EXPECT_FLOAT_EQ(RList.At(2).DelayTime, 1.0f);
    EXPECT_EQ(RList.Index(), 0);
}

TEST_F(StoreRecordTest, NothingIsStoredWithoutAShownStep) {
    RList.Clear();
    EXPECT_EQ(SaveActualRecord(), 0);
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(StoreRecordTest, WaitInputsAreCheckedInRecordOrder) {
    struct Row {
        const char* kind;
        const char* value;
        const char* seconds;
        const char* box;  // "" stored
    } rows[] = {
        {"Window", "Save As", "10,5", ""},
        {"Pixel", "812 440 33cc33 10", "0", ""},
        {"Answer", "COM5 OK", "2", ""},
        {"", "Save As", "1", "Wait: Nothing to wait for selected"},
        {"Active", "", "1", "Wait: No value entered"},
        {"Pixel", "812 440 green", "1",
         "Wait: Wrong pixel value (X Y RRGGBB, or X Y RRGGBB V with V 0 to 255)"},
        {"Answer", "OK", "1", "Wait: Wrong answer value (the port and the text: COM1 OK)"},
        {"NoWindow", "Save", "86401", "Wait: Wrong wait time (seconds from 0 to 86400)"},
        {"NoWindow", "Save", "", "Wait: Wrong wait time (seconds from 0 to 86400)"},
        {"Pixel", "-1200 40 FF0000", "2", ""},  // a monitor left of the main one
        {"Image", "8 badge.png", "2", ""},
        {"Image", "8 gone.png", "2", "Wait: Can't read picture \"gone.png\""},
        // The ";" would end the field: the step would come back as another one.
        {"Window", "Report; Final", "3", "Wait: The value must not contain \";\""},
    };
    headless::PutPicture("C:\\Users\\tester\\badge.png", Badge());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        ShowList(Delay(1.0f), 3);
        ChooseType("10 Wait");
        SetChooserText(ComboWaitFor, row.kind);
        headless::UserTypes(StringWaitValue, row.value);
        headless::UserTypes(StringWaitTime, row.seconds);
        SetChooserText(ComboWaitElse, "3");
        const bool stored = SaveExpecting(row.box);
        EXPECT_EQ(RList.At(0).WaitValue.find(';'), std::string::npos);
        if (stored) {
            EXPECT_EQ(RList.At(0).WaitValue, row.value);
            EXPECT_EQ(RList.At(0).WaitElse, 3);
            EXPECT_EQ(platform::ControlText(StringWaitTime), row.seconds[0] == '1'   ? "10.5"
                                                             : row.seconds[0] == '0' ? "0.0"
                                                                                     : "2.0");
        }
    }
}

// The picture is read where a list not saved yet finds it: the current folder.
TEST_F(StoreRecordTest, ImageInputsAreCheckedInRecordOrder) {
    const std::string folder = "C:\\Users\\tester\\";
    headless::PutPicture(folder + "badge.png", Badge());
    headless::PutPicture(folder + "plain.png", Badge(4, 4, 0xFF808080u, 0xFF808080u));
    headless::PutPicture(folder + "wide.png", Badge(1921, 2));
    struct Row {
        const char* action;
        const char* value;
        const char* x;
        const char* y;
        const char* box;  // "" stored
    } rows[] = {
        {"L_Click", "0 badge.png", "0", "0", ""},
        {"Move", "255 badge.png", "-12", "7", ""},
        {"", "0 badge.png", "0", "0", "Image: No action selected"},
        {"R_Click", "", "0", "0", "Image: No picture entered"},
        {"R_Click", "256 badge.png", "0", "0",
         "Image: Wrong picture value (a tolerance from 0 to 255, a blank and the picture file: 0 "
         "ok.png)"},
        {"M_Click", "0 gone.png", "0", "0", "Image: Can't read picture \"gone.png\""},
        {"M_Click", "0 plain.png", "0", "0",
         "Image: Picture \"plain.png\" is all one colour: it would match any plain area"},
        {"M_Click", "0 wide.png", "0", "0",
         "Image: Picture \"wide.png\" is larger than the screen"},
        {"Ldbl_Click", "0 badge.png", "4.5", "0", "Image: Offset X is not a whole number"},
        {"Ldbl_Click", "0 badge.png", "0", "", "Image: Offset Y is not a whole number"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.box);
        ShowList(Delay(1.0f));
        ChooseType("12 Image");
        SetChooserText(ComboImageDo, row.action);
        headless::UserTypes(StringImageValue, row.value);
        headless::UserTypes(StringImageX, row.x);
        headless::UserTypes(StringImageY, row.y);
        if (SaveExpecting(row.box)) {
            EXPECT_EQ(RList.At(0).ImageValue + " " + IntegerText(RList.At(0).ImageX),
                      std::string(row.value) + " " + row.x);
        }
    }
}

// A ";" would end the field in the step file, and the step would come back as another one: a
// typed text with one is refused, the description in the box of the type's other refusals, and
// never reaches the record.
TEST_F(StoreRecordTest, TypedTextsWithASemicolonAreRefused) {
    const char* const kNoSemicolon = " must not contain \";\"";
    const struct {
        const char* type;
        int control;
        std::string StepRecord::*field;
        std::string box;
    } rows[] = {
        {"1 Mouse", StringDescription, &StepRecord::Remarks,
         std::string("Wrong values: The description") + kNoSemicolon},
        {"10 Wait", StringDescription, &StepRecord::Remarks,
         std::string("Wait: The description") + kNoSemicolon},
        {"2 Keyboard", StringKeyText, &StepRecord::KeyString,
         std::string("Wrong values: The text to type") + kNoSemicolon + "; {SEMICOLON} types one"},
        {"5 Comport", StringTelegram, &StepRecord::ComValue,
         std::string("Wrong values: The telegram") + kNoSemicolon},
        {"7 State", StringStateText, &StepRecord::StateText,
         std::string("Wrong values: The state text") + kNoSemicolon},
        {"8 Execute", StringExecFile, &StepRecord::ExecFile,
         std::string("Wrong values: The file path") + kNoSemicolon},
        {"9 Message", StringMessageText, &StepRecord::MessageText,
         std::string("Wrong values: The message text") + kNoSemicolon},
        {"12 Image", StringImageValue, &StepRecord::ImageValue,
         std::string("Image: The value") + kNoSemicolon},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.type);
        StepRecord old = Delay(2.0f);
        old.Remarks = "old";
        ShowList(old);
        ChooseType(row.type);
        headless::UserTypes(row.control, "first; second");
        SaveExpecting(row.box);
        EXPECT_EQ(RList.At(0).*row.field, old.*row.field);
    }
}

// Refused in record order in a box titled "Window"; an action without a point keeps 0 there.
TEST_F(StoreRecordTest, WindowInputsAreCheckedInRecordOrder) {
    const struct {
        const char *action, *title, *x, *y, *box;  // box "": stored as "x y"
    } rows[] = {
        {"Move", "Calc", "-1280", "80", ""},
        {"Activate", "Calc", "junk", "", ""},
        {"", "Calc", "1", "1", "Nothing to do selected"},
        {"Close", "", "0", "0", "No window title entered"},
        {"Close", "Save; As", "0", "0", "The window title must not contain \";\""},
        {"R_Click", "Calc", "4x", "1", "X is not a number"},
        {"Size", "Calc", "400", "0", "The width and the height must be at least 1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.box);
        ShowList(Delay(1.0f));
        ChooseType("11 Window");
        SetChooserText(ComboWindowDo, row.action);
        headless::UserTypes(StringWindowTitle, row.title);
        headless::UserTypes(StringWindowX, row.x);
        headless::UserTypes(StringWindowY, row.y);
        const bool stored =
            SaveExpecting(row.box[0] == '\0' ? "" : std::string("Window: ") + row.box);
        const StepRecord& step = RList.At(0);
        if (stored) {
            EXPECT_EQ(step.WindowDo + step.WindowTitle, std::string(row.action) + row.title);
            EXPECT_EQ(IntegerText(step.WindowX) + " " + IntegerText(step.WindowY),
                      row.action == std::string("Move") ? "-1280 80" : "0 0");
        }
    }
}

}  // namespace
