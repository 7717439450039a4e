// Pictures in the Win32 program under Wine: PNG and BMP files read and written with the Windows
// Imaging Component, and the whole screen captured. Checks that a picture goes through a PNG file
// unchanged, that 24- and 32-bit BMP files read as opaque pictures, that a file that is missing or
// no picture is refused; then prints the capture time of the whole screen and of one look (a
// capture and a search) for a picture a window of this program shows, how soon a Wait for a
// picture sees it appear (target: at most 100 ms on the median), and the processor time
// Quorvane.exe itself uses while it waits 10 s for a picture that never shows (target: at most
// 5 % of one core).
//   usage: pictures_wine_bench.exe --program=<Quorvane.exe>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "Driver.h"
#include "Forms/FormMAIN.h"
#include "bench/wine/MessagePump.h"
#include "platform/pictures.h"
#include "platform/system.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "steps/PictureSearch.h"
#include "steps/StepFile.h"

namespace {

constexpr int kRuns = 51;
bool gAllPassed = true;

void Check(bool passed, const char* what) {
    std::printf("%s %s\n", passed ? "PASS" : "FAIL", what);
    gAllPassed = gAllPassed && passed;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double NowMs() {
    return static_cast<double>(platform::MonotonicMicroseconds()) / 1000.0;
}

// Processor time of this process (user and kernel) in milliseconds; Wine counts it in steps of
// 10 ms, so it is read over many captures.
double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ms = [](const FILETIME& t) {
        return static_cast<double>(static_cast<uint64_t>(t.dwHighDateTime) << 32 |
                                   t.dwLowDateTime) /
               1e4;
    };
    return ms(kernel) + ms(user);
}

// A picture with a pattern no screen shows by chance, some pixels transparent or half so.
platform::Picture Pattern(int width, int height) {
    platform::Picture picture{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.pixels.push_back(0xFF000000u | static_cast<uint32_t>((x * 4) & 0xFF) << 16 |
                                     static_cast<uint32_t>((y * 11) & 0xFF) << 8 |
                                     static_cast<uint32_t>((x * y) & 0xFF));
        }
    }
    return picture;
}

// A BMP file of the picture: 24 bits a pixel, or 32 with the fourth byte 0 as most programs
// write it (a BMP without an alpha mask has no transparency).
std::string BmpFile(const platform::Picture& picture, int bits) {
    const int rowBytes = (picture.width * bits / 8 + 3) & ~3;
    const int size = 54 + rowBytes * picture.height;
    std::string file(static_cast<size_t>(size), '\0');
    const auto put = [&](int at, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            file[static_cast<size_t>(at + i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
        }
    };
    put(0, 'B' | 'M' << 8, 2);
    put(2, static_cast<uint32_t>(size), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(picture.width), 4);
    put(22, static_cast<uint32_t>(picture.height), 4);  // bottom-up
    put(26, 1, 2);
    put(28, static_cast<uint32_t>(bits), 2);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t pixel = picture.pixels[static_cast<size_t>(y) * picture.width + x];
            const int at = 54 + (picture.height - 1 - y) * rowBytes + x * bits / 8;
            put(at, pixel & 0xFFFFFF, 3);
        }
    }
    return file;
}

std::string TempPath(const char* name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

void CheckFiles() {
    platform::Picture written = Pattern(37, 19);
    written.pixels[0] = 0x00123456;  // transparent, its colour kept
    written.pixels[5] = 0x80FF8040;  // half transparent
    std::string png;
    const std::string pngPath = TempPath("quorvane-bench.png");
    platform::Picture read;
    Check(platform::EncodePng(written, png) &&
              WriteFileSafely(pngPath, png) == WriteResult::Written &&
              platform::ReadPicture(pngPath, read) && read.width == 37 && read.height == 19 &&
              read.pixels == written.pixels,
          "a picture written as PNG reads back pixel for pixel");
    const platform::Picture opaque = Pattern(13, 7);
    for (int bits : {24, 32}) {
        const std::string path =
            TempPath(("quorvane-bench-" + std::to_string(bits) + ".bmp").c_str());
        read = {};
        const bool same = WriteFileSafely(path, BmpFile(opaque, bits)) == WriteResult::Written &&
                          platform::ReadPicture(path, read) && read.pixels == opaque.pixels;
        Check(same, bits == 24 ? "a 24-bit BMP reads as the opaque picture"
                               : "a 32-bit BMP reads as the opaque picture");
        platform::RemoveFile(path);
    }
    const std::string textPath = TempPath("quorvane-bench.txt");
    WriteFileSafely(textPath, "no picture");
    Check(!platform::ReadPicture(textPath, read) &&
              !platform::ReadPicture(TempPath("quorvane-missing.png"), read),
          "a text file and a missing file are refused");
    platform::RemoveFile(textPath);
    platform::RemoveFile(pngPath);
}

// [SECTION] The screen

platform::Picture gShown;

LRESULT CALLBACK ShowPicture(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message != WM_PAINT) {
        return DefWindowProcW(window, message, w, l);
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = gShown.width;
    info.bmiHeader.biHeight = -gShown.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(gShown.width), static_cast<DWORD>(gShown.height),
                      0, 0, 0, static_cast<UINT>(gShown.height), gShown.pixels.data(), &info,
                      DIB_RGB_COLORS);
    EndPaint(window, &paint);
    return 0;
}

void MeasureScreen() {
    gShown = Pattern(60, 24);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ShowPicture;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuorvanePictureBench";
    RegisterClassW(&windowClass);
    const int left = 700, top = 530;
    HWND window = CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"",
                                  WS_POPUP | WS_VISIBLE, left, top, gShown.width, gShown.height,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    for (int i = 0; i < 50; ++i) {
        bench::PumpMessages();
        platform::SleepMs(10);
    }
    platform::ScreenCapture capture;
    double start = NowMs();
    const bool captured = platform::CaptureScreen(capture);
    const double first = NowMs() - start;
    Check(captured, "the screen is captured");
    if (!captured) {
        return;
    }
    std::printf("screen %d x %d at %d, %d, %zu monitor(s); first capture %.1f ms\n", capture.width,
                capture.height, capture.left, capture.top, capture.monitors.size(), first);
    std::vector<double> captures, looks;
    std::vector<PixelRect> screens;
    PicturePattern pattern;
    PreparePicture({gShown.pixels.data(), gShown.width, gShown.height, gShown.width}, 0, pattern);
    PictureMatch found;
    bool seen = true;
    const double cpuBefore = ProcessCpuMs();
    for (int run = 0; run < kRuns; ++run) {
        start = NowMs();
        platform::CaptureScreen(capture);
        captures.push_back(NowMs() - start);
        seen = seen && FindPicture(DesktopOf(capture, screens), pattern, nullptr, found) &&
               found.left == left && found.top == top;
        looks.push_back(NowMs() - start);
    }
    const double cpuPerLook = (ProcessCpuMs() - cpuBefore) / kRuns;
    Check(seen, "every look finds the window's picture where it is shown");
    std::printf(
        "capture of the whole screen: median %.2f ms; one look (capture and search): "
        "median %.2f ms, %.2f ms of this process's processor time (%d runs)\n",
        Median(captures), Median(looks), cpuPerLook, kRuns);
    DestroyWindow(window);
}

// [SECTION] The Wait for a picture

constexpr int kReactionRuns = 11;

// The pattern in a window of a thread of its own, since the Wait runs on the main thread; shown
// and hidden from the main thread.
LRESULT CALLBACK ShowPatternWindow(HWND window, UINT message, WPARAM w, LPARAM l) {
    return ShowPicture(window, message, w, l);
}

HWND OpenPatternWindow(std::thread& thread, std::atomic<bool>& done, int left, int top) {
    std::atomic<HWND> made{nullptr};
    thread = std::thread([&made, &done, left, top] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = ShowPatternWindow;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QuorvanePictureBenchPattern";
        RegisterClassW(&windowClass);
        made = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"",
                               WS_POPUP, left, top, gShown.width, gShown.height, nullptr, nullptr,
                               windowClass.hInstance, nullptr);
        bench::PumpMessagesUntil(done);
        DestroyWindow(made);
    });
    e2e::WaitUntil([&] { return made != nullptr; });
    return made;
}

// Whether the pattern is on the screen now.
bool PatternShows(const PicturePattern& pattern) {
    platform::ScreenCapture capture;
    PictureMatch found;
    return platform::CaptureScreen(capture) &&
           PictureOnDesktop({{capture.pixels.data(), capture.width, capture.height, capture.width},
                             capture.left,
                             capture.top,
                             {}},
                            pattern, nullptr, found);
}

// From the moment the window is shown to the moment a Wait for its picture sees it. Each Wait is
// a run of its own; the window shows a second or more after the Wait began, when the Wait knows
// what its looks cost.
void MeasureReaction(const std::string& picturePath) {
    std::thread thread;
    std::atomic<bool> done{false};
    HWND window = OpenPatternWindow(thread, done, 420, 310);
    PicturePattern pattern;
    PreparePicture({gShown.pixels.data(), gShown.width, gShown.height, gShown.width}, 0, pattern);
    StepRecord step;
    step.RECORDtype = TypeWait;
    step.WaitFor = "Image";
    step.WaitValue = "0 " + picturePath;
    step.WaitTime = 10.0f;
    std::vector<double> reactions;
    double looks = 0, lookedMs = 0;
    for (int run = 0; run < kReactionRuns; ++run) {
        ShowWindow(window, SW_HIDE);
        e2e::WaitUntil([&] { return !PatternShows(pattern); });
        Run player;
        PlayRunning = 1;
        std::atomic<double> shownAt{0};
        std::thread trigger([&] {
            platform::SleepMs(1000 + run * 37);
            shownAt = NowMs();
            ShowWindow(window, SW_SHOWNOACTIVATE);
        });
        PlayWait(player, step);
        // A Wait that saw its condition waits the step interval after it.
        const double seenAt = NowMs() - StepInterval;
        trigger.join();
        if (player.wait.timedOut) {
            Check(false, "the Wait sees the picture within 10 s");
            break;
        }
        reactions.push_back(seenAt - shownAt);
        looks += static_cast<double>(player.screen.looks);
        lookedMs += static_cast<double>(player.wait.waitedMicroseconds) / 1000;
    }
    PlayRunning = 0;
    done = true;
    thread.join();
    if (reactions.empty()) {
        return;
    }
    const double median = Median(reactions);
    std::printf(
        "a Wait for a picture sees it appear: median %.1f ms, worst %.1f ms (%zu runs); a look "
        "every %.1f ms on the average\n",
        median, *std::max_element(reactions.begin(), reactions.end()), reactions.size(),
        lookedMs / looks);
    Check(median <= 100.0, "the Wait sees a picture within 100 ms on the median");
}

// [SECTION] Quorvane.exe waiting

// Processor time in ms that the Wine process whose command line holds `marker` has used so far,
// read from /proc: Wine's GetProcessTimes of another process leaves most of its threads out.
double UnixProcessCpuMs(const std::string& marker) {
    const std::string out = e2e::RunFolder() + "/cpu-ms";
    const std::string script =
        "for p in /proc/[0-9]*; do case $(readlink $p/exe 2>/dev/null) in */wine*) ;; *) "
        "continue ;; esac; if tr '\\000' ' ' <$p/cmdline 2>/dev/null | grep -qF " +
        marker + "; then cut -d')' -f2- $p/stat | awk -v hz=$(getconf CLK_TCK) " +
        "'{print ($12 + $13) * 1000 / hz}'; fi; done >" + out;
    if (e2e::RunShell(script) != 0) {
        return -1;
    }
    return std::atof(e2e::ReadWholeFile(e2e::WindowsPathOf(out)).c_str());
}

// Quorvane.exe plays, unattended, a Wait of 10 s for a picture that never shows; its own processor
// time is read while the Wait counts down from 9 to 1 second (the start-up left out).
void MeasureQuorvaneWaiting(const std::string& program, const std::string& picturePath) {
    const std::string marker = "quorvane-picture-wait.stp";
    const std::string list = TempPath(marker.c_str());
    WriteFileSafely(list, e2e::StepFileText({"10;Image;0 " + picturePath + ";10.0;2;",
                                             "7;the picture never came;"}));
    if (!e2e::Launch(program, "/play /exit \"" + list + "\"")) {
        Check(false, "Quorvane.exe starts");
        return;
    }
    e2e::Window main = e2e::WaitForWindow("Quorvane", e2e::StartTimeoutMs);
    const auto remaining = [&] {
        const std::string text = e2e::Text(e2e::FindControl(main, TextWaitCountdown));
        return text.empty() ? 99.0 : std::atof(text.c_str());
    };
    // Read seldom: each read is a message Quorvane.exe answers.
    const auto waitFor = [&](double seconds) {
        while (!e2e::HasExited() && remaining() > seconds) {
            platform::SleepMs(200);
        }
    };
    waitFor(9.0);
    const double cpuBefore = UnixProcessCpuMs(marker);
    const double start = NowMs();
    waitFor(1.0);
    const double cpu = UnixProcessCpuMs(marker) - cpuBefore;
    const double wall = NowMs() - start;
    unsigned long exitCode = 99;
    const bool ended = e2e::WaitForExit(exitCode, 30000);
    Check(main != nullptr && ended && exitCode == 0,
          "Quorvane.exe times out to the else step and ends with exit code 0");
    const double percent = 100.0 * cpu / wall;
    std::printf(
        "Quorvane.exe waiting for a picture that never shows: %.0f ms of processor time in "
        "%.0f ms = %.2f %% of one core (from /proc)\n",
        cpu, wall, percent);
    Check(cpuBefore >= 0 && wall > 5000 && percent <= 5.0,
          "Quorvane.exe uses at most 5 % of one core while it waits for a picture");
    platform::RemoveFile(list);
}

}  // namespace

int main(int argc, char** argv) {
    CheckFiles();
    MeasureScreen();
    const std::string picturePath = TempPath("quorvane-bench-pattern.png");
    std::string png;
    Check(platform::EncodePng(gShown, png) &&
              WriteFileSafely(picturePath, png) == WriteResult::Written,
          "the pattern written as a PNG file");
    MeasureReaction(picturePath);
    const std::string program = e2e::Option(argc, argv, "program");
    if (!program.empty()) {
        MeasureQuorvaneWaiting(program, picturePath);
    } else {
        std::printf("no --program=<Quorvane.exe>: its processor time while waiting not measured\n");
    }
    platform::RemoveFile(picturePath);
    return gAllPassed ? 0 : 1;
}
