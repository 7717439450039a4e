// The editor panel: building it and switching the step type.

#include <string>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "editor/EditorPanel.h"
#include "platform/window.h"
#include "steps/StepRecord.h"

void BuildEditorPanel() {
    CreatePanelControls();
    HideStepPanel(1);
    for (int container : TypeContainers) {
        platform::SetControlHidden(container, true);
    }
}

int FormMAIN_ComboType_Event(int) {
    const std::string chosen = ChooserText(ComboType);
    const int32_t type = TypeFromChooserText(chosen);
    if (type == 0) {
        ShowMessage("Error", "FormMAIN_ComboType_Event Case unknown: " + chosen);
        return 0;
    }
    for (int index = 0; index < static_cast<int>(TypeContainers.size()); ++index) {
        platform::SetControlHidden(TypeContainers[static_cast<size_t>(index)], index + 1 != type);
    }
    return 0;
}
