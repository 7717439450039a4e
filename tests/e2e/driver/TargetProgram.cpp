// The target program that the player's tests and the typing benchmark act on, and its log.
#include <windows.h>

#include <cstdlib>

#include "Driver.h"

namespace e2e {

bool StartTarget(const std::string& path, const std::string& logPath, TargetProgram& target) {
    target.log = logPath;
    WriteWholeFile(target.log, "");
    target.window = nullptr;
    if (!target.process.Start(path, "\"" + target.log + "\"")) {
        return false;
    }
    target.window = WaitForAnyWindow(TargetTitle, StartTimeoutMs);
    return target.window != nullptr;
}

size_t TargetLogSize(const TargetProgram& target) {
    return ReadWholeFile(target.log).size();
}

std::vector<std::string> TargetLogLines(const TargetProgram& target, size_t from,
                                        std::string_view kind) {
    const std::string content = ReadWholeFile(target.log);
    std::vector<std::string> lines;
    size_t start = from;
    while (start < content.size()) {
        const size_t end = content.find('\n', start);
        if (end == std::string::npos) {
            break;
        }
        // The target's log is a text-mode file: its lines end in CR LF.
        const size_t length =
            end > start && content[end - 1] == '\r' ? end - start - 1 : end - start;
        const std::string_view line(content.data() + start, length);
        if (line.starts_with(kind)) {
            lines.emplace_back(line);
        }
        start = end + 1;
    }
    return lines;
}

std::string TypedCharacters(const TargetProgram& target, size_t from) {
    std::string typed;
    for (const std::string& line : TargetLogLines(target, from, "char ")) {
        const int code = std::atoi(line.c_str() + 5);
        if (code >= 32) {
            typed += static_cast<char>(code);
        }
    }
    return typed;
}

bool FocusTargetEdit(const TargetProgram& target) {
    Window edit = FindControl(target.window, TargetEdit);
    ClickReal(edit);
    return WaitUntil([&] { return FocusedControl(target.window) == edit; });
}

void ShowTargetSecondWindow(const TargetProgram& target, bool show) {
    PostMessageW(target.window, show ? WM_APP : WM_APP + 1, 0, 0);
}

bool WatchTargetKeys(const TargetProgram& target) {
    PostMessageW(target.window, WM_APP + 2, 0, 0);
    return WaitUntil([&] { return !TargetLogLines(target, 0, "llhook 1").empty(); });
}

Point TargetSquarePoint(const TargetProgram& target) {
    POINT middle{320, 40};
    ClientToScreen(target.window, &middle);
    return {middle.x, middle.y};
}

}  // namespace e2e
