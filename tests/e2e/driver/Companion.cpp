// A second program beside the one under test, the test's own files, a fine clock and the Unix
// shell: what the player's tests need to watch input and devices from outside.
#include <windows.h>

#include <cstdlib>

#include "Driver.h"
#include "StartProcess.h"
#include "WideText.h"

namespace e2e {

namespace {

PROCESS_INFORMATION Companion{};

struct FileHandle {
    HANDLE handle;
    ~FileHandle() {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
};

struct TitleSearch {
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<TitleSearch*>(context);
    wchar_t title[256] = {};
    if (IsWindowVisible(window) && GetWindowTextW(window, title, 256) > 0 &&
        search.title == title) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool LaunchCompanion(const std::string& path, const std::string& arguments) {
    EndCompanion();
    return StartProcess(path, arguments, Companion);
}

void EndCompanion() {
    if (Companion.hProcess == nullptr) {
        return;
    }
    if (WaitForSingleObject(Companion.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(Companion.hProcess, 1);
        WaitForSingleObject(Companion.hProcess, 5000);
    }
    CloseHandle(Companion.hThread);
    CloseHandle(Companion.hProcess);
    Companion = {};
}

Window WaitForAnyWindow(std::string_view title, int timeoutMs) {
    TitleSearch search{Wide(title), nullptr};
    WaitUntil(
        [&] {
            EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

void EndProcessOf(Window window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (process == nullptr) {
        return;
    }
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}

Window FocusedControl(Window window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

std::string ReadWholeFile(const std::string& path) {
    FileHandle file{CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr)};
    std::string content;
    char buffer[65536];
    DWORD got = 0;
    while (file.handle != INVALID_HANDLE_VALUE &&
           ReadFile(file.handle, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        content.append(buffer, got);
    }
    return content;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
    FileHandle file{
        CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)};
    DWORD written = 0;
    return file.handle != INVALID_HANDLE_VALUE &&
           WriteFile(file.handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

std::string ScratchFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"quorvane-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return Narrow(folder);
}

double NowMs() {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER now{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool WaitUntilPrecise(const std::function<bool()>& condition, int timeoutMs) {
    const double deadline = NowMs() + timeoutMs;
    while (!condition()) {
        if (NowMs() >= deadline) {
            return false;
        }
        Sleep(1);
    }
    return true;
}

bool StartShell(std::string_view script) {
    std::wstring command = Wide("Z:\\bin\\sh -c \"" + std::string(script) + "\"");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        Note("could not start /bin/sh (error " + std::to_string(GetLastError()) + ")");
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// Wine hands back no handle to wait on for a Unix program, so the script leaves its exit code
// in a file and the driver polls for that file.
int RunShell(std::string_view script, int timeoutMs) {
    static int count = 0;
    const std::string done = "/tmp/quorvane-e2e-shell-" + std::to_string(GetCurrentProcessId()) +
                             "-" + std::to_string(++count);
    if (!StartShell("{ " + std::string(script) + "; } </dev/null >/dev/null 2>&1; echo $? >" +
                    done + ".part && mv " + done + ".part " + done)) {
        return -1;
    }
    const std::string doneFile = WindowsPathOf(done);
    std::string code;
    if (!WaitUntil([&] { return !(code = ReadWholeFile(doneFile)).empty(); }, timeoutMs)) {
        Note("time-out waiting for the shell script: " + std::string(script));
        return -1;
    }
    DeleteFileW(Wide(doneFile).c_str());
    return std::atoi(code.c_str());
}

double WallClockMs() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    constexpr ULONGLONG UnixEpoch = 116444736000000000ULL;  // 1970-01-01 in 100 ns ticks
    return static_cast<double>(ticks - UnixEpoch) / 10000.0;
}

std::string WindowsPathOf(std::string_view unixPath) {
    std::string path = "Z:" + std::string(unixPath);
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

}  // namespace e2e
