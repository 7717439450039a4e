// The editor panel: building it and switching the step type.

#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "editor/EditorPanel.h"
#include "editor/PanelTypes.h"
#include "platform/window.h"
#include "steps/StepTypes.h"

void BuildEditorPanel() {
    CreatePanelControls();
    HideStepPanel(1);
    std::vector<std::string> types;
    for (const StepType& type : StepTypes()) {
        types.emplace_back(type.chooserText);
    }
    FillChooser(ComboType, types);
    for (const PanelType* row : PanelTypes()) {
        if (row->fill != nullptr) {
            row->fill();
        }
    }
    ShowTypeContainer(0);
}

void ShowTypeContainer(int32_t type) {
    for (const PanelType* row : PanelTypes()) {
        platform::SetControlHidden(row->container, row->type != type);
    }
}

int FormMAIN_ComboType_Event(int) {
    const std::string chosen = ChooserText(ComboType);
    const int32_t type = TypeFromChooserText(chosen);
    if (type == 0) {
        ShowMessage("Error", "FormMAIN_ComboType_Event Case unknown: " + chosen);
        return 0;
    }
    ShowTypeContainer(type);
    return 0;
}
