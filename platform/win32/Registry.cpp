// The registry of numbered windows, controls, fonts, images and menu items.

#include "platform/win32/Registry.h"

namespace win32 {

namespace {

constexpr int kApplicationIcon = 1;

std::mutex gMutex;

}  // namespace

std::unique_lock<std::mutex> Lock() {
    return std::unique_lock<std::mutex>(gMutex);
}

Registry& Shared() {
    static Registry registry;
    return registry;
}

HWND WindowHandle(int window) {
    const auto lock = Lock();
    auto found = Shared().windows.find(window);
    return found != Shared().windows.end() ? found->second.hwnd : nullptr;
}

HWND ControlHandle(int control) {
    const auto lock = Lock();
    auto found = Shared().controls.find(control);
    return found != Shared().controls.end() ? found->second.hwnd : nullptr;
}

HWND WindowOrControlHandle(int number) {
    if (HWND window = WindowHandle(number)) {
        return window;
    }
    return ControlHandle(number);
}

HMENU MenuBarOfItem(int item) {
    const auto lock = Lock();
    auto owner = Shared().menuItemWindow.find(item);
    if (owner == Shared().menuItemWindow.end()) {
        return nullptr;
    }
    auto window = Shared().windows.find(owner->second);
    return window != Shared().windows.end() ? window->second.menuBar : nullptr;
}

int MenuItemState(int item) {
    HMENU bar = MenuBarOfItem(item);
    const UINT state =
        bar != nullptr ? GetMenuState(bar, static_cast<UINT>(item), MF_BYCOMMAND) : UINT(-1);
    if (state == static_cast<UINT>(-1)) {
        return -1;
    }
    return ((state & (MF_GRAYED | MF_DISABLED)) == 0 ? MenuItemEnabled : 0) |
           ((state & MF_CHECKED) != 0 ? MenuItemChecked : 0);
}

HFONT FontHandle(int font) {
    const auto lock = Lock();
    auto found = Shared().fonts.find(font);
    return found != Shared().fonts.end() ? found->second.handle.get() : nullptr;
}

void CountEnabling(int control) {
    const auto lock = Lock();
    auto found = Shared().controls.find(control);
    if (found != Shared().controls.end()) {
        ++found->second.timesEnabled;
    }
}

HBITMAP ImageHandle(int image) {
    const auto lock = Lock();
    auto found = Shared().images.find(image);
    return found != Shared().images.end() ? found->second.get() : nullptr;
}

int RootWindowNumber(HWND hwnd) {
    HWND root = hwnd != nullptr ? GetAncestor(hwnd, GA_ROOT) : nullptr;
    if (root == nullptr) {
        return -1;
    }
    const auto lock = Lock();
    for (const auto& [number, record] : Shared().windows) {
        if (record.hwnd == root) {
            return number;
        }
    }
    return -1;
}

std::optional<ControlIdentity> IdentifyControl(HWND hwnd) {
    if (hwnd == nullptr) {
        return std::nullopt;
    }
    const int number = GetDlgCtrlID(hwnd);
    const auto lock = Lock();
    auto found = Shared().controls.find(number);
    if (found == Shared().controls.end() || found->second.hwnd != hwnd) {
        return std::nullopt;
    }
    return ControlIdentity{number, found->second.kind, found->second.window};
}

void EnsureWindowClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);

        HINSTANCE instance = GetModuleHandleA(nullptr);
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = WindowProcedure;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kApplicationIcon));
        windowClass.lpszClassName = kWindowClass;
        RegisterClassExA(&windowClass);

        windowClass.hIcon = nullptr;
        windowClass.lpszClassName = kContainerClass;
        RegisterClassExA(&windowClass);
    });
}

}  // namespace win32
