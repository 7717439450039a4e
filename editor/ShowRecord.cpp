// Showing the current record in the editor panel, and the step-number choosers.

#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "editor/EditorPanel.h"
#include "editor/PanelTypes.h"
#include "platform/window.h"
#include "steps/Numbers.h"
#include "steps/RList.h"
#include "steps/StepRecord.h"
#include "steps/StepTypes.h"

namespace {

// Writes the controls of the record's type and shows its container; false for a number that is
// no type.
bool ShowFields(const StepRecord& step, int count) {
    const PanelType* row = PanelTypeOf(step.RECORDtype);
    if (row == nullptr) {
        return false;
    }
    SetChooserText(ComboType, TypeChooserText(step.RECORDtype));
    platform::SetControlHidden(row->container, false);
    row->show(step, count);
    platform::SetControlText(StringDescription, step.Remarks);
    return true;
}

}  // namespace

int GetValues() {
    // Nothing to show on an empty list; the panel keeps what it shows.
    if (RList.Count() == 0) {
        return 0;
    }
    if (RList.Index() < 0) {
        RList.Select(0);
    }
    const int index = RList.Index();
    platform::SetControlText(FrameStep, IntegerText(index + 1));
    ShowTypeContainer(0);
    FillStepCombos();

    const StepRecord& step = RList.At(index);
    if (!ShowFields(step, RList.Count())) {
        platform::SetControlText(StringDescription, "");
        ReportFailure("Error",
                      "GetValues() Unknown RList()\\RECORDtype: " + IntegerText(step.RECORDtype));
    }
    return 0;
}

int FillStepCombos() {
    // The player shows every step it plays: rebuilding 2 x n entries each time would make a run
    // slow down with the length of the list. The entries depend on nothing but the count, so an
    // unchanged count keeps them and only the first entry is selected again.
    // ComboWaitElse has "0" (no else step) in front of the step numbers; only a Wait step selects
    // in it, which spares every other step one more control call while a run shows it.
    const int count = RList.Count();
    if (platform::ItemCount(ComboJumpTo) != count || platform::ItemCount(ComboLoopFrom) != count ||
        platform::ItemCount(ComboWaitElse) != count + 1) {
        std::vector<std::string> numbers;
        numbers.reserve(static_cast<size_t>(count) + 1);
        for (int number = 0; number <= count; ++number) {
            numbers.push_back(IntegerText(number));
        }
        platform::SetItems(ComboWaitElse, numbers);
        platform::SelectItem(ComboWaitElse, 0);
        numbers.erase(numbers.begin());
        platform::SetItems(ComboJumpTo, numbers);
        platform::SetItems(ComboLoopFrom, numbers);
    }
    platform::SelectItem(ComboJumpTo, 0);
    platform::SelectItem(ComboLoopFrom, 0);
    return 0;
}
