// GetValues in the Win32 program under Wine: on lists of 10 and 10,000 steps, on the main thread
// and on a second thread as the player calls it. Its cost must not grow with the list's length.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

#include "Forms/MainWindow.h"
#include "Quorvane/Quorvane.h"
#include "bench/GetValuesTiming.h"
#include "bench/wine/MessagePump.h"

namespace {

constexpr int kRounds = 5;
constexpr int kBatches = 4;
constexpr int kCallsPerBatch = 250;
constexpr int kShortList = 10;
constexpr int kLongList = 10000;

// Mean microseconds per call on the main thread, pumping messages between batches as the event
// loop would between commands.
double OnMainThread(int steps) {
    double total = 0;
    for (int batch = 0; batch < kBatches; ++batch) {
        total += bench::GetValuesMicroseconds(steps, kCallsPerBatch);
        bench::PumpMessages();
    }
    return total / kBatches;
}

// Mean microseconds per call on a second thread while the main thread pumps messages.
double OnSecondThread(int steps) {
    std::atomic<bool> done{false};
    double result = 0;
    std::thread worker([&] {
        result = bench::GetValuesMicroseconds(steps, kBatches * kCallsPerBatch);
        done.store(true);
    });
    bench::PumpMessagesUntil(done);
    worker.join();
    return result;
}

struct Figures {
    double shortList = 1e30;
    double longList = 1e30;
};

// Best of several alternating rounds, so that load from elsewhere on the machine does not count
// against one list length only.
Figures Measure(double (*timing)(int)) {
    Figures best;
    for (int round = 0; round < kRounds; ++round) {
        best.shortList = std::min(best.shortList, timing(kShortList));
        best.longList = std::min(best.longList, timing(kLongList));
    }
    return best;
}

bool Report(const char* thread, const Figures& figures) {
    const double ratio = figures.longList / figures.shortList;
    std::printf("GetValues (%-13s), 10 steps:     %9.2f us per call\n", thread, figures.shortList);
    std::printf("GetValues (%-13s), 10,000 steps: %9.2f us per call\n", thread, figures.longList);
    std::printf("ratio 10,000 : 10 (%-13s):       %9.3f (target < 2)\n", thread, ratio);
    return ratio < 2.0;
}

}  // namespace

int main() {
    StartUp();
    bench::PumpMessages();
    OnMainThread(kShortList);  // warm-up
    const Figures mainThread = Measure(OnMainThread);
    const Figures secondThread = Measure(OnSecondThread);
    const bool mainOk = Report("main thread", mainThread);
    const bool secondOk = Report("second thread", secondThread);
    std::fflush(stdout);
    return mainOk && secondOk ? 0 : 1;
}
