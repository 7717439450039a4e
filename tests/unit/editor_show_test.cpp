// Showing a record: every type's controls, the step-number choosers and unknown types.

#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "Quorvane/Quorvane.h"
#include "editor/EditorPanel.h"
#include "platform/window.h"
#include "steps/RList.h"
#include "tests/unit/support/Fixture.h"

namespace {

class ShowRecordTest : public QuorvaneTest {
protected:
    // A list of `count` Delay steps with `step` at index `at`, which is made current and shown.
    void ShowInList(const StepRecord& step, int count = 1, int at = 0) {
        StepRecord delay;
        delay.RECORDtype = TypeDelay;
        delay.DelayTime = 1.0f;
        std::vector<StepRecord> steps(static_cast<size_t>(count), delay);
        steps[static_cast<size_t>(at)] = step;
        ShowSteps(steps, at);
    }
};

TEST_F(ShowRecordTest, ShowsTheNumberTypeFieldsAndRemarks) {
    StepRecord step;
    step.RECORDtype = TypeMouse;
    step.Remarks = "click it";
    step.MouseClick = "ldbl_click";
    step.MouseX = -20;
    step.MouseY = 50;
    ShowInList(step, 4, 2);
    EXPECT_EQ(headless::Control(FrameStep).text, "3");
    EXPECT_EQ(platform::ControlText(ComboType), "1 Mouse");
    EXPECT_EQ(VisibleContainers(), std::vector<int>{ContainerMouse});
    EXPECT_EQ(platform::ControlText(ComboClick), "Ldbl_Click");
    EXPECT_EQ(platform::ControlText(StringX), "-20");
    EXPECT_EQ(platform::ControlText(StringY), "50");
    EXPECT_EQ(platform::ControlText(StringDescription), "click it");
}

TEST_F(ShowRecordTest, DelayShowsOneDecimal) {
    for (auto [seconds, shown] : {std::pair{2.0f, "2.0"}, {0.5f, "0.5"}, {1.26f, "1.3"}}) {
        StepRecord step;
        step.RECORDtype = TypeDelay;
        step.DelayTime = seconds;
        ShowInList(step);
        EXPECT_EQ(platform::ControlText(StringDelay), shown);
    }
}

TEST_F(ShowRecordTest, KeyboardShowsTheInputItsKindSelects) {
    StepRecord step;
    step.RECORDtype = TypeKeyboard;
    step.KeyType = "Key";
    step.KeyName = "{ENTER}";
    step.KeyString = "unused";
    ShowInList(step);
    EXPECT_EQ(platform::ControlText(ComboKeyName), "{ENTER}");
    EXPECT_EQ(platform::ControlText(TextKeyLabel), "Key:");
    EXPECT_TRUE(headless::IsControlVisible(ComboKeyName));
    EXPECT_FALSE(headless::IsControlVisible(StringKeyText));

    step.KeyType = "String";
    ShowInList(step);
    EXPECT_EQ(platform::ControlText(StringKeyText), "unused");
    EXPECT_EQ(platform::ControlText(TextKeyLabel), "String:");
    EXPECT_FALSE(headless::IsControlVisible(ComboKeyName));
    EXPECT_TRUE(headless::IsControlVisible(StringKeyText));
}

TEST_F(ShowRecordTest, ComportShowsItsHint) {
    StepRecord step;
    step.RECORDtype = TypeComport;
    step.ComPort = "COM7";
    step.ComType = "Hex";
    step.ComValue = "F4 03";
    ShowInList(step);
    EXPECT_EQ(platform::ControlText(ComboPort), "COM7");
    EXPECT_EQ(platform::ControlText(Combo_COMtype), "Hex");
    EXPECT_EQ(platform::ControlText(StringTelegram), "F4 03");
    EXPECT_EQ(platform::ControlText(TextComHint), "Hex (F4 03 28 ..)");
    EXPECT_TRUE(TakeBoxes().empty());

    step.ComType = "";
    ShowInList(step);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Error: Combo_COMtype_Events Case unknown"});
}

TEST_F(ShowRecordTest, TextTypesShowTheirTexts) {
    struct Row {
        int32_t type;
        int control;
        int container;
    } rows[] = {{TypeState, StringStateText, ContainerState},
                {TypeExecute, StringExecFile, ContainerExecute},
                {TypeMessage, StringMessageText, ContainerMessage}};
    for (const Row& row : rows) {
        StepRecord step;
        step.RECORDtype = row.type;
        step.StateText = step.ExecFile = step.MessageText = "text " + std::to_string(row.type);
        ShowInList(step);
        EXPECT_EQ(platform::ControlText(row.control), "text " + std::to_string(row.type));
        EXPECT_EQ(VisibleContainers(), std::vector<int>{row.container});
    }
}

TEST_F(ShowRecordTest, WaitShowsItsFieldsAndTheLabelOfItsKind) {
    StepRecord step;
    step.RECORDtype = TypeWait;
    step.WaitFor = "Pixel";
    step.WaitValue = "1 2 33CC33";
    step.WaitTime = 2.25f;
    step.WaitElse = 3;
    ShowInList(step, 3);
    EXPECT_EQ(VisibleContainers(), std::vector<int>{ContainerWait});
    EXPECT_EQ(platform::ControlText(ComboType), "10 Wait");
    EXPECT_EQ(platform::ControlText(ComboWaitFor), "Pixel");
    EXPECT_EQ(platform::ControlText(StringWaitValue), "1 2 33CC33");
    EXPECT_EQ(platform::ControlText(StringWaitTime), "2.2");
    EXPECT_EQ(headless::Control(ComboWaitElse).items,
              (std::vector<std::string>{"0", "1", "2", "3"}));
    EXPECT_EQ(platform::ControlText(ComboWaitElse), "3");
    EXPECT_EQ(platform::ControlText(LabelWaitValue), "Pixel X Y RRGGBB [tolerance]:");
}

TEST_F(ShowRecordTest, StepNumberChoosersHoldOneEntryPerStep) {
    StepRecord step;
    step.RECORDtype = TypeDelay;
    ShowInList(step, 3);
    for (int chooser : {ComboLoopFrom, ComboJumpTo}) {
        EXPECT_EQ(headless::Control(chooser).items, (std::vector<std::string>{"1", "2", "3"}));
        EXPECT_EQ(platform::ControlText(chooser), "1");
    }
    ShowInList(step, 5);
    EXPECT_EQ(headless::Control(ComboJumpTo).items.size(), 5u);
    ShowInList(step, 2);
    EXPECT_EQ(headless::Control(ComboLoopFrom).items, (std::vector<std::string>{"1", "2"}));
}

TEST_F(ShowRecordTest, StepNumbersOutsideTheListShowOne) {
    struct Row {
        int32_t number;
        const char* shown;
    } rows[] = {{7, "1"}, {0, "1"}, {-2, "1"}, {6, "1"}, {5, "5"}, {3, "3"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.number);
        StepRecord jump;
        jump.RECORDtype = TypeJump;
        jump.JumpTo = row.number;
        ShowInList(jump, 5);
        EXPECT_EQ(platform::ControlText(ComboJumpTo), row.shown);

        StepRecord loop;
        loop.RECORDtype = TypeLoop;
        loop.LoopFrom = row.number;
        loop.LoopCount = 4;
        ShowInList(loop, 5);
        EXPECT_EQ(platform::ControlText(ComboLoopFrom), row.shown);
        EXPECT_EQ(platform::ControlText(StringRepetitions), "4");
    }
}

TEST_F(ShowRecordTest, TheFirstStepBecomesCurrentWhenNoneIs) {
    StepRecord step;
    step.RECORDtype = TypeDelay;
    ShowInList(step, 3, 1);
    RList.Select(-1);
    GetValues();
    EXPECT_EQ(RList.Index(), 0);
    EXPECT_EQ(headless::Control(FrameStep).text, "1");
}

TEST_F(ShowRecordTest, UnknownTypesShowNoContainerAndAMessage) {
    for (int32_t type : {0, 13, -1}) {
        SCOPED_TRACE(type);
        StepRecord step;
        step.RECORDtype = type;
        step.Remarks = "hidden";
        SetChooserText(ComboType, "4 Loop");
        platform::SetControlText(StringDescription, "old");
        TakeBoxes();
        ShowInList(step);
        EXPECT_TRUE(VisibleContainers().empty());
        EXPECT_EQ(platform::ControlText(StringDescription), "");
        EXPECT_EQ(platform::ControlText(ComboType), "4 Loop");
        EXPECT_EQ(TakeBoxes(),
                  std::vector<std::string>{"Error: GetValues() Unknown RList()\\RECORDtype: " +
                                           std::to_string(type)});
        EXPECT_EQ(RList.At(0).RECORDtype, type);
    }
}

TEST_F(ShowRecordTest, AnEmptyListShowsNothing) {
    RList.Clear();
    GetValues();
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_TRUE(VisibleContainers().empty());
}

}  // namespace
