// The Comport step: registering a port's parameters, sending a telegram on it; the ports that
// Wait steps listen on, held open for the run.

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/serial.h"
#include "platform/system.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "player/WaitStep.h"
#include "steps/Numbers.h"
#include "steps/RList.h"
#include "steps/StepFile.h"
#include "steps/StepKinds.h"
#include "steps/WaitKinds.h"

namespace {

constexpr const char* kCaption = "COM port";
constexpr uint32_t kQueueBytes = 1024;
constexpr uint32_t kWriteMsPerByte = 100;
constexpr uint32_t kWriteMsExtra = 10;
// A held port keeps a device's chatter until a Wait step reads it.
constexpr uint32_t kHeldQueueBytes = 64 * 1024;
// ReadFile returns at once with what has come in.
constexpr uint32_t kReadReturnsAtOnce = 0xFFFFFFFF;

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

void FailPaused(Run& run, std::string_view text) {
    ReportRunFailure(run, kCaption, text);
}

// Some Wait step of the list waits for an answer on the port.
bool ListenedTo(const std::string& portName) {
    WaitCondition condition;
    return std::any_of(RList.Elements().begin(), RList.Elements().end(), [&](const StepRecord& s) {
        return s.RECORDtype == TypeWait && ReadWaitCondition(s.WaitFor, s.WaitValue, condition) &&
               condition.kind == WaitKind::Answer && condition.port == portName;
    });
}

bool SetUpPort(platform::SerialPort& port, const ComPortEntry& entry, bool held) {
    const uint32_t queueBytes = held ? kHeldQueueBytes : kQueueBytes;
    platform::PortSettings settings;
    if (!port.Open(entry.PortName) || !port.SetQueues(queueBytes, kQueueBytes) ||
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
    if (held) {
        timeouts.readInterval = kReadReturnsAtOnce;
    }
    return port.WriteSettings(settings) && port.SetTimeouts(timeouts);
}

// Opens a port that a Wait step listens on, for the rest of the run.
bool HoldPort(Run& run, const ComPortEntry& entry) {
    HeldComPort held;
    held.PortName = entry.PortName;
    held.Port = std::make_unique<platform::SerialPort>();
    if (!SetUpPort(*held.Port, entry, true)) {
        return false;
    }
    run.heldPorts.push_back(std::move(held));
    return true;
}

// The first registration of a port in a run stays in force; a port no Wait step listens on is
// not touched.
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
        if (ListenedTo(entry.PortName)) {
            if (!HoldPort(run, entry)) {
                FailPaused(run, "Can't open port!");
            } else {
                run.did += ", held open for its answers";
            }
        }
    }
    WaitAfterStep();
}

// Moves what has come in on the held port into its buffer; a failed read closes the port and
// is reported.
bool TakeIncoming(Run& run, HeldComPort& held) {
    std::string bytes;
    const bool read = held.Port->ReadAvailable(bytes);
    held.Incoming.Append(bytes);
    if (!read) {
        held.Port->Close();
        FailPaused(run, "Can't read port!");
    }
    return read;
}

// Sends on a held port; what came in before the send no longer answers a Wait after it.
bool SendOnHeldPort(Run& run, HeldComPort& held, const std::string& bytes) {
    if (!ReopenHeldPort(run, held) || !TakeIncoming(run, held)) {
        return false;
    }
    held.Incoming.MarkSend();
    held.Port->Write(bytes);
    return true;
}

}  // namespace

bool PortRegistered(const Run& run, const std::string& portName) {
    return FindPort(run, portName) != nullptr;
}

HeldComPort* FindHeldPort(Run& run, const std::string& portName) {
    for (HeldComPort& held : run.heldPorts) {
        if (held.PortName == portName) {
            return &held;
        }
    }
    return nullptr;
}

bool ReopenHeldPort(Run& run, HeldComPort& held) {
    const ComPortEntry* entry = FindPort(run, held.PortName);
    if (held.Port->IsOpen() || (entry != nullptr && SetUpPort(*held.Port, *entry, true))) {
        return true;
    }
    held.Port->Close();
    FailPaused(run, "Can't open port!");
    return false;
}

void ReadHeldPorts(Run& run) {
    for (HeldComPort& held : run.heldPorts) {
        if (held.Port->IsOpen()) {
            TakeIncoming(run, held);
        }
    }
}

void PlayComport(Run& run, const StepRecord& step) {
    const ComType type = ReadComType(step.ComType);
    if (type == ComType::Initialise) {
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
    if (!EncodeTelegram(type, step.ComValue, bytes, error)) {
        FailPaused(run, error);
        return;
    }
    if (HeldComPort* held = FindHeldPort(run, step.ComPort)) {
        if (SendOnHeldPort(run, *held, bytes)) {
            run.did = "sent " + std::to_string(bytes.size()) + " bytes to " + step.ComPort;
        }
        WaitAfterStep();
        return;
    }
    platform::SerialPort port;
    if (SetUpPort(port, *entry, false)) {
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
