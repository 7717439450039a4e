// Window steps seen from outside: a list that clicks the target program's button wherever the
// target has gone, one that minimises, moves and sizes it, a window that is not there (a box; the
// unattended run ends with exit code 3), and a recording in windows replayed on the moved target.
// Options: --program=<Quorvane.exe> --target=<Target.exe>.
#include <string>
#include <vector>

#include "Driver.h"
#include "Forms/FormMAIN.h"

using namespace e2e;

namespace {

constexpr int RunTimeoutMs = 30000;
// The middle of the target's button, counted from the top-left corner of its client area.
constexpr Point ButtonInTarget{80, 40};
// Two places of the target's top-left corner, both clear of the main window in the middle of the
// 1280 x 1024 screen.
constexpr Point PlaceA{40, 40};
constexpr Point PlaceB{820, 620};

struct Session {
    Window main = nullptr;
    std::string program;
    std::string folder;
    std::string runLog;  // the program's run log, shown when a click is not where it belongs
    TargetProgram target;
    int files = 0;
};

Window Control(const Session& session, int number) {
    return FindControl(session.main, number);
}

std::string WriteSteps(Session& session, const std::string& name,
                       const std::vector<std::string>& steps) {
    const std::string path =
        session.folder + "window-" + std::to_string(++session.files) + "-" + name + ".stp";
    Check(WriteWholeFile(path, StepFileText(steps, "window end-to-end test")),
          "step file written: " + name, path, "not written");
    return path;
}

bool OpenSteps(Session& session, const std::string& name, const std::vector<std::string>& steps) {
    const std::string path = WriteSteps(session, name, steps);
    return Check(OpenThroughDialog(session.main, path), name + ": list opened", path, "not opened");
}

bool Idle(const Session& session) {
    return IsEnabled(Control(session, ButtonPlay)) && !IsEnabled(Control(session, ButtonStop)) &&
           MenuItemState(session.main, MenuOpen) == 1 && Text(Control(session, FrameStep)) == "1";
}

// Chooses Play (the menu leaves the keyboard focus where it is) and waits for the run to end.
bool PlayToEnd(const Session& session, const std::string& name) {
    ChooseMenuItem(session.main, MenuPlay);
    return Check(WaitUntil([&] { return IsEnabled(Control(session, ButtonStop)); }, RunTimeoutMs),
                 name + ": run starts", "Stop enabled", "no run") &&
           Check(WaitUntil([&] { return Idle(session); }, RunTimeoutMs), name + ": run ends",
                 "Play enabled, step 1 shown", "still running");
}

// Puts the target's outer top-left corner at the place, its size unchanged, and the pointer
// somewhere neutral where Wine keeps it.
bool PutTarget(const Session& session, Point place) {
    const Box now = ScreenBox(session.target.window);
    const bool placed =
        Check(PlaceWindow(session.target.window, {place.x, place.y, now.width, now.height}),
              "target placed at " + Describe(place), Describe(place),
              Describe(ScreenBox(session.target.window)));
    const Point park{5, 1000};
    MoveMouse(park.x, park.y);
    WaitForPointerAt(park);
    return placed;
}

// The target's log says its button got a left click at the button's middle: the same point in
// the window wherever it stands, and on the screen where the window stands now.
void CheckClickOnButton(const Session& session, const std::string& name, size_t from) {
    WaitUntil([&] { return TargetLogLines(session.target, from, "client L up").size() >= 1; },
              5000);
    const Point origin = ClientOrigin(session.target.window);
    const std::string inWindow = Describe(ButtonInTarget);
    const std::string onScreen =
        Describe(Point{origin.x + ButtonInTarget.x, origin.y + ButtonInTarget.y});
    const bool inPlace =
        CheckEqual(name + ": the click in the target's client area",
                   "client L down " + inWindow + " button | client L up " + inWindow + " button",
                   Join(TargetLogLines(session.target, from, "client"), " | "));
    CheckEqual(name + ": the click on the screen",
               "click L down " + onScreen + " button | click L up " + onScreen + " button",
               Join(TargetLogLines(session.target, from, "click"), " | "));
    if (!inPlace) {
        Note("the run log: " + ReadWholeFile(session.runLog));
    }
}

// [SECTION] Lists

void CheckClickFollowsTheWindow(Session& session) {
    const std::string step = "11;L_Click;Quorvane Target;" + std::to_string(ButtonInTarget.x) +
                             ";" + std::to_string(ButtonInTarget.y) + ";";
    if (!OpenSteps(session, "click", {step})) {
        return;
    }
    for (const Point place : {PlaceA, PlaceB}) {
        const std::string name = "click with the target at " + Describe(place);
        if (!PutTarget(session, place)) {
            continue;
        }
        const size_t from = TargetLogSize(session.target);
        if (PlayToEnd(session, name)) {
            CheckClickOnButton(session, name, from);
            CheckEqual(name + ": no box", true, OpenMessageBox() == nullptr);
        }
    }
}

void CheckMinimiseMoveAndSize(Session& session) {
    const Box wanted{150, 120, 430, 260};
    if (!PutTarget(session, PlaceB) ||
        !OpenSteps(session, "move-and-size",
                   {"11;Minimize;quorvane target;0;0;", "11;Move;quorvane target;150;120;",
                    "11;Size;quorvane target;430;260;"}) ||
        !PlayToEnd(session, "minimise, move and size")) {
        return;
    }
    CheckEqual("minimised, then moved and sized: the target's outer box", wanted,
               ScreenBox(session.target.window));
    CheckEqual("no box after moving and sizing", true, OpenMessageBox() == nullptr);
}

void CheckMissingWindow(Session& session) {
    if (!OpenSteps(session, "missing", {"11;Activate;No Such Window;0;0;", "7;after the box;"})) {
        return;
    }
    ChooseMenuItem(session.main, MenuPlay);
    if (ExpectBox("missing window", "Window", "Window \"No Such Window\" not found")) {
        CheckEqual("missing window: the run holds, Play offered", true,
                   WaitUntil([&] { return IsEnabled(Control(session, ButtonPlay)); }));
        PlayToEnd(session, "missing window, Play after the box");
        CheckEqual("missing window: Play goes on with the next step", std::string("after the box"),
                   Text(Control(session, TextState)));
    }
}

// [SECTION] F9 and recording in windows

// Picks the entry of a drop-down list of the main window as the user would.
void Pick(const Session& session, int combo, const std::string& entry) {
    const std::vector<std::string> entries = Entries(Control(session, combo));
    for (size_t index = 0; index < entries.size(); ++index) {
        if (entries[index] == entry) {
            PickEntry(Control(session, combo), static_cast<int>(index));
            return;
        }
    }
    Check(false, Numbered("entry offered by chooser", combo), entry, Join(entries, ","));
}

// F9 over the target's button: its title, and the point in it for a click, on the screen for Move.
void CheckF9(Session& session) {
    ChooseMenuItem(session.main, MenuNew);
    if (!PutTarget(session, PlaceA)) {
        return;
    }
    Pick(session, ComboType, "11 Window");
    const Point origin = ClientOrigin(session.target.window);
    const Point spot{origin.x + ButtonInTarget.x, origin.y + ButtonInTarget.y};
    const struct {
        const char* action;
        Point point;
    } rows[] = {{"R_Click", ButtonInTarget}, {"Move", spot}};
    for (const auto& row : rows) {
        Pick(session, ComboWindowDo, row.action);
        Xdotool("mousemove " + Describe(spot));
        WaitForPointerAt(spot);
        Activate(session.main);
        Xdotool("key F9");
        const std::string expected = std::string(TargetTitle) + ", " + Describe(row.point);
        const auto shown = [&] {
            return Text(Control(session, StringWindowTitle)) + ", " +
                   Text(Control(session, StringWindowX)) + " " +
                   Text(Control(session, StringWindowY));
        };
        WaitUntil([&] { return shown() == expected; }, 5000);
        CheckEqual(std::string("F9 for ") + row.action + ": the window's title and the point",
                   expected, shown());
    }
}

void CheckRecordingInWindows(Session& session) {
    CheckEqual("Record in windows is unchecked at start", false,
               MenuItemChecked(session.main, MenuRecordInWindows));
    ChooseMenuItem(session.main, MenuRecordInWindows);
    if (!Check(WaitUntil([&] { return MenuItemChecked(session.main, MenuRecordInWindows); }),
               "Record in windows is checked once chosen", "checked", "unchecked")) {
        return;
    }
    ChooseMenuItem(session.main, MenuNew);
    if (!PutTarget(session, PlaceA)) {
        return;
    }
    ChooseMenuItem(session.main, MenuRecord);
    if (!Check(WaitUntil([&] { return Text(Control(session, TextState)) == "Recording"; }),
               "recording in windows: starts", "Recording", Text(Control(session, TextState)))) {
        return;
    }
    const Point origin = ClientOrigin(session.target.window);
    const size_t recordedFrom = TargetLogSize(session.target);
    Xdotool("mousemove " + std::to_string(origin.x + ButtonInTarget.x) + " " +
            std::to_string(origin.y + ButtonInTarget.y) + " click 1 key Escape");
    // The recorded click is the step shown after the recording.
    const auto shown = [&] {
        return SelectedEntry(Control(session, ComboType)) + ";" +
               SelectedEntry(Control(session, ComboWindowDo)) + ";" +
               Text(Control(session, StringWindowTitle)) + ";" +
               Text(Control(session, StringWindowX)) + ";" + Text(Control(session, StringWindowY));
    };
    const std::string expected = "11 Window;L_Click;Quorvane Target;" +
                                 std::to_string(ButtonInTarget.x) + ";" +
                                 std::to_string(ButtonInTarget.y);
    WaitUntil([&] { return IsEnabled(Control(session, ButtonPlay)) && shown() == expected; },
              RunTimeoutMs);
    CheckEqual("recording in windows: the click is a Window step", expected, shown());
    CheckClickOnButton(session, "recording in windows: the user's own click", recordedFrom);

    if (!PutTarget(session, PlaceB)) {
        return;
    }
    const size_t from = TargetLogSize(session.target);
    if (PlayToEnd(session, "recording replayed on the moved target")) {
        CheckClickOnButton(session, "recording replayed on the moved target", from);
    }
}

// [SECTION] Unattended

void CheckUnattendedMissingWindow(Session& session) {
    const std::string path =
        WriteSteps(session, "unattended-missing", {"11;L_Click;No Such Window;5;5;", "7;never;"});
    const std::string log = session.folder + "window-run.log";
    WriteWholeFile(log, "");
    EndProgram();
    if (!Check(Launch(session.program, "/log \"" + log + "\" /play /exit \"" + path + "\""),
               "unattended: starts", "a process", "none")) {
        return;
    }
    Window box = nullptr;
    WaitUntil([&] { return HasExited() || (box = OpenMessageBox()) != nullptr; }, RunTimeoutMs);
    CheckEqual("unattended missing window: no box", std::string(),
               box == nullptr ? std::string() : Title(box) + ": " + BoxText(box));
    unsigned long exitCode = 259;
    if (Check(box == nullptr && WaitForExit(exitCode, 1000), "unattended: ends by itself", "ended",
              "still running")) {
        CheckEqual("unattended missing window: exit code", 3ul, exitCode);
    }
    const std::string line =
        "\t1\tWINDOW\tL_Click \"No Such Window\"\tfailed: Window \"No Such Window\" not found\r\n";
    Check(ReadWholeFile(log).find(line) != std::string::npos,
          "unattended missing window: the run log says it", line, ReadWholeFile(log));
    EndProgram();
}

}  // namespace

int main(int argc, char** argv) {
    Session session;
    session.program = ProgramPath(argc, argv);
    session.folder = ScratchFolder();
    session.runLog = session.folder + "window-e2e-run.log";
    if (!Check(Launch(session.program, "/log \"" + session.runLog + "\""), "Quorvane.exe starts",
               session.program, "no process") ||
        !Check((session.main = WaitForWindow("Quorvane", StartTimeoutMs)) != nullptr,
               "main window shows", "a window titled \"Quorvane\"", "none")) {
        return Finish();
    }
    const std::string targetPath = Option(argc, argv, "target", OwnFolder() + "Target.exe");
    if (Check(StartTarget(targetPath, session.folder + "target.log", session.target),
              "target window shows", TargetTitle, "none")) {
        CheckClickFollowsTheWindow(session);
        CheckMinimiseMoveAndSize(session);
        CheckMissingWindow(session);
        CheckF9(session);
        CheckRecordingInWindows(session);
    }
    CheckUnattendedMissingWindow(session);
    return Finish();
}
