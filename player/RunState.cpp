// [SECTION] The run state shared with the main thread, and the idle player's wake-up.

#include <condition_variable>
#include <mutex>

#include "player/Player.h"
#include "player/PlayerInternal.h"

std::atomic<int32_t> PlayRunning{0};
std::atomic<int32_t> PlayPaused{0};
std::atomic<int32_t> PlayStartIndex{0};
const int32_t StepInterval = 200;
LoopLevel LoopLevels[3];
std::vector<ComPortEntry> ComPorts;

namespace {

// Never destroyed: the player thread waits on them until the process ends, and destroying a
// condition variable with a waiter blocks the exit.
std::mutex& WakeMutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}

std::condition_variable& Wake() {
    static auto* wake = new std::condition_variable;
    return *wake;
}

std::atomic<bool> gWaiting{false};

}  // namespace

void WakePlayer() {
    // Taking the mutex orders the flag before the waiter's test of it, so no wake-up is lost.
    { const std::lock_guard<std::mutex> lock(WakeMutex()); }
    Wake().notify_all();
}

void WaitForRun() {
    std::unique_lock<std::mutex> lock(WakeMutex());
    gWaiting = true;
    Wake().wait(lock, [] { return PlayRunning.load() == 1; });
    gWaiting = false;
}

bool PlayerWaiting() {
    return gWaiting;
}
