// Boxes, notices, popups, the step panel, the editing lock and the run buttons.

#include "Forms/MainWindow.h"

#include <algorithm>
#include <atomic>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>

#include "Forms/FormEditor.h"
#include "Forms/FormMAIN.h"
#include "platform/system.h"
#include "platform/window.h"

namespace {

constexpr int kNoticeCharacterWidth = 16;
constexpr int kNoticeHeight = 25;
constexpr int kNoticeMs = 600;
constexpr int kNoticeBackground = 0xC0C0C0;

std::thread::id gMainThread = std::this_thread::get_id();
std::atomic<bool> gUnattended{false};
std::atomic<bool> gKeepInBackground{false};
// True while LockControls holds the editing controls locked (a run or a recording). Main thread.
bool gEditingLocked = false;
std::mutex gFailureMutex;
std::string gFirstFailure;  // guarded by gFailureMutex

// The menu items that could change the list or leave it, locked for the length of a run; the
// controls follow one rule over their creation tables (RunLockedControls).
constexpr int kLockedMenuItems[] = {MenuOpen, MenuNew,    MenuSave, MenuSaveAs,
                                    MenuExit, MenuEditor, MenuAbout};

// "Play from current step" and "Record" are offered only by an idle player.
void SetRunControls(bool play, bool pause, bool stop, bool idle) {
    platform::SetControlEnabled(ButtonPlay, play);
    platform::SetControlEnabled(ButtonPause, pause);
    platform::SetControlEnabled(ButtonStop, stop);
    platform::SetMenuItemEnabled(MenuPlay, play);
    platform::SetMenuItemEnabled(MenuPlayFromCurrent, idle);
    platform::SetMenuItemEnabled(MenuRecord, idle);
    platform::SetMenuItemEnabled(MenuStop, stop);
    platform::SetMenuItemEnabled(MenuPause, pause);
}

int UsersWindow() {
    return platform::IsWindowOpen(FormEditor) ? FormEditor : FormMAIN;
}

}  // namespace

void RememberMainThread() {
    gMainThread = std::this_thread::get_id();
}

bool OnMainThread() {
    return std::this_thread::get_id() == gMainThread;
}

void ShowMessage(std::string_view title, std::string_view text, BoxOwner owner) {
    // While a run or a recording locks editing, a box owned by the main window would disable it,
    // and with it Stop and Pause: every box is then shown without owner (the step shown during a
    // run can report its own faults).
    if (gEditingLocked) {
        owner = BoxOwner::Nobody;
    }
    if (owner == BoxOwner::MainOnTop) {
        platform::MessageBoxOk(FormMAIN, title, text);
        return;
    }
    // While the text editor window is open the main window is not on top, and stays so.
    const bool wasTopmost = platform::IsWindowTopmost(FormMAIN);
    platform::SetWindowTopmost(FormMAIN, false);
    platform::MessageBoxOk(owner == BoxOwner::Nobody ? -1 : UsersWindow(), title, text);
    if (wasTopmost) {
        platform::SetWindowTopmost(FormMAIN, true);
    }
}

void SetUnattended(bool unattended) {
    gUnattended = unattended;
}

bool Unattended() {
    return gUnattended;
}

bool ReportFailure(std::string_view title, std::string_view text, BoxOwner owner) {
    if (Unattended()) {
        const std::lock_guard<std::mutex> lock(gFailureMutex);
        if (gFirstFailure.empty()) {
            gFirstFailure = text;
        }
        return false;
    }
    ShowMessage(title, text, owner);
    return true;
}

std::string FirstUnattendedFailure() {
    const std::lock_guard<std::mutex> lock(gFailureMutex);
    return gFirstFailure;
}

void SetKeepInBackground(bool keep) {
    gKeepInBackground = keep;
}

bool KeepInBackground() {
    return gKeepInBackground;
}

void ShowNotice(std::string_view text, int owner, bool activate) {
    // A notice wider than the screen could not be read; cut it to what fits.
    const size_t fitting = static_cast<size_t>(platform::ScreenWidth() / kNoticeCharacterWidth);
    std::string shown(text.substr(0, fitting));
    if (shown.size() < text.size() && fitting > 3) {
        shown.replace(fitting - 3, 3, "...");
    }
    const int width = kNoticeCharacterWidth * static_cast<int>(shown.size());

    platform::WindowSpec popup;
    popup.clientWidth = width;
    popup.clientHeight = kNoticeHeight;
    popup.style = platform::WindowStyle::Borderless;
    popup.owner = owner;
    popup.activate = activate && !KeepInBackground();
    platform::OpenWindow(WindowNotice, popup);

    platform::ControlSpec notice;
    notice.kind = platform::ControlKind::TextCentred;
    notice.parent = WindowNotice;
    notice.width = width;
    notice.height = kNoticeHeight;
    notice.text = shown;
    notice.background = kNoticeBackground;
    platform::CreateControl(TextNotice, notice);
    platform::SetControlFont(TextNotice, FontNotice);

    platform::SleepMs(kNoticeMs);
    platform::CloseWindow(WindowNotice);
    if (activate && !KeepInBackground()) {
        platform::ActivateWindow(owner);
    }
}

void HideStepPanel(int state) {
    const bool hidden = state == 1;
    for (int control : {ContainerStep, ButtonPlay, ButtonPause, ButtonStop, FrameStep, ButtonFirst,
                        ButtonPrevious, ButtonSelectStep, ButtonNext, ButtonLast, ButtonNewEnd,
                        ButtonNewFront, ButtonDelete}) {
        platform::SetControlHidden(control, hidden);
    }
}

void OpenPopup(int window, int clientWidth, int clientHeight, int owner, bool centred, int atX,
               int atY) {
    platform::WindowSpec popup;
    popup.x = atX;
    popup.y = atY;
    popup.clientWidth = clientWidth;
    popup.clientHeight = clientHeight;
    popup.style = platform::WindowStyle::Borderless;
    popup.placement =
        centred ? platform::WindowPlacement::CentreScreen : platform::WindowPlacement::AtPosition;
    popup.owner = owner;
    popup.activate = !KeepInBackground();
    platform::OpenWindow(window, popup);
}

void LockControls(int state) {
    const bool enabled = state != 1;
    gEditingLocked = !enabled;
    for (int control : RunLockedControls()) {
        platform::SetControlEnabled(control, enabled);
    }
    for (int item : kLockedMenuItems) {
        platform::SetMenuItemEnabled(item, enabled);
    }
}

bool IsLockedDuringRun(int number) {
    const auto among = [number](const auto& numbers) {
        return std::find(std::begin(numbers), std::end(numbers), number) != std::end(numbers);
    };
    return among(RunLockedControls()) || among(kLockedMenuItems);
}

void ShowRunningControls() {
    SetRunControls(false, true, true, false);
}

void ShowPausedControls() {
    SetRunControls(true, false, true, false);
}

void ShowStoppingControls() {
    SetRunControls(false, false, false, false);
}

void ShowRecordingControls() {
    SetRunControls(false, false, true, false);
}

void ShowIdleControls() {
    SetRunControls(true, false, false, true);
}
