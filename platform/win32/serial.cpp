// Serial ports through the Windows communications functions.

#include "platform/serial.h"

#include "platform/win32/ScopedHandle.h"

namespace {

using win32::AsHandle;

bool ReadDcb(intptr_t handle, DCB& dcb) {
    dcb = DCB{};
    dcb.DCBlength = sizeof(dcb);
    return GetCommState(AsHandle(handle), &dcb) != FALSE;
}

}  // namespace

namespace platform {

SerialPort::~SerialPort() {
    Close();
}

bool SerialPort::Open(std::string_view portName) {
    Close();
    const std::string device = "\\\\.\\" + std::string(portName);
    HANDLE handle = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    handle_ = win32::AsInteger(handle);
    return true;
}

bool SerialPort::SetQueues(uint32_t inputBytes, uint32_t outputBytes) {
    return IsOpen() && SetupComm(AsHandle(handle_), inputBytes, outputBytes);
}

bool SerialPort::ReadSettings(PortSettings& settings) {
    DCB dcb;
    if (!IsOpen() || !ReadDcb(handle_, dcb)) {
        return false;
    }
    settings.baudRate = dcb.BaudRate;
    settings.dataBits = dcb.ByteSize;
    settings.parity = dcb.Parity;
    settings.stopBits = dcb.StopBits;
    settings.parityCheck = dcb.fParity != 0;
    settings.ctsFlow = dcb.fOutxCtsFlow != 0;
    settings.rtsOn = dcb.fRtsControl == RTS_CONTROL_ENABLE;
    return true;
}

// Every other field of the device's DCB stays as the device reports it.
bool SerialPort::WriteSettings(const PortSettings& settings) {
    DCB dcb;
    if (!IsOpen() || !ReadDcb(handle_, dcb)) {
        return false;
    }
    dcb.BaudRate = settings.baudRate;
    dcb.ByteSize = settings.dataBits;
    dcb.Parity = settings.parity;
    dcb.StopBits = settings.stopBits;
    dcb.fParity = settings.parityCheck ? 1 : 0;
    dcb.fOutxCtsFlow = settings.ctsFlow ? 1 : 0;
    dcb.fRtsControl = settings.rtsOn ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
    return SetCommState(AsHandle(handle_), &dcb);
}

bool SerialPort::SetTimeouts(const PortTimeouts& timeouts) {
    COMMTIMEOUTS commTimeouts{};
    commTimeouts.ReadIntervalTimeout = timeouts.readInterval;
    commTimeouts.ReadTotalTimeoutMultiplier = timeouts.readMultiplier;
    commTimeouts.ReadTotalTimeoutConstant = timeouts.readConstant;
    commTimeouts.WriteTotalTimeoutMultiplier = timeouts.writeMultiplier;
    commTimeouts.WriteTotalTimeoutConstant = timeouts.writeConstant;
    return IsOpen() && SetCommTimeouts(AsHandle(handle_), &commTimeouts);
}

bool SerialPort::Write(std::string_view bytes) {
    if (!IsOpen() || bytes.size() > MAXDWORD) {
        return false;
    }
    DWORD written = 0;
    const auto size = static_cast<DWORD>(bytes.size());
    return WriteFile(AsHandle(handle_), bytes.data(), size, &written, nullptr) && written == size;
}

bool SerialPort::ReadAvailable(std::string& bytes) {
    if (!IsOpen()) {
        return false;
    }
    char chunk[4096];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(AsHandle(handle_), chunk, sizeof(chunk), &read, nullptr)) {
            return false;
        }
        bytes.append(chunk, read);
        if (read < sizeof(chunk)) {
            return true;
        }
    }
}

void SerialPort::Close() {
    if (IsOpen()) {
        CloseHandle(AsHandle(handle_));
        handle_ = kClosed;
    }
}

}  // namespace platform
