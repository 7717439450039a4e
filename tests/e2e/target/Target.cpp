// A window for the player's end-to-end tests to act on: a button, an edit control, and a counter
// that takes the keyboard focus when clicked and only logs the characters it gets (Wine's edit
// is too slow for long texts). Every mouse
// button event it receives (with its screen position) and every key and character typed into it
// is appended to the log file named on the command line, one line each, flushed at once:
//   click <L|R|M> <down|up|double> <x> <y> <window|button|edit>
//   client <L|R|M> <down|up|double> <x> <y> <window|button|edit>   (after each click: the point
//                                                   in the top-level window's client area)
//   keydown <virtual key>
//   scan <virtual key> <scan code> <extended 0|1>   (after each keydown)
//   char <character code>
// On WM_APP it shows a second window, "Quorvane Target Second", without activating it, and
// paints a green (33CC33) square at client 300,20 to 340,60; WM_APP + 1 takes both away.
// On WM_APP + 2 it watches every key of the system with a low-level hook, which sees the keys
// other programs synthesise whatever window has the focus, and logs "llhook 1", then each as
//   llkey <down|up> <virtual key>
#include <windows.h>

#include <cstdio>

namespace {

constexpr int TargetButton = 1;
constexpr int TargetEdit = 2;
constexpr int TargetCounter = 3;

std::FILE* Log = nullptr;
HWND MainWindow = nullptr;
HWND SecondWindow = nullptr;
bool SquareGreen = false;
constexpr RECT Square{300, 20, 340, 60};
HHOOK KeyHook = nullptr;
WNDPROC ButtonProcedure = nullptr;
WNDPROC EditProcedure = nullptr;

void LogLine(const char* label, long value) {
    if (Log != nullptr) {
        std::fprintf(Log, "%s %ld\n", label, value);
        std::fflush(Log);
    }
}

// Logs a mouse button message; returns false for every other message.
bool LogClick(UINT message, LPARAM lParam, HWND window, const char* where) {
    const char* button = nullptr;
    const char* action = nullptr;
    switch (message) {
        case WM_LBUTTONDOWN:
            button = "L", action = "down";
            break;
        case WM_LBUTTONUP:
            button = "L", action = "up";
            break;
        case WM_LBUTTONDBLCLK:
            button = "L", action = "double";
            break;
        case WM_RBUTTONDOWN:
            button = "R", action = "down";
            break;
        case WM_RBUTTONUP:
            button = "R", action = "up";
            break;
        case WM_MBUTTONDOWN:
            button = "M", action = "down";
            break;
        case WM_MBUTTONUP:
            button = "M", action = "up";
            break;
        default:
            return false;
    }
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(window, &point);
    POINT inWindow = point;
    ScreenToClient(GetAncestor(window, GA_ROOT), &inWindow);
    if (Log != nullptr) {
        std::fprintf(Log, "click %s %s %ld %ld %s\n", button, action, point.x, point.y, where);
        std::fprintf(Log, "client %s %s %ld %ld %s\n", button, action, inWindow.x, inWindow.y,
                     where);
        std::fflush(Log);
    }
    return true;
}

LRESULT CALLBACK LowLevelKeys(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const bool up = wParam == WM_KEYUP || wParam == WM_SYSKEYUP;
        LogLine(up ? "llkey up" : "llkey down",
                static_cast<long>(reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)->vkCode));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK ButtonEvents(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LogClick(message, lParam, window, "button");
    return CallWindowProcW(ButtonProcedure, window, message, wParam, lParam);
}

LRESULT CALLBACK EditEvents(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!LogClick(message, lParam, window, "edit")) {
        if (message == WM_KEYDOWN) {
            LogLine("keydown", static_cast<long>(wParam));
            // Bits 16 to 23 of lParam are the scan code, bit 24 the extended-key flag.
            if (Log != nullptr) {
                std::fprintf(Log, "scan %ld %ld %ld\n", static_cast<long>(wParam),
                             static_cast<long>((lParam >> 16) & 0xFF),
                             static_cast<long>((lParam >> 24) & 1));
                std::fflush(Log);
            }
        } else if (message == WM_CHAR) {
            LogLine("char", static_cast<long>(wParam));
        }
    }
    return CallWindowProcW(EditProcedure, window, message, wParam, lParam);
}

LRESULT CALLBACK CounterEvents(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) {
        SetFocus(window);
        return 0;
    }
    if (message == WM_CHAR) {
        LogLine("char", static_cast<long>(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK WindowEvents(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (LogClick(message, lParam, window, "window")) {
        return 0;
    }
    switch (message) {
        case WM_APP:
            if (SecondWindow == nullptr) {
                SecondWindow = CreateWindowExW(
                    0, L"QuorvaneTarget", L"Quorvane Target Second", WS_OVERLAPPED | WS_CAPTION, 40,
                    40, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
                ShowWindow(SecondWindow, SW_SHOWNOACTIVATE);
            }
            SquareGreen = true;
            InvalidateRect(MainWindow, &Square, TRUE);
            UpdateWindow(MainWindow);
            return 0;
        case WM_APP + 1:
            if (SecondWindow != nullptr) {
                DestroyWindow(SecondWindow);
                SecondWindow = nullptr;
            }
            SquareGreen = false;
            InvalidateRect(MainWindow, &Square, TRUE);
            UpdateWindow(MainWindow);
            return 0;
        case WM_APP + 2:
            KeyHook = KeyHook != nullptr ? KeyHook
                                         : SetWindowsHookExW(WH_KEYBOARD_LL, LowLevelKeys,
                                                             GetModuleHandleW(nullptr), 0);
            LogLine("llhook", KeyHook != nullptr ? 1 : 0);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            if (window == MainWindow) {
                HBRUSH brush =
                    CreateSolidBrush(SquareGreen ? RGB(0x33, 0xCC, 0x33) : RGB(255, 255, 255));
                FillRect(dc, &Square, brush);
                DeleteObject(brush);
            }
            EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY:
            if (window == MainWindow) {
                PostQuitMessage(0);
            }
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND CreateChild(HWND parent, const wchar_t* kind, const wchar_t* text, DWORD style, int id, int x,
                 int y, int width, int height) {
    return CreateWindowExW(0, kind, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                           nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        Log = std::fopen(argv[1], "a");
    }
    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowEvents;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"QuorvaneTarget";
    RegisterClassW(&windowClass);

    WNDCLASSW counterClass = windowClass;
    counterClass.style = 0;
    counterClass.lpfnWndProc = CounterEvents;
    counterClass.lpszClassName = L"QuorvaneCounter";
    RegisterClassW(&counterClass);

    RECT frame{0, 0, 400, 200};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    AdjustWindowRect(&frame, style, FALSE);
    HWND window = CreateWindowExW(0, L"QuorvaneTarget", L"Quorvane Target", style, 300, 300,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    MainWindow = window;
    HWND button =
        CreateChild(window, L"BUTTON", L"Target", BS_PUSHBUTTON, TargetButton, 20, 20, 120, 40);
    HWND edit =
        CreateChild(window, L"EDIT", L"", WS_BORDER | ES_AUTOHSCROLL, TargetEdit, 20, 100, 360, 24);
    CreateChild(window, L"QuorvaneCounter", L"", WS_BORDER, TargetCounter, 20, 140, 360, 40);
    ButtonProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ButtonEvents)));
    EditProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditEvents)));
    ShowWindow(window, SW_SHOW);
    SetFocus(edit);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (Log != nullptr) {
        std::fclose(Log);
    }
    return 0;
}
