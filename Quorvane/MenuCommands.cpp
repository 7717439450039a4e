// Menu commands that belong to the main window: Exit and About.

#include <string>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "Quorvane/CommandLine.h"
#include "Quorvane/Commands.h"
#include "platform/system.h"
#include "platform/window.h"
#include "player/Player.h"
#include "steps/Document.h"

void ExitProgram() {
    if (platform::MessageBoxYesNo(FormMAIN, "Confirm", "Exit program?")) {
        LeaveProgram();
    }
}

void ShowAbout() {
    ShowMessage("About", std::string(26, ' ') + "Quorvane" + std::string(3, ' ') + ProgramVersion);
}
