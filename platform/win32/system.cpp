// System services: user, local time, sleeping and clocks, threads, the shell, the command line.

#include "platform/system.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/win32/WinApi.h"

namespace {

// Never destroyed: a sleeper may still wait on them while the process ends.
std::mutex& WakeMutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}

std::condition_variable& WakeUp() {
    static auto* wake = new std::condition_variable;
    return *wake;
}

std::atomic<uint64_t> gWakeCount{0};

}  // namespace

namespace platform {

std::string UserName() {
    char name[UNLEN + 1] = {};
    DWORD size = sizeof(name);
    if (!GetUserNameA(name, &size)) {
        return {};
    }
    return name;
}

LocalTime CurrentLocalTime() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return LocalTime{now.wYear,   now.wMonth,  now.wDay,         now.wHour,
                     now.wMinute, now.wSecond, now.wMilliseconds};
}

// The default timer resolution (about 15.6 ms) would make every short wait late.
void SleepMs(int milliseconds) {
    timeBeginPeriod(1);
    Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
    timeEndPeriod(1);
}

uint64_t WakeCount() {
    return gWakeCount;
}

void WakeSleepers() {
    {
        // Counting under the mutex orders it before a sleeper's test of the count.
        const std::lock_guard<std::mutex> lock(WakeMutex());
        ++gWakeCount;
    }
    WakeUp().notify_all();
}

bool SleepUntilWoken(int milliseconds, uint64_t seen) {
    timeBeginPeriod(1);
    std::unique_lock<std::mutex> lock(WakeMutex());
    const bool woken = WakeUp().wait_for(lock, std::chrono::milliseconds(std::max(milliseconds, 0)),
                                         [seen] { return gWakeCount != seen; });
    lock.unlock();
    timeEndPeriod(1);
    return woken;
}

int64_t MonotonicMicroseconds() {
    static const int64_t frequency = [] {
        LARGE_INTEGER value{};
        QueryPerformanceFrequency(&value);
        return value.QuadPart;
    }();
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    // Whole seconds and the rest apart, so that the product cannot overflow.
    const int64_t seconds = counter.QuadPart / frequency;
    const int64_t rest = counter.QuadPart % frequency;
    return seconds * 1000000 + rest * 1000000 / frequency;
}

int64_t ThreadCpuMicroseconds() {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) {
        return 0;
    }
    // In units of 100 ns.
    const auto units = [](const FILETIME& time) {
        return static_cast<int64_t>(static_cast<uint64_t>(time.dwHighDateTime) << 32 |
                                    time.dwLowDateTime);
    };
    return (units(kernel) + units(user)) / 10;
}

void StartThread(void (*fn)(int), int parameter) {
    std::thread(fn, parameter).detach();
}

bool ShellOpen(std::string_view path) {
    // The shell's verbs may need COM on the calling thread; once per thread, never undone.
    thread_local const HRESULT com =
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    (void)com;
    // The form the file functions take, so that a path FileExists found (one longer than
    // MAX_PATH too) is the one started.
    const std::wstring file = win32::FilePath(path);
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof(execute);
    // A failure is reported to the caller, never in a box of the shell's own. NOASYNC: the
    // program is started before the call returns, also when the process ends right after it
    // (the last step of an unattended run).
    execute.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    execute.lpFile = file.c_str();
    execute.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&execute) != FALSE;
}

std::vector<std::string> CommandLineArguments() {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> arguments(
        CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    std::vector<std::string> texts;
    if (arguments == nullptr) {
        return texts;
    }
    // The first is the program's own name.
    for (int index = 1; index < count; ++index) {
        texts.push_back(win32::NarrowPath(arguments.get()[index]));
    }
    return texts;
}

void ExitProcessNow(int exitCode) {
    ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace platform
