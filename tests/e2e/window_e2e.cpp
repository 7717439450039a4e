// Window steps seen from outside: a list that clicks the target program's button after the target
// has moved, one that minimises, moves and sizes it, a window that is not there (a box; unattended,
// exit code 3), and a recording in windows replayed on the moved target.
// Options: --program=<Quorvane.exe> --target=<Target.exe>.
#include <string>
#include <vector>

#include "Driver.h"
#include "Forms/FormMAIN.h"

using namespace e2e;

namespace {

// The middle of the target's button in its client area; the lists below click it there.
constexpr Point InTarget{80, 40};

Window Main = nullptr;
TargetProgram Target;
std::string Folder;

std::string WriteSteps(const std::string& name, const std::vector<std::string>& steps) {
    WriteWholeFile(Folder + name + ".stp", StepFileText(steps));
    return Folder + name + ".stp";
}

// Puts the target's top-left corner at x, y (clear of the main window in the middle of the
// screen) and parks the pointer; the target's log size from then on.
size_t PutTarget(int x, int y) {
    const Box now = ScreenBox(Target.window);
    Check(PlaceWindow(Target.window, {x, y, now.width, now.height}), "target placed",
          std::to_string(x) + " " + std::to_string(y), Describe(ScreenBox(Target.window)));
    MoveMouse(5, 1000);
    WaitForPointerAt({5, 1000});
    return TargetLogSize(Target);
}

// The button got the click at its point in the window, on the screen where the window is now.
void CheckClickOnButton(const std::string& name, size_t from) {
    WaitUntil([&] { return !TargetLogLines(Target, from, "client L up").empty(); }, 5000);
    const Point origin = ClientOrigin(Target.window);
    CheckEqual(name + ": the target's button gets the click",
               "client L down " + Describe(InTarget) + " button click L down " +
                   Describe(Point{origin.x + InTarget.x, origin.y + InTarget.y}) + " button",
               Join(TargetLogLines(Target, from, "client L down"), "") + " " +
                   Join(TargetLogLines(Target, from, "click L down"), ""));
}

void CheckListsOfWindowSteps() {
    OpenStepList(Main, Folder + "click.stp", {"11;L_Click;Quorvane Target;80;40;"});
    const size_t from = PutTarget(820, 620);
    if (PlayToEnd(Main, "click after the target moved")) {
        CheckClickOnButton("click after the target moved", from);
    }
    OpenStepList(Main, Folder + "move.stp",
                 {"11;Minimize;quorvane target;0;0;", "11;Move;quorvane target;150;120;",
                  "11;Size;quorvane target;430;260;"});
    if (PlayToEnd(Main, "minimise, move and size")) {
        CheckEqual("minimised, moved and sized: the target's outer box", Box{150, 120, 430, 260},
                   ScreenBox(Target.window));
    }
    OpenStepList(Main, Folder + "missing.stp", {"11;Activate;No Such Window;0;0;", "7;next;"});
    ChooseMenuItem(Main, MenuPlay);
    if (!ExpectBox("missing window", "Window", "Window \"No Such Window\" not found")) {
        return;
    }
    // The box leaves the run paused, Stop enabled; Play goes on with it.
    ChooseMenuItem(Main, MenuPlay);
    if (WaitForRunEnd(Main, "missing window, then Play")) {
        CheckEqual("missing window: Play goes on with the next step", std::string("next"),
                   Text(FindControl(Main, TextState)));
    }
}

void CheckRecordingInWindows() {
    const auto checked = [] { return MenuItemChecked(Main, MenuRecordInWindows) ? " on" : " off"; };
    std::string marks = checked();
    ChooseMenuItem(Main, MenuRecordInWindows);
    WaitUntil([] { return MenuItemChecked(Main, MenuRecordInWindows); });
    CheckEqual("Record in windows: off at start, on once chosen", std::string(" off on"),
               marks + checked());
    ChooseMenuItem(Main, MenuNew);
    PutTarget(40, 40);
    ChooseMenuItem(Main, MenuRecord);
    WaitUntil([] { return Text(FindControl(Main, TextState)) == "Recording"; });
    const Point origin = ClientOrigin(Target.window);
    Xdotool("mousemove " + Describe(Point{origin.x + InTarget.x, origin.y + InTarget.y}) +
            " click 1 key Escape");
    // The recorded click is the step shown after the recording.
    const auto shown = [] {
        return SelectedEntry(FindControl(Main, ComboWindowDo)) + ";" +
               Text(FindControl(Main, StringWindowTitle)) + ";" +
               Text(FindControl(Main, StringWindowX)) + ";" +
               Text(FindControl(Main, StringWindowY));
    };
    WaitUntil([&] { return shown() == "L_Click;Quorvane Target;80;40"; });
    CheckEqual("recording in windows: the click is a Window step",
               std::string("L_Click;Quorvane Target;80;40"), shown());
    const size_t from = PutTarget(820, 620);
    if (PlayToEnd(Main, "recording replayed")) {
        CheckClickOnButton("recording replayed on the moved target", from);
    }
}

void CheckUnattendedMissingWindow(const std::string& program) {
    const std::string path = WriteSteps("unattended", {"11;L_Click;No Such Window;5;5;"});
    EndProgram();
    Launch(program, "/log \"" + Folder + "run.log\" /play /exit \"" + path + "\"");
    unsigned long exitCode = 259;
    Check(WaitForExit(exitCode, 30000) && exitCode == 3,
          "unattended missing window: ends with exit code 3, no box", "3",
          std::to_string(exitCode));
    const std::string line =
        "\t1\tWINDOW\tL_Click \"No Such Window\"\tfailed: Window \"No Such Window\" not found\r\n";
    const std::string log = ReadWholeFile(Folder + "run.log");
    Check(log.find(line) != std::string::npos, "unattended missing window: the run log says it",
          line, log);
}

}  // namespace

int main(int argc, char** argv) {
    Folder = ScratchFolder();
    Main = LaunchProgramUnderTest(argc, argv);
    const std::string targetPath = Option(argc, argv, "target", OwnFolder() + "Target.exe");
    if (Main != nullptr && Check(StartTarget(targetPath, Folder + "target.log", Target),
                                 "target window shows", TargetTitle, "none")) {
        CheckListsOfWindowSteps();
        CheckRecordingInWindows();
        CheckUnattendedMissingWindow(ProgramPath(argc, argv));
    }
    EndProgram();
    return Finish();
}
