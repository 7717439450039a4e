// Loading and saving step files of 1,000, 10,000 and 100,000 steps on the headless platform.
// Prints per-step times, the load time against a plain read of the file's lines, and how the
// cost grows from 10,000 to 100,000 steps (linear: about 10).

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "Forms/MainWindow.h"
#include "Quorvane/Quorvane.h"
#include "editor/StepFileCommands.h"
#include "platform/files.h"
#include "platform/headless/headless.h"
#include "steps/Document.h"
#include "steps/RList.h"
#include "steps/StepFile.h"

namespace {

constexpr int kRepeats = 9;

const char* const kLines[] = {
    "1;L_Click;512;384;click the start button",
    "2;String;Hello, this is typed text;greeting",
    "2;Key;{F2};rename",
    "3;0.5;short wait",
    "4;1;10;repeat all",
    "5;COM1;Initialise;9600 N 8 1;port",
    "6;2;",
    "7;waiting for the device;",
    "8;C:\\Tools\\report.exe;report",
    "9;Done;end",
};

std::string StepFileOf(int steps) {
    std::string bytes = "Quorvane 2.2\r\nbench  -  01.01.2026 00:00\r\ngenerated\r\n";
    for (int i = 0; i < steps; ++i) {
        bytes += kLines[i % std::size(kLines)];
        bytes += "\r\n";
    }
    return bytes;
}

// Shortest of several runs, in seconds of processor time: the machine may be shared, and time
// spent waiting for a core says nothing about this code.
template <typename Work>
double Fastest(Work work) {
    double best = 1e9;
    for (int i = 0; i < kRepeats; ++i) {
        const std::clock_t start = std::clock();
        work();
        best = std::min(best, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
    }
    return best;
}

// Reading the file and taking its lines one by one into strings, as a line reader does.
void PlainRead(const std::string& path) {
    std::string bytes;
    platform::ReadWholeFile(path, bytes);
    std::vector<std::string> lines;
    for (std::string_view line : SplitLines(bytes)) {
        lines.emplace_back(line);
    }
}

struct Figures {
    double read, load, save;
};

Figures Measure(int steps) {
    const std::string path = "C:\\bench\\" + std::to_string(steps) + ".stp";
    headless::PutFile(path, StepFileOf(steps));
    Figures f{};
    f.read = Fastest([&] { PlainRead(path); });
    f.load = Fastest([&] { LoadStepFile(path); });
    if (RList.Count() != steps) {
        std::printf("load gave %d steps instead of %d\n", RList.Count(), steps);
    }
    f.save = Fastest([&] {
        SaveStepFile();
        headless::ClearBoxes();
    });
    return f;
}

}  // namespace

int main() {
    // glibc keeps a freed block for reuse only below a threshold it raises as it goes (up to
    // 32 MB), so a 10,000-step list is reused from one load to the next while a 100,000-step one
    // gets fresh pages from the kernel every time. A fixed threshold makes every size pay for
    // fresh pages alike, so the figures compare the code and not the allocator's history.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    headless::Reset();
    StartUp();
    std::printf("%9s %12s %12s %12s %14s\n", "steps", "read us/st", "load us/st", "save us/st",
                "load:read");
    std::vector<Figures> all;
    for (int steps : {1000, 10000, 100000}) {
        const Figures f = Measure(steps);
        all.push_back(f);
        std::printf("%9d %12.3f %12.3f %12.3f %14.2f\n", steps, f.read * 1e6 / steps,
                    f.load * 1e6 / steps, f.save * 1e6 / steps, f.load / f.read);
    }
    std::printf("100,000 : 10,000 steps  load %.2f  save %.2f  (linear: 8 to 12)\n",
                all[2].load / all[1].load, all[2].save / all[1].save);
    std::printf("100,000-step load: %.1f ms, %.2f times the plain read (target: within 10)\n",
                all[2].load * 1e3, all[2].load / all[2].read);
    return 0;
}
