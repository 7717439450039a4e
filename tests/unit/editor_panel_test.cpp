// The editor panel as built, the type switch, the drop-down list rules and the three choosers.

#include <optional>
#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "Quorvane/Quorvane.h"
#include "editor/EditorPanel.h"
#include "platform/files.h"
#include "platform/pictures.h"
#include "platform/window.h"
#include "steps/Document.h"
#include "steps/PictureValue.h"
#include "steps/RList.h"
#include "tests/unit/support/Fixture.h"

namespace {

using platform::ControlKind;

class EditorPanelTest : public QuorvaneTest {
protected:
    void ShowStep(const StepRecord& step) { ShowSteps({step}); }
    void ChooseType(const char* text) {
        SetChooserText(ComboType, text);
        FormMAIN_ComboType_Event(0);
    }
};

// [SECTION] Built panel

TEST_F(EditorPanelTest, EveryControlStandsAtItsPlaceWithItsContent) {
    const Placement rows[] = {
        {ContainerMouse, ControlKind::Container, ContainerStep, 5, 25, 210, 95, ""},
        {StringX, ControlKind::DigitsInput, ContainerMouse, 50, 35, 50, 20, "50"},
        {LabelClick, ControlKind::TextRight, ContainerMouse, 5, 15, 40, 15, "Click:"},
        {HintValues, ControlKind::Text, ContainerMouse, 155, 70, 45, 15, "values"},
        {ComboKeyName, ControlKind::DropDownList, ContainerKeyboard, 5, 60, 200, 20, ""},
        {TextKeyLabel, ControlKind::Text, ContainerKeyboard, 5, 45, 40, 15, "String:"},
        {StringDelay, ControlKind::Input, ContainerDelay, 55, 15, 65, 20, "0.5"},
        {TextCountdown, ControlKind::Text, ContainerDelay, 65, 55, 55, 20, "0"},
        {StringRepetitions, ControlKind::DigitsInput, ContainerLoop, 110, 50, 75, 20, "1"},
        {TextComHint, ControlKind::Text, ContainerComport, 5, 45, 195, 15,
         "Initialise: (9600 N 8 1)"},
        {LabelJumpTo, ControlKind::TextRight, ContainerJump, 15, 45, 95, 15, "Jump to step:"},
        {LabelStateText, ControlKind::Text, ContainerState, 5, 30, 140, 15, "State text:"},
        {ButtonExecFile, ControlKind::Button, ContainerExecute, 150, 20, 55, 20, "File...."},
        {LabelMessageText, ControlKind::Text, ContainerMessage, 5, 30, 140, 15, "Message text:"},
    };
    ExpectPlacements(rows);
}

TEST_F(EditorPanelTest, StartsWithEveryContainerAndTheKeyChooserHidden) {
    EXPECT_TRUE(VisibleContainers().empty());
    EXPECT_TRUE(headless::Control(ComboKeyName).hidden);
    EXPECT_FALSE(headless::Control(StringKeyText).hidden);
    EXPECT_TRUE(headless::Control(ContainerStep).hidden);
}

// [SECTION] Type switch

TEST_F(EditorPanelTest, SwitchingTypesKeepsEachContainersValues) {
    StepRecord mouse;
    mouse.RECORDtype = TypeMouse;
    mouse.MouseClick = "R_Click";
    mouse.MouseX = 300;
    mouse.MouseY = 400;
    ShowStep(mouse);

    ChooseType("3 Delay");
    EXPECT_EQ(VisibleContainers(), std::vector<int>{ContainerDelay});
    ChooseType("1 Mouse");
    EXPECT_EQ(VisibleContainers(), std::vector<int>{ContainerMouse});
    EXPECT_EQ(platform::ControlText(ComboClick), "R_Click");
    EXPECT_EQ(platform::ControlText(StringX), "300");
    EXPECT_EQ(platform::ControlText(StringY), "400");
    EXPECT_EQ(RList.At(0).RECORDtype, TypeMouse);
}

TEST_F(EditorPanelTest, AComportNeverShownShowsItsInitialContent) {
    StepRecord delay;
    delay.RECORDtype = TypeDelay;
    delay.DelayTime = 1.0f;
    ShowStep(delay);
    ChooseType("5 Comport");
    EXPECT_EQ(VisibleContainers(), std::vector<int>{ContainerComport});
    EXPECT_EQ(platform::ControlText(ComboPort), "COM1");
    EXPECT_EQ(platform::ControlText(Combo_COMtype), "Initialise");
    EXPECT_EQ(platform::ControlText(StringTelegram), "");
    EXPECT_EQ(platform::ControlText(TextComHint), "Initialise: (9600 N 8 1)");
}

TEST_F(EditorPanelTest, CapturedMouseValuesShowAfterSwitchingToMouse) {
    StepRecord delay;
    delay.RECORDtype = TypeDelay;
    ShowStep(delay);
    platform::SetControlText(StringX, "-5");
    platform::SetControlText(StringY, "17");
    ChooseType("1 Mouse");
    EXPECT_EQ(platform::ControlText(ComboClick), "L_Click");
    EXPECT_EQ(platform::ControlText(StringX), "-5");
    EXPECT_EQ(platform::ControlText(StringY), "17");
}

TEST_F(EditorPanelTest, AnUnknownTypeTextLeavesTheContainersAsTheyAre) {
    StepRecord delay;
    delay.RECORDtype = TypeDelay;
    ShowStep(delay);
    TakeBoxes();
    SetChooserText(ComboType, "");
    FormMAIN_ComboType_Event(0);
    EXPECT_EQ(TakeBoxes(),
              std::vector<std::string>{"Error: FormMAIN_ComboType_Event Case unknown: "});
    EXPECT_EQ(VisibleContainers(), std::vector<int>{ContainerDelay});
}

// [SECTION] Drop-down list rules

TEST_F(EditorPanelTest, DropDownListsFollowOneRule) {
    struct Row {
        const char* before;
        const char* set;
        const char* after;
    } rows[] = {
        {"L_Click", "r_click", "R_Click"},  // letter case ignored
        {"R_Click", "", ""},                // empty clears
        {"M_Click", "Triple", "M_Click"},   // no match keeps
        {"", "Triple", ""},                 // no match keeps no selection
        {"", "LDBL_CLICK", "Ldbl_Click"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.set);
        SetChooserText(ComboClick, row.before);
        SetChooserText(ComboClick, row.set);
        EXPECT_EQ(ChooserText(ComboClick), row.after);
        EXPECT_EQ(platform::ControlText(ComboClick), row.after);
    }
}

// [SECTION] Choosers

TEST_F(EditorPanelTest, KeyboardKindSwitchKeepsBothTexts) {
    StepRecord keys;
    keys.RECORDtype = TypeKeyboard;
    keys.KeyType = "String";
    keys.KeyString = "typed before";
    ShowStep(keys);
    SetChooserText(ComboKeyName, "{F5}");

    SetChooserText(Combo_KeyboardType, "Key");
    Combo_KeyboardType_Events(0);
    EXPECT_TRUE(headless::IsControlVisible(ComboKeyName));
    EXPECT_FALSE(headless::IsControlVisible(StringKeyText));
    EXPECT_EQ(platform::ControlText(TextKeyLabel), "Key:");
    EXPECT_EQ(platform::ControlText(ComboKeyName), "{F5}");

    SetChooserText(Combo_KeyboardType, "String");
    Combo_KeyboardType_Events(0);
    EXPECT_FALSE(headless::IsControlVisible(ComboKeyName));
    EXPECT_TRUE(headless::IsControlVisible(StringKeyText));
    EXPECT_EQ(platform::ControlText(TextKeyLabel), "String:");
    EXPECT_EQ(platform::ControlText(StringKeyText), "typed before");
}

TEST_F(EditorPanelTest, KeyboardKindWithoutSelectionIsReported) {
    SetChooserText(Combo_KeyboardType, "");
    Combo_KeyboardType_Events(0);
    EXPECT_EQ(TakeBoxes(),
              std::vector<std::string>{"Error: Combo_KeyboardType_Events() Case unknown"});
}

TEST_F(EditorPanelTest, ComTypeSetsItsHintAndKeepsTheTelegram) {
    const std::pair<const char*, const char*> hints[] = {
        {"Hex", "Hex (F4 03 28 ..)"},
        {"Byte", "Byte (128 255 1 ...)"},
        {"String", "String (ATDT...)"},
        {"Initialise", "Initialise (9600 N 8 1)"},
    };
    platform::SetControlText(StringTelegram, "F4 03");
    for (const auto& [type, hint] : hints) {
        SetChooserText(Combo_COMtype, type);
        Combo_COMtype_Events(0);
        EXPECT_EQ(platform::ControlText(TextComHint), hint);
    }
    EXPECT_EQ(platform::ControlText(StringTelegram), "F4 03");
    EXPECT_TRUE(TakeBoxes().empty());

    SetChooserText(Combo_COMtype, "");
    Combo_COMtype_Events(0);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Error: Combo_COMtype_Events Case unknown"});
    EXPECT_EQ(platform::ControlText(TextComHint), "Initialise (9600 N 8 1)");
}

TEST_F(EditorPanelTest, ExecuteFileDialogFillsThePathUnlessCancelled) {
    headless::ScriptFileDialog("C:\\Tools\\run.exe");
    SelectExecuteFile();
    EXPECT_EQ(platform::ControlText(StringExecFile), "C:\\Tools\\run.exe");
    const std::vector<headless::ShownBox> boxes = headless::Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, headless::BoxKind::OpenFile);
    EXPECT_EQ(boxes[0].title, "Select execute file");
    EXPECT_EQ(boxes[0].text, "All files (*.*)|*.*");

    headless::ScriptFileDialog("");
    SelectExecuteFile();
    EXPECT_EQ(platform::ControlText(StringExecFile), "C:\\Tools\\run.exe");
}

// [SECTION] Capturing a picture

// The part dragged out of the frozen screen (Capture, or F9) is saved as a PNG file, offered
// beside the step file under the first free name; the value names the file, bare when it lies
// beside the step file.
TEST_F(EditorPanelTest, CaptureSavesTheDraggedPartAndNamesItInTheValue) {
    StepFilePath = "C:\\Lists\\night.stp";
    headless::PutPicture("C:\\Lists\\image1.png", Badge());  // the first name is taken
    headless::PaintScreen(300, 200, Badge(10, 7));
    headless::PaintScreen(600, 200, Badge(10, 7, 0xFF808080u, 0xFF808080u));
    const platform::ScreenRect badge{300, 200, 310, 207};
    const std::string dialog = "Save picture: PNG picture (*.png)|*.png";
    const struct {
        std::optional<platform::ScreenRect> dragged;  // nullopt: Escape
        const char* saved;  // the save dialog's answer, "" cancels; nullptr: no dialog shows
        const char* value;
        std::string box;  // "title: text", "" none
    } rows[] = {
        {badge, "C:\\Lists\\image2", "0 image2.png", dialog},
        {badge, "C:\\Users\\tester\\b.PNG", "0 C:\\Users\\tester\\b.PNG", dialog},
        {badge, "", "kept", dialog},
        {std::nullopt, nullptr, "kept", ""},
        {platform::ScreenRect{600, 200, 610, 207}, nullptr, "kept",
         "Image: The part of the screen chosen is all one colour: it would match any plain area"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        platform::SetControlText(StringImageValue, "kept");
        headless::ScriptScreenRectangle(row.dragged);
        if (row.saved != nullptr) {
            headless::ScriptFileDialog(row.saved);
        }
        ButtonImageCapture_Events(0);
        for (const headless::ShownBox& shown : headless::Boxes()) {
            EXPECT_EQ(shown.folder + " " + shown.name,
                      shown.kind == headless::BoxKind::SaveFile ? "C:\\Lists image2.png" : " ");
        }
        EXPECT_EQ(TakeBoxes(),
                  row.box.empty() ? std::vector<std::string>{} : std::vector<std::string>{row.box});
        EXPECT_EQ(platform::ControlText(StringImageValue), row.value);
        platform::Picture saved;
        const std::string file = PicturePath(std::string(row.value).substr(2), StepFilePath);
        if (platform::ReadPicture(file, saved)) {
            EXPECT_EQ(saved.pixels, Badge(10, 7).pixels);
            platform::RemoveFile(file);  // the name is free again for the next row
        }
    }
    // F9 does the same for a Wait for a picture, and nothing while a run has the value locked.
    ChooseType("10 Wait");
    SetChooserText(ComboWaitFor, "Image");
    headless::ScriptScreenRectangle(badge);
    headless::ScriptFileDialog("C:\\Lists\\w.png");
    CaptureWithF9();
    EXPECT_EQ(platform::ControlText(StringWaitValue), "0 w.png");
    platform::SetControlEnabled(StringWaitValue, false);
    CaptureWithF9();
    EXPECT_EQ(headless::FrozenScreens().size(), 6u);
}

}  // namespace
