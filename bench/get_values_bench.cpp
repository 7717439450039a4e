// GetValues before every played step: its cost must not grow with the length of the list.

#include <cstdio>

#include "Forms/MainWindow.h"
#include "Quorvane/Quorvane.h"
#include "bench/GetValuesTiming.h"
#include "platform/headless/headless.h"

int main() {
    headless::Reset();
    StartUp();
    constexpr int kCalls = 20000;
    bench::GetValuesMicroseconds(10, kCalls);  // warm-up
    const double shortList = bench::GetValuesMicroseconds(10, kCalls);
    const double longList = bench::GetValuesMicroseconds(10000, kCalls);
    std::printf("GetValues, 10 steps:     %8.3f us per call\n", shortList);
    std::printf("GetValues, 10,000 steps: %8.3f us per call\n", longList);
    std::printf("ratio 10,000 : 10:       %8.3f (target < 2)\n", longList / shortList);
    return longList / shortList < 2.0 ? 0 : 1;
}
