// Start-up: program-wide values, fonts, images, the main window, the background threads.

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "Quorvane/Quorvane.h"
#include "editor/EditorPanel.h"
#include "platform/input.h"
#include "platform/system.h"
#include "platform/window.h"
#include "player/Player.h"
#include "steps/Document.h"
#include "steps/RList.h"

namespace {

constexpr int kPixelsPerInchSmallFont = 120;
constexpr int kMousePositionPeriodMs = 100;

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
            platform::Event moved;
            moved.kind = platform::EventKind::Posted;
            moved.source = kPointerMoved;
            moved.value = x;
            moved.value2 = y;
            platform::PostEvent(moved);
            shownX = x;
            shownY = y;
            shown = true;
        }
        platform::SleepMs(period);
    }
}
