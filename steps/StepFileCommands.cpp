// [SECTION] File menu commands: New, Open, loading a step file, Save and Save as.

#include <string>
#include <utility>

#include "Forms/FormMAIN.h"
#include "Quorvane/Quorvane.h"
#include "editor/EditorPanel.h"
#include "platform/files.h"
#include "platform/window.h"
#include "steps/Document.h"
#include "steps/Numbers.h"
#include "steps/RList.h"
#include "steps/StepFile.h"

namespace {

// Unknown lines each hold the window for a notice; a damaged file must not freeze it for minutes.
constexpr size_t kUnknownNoticesShown = 5;

const platform::FileFilter kStepFileFilter{"STEP file (*.stp)", "*.stp"};

void EnableDocumentMenus(bool save) {
    platform::SetMenuItemEnabled(MenuSave, save);
    platform::SetMenuItemEnabled(MenuSaveAs, true);
    platform::SetMenuItemEnabled(MenuPlay, true);
    platform::SetMenuItemEnabled(MenuPlayFromCurrent, true);
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
    const WriteResult result = WriteFileSafely(path, StepFileBytes());
    if (result != WriteResult::Written) {
        ShowWriteFailure(path, result);
        return false;
    }
    platform::SetControlText(TextFile, FileNamePart(path));
    ShowMessage("OK", "File saved");
    platform::SetMenuItemEnabled(MenuSave, true);
    return true;
}

}  // namespace

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
    const std::string path = platform::OpenFileDialog("Filename", kStepFileFilter);
    if (!path.empty()) {
        LoadStepFile(path);
    }
}

void LoadStepFile(const std::string& path) {
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes)) {
        ShowMessage("Error", "File not open " + path);
        return;
    }
    ParsedStepFile file = ParseStepFile(bytes);
    if (!file.titleMatches) {
        ShowMessage(ProgramTitle, "Wrong File-Version");
        return;
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
    platform::SetControlText(TextFile, FileNamePart(path));
    HideStepPanel(0);
    EnableDocumentMenus(true);
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
    const std::string chosen = platform::SaveFileDialog("Filename", kStepFileFilter);
    if (chosen.empty()) {
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

std::string StepFileBytes() {
    static constexpr std::string_view kLineEnd = "\r\n";
    std::string bytes;
    bytes.reserve(64 + static_cast<size_t>(RList.Count()) * 32);
    for (const std::string& header : {ProgramTitle, UserDateLine(), FileInformation}) {
        bytes += header;
        bytes += kLineEnd;
    }
    std::string line;
    for (const StepRecord& step : RList.Elements()) {
        if (!FormatStepLine(step, line)) {
            ShowMessage("Error", "Unknown recordtype: " + IntegerText(step.RECORDtype));
        }
        bytes += line;
        bytes += kLineEnd;
    }
    return bytes;
}

std::string WithStepExtension(std::string path) {
    if (!path.ends_with(".stp")) {
        path += ".stp";
    }
    return path;
}
