// Timing of GetValues on a list of a given length, for the headless and the Win32 program alike.
// Expects the main window with its editor panel to exist (StartUp has run).
#pragma once

#include <chrono>

#include "editor/EditorPanel.h"
#include "steps/RList.h"
#include "steps/StepRecord.h"

namespace bench {

// A step of every type in turn, each one that GetValues shows without a message.
inline StepRecord TimingStep(int index) {
    StepRecord step;
    step.RECORDtype = index % 9 + 1;
    step.Remarks = "step";
    step.MouseClick = "L_Click";
    step.KeyType = "String";
    step.KeyString = "text";
    step.DelayTime = 0.5f;
    step.LoopFrom = 1;
    step.LoopCount = 2;
    step.ComPort = "COM1";
    step.ComType = "Initialise";
    step.ComValue = "9600 N 8 1";
    step.JumpTo = 1;
    step.ExecFile = "notepad.exe";
    return step;
}

// Fills RList with `steps` steps and returns the mean time of one GetValues call in
// microseconds, over `calls` calls that walk through the list as the player does.
inline double GetValuesMicroseconds(int steps, int calls) {
    RList.Clear();
    for (int index = 0; index < steps; ++index) {
        RList.AddAfterCurrent() = TimingStep(index);
    }
    RList.First();
    GetValues();  // the first call after a change of length fills the step-number choosers
    const auto start = std::chrono::steady_clock::now();
    for (int call = 0; call < calls; ++call) {
        RList.Select(call % steps);
        GetValues();
    }
    const std::chrono::duration<double, std::micro> elapsed =
        std::chrono::steady_clock::now() - start;
    return elapsed.count() / calls;
}

}  // namespace bench
