// [SECTION] Boxes, notices and the step panel: small procedures that every part uses.

#include <string>
#include <thread>

#include "Forms/FormEditor.h"
#include "Forms/FormMAIN.h"
#include "Quorvane/Quorvane.h"
#include "platform/system.h"
#include "platform/window.h"

namespace {

constexpr int kNoticeCharacterWidth = 16;
constexpr int kNoticeHeight = 25;
constexpr int kNoticeMs = 600;
constexpr int kNoticeBackground = 0xC0C0C0;

std::thread::id gMainThread = std::this_thread::get_id();

// A box from the main thread belongs to the window the user works in, so that it is modal there;
// one from another thread has no owner, so the main window's Stop and Pause stay usable.
int BoxOwner() {
    if (std::this_thread::get_id() != gMainThread) {
        return -1;
    }
    return platform::IsWindowOpen(FormEditor) ? FormEditor : FormMAIN;
}

}  // namespace

void RememberMainThread() {
    gMainThread = std::this_thread::get_id();
}

void ShowMessage(std::string_view title, std::string_view text) {
    // While the text editor window is open the main window is not on top, and stays so.
    const bool wasTopmost = platform::IsWindowTopmost(FormMAIN);
    platform::SetWindowTopmost(FormMAIN, false);
    platform::MessageBoxOk(BoxOwner(), title, text);
    if (wasTopmost) {
        platform::SetWindowTopmost(FormMAIN, true);
    }
}

void ShowNotice(std::string_view text, int owner) {
    // A notice wider than the screen could not be read; cut it to what fits.
    const size_t fitting = static_cast<size_t>(platform::ScreenWidth() / kNoticeCharacterWidth);
    std::string shown(text.substr(0, fitting));
    if (shown.size() < text.size() && fitting > 3) {
        shown.replace(fitting - 3, 3, "...");
    }
    const int width = kNoticeCharacterWidth * static_cast<int>(shown.size());

    platform::WindowSpec window;
    window.clientWidth = width;
    window.clientHeight = kNoticeHeight;
    window.style = platform::WindowStyle::Borderless;
    window.placement = platform::WindowPlacement::CentreScreen;
    window.owner = owner;
    platform::OpenWindow(WindowNotice, window);

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
    platform::ActivateWindow(owner);
}

void HideStepPanel(int state) {
    const bool hidden = state == 1;
    for (int control : {ContainerStep, ButtonPlay, ButtonPause, ButtonStop, FrameStep, ButtonFirst,
                        ButtonPrevious, ButtonSelectStep, ButtonNext, ButtonLast, ButtonNewEnd,
                        ButtonNewFront, ButtonDelete}) {
        platform::SetControlHidden(control, hidden);
    }
}
