// File menu commands: New, Open, loading a step file, Save and Save as.

#include "editor/StepFileCommands.h"

#include <string>
#include <utility>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "editor/EditorPanel.h"
#include "platform/files.h"
#include "platform/window.h"
#include "steps/Document.h"
#include "steps/Numbers.h"
#include "steps/RList.h"

namespace {

// Unknown lines each hold the window for a notice; a damaged file must not freeze it for minutes.
constexpr size_t kUnknownNoticesShown = 5;

void EnableDocumentMenus(bool save) {
    platform::SetMenuItemEnabled(MenuSave, save);
    platform::SetMenuItemEnabled(MenuSaveAs, true);
    platform::SetMenuItemEnabled(MenuPlay, true);
    platform::SetMenuItemEnabled(MenuPlayFromCurrent, true);
    platform::SetMenuItemEnabled(MenuRecord, true);
}

void AnnounceUnknownLines(const std::vector<std::string>& unknownTypes) {
    for (size_t i = 0; i < unknownTypes.size() && i < kUnknownNoticesShown; ++i) {
        ShowNotice("Unknown recordtype: " + unknownTypes[i], FormMAIN);
    }
    if (unknownTypes.size() > kUnknownNoticesShown) {
        const size_t skipped = unknownTypes.size() - kUnknownNoticesShown;
        ShowNotice("Skipped " + std::to_string(skipped) + " more lines of unknown recordtype",
                   FormMAIN);
    }
}

// Writes the list to path; true when it was written and announced as saved.
bool WriteStepFile(const std::string& path) {
    std::vector<int32_t> unknownTypes;
    const std::string bytes = StepFileBytes(unknownTypes);
    for (int32_t type : unknownTypes) {
        ShowMessage("Error", "Unknown recordtype: " + IntegerText(type));
    }
    const WriteResult result = WriteFileSafely(path, bytes);
    if (result != WriteResult::Written) {
        ShowWriteFailure(path, result);
        return false;
    }
    platform::SetControlText(TextFile, FileNamePart(platform::PathAsText(path)));
    ShowMessage("OK", "File saved");
    platform::SetMenuItemEnabled(MenuSave, true);
    return true;
}

}  // namespace

const platform::FileFilter StepFileFilter{"STEP file (*.stp)", "*.stp"};

void NewStepFile() {
    HideStepPanel(0);
    RList.Clear();
    RList.AddAfterCurrent() = NewStepRecord();
    platform::SetControlText(StringDescription, "");
    GetValues();
    StepFilePath.clear();
    platform::SetControlText(TextFile, "");
    EnableDocumentMenus(false);
}

void OpenStepFile() {
    const std::string path = platform::OpenFileDialog("Filename", StepFileFilter);
    if (!path.empty()) {
        LoadStepFile(path);
    }
}

bool LoadStepFile(const std::string& path) {
    std::string bytes;
    // Unattended, the caller reports a file that does not load by the exit code. A device (a
    // port) is refused by its name: opening it only to find out would toggle its lines.
    if (NamesDevice(path) || !platform::ReadWholeFile(path, bytes)) {
        ReportFailure("Error", "File not open " + platform::PathAsText(path));
        return false;
    }
    ParsedStepFile file = ParseStepFile(bytes);
    if (!file.titleMatches) {
        ReportFailure(ProgramTitle, "Wrong File-Version");
        return false;
    }
    FileUserDate = std::move(file.userDate);
    FileInformation = std::move(file.information);
    RList.Replace(std::move(file.steps));
    AnnounceUnknownLines(file.unknownTypes);
    // Everything else works on a current step; a file without one gets the step "New" makes.
    if (RList.Count() == 0) {
        RList.AddAfterCurrent() = NewStepRecord();
    }
    StepFilePath = path;
    RList.First();
    GetValues();
    platform::SetControlText(TextFile, FileNamePart(platform::PathAsText(path)));
    HideStepPanel(0);
    EnableDocumentMenus(true);
    return true;
}

void SaveStepFile() {
    if (StepFilePath.empty() || !SaveActualRecord()) {
        return;
    }
    WriteStepFile(StepFilePath);
}

void SaveStepFileAs() {
    if (!SaveActualRecord()) {
        return;
    }
    const std::string chosen = platform::SaveFileDialog("Filename", StepFileFilter);
    if (chosen.empty() || RefuseDeviceName(chosen)) {
        return;
    }
    const std::string path = WithStepExtension(chosen);
    if (platform::FileExists(path) &&
        !platform::MessageBoxYesNo(FormMAIN, "Confirm", "File already exists! Replace?")) {
        return;
    }
    if (WriteStepFile(path)) {
        StepFilePath = path;
    }
}

bool RefuseDeviceName(const std::string& path) {
    if (!NamesDevice(path)) {
        return false;
    }
    ShowMessage("Save as", FileNamePart(platform::PathAsText(path)) +
                               " names a device, not a file; choose another name.");
    return true;
}

void ShowWriteFailure(const std::string& path, WriteResult result) {
    switch (result) {
        case WriteResult::CannotCreate:
            ShowMessage(platform::PathAsText(path), "Can't create file");
            break;
        case WriteResult::WriteFailed:
            ShowMessage(platform::PathAsText(path), "Can't write file");
            break;
        case WriteResult::Written:
            break;
    }
}
