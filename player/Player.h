// The player: run state shared with the main thread, the run commands, the player thread and the
// step actions.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/serial.h"
#include "steps/WaitValues.h"

// Run state
// The flags change together under one lock (player/RunState.cpp) and are polled by the player.
extern std::atomic<int32_t> PlayRunning;     // 1 while a run is active
extern std::atomic<int32_t> PlayPaused;      // 1 while the active run is paused
extern std::atomic<int32_t> PlayStartIndex;  // 0-based index the run starts and ends at
extern const int32_t StepInterval;           // 200 ms after most step actions

struct LoopLevel {
    std::atomic<int32_t> Active{0};
    std::atomic<int32_t> Index{0};
    std::atomic<int32_t> Counter{0};
};
// LoopLevels[0] is level 1 (LoopActive1, LoopIndex1, LoopCounter1), and so on.
extern LoopLevel LoopLevels[3];

// Serial port registry
struct ComPortEntry {
    std::string PortName;
    int32_t Baud = 0;
    int32_t Parity = 0;
    int32_t DataBits = 0;
    int32_t StopBits = 0;
};
extern std::vector<ComPortEntry> ComPorts;
// A port that a Wait step of the list listens on: opened at its first Initialise of the run and
// open until the run ends, so that a device's answer finds it open.
struct HeldComPort {
    std::string PortName;
    std::unique_ptr<platform::SerialPort> Port;
    AnswerBuffer Incoming;  // what came in since the opening
};
extern std::vector<HeldComPort> HeldComPorts;

// Idle, no run, every flag and loop level 0, no registered port: the state at start-up.
void SetInitialRunState();

// Exit codes of the process in unattended mode (Forms/MainWindow.h, Unattended).
constexpr int ExitPlayedToEnd = 0;
constexpr int ExitStopped = 1;      // Stop, Escape or the close box
constexpr int ExitNotPlayable = 2;  // wrong arguments, or a file that does not load or play
constexpr int ExitFailed = 3;       // a failure that would have waited for a person

// Run commands (main thread)
void PlaySteps(int eventType);
void PlayFromCurrentStep();
void PauseSteps(int eventType);
// Stop ends a recording as it ends a run.
void StopSteps(int eventType);

// Recording (main thread)
// Control > Record: records the user's clicks, typing and pauses until Stop or Escape.
void RecordSteps();
// Takes the input the recorder queued; an Escape among it ends the recording.
void TakeRecordedInput();
// Ends the recording: its steps go after the current step, the first of them shown, and a notice
// says how many there are.
void EndRecording();

// Player thread
// The thread procedure: waits without using CPU until a run is started, plays it, repeats.
void ThreadPLAY(int parameter);
// Plays one whole run from PlayStartIndex on the calling thread, as ThreadPLAY does once
// PlayRunning is 1 (tests call it directly).
void PlayRun();
// True while the player thread waits for a run: it touches neither RList nor the controls.
bool PlayerWaiting();
// Shows and performs the current element.
int PlayActualRecord();

// Step actions (each works on the current element)
int PlayMouse();
int PlayKeyboard();
int SendKeys(const std::string& text);
int PlayDelay();
int PlayLoop();
int PlayComport();
int PlayJump();
int PlayState();
int PlayExecute();
int PlayMessage();
int PlayWait();
