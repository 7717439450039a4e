// The Comport container: its row, showing and storing its fields with the port parameter checks,
// and the hint that follows the COM type chosen.

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "editor/EditorPanel.h"
#include "editor/PanelTypes.h"
#include "platform/window.h"
#include "steps/Numbers.h"
#include "steps/StepFile.h"
#include "steps/StepKinds.h"

namespace {

constexpr int kComPortEntries = 80;

// [SECTION] Port parameters ("9600 N 8 1")

constexpr std::array<int32_t, 15> kBaudRates = {50,   75,   110,  150,   300,   600,   1200,  1800,
                                                2400, 4800, 9600, 19200, 38400, 57600, 115200};

bool PortParametersValid(std::string_view parameters) {
    const int32_t baud = ReadInteger(Field(parameters, 1, ' '));
    if (std::find(kBaudRates.begin(), kBaudRates.end(), baud) == kBaudRates.end()) {
        return Refuse(WrongValues,
                      "Wrong baudrate (50, 75, 110, 150, 300, 600, 1200, 1800, 2400, 4800, 9600, "
                      "19200, 38400, 57600, 115200)");
    }
    const std::string_view parity = Field(parameters, 2, ' ');
    if (parity != "N" && parity != "O" && parity != "E") {
        return Refuse(WrongValues, "Wrong parity (N, O, E)");
    }
    const int32_t dataBits = ReadInteger(Field(parameters, 3, ' '));
    if (dataBits < 5 || dataBits > 8) {
        return Refuse(WrongValues, "Wrong dataformat (5, 6, 7, 8)");
    }
    const int32_t stopBits = ReadInteger(Field(parameters, 4, ' '));
    if (stopBits < 1 || stopBits > 2) {
        return Refuse(WrongValues, "Wrong stopbitx (1, 2)");
    }
    return true;
}

// [SECTION] The row

void FillComport() {
    std::vector<std::string> ports;
    for (int port = 1; port <= kComPortEntries; ++port) {
        ports.push_back("COM" + std::to_string(port));
    }
    FillChooser(ComboPort, ports);
    FillChooserWithNames(Combo_COMtype, ComTypes());
}

void ShowComport(const StepRecord& step, int) {
    SetChooserText(ComboPort, step.ComPort);
    SetChooserText(Combo_COMtype, step.ComType);
    platform::SetControlText(StringTelegram, step.ComValue);
    Combo_COMtype_Events(0);
}

bool StoreComport(StepRecord& step) {
    step.ComPort = ChooserText(ComboPort);
    if (!Required(step.ComPort, "No COM port selected")) {
        return false;
    }
    step.ComType = ChooserText(Combo_COMtype);
    if (!Required(step.ComType, "No COM type selected")) {
        return false;
    }
    if (!StoreText(step.ComValue, platform::ControlText(StringTelegram), WrongValues, "telegram") ||
        !Required(step.ComValue, "No telegram entered")) {
        return false;
    }
    return ReadComType(step.ComType) != ComType::Initialise || PortParametersValid(step.ComValue);
}

constexpr PanelEvent kComportEvents[] = {{Combo_COMtype, Combo_COMtype_Events}};

}  // namespace

const PanelType ComportPanel = {.type = TypeComport,
                                .container = ContainerComport,
                                .fill = FillComport,
                                .show = ShowComport,
                                .store = StoreComport,
                                .events = kComportEvents};

int Combo_COMtype_Events(int) {
    const std::string type = ChooserText(Combo_COMtype);
    if (const ComTypeRow* row = RowNamed(ComTypes(), type)) {
        platform::SetControlText(TextComHint, row->hint);
    } else {
        ShowMessage("Error", "Combo_COMtype_Events Case unknown");
    }
    return 0;
}
