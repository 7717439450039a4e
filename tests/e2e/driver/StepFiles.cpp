// Quorvane's step files as the tests write and open them.
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

}  // namespace e2e
