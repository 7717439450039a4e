// Storing the editor panel into the step it shows, checking each input as it is taken.
//
// The fields are walked in record order and every check runs right after its field is set. A
// refused input stops the walk there and nothing is undone: the record keeps what was set before
// the check, and the fields after it keep their old values.

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "editor/EditorPanel.h"
#include "platform/window.h"
#include "steps/Numbers.h"
#include "steps/RList.h"
#include "steps/StepFile.h"
#include "steps/StepRecord.h"
#include "steps/WaitValues.h"

namespace {

constexpr const char* kInputRequired = "Input required";
constexpr const char* kWrongValues = "Wrong values";

// The main window stays on top while these boxes are open. Unattended, nobody could correct the
// input: the refusal alone stops the command.
bool Refuse(const char* title, std::string_view text) {
    ReportFailure(title, text, BoxOwner::MainOnTop);
    return false;
}

bool Required(const std::string& text, const char* message) {
    return !text.empty() || Refuse(kInputRequired, message);
}

// [SECTION] Port parameters ("9600 N 8 1")

constexpr std::array<int32_t, 15> kBaudRates = {50,   75,   110,  150,   300,   600,   1200,  1800,
                                                2400, 4800, 9600, 19200, 38400, 57600, 115200};

bool PortParametersValid(std::string_view parameters) {
    const int32_t baud = ReadInteger(Field(parameters, 1, ' '));
    if (std::find(kBaudRates.begin(), kBaudRates.end(), baud) == kBaudRates.end()) {
        return Refuse(kWrongValues,
                      "Wrong baudrate (50, 75, 110, 150, 300, 600, 1200, 1800, 2400, 4800, 9600, "
                      "19200, 38400, 57600, 115200)");
    }
    const std::string_view parity = Field(parameters, 2, ' ');
    if (parity != "N" && parity != "O" && parity != "E") {
        return Refuse(kWrongValues, "Wrong parity (N, O, E)");
    }
    const int32_t dataBits = ReadInteger(Field(parameters, 3, ' '));
    if (dataBits < 5 || dataBits > 8) {
        return Refuse(kWrongValues, "Wrong dataformat (5, 6, 7, 8)");
    }
    const int32_t stopBits = ReadInteger(Field(parameters, 4, ' '));
    if (stopBits < 1 || stopBits > 2) {
        return Refuse(kWrongValues, "Wrong stopbitx (1, 2)");
    }
    return true;
}

// [SECTION] The field walk, one group per type in record order

bool StoreMouse(StepRecord& step, bool chosen) {
    if (!chosen) {
        step.MouseClick.clear();
        step.MouseX = 0;
        step.MouseY = 0;
        return true;
    }
    step.MouseClick = ChooserText(ComboClick);
    if (!Required(step.MouseClick, "No click type selected")) {
        return false;
    }
    const std::string x = platform::ControlText(StringX);
    step.MouseX = ReadInteger(x);
    if (!Required(x, "No mouse x entered")) {
        return false;
    }
    const std::string y = platform::ControlText(StringY);
    step.MouseY = ReadInteger(y);
    return Required(y, "No mouse y entered");
}

bool StoreKeyboard(StepRecord& step, bool chosen) {
    if (!chosen) {
        step.KeyType.clear();
        step.KeyName.clear();
        step.KeyString.clear();
        return true;
    }
    step.KeyType = ChooserText(Combo_KeyboardType);
    if (step.KeyType == "String") {
        step.KeyName.clear();
        step.KeyString = platform::ControlText(StringKeyText);
        return Required(step.KeyString, "No string entered");
    }
    step.KeyName = ChooserText(ComboKeyName);
    if (!Required(step.KeyName, "No key entered")) {
        return false;
    }
    step.KeyString.clear();
    return true;
}

bool StoreDelay(StepRecord& step, bool chosen) {
    if (!chosen) {
        step.DelayTime = 0.0f;
        return true;
    }
    std::string delay = platform::ControlText(StringDelay);
    std::replace(delay.begin(), delay.end(), ',', '.');
    step.DelayTime = ReadFloat(delay);
    return Required(delay, "No delay time entered");
}

bool StoreLoop(StepRecord& step, bool chosen) {
    if (!chosen) {
        step.LoopFrom = 0;
        step.LoopCount = 0;
        return true;
    }
    const std::string from = ChooserText(ComboLoopFrom);
    step.LoopFrom = ReadInteger(from);
    if (!Required(from, "No loop from step no selected")) {
        return false;
    }
    const std::string repetitions = platform::ControlText(StringRepetitions);
    step.LoopCount = ReadInteger(repetitions);
    return Required(repetitions, "No loop repetitions entered");
}

bool StoreComport(StepRecord& step, bool chosen) {
    if (!chosen) {
        step.ComPort.clear();
        step.ComType.clear();
        step.ComValue.clear();
        return true;
    }
    step.ComPort = ChooserText(ComboPort);
    if (!Required(step.ComPort, "No COM port selected")) {
        return false;
    }
    step.ComType = ChooserText(Combo_COMtype);
    if (!Required(step.ComType, "No COM type selected")) {
        return false;
    }
    step.ComValue = platform::ControlText(StringTelegram);
    if (!Required(step.ComValue, "No telegram entered")) {
        return false;
    }
    return step.ComType != "Initialise" || PortParametersValid(step.ComValue);
}

bool StoreJump(StepRecord& step, bool chosen) {
    if (!chosen) {
        step.JumpTo = 0;
        return true;
    }
    const std::string to = ChooserText(ComboJumpTo);
    step.JumpTo = ReadInteger(to);
    return Required(to, "No jump no selected");
}

bool StoreState(StepRecord& step, bool chosen) {
    step.StateText = chosen ? platform::ControlText(StringStateText) : "";
    return true;
}

bool StoreExecute(StepRecord& step, bool chosen) {
    if (!chosen) {
        step.ExecFile.clear();
        return true;
    }
    step.ExecFile = platform::ControlText(StringExecFile);
    return Required(step.ExecFile, "No execute file selected");
}

bool StoreMessage(StepRecord& step, bool chosen) {
    step.MessageText = chosen ? platform::ControlText(StringMessageText) : "";
    return true;
}

bool RefuseWait(std::string_view text) {
    return Refuse("Wait", text);
}

bool StoreWait(StepRecord& step, bool chosen) {
    if (!chosen) {
        step.WaitFor.clear();
        step.WaitValue.clear();
        step.WaitTime = 0.0f;
        step.WaitElse = 0;
        return true;
    }
    step.WaitFor = ChooserText(ComboWaitFor);
    if (step.WaitFor.empty()) {
        return RefuseWait("Nothing to wait for selected");
    }
    step.WaitValue = platform::ControlText(StringWaitValue);
    if (step.WaitValue.empty()) {
        return RefuseWait("No value entered");
    }
    if (!WaitValueValid(step.WaitFor, step.WaitValue)) {
        return RefuseWait(step.WaitFor == "Pixel"
                              ? "Wrong pixel value (X Y RRGGBB, or X Y RRGGBB V with V 0 to 255)"
                              : "Wrong answer value (the port and the text: COM1 OK)");
    }
    std::string time = platform::ControlText(StringWaitTime);
    std::replace(time.begin(), time.end(), ',', '.');
    if (!ReadWaitTime(time, step.WaitTime)) {
        return RefuseWait("Wrong wait time (seconds from 0 to 86400)");
    }
    step.WaitElse = ReadInteger(ChooserText(ComboWaitElse));
    return true;
}

// Indexed by type - 1, which is also the order of the fields in the record.
constexpr std::array<bool (*)(StepRecord&, bool), 10> kTypeFields = {
    StoreMouse, StoreKeyboard, StoreDelay,   StoreLoop,    StoreComport,
    StoreJump,  StoreState,    StoreExecute, StoreMessage, StoreWait};

}  // namespace

int SaveActualRecord() {
    const int32_t number = ReadInteger(platform::ControlText(FrameStep));
    // The frame shows a number only once a step has been shown; without one there is nothing
    // the panel could be stored into.
    if (number < 1 || number > RList.Count()) {
        return 0;
    }
    RList.Select(number - 1);

    const std::string chosen = ChooserText(ComboType);
    const int32_t type = TypeFromChooserText(chosen);
    if (type == 0) {
        Refuse("Error", "SaveActualRecord() Case unknown: " + chosen);
        return 0;
    }

    StepRecord& step = RList.At(number - 1);
    step.RECORDtype = type;
    step.Remarks = platform::ControlText(StringDescription);
    for (int index = 0; index < static_cast<int>(kTypeFields.size()); ++index) {
        if (!kTypeFields[static_cast<size_t>(index)](step, index + 1 == type)) {
            return 0;
        }
    }
    GetValues();
    return 1;
}
