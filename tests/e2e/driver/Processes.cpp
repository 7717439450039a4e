// Starting, watching and ending the programs of a test: the program under test and the others it
// needs beside it.
#include <windows.h>

#include "Driver.h"
#include "WideText.h"

namespace e2e {

namespace {

Process ProgramUnderTest;

}  // namespace

Process::~Process() {
    End();
}

bool Process::Start(const std::string& path, const std::string& arguments) {
    End();
    std::wstring commandLine = L"\"" + Wide(path) + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + Wide(arguments);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        Note("CreateProcess failed for " + path + " (error " + std::to_string(GetLastError()) +
             ")");
        return false;
    }
    process_ = started.hProcess;
    thread_ = started.hThread;
    id_ = started.dwProcessId;
    return true;
}

unsigned long Process::Id() const {
    return id_;
}

bool Process::HasExited() const {
    return process_ == nullptr || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
}

bool Process::WaitForExit(unsigned long& exitCode, int timeoutMs) const {
    if (process_ == nullptr ||
        WaitForSingleObject(process_, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
        return false;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    exitCode = code;
    return true;
}

void Process::End() {
    if (process_ == nullptr) {
        return;
    }
    if (!HasExited()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(thread_);
    CloseHandle(process_);
    process_ = thread_ = nullptr;
    id_ = 0;
}

bool Launch(const std::string& path, const std::string& arguments) {
    return ProgramUnderTest.Start(path, arguments);
}

Window LaunchProgramUnderTest(int argc, char** argv) {
    const std::string program = ProgramPath(argc, argv);
    if (!Check(Launch(program), "Quorvane.exe starts", program, "no process")) {
        return nullptr;
    }
    Window main = WaitForWindow("Quorvane", StartTimeoutMs);
    Check(main != nullptr, "main window shows", "a window titled \"Quorvane\"", "none");
    return main;
}

unsigned long LaunchedProcessId() {
    return ProgramUnderTest.Id();
}

bool HasExited() {
    return ProgramUnderTest.HasExited();
}

bool WaitForExit(unsigned long& exitCode, int timeoutMs) {
    return ProgramUnderTest.WaitForExit(exitCode, timeoutMs);
}

void EndProgram() {
    ProgramUnderTest.End();
}

void CheckCloseBoxEndsProgram(Window window) {
    SystemClose(window);
    unsigned long exitCode = STILL_ACTIVE;
    CheckEqual("close box ends the process", true, WaitForExit(exitCode));
    CheckEqual("exit code after the close box", 0UL, exitCode);
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

}  // namespace e2e
