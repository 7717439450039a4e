// [SECTION] Windows, fonts, images and menus over the Windows API.
//
// Index: [SECTION] Windows  [SECTION] Fonts and images  [SECTION] Menus

#include "platform/win32/Registry.h"

namespace {

using win32::Lock;
using win32::Shared;

// No WS_CLIPCHILDREN: a group box does not paint its inside, so the window's own background
// must be drawn there.
DWORD StyleOf(platform::WindowStyle style) {
    if (style == platform::WindowStyle::Borderless) {
        return WS_POPUP;
    }
    return WS_CAPTION | WS_SYSMENU;
}

RECT ScreenRect() {
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// Outer top-left corner for an outer size, by the placement.
POINT PlacedCorner(const platform::WindowSpec& shape, HWND owner, int width, int height) {
    if (shape.placement == platform::WindowPlacement::AtPosition) {
        return POINT{shape.x, shape.y};
    }
    RECT around = ScreenRect();
    if (shape.placement == platform::WindowPlacement::CentreOnOwner && owner != nullptr) {
        GetWindowRect(owner, &around);
    }
    return POINT{(around.left + around.right - width) / 2,
                 (around.top + around.bottom - height) / 2};
}

// A menu bar set after the window was made takes its height from the client area; grow the
// window by what the client area lacks, keeping a centred window centred.
void FitClientArea(HWND hwnd, const platform::WindowSpec& shape) {
    RECT client{};
    RECT outer{};
    GetClientRect(hwnd, &client);
    GetWindowRect(hwnd, &outer);
    const int missingWidth = shape.clientWidth - (client.right - client.left);
    const int missingHeight = shape.clientHeight - (client.bottom - client.top);
    if (missingWidth == 0 && missingHeight == 0) {
        return;
    }
    int left = outer.left;
    int top = outer.top;
    if (shape.placement != platform::WindowPlacement::AtPosition) {
        left -= missingWidth / 2;
        top -= missingHeight / 2;
    }
    SetWindowPos(hwnd, nullptr, left, top, outer.right - outer.left + missingWidth,
                 outer.bottom - outer.top + missingHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ForgetWindow(int window) {
    const auto lock = Lock();
    Shared().windows.erase(window);
    std::erase_if(Shared().controls,
                  [window](const auto& entry) { return entry.second.window == window; });
    std::erase_if(Shared().menuItemWindow,
                  [window](const auto& entry) { return entry.second == window; });
}

bool IsFontInUse(int font) {
    for (const auto& [number, control] : Shared().controls) {
        if (control.font == font) {
            return true;
        }
    }
    return false;
}

}  // namespace

namespace platform {

// [SECTION] Windows

bool OpenWindow(int window, const WindowSpec& shape) {
    win32::EnsureWindowClasses();
    if (win32::WindowHandle(window) != nullptr) {
        return false;
    }
    HWND owner = shape.owner >= 0 ? win32::WindowHandle(shape.owner) : nullptr;
    const DWORD style = StyleOf(shape.style);
    RECT outer{0, 0, shape.clientWidth, shape.clientHeight};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const POINT corner = PlacedCorner(shape, owner, width, height);

    HWND hwnd =
        CreateWindowExA(0, win32::kWindowClass, shape.title.c_str(), style, corner.x, corner.y,
                        width, height, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (hwnd == nullptr) {
        return false;
    }
    {
        const auto lock = Lock();
        Shared().guiThread = GetCurrentThreadId();
        Shared().windows[window] = win32::WindowRecord{hwnd, shape, nullptr};
    }
    ShowWindow(hwnd, shape.activate ? SW_SHOW : SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    return true;
}

void CloseWindow(int window) {
    HWND hwnd = win32::WindowHandle(window);
    if (hwnd == nullptr) {
        return;
    }
    DestroyWindow(hwnd);
    ForgetWindow(window);
}

bool IsWindowOpen(int window) {
    HWND hwnd = win32::WindowHandle(window);
    return hwnd != nullptr && IsWindow(hwnd);
}

void SetWindowEnabled(int window, bool enabled) {
    if (HWND hwnd = win32::WindowHandle(window)) {
        EnableWindow(hwnd, enabled ? TRUE : FALSE);
    }
}

bool IsWindowEnabled(int window) {
    HWND hwnd = win32::WindowHandle(window);
    return hwnd != nullptr && ::IsWindowEnabled(hwnd);
}

void SetWindowTopmost(int window, bool topmost) {
    if (HWND hwnd = win32::WindowHandle(window)) {
        SetWindowPos(hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

bool IsWindowTopmost(int window) {
    HWND hwnd = win32::WindowHandle(window);
    return hwnd != nullptr && (GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void ActivateWindow(int window) {
    if (HWND hwnd = win32::WindowHandle(window)) {
        SetForegroundWindow(hwnd);
    }
}

Rect WindowOuterRect(int window) {
    RECT outer{};
    HWND hwnd = win32::WindowHandle(window);
    if (hwnd == nullptr || !GetWindowRect(hwnd, &outer)) {
        return {};
    }
    return Rect{outer.left, outer.top, outer.right, outer.bottom};
}

// [SECTION] Fonts and images

void CreateFont(int font, const char* face, int points, bool bold) {
    HDC screen = GetDC(nullptr);
    const int pixelsPerInchY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    HFONT handle =
        CreateFontA(-MulDiv(points, pixelsPerInchY, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE,
                    FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face != nullptr ? face : "");
    if (handle == nullptr) {
        return;
    }
    const auto lock = Lock();
    win32::FontRecord& record = Shared().fonts[font];
    if (record.handle && IsFontInUse(font)) {
        Shared().retiredFonts.push_back(std::move(record.handle));
    }
    record.handle.reset(handle);
    record.points = points;
    record.bold = bold;
}

void SetDefaultFont(int font) {
    const auto lock = Lock();
    Shared().defaultFont = font;
}

bool LoadImage(int image) {
    auto* bitmap = static_cast<HBITMAP>(LoadImageA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(image), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (bitmap == nullptr) {
        return false;
    }
    const auto lock = Lock();
    Shared().images[image].reset(bitmap);
    return true;
}

int ScreenPixelsPerInchX() {
    HWND desktop = GetDesktopWindow();
    HDC dc = GetDC(desktop);
    const int pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(desktop, dc);
    return pixelsPerInch;
}

int ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

// [SECTION] Menus

void CreateMenuBar(int window, const std::vector<MenuTitleSpec>& titles) {
    HWND hwnd = win32::WindowHandle(window);
    if (hwnd == nullptr) {
        return;
    }
    HMENU bar = CreateMenu();
    std::vector<int> items;
    for (const MenuTitleSpec& title : titles) {
        HMENU popup = CreatePopupMenu();
        for (const MenuItemSpec& item : title.items) {
            if (item.item == 0) {
                AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            AppendMenuA(popup, MF_STRING, static_cast<UINT_PTR>(item.item), item.text.c_str());
            items.push_back(item.item);
        }
        AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                    title.title.c_str());
    }
    HMENU previous = GetMenu(hwnd);
    SetMenu(hwnd, bar);
    if (previous != nullptr) {
        DestroyMenu(previous);
    }
    WindowSpec shape;
    {
        const auto lock = Lock();
        auto record = Shared().windows.find(window);
        if (record == Shared().windows.end()) {
            return;
        }
        record->second.menuBar = bar;
        shape = record->second.shape;
        std::erase_if(Shared().menuItemWindow,
                      [window](const auto& entry) { return entry.second == window; });
        for (int item : items) {
            Shared().menuItemWindow[item] = window;
        }
    }
    FitClientArea(hwnd, shape);
}

void SetMenuItemEnabled(int item, bool enabled) {
    if (HMENU bar = win32::MenuBarOfItem(item)) {
        EnableMenuItem(bar, static_cast<UINT>(item),
                       MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    }
}

bool IsMenuItemEnabled(int item) {
    const int state = win32::MenuItemState(item);
    return state != -1 && (state & win32::MenuItemEnabled) != 0;
}

void SetMenuItemChecked(int item, bool checked) {
    if (HMENU bar = win32::MenuBarOfItem(item)) {
        CheckMenuItem(bar, static_cast<UINT>(item),
                      MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

bool IsMenuItemChecked(int item) {
    const int state = win32::MenuItemState(item);
    return state != -1 && (state & win32::MenuItemChecked) != 0;
}

}  // namespace platform
