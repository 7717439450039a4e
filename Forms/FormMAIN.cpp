#include "Forms/FormMAIN.h"

#include "platform/window.h"

namespace {

using platform::ControlKind;

struct ControlRow {
    int number;
    ControlKind kind;
    int parent;
    int x, y, width, height;
    const char* text;
    int image;
    int font;  // -1: the default font
    bool enabled = true;
};

// The main window's controls in creation order; ComboType, StringDescription and its label lie
// in ContainerStep, the rest in the window's client area.
constexpr ControlRow kControls[] = {
    {ButtonPlay, ControlKind::ImageButton, FormMAIN, 58, 280, 45, 35, "", ImagePlay, -1},
    {ButtonPause, ControlKind::ImageButton, FormMAIN, 103, 280, 45, 35, "", ImagePause, -1, false},
    {ButtonStop, ControlKind::ImageButton, FormMAIN, 148, 280, 45, 35, "", ImageStop, -1, false},
    {FrameStep, ControlKind::Frame, FormMAIN, 11, 28, 230, 220, "1", -1, FontBold12},
    {ButtonFirst, ControlKind::ImageButton, FormMAIN, 26, 55, 25, 25, "", ImageFirst, -1},
    {ButtonPrevious, ControlKind::ImageButton, FormMAIN, 51, 55, 25, 25, "", ImagePrevious, -1},
    {ButtonSelectStep, ControlKind::ImageButton, FormMAIN, 76, 55, 25, 25, "", ImageSelectStep, -1},
    {ButtonNext, ControlKind::ImageButton, FormMAIN, 101, 55, 25, 25, "", ImageNext, -1},
    {ButtonLast, ControlKind::ImageButton, FormMAIN, 126, 55, 25, 25, "", ImageLast, -1},
    {ButtonNewEnd, ControlKind::ImageButton, FormMAIN, 151, 55, 25, 25, "", ImageNewEnd, -1},
    {ButtonNewFront, ControlKind::ImageButton, FormMAIN, 176, 55, 25, 25, "", ImageNewFront, -1},
    {ButtonDelete, ControlKind::ImageButton, FormMAIN, 201, 55, 25, 25, "", ImageDelete, -1},
    {TextFile, ControlKind::Text, FormMAIN, 10, 3, 230, 29, "", -1, FontBold10},
    {TextState, ControlKind::TextCentred, FormMAIN, 10, 253, 230, 20, "", -1, FontBold12},
    {ContainerStep, ControlKind::Container, FormMAIN, 16, 85, 220, 160, "", -1, -1},
    {ComboType, ControlKind::DropDownList, ContainerStep, 10, 3, 200, 22, "", -1, -1},
    {StringDescription, ControlKind::Input, ContainerStep, 10, 135, 200, 20, "", -1, -1},
    {LabelDescription, ControlKind::Text, ContainerStep, 10, 120, 145, 15, "Step-Description:", -1,
     -1},
    {TextLoop1, ControlKind::Text, FormMAIN, 4, 278, 50, 16, "", -1, -1},
    {TextLoop2, ControlKind::Text, FormMAIN, 4, 292, 50, 16, "", -1, -1},
    {TextLoop3, ControlKind::Text, FormMAIN, 4, 306, 50, 16, "", -1, -1},
};

}  // namespace

void OpenFormMAIN() {
    platform::WindowSpec window;
    window.clientWidth = 252;
    window.clientHeight = 344;
    window.title = "Quorvane";
    window.style = platform::WindowStyle::Main;
    window.placement = platform::WindowPlacement::CentreScreen;
    platform::OpenWindow(FormMAIN, window);

    for (const ControlRow& row : kControls) {
        platform::ControlSpec spec;
        spec.kind = row.kind;
        spec.parent = row.parent;
        spec.x = row.x;
        spec.y = row.y;
        spec.width = row.width;
        spec.height = row.height;
        spec.text = row.text;
        spec.image = row.image;
        platform::CreateControl(row.number, spec);
        if (row.font >= 0) {
            platform::SetControlFont(row.number, row.font);
        }
        if (!row.enabled) {
            platform::SetControlEnabled(row.number, false);
        }
    }
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
                                            {MenuStop, "Stop"}}},
                                          {"Tools", {{MenuEditor, "Editor"}}},
                                          {"?", {{MenuAbout, "About"}}},
                                      });
}
