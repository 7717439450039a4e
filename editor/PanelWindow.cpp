// The Window container: its row, showing and storing its fields, the point's label that follows
// the action chosen, and F9 into the title and the point.

#include <string>
#include <string_view>

#include "Forms/FormMAIN.h"
#include "editor/EditorPanel.h"
#include "editor/PanelTypes.h"
#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/window.h"
#include "steps/Numbers.h"
#include "steps/StepKinds.h"

namespace {

constexpr const char* kWindow = "Window";

bool RefuseWindow(std::string_view text) {
    return Refuse(kWindow, text);
}

void FillWindowStep() {
    FillChooserWithNames(ComboWindowDo, WindowActions());
}

// What the chosen action does with X and Y; Unused when no action is chosen.
WindowPoint ChosenPoint() {
    const WindowActionRow* action = FindWindowAction(ChooserText(ComboWindowDo));
    return action != nullptr ? action->point : WindowPoint::Unused;
}

// The label of X and Y says what they are for the action chosen; both are hidden with it when the
// action uses none.
int ComboWindowDo_Events(int) {
    const WindowPoint point = ChosenPoint();
    platform::SetControlText(LabelWindowPoint, WindowPointLabel(point));
    for (int control : {LabelWindowPoint, StringWindowX, StringWindowY}) {
        platform::SetControlHidden(control, point == WindowPoint::Unused);
    }
    return 0;
}

void ShowWindowStep(const StepRecord& step, int) {
    SetChooserText(ComboWindowDo, step.WindowDo);
    platform::SetControlText(StringWindowTitle, step.WindowTitle);
    platform::SetControlText(StringWindowX, IntegerText(step.WindowX));
    platform::SetControlText(StringWindowY, IntegerText(step.WindowY));
    ComboWindowDo_Events(0);
}

// X or Y of an action that uses them: a plain integer, "-" allowed.
bool StoreCoordinate(int32_t& field, int control, std::string_view name) {
    if (!ReadCoordinate(platform::ControlText(control), field)) {
        return RefuseWindow(std::string(name) + " is not a number");
    }
    return true;
}

// An action that uses no point keeps 0 in X and Y.
bool StoreWindowStep(StepRecord& step) {
    step.WindowDo = ChooserText(ComboWindowDo);
    const WindowActionRow* action = FindWindowAction(step.WindowDo);
    if (action == nullptr) {
        return RefuseWindow("Nothing to do selected");
    }
    if (!StoreText(step.WindowTitle, platform::ControlText(StringWindowTitle), kWindow,
                   "window title")) {
        return false;
    }
    if (step.WindowTitle.empty()) {
        return RefuseWindow("No window title entered");
    }
    if (action->point == WindowPoint::Unused) {
        step.WindowX = 0;
        step.WindowY = 0;
        return true;
    }
    if (!StoreCoordinate(step.WindowX, StringWindowX, "X") ||
        !StoreCoordinate(step.WindowY, StringWindowY, "Y")) {
        return false;
    }
    if (action->point == WindowPoint::Size && (step.WindowX < 1 || step.WindowY < 1)) {
        return RefuseWindow("The width and the height must be at least 1");
    }
    return true;
}

// F9 while the Window container is shown: the title of the window under the pointer into the
// title, and the pointer's point in its client area (clicks) or on the screen (Move) into X and Y.
void CaptureWindowPoint() {
    int x = 0;
    int y = 0;
    platform::CursorPosition(x, y);
    platform::TopLevelAtPoint under;
    // A Window step never acts on this program's own windows.
    if (!platform::TopLevelAt(x, y, under) || under.own) {
        return;
    }
    platform::SetControlText(StringWindowTitle, under.title.substr(0, under.title.find(';')));
    const WindowPoint point = ChosenPoint();
    if (point == WindowPoint::InWindow) {
        x = under.clientX;
        y = under.clientY;
    }
    if (point == WindowPoint::InWindow || point == WindowPoint::OnScreen) {
        platform::SetControlText(StringWindowX, IntegerText(x));
        platform::SetControlText(StringWindowY, IntegerText(y));
    }
}

constexpr PanelEvent kWindowEvents[] = {{ComboWindowDo, ComboWindowDo_Events}};

}  // namespace

const PanelType WindowPanel = {.type = TypeWindow,
                               .container = ContainerWindow,
                               .fill = FillWindowStep,
                               .show = ShowWindowStep,
                               .store = StoreWindowStep,
                               .events = kWindowEvents,
                               .capture = CaptureWindowPoint,
                               .boxTitle = kWindow};
