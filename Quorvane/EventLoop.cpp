// Event loop: the one place where user actions become command calls. The platform hands every
// event to HandleEvent, from the message loop and from inside every box's modal loop alike.

#include "Forms/FormEditor.h"
#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "Quorvane/CommandLine.h"
#include "Quorvane/Commands.h"
#include "Quorvane/Quorvane.h"
#include "editor/EditorPanel.h"
#include "editor/StepFileCommands.h"
#include "editor/TextEditor.h"
#include "platform/system.h"
#include "platform/window.h"
#include "player/Player.h"
#include "steps/Numbers.h"

namespace {

constexpr int kVirtualKeyF9 = 0x78;

struct Target {
    int number;
    void (*handle)(int eventType);
};

// Control dispatch: every notification of the control calls its procedure. The controls of the
// step type containers are dispatched by their rows in the editor panel.
constexpr Target kControlTargets[] = {
    {ComboType, [](int type) { FormMAIN_ComboType_Event(type); }},
    {ButtonPlay, [](int type) { PlaySteps(type); }},
    {ButtonPause, [](int type) { PauseSteps(type); }},
    {ButtonStop, [](int type) { StopSteps(type); }},
    {ButtonFirst, [](int) { FirstStep(); }},
    {ButtonPrevious, [](int) { PreviousStep(); }},
    {ButtonSelectStep, [](int) { SelectStep(); }},
    {ButtonNext, [](int) { NextStep(); }},
    {ButtonLast, [](int) { LastStep(); }},
    {ButtonNewEnd, [](int) { NewStepAtEnd(); }},
    {ButtonNewFront, [](int) { NewStepInFront(); }},
    {ButtonDelete, [](int) { DeleteStep(); }},
    {ListSelectStep, [](int) { StepSelected(); }},
    {EditorText, [](int) { EditorLineInfo(); }},
    {EditorButtonOpen, [](int) { EditorOpen(); }},
    {EditorButtonSave, [](int) { EditorSave(); }},
    {EditorButtonSaveAs, [](int) { EditorSaveAs(); }},
};

// Menu dispatch, by command number.
constexpr Target kMenuTargets[] = {
    {MenuOpen, [](int) { OpenStepFile(); }},
    {MenuNew, [](int) { NewStepFile(); }},
    {MenuSave, [](int) { SaveStepFile(); }},
    {MenuSaveAs, [](int) { SaveStepFileAs(); }},
    {MenuExit, [](int) { ExitProgram(); }},
    {MenuPlay, [](int) { PlaySteps(0); }},
    {MenuPlayFromCurrent, [](int) { PlayFromCurrentStep(); }},
    {MenuPause, [](int) { PauseSteps(0); }},
    {MenuStop, [](int) { StopSteps(0); }},
    {MenuRecord, [](int) { RecordSteps(); }},
    {MenuRecordInWindows, [](int) { ToggleRecordInWindows(); }},
    {MenuEditor, [](int) { ShowEditor(); }},
    {MenuAbout, [](int) { ShowAbout(); }},
};

template <size_t N>
bool Dispatch(const Target (&targets)[N], int number, int eventType) {
    for (const Target& target : targets) {
        if (target.number == number) {
            target.handle(eventType);
            return true;
        }
    }
    return false;
}

// A user cannot act on a disabled control or menu item, nor inside a disabled window, nor edit
// the list while a run or a recording is active. An event that says otherwise (queued before the
// control was disabled, or sent by another program) is dropped here, on every platform alike.
bool UserCouldCause(const platform::Event& event) {
    switch (event.kind) {
        case platform::EventKind::Control:
            return platform::IsControlEnabled(event.source) &&
                   platform::IsWindowEnabled(event.window) &&
                   !(IsLockedDuringRun(event.source) && RunActive());
        case platform::EventKind::Menu:
            return platform::IsMenuItemEnabled(event.source) &&
                   platform::IsWindowEnabled(event.window) &&
                   !(IsLockedDuringRun(event.source) && RunActive());
        case platform::EventKind::Close:
            return platform::IsWindowEnabled(event.window);
        case platform::EventKind::KeyDown:
        case platform::EventKind::LeftButtonUp:
        case platform::EventKind::UserInputQueued:
        case platform::EventKind::Posted:
            return true;
    }
    return false;
}

// What the other threads posted: the run's drawing and its end, the pointer position.
void HandlePosted(const platform::Event& event) {
    if (event.source == kPointerMoved) {
        ShowPointerPosition();
    } else if (event.source == static_cast<int>(RunEvent::Ended)) {
        if (const auto ended = TakeRunEnd()) {
            RunHasEnded(*ended);
        }
    } else if (IsRunEvent(event)) {
        DrawRunEvent(event);
    }
}

}  // namespace

void HandleEvent(const platform::Event& event) {
    if (!UserCouldCause(event)) {
        return;
    }
    switch (event.kind) {
        case platform::EventKind::LeftButtonUp:
            if (platform::FocusedControl() == EditorText) {
                EditorLineInfo();
            }
            break;
        case platform::EventKind::KeyDown:
            if (event.key == kVirtualKeyF9) {
                CaptureWithF9();
            }
            if (platform::FocusedControl() == EditorText) {
                EditorLineInfo();
            }
            break;
        case platform::EventKind::Control:
            if (!Dispatch(kControlTargets, event.source, event.type)) {
                PanelControlEvent(event.source, event.type);
            }
            break;
        case platform::EventKind::Menu:
            Dispatch(kMenuTargets, event.source, event.type);
            break;
        case platform::EventKind::UserInputQueued:
            TakeRecordedInput();
            break;
        case platform::EventKind::Posted:
            HandlePosted(event);
            break;
        case platform::EventKind::Close:
            if (event.window == FormEditor) {
                CloseEditor();
            } else if (event.window == FormMAIN) {
                LeaveProgram();
            }
            // Close requests of every other window are ignored: the program closes them itself.
            break;
    }
}

void SettleStartUp() {
    platform::HandlePendingEvents();
}

void RunEventLoop() {
    // A run the command line asked for begins once the window is shown and every message of
    // start-up has been handled.
    SettleStartUp();
    StartQueuedRun();
    platform::RunMessageLoop();
}
