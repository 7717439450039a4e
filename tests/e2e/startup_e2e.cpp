// Quorvane.exe just after start-up, seen from outside: the main window, its controls and menu,
// the hidden step panel, the default font, the live mouse position, F9 capture and the close box.
// Options: --program=<Quorvane.exe> --screenshots=<folder for main-window.bmp>.
#include <array>
#include <string>

#include "Driver.h"
#include "Forms/FormMAIN.h"

using namespace e2e;

namespace {

struct ControlRow {
    int number;
    int parent;  // FormMAIN or ContainerStep
    Box box;
};

// Every control of the main window with its place in its parent's client area.
constexpr std::array<ControlRow, 21> MainControls = {{
    {ButtonPlay, FormMAIN, {58, 280, 45, 35}},
    {ButtonPause, FormMAIN, {103, 280, 45, 35}},
    {ButtonStop, FormMAIN, {148, 280, 45, 35}},
    {FrameStep, FormMAIN, {11, 28, 230, 220}},
    {ButtonFirst, FormMAIN, {26, 55, 25, 25}},
    {ButtonPrevious, FormMAIN, {51, 55, 25, 25}},
    {ButtonSelectStep, FormMAIN, {76, 55, 25, 25}},
    {ButtonNext, FormMAIN, {101, 55, 25, 25}},
    {ButtonLast, FormMAIN, {126, 55, 25, 25}},
    {ButtonNewEnd, FormMAIN, {151, 55, 25, 25}},
    {ButtonNewFront, FormMAIN, {176, 55, 25, 25}},
    {ButtonDelete, FormMAIN, {201, 55, 25, 25}},
    {TextFile, FormMAIN, {10, 3, 230, 29}},
    {TextState, FormMAIN, {10, 253, 230, 20}},
    {ContainerStep, FormMAIN, {16, 85, 220, 160}},
    {ComboType, ContainerStep, {10, 3, 200, 22}},
    {StringDescription, ContainerStep, {10, 135, 200, 20}},
    {LabelDescription, ContainerStep, {10, 120, 145, 15}},
    {TextLoop1, FormMAIN, {4, 278, 50, 16}},
    {TextLoop2, FormMAIN, {4, 292, 50, 16}},
    {TextLoop3, FormMAIN, {4, 306, 50, 16}},
}};

struct MenuRow {
    int item;
    int state;
};

constexpr std::array<MenuRow, 13> StartUpMenu = {{
    {MenuOpen, 1},
    {MenuNew, 1},
    {MenuSave, 0},
    {MenuSaveAs, 0},
    {MenuExit, 1},
    {MenuPlay, 0},
    {MenuPlayFromCurrent, 0},
    {MenuPause, 0},
    {MenuStop, 0},
    {MenuRecord, 0},
    {MenuEditor, 1},
    {MenuAbout, 1},
    {79, -1},  // the separator has no command
}};

constexpr std::array<int, 13> StepPanel = {
    ContainerStep, ButtonPlay,     ButtonPause,      ButtonStop, FrameStep,
    ButtonFirst,   ButtonPrevious, ButtonSelectStep, ButtonNext, ButtonLast,
    ButtonNewEnd,  ButtonNewFront, ButtonDelete};

constexpr std::array<int, 5> StartUpTexts = {TextFile, TextState, TextLoop1, TextLoop2, TextLoop3};

void CheckWindow(Window main) {
    CheckEqual("title", std::string("Quorvane"), Title(main));
    CheckEqual("client area 252 x 344", Box{0, 0, 252, 344}, ClientBox(main));
    CheckEqual("always on top", true, IsTopmost(main));
    CheckEqual("no minimise box", false, HasMinimizeBox(main));
    CheckEqual("no maximise box", false, HasMaximizeBox(main));
    CheckEqual("no sizing border", false, HasSizingBorder(main));
    CheckEqual("system menu", true, HasSystemMenu(main));
}

void CheckControls(Window main) {
    Window container = FindControl(main, ContainerStep);
    for (const ControlRow& row : MainControls) {
        Window control = FindControl(main, row.number);
        if (!Check(control != nullptr, Numbered("control present", row.number), "a control",
                   "none")) {
            continue;
        }
        Window expectedParent = row.parent == FormMAIN ? main : container;
        Check(ParentOf(control) == expectedParent, Numbered("parent of control", row.number),
              row.parent == FormMAIN ? "FormMAIN" : "ContainerStep", ClassName(ParentOf(control)));
        CheckEqual(Numbered("position of control", row.number), row.box, PositionInParent(control));
    }
    CheckEqual("label 71 text", std::string("Step-Description:"),
               Text(FindControl(main, LabelDescription)));
    CheckEqual("type chooser first entry selected", std::string("1 Mouse"),
               SelectedEntry(FindControl(main, ComboType)));
    const std::vector<std::string> types = Entries(FindControl(main, ComboType));
    CheckEqual("type chooser entries", 12, static_cast<int>(types.size()));
    CheckEqual("type chooser's last entry", std::string("12 Image"),
               types.empty() ? std::string() : types.back());
}

void CheckMenu(Window main) {
    for (const MenuRow& row : StartUpMenu) {
        CheckEqual(Numbered("menu item state", row.item), row.state, MenuItemState(main, row.item));
    }
}

void CheckHiddenStepPanel(Window main) {
    for (int number : StepPanel) {
        CheckEqual(Numbered("hidden at start-up: control", number), false,
                   IsVisible(FindControl(main, number)));
    }
    for (int number : StartUpTexts) {
        Window text = FindControl(main, number);
        CheckEqual(Numbered("shown at start-up: text", number), true, IsVisible(text));
        CheckEqual(Numbered("empty at start-up: text", number), std::string(), Text(text));
    }
}

void CheckDefaultFont(Window main) {
    CheckEqual("screen at 96 pixels per inch", 96, ScreenPixelsPerInch());
    const FontInfo font = ControlFont(main, LabelDescription);
    CheckEqual("font 0 at 96 pixels per inch: points", 8, font.points);
    CheckEqual("font 0 at 96 pixels per inch: not bold", false, font.bold);
}

void CheckMouseFollows(Window main) {
    Window x = FindControl(main, TextMouseX);
    Window y = FindControl(main, TextMouseY);
    for (const Point& spot : {Point{321, 234}, Point{1000, 900}}) {
        const std::string where = Describe(spot);
        Xdotool("mousemove " + where);
        WaitUntil(
            [&] { return Text(x) == std::to_string(spot.x) && Text(y) == std::to_string(spot.y); },
            3000);
        CheckEqual("mouse position texts follow the pointer to " + where, where,
                   Text(x) + " " + Text(y));
    }
}

void CheckF9Capture(Window main) {
    const Point spot{432, 345};
    MoveMouse(spot.x, spot.y);
    WaitForPointerAt(spot);
    Check(Activate(main), "main window has the keyboard focus", "foreground", "not foreground");
    Window stringX = FindControl(main, StringX);
    Window stringY = FindControl(main, StringY);
    Xdotool("key F9");
    const std::string expected = Describe(spot);
    WaitUntil([&] { return Text(stringX) + " " + Text(stringY) == expected; }, 5000);
    CheckEqual("F9 writes the cursor position into StringX and StringY", expected,
               Text(stringX) + " " + Text(stringY));
}

void SaveMainWindowScreenshot(Window main, const std::string& folder) {
    if (folder.empty()) {
        return;
    }
    const std::string path = folder + "\\main-window.bmp";
    Check(SaveScreenshot(main, path), "screenshot of the main window", path, "not saved");
}

}  // namespace

int main(int argc, char** argv) {
    Window main = LaunchProgramUnderTest(argc, argv);
    if (main == nullptr) {
        return Finish();
    }
    CheckWindow(main);
    CheckControls(main);
    CheckMenu(main);
    CheckHiddenStepPanel(main);
    CheckDefaultFont(main);
    SaveMainWindowScreenshot(main, Option(argc, argv, "screenshots"));
    CheckMouseFollows(main);
    CheckF9Capture(main);
    CheckCloseBoxEndsProgram(main);
    return Finish();
}
