// Starting, watching and ending the program under test.
#include <windows.h>

#include "Driver.h"
#include "StartProcess.h"
#include "WideText.h"

namespace e2e {

namespace {

PROCESS_INFORMATION Launched{};

struct WindowSearch {
    DWORD processId = 0;
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !IsWindowVisible(window)) {
        return TRUE;
    }
    wchar_t title[256] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(title),
                             SMTO_ABORTIFHUNG, 2000, &length)) {
        return TRUE;
    }
    if (search.title == title) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool StartProcess(const std::string& path, const std::string& arguments,
                  PROCESS_INFORMATION& process) {
    std::wstring commandLine = L"\"" + Wide(path) + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + Wide(arguments);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        Note("CreateProcess failed for " + path + " (error " + std::to_string(GetLastError()) +
             ")");
        process = {};
        return false;
    }
    return true;
}

bool Launch(const std::string& path, const std::string& arguments) {
    EndProgram();
    return StartProcess(path, arguments, Launched);
}

unsigned long LaunchedProcessId() {
    return Launched.dwProcessId;
}

Window WaitForWindow(std::string_view title, int timeoutMs) {
    WindowSearch search{Launched.dwProcessId, Wide(title), nullptr};
    WaitUntil(
        [&] {
            EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr || HasExited();
        },
        timeoutMs);
    return search.found;
}

bool HasExited() {
    return Launched.hProcess == nullptr ||
           WaitForSingleObject(Launched.hProcess, 0) == WAIT_OBJECT_0;
}

bool WaitForExit(unsigned long& exitCode, int timeoutMs) {
    if (Launched.hProcess == nullptr ||
        WaitForSingleObject(Launched.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
        return false;
    }
    DWORD code = 0;
    GetExitCodeProcess(Launched.hProcess, &code);
    exitCode = code;
    return true;
}

void EndProgram() {
    if (Launched.hProcess == nullptr) {
        return;
    }
    if (!HasExited()) {
        TerminateProcess(Launched.hProcess, 1);
        WaitForSingleObject(Launched.hProcess, 5000);
    }
    CloseHandle(Launched.hThread);
    CloseHandle(Launched.hProcess);
    Launched = {};
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!condition()) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

}  // namespace e2e
