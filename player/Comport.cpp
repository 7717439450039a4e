// The Comport step: registering a port's parameters, sending a telegram on it.

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/serial.h"
#include "platform/system.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "steps/Numbers.h"
#include "steps/StepFile.h"

namespace {

constexpr const char* kCaption = "COM port";
constexpr uint32_t kQueueBytes = 1024;
constexpr uint32_t kWriteMsPerByte = 100;
constexpr uint32_t kWriteMsExtra = 10;

// DCB stop bit codes.
constexpr uint8_t kOneStopBit = 0;
constexpr uint8_t kOneAndAHalfStopBits = 1;
constexpr uint8_t kTwoStopBits = 2;

int32_t ParityCode(std::string_view letter) {
    if (letter == "O") {
        return 1;
    }
    if (letter == "E") {
        return 2;
    }
    return 0;
}

uint8_t StopBitsCode(int32_t stopBits) {
    if (stopBits == 1) {
        return kOneStopBit;
    }
    return stopBits == 2 ? kTwoStopBits : kOneAndAHalfStopBits;
}

const ComPortEntry* FindPort(const Run& run, const std::string& name) {
    const auto found =
        std::find_if(run.ports.begin(), run.ports.end(),
                     [&](const ComPortEntry& entry) { return entry.PortName == name; });
    return found == run.ports.end() ? nullptr : &*found;
}

// The first registration of a port in a run stays in force; the port is not touched.
void RegisterPort(Run& run, const StepRecord& step) {
    run.did = "initialised " + step.ComPort + " " + step.ComValue;
    if (FindPort(run, step.ComPort) == nullptr) {
        ComPortEntry entry;
        entry.PortName = step.ComPort;
        entry.Baud = ReadInteger(Field(step.ComValue, 1, ' '));
        entry.Parity = ParityCode(Field(step.ComValue, 2, ' '));
        entry.DataBits = ReadInteger(Field(step.ComValue, 3, ' '));
        entry.StopBits = ReadInteger(Field(step.ComValue, 4, ' '));
        run.ports.push_back(entry);
    }
    WaitAfterStep();
}

void FailPaused(Run& run, std::string_view text) {
    ReportRunFailure(run, kCaption, text);
}

bool SetUpPort(platform::SerialPort& port, const ComPortEntry& entry) {
    platform::PortSettings settings;
    if (!port.Open(entry.PortName) || !port.SetQueues(kQueueBytes, kQueueBytes) ||
        !port.ReadSettings(settings)) {
        return false;
    }
    settings.baudRate = static_cast<uint32_t>(entry.Baud);
    settings.dataBits = static_cast<uint8_t>(entry.DataBits);
    settings.parity = static_cast<uint8_t>(entry.Parity);
    settings.parityCheck = true;
    settings.stopBits = StopBitsCode(entry.StopBits);
    settings.ctsFlow = false;
    settings.rtsOn = false;
    platform::PortTimeouts timeouts;
    timeouts.writeMultiplier = kWriteMsPerByte;
    timeouts.writeConstant = kWriteMsExtra;
    return port.WriteSettings(settings) && port.SetTimeouts(timeouts);
}

}  // namespace

void PlayComport(Run& run, const StepRecord& step) {
    if (step.ComType == "Initialise") {
        RegisterPort(run, step);
        return;
    }
    run.did = step.ComType + " telegram to " + step.ComPort;
    const ComPortEntry* entry = FindPort(run, step.ComPort);
    if (entry == nullptr) {
        FailPaused(run, "Port is not initialised!");
        return;
    }
    std::string bytes;
    std::string error;
    if (!EncodeTelegram(step.ComType, step.ComValue, bytes, error)) {
        FailPaused(run, error);
        return;
    }
    platform::SerialPort port;
    if (SetUpPort(port, *entry)) {
        // A failed or timed-out write is not reported.
        port.Write(bytes);
        port.Close();
        run.did = "sent " + std::to_string(bytes.size()) + " bytes to " + step.ComPort;
    } else {
        port.Close();
        FailPaused(run, "Can't open port!");
    }
    WaitAfterStep();
}
