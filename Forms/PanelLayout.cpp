// Layout of the editor panel: the type containers inside ContainerStep, each followed by its own
// controls, in creation order.

#include "Forms/ControlTable.h"
#include "Forms/FormMAIN.h"
#include "platform/window.h"

namespace {

using platform::ControlKind;

// Every container lies in ContainerStep; the controls after a container lie in it.
const ControlRow kPanel[] = {
    {ContainerMouse, {ControlKind::Container, ContainerStep, 5, 25, 210, 95, ""}},
    {ComboClick, {ControlKind::DropDownList, ContainerMouse, 50, 10, 85, 20, ""}},
    {StringX, {ControlKind::DigitsInput, ContainerMouse, 50, 35, 50, 20, "50"}},
    {StringY, {ControlKind::DigitsInput, ContainerMouse, 50, 60, 50, 20, "50"}},
    {LabelX, {ControlKind::TextRight, ContainerMouse, 5, 40, 40, 15, "X:"}},
    {LabelY, {ControlKind::TextRight, ContainerMouse, 5, 65, 40, 15, "Y:"}},
    {LabelClick, {ControlKind::TextRight, ContainerMouse, 5, 15, 40, 15, "Click:"}},
    {TextMouseX, {ControlKind::Text, ContainerMouse, 105, 40, 45, 15, "0"}},
    {TextMouseY, {ControlKind::Text, ContainerMouse, 105, 65, 45, 15, "0"}},
    {HintPress, {ControlKind::Text, ContainerMouse, 155, 25, 45, 15, "Press"}},
    {HintF9, {ControlKind::Text, ContainerMouse, 155, 40, 45, 15, "F9"}},
    {HintToUse, {ControlKind::Text, ContainerMouse, 155, 55, 45, 15, "to use"}},
    {HintValues, {ControlKind::Text, ContainerMouse, 155, 70, 45, 15, "values"}},

    {ContainerKeyboard, {ControlKind::Container, ContainerStep, 5, 25, 210, 95, ""}},
    {LabelKeyboardType, {ControlKind::Text, ContainerKeyboard, 50, 5, 40, 15, "Type:"}},
    {Combo_KeyboardType, {ControlKind::DropDownList, ContainerKeyboard, 50, 20, 85, 20, ""}},
    {StringKeyText, {ControlKind::Input, ContainerKeyboard, 5, 60, 200, 20, ""}},
    // A new Keyboard container shows the text input under its caption "String:".
    {.number = ComboKeyName,
     .shape = {ControlKind::DropDownList, ContainerKeyboard, 5, 60, 200, 20, ""},
     .hidden = true},
    {TextKeyLabel, {ControlKind::Text, ContainerKeyboard, 5, 45, 40, 15, "String:"}},

    {ContainerDelay, {ControlKind::Container, ContainerStep, 5, 25, 210, 95, ""}},
    {StringDelay, {ControlKind::Input, ContainerDelay, 55, 15, 65, 20, "0.5"}},
    {LabelSeconds, {ControlKind::Text, ContainerDelay, 125, 20, 40, 15, "sec."}},
    {LabelCountdown, {ControlKind::Text, ContainerDelay, 125, 55, 75, 20, "Countdown"}},
    {TextCountdown, {ControlKind::Text, ContainerDelay, 65, 55, 55, 20, "0"}},

    {ContainerLoop, {ControlKind::Container, ContainerStep, 5, 25, 210, 95, ""}},
    {ComboLoopFrom, {ControlKind::DropDownList, ContainerLoop, 110, 20, 75, 20, ""}},
    {StringRepetitions, {ControlKind::DigitsInput, ContainerLoop, 110, 50, 75, 20, "1"}},
    {LabelFromStep, {ControlKind::TextRight, ContainerLoop, 5, 25, 100, 15, "From step:"}},
    {LabelRepetitions, {ControlKind::TextRight, ContainerLoop, 5, 55, 100, 15, "Repetitions:"}},

    {ContainerComport, {ControlKind::Container, ContainerStep, 5, 25, 210, 95, ""}},
    {ComboPort, {ControlKind::DropDownList, ContainerComport, 25, 20, 70, 20, ""}},
    {Combo_COMtype, {ControlKind::DropDownList, ContainerComport, 110, 20, 70, 20, ""}},
    {StringTelegram, {ControlKind::Input, ContainerComport, 5, 60, 200, 20, ""}},
    {LabelPort, {ControlKind::Text, ContainerComport, 30, 5, 60, 15, "Port:"}},
    {LabelComType, {ControlKind::Text, ContainerComport, 115, 5, 60, 15, "Type:"}},
    {TextComHint,
     {ControlKind::Text, ContainerComport, 5, 45, 195, 15, "Initialise: (9600 N 8 1)"}},

    {ContainerJump, {ControlKind::Container, ContainerStep, 5, 25, 210, 95, ""}},
    {ComboJumpTo, {ControlKind::DropDownList, ContainerJump, 115, 40, 75, 20, ""}},
    {LabelJumpTo, {ControlKind::TextRight, ContainerJump, 15, 45, 95, 15, "Jump to step:"}},

    {ContainerState, {ControlKind::Container, ContainerStep, 5, 25, 210, 95, ""}},
    {StringStateText, {ControlKind::Input, ContainerState, 5, 45, 200, 20, ""}},
    {LabelStateText, {ControlKind::Text, ContainerState, 5, 30, 140, 15, "State text:"}},

    {ContainerExecute, {ControlKind::Container, ContainerStep, 5, 25, 210, 95, ""}},
    {LabelExecFile, {ControlKind::Text, ContainerExecute, 5, 30, 95, 15, "File:"}},
    {StringExecFile, {ControlKind::Input, ContainerExecute, 5, 45, 200, 20, ""}},
    {ButtonExecFile, {ControlKind::Button, ContainerExecute, 150, 20, 55, 20, "File...."}},

    {ContainerMessage, {ControlKind::Container, ContainerStep, 5, 25, 210, 95, ""}},
    // A Message step's text stays open to edit while a run shows it.
    {.number = StringMessageText,
     .shape = {ControlKind::Input, ContainerMessage, 5, 45, 200, 20, ""},
     .duringRun = DuringRun::Free},
    {LabelMessageText, {ControlKind::Text, ContainerMessage, 5, 30, 140, 15, "Message text:"}},

    {ContainerWait, {ControlKind::Container, ContainerStep, 5, 25, 210, 95, ""}},
    {LabelWaitFor, {ControlKind::TextRight, ContainerWait, 5, 8, 50, 15, "Wait for:"}},
    {ComboWaitFor, {ControlKind::DropDownList, ContainerWait, 60, 5, 85, 20, ""}},
    {LabelWaitValue, {ControlKind::Text, ContainerWait, 5, 30, 200, 15, "Window title contains:"}},
    {StringWaitValue, {ControlKind::Input, ContainerWait, 5, 45, 200, 20, ""}},
    {LabelWaitSeconds, {ControlKind::TextRight, ContainerWait, 5, 73, 45, 15, "Seconds:"}},
    {StringWaitTime, {ControlKind::Input, ContainerWait, 55, 70, 40, 20, "10.0"}},
    {LabelWaitElse, {ControlKind::TextRight, ContainerWait, 95, 73, 55, 15, "Else step:"}},
    {ComboWaitElse, {ControlKind::DropDownList, ContainerWait, 155, 70, 50, 20, ""}},
    {TextWaitCountdown, {ControlKind::TextRight, ContainerWait, 150, 8, 55, 15, ""}},

    {ContainerWindow, {ControlKind::Container, ContainerStep, 5, 25, 210, 95, ""}},
    {LabelWindowDo, {ControlKind::TextRight, ContainerWindow, 5, 8, 50, 15, "Do:"}},
    {ComboWindowDo, {ControlKind::DropDownList, ContainerWindow, 60, 5, 85, 20, ""}},
    {LabelWindowTitle,
     {ControlKind::Text, ContainerWindow, 5, 30, 200, 15, "Window title contains:"}},
    {StringWindowTitle, {ControlKind::Input, ContainerWindow, 5, 45, 200, 20, ""}},
    // Says what X and Y are for the action chosen; hidden with them when it uses none.
    {LabelWindowPoint,
     {ControlKind::TextRight, ContainerWindow, 5, 73, 100, 15, "Point in the window:"}},
    {StringWindowX, {ControlKind::Input, ContainerWindow, 110, 70, 45, 20, "0"}},
    {StringWindowY, {ControlKind::Input, ContainerWindow, 160, 70, 45, 20, "0"}},
    {ContainerImage, {ControlKind::Container, ContainerStep, 5, 25, 210, 95, ""}},
    {LabelImageDo, {ControlKind::TextRight, ContainerImage, 5, 8, 50, 15, "Do:"}},
    {ComboImageDo, {ControlKind::DropDownList, ContainerImage, 60, 5, 85, 20, ""}},
    {LabelImageValue,
     {ControlKind::Text, ContainerImage, 5, 30, 200, 15, "Tolerance and picture file:"}},
    {StringImageValue, {ControlKind::Input, ContainerImage, 5, 45, 145, 20, ""}},
    {ButtonImageCapture, {ControlKind::Button, ContainerImage, 155, 45, 50, 20, "Capture"}},
    {LabelImageOffset, {ControlKind::TextRight, ContainerImage, 5, 73, 100, 15, "Offset X / Y:"}},
    {StringImageX, {ControlKind::Input, ContainerImage, 110, 70, 45, 20, "0"}},
    {StringImageY, {ControlKind::Input, ContainerImage, 160, 70, 45, 20, "0"}},
};

}  // namespace

void CreatePanelControls() {
    CreateControls(kPanel);
}

std::span<const ControlRow> PanelRows() {
    return kPanel;
}
