// Unix programs started through Wine (which runs a Unix program named by CreateProcess): the
// shell for stty, socat, xdotool and clocks. Wine hands back no handle to wait on for a Unix
// program, so a script that must be waited for leaves its exit code in a file that is polled.
#include <windows.h>

#include <cstdlib>

#include "Driver.h"
#include "WideText.h"

namespace e2e {

std::string RunFolder() {
    static const std::string folder = [] {
        wchar_t given[MAX_PATH] = {};
        const DWORD length = GetEnvironmentVariableW(L"QUORVANE_E2E_RUN_FOLDER", given, MAX_PATH);
        const std::string path = length > 0 && length < MAX_PATH
                                     ? Narrow(given)
                                     : "/tmp/quorvane-e2e-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryW(Wide(WindowsPathOf(path)).c_str(), nullptr);
        return path;
    }();
    return folder;
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

int RunShell(std::string_view script, int timeoutMs) {
    static int count = 0;
    const std::string done = RunFolder() + "/shell-" + std::to_string(++count) + ".status";
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

}  // namespace e2e
