// Step list commands: the eight buttons above the editor panel and the number popup.

#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "Quorvane/Commands.h"
#include "Quorvane/Quorvane.h"
#include "editor/EditorPanel.h"
#include "platform/window.h"
#include "steps/Numbers.h"
#include "steps/RList.h"

namespace {

constexpr int kPopupOffsetX = 74;
constexpr int kPopupOffsetY = 105;
constexpr int kPopupWidth = 60;
constexpr int kPopupHeight = 90;

// Stores the panel, then moves with `move`; a refused store leaves everything as it was.
template <typename Move>
void StoreAndMove(Move move) {
    if (!SaveActualRecord()) {
        return;
    }
    move();
    GetValues();
}

void FillAsNewStep(StepRecord& step) {
    step = NewStepRecord();
    platform::SetControlText(StringDescription, "");
}

}  // namespace

void FirstStep() {
    StoreAndMove([] { RList.First(); });
}

void PreviousStep() {
    StoreAndMove([] { RList.Previous(); });
}

void NextStep() {
    StoreAndMove([] { RList.Next(); });
}

void LastStep() {
    StoreAndMove([] { RList.Last(); });
}

void NewStepAtEnd() {
    StoreAndMove([] {
        RList.Last();
        FillAsNewStep(RList.AddAfterCurrent());
    });
}

void NewStepInFront() {
    StoreAndMove([] { FillAsNewStep(RList.InsertBeforeCurrent()); });
}

void DeleteStep() {
    if (RList.Count() < 2) {
        ShowMessage("Info", "Only one step left! Can't delete actual step!");
        return;
    }
    StoreAndMove([] { RList.DeleteCurrent(); });
}

void SelectStep() {
    const platform::Rect outer = platform::WindowOuterRect(FormMAIN);
    OpenPopup(WindowSelectStep, kPopupWidth, kPopupHeight, FormMAIN, false,
              outer.left + kPopupOffsetX, outer.top + kPopupOffsetY);

    platform::ControlSpec list;
    list.kind = platform::ControlKind::ListBox;
    list.parent = WindowSelectStep;
    list.width = kPopupWidth;
    list.height = kPopupHeight;
    platform::CreateControl(ListSelectStep, list);
    std::vector<std::string> numbers;
    numbers.reserve(static_cast<size_t>(RList.Count()));
    for (int number = 1; number <= RList.Count(); ++number) {
        numbers.push_back(IntegerText(number));
    }
    platform::SetItems(ListSelectStep, numbers);

    platform::SetWindowEnabled(FormMAIN, false);
}

void StepSelected() {
    // The pick goes ahead even when the panel's values are refused.
    SaveActualRecord();
    const int number = ReadInteger(platform::ControlText(ListSelectStep));
    RList.Select(number - 1);
    platform::CloseWindow(WindowSelectStep);
    platform::SetWindowEnabled(FormMAIN, true);
    GetValues();
}
