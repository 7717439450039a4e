// System services: user name, local time, clocks and sleeping, threads, starting files through
// the shell, the command line, ending the process.
//
// Implemented by platform/win32/system.cpp and platform/headless/system.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Name of the logged-on user (GetUserNameA).
std::string UserName();

struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};
LocalTime CurrentLocalTime();

// Sleeps with the timer resolution raised to 1 ms for the length of the sleep.
void SleepMs(int milliseconds);
// Monotonic clock in microseconds, for schedules (QueryPerformanceCounter).
int64_t MonotonicMicroseconds();
// Processor time the calling thread has used so far (user and kernel, GetThreadTimes), in
// microseconds. The system counts it in its own steps (on Wine, of 10 ms): compare sums over
// many pieces of work, not one.
int64_t ThreadCpuMicroseconds();

// Waking sleepers: a thread reads WakeCount() before it looks at what it waits for, then sleeps
// with SleepUntilWoken; a WakeSleepers() from any thread after that read ends the sleep at once,
// so no wake-up can fall between the look and the sleep. The Escape watch (input.h) wakes
// sleepers as well.
uint64_t WakeCount();
void WakeSleepers();
// Sleeps up to `milliseconds` (1 ms timer resolution) unless WakeCount() differs from `seen`.
// True when it ended early because of a wake-up.
bool SleepUntilWoken(int milliseconds, uint64_t seen);

// Starts a thread that runs fn(parameter) for the life of the process.
void StartThread(void (*fn)(int), int parameter);

// Opens a file (a path, files.h) the way the shell does (ShellExecuteExW, no parameters, no wait
// for the program, the path in the form FileExists takes). When it returns true, the program has
// been started: the process may end at once.
bool ShellOpen(std::string_view path);

// The arguments the program was started with, without its own name: split at blanks outside
// double quotes, in UTF-8 like every path (GetCommandLineW, CommandLineToArgvW).
std::vector<std::string> CommandLineArguments();

// Ends the process at once with the exit code.
[[noreturn]] void ExitProcessNow(int exitCode);

}  // namespace platform
