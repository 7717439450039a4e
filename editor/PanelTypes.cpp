// The list of the panel's type rows, and what goes through them: the control events of the
// containers and F9.

#include "editor/PanelTypes.h"

#include <algorithm>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "editor/EditorPanel.h"
#include "platform/window.h"
#include "steps/Numbers.h"
#include "steps/StepTypes.h"

namespace {

const PanelType* const kPanelTypes[] = {
    &MousePanel, &KeyboardPanel, &DelayPanel,   &LoopPanel, &ComportPanel, &JumpPanel,
    &StatePanel, &ExecutePanel,  &MessagePanel, &WaitPanel, &WindowPanel,  &ImagePanel,
};

}  // namespace

std::span<const PanelType* const> PanelTypes() {
    return kPanelTypes;
}

const PanelType* PanelTypeOf(int32_t type) {
    const auto* found = std::find_if(std::begin(kPanelTypes), std::end(kPanelTypes),
                                     [type](const PanelType* row) { return row->type == type; });
    return found != std::end(kPanelTypes) ? *found : nullptr;
}

bool Refuse(const char* title, std::string_view text) {
    ReportFailure(title, text, BoxOwner::MainOnTop);
    return false;
}

bool Required(const std::string& text, const char* message) {
    return !text.empty() || Refuse("Input required", message);
}

bool StoreInteger(int32_t& field, const std::string& text, const char* message) {
    field = ReadInteger(text);
    return Required(text, message);
}

bool StoreText(std::string& field, const std::string& text, const char* title,
               std::string_view what, std::string_view hint) {
    if (text.find(';') != std::string::npos) {
        return Refuse(title,
                      "The " + std::string(what) + " must not contain \";\"" + std::string(hint));
    }
    field = text;
    return true;
}

bool PanelControlEvent(int control, int eventType) {
    for (const PanelType* row : kPanelTypes) {
        for (const PanelEvent& event : row->events) {
            if (event.control == control) {
                event.handle(eventType);
                return true;
            }
        }
    }
    return false;
}

void CaptureWithF9() {
    const int32_t shown = TypeFromChooserText(ChooserText(ComboType));
    for (const PanelType* row : kPanelTypes) {
        if (row->capture != nullptr && (row->captureHidden || row->type == shown)) {
            row->capture();
        }
    }
}
