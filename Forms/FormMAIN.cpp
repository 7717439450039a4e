#include "Forms/FormMAIN.h"

#include "Forms/ControlTable.h"
#include "Forms/MainWindow.h"
#include "platform/window.h"

namespace {

using platform::ControlKind;

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
    {ButtonFirst, {ControlKind::ImageButton, FormMAIN, 26, 55, 25, 25, "", ImageFirst}},
    {ButtonPrevious, {ControlKind::ImageButton, FormMAIN, 51, 55, 25, 25, "", ImagePrevious}},
    {ButtonSelectStep, {ControlKind::ImageButton, FormMAIN, 76, 55, 25, 25, "", ImageSelectStep}},
    {ButtonNext, {ControlKind::ImageButton, FormMAIN, 101, 55, 25, 25, "", ImageNext}},
    {ButtonLast, {ControlKind::ImageButton, FormMAIN, 126, 55, 25, 25, "", ImageLast}},
    {ButtonNewEnd, {ControlKind::ImageButton, FormMAIN, 151, 55, 25, 25, "", ImageNewEnd}},
    {ButtonNewFront, {ControlKind::ImageButton, FormMAIN, 176, 55, 25, 25, "", ImageNewFront}},
    {ButtonDelete, {ControlKind::ImageButton, FormMAIN, 201, 55, 25, 25, "", ImageDelete}},
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

}  // namespace

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
                                            {MenuRecord, "Record"}}},
                                          {"Tools", {{MenuEditor, "Editor"}}},
                                          {"?", {{MenuAbout, "About"}}},
                                      });
}
