// Drives a Win32 program from outside, as a user and a tester would: starts it, finds its windows
// and controls by number, reads and sets their state, answers its boxes and dialogs, and sends
// real mouse and key input. Every check prints "PASS name" or "FAIL name: expected X, saw Y";
// Finish() prints "N passed, N failed". Only the driver's .cpp files include windows.h.
#pragma once

#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

struct HWND__;

namespace e2e {

using Window = HWND__*;  // the HWND of a window or control

struct Box {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct Point {
    int x = 0;
    int y = 0;
};

struct FontInfo {
    int points = 0;
    bool bold = false;
};

// Buttons of message boxes and dialogs (the Win32 IDOK, IDCANCEL, IDYES, IDNO).
enum class Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

constexpr int DefaultTimeoutMs = 10000;

// [SECTION] Reporting

std::string Describe(const std::string& value);
std::string Describe(const char* value);
std::string Describe(bool value);
template <class T>
std::string Describe(const T& value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

// Counts and prints one check; returns ok.
bool Check(bool ok, std::string_view name, std::string_view expected, std::string_view seen);
template <class A, class B>
bool CheckEqual(std::string_view name, const A& expected, const B& seen) {
    return Check(expected == seen, name, Describe(expected), Describe(seen));
}
// Prints a line that is not a check (progress, context for the next failure).
void Note(std::string_view text);
// Prints "N passed, N failed"; returns the process exit code (0 when nothing failed).
int Finish();

// [SECTION] Options and paths

// Value of "--name=value" on the command line, or fallback.
std::string Option(int argc, char** argv, std::string_view name, std::string_view fallback = "");
// Path of the program under test: --program=..., else Quorvane.exe next to the test program or
// two folders above it (the build folder).
std::string ProgramPath(int argc, char** argv);
// Folder of this test program, ending in a backslash.
std::string OwnFolder();

// [SECTION] The program under test (one at a time)

bool Launch(const std::string& path, const std::string& arguments = "");
unsigned long LaunchedProcessId();
// Top-level visible window of the launched process with exactly this title.
Window WaitForWindow(std::string_view title, int timeoutMs = DefaultTimeoutMs);
bool HasExited();
// Waits for the launched process to end; false on time-out. exitCode gets its exit code.
bool WaitForExit(unsigned long& exitCode, int timeoutMs = DefaultTimeoutMs);
// Ends the launched process if it still runs, and forgets it.
void EndProgram();

// [SECTION] Waiting

// Polls condition until it holds or the time runs out.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = DefaultTimeoutMs);

// [SECTION] Windows and controls

// The control with this number anywhere inside window (controls sit inside containers).
Window FindControl(Window window, int number);
bool Exists(Window window);
Window ParentOf(Window window);
std::string Title(Window window);
std::string ClassName(Window window);
std::string Text(Window window);
// Selected entry of a drop-down list, "" when none; all entries of drop-down lists and list boxes.
std::string SelectedEntry(Window combo);
int SelectedIndex(Window combo);
std::vector<std::string> Entries(Window combo);
std::vector<std::string> ListEntries(Window list);
bool IsEnabled(Window window);
bool IsVisible(Window window);
// Position and size relative to the parent's client area.
Box PositionInParent(Window window);
Box ClientBox(Window window);
Box ScreenBox(Window window);
bool IsTopmost(Window window);
bool HasMinimizeBox(Window window);
bool HasMaximizeBox(Window window);
bool HasSizingBorder(Window window);
bool HasSystemMenu(Window window);
bool IsForeground(Window window);
// Horizontal pixels per logical inch of the screen, as this process sees it.
int ScreenPixelsPerInch();
// Brings window to the front with the keyboard focus; false if it does not get there.
bool Activate(Window window);

// [SECTION] Questions the program answers about itself

// 1 enabled, 0 disabled, -1 no such item (or no answer).
int MenuItemState(Window main, int item);
FontInfo ControlFont(Window main, int control);

// [SECTION] Acting on controls

void ClickButton(Window button);
// A real left click at the control's centre.
void ClickReal(Window control);
void ChooseMenuItem(Window main, int item);
// Selects an entry and tells the parent, as the user's choice would.
void PickEntry(Window combo, int index);
void SetText(Window control, std::string_view text);
// Focuses control and types text with real key presses.
void TypeInto(Window control, std::string_view text);
// Close box: WM_CLOSE, or SC_CLOSE through the system menu.
void RequestClose(Window window);
void SystemClose(Window window);

// [SECTION] Message boxes and file dialogs of the launched process

Window WaitForMessageBox(int timeoutMs = DefaultTimeoutMs);
// Any visible message box or dialog of the process now, nullptr when none.
Window OpenMessageBox();
std::string BoxText(Window box);
bool AnswerBox(Window box, Answer answer);

// [SECTION] Real input

Point CursorPosition();
// Moves the pointer as a user would (SetCursorPos plus an absolute move event).
void MoveMouse(int x, int y);
// Presses and releases a virtual key with synthesised input.
void PressKey(int virtualKey);
// Types text with synthesised key presses.
void TypeText(std::string_view text);
// Runs xdotool with the arguments (input arriving through the X server as a user's own).
bool Xdotool(std::string_view arguments, int timeoutMs = DefaultTimeoutMs);
// Runs a Unix shell command line (Wine starts Unix programs); its exit status, -1 if it did not
// run or did not end in time.
int RunUnix(std::string_view commandLine, int timeoutMs = DefaultTimeoutMs);

// [SECTION] Screenshots

// Saves what the screen shows of window (frame included) as a 24-bit BMP file.
bool SaveScreenshot(Window window, const std::string& bmpPath);

}  // namespace e2e

// [SECTION] Player tests: a second program, files, a fine clock, Unix shell and serial lines
// (tests/e2e/driver/Companion.cpp and SerialLine.cpp)

namespace e2e {

// Starts a second program beside the launched one (the target of the player's input).
bool LaunchCompanion(const std::string& path, const std::string& arguments = "");
// Ends the second program if it still runs, and forgets it.
void EndCompanion();
// Top-level visible window of any process with exactly this title; nullptr on time-out.
Window WaitForAnyWindow(std::string_view title, int timeoutMs = DefaultTimeoutMs);
// Ends the process that owns window (a program the test caused to start).
void EndProcessOf(Window window);
// The control that has the keyboard focus in window's thread, nullptr when none.
Window FocusedControl(Window window);

// Whole content of a file, "" when it cannot be read.
std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, std::string_view bytes);
// A fresh folder for the test's own files, ending in a backslash.
std::string ScratchFolder();

// Monotonic milliseconds with sub-millisecond resolution.
double NowMs();
// Polls condition every millisecond, for checks that measure time; false on time-out.
bool WaitUntilPrecise(const std::function<bool()>& condition, int timeoutMs = DefaultTimeoutMs);

// Starts a /bin/sh script (no double quotes in it) through Wine and returns at once.
bool StartShell(std::string_view script);
// Runs a /bin/sh script (no double quotes in it) through Wine; its exit code, -1 if it did not run.
int RunShell(std::string_view script, int timeoutMs = DefaultTimeoutMs);
// Milliseconds since 1970 from the system clock, comparable with `date +%s%3N` in a script.
double WallClockMs();
// The Windows path (drive Z:) of a Unix path.
std::string WindowsPathOf(std::string_view unixPath);

// A COM port of the Wine prefix linked to a pseudo-terminal; socat copies everything written to
// the port into a capture file.
struct SerialLine {
    std::string port;      // "COM5"
    std::string folder;    // Unix folder holding the links, the capture and socat's PID
    std::string terminal;  // Unix path of the pseudo-terminal the port is linked to
};
// Makes the line, presets the terminal with the stty arguments and links the port to it.
bool OpenSerialLine(std::string_view port, std::string_view sttyPreset, SerialLine& line);
// Stops socat by its PID and removes the port link.
void CloseSerialLine(const SerialLine& line);
// The bytes written to the port so far.
std::string SerialBytes(const SerialLine& line);
// What `stty -a -F` says about the terminal now.
std::string SerialSettings(const SerialLine& line);

}  // namespace e2e

// [SECTION] Popups, list-box picks, styles and settled screenshots (driver/Popups.cpp)

namespace e2e {

// Visible top-level window of the launched process that holds the control, nullptr when none.
Window OpenWindowWithControl(int control);
Window WaitForWindowWithControl(int control, int timeoutMs = DefaultTimeoutMs);
// Selects a list-box entry and tells the parent, as the user's click would.
void PickListEntry(Window list, int index);
bool HasCaption(Window window);
bool HasVerticalScrollBar(Window window);
// Repaints window, then saves it (as SaveScreenshot) once two captures in a row are the same.
bool SaveSettledScreenshot(Window window, const std::string& bmpPath,
                           int timeoutMs = DefaultTimeoutMs);

}  // namespace e2e

// [SECTION] Step files, text areas and notices (FilesAndText.cpp, added for files_e2e)

namespace e2e {

// Login name of the user running the tests (GetUserName), as programs write it into files.
std::string LoggedOnUser();
// Width of the primary screen in pixels.
int ScreenWidth();
// Window or control text as the system keeps it, read without sending a message.
std::string StoredText(Window window);
// Owner of a top-level window, nullptr when none.
Window OwnerOf(Window window);
// A popup window with neither caption nor border.
bool IsBorderlessPopup(Window window);
// Screen point inside the first character cell of 0-based line of a multi-line edit or rich-edit
// control, halfway down the line; {-1, -1} when there is no such line.
Point LinePoint(Window textArea, int line);
// A real left click at a screen point.
void ClickAt(Point point);
// Types path into the file name box of a common open or save dialog and presses its OK button;
// also finds the box inside the ComboBoxEx (0x47C) that Wine's Explorer-style dialog uses, and the
// OK button among the dialog's own children (its file list also carries the number 1).
bool ChooseFileInDialog(Window dialog, std::string_view path);

// Holds a file open without sharing, as another program that has it open would, until destroyed.
class HeldFile {
public:
    explicit HeldFile(const std::string& path);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool IsHeld() const;

private:
    void* handle_;
};

}  // namespace e2e
