// Layout of the text editor window: its numbers and the code that creates it.
#pragma once

constexpr int FormEditor = 103;
constexpr int EditorText = 104;  // multi-line rich-edit text area
constexpr int EditorButtonOpen = 105;
constexpr int EditorButtonSave = 106;
constexpr int EditorButtonSaveAs = 107;
constexpr int EditorFileName = 108;     // file name part of EditorFilePath
constexpr int EditorLineMeaning = 109;  // meaning of the caret's line
constexpr int EditorLineType = 110;     // upper-case type name of a step line
constexpr int EditorLineSyntax = 111;   // syntax hint of a step line

// Creates window 103 and its controls (texts 108 to 111 empty).
void OpenFormEditor();
