// Commands of the main window: the menu commands that belong to it and the step list buttons.
#pragma once

// Menu commands
void ExitProgram();
void ShowAbout();

// Step list commands
void FirstStep();
void PreviousStep();
void NextStep();
void LastStep();
void NewStepAtEnd();
void NewStepInFront();
void DeleteStep();
void SelectStep();
void StepSelected();
