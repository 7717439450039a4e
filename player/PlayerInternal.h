// What the player's own files share: the run object, the run state's transitions, the waits,
// what a run shows and reports, and the telegram encodings.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/pictures.h"
#include "platform/serial.h"
#include "player/Player.h"
#include "steps/PictureSearch.h"
#include "steps/PictureValue.h"
#include "steps/StepKinds.h"
#include "steps/StepRecord.h"
#include "steps/WaitValues.h"

// [SECTION] The run

// A port that a Wait step of the list listens on: opened at its first Initialise of the run and
// open until the run ends, so that a device's answer finds it open. Every wait of the player
// reads it, so a chatty device never fills the driver's queue. A read that fails (an adapter
// pulled out) closes it; the next send or Wait on it opens it again.
struct HeldComPort {
    std::string PortName;
    std::unique_ptr<platform::SerialPort> Port;
    AnswerBuffer Incoming;  // what came in since the opening
};

// How a Wait step went.
struct WaitOutcome {
    int64_t waitedMicroseconds = 0;  // from its start to the condition or the time-out, pauses
                                     // not counted
    bool timedOut = false;
    bool ended = false;   // the run ended (Stop, Escape) while it waited
    bool failed = false;  // a failure was reported while it waited
};

// A picture the run looks for: read and prepared at its first use in the run.
struct RunPicture {
    std::string path;  // the file's full path
    int32_t tolerance = 0;
    PicturePattern pattern;
    bool seen = false;
    PictureMatch lastSeen;  // where it was found last: tried first by the next look
};

// What the run's looks at the screen keep between them.
struct RunScreen {
    platform::ScreenCapture capture;  // reused by every look, so that a look allocates nothing
    std::vector<PixelRect> screens;   // the capture's monitors
    std::vector<std::unique_ptr<RunPicture>> pictures;
    // What the looks cost: how many and the player's processor time they took in all.
    int64_t looks = 0;
    int64_t lookCpuMicroseconds = 0;
};

// Everything one run owns. The player thread makes a fresh one when a run begins and is the only
// thread that touches it while the run lasts; each step action receives it.
struct Run {
    int32_t startIndex = 0;  // 0-based element the run starts at and shows again at its end
    int index = 0;           // 0-based element being played
    // Loop and Jump steps do not play their target themselves: they name the element to play
    // next, and the run loop plays it after the usual checks, so every step runs at the same
    // depth however often a list jumps back. -1: none.
    int nextAtOnce = -1;
    LoopLevel loops[3];  // loops[0] is level 1
    std::vector<ComPortEntry> ports;
    std::vector<HeldComPort> heldPorts;
    WaitOutcome wait;  // the last Wait step's
    RunScreen screen;
    // What the step being played did and how it went, for the run log: a few words, and the
    // failure text when it failed ("" when it did not).
    std::string did;
    std::string failure;
};

// The run being played, or the last one (tests read it after the run).
const Run& LastRun();

// [SECTION] Run state transitions
// Each changes PlayRunning and PlayPaused under one lock, wakes the player and has the main
// thread show the new phase. A transition that does not apply changes nothing and returns false.

// Idle -> playing from `startIndex`; false while a run is still active (or still ending) or a
// recording is on.
bool BeginRun(int32_t startIndex);
// Paused -> playing.
bool ResumeRun();
// Playing -> paused (Pause, a failure that waits for a person).
bool HoldRun();
// Playing or paused -> ending; the player finishes the run. The first reason given counts.
bool EndRun(RunEnd reason);
// A Message step's box opens or closes: PlayPaused is 1 while it is open, and a pause given
// meanwhile is cleared when it closes.
void SetMessageOpen(bool open);
// The player's end of the run: idle, editing unlocked, Play offered. Returns how it ended.
RunEnd FinishRun();
// Blocks the player thread without using CPU until a run begins.
void WaitForRun();
// Idle -> recording; false while a run is active or a recording is on already.
bool BeginRecording();
// Recording -> idle: editing unlocked, Play and Record offered.
void FinishRecording();

// [SECTION] Waits
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
// Takes in what has come in on every port the run holds open (each wait does, on every tick). A
// port whose read fails is closed and reported as "Can't read port!", which holds the run.
void ReadHeldPorts(Run& run);
// The player's sleep: until woken or `milliseconds` have passed; while the run holds ports open,
// for at most one read period, so that the caller reads them again in time.
void SleepReadingPorts(int milliseconds, uint64_t seen);

// [SECTION] What a run shows and reports
// The player never calls a window function: these have the main thread draw, and return at once.

// A status text of the run (a countdown, a loop counter, the state text).
void ShowRunText(int control, std::string_view text);
// The element `index` in the editor panel.
void ShowRunStep(int index);
// A new run begins: the first element it plays is shown in any case (main thread).
void ForgetShownStep();
// A failure a person must read, in a box titled `title`: the player waits until the box is
// closed, or the run ends (Stop, Escape). `hold`: the run is paused as well and holds after the
// box until Play or Stop; otherwise it goes on once the box is closed. Unattended, nobody is
// there: the run ends as failed instead. Either way the failure goes into run.failure for the
// run log.
void ReportRunFailure(Run& run, std::string_view title, std::string_view text, bool hold = true);
// A Message step's box: returns when the person has closed it, whatever happened meanwhile; the
// main thread ends the Message state (SetMessageOpen(false)) as the box closes.
void AskPerson(Run& run, std::string_view title, std::string_view text);

// [SECTION] Step actions
// Each reads its step, acts through the platform, says in run.did what it did, and waits.

// A step type's action, one row per type (player/ThreadPlay.cpp).
struct StepAction {
    int32_t type;
    void (*play)(Run& run, const StepRecord& step);
};
std::span<const StepAction> StepActions();
// The action of a type, nullptr when it has none.
const StepAction* StepActionOf(int32_t type);

void PlayMouse(Run& run, const StepRecord& step);
void PlayKeyboard(Run& run, const StepRecord& step);
void PlayDelay(Run& run, const StepRecord& step);
void PlayLoop(Run& run, const StepRecord& step);
void PlayComport(Run& run, const StepRecord& step);
void PlayJump(Run& run, const StepRecord& step);
void PlayState(Run& run, const StepRecord& step);
void PlayExecute(Run& run, const StepRecord& step);
void PlayMessage(Run& run, const StepRecord& step);
void PlayWait(Run& run, const StepRecord& step);
void PlayWindow(Run& run, const StepRecord& step);
void PlayImage(Run& run, const StepRecord& step);
// Types a key text ("Hello{ENTER}").
int SendKeys(const std::string& text);
// Presses and releases the buttons of a click kind where the pointer is; None presses nothing.
void Click(ClickKind kind);

// [SECTION] Pictures on the screen (Image steps and Waits)

// The desktop as a capture holds it, the monitors' physical rectangles put into `screens`; the
// result points into both.
DesktopPixels DesktopOf(const platform::ScreenCapture& capture, std::vector<PixelRect>& screens);
// The picture a value names (its file where the step file's list finds it), read and prepared
// once a run. nullptr when it cannot be looked for; `failure` then says why, naming the file as
// the value does ("Can't read picture "ok.png"", "Picture "ok.png" is all one colour...").
RunPicture* PictureOfValue(RunScreen& screen, const PictureValue& value, std::string& failure);
enum class PictureLook { Found, Absent, NoScreen };
// One look: the screen captured and searched, the place where the picture was seen last tried
// first. `firstInReadingOrder`: the first place top to bottom, then left to right, counts (a
// click); otherwise any place will do (a Wait). Found: (x, y) is the picture's centre in the
// coordinates Mouse steps use.
PictureLook LookForPicture(RunScreen& screen, RunPicture& picture, bool firstInReadingOrder, int& x,
                           int& y);

// True when `number` is a step number of the list (1 to the number of steps).
bool IsStepNumber(int32_t number);

// [SECTION] Telegrams
// The bytes a Comport step sends for its COM type; any type but Hex and Byte sends the value as it
// stands. False for a Hex or Byte telegram with a wrong token or none at all; `error` then says
// what is wrong.
bool EncodeTelegram(ComType comType, std::string_view value, std::string& bytes,
                    std::string& error);
