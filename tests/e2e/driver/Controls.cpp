// Finding controls by number and reading their state, styles and places from another process.
// Texts go through the wide messages with a time-out: the ANSI ones can hang or return one
// character under Wine.
#include <windows.h>

#include "Driver.h"
#include "WideText.h"
#include "platform/win32/TestQueries.h"

namespace e2e {

namespace {

constexpr UINT AnswerTimeoutMs = 5000;

struct ControlSearch {
    int number = 0;
    HWND found = nullptr;
};

BOOL CALLBACK MatchNumber(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<ControlSearch*>(context);
    if (GetDlgCtrlID(window) == search.number) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT noAnswer = -1) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, AnswerTimeoutMs,
                             &result)) {
        return noAnswer;
    }
    return static_cast<LRESULT>(result);
}

// Text of entry index of a combo (CB_GETLBTEXT...) or list box (LB_GETTEXT...).
std::string EntryText(HWND window, int index, UINT lengthMessage, UINT textMessage) {
    const LRESULT length = Ask(window, lengthMessage, static_cast<WPARAM>(index), 0);
    if (length < 0) {
        return "";
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    Ask(window, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return Narrow(text);
}

std::vector<std::string> AllEntries(HWND window, UINT countMessage, UINT lengthMessage,
                                    UINT textMessage) {
    std::vector<std::string> entries;
    const LRESULT count = Ask(window, countMessage, 0, 0);
    for (int i = 0; i < count; ++i) {
        entries.push_back(EntryText(window, i, lengthMessage, textMessage));
    }
    return entries;
}

LONG_PTR Style(HWND window) {
    return GetWindowLongPtrW(window, GWL_STYLE);
}

// Client position of a character: edit controls and rich-edit controls from 2.0 on both answer
// EM_POSFROMCHAR with the index in wParam by returning the point packed in the result.
bool CharacterPosition(HWND textArea, LRESULT index, POINT& point) {
    const LRESULT packed = Ask(textArea, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
    if (packed == -1) {
        return false;
    }
    point = {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
    return true;
}

// Start of 0-based line of a text area, -1 when there is no such line.
LRESULT LineStart(HWND textArea, int line) {
    return Ask(textArea, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
}

}  // namespace

Window FindControl(Window window, int number) {
    if (window == nullptr) {
        return nullptr;
    }
    ControlSearch search{number, nullptr};
    EnumChildWindows(window, MatchNumber, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool Exists(Window window) {
    return window != nullptr && IsWindow(window);
}

Window ParentOf(Window window) {
    return GetParent(window);
}

Window OwnerOf(Window window) {
    return GetWindow(window, GW_OWNER);
}

std::string Title(Window window) {
    return Text(window);
}

std::string ClassName(Window window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return Narrow(std::wstring_view(name, static_cast<size_t>(length > 0 ? length : 0)));
}

std::string Text(Window window) {
    if (!Exists(window)) {
        return "";
    }
    const LRESULT length = Ask(window, WM_GETTEXTLENGTH, 0, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), 0);
    text.resize(static_cast<size_t>(copied));
    return Narrow(text);
}

std::string StoredText(Window window) {
    wchar_t text[1024] = {};
    const int length = InternalGetWindowText(window, text, 1024);
    return Narrow(std::wstring_view(text, static_cast<size_t>(length > 0 ? length : 0)));
}

int SelectedIndex(Window combo) {
    return static_cast<int>(Ask(combo, CB_GETCURSEL, 0, 0));
}

std::string SelectedEntry(Window combo) {
    const int index = SelectedIndex(combo);
    return index < 0 ? "" : EntryText(combo, index, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

std::vector<std::string> Entries(Window combo) {
    return AllEntries(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

std::vector<std::string> ListEntries(Window list) {
    return AllEntries(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

bool IsEnabled(Window window) {
    return Exists(window) && IsWindowEnabled(window);
}
bool IsVisible(Window window) {
    return Exists(window) && IsWindowVisible(window);
}

Window FocusedControl(Window window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

Box PositionInParent(Window window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

Box ClientBox(Window window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

Box ScreenBox(Window window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

Point ClientOrigin(Window window) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return {origin.x, origin.y};
}

Point LinePoint(Window textArea, int line) {
    const LRESULT start = LineStart(textArea, line);
    POINT top{};
    if (start < 0 || !CharacterPosition(textArea, start, top)) {
        return {-1, -1};
    }
    // The line's height from a neighbour: the next line's top, or the previous line's for the last.
    int height = 0;
    const LRESULT next = LineStart(textArea, line + 1);
    const LRESULT previous = line > 0 ? LineStart(textArea, line - 1) : -1;
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

bool IsTopmost(Window window) {
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}
bool HasCaption(Window window) {
    return (Style(window) & WS_CAPTION) == WS_CAPTION;
}
bool HasMinimizeBox(Window window) {
    return (Style(window) & WS_MINIMIZEBOX) != 0;
}
bool HasMaximizeBox(Window window) {
    return (Style(window) & WS_MAXIMIZEBOX) != 0;
}
bool HasSizingBorder(Window window) {
    return (Style(window) & WS_THICKFRAME) != 0;
}
bool HasSystemMenu(Window window) {
    return (Style(window) & WS_SYSMENU) != 0;
}
bool HasVerticalScrollBar(Window window) {
    return (Style(window) & WS_VSCROLL) != 0;
}
bool IsBorderlessPopup(Window window) {
    const LONG_PTR style = Style(window);
    return (style & WS_POPUP) != 0 && (style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME)) == 0;
}
bool IsForeground(Window window) {
    return GetForegroundWindow() == window;
}

int ScreenPixelsPerInch() {
    HDC screen = GetDC(nullptr);
    const int pixels = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return pixels;
}

int ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

bool Activate(Window window) {
    return WaitUntil(
        [&] {
            SetForegroundWindow(window);
            return IsForeground(window);
        },
        5000);
}

namespace {

// 1 enabled, plus 2 checked; -1 no such item.
int MenuItemAnswer(Window main, int item) {
    static const UINT query = RegisterWindowMessageW(MenuStateQuery);
    return static_cast<int>(Ask(main, query, static_cast<WPARAM>(item), 0));
}

}  // namespace

int MenuItemState(Window main, int item) {
    const int answer = MenuItemAnswer(main, item);
    return answer < 0 ? answer : answer & 1;
}

bool MenuItemChecked(Window main, int item) {
    const int answer = MenuItemAnswer(main, item);
    return answer > 0 && (answer & 2) != 0;
}

FontInfo ControlFont(Window main, int control) {
    static const UINT query = RegisterWindowMessageW(FontInfoQuery);
    const LRESULT answer = Ask(main, query, static_cast<WPARAM>(control), 0, 0);
    return {LOWORD(answer), HIWORD(answer) != 0};
}

int TimesEnabled(Window main, int control) {
    static const UINT query = RegisterWindowMessageW(EnableCountQuery);
    return static_cast<int>(Ask(main, query, static_cast<WPARAM>(control), 0));
}

}  // namespace e2e
