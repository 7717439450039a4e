// Serial ports: open a COM port, set it up, write, read what came in, close.
//
// Implemented by platform/win32/serial.cpp (CreateFileA on "\\.\" + name, SetupComm, GetCommState,
// SetCommState, SetCommTimeouts, WriteFile, ReadFile, CloseHandle) and
// platform/headless/serial.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The fields of the Windows DCB that the program reads or sets; the rest stay as the device
// reports them.
struct PortSettings {
    uint32_t baudRate = 0;
    uint8_t dataBits = 8;
    uint8_t parity = 0;        // 0 none, 1 odd, 2 even (DCB parity codes)
    uint8_t stopBits = 0;      // 0 one, 1 one and a half, 2 two (DCB stop bit codes)
    bool parityCheck = false;  // fParity
    bool ctsFlow = false;      // fOutxCtsFlow
    bool rtsOn = false;        // fRtsControl: RTS_CONTROL_ENABLE when true, _DISABLE when false
};

// COMMTIMEOUTS, in milliseconds.
struct PortTimeouts {
    uint32_t readInterval = 0;
    uint32_t readMultiplier = 0;
    uint32_t readConstant = 0;
    uint32_t writeMultiplier = 0;
    uint32_t writeConstant = 0;
};

// An open serial port; closes it when it goes out of scope.
class SerialPort {
public:
    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens the port by name ("COM1") for reading and writing, not shared, existing only.
    bool Open(std::string_view portName);
    bool IsOpen() const { return handle_ != kClosed; }
    bool SetQueues(uint32_t inputBytes, uint32_t outputBytes);
    bool ReadSettings(PortSettings& settings);
    bool WriteSettings(const PortSettings& settings);
    bool SetTimeouts(const PortTimeouts& timeouts);
    // One write of all bytes; false when it failed or timed out.
    bool Write(std::string_view bytes);
    // Appends the bytes that have come in so far. It returns at once only when the time-outs
    // say so (readInterval 0xFFFFFFFF, the read multiplier and constant 0); false when the port
    // failed.
    bool ReadAvailable(std::string& bytes);
    void Close();

private:
    static constexpr intptr_t kClosed = -1;
    intptr_t handle_ = kClosed;
};

}  // namespace platform
