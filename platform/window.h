// Window system: windows, controls, menus, fonts, images, boxes, dialogs and the event queue.
//
// Every window, control, menu item, font and image is named by its small fixed number; the
// numbers are unique across the program. Implemented by platform/win32/*.cpp (the product) and
// platform/headless/*.cpp (in memory, for tests). Only the main thread (the one that opens the
// windows) calls the functions here, except PostEvent: other threads post what is to be drawn and
// the main thread draws it. The headless platform counts every other call as a fault.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// [SECTION] Windows

enum class WindowStyle {
    Main,        // title bar with system menu and close box; no minimise, maximise or sizing
    Dialog,      // title bar with system menu and close box, fixed size
    Borderless,  // no frame, no title
};

enum class WindowPlacement {
    AtPosition,     // x, y are the logical screen position of the outer top-left corner
    CentreScreen,   // centred on the primary screen
    CentreOnOwner,  // centred on the owner window
};

struct WindowSpec {
    int x = 0;
    int y = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    std::string title;
    WindowStyle style = WindowStyle::Main;
    WindowPlacement placement = WindowPlacement::CentreScreen;
    int owner = -1;        // window number of the owner, -1 for none
    bool activate = true;  // false: shown without taking the foreground from another program
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Opens and shows a window under its number. Returns false if it could not be created.
bool OpenWindow(int window, const WindowSpec& shape);
// Closes (destroys) a window with all its controls.
void CloseWindow(int window);
bool IsWindowOpen(int window);
// Disabled windows take no mouse or keyboard input.
void SetWindowEnabled(int window, bool enabled);
bool IsWindowEnabled(int window);
// Always-on-top state (SetWindowPos with HWND_TOPMOST / HWND_NOTOPMOST, no move, no size).
void SetWindowTopmost(int window, bool topmost);
bool IsWindowTopmost(int window);
// Makes the window the active (foreground) window.
void ActivateWindow(int window);
// Outer window rectangle in logical screen pixels.
Rect WindowOuterRect(int window);

// [SECTION] Fonts and images

// Creates (or replaces) font `font` with the face and point size.
void CreateFont(int font, const char* face, int points, bool bold);
// Font given to every control created from now on.
void SetDefaultFont(int font);
// Loads a bitmap compiled into the program under its image number.
bool LoadImage(int image);
// Horizontal pixels per logical inch of the screen (GetDeviceCaps LOGPIXELSX).
int ScreenPixelsPerInchX();
// Width of the primary screen in logical pixels.
int ScreenWidth();

// [SECTION] Controls

enum class ControlKind {
    Text,          // static text, left-aligned
    TextCentred,   // static text, centred
    TextRight,     // static text, right-aligned
    Button,        // push button with a caption
    ImageButton,   // push button showing an image (ControlSpec::image)
    Frame,         // group box with a caption
    Container,     // plain child window that holds other controls
    DropDownList,  // combo box whose text cannot be typed
    Input,         // one-line edit
    DigitsInput,   // one-line edit that accepts only 0 to 9 when typed
    ListBox,       // single-selection list with a vertical scroll bar
    RichEdit,      // multi-line rich-edit text area
};

struct ControlSpec {
    ControlKind kind = ControlKind::Text;
    int parent = -1;  // window number or container control number
    int x = 0;        // in the parent's client area, logical pixels
    int y = 0;
    int width = 0;
    int height = 0;
    std::string text;     // caption or initial text
    int image = -1;       // image number for ImageButton
    int background = -1;  // 0xRRGGBB background of a static text; -1 for the window's own
};

// Creates a control under its number (the Win32 control ID is the number).
bool CreateControl(int control, const ControlSpec& shape);
bool ControlExists(int control);

void SetControlText(int control, std::string_view text);
// Caption or edit text. For a DropDownList or ListBox: the selected entry, or "" when none.
std::string ControlText(int control);
void SetControlEnabled(int control, bool enabled);
bool IsControlEnabled(int control);
void SetControlHidden(int control, bool hidden);
void SetControlFont(int control, int font);
void FocusControl(int control);
// Number of the control that has the keyboard focus, -1 when none of ours has it.
int FocusedControl();

// [SECTION] Entries of drop-down lists and list boxes

void ClearItems(int control);
void AddItem(int control, std::string_view text);
// Replaces all entries at once (faster than clearing and adding one by one).
void SetItems(int control, const std::vector<std::string>& texts);
int ItemCount(int control);
std::string ItemText(int control, int index);
// Index of the first entry equal to text, ignoring letter case; -1 when none matches.
int FindItemIgnoringCase(int control, std::string_view text);
// Selects entry index; -1 clears the selection.
void SelectItem(int control, int index);
// Selected entry index, -1 when none.
int SelectedItem(int control);

// [SECTION] Multi-line text areas (RichEdit)

// The lines of the text area, without line ends. An empty text area has one empty line.
std::vector<std::string> TextLines(int control);
// At most the first `characters` characters of one line (0-based), without its line end; "" for
// a line beyond the last. Reads that line alone (EM_GETLINE).
std::string TextLineStart(int control, int line, int characters);
// The number of lines; an empty text area has one.
int TextLineCount(int control);
// Replaces the whole text by the lines.
void SetTextLines(int control, const std::vector<std::string>& lines);
// Replaces the text of one line (0-based); a line beyond the last is appended.
void SetTextLine(int control, int line, std::string_view text);
// 0-based line that holds the start of the current selection (the caret when none).
int SelectionStartLine(int control);

// [SECTION] Menus

struct MenuItemSpec {
    int item = 0;  // command number; 0 makes a separator
    std::string text;
};

struct MenuTitleSpec {
    std::string title;
    std::vector<MenuItemSpec> items;
};

void CreateMenuBar(int window, const std::vector<MenuTitleSpec>& titles);
void SetMenuItemEnabled(int item, bool enabled);
bool IsMenuItemEnabled(int item);
// The check mark beside an item (CheckMenuItem); every item starts without one.
void SetMenuItemChecked(int item, bool checked);
bool IsMenuItemChecked(int item);

// [SECTION] Message boxes and file dialogs

// Every box and dialog stays open until the person closes it; meanwhile its modal loop hands the
// events queued to the program's handler (see Events).
// Modal box with one OK button; returns when it is closed. owner -1 gives a box without owner
// (a run's boxes, so that the main window's Stop and Pause stay usable).
void MessageBoxOk(int owner, std::string_view title, std::string_view text);
// Modal Yes/No question; true for Yes.
bool MessageBoxYesNo(int owner, std::string_view title, std::string_view text);

struct FileFilter {
    std::string display;  // "STEP file (*.stp)"
    std::string pattern;  // "*.stp"
};

// Common open and save dialogs (GetOpenFileNameW, GetSaveFileNameW); return the chosen full path
// (a path as files.h takes it), or "" when cancelled.
std::string OpenFileDialog(std::string_view title, const FileFilter& filter);
std::string SaveFileDialog(std::string_view title, const FileFilter& filter);
// The save dialog opened in `folder` (a path) with `name` offered in its file name box.
std::string SaveFileDialogIn(std::string_view title, const FileFilter& filter,
                             std::string_view folder, std::string_view name);

// [SECTION] Events

enum class EventKind {
    Control,          // a notification of control `source`
    Menu,             // menu item `source` chosen
    Close,            // close request of window `window`
    KeyDown,          // key `key` (virtual-key code) pressed while a window of ours has the focus
    LeftButtonUp,     // left mouse button released over a window of ours
    UserInputQueued,  // the input recorder queued the user's input (platform/recorder.h)
    Posted,           // posted by PostEvent; `source` says what, `value`, `value2`, `text` carry it
};

struct Event {
    EventKind kind = EventKind::Control;
    int window = -1;  // window the event belongs to
    int source = -1;  // control or menu item number
    int type = 0;     // notification type (not used by any handler)
    int key = 0;      // virtual-key code for KeyDown
    int value = 0;    // what a Posted event carries
    int value2 = 0;
    std::string text;
};

// Events are handed to the program's handler on the main thread, one at a time and in the order
// they were queued, by the message loop and inside every modal loop alike (a box's, a file
// dialog's), so that a handler runs while another one waits for its box to close. None is lost
// and none is handed over twice.
using EventHandler = void (*)(const Event& event);
// Registers the handler; main thread, before the first event is to be handled.
void SetEventHandler(EventHandler handler);
// Handles every window message and event already waiting; returns at once when none is left.
void HandlePendingEvents();
// Handles window messages and events as they come, until the process ends.
[[noreturn]] void RunMessageLoop();
// Queues a Posted event for the handler, from any thread; never waits.
void PostEvent(const Event& event);

}  // namespace platform
