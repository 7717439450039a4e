// The Wait container: its row, showing and storing its fields, the value's label that follows
// the kind chosen, and F9 into the value.

#include <algorithm>
#include <string>
#include <string_view>

#include "Forms/FormMAIN.h"
#include "editor/EditorPanel.h"
#include "editor/PanelTypes.h"
#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/window.h"
#include "steps/Numbers.h"
#include "steps/WaitKinds.h"
#include "steps/WaitValues.h"

namespace {

constexpr const char* kWait = "Wait";

bool RefuseWait(std::string_view text) {
    return Refuse(kWait, text);
}

void FillWait() {
    FillChooserWithNames(ComboWaitFor, WaitKinds());
}

// The value's label says what the value is for the kind chosen.
int ComboWaitFor_Events(int) {
    const WaitKindRow* kind = FindWaitKind(ChooserText(ComboWaitFor));
    platform::SetControlText(LabelWaitValue, kind != nullptr ? kind->valueLabel : "Value:");
    return 0;
}

void ShowWait(const StepRecord& step, int stepCount) {
    SetChooserText(ComboWaitFor, step.WaitFor);
    platform::SetControlText(StringWaitValue, step.WaitValue);
    platform::SetControlText(StringWaitTime, OneDecimalText(step.WaitTime));
    // ComboWaitElse holds "0" to `stepCount`: the entry of n is at index n; a number outside the
    // list shows 0, as a Jump's shows its first entry.
    platform::SelectItem(ComboWaitElse,
                         step.WaitElse >= 0 && step.WaitElse <= stepCount ? step.WaitElse : 0);
    ComboWaitFor_Events(0);
}

bool StoreWait(StepRecord& step) {
    step.WaitFor = ChooserText(ComboWaitFor);
    const WaitKindRow* kind = FindWaitKind(step.WaitFor);
    if (kind == nullptr) {
        return RefuseWait("Nothing to wait for selected");
    }
    if (!StoreText(step.WaitValue, platform::ControlText(StringWaitValue), kWait, "value")) {
        return false;
    }
    if (step.WaitValue.empty()) {
        return RefuseWait("No value entered");
    }
    WaitCondition condition;
    if (!kind->read(step.WaitValue, condition)) {
        return RefuseWait(kind->wrongValue);
    }
    if (kind->kind == WaitKind::Image && !PictureUsable(condition.picture, kWait)) {
        return false;
    }
    std::string time = platform::ControlText(StringWaitTime);
    std::replace(time.begin(), time.end(), ',', '.');
    if (!ReadWaitTime(time, step.WaitTime)) {
        return RefuseWait("Wrong wait time (seconds from 0 to 86400)");
    }
    step.WaitElse = ReadInteger(ChooserText(ComboWaitElse));
    return true;
}

// F9 while the Wait container is shown: the title of the window under the pointer, or the
// pointer's pixel as "X Y RRGGBB", or a picture of a part of the screen, into the value.
void CaptureWaitValue() {
    const WaitKindRow* kind = FindWaitKind(ChooserText(ComboWaitFor));
    if (kind == nullptr) {
        return;
    }
    int x = 0;
    int y = 0;
    platform::CursorPosition(x, y);
    uint32_t rgb = 0;
    switch (kind->capture) {
        case WaitCapture::Title: {
            // A value cannot hold a ";"; the title up to it is what the Wait looks for.
            const std::string title = platform::TopLevelTitleAt(x, y);
            platform::SetControlText(StringWaitValue, title.substr(0, title.find(';')));
            break;
        }
        case WaitCapture::Pixel:
            if (platform::ScreenPixel(x, y, rgb)) {
                platform::SetControlText(StringWaitValue, PixelValueText(x, y, rgb));
            }
            break;
        case WaitCapture::Picture:
            CapturePicture(StringWaitValue, kWait);
            break;
        case WaitCapture::Nothing:
            break;
    }
}

constexpr PanelEvent kWaitEvents[] = {{ComboWaitFor, ComboWaitFor_Events}};

}  // namespace

const PanelType WaitPanel = {.type = TypeWait,
                             .container = ContainerWait,
                             .fill = FillWait,
                             .show = ShowWait,
                             .store = StoreWait,
                             .events = kWaitEvents,
                             .capture = CaptureWaitValue,
                             .boxTitle = kWait};
