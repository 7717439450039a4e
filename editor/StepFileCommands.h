// The File menu's step file commands: they show what they did in the main window and the editor
// panel.
#pragma once

#include <string>

#include "platform/window.h"
#include "steps/StepFile.h"

// "STEP file (*.stp)" with the pattern "*.stp", for every step file dialog.
extern const platform::FileFilter StepFileFilter;

void NewStepFile();
void OpenStepFile();
// Loads a step file into the list and makes it the main window's document, with its messages
// (unattended, a file that does not load shows no box). True when the file was loaded.
bool LoadStepFile(const std::string& path);
void SaveStepFile();
void SaveStepFileAs();

// A name chosen for saving that Windows would open as a device (NamesDevice) gets a box saying
// so; true when the name was refused.
bool RefuseDeviceName(const std::string& path);
// The message box of a failed write, titled with the path.
void ShowWriteFailure(const std::string& path, WriteResult result);