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

std::mutex gWakeMutex;
std::condition_variable gWake;
std::atomic<bool> gWaiting{false};

}  // namespace

void WakePlayer() {
    // Taking the mutex orders the flag before the waiter's test of it, so no wake-up is lost.
    { const std::lock_guard<std::mutex> lock(gWakeMutex); }
    gWake.notify_all();
}

void WaitForRun() {
    std::unique_lock<std::mutex> lock(gWakeMutex);
    gWaiting = true;
    gWake.wait(lock, [] { return PlayRunning.load() == 1; });
    gWaiting = false;
}

bool PlayerWaiting() {
    return gWaiting;
}
