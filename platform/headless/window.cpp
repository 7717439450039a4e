// [SECTION] Windows, fonts, images and menus of the headless window system.

#include <set>

#include "platform/headless/State.h"

namespace {

using headless_state::Lock;
using headless_state::Shared;

using headless_state::kScreenHeight;
using headless_state::kScreenWidth;
// A fixed frame as Windows draws it for the framed styles.
constexpr int kFrameBorder = 3;
constexpr int kCaptionHeight = 22;
constexpr int kMenuBarHeight = 20;
constexpr int kFirstImage = 90;
constexpr int kLastImage = 100;

headless::WindowState* OpenWindowRecord(int window) {
    auto found = Shared().windows.find(window);
    return found != Shared().windows.end() && found->second.open ? &found->second : nullptr;
}

platform::Rect OuterRect(int window, int depth = 0) {
    const headless::WindowState* record = OpenWindowRecord(window);
    if (record == nullptr || depth > 8) {
        return {};
    }
    const platform::WindowSpec& shape = record->shape;
    int width = shape.clientWidth;
    int height = shape.clientHeight;
    if (shape.style != platform::WindowStyle::Borderless) {
        width += 2 * kFrameBorder;
        height += 2 * kFrameBorder + kCaptionHeight;
    }
    if (Shared().menuBars.contains(window)) {
        height += kMenuBarHeight;
    }
    platform::Rect around{0, 0, kScreenWidth, kScreenHeight};
    if (shape.placement == platform::WindowPlacement::CentreOnOwner &&
        OpenWindowRecord(shape.owner) != nullptr) {
        around = OuterRect(shape.owner, depth + 1);
    }
    int left = shape.x;
    int top = shape.y;
    if (shape.placement != platform::WindowPlacement::AtPosition) {
        left = (around.left + around.right - width) / 2;
        top = (around.top + around.bottom - height) / 2;
    }
    return {left, top, left + width, top + height};
}

// The window and every control inside it, at any depth.
std::set<int> WindowAndContents(int window) {
    std::set<int> doomed{window};
    bool grew = true;
    while (grew) {
        grew = false;
        for (const auto& [number, control] : Shared().controls) {
            if (!doomed.contains(number) && doomed.contains(control.state.parent)) {
                doomed.insert(number);
                grew = true;
            }
        }
    }
    return doomed;
}

void RemoveMenuBar(int window) {
    auto bar = Shared().menuBars.find(window);
    if (bar == Shared().menuBars.end()) {
        return;
    }
    for (const auto& title : bar->second) {
        for (const auto& item : title.items) {
            Shared().menuItemsEnabled.erase(item.item);
            Shared().menuItemsChecked.erase(item.item);
        }
    }
    Shared().menuBars.erase(bar);
}

}  // namespace

namespace platform {

// [SECTION] Windows

bool OpenWindow(int window, const WindowSpec& shape) {
    const auto lock = Lock();
    headless_state::NoteCaller("OpenWindow");
    headless::WindowState& record = Shared().windows[window];
    if (record.open) {
        return false;
    }
    record.open = true;
    record.shape = shape;
    record.enabled = true;
    record.topmost = false;
    ++record.openCount;
    if (shape.activate) {
        Shared().activeWindow = window;
    }
    return true;
}

void CloseWindow(int window) {
    const auto lock = Lock();
    headless_state::NoteCaller("CloseWindow");
    headless::WindowState* record = OpenWindowRecord(window);
    if (record == nullptr) {
        return;
    }
    record->open = false;
    for (int number : WindowAndContents(window)) {
        Shared().controls.erase(number);
        if (Shared().focusedControl == number) {
            Shared().focusedControl = -1;
        }
    }
    RemoveMenuBar(window);
    // Which window Windows activates next is its own choice; the program says so explicitly.
    if (Shared().activeWindow == window) {
        Shared().activeWindow = -1;
    }
}

bool IsWindowOpen(int window) {
    const auto lock = Lock();
    return OpenWindowRecord(window) != nullptr;
}

void SetWindowEnabled(int window, bool enabled) {
    const auto lock = Lock();
    headless_state::NoteCaller("SetWindowEnabled");
    if (headless::WindowState* record = OpenWindowRecord(window)) {
        record->enabled = enabled;
    }
}

bool IsWindowEnabled(int window) {
    const auto lock = Lock();
    const headless::WindowState* record = OpenWindowRecord(window);
    return record != nullptr && record->enabled;
}

void SetWindowTopmost(int window, bool topmost) {
    const auto lock = Lock();
    headless_state::NoteCaller("SetWindowTopmost");
    if (headless::WindowState* record = OpenWindowRecord(window)) {
        record->topmost = topmost;
    }
}

bool IsWindowTopmost(int window) {
    const auto lock = Lock();
    const headless::WindowState* record = OpenWindowRecord(window);
    return record != nullptr && record->topmost;
}

void ActivateWindow(int window) {
    const auto lock = Lock();
    headless_state::NoteCaller("ActivateWindow");
    if (OpenWindowRecord(window) != nullptr) {
        Shared().activeWindow = window;
    }
}

Rect WindowOuterRect(int window) {
    const auto lock = Lock();
    return OuterRect(window);
}

// [SECTION] Fonts and images

void CreateFont(int font, const char* face, int points, bool bold) {
    const auto lock = Lock();
    Shared().fonts[font] = headless::FontState{true, face != nullptr ? face : "", points, bold};
}

void SetDefaultFont(int font) {
    const auto lock = Lock();
    Shared().defaultFont = font;
}

bool LoadImage(int image) {
    if (image < kFirstImage || image > kLastImage) {
        return false;
    }
    const auto lock = Lock();
    Shared().loadedImages.push_back(image);
    return true;
}

int ScreenPixelsPerInchX() {
    const auto lock = Lock();
    return Shared().pixelsPerInch;
}

int ScreenWidth() {
    return kScreenWidth;
}

// [SECTION] Menus

void CreateMenuBar(int window, const std::vector<MenuTitleSpec>& titles) {
    const auto lock = Lock();
    RemoveMenuBar(window);
    Shared().menuBars[window] = titles;
    for (const auto& title : titles) {
        for (const auto& item : title.items) {
            if (item.item != 0) {
                Shared().menuItemsEnabled[item.item] = true;
                Shared().menuItemsChecked[item.item] = false;
            }
        }
    }
}

void SetMenuItemEnabled(int item, bool enabled) {
    const auto lock = Lock();
    headless_state::NoteCaller("SetMenuItemEnabled");
    auto found = Shared().menuItemsEnabled.find(item);
    if (found != Shared().menuItemsEnabled.end()) {
        found->second = enabled;
    }
}

bool IsMenuItemEnabled(int item) {
    const auto lock = Lock();
    auto found = Shared().menuItemsEnabled.find(item);
    return found != Shared().menuItemsEnabled.end() && found->second;
}

void SetMenuItemChecked(int item, bool checked) {
    const auto lock = Lock();
    headless_state::NoteCaller("SetMenuItemChecked");
    auto found = Shared().menuItemsChecked.find(item);
    if (found != Shared().menuItemsChecked.end()) {
        found->second = checked;
    }
}

bool IsMenuItemChecked(int item) {
    const auto lock = Lock();
    auto found = Shared().menuItemsChecked.find(item);
    return found != Shared().menuItemsChecked.end() && found->second;
}

}  // namespace platform

namespace headless {

WindowState Window(int window) {
    const auto lock = Lock();
    auto found = Shared().windows.find(window);
    return found != Shared().windows.end() ? found->second : WindowState{};
}

int ActiveWindow() {
    const auto lock = Lock();
    return Shared().activeWindow;
}

FontState Font(int font) {
    const auto lock = Lock();
    auto found = Shared().fonts.find(font);
    return found != Shared().fonts.end() ? found->second : FontState{};
}

std::vector<int> LoadedImages() {
    const auto lock = Lock();
    return Shared().loadedImages;
}

bool MenuItemExists(int item) {
    const auto lock = Lock();
    return Shared().menuItemsEnabled.contains(item);
}

std::vector<platform::MenuTitleSpec> MenuBar(int window) {
    const auto lock = Lock();
    auto found = Shared().menuBars.find(window);
    return found != Shared().menuBars.end() ? found->second
                                            : std::vector<platform::MenuTitleSpec>{};
}

void SetScreenPixelsPerInch(int dpi) {
    const auto lock = Lock();
    Shared().pixelsPerInch = dpi;
}

}  // namespace headless
