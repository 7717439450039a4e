#include "Forms/FormMAIN.h"

#include <span>
#include <vector>

#include "Forms/ControlTable.h"
#include "Forms/MainWindow.h"
#include "platform/window.h"

namespace {

using platform::ControlKind;

// A step list button moves through the list or changes it: a run locks it.
ControlRow ListButton(int number, int x, int image) {
    return {.number = number,
            .shape = {ControlKind::ImageButton, FormMAIN, x, 55, 25, 25, "", image},
            .duringRun = DuringRun::Locked};
}

// The main window's controls in creation order; ComboType, StringDescription and its label lie
// in ContainerStep, the rest in the window's client area.
const ControlRow kControls[] = {
    {ButtonPlay, {ControlKind::ImageButton, FormMAIN, 58, 280, 45, 35, "", ImagePlay}},
    {ButtonPause,
     {ControlKind::ImageButton, FormMAIN, 103, 280, 45, 35, "", ImagePause},
     -1,
     false},
    {ButtonStop, {ControlKind::ImageButton, FormMAIN, 148, 280, 45, 35, "", ImageStop}, -1, false},
    {FrameStep, {ControlKind::Frame, FormMAIN, 11, 28, 230, 220, "1"}, FontBold12},
    ListButton(ButtonFirst, 26, ImageFirst),
    ListButton(ButtonPrevious, 51, ImagePrevious),
    ListButton(ButtonSelectStep, 76, ImageSelectStep),
    ListButton(ButtonNext, 101, ImageNext),
    ListButton(ButtonLast, 126, ImageLast),
    ListButton(ButtonNewEnd, 151, ImageNewEnd),
    ListButton(ButtonNewFront, 176, ImageNewFront),
    ListButton(ButtonDelete, 201, ImageDelete),
    {TextFile, {ControlKind::Text, FormMAIN, 10, 3, 230, 29, ""}, FontBold10},
    {TextState, {ControlKind::TextCentred, FormMAIN, 10, 253, 230, 20, ""}, FontBold12},
    {ContainerStep, {ControlKind::Container, FormMAIN, 16, 85, 220, 160, ""}},
    {ComboType, {ControlKind::DropDownList, ContainerStep, 10, 3, 200, 22, ""}},
    {StringDescription, {ControlKind::Input, ContainerStep, 10, 135, 200, 20, ""}},
    {LabelDescription, {ControlKind::Text, ContainerStep, 10, 120, 145, 15, "Step-Description:"}},
    {TextLoop1, {ControlKind::Text, FormMAIN, 4, 278, 50, 16, ""}},
    {TextLoop2, {ControlKind::Text, FormMAIN, 4, 292, 50, 16, ""}},
    {TextLoop3, {ControlKind::Text, FormMAIN, 4, 306, 50, 16, ""}},
};

bool TakesInput(ControlKind kind) {
    switch (kind) {
        case ControlKind::Button:
        case ControlKind::ImageButton:
        case ControlKind::DropDownList:
        case ControlKind::Input:
        case ControlKind::DigitsInput:
        case ControlKind::ListBox:
        case ControlKind::RichEdit:
            return true;
        default:
            return false;
    }
}

// The parent of a control of the main window's tables; -1 for a number that is in neither.
int ParentOf(int control) {
    for (std::span<const ControlRow> rows : {std::span<const ControlRow>(kControls), PanelRows()}) {
        for (const ControlRow& row : rows) {
            if (row.number == control) {
                return row.shape.parent;
            }
        }
    }
    return -1;
}

bool InsideStepContainer(const ControlRow& row) {
    for (int parent = row.shape.parent; parent != -1 && parent != FormMAIN;
         parent = ParentOf(parent)) {
        if (parent == ContainerStep) {
            return true;
        }
    }
    return false;
}

bool LockedByRun(const ControlRow& row) {
    switch (row.duringRun) {
        case DuringRun::Locked:
            return true;
        case DuringRun::Free:
            return false;
        case DuringRun::ByPlace:
            return TakesInput(row.shape.kind) && InsideStepContainer(row);
    }
    return false;
}

std::vector<int> CollectRunLockedControls() {
    std::vector<int> locked;
    for (std::span<const ControlRow> rows : {std::span<const ControlRow>(kControls), PanelRows()}) {
        for (const ControlRow& row : rows) {
            if (LockedByRun(row)) {
                locked.push_back(row.number);
            }
        }
    }
    return locked;
}

}  // namespace

std::span<const int> RunLockedControls() {
    static const std::vector<int> locked = CollectRunLockedControls();
    return locked;
}

void OpenFormMAIN() {
    platform::WindowSpec window;
    window.clientWidth = 252;
    window.clientHeight = 344;
    window.title = "Quorvane";
    window.style = platform::WindowStyle::Main;
    window.placement = platform::WindowPlacement::CentreScreen;
    // Started to play in the background, the program in front keeps the keyboard.
    window.activate = !KeepInBackground();
    platform::OpenWindow(FormMAIN, window);

    CreateControls(kControls);
}

void BuildMainMenu() {
    platform::CreateMenuBar(FormMAIN, {
                                          {"File",
                                           {{MenuOpen, "Open"},
                                            {MenuNew, "New"},
                                            {MenuSave, "Save"},
                                            {MenuSaveAs, "Save as..."},
                                            {0, ""},
                                            {MenuExit, "Exit"}}},
                                          {"Control",
                                           {{MenuPlay, "Play"},
                                            {MenuPlayFromCurrent, "Play from current step"},
                                            {MenuPause, "Pause"},
                                            {MenuStop, "Stop"},
                                            {MenuRecord, "Record"},
                                            {MenuRecordInWindows, "Record in windows"}}},
                                          {"Tools", {{MenuEditor, "Editor"}}},
                                          {"?", {{MenuAbout, "About"}}},
                                      });
}
