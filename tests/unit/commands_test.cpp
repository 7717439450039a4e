// Menu commands of the main window: the run lock, Exit and About.

#include "Quorvane/Commands.h"

#include <string>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "editor/StepFileCommands.h"
#include "platform/headless/headless.h"
#include "steps/StepFile.h"
#include "tests/unit/support/Fixture.h"

namespace {

class MenuCommandsTest : public QuorvaneTest {};

// clang-format off
constexpr int kLockedControls[] = {
    ButtonFirst,       ButtonPrevious,    ButtonSelectStep, ButtonNext,         ButtonLast,
    ButtonNewEnd,      ButtonNewFront,    ButtonDelete,     ComboType,          StringDescription,
    ComboClick,        StringX,           StringY,          Combo_KeyboardType, StringKeyText,
    ComboKeyName,      StringDelay,       ComboLoopFrom,    StringRepetitions,  ComboPort,
    Combo_COMtype,     StringTelegram,    ComboJumpTo,      StringStateText,    StringExecFile,
    ButtonExecFile,    ComboWaitFor,      StringWaitValue,  StringWaitTime,     ComboWaitElse,
    ComboWindowDo,     StringWindowTitle, StringWindowX,    StringWindowY,      ComboImageDo,
    StringImageValue,  ButtonImageCapture, StringImageX,    StringImageY};
// clang-format on
constexpr int kLockedItems[] = {MenuOpen, MenuNew,    MenuSave, MenuSaveAs,
                                MenuExit, MenuEditor, MenuAbout};
// Left alone by the lock: the run buttons and menu, the message text input and what only shows.
constexpr int kUnlockedControls[] = {ButtonPlay, ButtonPause, ButtonStop, StringMessageText};
constexpr int kShowingControls[] = {TextState,     TextFile,          FrameStep,
                                    TextCountdown, TextWaitCountdown, LabelWaitValue,
                                    TextMouseX,    LabelWindowPoint,  LabelImageValue};

TEST_F(MenuCommandsTest, LockDisablesExactlyItsTable) {
    NewStepFile();
    LockControls(1);
    for (int control : kLockedControls) {
        EXPECT_FALSE(headless::Control(control).enabled) << control;
    }
    for (int item : kLockedItems) {
        EXPECT_FALSE(platform::IsMenuItemEnabled(item)) << item;
    }
    EXPECT_TRUE(headless::Control(StringMessageText).enabled);
    EXPECT_TRUE(headless::Control(ButtonPlay).enabled);
    EXPECT_TRUE(platform::IsMenuItemEnabled(MenuPlay));
    for (int control : kShowingControls) {
        EXPECT_TRUE(headless::Control(control).enabled) << control;
    }
    for (int control : kLockedControls) {
        EXPECT_TRUE(IsLockedDuringRun(control)) << control;
    }
    for (int control : kUnlockedControls) {
        EXPECT_FALSE(IsLockedDuringRun(control)) << control;
    }
}

TEST_F(MenuCommandsTest, UnlockEnablesSaveEvenForANewListAndKeepsHiddenThingsHidden) {
    NewStepFile();
    ASSERT_FALSE(platform::IsMenuItemEnabled(MenuSave));
    LockControls(1);
    LockControls(0);
    EXPECT_TRUE(platform::IsMenuItemEnabled(MenuSave));
    for (int control : kLockedControls) {
        EXPECT_TRUE(headless::Control(control).enabled) << control;
    }
    EXPECT_TRUE(headless::Control(ContainerMouse).hidden);
    EXPECT_TRUE(headless::Control(ComboKeyName).hidden);
    EXPECT_FALSE(headless::Control(ContainerDelay).hidden);
    for (int control : kUnlockedControls) {
        EXPECT_EQ(headless::Control(control).enabled,
                  control != ButtonPause && control != ButtonStop)
            << control;
    }
}

TEST_F(MenuCommandsTest, ExitAnsweredNoKeepsEverything) {
    headless::ScriptYesNo(false);
    ExitProgram();
    const auto boxes = headless::Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, headless::BoxKind::YesNo);
    EXPECT_EQ(boxes[0].title, "Confirm");
    EXPECT_EQ(boxes[0].text, "Exit program?");
    EXPECT_TRUE(headless::Window(FormMAIN).open);
}

TEST_F(MenuCommandsTest, ExitAnsweredYesEndsTheProcessWithCodeZero) {
    headless::ScriptYesNo(true);
    EXPECT_EXIT(ExitProgram(), ::testing::ExitedWithCode(0), "");
}

TEST_F(MenuCommandsTest, AboutNamesTheProductAndVersion) {
    ShowAbout();
    EXPECT_EQ(TakeBoxes(),
              (std::vector<std::string>{"About: " + std::string(26, ' ') + "Quorvane   V2.2.0"}));
}

}  // namespace
