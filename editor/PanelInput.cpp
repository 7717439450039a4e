// The Mouse and Keyboard containers: their rows, showing and storing their fields, the keyboard
// kind chooser and F9 into the Mouse inputs.

#include <string>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "editor/EditorPanel.h"
#include "editor/PanelTypes.h"
#include "platform/input.h"
#include "platform/window.h"
#include "steps/KeyText.h"
#include "steps/Numbers.h"
#include "steps/StepKinds.h"

namespace {

// [SECTION] Mouse

void FillMouse() {
    FillChooserWithNames(ComboClick, ClickKinds());
}

void ShowMouse(const StepRecord& step, int) {
    SetChooserText(ComboClick, step.MouseClick);
    platform::SetControlText(StringX, IntegerText(step.MouseX));
    platform::SetControlText(StringY, IntegerText(step.MouseY));
}

bool StoreMouse(StepRecord& step) {
    step.MouseClick = ChooserText(ComboClick);
    if (!Required(step.MouseClick, "No click type selected")) {
        return false;
    }
    return StoreInteger(step.MouseX, platform::ControlText(StringX), "No mouse x entered") &&
           StoreInteger(step.MouseY, platform::ControlText(StringY), "No mouse y entered");
}

// Copies the cursor position into StringX and StringY.
void CaptureMousePosition() {
    int x = 0;
    int y = 0;
    platform::CursorPosition(x, y);
    platform::SetControlText(StringX, IntegerText(x));
    platform::SetControlText(StringY, IntegerText(y));
}

// [SECTION] Keyboard

// A text to type shows its input under "String:", a key its chooser under "Key:"; the other one
// keeps what it holds, hidden.
void ShowKeyboardKind(bool typesText) {
    platform::SetControlText(TextKeyLabel, typesText ? "String:" : "Key:");
    platform::SetControlHidden(ComboKeyName, typesText);
    platform::SetControlHidden(StringKeyText, !typesText);
}

void FillKeyboard() {
    FillChooser(Combo_KeyboardType, {"String", "Key"});
    FillChooser(ComboKeyName, ChooserKeyNames());
}

void ShowKeyboard(const StepRecord& step, int) {
    SetChooserText(Combo_KeyboardType, step.KeyType);
    SetChooserText(ComboKeyName, step.KeyName);
    platform::SetControlText(StringKeyText, step.KeyString);
    ShowKeyboardKind(step.KeyType == "String");
}

// The kind is "String" only when the chooser says exactly that; any other text is a key.
bool StoreKeyboard(StepRecord& step) {
    step.KeyType = ChooserText(Combo_KeyboardType);
    if (step.KeyType == "String") {
        step.KeyName.clear();
        return StoreText(step.KeyString, platform::ControlText(StringKeyText), WrongValues,
                         "text to type", "; {SEMICOLON} types one") &&
               Required(step.KeyString, "No string entered");
    }
    step.KeyName = ChooserText(ComboKeyName);
    if (!Required(step.KeyName, "No key entered")) {
        return false;
    }
    step.KeyString.clear();
    return true;
}

constexpr PanelEvent kKeyboardEvents[] = {{Combo_KeyboardType, Combo_KeyboardType_Events}};

}  // namespace

const PanelType MousePanel = {.type = TypeMouse,
                              .container = ContainerMouse,
                              .fill = FillMouse,
                              .show = ShowMouse,
                              .store = StoreMouse,
                              .capture = CaptureMousePosition,
                              .captureHidden = true};

const PanelType KeyboardPanel = {.type = TypeKeyboard,
                                 .container = ContainerKeyboard,
                                 .fill = FillKeyboard,
                                 .show = ShowKeyboard,
                                 .store = StoreKeyboard,
                                 .events = kKeyboardEvents};

int Combo_KeyboardType_Events(int) {
    const std::string kind = ChooserText(Combo_KeyboardType);
    if (kind == "String" || kind == "Key") {
        ShowKeyboardKind(kind == "String");
    } else {
        ShowMessage("Error", "Combo_KeyboardType_Events() Case unknown");
    }
    return 0;
}
