// Quorvane's step files as the tests write and open them, and the runs they play.
#include "Driver.h"
#include "Forms/FormMAIN.h"

namespace e2e {

std::string StepFileText(const std::vector<std::string>& steps, std::string_view information) {
    std::string text = "Quorvane 2.2\r\ntester  -  01.01.2024 12:00\r\n";
    text += information;
    text += "\r\n";
    for (const std::string& step : steps) {
        text += step + "\r\n";
    }
    return text;
}

bool OpenThroughDialog(Window main, const std::string& path) {
    const std::string fileName = path.substr(path.find_last_of("\\/") + 1);
    ChooseMenuItem(main, MenuOpen);
    Window dialog = WaitForMessageBox();
    // The dialog window shows before its controls exist: try again until it takes the name.
    return dialog != nullptr && WaitUntil([&] { return ChooseFileInDialog(dialog, path); }) &&
           WaitUntil([&] { return Text(FindControl(main, TextFile)) == fileName; });
}

bool OpenStepList(Window main, const std::string& path, const std::vector<std::string>& steps) {
    return Check(WriteWholeFile(path, StepFileText(steps)) && OpenThroughDialog(main, path),
                 "step file opened", path, Text(FindControl(main, TextFile)));
}

int ChoosePlay(Window main) {
    const int before = TimesEnabled(main, ButtonStop);
    ChooseMenuItem(main, MenuPlay);
    return before;
}

bool WaitForRunStart(Window main, int stopEnabledBefore, const std::string& what, int timeoutMs) {
    const auto started = [&] {
        const bool runningNow =
            IsEnabled(FindControl(main, ButtonStop)) && !IsEnabled(FindControl(main, ButtonPlay));
        return runningNow ||
               (stopEnabledBefore >= 0 && TimesEnabled(main, ButtonStop) > stopEnabledBefore);
    };
    const bool ok = WaitUntilPrecise(started, timeoutMs);
    return Check(ok, what + ": the run starts", "Stop enabled since Play",
                 ok ? ""
                    : "no run; menu Play " + std::to_string(MenuItemState(main, MenuPlay)) +
                          ", Stop enabled " + std::to_string(TimesEnabled(main, ButtonStop)) +
                          " times, before Play " + std::to_string(stopEnabledBefore));
}

bool PlayAndWaitForStart(Window main, const std::string& what, int timeoutMs) {
    const int before = ChoosePlay(main);
    return WaitForRunStart(main, before, what, timeoutMs);
}

bool WaitForRunEnd(Window main, const std::string& what, int timeoutMs) {
    Window frame = FindControl(main, FrameStep);
    const auto ended = [&] {
        return IsEnabled(FindControl(main, ButtonPlay)) && MenuItemState(main, MenuOpen) == 1 &&
               Text(frame) == "1";
    };
    return Check(WaitUntil(ended, timeoutMs), what + ": the run ends, step 1 shown again",
                 "Play and Open enabled, step 1", "step " + Text(frame));
}

bool PlayToEnd(Window main, const std::string& what) {
    return PlayAndWaitForStart(main, what) && WaitForRunEnd(main, what);
}

}  // namespace e2e
