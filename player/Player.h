// The player: the run state the rest of the program reads, the run commands, the player thread
// and what it asks the main thread to draw.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/window.h"

// [SECTION] Run state
// Read-only views of the run state (player/RunState.cpp changes them together under one lock).
extern std::atomic<int32_t> PlayRunning;     // 1 while a run is active
extern std::atomic<int32_t> PlayPaused;      // 1 while the active run is paused
extern std::atomic<int32_t> PlayStartIndex;  // 0-based index the run starts and ends at
extern const int32_t StepInterval;           // 200 ms after most step actions

struct LoopLevel {
    int32_t Active = 0;
    int32_t Index = 0;
    int32_t Counter = 0;
};

// A port registered by an Initialise step of the run.
struct ComPortEntry {
    std::string PortName;
    int32_t Baud = 0;
    int32_t Parity = 0;
    int32_t DataBits = 0;
    int32_t StopBits = 0;
};

// Idle, no run: the state at start-up.
void SetInitialRunState();

// True from the start of a run until the player has finished its end, and while recording.
bool RunActive();
// True while recording.
bool RecordingActive();
// True while the player thread waits for a run: it touches neither RList nor the controls.
bool PlayerWaiting();

// How a run ended.
enum class RunEnd {
    PlayedToEnd,  // the list ran out, or a loop finished on the last step
    Stopped,      // Stop, Escape
    Failed,       // a failure that would have waited for a person (unattended only)
};
// "played to the end", "stopped", "failed".
const char* RunEndText(RunEnd ended);
// How the oldest run not reported yet ended, each run's end taken once; nothing when every end
// has been taken. The player keeps it at the end of each run, before it posts RunEvent::Ended.
std::optional<RunEnd> TakeRunEnd();

// [SECTION] Run commands (main thread)
void PlaySteps(int eventType);
void PlayFromCurrentStep();
void PauseSteps(int eventType);
// Stop ends a recording as it ends a run.
void StopSteps(int eventType);
// Before the program ends: ends an active run as Stop does and waits up to `milliseconds` for
// the player to finish it (the player releases the keys it holds at every end). True when no run
// is active any more.
bool EndRunAndWait(int milliseconds);

// [SECTION] Recording (main thread)
// Control > Record: records the user's clicks, typing and pauses until Stop or Escape.
void RecordSteps();
// Takes the input the recorder queued; an Escape among it ends the recording.
void TakeRecordedInput();
// Ends the recording: its steps go after the current step, the first of them shown, and a notice
// says how many there are.
void EndRecording();
// Control > Record in windows: checks or unchecks the item. While it is checked, a recording
// (taken into steps when it ends) turns clicks on other programs' titled windows into Window
// steps. Unchecked at start-up.
void ToggleRecordInWindows();

// [SECTION] Player thread
// The thread procedure: waits without using CPU until a run is started, plays it, repeats.
void ThreadPLAY(int parameter);
// Plays one whole run from PlayStartIndex on the calling thread, as ThreadPLAY does once a run
// has begun (tests call it directly). At its end it posts RunEvent::Ended.
void PlayRun();

// [SECTION] What the player asks the main thread to do
// Posted events (platform::EventKind::Posted) whose `source` is a RunEvent. The player and the
// other threads never call a window function; on the main thread itself the drawing happens at
// once.
enum class RunEvent {
    Phase = 1000,  // the run state changed: show it in the buttons, menus and editing lock
    Step,          // show element `value` in the editor panel
    Text,          // set control `value` to `text`
    Box,           // show the box the player waits on or reports
    Ended,         // the run has ended (TakeRunEnd says how). Never drawn at once: posted always
};
// True for an event the player posted.
bool IsRunEvent(const platform::Event& event);
// Draws a posted RunEvent other than Ended (main thread).
void DrawRunEvent(const platform::Event& event);
// Shows the run state in the run buttons, their menu items and the editing lock (main thread).
void ShowRunPhase();
// Releases the keys the player holds down at this moment (a text's modifiers); any thread. The
// program calls it before it ends when the player has not finished its run in time.
void ReleasePlayerKeys();
