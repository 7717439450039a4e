// The run commands of the main window: Play, Play from current step, Pause, Stop.

#include "Forms/FormMAIN.h"
#include "editor/EditorPanel.h"
#include "platform/input.h"
#include "platform/window.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "steps/RList.h"

namespace {

// A new run starts with empty status fields and no Escape pressed before it. The main thread
// may write them: the player is idle. The ports and loop levels belong to the player, which
// resets them when the run begins.
void StartRun(int32_t startIndex) {
    for (int field : {TextState, TextLoop1, TextLoop2, TextLoop3}) {
        platform::SetControlText(field, "");
    }
    platform::ResetUserEscape();
    ForgetShownStep();
    BeginRun(startIndex);
}

}  // namespace

void PlaySteps(int) {
    // During a run Play only resumes a pause; it never resets the run.
    if (RunActive()) {
        ResumeRun();
        return;
    }
    if (SaveActualRecord() == 0) {
        return;
    }
    StartRun(0);
}

void PlayFromCurrentStep() {
    if (RunActive() || SaveActualRecord() == 0) {
        return;
    }
    StartRun(RList.Index());
}

void PauseSteps(int) {
    HoldRun();
}

void StopSteps(int) {
    if (RecordingActive()) {
        EndRecording();
        return;
    }
    // The player may still be finishing a step and reads the list once more when the run ends:
    // its end of the run unlocks the editing controls and offers Play again.
    EndRun(RunEnd::Stopped);
}
