// [SECTION] Menu commands that belong to the main window.

#include <string>

#include "Forms/FormMAIN.h"
#include "Quorvane/Commands.h"
#include "Quorvane/Quorvane.h"
#include "platform/system.h"
#include "platform/window.h"
#include "steps/Document.h"

namespace {

// Everything that could change or move the step list, locked for the length of a run.
constexpr int kLockedControls[] = {ButtonFirst, ButtonPrevious,   ButtonSelectStep, ButtonNext,
                                   ButtonLast,  ButtonNewEnd,     ButtonNewFront,   ButtonDelete,
                                   ComboType,   StringDescription};
constexpr int kLockedMenuItems[] = {MenuOpen, MenuNew,    MenuSave, MenuSaveAs,
                                    MenuExit, MenuEditor, MenuAbout};
constexpr int kLockedPanelControls[] = {
    ComboClick,        StringX,         StringY,        Combo_KeyboardType,
    StringKeyText,     ComboKeyName,    StringDelay,    ComboLoopFrom,
    StringRepetitions, ComboPort,       Combo_COMtype,  StringTelegram,
    ComboJumpTo,       StringStateText, StringExecFile, ButtonExecFile};

}  // namespace

void LockControls(int state) {
    const bool enabled = state != 1;
    for (int control : kLockedControls) {
        platform::SetControlEnabled(control, enabled);
    }
    for (int item : kLockedMenuItems) {
        platform::SetMenuItemEnabled(item, enabled);
    }
    for (int control : kLockedPanelControls) {
        platform::SetControlEnabled(control, enabled);
    }
}

void ExitProgram() {
    if (platform::MessageBoxYesNo(FormMAIN, "Confirm", "Exit program?")) {
        platform::ExitProcessNow(0);
    }
}

void ShowAbout() {
    ShowMessage("About", std::string(26, ' ') + "Quorvane" + std::string(3, ' ') + ProgramVersion);
}
