// Acting on the program's controls and menu. Posted rather than sent where the program may open
// a modal box in answer, so that the driver is never held by it.
#include <windows.h>

#include "Driver.h"
#include "WideText.h"

namespace e2e {

namespace {

// Selects entry index of a drop-down list or list box and tells its parent, as a user's pick would.
void SelectAndNotify(HWND control, UINT selectMessage, WORD notification, int index) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(control, selectMessage, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG,
                        5000, &ignored);
    PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), notification),
                 reinterpret_cast<LPARAM>(control));
}

}  // namespace

void ClickButton(Window button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

void ClickReal(Window control) {
    const Box box = ScreenBox(control);
    ClickAt({box.x + box.width / 2, box.y + box.height / 2});
}

void ClickAt(Point point) {
    MoveMouse(point.x, point.y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
}

void ChooseMenuItem(Window main, int item) {
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(item, 0), 0);
}

void PickEntry(Window combo, int index) {
    SelectAndNotify(combo, CB_SETCURSEL, CBN_SELCHANGE, index);
}

void PickListEntry(Window list, int index) {
    SelectAndNotify(list, LB_SETCURSEL, LBN_SELCHANGE, index);
}

void SetText(Window control, std::string_view text) {
    const std::wstring wide = Wide(text);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
}

void TypeInto(Window control, std::string_view text) {
    ClickReal(control);
    WaitUntil([&] { return FocusedControl(control) == control; });
    TypeText(text);
}

bool PlaceWindow(Window window, const Box& outer) {
    SetWindowPos(window, nullptr, outer.x, outer.y, outer.width, outer.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    return WaitUntil([&] { return ScreenBox(window) == outer; });
}

void RequestClose(Window window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
}

void SystemClose(Window window) {
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

}  // namespace e2e
