// What every layer does to the main window: boxes and notices, the step panel, the lock on
// editing during a run, the run buttons with their menu items, and whether anybody is there to
// answer a box.
#pragma once

#include <string_view>

// The thread that owns the windows; boxes shown from any other thread get no owner.
void RememberMainThread();
// Information box with one OK button while FormMAIN is not always on top. Any thread.
void ShowMessage(std::string_view title, std::string_view text);
// Unattended mode (started with /play /exit): nobody is there to close a box. A failure that
// would show one and wait (a file that does not load, a refused step, a port failure) shows
// nothing and ends the run or the program instead; Message steps still show their box.
void SetUnattended(bool unattended);
bool Unattended();
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

// Play, Pause and Stop, each a button and a menu item enabled alike, and "Play from current step"
// and "Record", which only an idle player offers.
void ShowRunningControls();    // Play off, Pause and Stop on
void ShowPausedControls();     // Play and Stop on, Pause off
void ShowStoppingControls();   // all three off until the player has finished the run
void ShowRecordingControls();  // Stop on, the rest off
void ShowIdleControls();       // Play, Play from current step and Record on, Pause and Stop off
