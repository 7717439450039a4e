// Windows and pixels of the desktop through the window manager and the screen's device context.

#include "platform/desktop.h"

#include <vector>

#include "platform/ScreenSpace.h"
#include "platform/win32/Monitors.h"
#include "platform/win32/WinApi.h"

namespace {

using platform::TopLevelId;

HWND Handle(TopLevelId window) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(window));
}

TopLevelId IdOf(HWND window) {
    return static_cast<TopLevelId>(reinterpret_cast<uintptr_t>(window));
}

// The title from the system's own copy: InternalGetWindowText sends no WM_GETTEXT, so neither a
// hung program nor this program's busy main thread can hold the caller up.
std::string TitleOf(HWND window) {
    wchar_t title[512];
    const int length = InternalGetWindowText(window, title, static_cast<int>(std::size(title)));
    return length > 0 ? win32::Narrow(std::wstring_view(title, static_cast<size_t>(length)))
                      : std::string();
}

bool IsOwn(HWND window) {
    DWORD process = 0;
    return GetWindowThreadProcessId(window, &process) != 0 && process == GetCurrentProcessId();
}

// A window Windows keeps visible but does not show: a suspended app, another virtual desktop
// (DwmGetWindowAttribute DWMWA_CLOAKED, Windows 8 on; elsewhere nothing is cloaked).
bool IsCloaked(HWND window) {
    using GetAttribute = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
    static const auto getAttribute = [] {
        HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
        return dwm != nullptr ? reinterpret_cast<GetAttribute>(reinterpret_cast<void*>(
                                    GetProcAddress(dwm, "DwmGetWindowAttribute")))
                              : nullptr;
    }();
    constexpr DWORD kCloaked = 14;  // DWMWA_CLOAKED
    DWORD cloaked = 0;
    return getAttribute != nullptr &&
           SUCCEEDED(getAttribute(window, kCloaked, &cloaked, sizeof(cloaked))) && cloaked != 0;
}

// The cheap test first: most top-level windows (Wine's and every program's hidden helpers) are
// not visible, and a window's visibility costs one look where its owner and title cost more.
BOOL CALLBACK CollectOtherWindow(HWND window, LPARAM data) {
    if (!IsWindowVisible(window) || IsOwn(window)) {
        return TRUE;
    }
    std::string title = TitleOf(window);
    if (!title.empty() && !IsCloaked(window)) {
        reinterpret_cast<std::vector<platform::TopLevelWindow>*>(data)->push_back(
            {IdOf(window), std::move(title)});
    }
    return TRUE;
}

// The window of another thread gets the command through its queue, as from its title bar.
void PostSystemCommand(TopLevelId window, WPARAM command) {
    // A message posted to no window would go to the calling thread's own queue.
    if (window != 0) {
        PostMessageW(Handle(window), WM_SYSCOMMAND, command, 0);
    }
}

// SetWindowPos handed to the window's own thread (SWP_ASYNCWINDOWPOS), so it never waits for it.
void PlaceAsync(TopLevelId window, int x, int y, int width, int height, UINT keep) {
    SetWindowPos(Handle(window), nullptr, x, y, width, height,
                 keep | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_ASYNCWINDOWPOS);
}

}  // namespace

namespace platform {

std::string ForegroundWindowTitle() {
    HWND window = GetForegroundWindow();
    return window != nullptr && !IsOwn(window) ? TitleOf(window) : std::string();
}

std::vector<TopLevelWindow> OtherTopLevels() {
    std::vector<TopLevelWindow> windows;
    EnumWindows(CollectOtherWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool TopLevelAt(int x, int y, TopLevelAtPoint& found) {
    HWND window = WindowFromPoint(POINT{x, y});
    HWND root = window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr;
    POINT inside{x, y};
    if (root == nullptr || !ScreenToClient(root, &inside)) {
        return false;
    }
    found = {IdOf(root), TitleOf(root), inside.x, inside.y, IsOwn(root)};
    return true;
}

bool TopLevelExists(TopLevelId window) {
    return window != 0 && IsWindow(Handle(window));
}

TopLevelShow TopLevelShowState(TopLevelId window) {
    return IsIconic(Handle(window))   ? TopLevelShow::Minimised
           : IsZoomed(Handle(window)) ? TopLevelShow::Maximised
                                      : TopLevelShow::Normal;
}

bool IsTopLevelInFront(TopLevelId window) {
    return window != 0 && GetForegroundWindow() == Handle(window);
}

bool TopLevelRect(TopLevelId window, Rect& outer) {
    RECT rect{};
    if (window == 0 || !GetWindowRect(Handle(window), &rect)) {
        return false;
    }
    outer = {rect.left, rect.top, rect.right, rect.bottom};
    return true;
}

bool TopLevelClientOrigin(TopLevelId window, int& x, int& y) {
    POINT origin{0, 0};
    if (window == 0 || !ClientToScreen(Handle(window), &origin)) {
        return false;
    }
    x = origin.x;
    y = origin.y;
    return true;
}

void BringTopLevelToFront(TopLevelId window) {
    HWND handle = Handle(window);
    if (!TopLevelExists(window)) {
        return;
    }
    if (IsIconic(handle)) {
        PostSystemCommand(window, SC_RESTORE);
    }
    // Raised also when it is in front already: a window shown without activation may cover it.
    SetWindowPos(handle, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    // Windows lets a program that is not in front take the foreground only right after it made
    // input; an input event that moves nothing and presses nothing is such input.
    if (!SetForegroundWindow(handle)) {
        INPUT neutral{};
        neutral.type = INPUT_MOUSE;
        SendInput(1, &neutral, sizeof(neutral));
        SetForegroundWindow(handle);
    }
}

void MoveTopLevel(TopLevelId window, int x, int y) {
    PlaceAsync(window, x, y, 0, 0, SWP_NOSIZE);
}

void SizeTopLevel(TopLevelId window, int width, int height) {
    PlaceAsync(window, 0, 0, width, height, SWP_NOMOVE);
}

void MinimiseTopLevel(TopLevelId window) {
    PostSystemCommand(window, SC_MINIMIZE);
}

void MaximiseTopLevel(TopLevelId window) {
    PostSystemCommand(window, SC_MAXIMIZE);
}

void RestoreTopLevel(TopLevelId window) {
    PostSystemCommand(window, SC_RESTORE);
}

void AskTopLevelToClose(TopLevelId window) {
    if (window != 0) {
        PostMessageW(Handle(window), WM_CLOSE, 0, 0);
    }
}

bool ScreenPixel(int x, int y, uint32_t& rgb) {
    int px = x, py = y;
    if (!platform::ToPhysicalPoint(win32::GatherMonitors(), px, py)) {
        return false;
    }
    const win32::PhysicalPixels pixels;
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return false;
    }
    const COLORREF colour = GetPixel(screen, px, py);
    ReleaseDC(nullptr, screen);
    if (colour == CLR_INVALID) {
        return false;
    }
    rgb = (static_cast<uint32_t>(GetRValue(colour)) << 16) |
          (static_cast<uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
    return true;
}

}  // namespace platform
