// Test controls of the headless platform: inspect what the program did to its windows, controls
// and devices, and script what the user and the machine do. Only tests and benchmarks include
// this header; the program itself sees only the platform/*.h headers.
//
// Everything is thread-safe. Time is virtual: SleepMs advances the virtual clock at once and runs
// the actions scheduled for the times it passes, so timing is tested without real waiting.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/desktop.h"
#include "platform/pictures.h"
#include "platform/recorder.h"
#include "platform/serial.h"
#include "platform/system.h"
#include "platform/window.h"

namespace headless {

// Forgets every window, control, menu, font, box, event, scripted answer, file, serial device,
// input event, desktop window, monitor, pixel and scheduled action, and sets the defaults below.
// Defaults: user "tester"; local time 08.12.2026 09:30; virtual clock 0; cursor (0, 0);
// 96 pixels per inch; one monitor of 1920 x 1080, all black; US keyboard layout; no files; no
// serial devices; no command-line arguments; current folder "C:\Users\tester".
void Reset();

// [SECTION] Windows and controls

struct ControlState {
    bool exists = false;
    platform::ControlKind kind = platform::ControlKind::Text;
    int parent = -1;
    int x = 0, y = 0, width = 0, height = 0;
    std::string text;  // caption or edit text (not the selection of a list)
    bool enabled = true;
    bool hidden = false;
    int font = -1;  // font number, -1 for the system font
    int image = -1;
    std::vector<std::string> items;
    int selected = -1;
    std::vector<std::string> lines;  // RichEdit only
    int caretLine = 0;               // RichEdit only
};
ControlState Control(int control);
// True when the control and every container and window above it are shown.
bool IsControlVisible(int control);

struct WindowState {
    bool open = false;
    platform::WindowSpec shape;
    bool enabled = true;
    bool topmost = false;
    int openCount = 0;  // how often it was opened since Reset
};
WindowState Window(int window);
// The window that was last activated.
int ActiveWindow();

struct FontState {
    bool exists = false;
    std::string face;
    int points = 0;
    bool bold = false;
};
FontState Font(int font);
std::vector<int> LoadedImages();

bool MenuItemExists(int item);
std::vector<platform::MenuTitleSpec> MenuBar(int window);

// Acts as the user: types into an input (the text replaces the old one; a DigitsInput drops
// characters other than 0 to 9), picks an entry of a list, moves the caret of a text area, gives
// a control the keyboard focus. None of them queues an event; use PushEvent for that.
void UserTypes(int control, const std::string& text);
void UserSelects(int control, int index);
void UserMovesCaret(int control, int line);
void UserFocuses(int control);

// [SECTION] Events

void PushEvent(const platform::Event& event);
// The window, control, menu and box calls made from a thread other than the one that called
// Reset(): each is a fault, since only the main thread may draw.
std::vector<std::string> WrongThreadCalls();
// Number of events queued and not yet handed to the program's handler.
int PendingEvents();

// [SECTION] Message boxes and file dialogs

enum class BoxKind { Ok, YesNo, OpenFile, SaveFile };

struct ShownBox {
    BoxKind kind = BoxKind::Ok;
    int owner = -1;
    std::string title;
    std::string text;  // for file dialogs: the filter's display text and pattern, "|"-joined
    std::thread::id thread;
    bool mainWindowTopmost = false;  // state of window 53 while the box was open
    bool answer = false;             // Yes/No answer given
    std::string path;                // file dialog answer given
    std::string folder;              // the folder and the name a save dialog offered
    std::string name;
};
std::vector<ShownBox> Boxes();
void ClearBoxes();

// Answers for Yes/No questions and file dialogs, taken in order; when none is scripted a question
// is answered No and a dialog cancelled.
void ScriptYesNo(bool yes);
void ScriptFileDialog(const std::string& path);  // "" cancels
// Runs while a box is open (before it returns), on the thread that shows it.
void OnBoxShown(std::function<void(const ShownBox&)> action);
// A box closes when the test closes it: once OnBoxShown's action has run, with its scripted
// answer. After KeepBoxesOpenUntil(condition), each box shown on the main thread stays open after
// the action, and its modal loop hands the events queued meanwhile to the program's handler, as
// on Win32, until condition(box) holds (asked on that thread after every turn, at least every
// millisecond; a box gives up after 60 s). nullptr: boxes close after their action again.
void KeepBoxesOpenUntil(std::function<bool(const ShownBox&)> closeWhen);

// [SECTION] Time

int64_t VirtualMicroseconds();
// Runs action once, on the sleeping thread, when the virtual clock reaches the time.
void ScheduleAt(int64_t virtualMicroseconds, std::function<void()> action);
// Adds to the virtual clock without sleeping (time that work takes).
void AdvanceClock(int64_t microseconds);
void SetUserName(const std::string& name);
void SetLocalTime(const platform::LocalTime& time);
void SetScreenPixelsPerInch(int dpi);

// [SECTION] Input

enum class InputKind { CursorMove, Mouse, Key, Unicode };

struct InputEvent {
    InputKind kind = InputKind::Key;
    int x = 0, y = 0;        // CursorMove
    uint32_t flags = 0;      // Mouse: mouse_event flags
    uint8_t key = 0;         // Key: virtual key
    bool up = false;         // Key, Unicode
    uint16_t codePoint = 0;  // Unicode
    uint8_t scanCode = 0;    // Key
    bool extended = false;   // Key: KEYEVENTF_EXTENDEDKEY
    bool operator==(const InputEvent&) const = default;
};
std::vector<InputEvent> InputLog();
void ClearInputLog();
void SetCursor(int x, int y);
// Runs action once, on the thread that sends the input, as soon as the input log holds `count`
// events (the user acts in the middle of a long text).
void AfterInputEvents(size_t count, std::function<void()> action);
// The user presses Escape on the real keyboard (seen by the Escape watch).
void UserPressesEscape();

enum class KeyboardLayout { US, German };
void SetKeyboardLayout(KeyboardLayout layout);

// The user's own input as the input recorder's hooks see it: queued while the recorder runs (with
// the event UserInputQueued when the queue was empty), dropped otherwise. The system's click
// metrics are the defaults of platform::ClickMetrics.
void UserInputs(const std::vector<platform::UserInput>& inputs);
bool InputRecorderRunning();

// [SECTION] Files (an in-memory file system; paths are compared as texts)

void PutFile(const std::string& path, const std::string& bytes);
bool GetFile(const std::string& path, std::string& bytes);
std::vector<std::string> FilePaths();  // ordinary files only
void MakeFolder(const std::string& path);
// A path the system opens as a device (a port, NUL, "com5.stp"): it exists, and a program that
// read it anyway would get `bytes`; the file reads refuse it.
void PutDevice(const std::string& path, const std::string& bytes);
// How often the device at the path was opened, also only to be refused or to be looked at
// (FileExists): a port's lines toggle at each opening, which resets some boards.
int DeviceOpens(const std::string& path);
// A read-only file can be read but not opened for writing or replaced, and one made read-only
// while it is open takes no more writes (as a file made immutable, or one on a drive that is
// gone); a read-only folder takes no new files.
void SetReadOnly(const std::string& path, bool readOnly);
// The disk holds only this many more bytes; a write that does not fit fails. -1: no limit.
void SetFreeBytes(int64_t bytes);

// [SECTION] Serial devices

struct SerialDevice {
    bool exists = false;
    bool inUse = false;               // opening it fails
    bool refuseSettings = false;      // WriteSettings fails
    platform::PortSettings settings;  // as last written (starts at 1200 7E2 with RTS on)
    platform::PortTimeouts timeouts;
    uint32_t inputQueue = 0, outputQueue = 0;
    std::string written;   // every byte written, in order
    std::string incoming;  // bytes the device sent that the program has not read yet
    int opens = 0;
    bool open = false;
    bool unplugged = false;  // the adapter is gone: opening fails, and so does every call on a
                             // port opened before (closing aside)
};
void AddSerialDevice(const std::string& portName);
void SetSerialDevice(const std::string& portName, const SerialDevice& device);
SerialDevice GetSerialDevice(const std::string& portName);
// The device sends bytes to the program; a closed port loses them, as a real line does, and so
// does an open one whose input queue (SetQueues) is full.
void DeviceSends(const std::string& portName, const std::string& bytes);
// Pulls the adapter out (or plugs it back in), keeping what was set on it.
void SetSerialDeviceUnplugged(const std::string& portName, bool unplugged);
// [SECTION] The desktop: top-level windows, the screen's pixels, picture files

// A top-level window on the desktop. The desktop functions (platform/desktop.h) act on these as
// Windows would: bringing one to the front restores it when minimised, raises it to the top of the
// z-order (below the always-on-top windows) and makes it the only foreground window; minimising
// parks it at (-32000, -32000) and gives the foreground to the next visible window that is not
// minimised; maximising lays it over the 1920 x 1080 screen and activates it; restoring puts it
// back where it was and activates it; moving and sizing change its rectangle (not a minimised
// one's); closing takes it away.
struct DesktopWindow {
    std::string title;
    platform::Rect rect;  // the outer rectangle, where TopLevelAt and TopLevelTitleAt find it
    bool visible = true;
    bool foreground = false;
    platform::TopLevelId id = 0;  // 0: SetDesktopWindows gives it one never given before
    // The client area's top-left corner, counted from the outer one.
    int clientLeft = 0;
    int clientTop = 0;
    // Set with `rect` its normal place: SetDesktopWindows parks or spreads it as Windows would.
    bool minimised = false;
    bool maximised = false;
    bool own = false;  // one of the program's own windows: never listed by OtherTopLevels
    // Always on top (as the program's main window): the others are raised only up to below it.
    bool topmost = false;
    // A hung program: every action is logged and changes nothing.
    bool ignoresActions = false;
    // The least outer size the system lets it have (its frame and caption need room).
    int leastWidth = 0;
    int leastHeight = 0;
    platform::Rect restored;  // where Restore puts it; kept by the desktop
};
// Replaces the top-level windows, topmost first. Default: none.
void SetDesktopWindows(const std::vector<DesktopWindow>& windows);
// The windows as they are now, topmost first.
std::vector<DesktopWindow> DesktopWindows();

enum class TopLevelActionKind { BringToFront, Move, Size, Minimise, Maximise, Restore, Close };
struct TopLevelAction {
    TopLevelActionKind kind = TopLevelActionKind::BringToFront;
    platform::TopLevelId window = 0;
    int x = 0, y = 0;  // Move: the point; Size: width and height
    bool operator==(const TopLevelAction&) const = default;
};
// Every action asked of a top-level window since Reset, in order, also those that changed
// nothing.
std::vector<TopLevelAction> TopLevelActions();

// The monitors, each with its physical and logical rectangle (platform/ScreenSpace.h); the screen
// turns black. Default: one monitor of 1920 x 1080 at (0, 0), logical as physical.
void SetMonitors(const std::vector<platform::MonitorSpace>& monitors);
// Sets the pixel (0xRRGGBB) at a point of Quorvane's logical space, as ScreenPixel reads it: on
// the monitor that holds it, at the physical pixel the point scales to. Every screen pixel is
// black until set; a point off every monitor is ignored, and ScreenPixel finds none there.
void SetScreenPixel(int x, int y, uint32_t rgb);
// Paints a picture onto the screen with its top-left pixel at a physical desktop point: a pixel
// with alpha 0 leaves the screen as it was, the others replace it; what falls off every monitor
// is dropped. CaptureScreen sees what was painted.
void PaintScreen(int left, int top, const platform::Picture& picture);
// CaptureScreen fails while the screen is locked (as on a locked workstation).
void SetScreenLocked(bool locked);
// The processor time each capture costs the capturing thread (ThreadCpuMicroseconds); 0 at
// first. The virtual clock does not move for it.
void SetCaptureCost(int64_t microseconds);
// How many captures were made since Reset.
int CaptureCount();
// What ChooseScreenRectangle returns next, in order: the rectangle the user drags out (physical
// desktop pixels), or std::nullopt for Escape. Unscripted, the user presses Escape.
void ScriptScreenRectangle(std::optional<platform::ScreenRect> chosen);
// Each time the screen was frozen: the capture it showed, as its size and desktop position.
struct FrozenScreen {
    int width = 0, height = 0;
    int left = 0, top = 0;
    std::thread::id thread;
};
std::vector<FrozenScreen> FrozenScreens();
// Puts a picture file under the path, as EncodePng writes it and ReadPicture reads it.
void PutPicture(const std::string& path, const platform::Picture& picture);

// [SECTION] Shell and process

std::vector<std::string> ShellOpened();
// What CommandLineArguments returns: the arguments after the program's name.
void SetCommandLineArguments(const std::vector<std::string>& arguments);
// The folder FullPath takes a relative path from. A path with a drive ("C:\x") or from a root
// ("\x", "/x") stays as it is; "." and ".." are not folded.
void SetCurrentFolder(const std::string& folder);
// ExitProcessNow ends the test process with std::_Exit: test it with a death test (EXPECT_EXIT).

}  // namespace headless
