// The launched program's message boxes and common file dialogs: top-level windows of class
// "#32770" of its process. A message box's text is its static control 0xFFFF.
#include <windows.h>

#include "Driver.h"

namespace e2e {

namespace {

constexpr int MessageTextControl = 0xFFFF;

struct DialogSearch {
    DWORD processId = 0;
    HWND found = nullptr;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<DialogSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && IsWindowVisible(window) && ClassName(window) == "#32770") {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

bool PressDialogButton(Window dialog, int id) {
    Window button = FindControl(dialog, id);
    if (button == nullptr) {
        return false;
    }
    ClickButton(button);
    return WaitUntil([&] { return !IsVisible(dialog); });
}

}  // namespace

Window OpenMessageBox() {
    DialogSearch search{LaunchedProcessId(), nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

Window WaitForMessageBox(int timeoutMs) {
    Window box = nullptr;
    // A box is visible a moment before Wine has given it its caption and controls; it counts
    // once it has its caption and its text (a message box) or its OK button (a file dialog), so
    // that what a test reads is what the user sees.
    WaitUntil(
        [&] {
            box = OpenMessageBox();
            return (box != nullptr && !Title(box).empty() &&
                    (FindControl(box, MessageTextControl) != nullptr ||
                     FindControl(box, static_cast<int>(Answer::Ok)) != nullptr)) ||
                   HasExited();
        },
        timeoutMs);
    return box;
}

std::string BoxText(Window box) {
    return Text(FindControl(box, MessageTextControl));
}

bool AnswerBox(Window box, Answer answer) {
    return box != nullptr && PressDialogButton(box, static_cast<int>(answer));
}

}  // namespace e2e
