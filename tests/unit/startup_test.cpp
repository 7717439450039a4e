// Start-up: the main window, its controls, fonts, menus and choosers before any document exists.

#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "Quorvane/Quorvane.h"
#include "platform/headless/headless.h"
#include "tests/unit/support/Fixture.h"

namespace {

using platform::ControlKind;

class StartUpTest : public QuorvaneTest {};

constexpr Placement kMainControls[] = {
    {ButtonPlay, ControlKind::ImageButton, FormMAIN, 58, 280, 45, 35, ""},
    {ButtonPause, ControlKind::ImageButton, FormMAIN, 103, 280, 45, 35, ""},
    {ButtonStop, ControlKind::ImageButton, FormMAIN, 148, 280, 45, 35, ""},
    {FrameStep, ControlKind::Frame, FormMAIN, 11, 28, 230, 220, "1"},
    {ButtonFirst, ControlKind::ImageButton, FormMAIN, 26, 55, 25, 25, ""},
    {ButtonPrevious, ControlKind::ImageButton, FormMAIN, 51, 55, 25, 25, ""},
    {ButtonSelectStep, ControlKind::ImageButton, FormMAIN, 76, 55, 25, 25, ""},
    {ButtonNext, ControlKind::ImageButton, FormMAIN, 101, 55, 25, 25, ""},
    {ButtonLast, ControlKind::ImageButton, FormMAIN, 126, 55, 25, 25, ""},
    {ButtonNewEnd, ControlKind::ImageButton, FormMAIN, 151, 55, 25, 25, ""},
    {ButtonNewFront, ControlKind::ImageButton, FormMAIN, 176, 55, 25, 25, ""},
    {ButtonDelete, ControlKind::ImageButton, FormMAIN, 201, 55, 25, 25, ""},
    {TextFile, ControlKind::Text, FormMAIN, 10, 3, 230, 29, ""},
    {TextState, ControlKind::TextCentred, FormMAIN, 10, 253, 230, 20, ""},
    {ContainerStep, ControlKind::Container, FormMAIN, 16, 85, 220, 160, ""},
    {ComboType, ControlKind::DropDownList, ContainerStep, 10, 3, 200, 22, ""},
    {StringDescription, ControlKind::Input, ContainerStep, 10, 135, 200, 20, ""},
    {LabelDescription, ControlKind::Text, ContainerStep, 10, 120, 145, 15, "Step-Description:"},
    {TextLoop1, ControlKind::Text, FormMAIN, 4, 278, 50, 16, ""},
    {TextLoop2, ControlKind::Text, FormMAIN, 4, 292, 50, 16, ""},
    {TextLoop3, ControlKind::Text, FormMAIN, 4, 306, 50, 16, ""},
};

TEST_F(StartUpTest, MainWindowIsOpenOnTopWithItsSize) {
    const headless::WindowState window = headless::Window(FormMAIN);
    EXPECT_TRUE(window.open);
    EXPECT_TRUE(window.topmost);
    EXPECT_EQ(window.shape.title, "Quorvane");
    EXPECT_EQ(window.shape.clientWidth, 252);
    EXPECT_EQ(window.shape.clientHeight, 344);
    EXPECT_EQ(window.shape.style, platform::WindowStyle::Main);
    EXPECT_EQ(window.shape.placement, platform::WindowPlacement::CentreScreen);
}

TEST_F(StartUpTest, EveryMainControlSitsAtItsPlace) {
    ExpectPlacements(kMainControls);
}

TEST_F(StartUpTest, ButtonsShowTheirImagesAndRunButtonsStartDisabled) {
    EXPECT_EQ(headless::LoadedImages().size(), 11u);
    const int images[] = {ImagePlay,     ImagePause,      ImageStop,  ImageFirst,
                          ImagePrevious, ImageSelectStep, ImageNext,  ImageLast,
                          ImageNewEnd,   ImageNewFront,   ImageDelete};
    const int buttons[] = {ButtonPlay,     ButtonPause,      ButtonStop,  ButtonFirst,
                           ButtonPrevious, ButtonSelectStep, ButtonNext,  ButtonLast,
                           ButtonNewEnd,   ButtonNewFront,   ButtonDelete};
    for (size_t i = 0; i < std::size(buttons); ++i) {
        EXPECT_EQ(headless::Control(buttons[i]).image, images[i]) << buttons[i];
    }
    EXPECT_TRUE(headless::Control(ButtonPlay).enabled);
    EXPECT_FALSE(headless::Control(ButtonPause).enabled);
    EXPECT_FALSE(headless::Control(ButtonStop).enabled);
}

TEST_F(StartUpTest, StepPanelIsHiddenUntilADocumentExists) {
    for (int control : {ContainerStep, ButtonPlay, ButtonPause, ButtonStop, FrameStep, ButtonFirst,
                        ButtonPrevious, ButtonSelectStep, ButtonNext, ButtonLast, ButtonNewEnd,
                        ButtonNewFront, ButtonDelete}) {
        EXPECT_FALSE(headless::IsControlVisible(control)) << control;
    }
    EXPECT_TRUE(headless::IsControlVisible(TextFile));
    EXPECT_TRUE(VisibleContainers().empty());
}

TEST_F(StartUpTest, HideStepPanelShowsAndHidesTheWholePanel) {
    HideStepPanel(0);
    EXPECT_TRUE(headless::IsControlVisible(ComboType));
    EXPECT_TRUE(headless::IsControlVisible(ButtonDelete));
    EXPECT_TRUE(headless::IsControlVisible(FrameStep));
    HideStepPanel(1);
    EXPECT_FALSE(headless::IsControlVisible(ComboType));
    EXPECT_FALSE(headless::IsControlVisible(ButtonPlay));
}

TEST_F(StartUpTest, FontsFollowTheirTable) {
    const headless::FontState notice = headless::Font(FontNotice);
    EXPECT_EQ(notice.face, "Arial");
    EXPECT_EQ(notice.points, 14);
    EXPECT_FALSE(notice.bold);
    EXPECT_EQ(headless::Font(FontBold12).points, 12);
    EXPECT_TRUE(headless::Font(FontBold12).bold);
    EXPECT_EQ(headless::Font(FontBold10).points, 10);
    EXPECT_TRUE(headless::Font(FontBold10).bold);
    EXPECT_EQ(headless::Control(FrameStep).font, FontBold12);
    EXPECT_EQ(headless::Control(TextState).font, FontBold12);
    EXPECT_EQ(headless::Control(TextFile).font, FontBold10);
    EXPECT_EQ(headless::Control(LabelDescription).font, FontDefault);
    EXPECT_EQ(headless::Control(StringX).font, FontDefault);
}

TEST(StartUpFontRule, DefaultFontIsSixPointsOnlyAt120PixelsPerInch) {
    const struct {
        int dpi;
        int points;
    } rows[] = {{96, 8}, {120, 6}, {144, 8}};
    for (const auto& row : rows) {
        headless::Reset();
        headless::SetScreenPixelsPerInch(row.dpi);
        StartUp();
        const headless::FontState font = headless::Font(FontDefault);
        EXPECT_EQ(font.face, "Arial") << row.dpi;
        EXPECT_EQ(font.points, row.points) << row.dpi;
        EXPECT_FALSE(font.bold);
    }
}

TEST_F(StartUpTest, MenuBarHasItsTitlesItemsAndStartStates) {
    const auto titles = headless::MenuBar(FormMAIN);
    ASSERT_EQ(titles.size(), 4u);
    EXPECT_EQ(titles[0].title, "File");
    EXPECT_EQ(titles[1].title, "Control");
    EXPECT_EQ(titles[2].title, "Tools");
    EXPECT_EQ(titles[3].title, "?");
    std::vector<std::string> fileItems;
    for (const auto& item : titles[0].items) {
        fileItems.push_back(item.item == 0 ? "-" : item.text);
    }
    EXPECT_EQ(fileItems,
              (std::vector<std::string>{"Open", "New", "Save", "Save as...", "-", "Exit"}));
    EXPECT_EQ(titles[1].items[1].text, "Play from current step");
    EXPECT_EQ(titles[1].items[1].item, MenuPlayFromCurrent);

    for (int item : {MenuOpen, MenuNew, MenuExit, MenuEditor, MenuAbout}) {
        EXPECT_TRUE(platform::IsMenuItemEnabled(item)) << item;
    }
    for (int item : {MenuSave, MenuSaveAs, MenuPlay, MenuPlayFromCurrent, MenuPause, MenuStop}) {
        EXPECT_FALSE(platform::IsMenuItemEnabled(item)) << item;
    }
}

TEST_F(StartUpTest, ChoosersAreFilledAndSetToTheirFirstEntry) {
    const auto type = headless::Control(ComboType);
    EXPECT_EQ(type.items,
              (std::vector<std::string>{"1 Mouse", "2 Keyboard", "3 Delay", "4 Loop", "5 Comport",
                                        "6 Jump", "7 State", "8 Execute", "9 Message", "10 Wait",
                                        "11 Window", "12 Image"}));
    EXPECT_EQ(headless::Control(ComboClick).items,
              (std::vector<std::string>{"L_Click", "Ldbl_Click", "R_Click", "M_Click"}));
    EXPECT_EQ(headless::Control(Combo_KeyboardType).items,
              (std::vector<std::string>{"String", "Key"}));
    const auto keys = headless::Control(ComboKeyName).items;
    ASSERT_EQ(keys.size(), 34u);
    EXPECT_EQ(keys.front(), "{BACKSPACE}");
    EXPECT_EQ(keys[21], "{PRINTSCREEN}");
    EXPECT_EQ(keys[22], "{F1}");
    EXPECT_EQ(keys.back(), "{F12}");
    const auto ports = headless::Control(ComboPort).items;
    ASSERT_EQ(ports.size(), 80u);
    EXPECT_EQ(ports.front(), "COM1");
    EXPECT_EQ(ports.back(), "COM80");
    EXPECT_EQ(headless::Control(Combo_COMtype).items,
              (std::vector<std::string>{"Initialise", "String", "Hex", "Byte"}));
    EXPECT_EQ(
        headless::Control(ComboWaitFor).items,
        (std::vector<std::string>{"Window", "Active", "NoWindow", "Pixel", "Answer", "Image"}));
    EXPECT_EQ(headless::Control(ComboImageDo).items,
              (std::vector<std::string>{"L_Click", "Ldbl_Click", "R_Click", "M_Click", "Move"}));
    for (int chooser : {ComboType, ComboClick, Combo_KeyboardType, ComboKeyName, ComboPort,
                        Combo_COMtype, ComboWaitFor, ComboImageDo}) {
        EXPECT_EQ(headless::Control(chooser).selected, 0) << chooser;
    }
}

}  // namespace
