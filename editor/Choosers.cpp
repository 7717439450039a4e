// Drop-down lists: the one place where a chooser is read or set.

#include <string>
#include <string_view>
#include <vector>

#include "editor/EditorPanel.h"
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

void FillChooser(int control, const std::vector<std::string>& entries) {
    platform::SetItems(control, entries);
    platform::SelectItem(control, 0);
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
