// Storing the editor panel into the step it shows, checking each input as it is taken.
//
// The fields are walked in record order and every check runs right after its field is set. A
// refused input stops the walk there and nothing is undone: the record keeps what was set before
// the check, and the fields after it keep their old values. A text with a ";" is refused before
// it is set.

#include <string>

#include "Forms/FormMAIN.h"
#include "editor/EditorPanel.h"
#include "editor/PanelTypes.h"
#include "platform/window.h"
#include "steps/Numbers.h"
#include "steps/RList.h"
#include "steps/StepRecord.h"
#include "steps/StepTypes.h"

int SaveActualRecord() {
    const int32_t number = ReadInteger(platform::ControlText(FrameStep));
    // The frame shows a number only once a step has been shown; without one there is nothing
    // the panel could be stored into.
    if (number < 1 || number > RList.Count()) {
        return 0;
    }
    RList.Select(number - 1);

    const std::string chosen = ChooserText(ComboType);
    const int32_t type = TypeFromChooserText(chosen);
    if (type == 0) {
        Refuse("Error", "SaveActualRecord() Case unknown: " + chosen);
        return 0;
    }

    StepRecord& step = RList.At(number - 1);
    step.RECORDtype = type;
    // A refused text never reaches the record: the step-number popup goes on after a refusal,
    // and a later save would write the ";" into the file.
    const PanelType* chosenRow = PanelTypeOf(type);
    if (!StoreText(step.Remarks, platform::ControlText(StringDescription),
                   chosenRow != nullptr ? chosenRow->boxTitle : WrongValues, "description")) {
        return 0;
    }
    // The types' fields follow each other in the record in type order: the chosen type's are set
    // and checked, every other type's are emptied.
    for (const PanelType* row : PanelTypes()) {
        if (row->type != type) {
            ClearStepFields(step, row->type);
        } else if (!row->store(step)) {
            return 0;
        }
    }
    GetValues();
    return 1;
}
