// The text editor window: a step file as text, the caret line explained, checked saves.
#pragma once

void ShowEditor();
void EditorLineInfo();
void EditorOpen();
void EditorSave();
void EditorSaveAs();
// Close request of the window: close it, enable the main window, always on top again.
void CloseEditor();
