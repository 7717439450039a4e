// Helpers for the step-file tests: the user's name, texts read while the program's thread sleeps,
// points inside lines of a text area, file dialogs as Wine draws them, and files held open.
#include <windows.h>

#include "Driver.h"
#include "WideText.h"

namespace e2e {

namespace {

constexpr int FileNameCombo = 0x47C;  // cmb13
constexpr int FileNameEdit = 0x480;   // edt1

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

LRESULT AskTextArea(HWND window, UINT message, WPARAM wParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, 0, SMTO_ABORTIFHUNG, 5000, &result)) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

// Client position of a character: edit controls and rich-edit controls from 2.0 on both answer
// EM_POSFROMCHAR with the index in wParam by returning the point packed in the result.
bool CharacterPosition(HWND textArea, LRESULT index, POINT& point) {
    const LRESULT packed = AskTextArea(textArea, EM_POSFROMCHAR, static_cast<WPARAM>(index));
    if (packed == -1) {
        return false;
    }
    point = {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
    return true;
}

}  // namespace

std::string LoggedOnUser() {
    wchar_t name[256] = {};
    DWORD size = 256;
    if (!GetUserNameW(name, &size) || size == 0) {
        return "";
    }
    return Narrow(std::wstring_view(name, size - 1));
}

int ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

std::string StoredText(Window window) {
    wchar_t text[1024] = {};
    const int length = InternalGetWindowText(window, text, 1024);
    return Narrow(std::wstring_view(text, static_cast<size_t>(length > 0 ? length : 0)));
}

Window OwnerOf(Window window) {
    return GetWindow(window, GW_OWNER);
}

bool IsBorderlessPopup(Window window) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    return (style & WS_POPUP) != 0 && (style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME)) == 0;
}

Point LinePoint(Window textArea, int line) {
    const LRESULT start = AskTextArea(textArea, EM_LINEINDEX, static_cast<WPARAM>(line));
    POINT top{};
    if (start < 0 || !CharacterPosition(textArea, start, top)) {
        return {-1, -1};
    }
    // The line's height from a neighbour: the next line's top, or the previous line's for the last.
    int height = 0;
    const LRESULT next = AskTextArea(textArea, EM_LINEINDEX, static_cast<WPARAM>(line + 1));
    const LRESULT previous =
        line > 0 ? AskTextArea(textArea, EM_LINEINDEX, static_cast<WPARAM>(line - 1)) : -1;
    POINT neighbour{};
    if (next > start && CharacterPosition(textArea, next, neighbour)) {
        height = neighbour.y - top.y;
    } else if (previous >= 0 && CharacterPosition(textArea, previous, neighbour)) {
        height = top.y - neighbour.y;
    }
    if (height <= 0) {
        height = 12;
    }
    POINT inside{top.x + 2, top.y + height / 2};
    ClientToScreen(textArea, &inside);
    return {inside.x, inside.y};
}

void ClickAt(Point point) {
    MoveMouse(point.x, point.y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
}

bool ChooseFileInDialog(Window dialog, std::string_view path) {
    FileNameSearch search{dialog, nullptr, nullptr};
    EnumChildWindows(dialog, MatchFileNameParts, reinterpret_cast<LPARAM>(&search));
    if (search.edit == nullptr || search.ok == nullptr) {
        return false;
    }
    SetText(search.edit, path);
    ClickButton(search.ok);
    return WaitUntil([&] { return !IsVisible(dialog); });
}

HeldFile::HeldFile(const std::string& path)
    : handle_(CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {}

HeldFile::~HeldFile() {
    if (IsHeld()) {
        CloseHandle(handle_);
    }
}

bool HeldFile::IsHeld() const {
    return handle_ != INVALID_HANDLE_VALUE;
}

}  // namespace e2e
