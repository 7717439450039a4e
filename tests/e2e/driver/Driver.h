// Drives a Win32 program from outside, as a user and a tester would: starts it, finds its windows
// and controls by number, reads and sets their state, answers its boxes and dialogs, and sends
// real mouse and key input. Every check prints "PASS name" or "FAIL name: expected X, saw Y";
// Finish() prints "N passed, N failed". Only the driver's .cpp files include windows.h.
//
// [SECTION] Index (each section is one source file of tests/e2e/driver/)
//   Reporting and options       Report.cpp
//   Waiting and clocks          Waiting.cpp
//   Processes                   Processes.cpp   (the program under test, other programs)
//   Top-level windows           Windows.cpp
//   Controls                    Controls.cpp    (finding, reading, questions to the program)
//   Acting on controls          Actions.cpp
//   Boxes and file dialogs      Boxes.cpp
//   Real input                  Input.cpp
//   Files                       Files.cpp
//   Unix shell                  UnixShell.cpp
//   Serial lines                SerialLine.cpp
//   Screenshots                 Screenshot.cpp
//   The target program          TargetProgram.cpp
//   Step files and runs         StepFiles.cpp
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
    bool operator==(const Box&) const = default;
};

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct FontInfo {
    int points = 0;
    bool bold = false;
};

// Buttons of message boxes and dialogs (the Win32 IDOK, IDCANCEL, IDYES, IDNO).
enum class Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

constexpr int DefaultTimeoutMs = 10000;
// How long a program may take from its start to its first window (Wine loads fonts then).
constexpr int StartTimeoutMs = 30000;

// [SECTION] Reporting and options

std::string Describe(const std::string& value);
std::string Describe(const char* value);
std::string Describe(bool value);
std::string Describe(const Box& box);      // "x,y widthxheight"
std::string Describe(const Point& point);  // "x y"
template <class T>
std::string Describe(const T& value) {
    std::ostringstream text;
    text << value;
    return text.str();
}
// "what number", for check names of table rows.
std::string Numbered(std::string_view what, int number);
// The texts with separator between them, for checks on lists.
template <class Texts>
std::string Join(const Texts& texts, std::string_view separator) {
    std::string joined;
    bool first = true;
    for (const std::string& text : texts) {
        joined += (first ? "" : std::string(separator)) + text;
        first = false;
    }
    return joined;
}

// Counts and prints one check; returns ok.
bool Check(bool ok, std::string_view name, std::string_view expected, std::string_view seen);
template <class A, class B>
bool CheckEqual(std::string_view name, const A& expected, const B& seen) {
    return Check(expected == seen, name, Describe(expected), Describe(seen));
}
// Prints a line that is not a check (progress, context for the next failure).
void Note(std::string_view text);
// Ends the program under test, prints "N passed, N failed"; returns the process exit code (0 when
// nothing failed).
int Finish();

// Value of "--name=value" on the command line, or fallback.
std::string Option(int argc, char** argv, std::string_view name, std::string_view fallback = "");
// Path of the program under test: --program=..., else Quorvane.exe next to the test program or
// two folders above it (the build folder).
std::string ProgramPath(int argc, char** argv);
// Folder of this test program, ending in a backslash.
std::string OwnFolder();

// [SECTION] Waiting and clocks

// Polls condition until it holds or the time runs out.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = DefaultTimeoutMs);
// Polls condition every millisecond, for checks that measure time; false on time-out.
bool WaitUntilPrecise(const std::function<bool()>& condition, int timeoutMs = DefaultTimeoutMs);
// Monotonic milliseconds with sub-millisecond resolution.
double NowMs();
// Milliseconds since 1970 from the system clock, comparable with `date +%s%3N` in a script.
double WallClockMs();

// [SECTION] Processes

// A program the test started; ended, if it still runs, when started again or destroyed.
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts path with the arguments; false (and a note saying why) when it did not start.
    bool Start(const std::string& path, const std::string& arguments = "");
    unsigned long Id() const;
    bool HasExited() const;
    // Waits for the process to end; false on time-out. exitCode gets its exit code.
    bool WaitForExit(unsigned long& exitCode, int timeoutMs = DefaultTimeoutMs) const;
    void End();

private:
    void* process_ = nullptr;
    void* thread_ = nullptr;
    unsigned long id_ = 0;
};

// The program under test: one at a time; its windows, boxes and dialogs are the ones found below.
bool Launch(const std::string& path, const std::string& arguments = "");
// Launches ProgramPath() and waits for its main window titled "Quorvane", checking both
// ("Quorvane.exe starts", "main window shows"); the window, or nullptr when either failed.
Window LaunchProgramUnderTest(int argc, char** argv);
unsigned long LaunchedProcessId();
bool HasExited();
bool WaitForExit(unsigned long& exitCode, int timeoutMs = DefaultTimeoutMs);
// Ends the launched process if it still runs, and forgets it.
void EndProgram();
// Closes window with its close box (through the system menu) and checks that the program under
// test then ends with exit code 0.
void CheckCloseBoxEndsProgram(Window window);
// Ends the process that owns window (a program the test caused to start).
void EndProcessOf(Window window);

// [SECTION] Top-level windows

// Visible top-level window of the launched process with exactly this title; nullptr on time-out
// or when the process has ended.
Window WaitForWindow(std::string_view title, int timeoutMs = DefaultTimeoutMs);
// Visible top-level window of any process with exactly this title; nullptr on time-out.
Window WaitForAnyWindow(std::string_view title, int timeoutMs = DefaultTimeoutMs);
// Visible top-level window of the launched process that holds the control, nullptr when none.
Window OpenWindowWithControl(int control);
Window WaitForWindowWithControl(int control, int timeoutMs = DefaultTimeoutMs);
// Visible top-level window of the launched process of this window class; nullptr on time-out.
Window WaitForWindowOfClass(std::string_view className, int timeoutMs = DefaultTimeoutMs);

// [SECTION] Controls

// The control with this number anywhere inside window (controls sit inside containers).
Window FindControl(Window window, int number);
bool Exists(Window window);
Window ParentOf(Window window);
// Owner of a top-level window, nullptr when none.
Window OwnerOf(Window window);
std::string Title(Window window);
std::string ClassName(Window window);
std::string Text(Window window);
// Window or control text as the system keeps it, read without sending a message (for windows
// whose thread is busy or asleep).
std::string StoredText(Window window);
// Selected entry of a drop-down list, "" when none; all entries of drop-down lists and list boxes.
std::string SelectedEntry(Window combo);
int SelectedIndex(Window combo);
std::vector<std::string> Entries(Window combo);
std::vector<std::string> ListEntries(Window list);
bool IsEnabled(Window window);
bool IsVisible(Window window);
// The control that has the keyboard focus in window's thread, nullptr when none.
Window FocusedControl(Window window);
// Position and size relative to the parent's client area.
Box PositionInParent(Window window);
Box ClientBox(Window window);
// The outer rectangle on the screen, frame included (GetWindowRect).
Box ScreenBox(Window window);
// The screen point of the client area's top-left corner.
Point ClientOrigin(Window window);
// Screen point inside the first character cell of 0-based line of a multi-line edit or rich-edit
// control, halfway down the line; {-1, -1} when there is no such line.
Point LinePoint(Window textArea, int line);

// Window styles.
bool IsTopmost(Window window);
bool HasCaption(Window window);
bool HasMinimizeBox(Window window);
bool HasMaximizeBox(Window window);
bool HasSizingBorder(Window window);
bool HasSystemMenu(Window window);
bool HasVerticalScrollBar(Window window);
// A popup window with neither caption nor border.
bool IsBorderlessPopup(Window window);
bool IsForeground(Window window);
// Brings window to the front with the keyboard focus; false if it does not get there.
bool Activate(Window window);

// The screen: horizontal pixels per logical inch as this process sees it, width in pixels.
int ScreenPixelsPerInch();
int ScreenWidth();

// Questions the program answers about itself. 1 enabled, 0 disabled, -1 no such item (or no
// answer); the font the program gave a control.
int MenuItemState(Window main, int item);
// The item has its check mark; false also for no such item.
bool MenuItemChecked(Window main, int item);
FontInfo ControlFont(Window main, int control);
// How often the program has enabled the control after it was disabled; -1 no such control (or
// no answer). Read before an action, it shows a state that came and went between two polls.
int TimesEnabled(Window main, int control);

// [SECTION] Acting on controls

void ClickButton(Window button);
// A real left click at the control's centre, or at a screen point.
void ClickReal(Window control);
void ClickAt(Point point);
void ChooseMenuItem(Window main, int item);
// Selects an entry and tells the parent, as the user's choice would.
void PickEntry(Window combo, int index);
// Selects a list-box entry and tells the parent, as the user's click would.
void PickListEntry(Window list, int index);
void SetText(Window control, std::string_view text);
// Focuses control and types text with real key presses.
void TypeInto(Window control, std::string_view text);
// Moves and sizes a top-level window to the outer rectangle, as a user dragging it would; false
// when it does not get there.
bool PlaceWindow(Window window, const Box& outer);
// Close box: WM_CLOSE, or SC_CLOSE through the system menu.
void RequestClose(Window window);
void SystemClose(Window window);

// [SECTION] Boxes and file dialogs of the launched process

Window WaitForMessageBox(int timeoutMs = DefaultTimeoutMs);
// Any visible message box or dialog of the process now, nullptr when none.
Window OpenMessageBox();
std::string BoxText(Window box);
bool AnswerBox(Window box, Answer answer);
// Waits for the next box, checks that it shows, its caption and its text, runs `whileOpen` and
// answers it; true when caption and text were as expected.
bool ExpectBox(std::string_view name, const std::string& caption, const std::string& text,
               Answer answer = Answer::Ok, const std::function<void()>& whileOpen = nullptr);
// Types path into the file name box of a common open or save dialog and presses its OK button;
// also finds the box inside the ComboBoxEx (0x47C) that Wine's Explorer-style dialog uses, and the
// OK button among the dialog's own children (its file list also carries the number 1).
bool ChooseFileInDialog(Window dialog, std::string_view path);
// The text of a common file dialog's file name box: the name it offers.
std::string DialogFileName(Window dialog);

// [SECTION] Real input

Point CursorPosition();
// Moves the pointer as a user would (SetCursorPos plus an absolute move event).
void MoveMouse(int x, int y);
// Waits until the pointer is at spot and stays there: a window that appears or disappears under
// the pointer, or a move Wine has not finished handling, can put it back a moment after a move.
bool WaitForPointerAt(Point spot);
// Presses and releases a virtual key with synthesised input.
void PressKey(int virtualKey);
// Types text with synthesised key presses.
void TypeText(std::string_view text);
// Runs xdotool with the arguments (input arriving through the X server as a user's own).
bool Xdotool(std::string_view arguments, int timeoutMs = DefaultTimeoutMs);

// [SECTION] Files

// Paths are UTF-8 and may be longer than MAX_PATH (full paths then).
// Whole content of a file, "" when it cannot be read.
std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, std::string_view bytes);
// Creates the folder (its parent must exist); true when it exists afterwards.
bool MakeFolder(const std::string& path);
// A fresh folder for the test's own files, ending in a backslash.
std::string ScratchFolder();
// The Windows path (drive Z:) of a Unix path.
std::string WindowsPathOf(std::string_view unixPath);
// Login name of the user running the tests (GetUserName), as programs write it into files.
std::string LoggedOnUser();

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

// [SECTION] Unix shell

// Unix folder for this test's Unix-side files: $QUORVANE_E2E_RUN_FOLDER (scripts/e2e.sh makes one
// per test), else a folder named after this process. A process that a script started and leaves
// running writes its PID into a *.pid file below it; scripts/e2e.sh stops what is left of those
// after the test, also when it cut the test short.
std::string RunFolder();
// Starts a /bin/sh script (no double quotes in it) through Wine and returns at once.
bool StartShell(std::string_view script);
// Runs a /bin/sh script (no double quotes in it) through Wine; its exit code, -1 if it did not run
// or did not end in time.
int RunShell(std::string_view script, int timeoutMs = DefaultTimeoutMs);

// [SECTION] Serial lines

// A COM port of the Wine prefix linked to a pseudo-terminal; socat copies everything written to
// the port into a capture file, and what the test answers back to the port.
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
// The device answers: the bytes (letters and digits only) go to the program through the port.
bool SerialAnswer(const SerialLine& line, std::string_view bytes);
// What `stty -a -F` says about the terminal now (which opens it).
std::string SerialSettings(const SerialLine& line);
// Starts noting every opening of the terminal (by any program); false when the watch did not
// start. CloseSerialLine ends it.
bool WatchSerialOpens(const SerialLine& line);
// How many openings of the terminal the watch has seen so far.
int SerialOpens(const SerialLine& line);

// [SECTION] Screenshots

// Saves what the screen shows of window (frame included) as a 24-bit BMP file.
bool SaveScreenshot(Window window, const std::string& bmpPath);
// Repaints window, then saves it (as SaveScreenshot) once two captures in a row are the same.
bool SaveSettledScreenshot(Window window, const std::string& bmpPath,
                           int timeoutMs = DefaultTimeoutMs);

// [SECTION] The target program

// tests/e2e/target/Target.exe: a window with a button and an edit that logs every click, key and
// character it receives into the file named on its command line, and a counter that logs only
// the characters typed into it once it is clicked. Each mouse button event is logged twice: a
// "click" line with its screen point and a "client" line with its point in the window's client
// area, which stays the same when the window has moved.
constexpr char TargetTitle[] = "Quorvane Target";
constexpr int TargetButton = 1;
constexpr int TargetEdit = 2;
constexpr int TargetCounter = 3;

struct TargetProgram {
    Process process;
    Window window = nullptr;
    std::string log;  // Windows path of its log
};
// Starts Target.exe with an empty log and waits for its window; false when it does not show.
bool StartTarget(const std::string& path, const std::string& logPath, TargetProgram& target);
// Bytes in the target's log so far: an offset for reading only what comes after.
size_t TargetLogSize(const TargetProgram& target);
// Shows (or takes away) the target's second window, "Quorvane Target Second", and at once paints
// its green (33CC33) square; the square's middle on the screen.
void ShowTargetSecondWindow(const TargetProgram& target, bool show);
Point TargetSquarePoint(const TargetProgram& target);
// Has the target log every key of the system from now on, with a low-level hook ("llkey <down|up>
// <virtual key>"); true once the hook is on. Only in a target that lives to the test's end:
// under Wine the hook of a process that was ended swallows the user's keys that come after.
bool WatchTargetKeys(const TargetProgram& target);
// The log's lines from byte offset from on that begin with kind ("click", "keydown", "char ").
std::vector<std::string> TargetLogLines(const TargetProgram& target, size_t from,
                                        std::string_view kind);
// The characters of the "char <code>" lines from offset from on, control characters left out.
std::string TypedCharacters(const TargetProgram& target, size_t from);
// Clicks into the target's edit and waits until it has the keyboard focus.
bool FocusTargetEdit(const TargetProgram& target);

// [SECTION] Step files and runs

// A step file's bytes: the title, a user-and-date line, `information` and the CODE lines, each
// ended by CR LF.
std::string StepFileText(const std::vector<std::string>& steps, std::string_view information = "");
// Opens path in Quorvane's main window through File > Open and the open dialog; true once the
// window shows the file's name.
bool OpenThroughDialog(Window main, const std::string& path);
// Writes the steps as a step file to path and opens it (OpenThroughDialog); checks it.
bool OpenStepList(Window main, const std::string& path, const std::vector<std::string>& steps);
// Chooses Control > Play; returns TimesEnabled of ButtonStop read just before, for
// WaitForRunStart.
int ChoosePlay(Window main);
// Checks that a run starts after Play was chosen: Stop enabled and Play disabled now, or Stop
// enabled more often than `stopEnabledBefore`, which a run of one click shows too when it has
// already ended by the next poll. Polls every millisecond.
bool WaitForRunStart(Window main, int stopEnabledBefore, const std::string& what,
                     int timeoutMs = 30000);
// ChoosePlay, then WaitForRunStart.
bool PlayAndWaitForStart(Window main, const std::string& what, int timeoutMs = 30000);
// Waits for the end of a run that started at step 1 and checks it: Play offered, the menu
// unlocked and step 1 shown again, which the player does last.
bool WaitForRunEnd(Window main, const std::string& what, int timeoutMs = 30000);
// Chooses Play and waits for the run to start, end and show step 1 again.
bool PlayToEnd(Window main, const std::string& what);

}  // namespace e2e
