// In-memory serial devices, opened by port name.

#include "platform/serial.h"

#include "platform/headless/State.h"

namespace {

using headless::SerialDevice;
using headless_state::Lock;
using headless_state::Shared;

constexpr uint32_t kDeviceBaud = 1200;
constexpr uint8_t kDeviceDataBits = 7;
constexpr uint8_t kDeviceParityEven = 2;
constexpr uint8_t kDeviceTwoStopBits = 2;

// The device behind an open handle, or nullptr when the handle or the device is gone.
SerialDevice* DeviceOf(intptr_t handle) {
    const std::string* name = headless_state::HandleName(Shared().openPorts, handle);
    if (name == nullptr) {
        return nullptr;
    }
    auto found = Shared().serialDevices.find(*name);
    return found != Shared().serialDevices.end() && found->second.exists && !found->second.unplugged
               ? &found->second
               : nullptr;
}

}  // namespace

namespace platform {

SerialPort::~SerialPort() {
    Close();
}

bool SerialPort::Open(std::string_view portName) {
    const auto lock = Lock();
    if (handle_ != kClosed) {
        return false;
    }
    auto found = Shared().serialDevices.find(std::string(portName));
    if (found == Shared().serialDevices.end()) {
        return false;
    }
    SerialDevice& device = found->second;
    if (!device.exists || device.unplugged || device.inUse || device.open) {
        return false;
    }
    device.open = true;
    ++device.opens;
    handle_ = headless_state::OpenHandle(Shared().openPorts, found->first);
    return true;
}

bool SerialPort::SetQueues(uint32_t inputBytes, uint32_t outputBytes) {
    const auto lock = Lock();
    SerialDevice* device = DeviceOf(handle_);
    if (device == nullptr) {
        return false;
    }
    device->inputQueue = inputBytes;
    device->outputQueue = outputBytes;
    return true;
}

bool SerialPort::ReadSettings(PortSettings& settings) {
    const auto lock = Lock();
    const SerialDevice* device = DeviceOf(handle_);
    if (device == nullptr) {
        return false;
    }
    settings = device->settings;
    return true;
}

bool SerialPort::WriteSettings(const PortSettings& settings) {
    const auto lock = Lock();
    SerialDevice* device = DeviceOf(handle_);
    if (device == nullptr || device->refuseSettings) {
        return false;
    }
    device->settings = settings;
    return true;
}

bool SerialPort::SetTimeouts(const PortTimeouts& timeouts) {
    const auto lock = Lock();
    SerialDevice* device = DeviceOf(handle_);
    if (device == nullptr) {
        return false;
    }
    device->timeouts = timeouts;
    return true;
}

bool SerialPort::Write(std::string_view bytes) {
    const auto lock = Lock();
    SerialDevice* device = DeviceOf(handle_);
    if (device == nullptr) {
        return false;
    }
    device->written += bytes;
    return true;
}

bool SerialPort::ReadAvailable(std::string& bytes) {
    const auto lock = Lock();
    SerialDevice* device = DeviceOf(handle_);
    if (device == nullptr) {
        return false;
    }
    bytes += device->incoming;
    device->incoming.clear();
    return true;
}

void SerialPort::Close() {
    if (handle_ == kClosed) {
        return;
    }
    const auto lock = Lock();
    const std::string* name = headless_state::HandleName(Shared().openPorts, handle_);
    const auto found =
        name != nullptr ? Shared().serialDevices.find(*name) : Shared().serialDevices.end();
    if (found != Shared().serialDevices.end()) {
        found->second.open = false;
    }
    Shared().openPorts.erase(handle_);
    handle_ = kClosed;
}

}  // namespace platform

namespace headless {

void AddSerialDevice(const std::string& portName) {
    SerialDevice device;
    device.exists = true;
    device.settings.baudRate = kDeviceBaud;
    device.settings.dataBits = kDeviceDataBits;
    device.settings.parity = kDeviceParityEven;
    device.settings.stopBits = kDeviceTwoStopBits;
    device.settings.parityCheck = false;
    device.settings.ctsFlow = true;
    device.settings.rtsOn = true;
    const auto lock = Lock();
    Shared().serialDevices[portName] = device;
}

void SetSerialDevice(const std::string& portName, const SerialDevice& device) {
    const auto lock = Lock();
    Shared().serialDevices[portName] = device;
}

void DeviceSends(const std::string& portName, const std::string& bytes) {
    const auto lock = Lock();
    auto found = Shared().serialDevices.find(portName);
    if (found == Shared().serialDevices.end() || !found->second.open) {
        return;
    }
    SerialDevice& device = found->second;
    const size_t room = device.inputQueue == 0 ? bytes.size()
                        : device.incoming.size() >= device.inputQueue
                            ? 0
                            : device.inputQueue - device.incoming.size();
    device.incoming += bytes.substr(0, room);
}

void SetSerialDeviceUnplugged(const std::string& portName, bool unplugged) {
    const auto lock = Lock();
    Shared().serialDevices[portName].unplugged = unplugged;
}

SerialDevice GetSerialDevice(const std::string& portName) {
    const auto lock = Lock();
    auto found = Shared().serialDevices.find(portName);
    return found != Shared().serialDevices.end() ? found->second : SerialDevice{};
}

}  // namespace headless
