// The text editor window's line information in the Win32 program under Wine: EditorLineInfo
// with the caret on the last line and in the middle of a 10-line and of a 10,000-line text. It
// reads the caret's line alone, so its cost must not grow with the text; reading every line, as
// each key press once did, is timed beside it for comparison. Wine's rich edit finds a line by
// walking the lines from the top, so the caret's place still counts there.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "Forms/FormEditor.h"
#include "Quorvane/Quorvane.h"
#include "bench/wine/MessagePump.h"
#include "editor/TextEditor.h"
#include "platform/window.h"

namespace {

constexpr int kRounds = 5;
constexpr int kCalls = 200;
// Reading every line of 10,000 takes long under Wine: a few calls tell enough.
constexpr int kComparisonCalls = 3;
constexpr int kShortText = 10;
constexpr int kLongText = 10000;

HWND TextArea() {
    return GetDlgItem(FindWindowA(nullptr, "Editor"), EditorText);
}

void ShowText(int lines) {
    platform::SetTextLines(
        EditorText, std::vector<std::string>(static_cast<size_t>(lines), "1;L_Click;50;50;a line"));
    bench::PumpMessages();
}

void PutCaretOnLine(int line) {
    const LRESULT start = SendMessageW(TextArea(), EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    SendMessageW(TextArea(), EM_SETSEL, static_cast<WPARAM>(start), start);
    bench::PumpMessages();
}

// Best of several rounds of `calls` calls, each followed by handling the window messages it
// caused, as the event loop does before it takes the next event.
template <typename Call>
double MicrosecondsPerCall(Call call, int rounds, int calls) {
    double best = 1e30;
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < calls; ++i) {
            call();
            bench::PumpMessages();
        }
        const auto end = std::chrono::steady_clock::now();
        best =
            std::min(best, std::chrono::duration<double, std::micro>(end - start).count() / calls);
    }
    return best;
}

struct Figures {
    double lastLine = 0;
    double middle = 0;
    double everyLine = 0;
};

Figures Measure(int lines) {
    ShowText(lines);
    Figures figures;
    PutCaretOnLine(lines - 1);
    figures.lastLine = MicrosecondsPerCall([] { EditorLineInfo(); }, kRounds, kCalls);
    PutCaretOnLine(lines / 2);
    figures.middle = MicrosecondsPerCall([] { EditorLineInfo(); }, kRounds, kCalls);
    figures.everyLine =
        MicrosecondsPerCall([] { platform::TextLines(EditorText); }, 1, kComparisonCalls);
    return figures;
}

}  // namespace

int main() {
    StartUp();
    ShowEditor();
    bench::PumpMessages();
    const Figures small = Measure(kShortText);
    const Figures large = Measure(kLongText);
    const double lastLineRatio = large.lastLine / small.lastLine;
    const double middleRatio = large.middle / small.middle;
    std::printf(
        "line info, caret on the last line: %9.2f us (10 lines), %9.2f us (10,000 lines), "
        "ratio %.3f (target < 2)\n",
        small.lastLine, large.lastLine, lastLineRatio);
    std::printf(
        "line info, caret in the middle:    %9.2f us (10 lines), %9.2f us (10,000 lines), "
        "ratio %.3f (target < 2)\n",
        small.middle, large.middle, middleRatio);
    std::printf("for comparison, reading every line: %.2f us (10 lines), %.2f us (10,000 lines)\n",
                small.everyLine, large.everyLine);
    std::fflush(stdout);
    return lastLineRatio < 2.0 && middleRatio < 2.0 ? 0 : 1;
}
