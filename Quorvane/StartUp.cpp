// Start-up: program-wide values, fonts, images, the main window, the background threads.

#include <atomic>
#include <cstdint>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "Quorvane/Quorvane.h"
#include "editor/EditorPanel.h"
#include "platform/input.h"
#include "platform/system.h"
#include "platform/window.h"
#include "player/Player.h"
#include "steps/Document.h"
#include "steps/Numbers.h"
#include "steps/RList.h"

namespace {

constexpr int kPixelsPerInchSmallFont = 120;
constexpr int kMousePositionPeriodMs = 100;

// The latest cursor position the mouse-position thread saw, x in the high half; and whether a
// kPointerMoved event is waiting to show it.
std::atomic<uint64_t> gPointer{0};
std::atomic<bool> gPointerPosted{false};

uint64_t PackPoint(int x, int y) {
    return (uint64_t{static_cast<uint32_t>(x)} << 32) | static_cast<uint32_t>(y);
}

void SetProgramWideValues() {
    RList.Clear();
    StepFilePath.clear();
    EditorFilePath.clear();
    FileUserDate.clear();
    FileInformation.clear();
    SetUnattended(false);
    SetInitialRunState();
}

}  // namespace

void StartUp() {
    RememberMainThread();
    platform::SetEventHandler(HandleEvent);
    SetProgramWideValues();

    platform::CreateFont(FontDefault, "Arial", 8, false);
    platform::CreateFont(FontNotice, "Arial", 14, false);
    if (platform::ScreenPixelsPerInchX() == kPixelsPerInchSmallFont) {
        platform::CreateFont(FontDefault, "Arial", 6, false);
    }
    for (int image = ImagePlay; image <= ImageDelete; ++image) {
        platform::LoadImage(image);
    }
    platform::CreateFont(FontBold12, "Arial", 12, true);
    platform::CreateFont(FontBold10, "Arial", 10, true);
    platform::SetDefaultFont(FontDefault);

    OpenFormMAIN();
    platform::SetWindowTopmost(FormMAIN, true);
    BuildMainMenu();
    for (int item :
         {MenuSave, MenuSaveAs, MenuPlay, MenuPlayFromCurrent, MenuStop, MenuPause, MenuRecord}) {
        platform::SetMenuItemEnabled(item, false);
    }
    BuildEditorPanel();
    HideStepPanel(1);
}

void StartBackgroundThreads() {
    platform::InstallEscapeWatch();
    platform::StartThread(ThreadPLAY, 0);
    platform::StartThread(MousePositionThread, kMousePositionPeriodMs);
}

void MousePositionThread(int period) {
    int shownX = 0;
    int shownY = 0;
    bool shown = false;
    for (;;) {
        int x = 0;
        int y = 0;
        platform::CursorPosition(x, y);
        // Writing an unchanged text would only repaint the controls ten times a second.
        if (!shown || x != shownX || y != shownY) {
            // The position first: the event that is waiting, or the one posted now, shows it.
            gPointer = PackPoint(x, y);
            if (!gPointerPosted.exchange(true)) {
                platform::Event moved;
                moved.kind = platform::EventKind::Posted;
                moved.source = kPointerMoved;
                platform::PostEvent(moved);
            }
            shownX = x;
            shownY = y;
            shown = true;
        }
        platform::SleepMs(period);
    }
}

void ShowPointerPosition() {
    // Cleared before the read: a position kept after it posts a new event.
    gPointerPosted = false;
    const uint64_t point = gPointer;
    platform::SetControlText(TextMouseX, IntegerText(static_cast<int32_t>(point >> 32)));
    platform::SetControlText(TextMouseY, IntegerText(static_cast<int32_t>(point & 0xFFFFFFFF)));
}
