// The benchmark's only direct Win32 calls: its harness pumps the queue itself instead of running
// the program's event loop, which never returns.
#include "MessagePump.h"

#include <windows.h>

namespace bench {

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void PumpMessagesUntil(const std::atomic<bool>& done) {
    constexpr DWORD kRecheckMs = 5;  // the worker's end is a flag, not a message
    while (!done.load()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kRecheckMs, QS_ALLINPUT);
        PumpMessages();
    }
}

}  // namespace bench
