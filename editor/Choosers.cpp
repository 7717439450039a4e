// Drop-down lists: the one place where a chooser is read or set.
// Keyboard kind, COM type, wait kind and execute-file choosers; F9 for a Wait value.

#include <string>
#include <string_view>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "editor/EditorPanel.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/window.h"
#include "steps/StepRecord.h"
#include "steps/WaitValues.h"

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

namespace {

struct WaitKindLabel {
    const char* kind;
    const char* label;
    bool takesTitle;  // F9 takes the window title under the pointer, not its pixel
};

constexpr WaitKindLabel kWaitKindLabels[] = {
    {"Window", "Window title contains:", true},
    {"Active", "Front window title contains:", true},
    {"NoWindow", "No window title contains:", true},
    {"Pixel", "Pixel X Y RRGGBB [tolerance]:", false},
    {"Answer", "Port and answer (COM1 OK):", false},
};

const WaitKindLabel* WaitKind(const std::string& kind) {
    for (const WaitKindLabel& row : kWaitKindLabels) {
        if (kind == row.kind) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

int ComboWaitFor_Events(int) {
    const WaitKindLabel* row = WaitKind(ChooserText(ComboWaitFor));
    platform::SetControlText(LabelWaitValue, row != nullptr ? row->label : "Value:");
    return 0;
}

void CaptureWaitValue() {
    const std::string kind = ChooserText(ComboWaitFor);
    const WaitKindLabel* row = WaitKind(kind);
    if (ChooserText(ComboType) != TypeChooserText(TypeWait) || row == nullptr || kind == "Answer") {
        return;
    }
    int x = 0;
    int y = 0;
    platform::CursorPosition(x, y);
    uint32_t rgb = 0;
    if (row->takesTitle) {
        platform::SetControlText(StringWaitValue, platform::TopLevelTitleAt(x, y));
    } else if (platform::ScreenPixel(x, y, rgb)) {
        platform::SetControlText(StringWaitValue, PixelValueText(x, y, rgb));
    }
}

int SelectExecuteFile() {
    const std::string path =
        platform::OpenFileDialog("Select execute file", {"All files (*.*)", "*.*"});
    if (!path.empty()) {
        platform::SetControlText(StringExecFile, platform::PathAsText(path));
    }
    return 0;
}
