// [SECTION] The run commands of the main window: Play, Play from current step, Pause, Stop.

#include "Forms/FormMAIN.h"
#include "Quorvane/Commands.h"
#include "editor/EditorPanel.h"
#include "platform/input.h"
#include "platform/window.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "steps/RList.h"

namespace {

// Play, Pause and Stop have a button and a menu item each, always enabled alike.
void SetRunControls(bool play, bool pause, bool stop) {
    platform::SetControlEnabled(ButtonPlay, play);
    platform::SetControlEnabled(ButtonPause, pause);
    platform::SetControlEnabled(ButtonStop, stop);
    platform::SetMenuItemEnabled(MenuPlay, play);
    platform::SetMenuItemEnabled(MenuStop, stop);
    platform::SetMenuItemEnabled(MenuPause, pause);
}

// What a new run starts from: no registered ports, free loop levels, empty status fields, and
// no Escape pressed before it.
void ResetRunState() {
    ComPorts.clear();
    for (LoopLevel& level : LoopLevels) {
        level.Active = 0;
        level.Index = 0;
        level.Counter = 0;
    }
    for (int field : {TextState, TextLoop1, TextLoop2, TextLoop3}) {
        platform::SetControlText(field, "");
    }
}

void StartRunning(int32_t startIndex) {
    SetRunControls(false, true, true);
    platform::SetMenuItemEnabled(MenuPlayFromCurrent, false);
    LockControls(1);
    PlayStartIndex = startIndex;
    PlayRunning = 1;
    PlayPaused = 0;
    WakePlayer();
}

}  // namespace

void ShowPausedControls() {
    SetRunControls(true, false, true);
}

void ShowIdleControls() {
    SetRunControls(true, false, false);
    platform::SetMenuItemEnabled(MenuPlayFromCurrent, true);
}

void PlaySteps(int) {
    const bool newRun = PlayPaused == 0;
    if (newRun) {
        ResetRunState();
        if (SaveActualRecord() == 0) {
            return;
        }
        platform::ResetUserEscape();
    }
    StartRunning(0);
}

void PlayFromCurrentStep() {
    if (SaveActualRecord() == 0) {
        return;
    }
    ResetRunState();
    platform::ResetUserEscape();
    StartRunning(RList.Index());
}

void PauseSteps(int) {
    ShowPausedControls();
    PlayPaused = 1;
}

void StopSteps(int) {
    // The player may still be finishing a step and reads the list once more when the run ends:
    // its end of the run unlocks the editing controls and offers Play again, at its next check.
    SetRunControls(false, false, false);
    PlayRunning = 0;
    PlayPaused = 0;
}
