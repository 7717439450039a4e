// What every layer does to the main window: boxes and notices, the step panel, the lock on
// editing during a run, the run buttons with their menu items, and whether anybody is there to
// answer a box.
#pragma once

#include <string_view>

// The thread that owns the windows: the only one that calls window functions.
void RememberMainThread();
bool OnMainThread();
// Who owns a box, and whether the main window keeps its place on top meanwhile.
enum class BoxOwner {
    UsersWindow,  // the window the user works in (the text editor, else the main window), which
                  // the box makes wait; the main window is not on top while it is open
    MainOnTop,    // the main window, which stays on top (the editor panel's refusals)
    Nobody,       // no owner: the main window's Stop and Pause stay usable (a run's boxes)
};
// Information box with one OK button.
void ShowMessage(std::string_view title, std::string_view text,
                 BoxOwner owner = BoxOwner::UsersWindow);

// One door for failures. Unattended mode (started with /play /exit): nobody is there to close a
// box. Every failure that would show one and wait (a file that does not load, a refused step, a
// failure of a run) goes through ReportFailure, which shows the box when a person is there and
// otherwise keeps the first such failure for the run log and shows nothing; the caller then ends
// the run or the program. Message steps still show their box.
void SetUnattended(bool unattended);
bool Unattended();
// Shows the box, or, unattended, keeps the text. True when a person saw it.
bool ReportFailure(std::string_view title, std::string_view text,
                   BoxOwner owner = BoxOwner::UsersWindow);
// The first failure kept since start-up, "" when none.
std::string FirstUnattendedFailure();

// Started to play in the background (/play): nothing activates a window of the program, so the
// program the user or the task had in front keeps the keyboard.
void SetKeepInBackground(bool keep);
bool KeepInBackground();
// The text for 600 ms in a small borderless window owned by `owner`, which is activated
// afterwards. With `activate` false neither takes the foreground: the program in front keeps the
// keys still on their way to it.
void ShowNotice(std::string_view text, int owner, bool activate = true);
// Opens a borderless popup window with the client size; `atX`/`atY` place its top-left corner,
// or it is centred on the screen when `centred`.
void OpenPopup(int window, int clientWidth, int clientHeight, int owner, bool centred, int atX = 0,
               int atY = 0);

// 1 hides, 0 shows the step panel with its frame and buttons.
void HideStepPanel(int state);
// 1 disables, 0 enables the editing controls and the file, editor and about menu items.
void LockControls(int state);
// True for a control or menu item that LockControls disables.
bool IsLockedDuringRun(int number);

// Play, Pause and Stop, each a button and a menu item enabled alike, and "Play from current step"
// and "Record", which only an idle player offers.
void ShowRunningControls();    // Play off, Pause and Stop on
void ShowPausedControls();     // Play and Stop on, Pause off
void ShowStoppingControls();   // all three off until the player has finished the run
void ShowRecordingControls();  // Stop on, the rest off
void ShowIdleControls();       // Play, Play from current step and Record on, Pause and Stop off
