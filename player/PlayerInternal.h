// What the player's own files share: the run state's transitions, the checks between steps, the
// redirect that Loop and Jump steps leave for the run loop and the telegram encodings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Run state transitions
// Each changes PlayRunning and PlayPaused under one lock, wakes the player and shows the new
// state in the run buttons, their menu items and the editing lock. A transition that does not
// apply to the current state changes nothing and returns false.

// Idle -> playing from `startIndex`; false while a run is still active (or still ending) or a
// recording is on.
bool BeginRun(int32_t startIndex);
// True from BeginRun until the player has finished the end of the run, and while recording.
bool RunActive();
// Paused -> playing.
bool ResumeRun();
// Playing -> paused (Pause, a Comport failure).
bool HoldRun();
// Why a run ends before its list runs out; the first reason given counts.
enum class RunEnd {
    PlayedToEnd,  // a loop finished on the last step
    Stopped,      // Stop, Escape
    Failed,       // a failure that would have waited for a person (unattended only)
};
// Playing or paused -> ending; the player finishes the run.
bool EndRun(RunEnd reason);
// A Message step's box opens or closes: PlayPaused is 1 while it is open, and a pause given
// meanwhile is cleared when it closes.
void SetMessageOpen(bool open);
// The player's end of the run: idle, editing unlocked, Play offered. Unattended, the process
// ends here with the run's exit code.
void FinishRun();
// Blocks the player thread without using CPU until a run begins.
void WaitForRun();
// Idle -> recording; false while a run is active or a recording is on already.
bool BeginRecording();
// True from BeginRecording until FinishRecording.
bool RecordingActive();
// Recording -> idle: editing unlocked, Play and Record offered.
void FinishRecording();

// Waits
// Every wait of the player ends as soon as Stop, Pause or the user's Escape happens.

// Escape check: an Escape the user pressed during the run ends it.
void CheckUserEscape();
// Holds while the run is paused; returns at once when the run is stopped or Escape is pressed.
void PauseWait();
// Waits until the monotonic clock reaches `deadline` (microseconds). False, at once, when the run
// is stopped or paused (or Escape ends it) before then.
bool WaitUntil(int64_t deadline);
// Goes on unless the run has ended; holds while it is paused, adding the time held to `held` so
// that a schedule can move on by it. False when the run has ended.
bool GoOnHoldingClock(int64_t& held);
// The StepInterval wait after (or before) a step, cut short like WaitUntil.
void WaitAfterStep();

// What a run shows and reports
// A status text of the run (a countdown, a loop counter, the state text), drawn by the main
// thread.
void ShowRunText(int control, std::string_view text);
// A failure a person must read: the run holds with a box titled `title` until Play or Stop.
// Unattended, nobody is there: the run ends as failed instead.
void ReportRunFailure(std::string_view title, std::string_view text);

// Redirect
// Loop and Jump steps do not play their target themselves: they name the element that is to be
// played next at once, and the run loop plays it after the usual checks. This keeps every step
// at the same depth, however often a list jumps back.
void PlayNextAtOnce(int index);
// The element named by PlayNextAtOnce since the last call, or -1.
int TakeNextAtOnce();
// True when `number` is a step number of the list (1 to the number of steps).
bool IsStepNumber(int32_t number);

// Telegrams
// The bytes a Comport step sends for its ComType. False for a Hex or Byte telegram with a wrong
// token or none at all; `error` then says what is wrong.
bool EncodeTelegram(std::string_view comType, std::string_view value, std::string& bytes,
                    std::string& error);
