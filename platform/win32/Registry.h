// What platform/win32 knows about the program's windows, controls, fonts, images and menus, by
// number, behind one mutex.
//
// Rule: take Lock() only to read or change the registry, and let go of it before any call that
// may send a window message (SendMessage, SetWindowText, EnableWindow, ...): such a call can run
// a window procedure of ours on this thread, and that one takes the lock too.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/win32/WinApi.h"
#include "platform/window.h"

namespace win32 {

struct GdiDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiDeleter>;

struct WindowRecord {
    HWND hwnd = nullptr;
    platform::WindowSpec shape;
    HMENU menuBar = nullptr;
};

struct ControlRecord {
    HWND hwnd = nullptr;
    platform::ControlKind kind = platform::ControlKind::Text;
    int window = -1;  // the top-level window it lies in, at any depth
    int font = -1;
    GdiObject<HBRUSH> background;
    COLORREF backgroundColour = 0;
    // How often it went from disabled to enabled: the EnableCountQuery of TestQueries.h, by which
    // a test sees a state that came and went between two of its looks (a run of one click).
    int timesEnabled = 0;
};

struct FontRecord {
    GdiObject<HFONT> handle;
    int points = 0;
    bool bold = false;
};

struct Registry {
    std::map<int, WindowRecord> windows;
    std::map<int, ControlRecord> controls;
    std::map<int, FontRecord> fonts;
    // Fonts that were replaced while controls still used them.
    std::vector<GdiObject<HFONT>> retiredFonts;
    std::map<int, GdiObject<HBITMAP>> images;
    std::map<int, int> menuItemWindow;  // menu item -> window whose bar holds it
    int defaultFont = -1;
    DWORD guiThread = 0;  // the thread that opens the windows and runs the event loop
    // The event queue, handed to `handler` by the message-only window `eventWindow` when it gets
    // kDeliverEvents; `deliveryPosted` while such a message is on its way.
    std::deque<platform::Event> events;
    platform::EventHandler handler = nullptr;
    HWND eventWindow = nullptr;
    bool deliveryPosted = false;
};

std::unique_lock<std::mutex> Lock();
Registry& Shared();  // only while Lock() is held

// Handles by number; nullptr when there is none. Each takes the lock itself.
HWND WindowHandle(int window);
HWND ControlHandle(int control);
// The window of that number, or else the control of that number.
HWND WindowOrControlHandle(int number);
HMENU MenuBarOfItem(int item);
// The state of a menu item: MenuItemEnabled and MenuItemChecked when they hold, 0 for neither;
// -1 for no such item (the answer to the MenuStateQuery of TestQueries.h).
constexpr int MenuItemEnabled = 1;
constexpr int MenuItemChecked = 2;
int MenuItemState(int item);
HFONT FontHandle(int font);
// Adds one to the control's timesEnabled.
void CountEnabling(int control);
HBITMAP ImageHandle(int image);

// Number of our top-level window that is `hwnd` or holds it; -1 when it is not ours.
int RootWindowNumber(HWND hwnd);
struct ControlIdentity {
    int number = -1;
    platform::ControlKind kind = platform::ControlKind::Text;
    int window = -1;
};
// The control record whose handle is `hwnd`.
std::optional<ControlIdentity> IdentifyControl(HWND hwnd);

bool IsRichEdit(int control);

// Queues an event for the program's handler (events.cpp), from any thread.
void PushEvent(const platform::Event& event);

// Answers the test-only queries of TestQueries.h (TestQueries.cpp); false for any other message.
bool AnswerTestQuery(UINT message, WPARAM wParam, LRESULT& answer);

// The procedure of our top-level and container windows (events.cpp).
LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Asks the GUI thread to give `control` the keyboard focus (SetFocus works only there).
constexpr UINT kFocusRequest = WM_APP + 1;
// Posted to the message-only event window: hand the queued events to the handler.
constexpr UINT kDeliverEvents = WM_APP + 2;

constexpr char kWindowClass[] = "QuorvaneWindow";
constexpr char kContainerClass[] = "QuorvaneContainer";
// Registers both classes and the common controls once.
void EnsureWindowClasses();

}  // namespace win32
