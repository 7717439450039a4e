// Finding top-level windows: of the program under test or of any process, by title, by a control
// they hold or by their class (Boxes.cpp).
#include <windows.h>

#include "Driver.h"
#include "TopLevel.h"
#include "WideText.h"

namespace e2e {

namespace {

struct TopLevelSearch {
    DWORD processId = 0;  // 0: any process
    const std::function<bool(HWND)>* matches = nullptr;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<TopLevelSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((search.processId != 0 && owner != search.processId) || !IsWindowVisible(window) ||
        !(*search.matches)(window)) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

// Whether window's title is title; asked with a time-out, so a window whose thread does not yet
// handle messages does not count.
bool HasTitle(HWND window, const std::wstring& title) {
    wchar_t text[256] = {};
    DWORD_PTR length = 0;
    return SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text),
                               SMTO_ABORTIFHUNG, 2000, &length) &&
           title == text;
}

Window WaitForTitle(unsigned long processId, std::string_view title, int timeoutMs) {
    const std::wstring wide = Wide(title);
    Window found = nullptr;
    WaitUntil(
        [&] {
            found = FindTopLevel(processId, [&](HWND window) { return HasTitle(window, wide); });
            return found != nullptr || (processId != 0 && HasExited());
        },
        timeoutMs);
    return found;
}

}  // namespace

Window FindTopLevel(unsigned long processId, const std::function<bool(HWND)>& matches) {
    TopLevelSearch search{processId, &matches, nullptr};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

Window WaitForWindow(std::string_view title, int timeoutMs) {
    return WaitForTitle(LaunchedProcessId(), title, timeoutMs);
}

Window WaitForAnyWindow(std::string_view title, int timeoutMs) {
    return WaitForTitle(0, title, timeoutMs);
}

Window OpenWindowWithControl(int control) {
    return FindTopLevel(LaunchedProcessId(),
                        [&](HWND window) { return FindControl(window, control) != nullptr; });
}

Window WaitForWindowOfClass(std::string_view className, int timeoutMs) {
    Window found = nullptr;
    WaitUntil(
        [&] {
            found = FindTopLevel(LaunchedProcessId(),
                                 [&](HWND window) { return ClassName(window) == className; });
            return found != nullptr || HasExited();
        },
        timeoutMs);
    return found;
}

Window WaitForWindowWithControl(int control, int timeoutMs) {
    Window found = nullptr;
    WaitUntil(
        [&] {
            found = OpenWindowWithControl(control);
            return found != nullptr || HasExited();
        },
        timeoutMs);
    return found;
}

}  // namespace e2e
