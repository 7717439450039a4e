// Message pumping for the Win32 benchmark: the program's windows belong to the main thread, so
// that thread must handle messages while another thread works on those windows.
#pragma once

#include <atomic>

namespace bench {

// Handles every message already waiting for this thread's windows.
void PumpMessages();
// Handles this thread's messages as they come until done is true.
void PumpMessagesUntil(const std::atomic<bool>& done);

}  // namespace bench
