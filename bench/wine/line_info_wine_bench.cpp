// The text editor window's line information in the Win32 program under Wine: EditorLineInfo
// with the caret on the last line of a 10-line and of a 10,000-line text. It reads the caret's
// line alone, so its cost must not grow with the text; reading every line, as each key press
// once did, is timed beside it for comparison.
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
constexpr int kShortText = 10;
constexpr int kLongText = 10000;

// Fills the text area with `lines` step lines and puts the caret at the start of the last one.
void ShowText(int lines) {
    std::vector<std::string> text(static_cast<size_t>(lines), "1;L_Click;50;50;a step line");
    platform::SetTextLines(EditorText, text);
    HWND editor = FindWindowA(nullptr, "Editor");
    HWND area = GetDlgItem(editor, EditorText);
    const LRESULT start = SendMessageW(area, EM_LINEINDEX, static_cast<WPARAM>(lines - 1), 0);
    SendMessageW(area, EM_SETSEL, static_cast<WPARAM>(start), start);
    bench::PumpMessages();
}

template <typename Call>
double MicrosecondsPerCall(Call call) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i) {
        call();
    }
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(end - start).count() / kCalls;
}

struct Figures {
    double shortText = 1e30;
    double longText = 1e30;
};

// Best of alternating rounds, so that load from elsewhere does not count against one length only.
template <typename Call>
Figures Measure(Call call) {
    Figures best;
    for (int round = 0; round < kRounds; ++round) {
        ShowText(kShortText);
        best.shortText = std::min(best.shortText, MicrosecondsPerCall(call));
        ShowText(kLongText);
        best.longText = std::min(best.longText, MicrosecondsPerCall(call));
    }
    return best;
}

}  // namespace

int main() {
    StartUp();
    ShowEditor();
    bench::PumpMessages();
    const Figures lineInfo = Measure([] { EditorLineInfo(); });
    const Figures everyLine = Measure([] { platform::TextLines(EditorText); });
    const double ratio = lineInfo.longText / lineInfo.shortText;
    std::printf("line info, 10 lines:          %10.2f us per call\n", lineInfo.shortText);
    std::printf("line info, 10,000 lines:      %10.2f us per call\n", lineInfo.longText);
    std::printf("ratio 10,000 : 10:            %10.3f (target < 2)\n", ratio);
    std::printf("for comparison, reading every line: %.2f us (10 lines), %.2f us (10,000 lines)\n",
                everyLine.shortText, everyLine.longText);
    std::fflush(stdout);
    return ratio < 2.0 ? 0 : 1;
}
