// User, local time, the virtual clock, threads, the shell, the command line and process exit.

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/headless/State.h"

namespace {

using headless_state::Lock;
using headless_state::Shared;

std::atomic<uint64_t> gWakeCount{0};

// Moves the clock on by `microseconds`, running each action scheduled in that span at its own
// time, without the lock. The span is taken from the clock as it stands under the lock, so
// sleeps of several threads add up and none of them is lost to another thread's advance. When
// `stopEarly` says so after an action, the clock stays at that action's time; returns whether
// it stopped early.
bool AdvanceClockBy(int64_t microseconds, const std::function<bool()>& stopEarly = nullptr) {
    int64_t remaining = std::max(microseconds, int64_t{0});
    for (;;) {
        if (stopEarly && stopEarly()) {
            return true;
        }
        std::function<void()> action;
        {
            const auto lock = Lock();
            int64_t& clock = Shared().clock;
            auto& scheduled = Shared().scheduled;
            if (scheduled.empty() || scheduled.begin()->first > clock + remaining) {
                clock += remaining;
                return false;
            }
            const int64_t due = std::max(clock, scheduled.begin()->first);
            remaining -= due - clock;
            clock = due;
            action = std::move(scheduled.begin()->second);
            scheduled.erase(scheduled.begin());
        }
        action();
    }
}

int64_t ClockNow() {
    const auto lock = Lock();
    return Shared().clock;
}

}  // namespace

namespace platform {

std::string UserName() {
    const auto lock = Lock();
    return Shared().userName;
}

LocalTime CurrentLocalTime() {
    const auto lock = Lock();
    return Shared().localTime;
}

void SleepMs(int milliseconds) {
    AdvanceClockBy(std::max(milliseconds, 0) * int64_t{1000});
    // Lets real threads of a test (a player, a watcher) run while this one "sleeps".
    std::this_thread::yield();
}

int64_t MonotonicMicroseconds() {
    return ClockNow();
}

int64_t ThreadCpuMicroseconds() {
    return headless_state::CallerThreadCpu();
}

uint64_t WakeCount() {
    return gWakeCount;
}

void WakeSleepers() {
    ++gWakeCount;
}

bool SleepUntilWoken(int milliseconds, uint64_t seen) {
    const bool woken = AdvanceClockBy(std::max(milliseconds, 0) * int64_t{1000},
                                      [seen] { return gWakeCount != seen; });
    std::this_thread::yield();
    return woken;
}

void StartThread(void (*fn)(int), int parameter) {
    std::thread(fn, parameter).detach();
}

bool ShellOpen(std::string_view path) {
    const auto lock = Lock();
    Shared().shellOpened.emplace_back(path);
    return true;
}

std::vector<std::string> CommandLineArguments() {
    const auto lock = Lock();
    return Shared().commandLine;
}

void ExitProcessNow(int exitCode) {
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

}  // namespace platform

namespace headless {

int64_t VirtualMicroseconds() {
    return ClockNow();
}

void ScheduleAt(int64_t virtualMicroseconds, std::function<void()> action) {
    if (!action) {
        return;
    }
    const auto lock = Lock();
    Shared().scheduled.emplace(virtualMicroseconds, std::move(action));
}

void AdvanceClock(int64_t microseconds) {
    AdvanceClockBy(microseconds);
}

void SetUserName(const std::string& name) {
    const auto lock = Lock();
    Shared().userName = name;
}

void SetLocalTime(const platform::LocalTime& time) {
    const auto lock = Lock();
    Shared().localTime = time;
}

std::vector<std::string> ShellOpened() {
    const auto lock = Lock();
    return Shared().shellOpened;
}

void SetCommandLineArguments(const std::vector<std::string>& arguments) {
    const auto lock = Lock();
    Shared().commandLine = arguments;
}

}  // namespace headless
