// Text editor window: a step file as text, the caret's line explained, checked saves.

#include "editor/TextEditor.h"

#include <string>
#include <vector>

#include "Forms/FormEditor.h"
#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "editor/StepFileCommands.h"
#include "platform/files.h"
#include "platform/window.h"
#include "steps/Document.h"
#include "steps/Numbers.h"
#include "steps/StepFile.h"
#include "steps/StepTextCheck.h"
#include "steps/StepTypes.h"

namespace {

constexpr int kHeaderLines = StepFileHeaderLines;

// The row of the type a line starting with `start` names, nullptr when it names none.
const StepType* TypeOfLine(std::string_view start) {
    return FindStepType(ReadStepType(start.substr(0, start.find(';'))));
}

// Reads the file into the text area; false (text area untouched) when it cannot be opened or
// names a device, which is never opened.
bool ShowFileText(const std::string& path) {
    std::string bytes;
    if (NamesDevice(path) || !platform::ReadFileForEditing(path, bytes)) {
        return false;
    }
    std::vector<std::string> lines;
    for (std::string_view line : SplitLines(bytes)) {
        lines.emplace_back(line);
    }
    platform::SetTextLines(EditorText, lines);
    return true;
}

// Writes the title and a fresh user-and-date line into lines 0 and 1, creating missing header
// lines first.
void StampHeaderLines() {
    if (platform::TextLineCount(EditorText) < kHeaderLines) {
        std::vector<std::string> lines = platform::TextLines(EditorText);
        lines.resize(kHeaderLines);
        platform::SetTextLines(EditorText, lines);
    }
    platform::SetTextLine(EditorText, 0, StepFileTitle);
    platform::SetTextLine(EditorText, 1, UserDateLine());
}

// The lines of the file the text area holds. A text that ends in a line break shows one empty
// last line; it is not a line of the file.
std::vector<std::string> FileLines() {
    std::vector<std::string> lines = platform::TextLines(EditorText);
    if (lines.size() > kHeaderLines && lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}

// The text area as file bytes, after the header lines have been stamped once more.
std::string StampedFileBytes() {
    StampHeaderLines();
    std::string bytes;
    for (const std::string& line : FileLines()) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

// Writes the text area to the path; false (message shown) when the file could not be written.
bool WriteEditorFile(const std::string& path) {
    const WriteResult result = WriteFileSafely(path, StampedFileBytes());
    if (result != WriteResult::Written) {
        ShowWriteFailure(path, result);
        return false;
    }
    return true;
}

// After a save: the main window takes the file again when it is its own, then "File saved".
void FinishSave() {
    if (StepFilePath == EditorFilePath) {
        LoadStepFile(StepFilePath);
        platform::SetControlText(TextFile, FileNamePart(platform::PathAsText(StepFilePath)));
    }
    ShowMessage("OK", "File saved");
}

}  // namespace

void ShowEditor() {
    platform::SetWindowTopmost(FormMAIN, false);
    OpenFormEditor();
    platform::SetWindowEnabled(FormMAIN, false);

    if (platform::FileExists(StepFilePath)) {
        EditorFilePath = StepFilePath;
        platform::SetControlText(EditorFileName,
                                 FileNamePart(platform::PathAsText(EditorFilePath)));
        platform::SetTextLines(EditorText, {});
        if (!ShowFileText(EditorFilePath)) {
            ShowMessage("Error", "Can't open file");
        }
        return;
    }
    platform::SetControlEnabled(EditorButtonSave, false);
    platform::SetTextLines(EditorText, {StepFileTitle, UserDateLine(), "", "1;L_Click;50;50;"});
    platform::FocusControl(EditorText);
    EditorFilePath.clear();
}

void EditorLineInfo() {
    static constexpr const char* kHeaderMeanings[kHeaderLines] = {
        "File-Version", "User  -  Date (dd.mm.yyyy hh:mm)", "File-Information"};
    const int line = platform::SelectionStartLine(EditorText) + 1;
    std::string meaning;
    std::string type;
    std::string syntax;
    if (line >= 1 && line <= kHeaderLines) {
        meaning = kHeaderMeanings[line - 1];
    } else if (line > kHeaderLines) {
        meaning = "CODE Line: " + IntegerText(line - kHeaderLines);
        // Only the start of the caret's line is read, so the cost does not grow with the file:
        // the longest type field and the ";" after it.
        const std::string start = platform::TextLineStart(
            EditorText, line - 1, static_cast<int>(StepTypeFieldLongest) + 1);
        const StepType* row = TypeOfLine(start);
        type = row != nullptr ? row->upperName : "UNKNOWN";
        syntax = row != nullptr ? row->syntax : "";
    }
    // A caret line the text area cannot tell leaves all three empty.
    platform::SetControlText(EditorLineMeaning, meaning);
    platform::SetControlText(EditorLineType, type);
    platform::SetControlText(EditorLineSyntax, syntax);
}

void EditorOpen() {
    const std::string path = platform::OpenFileDialog("Filename", StepFileFilter);
    if (path.empty()) {
        return;
    }
    if (!ShowFileText(path)) {
        ShowMessage("Error", "Can't open file");
        return;
    }
    platform::SetControlText(EditorFileName, FileNamePart(platform::PathAsText(path)));
    EditorFilePath = path;
    platform::SetControlEnabled(EditorButtonSave, true);
}

void EditorSave() {
    // Without a file name (the template) saving means choosing one.
    if (EditorFilePath.empty()) {
        EditorSaveAs();
        return;
    }
    if (!CheckEditorSteps() || !WriteEditorFile(EditorFilePath)) {
        return;
    }
    platform::SetControlText(EditorFileName, FileNamePart(platform::PathAsText(EditorFilePath)));
    FinishSave();
}

void EditorSaveAs() {
    if (!CheckEditorSteps()) {
        return;
    }
    std::string path = platform::SaveFileDialog("Filename", StepFileFilter);
    if (path.empty() || RefuseDeviceName(path)) {
        return;
    }
    path = WithStepExtension(path);
    if (platform::FileExists(path) &&
        !platform::MessageBoxYesNo(FormEditor, "Confirm", "File already exists! Replace?")) {
        return;
    }
    if (!WriteEditorFile(path)) {
        return;
    }
    platform::SetControlText(EditorFileName, FileNamePart(platform::PathAsText(path)));
    EditorFilePath = path;
    platform::SetControlEnabled(EditorButtonSave, true);
    FinishSave();
}

bool CheckEditorSteps() {
    StampHeaderLines();
    std::string message;
    if (!CheckStepLines(FileLines(), message)) {
        ShowMessage("Input", message);
        return false;
    }
    return true;
}

void CloseEditor() {
    platform::CloseWindow(FormEditor);
    platform::SetWindowEnabled(FormMAIN, true);
    platform::SetWindowTopmost(FormMAIN, true);
}
