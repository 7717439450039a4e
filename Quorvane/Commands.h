// Commands of the main window: the menu commands that belong to it and the step list buttons.
#pragma once

// [SECTION] Menu commands
// 1 disables, 0 enables the editing controls and the file, editor and about menu items.
void LockControls(int state);
void ExitProgram();
void ShowAbout();

// [SECTION] Step list commands
void FirstStep();
void PreviousStep();
void NextStep();
void LastStep();
void NewStepAtEnd();
void NewStepInFront();
void DeleteStep();
void SelectStep();
void StepSelected();
