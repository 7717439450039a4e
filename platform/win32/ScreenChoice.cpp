// The frozen screen: a capture shown over every monitor in borderless topmost windows of this
// program, and the rectangle the user drags out on it.
//
// The windows are made while the thread sees physical pixels, so they show the capture pixel for
// pixel at any display scale and their mouse messages come in physical pixels too.

#include <algorithm>
#include <vector>

#include "platform/pictures.h"
#include "platform/win32/Monitors.h"
#include "platform/win32/WinApi.h"

namespace {

constexpr char kFrozenClass[] = "QuorvaneFrozenScreen";

// What the windows of one freeze share. Main thread only, while ChooseScreenRectangle runs.
struct Freeze {
    const platform::ScreenCapture* capture = nullptr;
    HDC pictureDc = nullptr;  // the capture as a bitmap, to paint the windows from
    HBITMAP picture = nullptr;
    HGDIOBJ previous = nullptr;
    std::vector<HWND> windows;
    std::vector<POINT> origins;  // each window's top-left corner on the desktop
    bool dragging = false;
    POINT from{};  // where the drag began and where the pointer is, desktop pixels
    POINT to{};
    bool over = false;
    bool chosen = false;

    Freeze() = default;
    Freeze(const Freeze&) = delete;
    Freeze& operator=(const Freeze&) = delete;
    ~Freeze() {
        for (HWND window : windows) {
            DestroyWindow(window);
        }
        if (pictureDc != nullptr) {
            SelectObject(pictureDc, previous);
            DeleteDC(pictureDc);
        }
        if (picture != nullptr) {
            DeleteObject(picture);
        }
    }
};

Freeze* gFreeze = nullptr;

// The capture as a top-down 32-bit bitmap selected into a memory device context.
bool MakePicture(Freeze& freeze) {
    const platform::ScreenCapture& capture = *freeze.capture;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    freeze.pictureDc = CreateCompatibleDC(screen);
    freeze.picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (freeze.pictureDc == nullptr || freeze.picture == nullptr) {
        return false;
    }
    std::copy(capture.pixels.begin(), capture.pixels.end(), static_cast<uint32_t*>(bits));
    freeze.previous = SelectObject(freeze.pictureDc, freeze.picture);
    return true;
}

// The dragged rectangle, corners in order, on the desktop.
RECT DraggedRect(const Freeze& freeze) {
    return RECT{std::min(freeze.from.x, freeze.to.x), std::min(freeze.from.y, freeze.to.y),
                std::max(freeze.from.x, freeze.to.x), std::max(freeze.from.y, freeze.to.y)};
}

// The rectangle in the window's client area.
RECT InWindow(RECT rect, POINT origin) {
    OffsetRect(&rect, -origin.x, -origin.y);
    return rect;
}

// The frame around the dragged rectangle, and a pixel beyond it, is to be painted again.
void InvalidateFrame(const Freeze& freeze) {
    RECT frame = DraggedRect(freeze);
    InflateRect(&frame, 2, 2);
    for (size_t i = 0; i < freeze.windows.size(); ++i) {
        const RECT inWindow = InWindow(frame, freeze.origins[i]);
        InvalidateRect(freeze.windows[i], &inWindow, FALSE);
    }
}

void Paint(HWND window, const Freeze& freeze, POINT origin) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    BitBlt(dc, 0, 0, client.right, client.bottom, freeze.pictureDc, origin.x - freeze.capture->left,
           origin.y - freeze.capture->top, SRCCOPY);
    if (freeze.dragging) {
        // Black outside, white inside: the frame shows on any picture.
        RECT frame = InWindow(DraggedRect(freeze), origin);
        InflateRect(&frame, 1, 1);
        FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&frame, -1, -1);
        FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    EndPaint(window, &paint);
}

// The pointer's point on the desktop, kept within the capture.
POINT DesktopPoint(LPARAM lParam, POINT origin, const platform::ScreenCapture& capture) {
    const int x = static_cast<short>(LOWORD(lParam)) + origin.x;
    const int y = static_cast<short>(HIWORD(lParam)) + origin.y;
    return POINT{std::clamp(x, capture.left, capture.left + capture.width),
                 std::clamp(y, capture.top, capture.top + capture.height)};
}

void End(Freeze& freeze, bool chosen) {
    freeze.over = true;
    freeze.chosen = chosen;
    freeze.dragging = false;
}

LRESULT CALLBACK FrozenScreenProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Freeze* freeze = gFreeze;
    const auto index = static_cast<size_t>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (freeze == nullptr || index >= freeze->origins.size()) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    const POINT origin = freeze->origins[index];
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(window, *freeze, origin);
            return 0;
        case WM_LBUTTONDOWN:
            SetCapture(window);
            freeze->dragging = true;
            freeze->from = freeze->to = DesktopPoint(lParam, origin, *freeze->capture);
            return 0;
        case WM_MOUSEMOVE:
            if (freeze->dragging) {
                InvalidateFrame(*freeze);
                freeze->to = DesktopPoint(lParam, origin, *freeze->capture);
                InvalidateFrame(*freeze);
            }
            return 0;
        case WM_LBUTTONUP:
            if (freeze->dragging) {
                InvalidateFrame(*freeze);
                freeze->to = DesktopPoint(lParam, origin, *freeze->capture);
                const RECT dragged = DraggedRect(*freeze);
                freeze->dragging = false;
                ReleaseCapture();
                // A click without a drag chooses nothing: the user may drag again.
                if (dragged.right > dragged.left && dragged.bottom > dragged.top) {
                    End(*freeze, true);
                }
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (freeze->dragging && reinterpret_cast<HWND>(lParam) != window) {
                End(*freeze, false);
            }
            return 0;
        case WM_RBUTTONUP:
            End(*freeze, false);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                End(*freeze, false);
            }
            return 0;
        case WM_ACTIVATEAPP:
            if (wParam == FALSE) {
                End(*freeze, false);
            }
            return 0;
        case WM_CLOSE:
            End(*freeze, false);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

void RegisterFrozenClass() {
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = FrozenScreenProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32515));  // IDC_CROSS
        windowClass.lpszClassName = kFrozenClass;
        return RegisterClassA(&windowClass) != 0;
    }();
    (void)registered;
}

}  // namespace

namespace platform {

bool ChooseScreenRectangle(const ScreenCapture& capture, ScreenRect& chosen) {
    if (gFreeze != nullptr || capture.width <= 0 || capture.height <= 0 ||
        capture.pixels.size() != static_cast<size_t>(capture.width) * capture.height) {
        return false;
    }
    RegisterFrozenClass();
    HWND before = GetForegroundWindow();
    RECT dragged{};
    bool wasChosen = false;
    {
        const win32::PhysicalPixels physical;
        Freeze freeze;
        freeze.capture = &capture;
        if (!MakePicture(freeze)) {
            return false;
        }
        gFreeze = &freeze;
        for (const MonitorSpace& monitor : capture.monitors) {
            const ScreenRect& r = monitor.physical;
            HWND window =
                CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kFrozenClass, "", WS_POPUP,
                                r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
            if (window == nullptr) {
                continue;
            }
            SetWindowLongPtrA(window, GWLP_USERDATA, static_cast<LONG_PTR>(freeze.windows.size()));
            freeze.windows.push_back(window);
            freeze.origins.push_back(POINT{r.left, r.top});
        }
        for (HWND window : freeze.windows) {
            ShowWindow(window, SW_SHOW);
            UpdateWindow(window);
        }
        if (!freeze.windows.empty()) {
            SetForegroundWindow(freeze.windows.front());
            SetFocus(freeze.windows.front());
        } else {
            End(freeze, false);
        }
        // The program's other windows go on handling their messages meanwhile.
        MSG msg;
        while (!freeze.over) {
            if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        gFreeze = nullptr;
        wasChosen = freeze.chosen;
        dragged = DraggedRect(freeze);
    }
    // The window that was in front gets the keyboard again.
    if (before != nullptr && IsWindow(before)) {
        SetForegroundWindow(before);
    }
    if (!wasChosen) {
        return false;
    }
    chosen = ScreenRect{dragged.left, dragged.top, dragged.right, dragged.bottom};
    return true;
}

}  // namespace platform
