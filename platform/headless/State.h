// The whole in-memory machine of the headless platform, behind one mutex.
//
// Every function of platform/headless/*.cpp takes Lock() before it touches Shared(), and lets go
// of it before it calls anything a test supplied (box actions, scheduled actions) and while it
// waits for an event.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/ScreenSpace.h"
#include "platform/desktop.h"
#include "platform/headless/headless.h"
#include "platform/recorder.h"
#include "platform/serial.h"
#include "platform/system.h"
#include "platform/window.h"

namespace headless_state {

struct ControlRecord {
    headless::ControlState state;
    // Lower-case entry text -> index of its first entry, so that a search in a long list is O(1).
    std::unordered_map<std::string, int> firstIndexByLowerText;
};

struct FileRecord {
    bool folder = false;
    bool device = false;  // what the system opens as a device under this path (a port, NUL)
    int opens = 0;        // a device's: how often something opened it
    bool readOnly = false;
    std::string bytes;
};

struct State {
    // Windows, controls, menus, fonts, images
    std::map<int, headless::WindowState> windows;
    std::map<int, ControlRecord> controls;
    std::map<int, headless::FontState> fonts;
    std::map<int, std::vector<platform::MenuTitleSpec>> menuBars;  // by window
    std::map<int, bool> menuItemsEnabled;  // by item, for every item of every bar
    std::map<int, bool> menuItemsChecked;  // likewise
    std::vector<int> loadedImages;
    int defaultFont = -1;
    int activeWindow = -1;
    int focusedControl = -1;
    int pixelsPerInch = 96;

    // Boxes and events
    std::vector<headless::ShownBox> boxes;
    std::deque<bool> scriptedYesNo;
    std::deque<std::string> scriptedPaths;
    std::function<void(const headless::ShownBox&)> onBoxShown;
    // nothing: a box closes once its action has run
    std::function<bool(const headless::ShownBox&)> closeBoxesWhen;
    std::deque<platform::Event> events;
    platform::EventHandler eventHandler = nullptr;

    // Time and user
    int64_t clock = 0;
    // By time; actions of the same time stay in the order they were scheduled.
    std::multimap<int64_t, std::function<void()>> scheduled;
    std::string userName = "tester";
    platform::LocalTime localTime{2026, 12, 8, 9, 30};

    // Input
    std::vector<headless::InputEvent> inputLog;
    struct {
        size_t count = 0;
        std::function<void()> action;
    } inputWatch;
    int cursorX = 0;
    int cursorY = 0;
    bool userEscape = false;
    headless::KeyboardLayout layout = headless::KeyboardLayout::US;
    bool recorderRunning = false;
    std::vector<platform::UserInput> recordedInput;  // queued while the recorder runs

    // Files; open output files by handle
    std::map<std::string, FileRecord> files;
    int64_t freeBytes = -1;
    std::map<intptr_t, std::string> openOutputFiles;  // path by handle

    // Serial devices; open ports by handle
    std::map<std::string, headless::SerialDevice> serialDevices;
    std::map<intptr_t, std::string> openPorts;  // port name by handle

    std::vector<std::string> shellOpened;
    // Top-level windows, topmost first, and the screen
    std::vector<headless::DesktopWindow> desktopWindows;
    std::vector<headless::TopLevelAction> topLevelActions;
    std::vector<platform::MonitorSpace> monitors = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1080}}};
    // The physical pixels of the monitors' bounding rectangle, row after row; made black at
    // first use (ScreenPixels).
    std::vector<uint32_t> screen;
    bool screenLocked = false;
    int64_t captureCost = 0;  // processor time a capture costs its thread, in microseconds
    int captures = 0;
    std::deque<std::optional<platform::ScreenRect>> scriptedRectangles;
    std::vector<headless::FrozenScreen> frozenScreens;

    // Process
    // The thread that reset the platform: the only one that may call the window functions.
    std::thread::id mainThread = std::this_thread::get_id();
    std::vector<std::string> wrongThreadCalls;
    std::vector<std::string> commandLine;
    std::string currentFolder = "C:\\Users\\tester";
};

// The screen the windows lie on.
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

// platform::TopLevelAt with Lock() held: the visible window that is not minimised nearest the top
// at the point.
bool DesktopWindowAt(int x, int y, platform::TopLevelAtPoint& found);

// Notes `call` as a fault when the calling thread is not the main thread; with Lock() held.
void NoteCaller(const char* call);

// The bounding rectangle of the monitors' physical rectangles; with Lock() held.
platform::ScreenRect ScreenBounds();
// The screen's pixels (State::screen), made when first needed: opaque black on the monitors,
// 0 off them; with Lock() held.
std::vector<uint32_t>& ScreenPixels();
// The screen pixel at a physical desktop point; nullptr off every monitor. With Lock() held.
uint32_t* ScreenPixelAt(int x, int y);

// The processor time the calling thread has used: what its captures cost (State::captureCost).
int64_t& CallerThreadCpu();

// The lock that guards Shared().
[[nodiscard]] std::unique_lock<std::mutex> Lock();
State& Shared();
// Notified whenever an event is queued.
std::condition_variable& EventQueued();

// Enters `name` under a handle never given out before, not even before a Reset, so that a port or
// file left open by an earlier test cannot reach one of a later test.
intptr_t OpenHandle(std::map<intptr_t, std::string>& table, const std::string& name);
// The name under a handle, or nullptr for a closed or unknown handle.
const std::string* HandleName(const std::map<intptr_t, std::string>& table, intptr_t handle);

}  // namespace headless_state
