// The text editor window: a step file as text, the caret line explained, checked saves.
#pragma once

void ShowEditor();
void EditorLineInfo();
void EditorOpen();
void EditorSave();
void EditorSaveAs();
// Stamps lines 0 and 1 of the text area (creating missing header lines first), checks the step
// lines and shows the first fault titled "Input". True when all lines pass.
bool CheckEditorSteps();
// Close request of the window: close it, enable the main window, always on top again.
void CloseEditor();
