// The launched program's message boxes and common file dialogs: top-level windows of class
// "#32770" of its process. A message box's text is its static control 0xFFFF.
#include <windows.h>

#include "Driver.h"
#include "TopLevel.h"

namespace e2e {

namespace {

constexpr int MessageTextControl = 0xFFFF;
constexpr int FileNameCombo = 0x47C;  // cmb13
constexpr int FileNameEdit = 0x480;   // edt1

bool PressDialogButton(Window dialog, int id) {
    Window button = FindControl(dialog, id);
    if (button == nullptr) {
        return false;
    }
    ClickButton(button);
    return WaitUntil([&] { return !IsVisible(dialog); });
}

struct FileNameSearch {
    HWND dialog = nullptr;
    HWND edit = nullptr;
    HWND ok = nullptr;
};

BOOL CALLBACK MatchFileNameParts(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<FileNameSearch*>(context);
    const int number = GetDlgCtrlID(window);
    const std::string kind = ClassName(window);
    if (kind == "Edit" && search.edit == nullptr &&
        (number == FileNameEdit || GetDlgCtrlID(GetParent(window)) == FileNameCombo)) {
        search.edit = window;
    }
    if (kind == "Button" && number == IDOK && GetParent(window) == search.dialog) {
        search.ok = window;
    }
    return TRUE;
}

FileNameSearch FileNameParts(Window dialog) {
    FileNameSearch search{dialog, nullptr, nullptr};
    EnumChildWindows(dialog, MatchFileNameParts, reinterpret_cast<LPARAM>(&search));
    return search;
}

}  // namespace

Window OpenMessageBox() {
    return FindTopLevel(LaunchedProcessId(),
                        [](HWND window) { return ClassName(window) == "#32770"; });
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

bool ExpectBox(std::string_view name, const std::string& caption, const std::string& text,
               Answer answer, const std::function<void()>& whileOpen) {
    const std::string context(name);
    Window box = WaitForMessageBox();
    if (!Check(box != nullptr, context + ": a box shows", caption + ": " + text, "no box")) {
        return false;
    }
    const bool captionOk = CheckEqual(context + ": box caption", caption, Title(box));
    const bool textOk = CheckEqual(context + ": box text", text, BoxText(box));
    if (whileOpen) {
        whileOpen();
    }
    Check(AnswerBox(box, answer), context + ": box answered", "closed", "still open");
    return captionOk && textOk;
}

std::string DialogFileName(Window dialog) {
    const FileNameSearch search = FileNameParts(dialog);
    return search.edit != nullptr ? Text(search.edit) : std::string();
}

bool ChooseFileInDialog(Window dialog, std::string_view path) {
    const FileNameSearch search = FileNameParts(dialog);
    if (search.edit == nullptr || search.ok == nullptr) {
        return false;
    }
    SetText(search.edit, path);
    ClickButton(search.ok);
    return WaitUntil([&] { return !IsVisible(dialog); });
}

}  // namespace e2e
