// Recording seen from outside: Control > Record while a user (xdotool) clicks and types into the
// target program, the steps saved through File > Save as, and Play of them doing the same again.
// Options: --program=<Quorvane.exe> --target=<Target.exe>.
#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "Driver.h"
#include "Forms/FormMAIN.h"

using namespace e2e;

namespace {

constexpr int RecordTimeoutMs = 30000;
constexpr char Typed[] = "Hello; {World}!";

Window Main = nullptr;

Window Control(int number) {
    return FindControl(Main, number);
}

std::string Place(const Point& point) {
    return std::to_string(point.x) + " " + std::to_string(point.y);
}

// [SECTION] The target's log

std::string Joined(const std::vector<std::string>& lines) {
    return Join(lines, " | ");
}

// The lines of a text file, without their line ends.
std::vector<std::string> FileLines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream text(ReadWholeFile(path));
    for (std::string line; std::getline(text, line);) {
        lines.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
    }
    return lines;
}

// The target's log lines from byte `from` on that start with `kind`, joined.
std::string Logged(const TargetProgram& target, size_t from, const std::string& kind) {
    return Joined(TargetLogLines(target, from, kind));
}

// [SECTION] Recording

bool Idle() {
    return IsEnabled(Control(ButtonPlay)) && !IsEnabled(Control(ButtonStop)) &&
           MenuItemState(Main, MenuRecord) == 1;
}

bool StartRecording(const std::string& what) {
    ChooseMenuItem(Main, MenuRecord);
    if (!Check(WaitUntil([] { return Text(Control(TextState)) == "Recording"; }),
               what + ": TextState shows the recording", "Recording", Text(Control(TextState)))) {
        return false;
    }
    const bool offered = !IsEnabled(Control(ButtonPlay)) && MenuItemState(Main, MenuPlay) == 0 &&
                         MenuItemState(Main, MenuRecord) == 0 && IsEnabled(Control(ButtonStop)) &&
                         MenuItemState(Main, MenuStop) == 1 && MenuItemState(Main, MenuOpen) == 0;
    return Check(offered, what + ": only Stop offered, editing locked",
                 "Play, Record, Open off; Stop on", "otherwise");
}

// The notice at the end of a recording, read while it shows; "" when none came.
std::string RecordingNotice() {
    std::string text;
    WaitUntil(
        [&] {
            if (Window notice = OpenWindowWithControl(TextNotice)) {
                text = StoredText(FindControl(notice, TextNotice));
            }
            return !text.empty();
        },
        RecordTimeoutMs);
    WaitUntil(Idle);
    return text;
}

// Input that is not the user's own (the driver's synthesised click and keys) and a user's click on
// Quorvane's own Stop button record nothing; the click ends the recording.
void CheckNothingRecorded(const TargetProgram& target) {
    if (!StartRecording("synthesised input")) {
        return;
    }
    const size_t from = TargetLogSize(target);
    ClickReal(FindControl(target.window, TargetEdit));
    TypeText("zz");
    WaitUntil([&] { return Logged(target, from, "char ") == "char 122 | char 122"; });
    const Box stop = ScreenBox(Control(ButtonStop));
    Xdotool("mousemove " + Place({stop.x + stop.width / 2, stop.y + stop.height / 2}) + " click 1");
    CheckEqual("synthesised input and a click on Stop: notice", std::string("Nothing recorded"),
               RecordingNotice());
    CheckEqual("after Stop: Play and Record offered again", true, Idle());
}

struct Spots {
    Point buttonLeft, buttonRight, edit, window;
};

// Points on the target that the main window (always on top) does not cover.
bool FindSpots(const TargetProgram& target, Spots& spots) {
    const Box button = ScreenBox(FindControl(target.window, TargetButton));
    const Box edit = ScreenBox(FindControl(target.window, TargetEdit));
    const int row = button.y + button.height / 2;
    spots = {{button.x + 25, row},
             {button.x + button.width - 25, row},
             {edit.x + 40, edit.y + edit.height / 2},
             {button.x + button.width + 30, row}};
    const Box main = ScreenBox(Main);
    for (const Point& spot : {spots.buttonLeft, spots.buttonRight, spots.edit, spots.window}) {
        if (spot.x >= main.x && spot.x < main.x + main.width && spot.y >= main.y &&
            spot.y < main.y + main.height) {
            return Check(false, "target spots not covered by the main window", "uncovered",
                         Place(spot) + " covered");
        }
    }
    return true;
}

// Saves the list through File > Save as and the real dialog.
void SaveSteps(const std::string& path) {
    // The scratch folder is named by the process id, which Wine gives out again.
    std::remove(path.c_str());
    ChooseMenuItem(Main, MenuSaveAs);
    Window dialog = WaitForMessageBox();
    if (Check(dialog != nullptr && WaitUntil([&] { return ChooseFileInDialog(dialog, path); }),
              "save as dialog takes the path", path, "no dialog")) {
        Window box = WaitForMessageBox();
        CheckEqual("saved: box text", std::string("File saved"), box ? BoxText(box) : "none");
        AnswerBox(box, Answer::Ok);
    }
}

void CheckRecordAndReplay(const TargetProgram& target, const std::string& folder) {
    Spots spots;
    if (!FindSpots(target, spots) || !StartRecording("user's session")) {
        return;
    }
    Window edit = FindControl(target.window, TargetEdit);
    SetText(edit, "");
    const size_t from = TargetLogSize(target);
    // xdotool's "type" takes every word after it, so the keys after the text are a second run;
    // within it only the pause asked for lies between the presses of F2 and A: 1.5 s (the keys
    // themselves take about 20 ms).
    RunShell("/usr/bin/xdotool mousemove " + Place(spots.buttonLeft) + " click 1 mousemove " +
                 Place(spots.buttonRight) + " click --repeat 2 --delay 80 1 mousemove " +
                 Place(spots.edit) + " click 1 type --delay 40 '" + Typed +
                 "' && /usr/bin/xdotool key Return F2 sleep 1.48 key ctrl+a mousemove " +
                 Place(spots.window) + " click 3 key Escape",
             RecordTimeoutMs);
    const std::string notice = RecordingNotice();
    CheckEqual("user's session: notice", std::string("Recorded 7 steps"), notice);
    CheckEqual("user's session: first recorded step shown", std::string("2"),
               Text(Control(FrameStep)));
    CheckEqual("user's session: the edit's text", std::string(Typed), Text(edit));
    const std::string clicks = Logged(target, from, "click");
    const std::string characters = Logged(target, from, "char");

    const auto at = [](const Point& point) {
        return std::to_string(point.x) + ";" + std::to_string(point.y) + ";";
    };
    const std::vector<std::string> expected = {
        "3;0.5;",
        "1;L_Click;" + at(spots.buttonLeft),
        "1;Ldbl_Click;" + at(spots.buttonRight),
        "1;L_Click;" + at(spots.edit),
        "2;String;Hello{SEMICOLON} {LEFTBRACE}World}!{ENTER}{F2};",
        "3;1.3;",
        "2;String;{CONTROLDOWN}a{CONTROLUP};",
        "1;R_Click;" + at(spots.window),
    };
    SaveSteps(folder + "recorded.stp");
    const std::vector<std::string> lines = FileLines(folder + "recorded.stp");
    const std::vector<std::string> steps(lines.begin() + std::min<size_t>(3, lines.size()),
                                         lines.end());
    for (const std::string& line : steps) {
        Note("recorded: " + line);
    }
    CheckEqual("saved step file: the recorded lines after the step New made", Joined(expected),
               Joined(steps));

    SetText(edit, "");
    const size_t replayFrom = TargetLogSize(target);
    if (!PlayAndWaitForStart(Main, "replay") ||
        !Check(WaitUntil(Idle, RecordTimeoutMs), "replay: run ends", "Play enabled", "running")) {
        return;
    }
    WaitUntil([&] { return Logged(target, replayFrom, "click") == clicks; });
    CheckEqual("replay: the target receives the same clicks", clicks,
               Logged(target, replayFrom, "click"));
    CheckEqual("replay: the target receives the same characters", characters,
               Logged(target, replayFrom, "char"));
    CheckEqual("replay: the edit's text", std::string(Typed), Text(edit));
}

// Fast input (an auto-typer, a scanner) that is still arriving when Escape ends the recording
// reaches the program all the same, and the Escape does not.
void CheckFastInputAtTheEnd(const TargetProgram& target) {
    Spots spots;
    if (!FindSpots(target, spots) || !StartRecording("fast input")) {
        return;
    }
    SetText(FindControl(target.window, TargetEdit), "");
    const size_t from = TargetLogSize(target);
    std::string text;
    while (text.size() < 1000) {
        text += "abcdefghijklmnopqrstuvwxy";
    }
    text.resize(1000);
    RunShell("/usr/bin/xdotool mousemove " + Place(spots.edit) + " click 1 type --delay 0 '" +
                 text + "' && /usr/bin/xdotool key Escape",
             RecordTimeoutMs);
    CheckEqual("fast input: notice", std::string("Recorded 2 steps"), RecordingNotice());
    std::string typed;
    WaitUntil([&] { return (typed = TypedCharacters(target, from)).size() >= text.size(); },
              RecordTimeoutMs);
    Note("fast input: the target received " + std::to_string(typed.size()) + " of " +
         std::to_string(text.size()) + " characters");
    CheckEqual("fast input: every character reaches the target", text, typed);
    CheckEqual("fast input: the Escape that ended the recording does not", std::string(),
               Logged(target, from, "char 27"));
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = ScratchFolder();
    if ((Main = LaunchProgramUnderTest(argc, argv)) == nullptr) {
        return Finish();
    }
    CheckEqual("Record is offered only with a step list", 0, MenuItemState(Main, MenuRecord));
    ChooseMenuItem(Main, MenuNew);
    Check(WaitUntil(Idle), "after New: Record offered with Play", "Record enabled", "disabled");

    TargetProgram target;
    const std::string targetPath = Option(argc, argv, "target", OwnFolder() + "Target.exe");
    if (Check(StartTarget(targetPath, folder + "target.log", target), "target window shows",
              TargetTitle, "none")) {
        CheckNothingRecorded(target);
        CheckRecordAndReplay(target, folder);
        CheckFastInputAtTheEnd(target);
    }
    EndProgram();
    return Finish();
}
