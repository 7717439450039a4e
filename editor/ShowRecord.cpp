// Showing the current record in the editor panel, and the step-number choosers.

#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "editor/EditorPanel.h"
#include "platform/window.h"
#include "steps/Numbers.h"
#include "steps/RList.h"
#include "steps/StepRecord.h"

namespace {

void ShowContainer(int container) {
    platform::SetControlHidden(container, false);
}

void ShowKeyboardKind(const std::string& keyType) {
    const bool typesText = keyType == "String";
    platform::SetControlHidden(ComboKeyName, typesText);
    platform::SetControlHidden(StringKeyText, !typesText);
    platform::SetControlText(TextKeyLabel, typesText ? "String:" : "Key:");
}

// Writes the controls of the record's type; false for a type outside 1 to 10.
bool ShowFields(const StepRecord& step, int count) {
    const char* chooserText = TypeChooserText(step.RECORDtype);
    if (chooserText[0] == '\0') {
        return false;
    }
    SetChooserText(ComboType, chooserText);
    ShowContainer(TypeContainers[static_cast<size_t>(step.RECORDtype - 1)]);
    switch (step.RECORDtype) {
        case TypeMouse:
            SetChooserText(ComboClick, step.MouseClick);
            platform::SetControlText(StringX, IntegerText(step.MouseX));
            platform::SetControlText(StringY, IntegerText(step.MouseY));
            break;
        case TypeKeyboard:
            SetChooserText(Combo_KeyboardType, step.KeyType);
            SetChooserText(ComboKeyName, step.KeyName);
            platform::SetControlText(StringKeyText, step.KeyString);
            ShowKeyboardKind(step.KeyType);
            break;
        case TypeDelay:
            platform::SetControlText(StringDelay, OneDecimalText(step.DelayTime));
            break;
        case TypeLoop:
            SetStepNumberChooser(ComboLoopFrom, step.LoopFrom, count);
            platform::SetControlText(StringRepetitions, IntegerText(step.LoopCount));
            break;
        case TypeComport:
            SetChooserText(ComboPort, step.ComPort);
            SetChooserText(Combo_COMtype, step.ComType);
            platform::SetControlText(StringTelegram, step.ComValue);
            Combo_COMtype_Events(0);
            break;
        case TypeJump:
            SetStepNumberChooser(ComboJumpTo, step.JumpTo, count);
            break;
        case TypeState:
            platform::SetControlText(StringStateText, step.StateText);
            break;
        case TypeExecute:
            platform::SetControlText(StringExecFile, step.ExecFile);
            break;
        case TypeMessage:
            platform::SetControlText(StringMessageText, step.MessageText);
            break;
        case TypeWait:
            SetChooserText(ComboWaitFor, step.WaitFor);
            platform::SetControlText(StringWaitValue, step.WaitValue);
            platform::SetControlText(StringWaitTime, OneDecimalText(step.WaitTime));
            // ComboWaitElse holds "0" to `count`: the entry of n is at index n; a number outside
            // the list shows 0, as a Jump's shows its first entry.
            platform::SelectItem(ComboWaitElse,
                                 step.WaitElse >= 0 && step.WaitElse <= count ? step.WaitElse : 0);
            ComboWaitFor_Events(0);
            break;
    }
    platform::SetControlText(StringDescription, step.Remarks);
    return true;
}

}  // namespace

int GetValues() {
    // Nothing to show on an empty list; the panel keeps what it shows.
    if (RList.Count() == 0) {
        return 0;
    }
    if (RList.Index() < 0) {
        RList.Select(0);
    }
    const int index = RList.Index();
    platform::SetControlText(FrameStep, IntegerText(index + 1));
    for (int container : TypeContainers) {
        platform::SetControlHidden(container, true);
    }
    FillStepCombos();

    const StepRecord& step = RList.At(index);
    if (!ShowFields(step, RList.Count())) {
        platform::SetControlText(StringDescription, "");
        ReportFailure("Error",
                      "GetValues() Unknown RList()\\RECORDtype: " + IntegerText(step.RECORDtype));
    }
    return 0;
}

int FillStepCombos() {
    // The player shows every step it plays: rebuilding 2 x n entries each time would make a run
    // slow down with the length of the list. The entries depend on nothing but the count, so an
    // unchanged count keeps them and only the first entry is selected again.
    // ComboWaitElse has "0" (no else step) in front of the step numbers; only a Wait step selects
    // in it, which spares every other step one more control call while a run shows it.
    const int count = RList.Count();
    if (platform::ItemCount(ComboJumpTo) != count || platform::ItemCount(ComboLoopFrom) != count ||
        platform::ItemCount(ComboWaitElse) != count + 1) {
        std::vector<std::string> numbers;
        numbers.reserve(static_cast<size_t>(count) + 1);
        for (int number = 0; number <= count; ++number) {
            numbers.push_back(IntegerText(number));
        }
        platform::SetItems(ComboWaitElse, numbers);
        platform::SelectItem(ComboWaitElse, 0);
        numbers.erase(numbers.begin());
        platform::SetItems(ComboJumpTo, numbers);
        platform::SetItems(ComboLoopFrom, numbers);
    }
    platform::SelectItem(ComboJumpTo, 0);
    platform::SelectItem(ComboLoopFrom, 0);
    return 0;
}
