// Drop-down lists: the one place where a chooser is read or set.
// Keyboard kind, COM type and execute-file choosers.

#include <string>
#include <string_view>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "editor/EditorPanel.h"
#include "platform/files.h"
#include "platform/window.h"

std::string ChooserText(int control) {
    const int selected = platform::SelectedItem(control);
    if (selected < 0) {
        return "";
    }
    return platform::ItemText(control, selected);
}

void SetChooserText(int control, std::string_view text) {
    if (text.empty()) {
        platform::SelectItem(control, -1);
        return;
    }
    const int match = platform::FindItemIgnoringCase(control, text);
    if (match >= 0) {
        platform::SelectItem(control, match);
    }
}

// The one specialisation of the rule above. The step-number choosers hold exactly "1" to
// `count` (FillStepCombos), so the entry equal to the text of k is the one at index k - 1; it is
// selected without a search, which keeps showing a step independent of the list's length. A
// number outside 1 to `count` matches no entry and leaves the selection as it was.
void SetStepNumberChooser(int control, int32_t number, int count) {
    if (number >= 1 && number <= count) {
        platform::SelectItem(control, number - 1);
    }
}

int Combo_KeyboardType_Events(int) {
    const std::string kind = ChooserText(Combo_KeyboardType);
    if (kind == "String") {
        platform::SetControlText(TextKeyLabel, "String:");
        platform::SetControlHidden(ComboKeyName, true);
        platform::SetControlHidden(StringKeyText, false);
    } else if (kind == "Key") {
        platform::SetControlText(TextKeyLabel, "Key:");
        platform::SetControlHidden(ComboKeyName, false);
        platform::SetControlHidden(StringKeyText, true);
    } else {
        ShowMessage("Error", "Combo_KeyboardType_Events() Case unknown");
    }
    return 0;
}

namespace {

struct ComTypeHint {
    const char* type;
    const char* hint;
};

constexpr ComTypeHint kComTypeHints[] = {
    {"Initialise", "Initialise (9600 N 8 1)"},
    {"String", "String (ATDT...)"},
    {"Hex", "Hex (F4 03 28 ..)"},
    {"Byte", "Byte (128 255 1 ...)"},
};

}  // namespace

int Combo_COMtype_Events(int) {
    const std::string type = ChooserText(Combo_COMtype);
    for (const ComTypeHint& row : kComTypeHints) {
        if (type == row.type) {
            platform::SetControlText(TextComHint, row.hint);
            return 0;
        }
    }
    ShowMessage("Error", "Combo_COMtype_Events Case unknown");
    return 0;
}

int SelectExecuteFile() {
    const std::string path =
        platform::OpenFileDialog("Select execute file", {"All files (*.*)", "*.*"});
    if (!path.empty()) {
        platform::SetControlText(StringExecFile, platform::PathAsText(path));
    }
    return 0;
}
