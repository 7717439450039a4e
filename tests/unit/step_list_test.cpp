// Step list commands: moving, adding, inserting, deleting and picking steps by number.

#include <string>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "Quorvane/Commands.h"
#include "Quorvane/Quorvane.h"
#include "editor/EditorPanel.h"
#include "editor/StepFileCommands.h"
#include "platform/headless/headless.h"
#include "steps/RList.h"
#include "steps/StepFile.h"
#include "tests/unit/support/Fixture.h"

namespace {

class StepListTest : public QuorvaneTest {
protected:
    // A list of `count` State steps whose texts are "s1", "s2", ..., step 1 shown.
    void MakeStates(int count) {
        NewStepFile();
        RList.Clear();
        for (int i = 1; i <= count; ++i) {
            StepRecord& step = RList.AddAfterCurrent();
            step.RECORDtype = TypeState;
            step.StateText = "s" + std::to_string(i);
        }
        RList.First();
        GetValues();
        headless::ClearBoxes();
    }

    std::string Shown() { return headless::Control(StringStateText).text; }
    std::string Frame() { return headless::Control(FrameStep).text; }

    // Makes the panel hold a Mouse step with an empty X, which the store refuses.
    void BreakThePanel() {
        headless::UserSelects(ComboType, 0);
        FormMAIN_ComboType_Event(0);
        headless::UserTypes(StringX, "");
    }
};

TEST_F(StepListTest, MovingStoresThePanelFirst) {
    MakeStates(3);
    headless::UserTypes(StringStateText, "changed");
    NextStep();
    EXPECT_EQ(Frame(), "2");
    EXPECT_EQ(RList.At(0).StateText, "changed");
    LastStep();
    EXPECT_EQ(Frame(), "3");
    EXPECT_EQ(Shown(), "s3");
    FirstStep();
    EXPECT_EQ(Shown(), "changed");
}

TEST_F(StepListTest, PreviousOnTheFirstAndNextOnTheLastStayButStillStore) {
    MakeStates(2);
    headless::UserTypes(StringStateText, "first");
    PreviousStep();
    EXPECT_EQ(Frame(), "1");
    EXPECT_EQ(RList.At(0).StateText, "first");
    LastStep();
    headless::UserTypes(StringStateText, "last");
    NextStep();
    EXPECT_EQ(Frame(), "2");
    EXPECT_EQ(RList.At(1).StateText, "last");
}

TEST_F(StepListTest, RefusedStoreCancelsTheMove) {
    MakeStates(3);
    BreakThePanel();
    NextStep();
    EXPECT_EQ(Frame(), "1");
    EXPECT_EQ(RList.Index(), 0);
    EXPECT_EQ(TakeBoxes(), (std::vector<std::string>{"Input required: No mouse x entered"}));
    NewStepAtEnd();
    EXPECT_EQ(RList.Count(), 3);
}

TEST_F(StepListTest, NewStepAtEndAddsADelayAfterTheLast) {
    MakeStates(5);
    NextStep();
    NewStepAtEnd();
    ASSERT_EQ(RList.Count(), 6);
    EXPECT_EQ(Frame(), "6");
    EXPECT_EQ(RList.At(5), NewStepRecord());
    EXPECT_EQ(headless::Control(ComboType).items[headless::Control(ComboType).selected], "3 Delay");
    EXPECT_EQ(headless::Control(StringDelay).text, "0.5");
    EXPECT_EQ(headless::Control(StringDescription).text, "");
}

TEST_F(StepListTest, NewStepInFrontOfTheFirstBecomesStepOne) {
    MakeStates(2);
    NewStepInFront();
    ASSERT_EQ(RList.Count(), 3);
    EXPECT_EQ(Frame(), "1");
    EXPECT_EQ(RList.At(0).RECORDtype, TypeDelay);
    EXPECT_EQ(RList.At(1).StateText, "s1");
}

TEST_F(StepListTest, InsertingKeepsStepNumbersInsideRecords) {
    MakeStates(4);
    RList.At(0).RECORDtype = TypeJump;
    RList.At(0).JumpTo = 4;
    GetValues();
    LastStep();
    NewStepInFront();
    EXPECT_EQ(RList.At(0).JumpTo, 4);
}

TEST_F(StepListTest, DeleteOnAOneStepListShowsInfoAndChangesNothing) {
    NewStepFile();
    headless::ClearBoxes();
    DeleteStep();
    EXPECT_EQ(TakeBoxes(),
              (std::vector<std::string>{"Info: Only one step left! Can't delete actual step!"}));
    EXPECT_EQ(RList.Count(), 1);
}

TEST_F(StepListTest, DeletingTheFirstShowsTheFormerSecondAsStepOne) {
    MakeStates(5);
    DeleteStep();
    EXPECT_EQ(RList.Count(), 4);
    EXPECT_EQ(Frame(), "1");
    EXPECT_EQ(Shown(), "s2");
}

TEST_F(StepListTest, DeletingTheLastShowsTheOneBefore) {
    MakeStates(5);
    LastStep();
    DeleteStep();
    EXPECT_EQ(Frame(), "4");
    EXPECT_EQ(Shown(), "s4");
}

TEST_F(StepListTest, PopupOpensBesideTheFrameWithEveryNumber) {
    MakeStates(12);
    const platform::Rect outer = platform::WindowOuterRect(FormMAIN);
    SelectStep();
    const headless::WindowState popup = headless::Window(WindowSelectStep);
    ASSERT_TRUE(popup.open);
    EXPECT_EQ(popup.shape.x, outer.left + 74);
    EXPECT_EQ(popup.shape.y, outer.top + 105);
    EXPECT_EQ(popup.shape.clientWidth, 60);
    EXPECT_EQ(popup.shape.clientHeight, 90);
    EXPECT_EQ(popup.shape.style, platform::WindowStyle::Borderless);
    EXPECT_EQ(popup.shape.owner, FormMAIN);
    const headless::ControlState list = headless::Control(ListSelectStep);
    EXPECT_EQ(list.kind, platform::ControlKind::ListBox);
    EXPECT_EQ(list.width, 60);
    EXPECT_EQ(list.height, 90);
    ASSERT_EQ(list.items.size(), 12u);
    EXPECT_EQ(list.items.front(), "1");
    EXPECT_EQ(list.items.back(), "12");
    EXPECT_FALSE(headless::Window(FormMAIN).enabled);
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(StepListTest, PickShowsThatStepAndClosesThePopup) {
    MakeStates(4);
    SelectStep();
    HandleEvent(platform::Event{platform::EventKind::Close, WindowSelectStep, -1, 0, 0});
    EXPECT_TRUE(headless::Window(WindowSelectStep).open);
    headless::UserSelects(ListSelectStep, 2);
    StepSelected();
    EXPECT_FALSE(headless::Window(WindowSelectStep).open);
    EXPECT_TRUE(headless::Window(FormMAIN).enabled);
    EXPECT_EQ(Frame(), "3");
    EXPECT_EQ(Shown(), "s3");
}

TEST_F(StepListTest, PickGoesAheadWhenTheStoreIsRefused) {
    MakeStates(4);
    BreakThePanel();
    SelectStep();
    headless::UserSelects(ListSelectStep, 2);
    StepSelected();
    EXPECT_EQ(TakeBoxes(), (std::vector<std::string>{"Input required: No mouse x entered"}));
    EXPECT_EQ(Frame(), "3");
    EXPECT_EQ(Shown(), "s3");
    EXPECT_EQ(RList.At(0).RECORDtype, TypeMouse);
}

TEST_F(StepListTest, PickWithoutSelectionShowsStepOne) {
    MakeStates(3);
    LastStep();
    SelectStep();
    StepSelected();
    EXPECT_EQ(Frame(), "1");
}

}  // namespace
