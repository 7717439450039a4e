// Real pointer and key input: synthesised with SendInput, or through the X server with xdotool
// where the program must see a user's own key press.
#include <windows.h>

#include <cstdio>

#include "Driver.h"
#include "WideText.h"

namespace e2e {

namespace {

INPUT KeyEvent(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

INPUT UnicodeEvent(wchar_t character, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = character;
    input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

// Key presses for one character: with Shift where the layout needs it, else as a Unicode packet.
void AddCharacter(std::vector<INPUT>& inputs, wchar_t character) {
    const SHORT scan = VkKeyScanW(character);
    if (scan == -1 || (HIBYTE(scan) & ~1) != 0) {
        inputs.push_back(UnicodeEvent(character, false));
        inputs.push_back(UnicodeEvent(character, true));
        return;
    }
    const bool shift = (HIBYTE(scan) & 1) != 0;
    if (shift) {
        inputs.push_back(KeyEvent(VK_SHIFT, false));
    }
    inputs.push_back(KeyEvent(LOBYTE(scan), false));
    inputs.push_back(KeyEvent(LOBYTE(scan), true));
    if (shift) {
        inputs.push_back(KeyEvent(VK_SHIFT, true));
    }
}

}  // namespace

Point CursorPosition() {
    POINT point{};
    GetCursorPos(&point);
    return {point.x, point.y};
}

void MoveMouse(int x, int y) {
    SetCursorPos(x, y);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof(INPUT));
}

void PressKey(int virtualKey) {
    INPUT keys[2] = {KeyEvent(static_cast<WORD>(virtualKey), false),
                     KeyEvent(static_cast<WORD>(virtualKey), true)};
    SendInput(2, keys, sizeof(INPUT));
}

void TypeText(std::string_view text) {
    std::vector<INPUT> inputs;
    for (wchar_t character : Wide(text)) {
        AddCharacter(inputs, character);
    }
    if (!inputs.empty()) {
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    }
}

// Wine never signals the process handle of a started Unix program, so the command runs under
// sh, which writes its exit status into a file that is polled.
int RunUnix(std::string_view commandLine, int timeoutMs) {
    static int runs = 0;
    const std::string status = "/tmp/quorvane-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++runs) + ".status";
    const std::string windowsStatus = "Z:" + status;
    std::wstring command = Wide("Z:\\bin\\sh -c \"" + std::string(commandLine) + "; echo $? >" +
                                status + ".part && mv " + status + ".part " + status + "\"");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        Note("could not start " + std::string(commandLine) + " (error " +
             std::to_string(GetLastError()) + ")");
        return -1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!WaitUntil(
            [&] { return GetFileAttributesA(windowsStatus.c_str()) != INVALID_FILE_ATTRIBUTES; },
            timeoutMs)) {
        Note("time-out waiting for " + std::string(commandLine));
        return -1;
    }
    int code = -1;
    if (std::FILE* file = std::fopen(windowsStatus.c_str(), "r")) {
        if (std::fscanf(file, "%d", &code) != 1) {
            code = -1;
        }
        std::fclose(file);
    }
    DeleteFileA(windowsStatus.c_str());
    return code;
}

bool Xdotool(std::string_view arguments, int timeoutMs) {
    return RunUnix("/usr/bin/xdotool " + std::string(arguments), timeoutMs) == 0;
}

}  // namespace e2e
