#include "TargetProgram.h"

#include <windows.h>

#include <chrono>
#include <fstream>
#include <iterator>

namespace bench {

namespace {

PROCESS_INFORMATION Target{};
constexpr int kTargetEdit = 2;
constexpr ULONGLONG kStartTimeoutMs = 30000;

bool WaitFor(bool (*condition)(HWND), HWND window) {
    const ULONGLONG deadline = GetTickCount64() + kStartTimeoutMs;
    while (!condition(window)) {
        if (GetTickCount64() > deadline) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

bool HasFocus(HWND edit) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(edit, nullptr), &info) &&
           info.hwndFocus == edit;
}

HWND FindTarget() {
    const ULONGLONG deadline = GetTickCount64() + kStartTimeoutMs;
    HWND window = nullptr;
    while ((window = FindWindowW(L"QuorvaneTarget", nullptr)) == nullptr ||
           !IsWindowVisible(window)) {
        if (GetTickCount64() > deadline) {
            return nullptr;
        }
        Sleep(10);
    }
    return window;
}

// A real click in the middle of the edit, as a user would focus it.
void ClickInto(HWND edit) {
    RECT box{};
    GetWindowRect(edit, &box);
    SetCursorPos((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

}  // namespace

bool StartTargetWithFocusedEdit(const std::string& targetPath, const std::string& logPath) {
    std::string commandLine = "\"" + targetPath + "\" \"" + logPath + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &Target)) {
        return false;
    }
    HWND window = FindTarget();
    HWND edit = window != nullptr ? GetDlgItem(window, kTargetEdit) : nullptr;
    if (edit == nullptr) {
        return false;
    }
    SetForegroundWindow(window);
    ClickInto(edit);
    return WaitFor(HasFocus, edit);
}

void EndTarget() {
    if (Target.hProcess == nullptr) {
        return;
    }
    TerminateProcess(Target.hProcess, 0);
    WaitForSingleObject(Target.hProcess, 5000);
    CloseHandle(Target.hThread);
    CloseHandle(Target.hProcess);
    Target = {};
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string TemporaryFile(const std::string& name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name + "-" + std::to_string(GetCurrentProcessId());
}

double NowMs() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void PollPause() {
    Sleep(5);
}

}  // namespace bench
