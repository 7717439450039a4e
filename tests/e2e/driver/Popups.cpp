// Small windows the program opens besides its main window, list-box picks, window styles, and
// screenshots taken only once the window has finished painting.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <utility>

#include "Driver.h"

namespace e2e {

namespace {

struct HolderSearch {
    DWORD processId = 0;
    int control = 0;
    HWND found = nullptr;
};

BOOL CALLBACK MatchHolder(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<HolderSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && IsWindowVisible(window) &&
        FindControl(window, search.control) != nullptr) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

Window OpenWindowWithControl(int control) {
    HolderSearch search{LaunchedProcessId(), control, nullptr};
    EnumWindows(MatchHolder, reinterpret_cast<LPARAM>(&search));
    return search.found;
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

void PickListEntry(Window list, int index) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, 5000,
                        &ignored);
    PostMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

bool HasCaption(Window window) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
}

bool HasVerticalScrollBar(Window window) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL) != 0;
}

bool SaveSettledScreenshot(Window window, const std::string& bmpPath, int timeoutMs) {
    // The program paints on its own thread; RDW_UPDATENOW makes it paint before returning, and two
    // identical captures in a row show that nothing was still on its way to the screen.
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    std::string previous;
    return WaitUntil(
        [&] {
            if (!SaveScreenshot(window, bmpPath)) {
                return false;
            }
            std::string now = FileBytes(bmpPath);
            const bool same = !previous.empty() && now == previous;
            previous = std::move(now);
            return same;
        },
        timeoutMs);
}

}  // namespace e2e
