// The player seen from outside: step files opened through File > Open and played with Play, acting
// on the target program (clicks and keys it logs), on a COM port made of a pseudo-terminal, on the
// shell (a started program) and timed by the wall clock (delays, the user's Escape key).
// Options: --program=<Quorvane.exe> --target=<Target.exe> --port=<COM name, default COM5>.
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "Driver.h"
#include "Forms/FormMAIN.h"

using namespace e2e;

namespace {

// [SECTION] Index
// Step files and runs, timing of Delay steps, the target program, Escape, Execute, serial port,
// Wait steps.

// [SECTION] Step files and runs

constexpr int RunTimeoutMs = 30000;

struct Session {
    Window main = nullptr;
    std::string folder;      // where the step files are written
    std::string targetPath;  // Target.exe
    std::string port;        // COM port linked to a pseudo-terminal
    int files = 0;
    int stopEnabledBeforePlay = 0;  // TimesEnabled of ButtonStop when Play was last chosen
};

Window Control(const Session& session, int number) {
    return FindControl(session.main, number);
}

bool RunActive(const Session& session) {
    return IsEnabled(Control(session, ButtonStop)) && !IsEnabled(Control(session, ButtonPlay));
}

bool RunIdle(const Session& session) {
    return IsEnabled(Control(session, ButtonPlay)) && !IsEnabled(Control(session, ButtonStop));
}

// Writes the steps to a new file and opens it through File > Open and the open dialog.
bool OpenSteps(Session& session, const std::string& name, const std::vector<std::string>& steps) {
    const std::string fileName = "player-" + std::to_string(++session.files) + "-" + name + ".stp";
    const std::string path = session.folder + fileName;
    if (!Check(WriteWholeFile(path, StepFileText(steps, "player end-to-end test")),
               "step file written: " + fileName, path, "not written")) {
        return false;
    }
    return Check(OpenThroughDialog(session.main, path), "loaded " + fileName, fileName,
                 Text(Control(session, TextFile)));
}

// Chooses Control > Play; the moment it was chosen, in NowMs(), taken right after the post. The
// menu command leaves the keyboard focus where it is, while a click on ButtonPlay would focus the
// main window.
double PressPlay(Session& session) {
    session.stopEnabledBeforePlay = ChoosePlay(session.main);
    return NowMs();
}

// A short run may come and go between two polls; Stop enabled since Play shows it too.
bool WaitForRunStart(const Session& session, const std::string& what) {
    return e2e::WaitForRunStart(session.main, session.stopEnabledBeforePlay, what, RunTimeoutMs);
}

// The buttons are reset first at the end of a run; the menu is unlocked a moment later and the
// player shows step 1 again last of all (every run here starts at step 1). Opening another file
// before that last step is over replaces the list under the player's feet.
bool WaitForRunEnd(const Session& session, const std::string& what) {
    Window frame = Control(session, FrameStep);
    return Check(WaitUntilPrecise([&] { return RunIdle(session); }, RunTimeoutMs),
                 what + ": run ends", "Play enabled, Stop disabled", "still running") &&
           Check(WaitUntil([&] {
                     return MenuItemState(session.main, MenuOpen) == 1 && Text(frame) == "1";
                 }),
                 what + ": menu unlocked and step 1 shown after the run", "Open enabled, step 1",
                 "Open " + std::to_string(MenuItemState(session.main, MenuOpen)) + ", step " +
                     Text(frame));
}

// Opens the steps, runs `beforePlay` (closing the open dialog hands the focus back to the main
// window, so a test that types into another window focuses it here), plays them to the end.
bool PlayToEnd(
    Session& session, const std::string& name, const std::vector<std::string>& steps,
    const std::function<bool()>& beforePlay = [] { return true; }) {
    if (!OpenSteps(session, name, steps) || !beforePlay()) {
        return false;
    }
    PressPlay(session);
    return WaitForRunStart(session, name) && WaitForRunEnd(session, name);
}

// [SECTION] Timing of Delay steps

void CheckThreeDelays(Session& session) {
    if (!OpenSteps(session, "three-delays", {"3;0.5;", "3;0.5;", "3;0.5;"})) {
        return;
    }
    const double pressed = PressPlay(session);
    if (!WaitForRunStart(session, "three delays")) {
        return;
    }
    const bool ended = WaitUntilPrecise([&] { return RunIdle(session); }, RunTimeoutMs);
    const double elapsed = NowMs() - pressed;
    if (!WaitForRunEnd(session, "three delays") || !ended) {
        return;
    }
    Note("three 0.5 s delays took " + std::to_string(elapsed) +
         " ms from Play to the reset buttons");
    // The polls see the buttons change within about 2 ms; the press itself is posted, and the
    // start and end of a run take some 50 ms, on a loaded machine some 100 ms more. A step
    // interval added to each step would give 2.1 s.
    Check(elapsed >= 1400 && elapsed <= 1700, "three 0.5 s delays end after about 1.5 s",
          "1400 to 1700 ms", std::to_string(elapsed) + " ms");
    CheckEqual("countdown after the delays", std::string("0.0"),
               Text(Control(session, TextCountdown)));
    Window frame = Control(session, FrameStep);
    WaitUntil([&] { return Text(frame) == "1"; }, 3000);
    CheckEqual("step 1 shown after the run", std::string("1"), Text(frame));
    CheckEqual("Pause disabled after the run", false, IsEnabled(Control(session, ButtonPause)));
}

// [SECTION] The target program: clicks and keys it logs

bool StartTarget(Session& session, TargetProgram& target) {
    const bool shows = StartTarget(session.targetPath, session.folder + "target.log", target);
    return Check(target.process.Id() != 0, "target starts", session.targetPath, "no process") &&
           Check(shows, "target window shows", TargetTitle, "none");
}

// Puts the pointer somewhere neutral and waits until Wine keeps it there.
void ParkPointer() {
    const Point park{5, 1000};
    MoveMouse(park.x, park.y);
    WaitForPointerAt(park);
}

void CheckClicks(Session& session, const TargetProgram& target) {
    const Box button = ScreenBox(FindControl(target.window, TargetButton));
    const Point spot{button.x + button.width / 2, button.y + button.height / 2};
    const Box main = ScreenBox(session.main);
    if (!Check(spot.x < main.x || spot.x >= main.x + main.width || spot.y < main.y ||
                   spot.y >= main.y + main.height,
               "target button not covered by the main window", "uncovered", "covered")) {
        return;
    }
    const std::string where = Describe(spot);
    struct ClickCase {
        const char* kind;
        std::vector<std::string> expected;
    };
    const ClickCase cases[] = {
        {"L_Click", {"click L down " + where + " button", "click L up " + where + " button"}},
        {"Ldbl_Click",
         {"click L down " + where + " button", "click L up " + where + " button",
          "click L double " + where + " button", "click L up " + where + " button"}},
    };
    for (const ClickCase& row : cases) {
        // A click elsewhere first, so that the click before cannot pair with this one into a
        // double click.
        const size_t upsBefore = TargetLogLines(target, 0, "click L up").size();
        ClickReal(FindControl(target.window, TargetEdit));
        ParkPointer();
        WaitUntil([&] { return TargetLogLines(target, 0, "click L up").size() > upsBefore; });
        const size_t from = TargetLogSize(target);
        const std::string step = std::string("1;") + row.kind + ";" + std::to_string(spot.x) + ";" +
                                 std::to_string(spot.y) + ";";
        if (!PlayToEnd(session, row.kind, {step})) {
            continue;
        }
        WaitUntil(
            [&] { return TargetLogLines(target, from, "click").size() >= row.expected.size(); },
            3000);
        CheckEqual(std::string(row.kind) + " on the target button: the clicks it receives",
                   Join(row.expected, " | "), Join(TargetLogLines(target, from, "click"), " | "));
        CheckEqual(std::string(row.kind) + " leaves the pointer at the point", spot,
                   CursorPosition());
    }
}

// Clicks into the target's edit so that typed keys go there; the log's size from then on.
bool FocusTargetEdit(const TargetProgram& target, size_t& logSize) {
    const bool focused = Check(FocusTargetEdit(target), "target edit has the keyboard focus",
                               "focused", "not focused");
    logSize = TargetLogSize(target);
    return focused;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    for (const std::string& each : lines) {
        if (each == line) {
            return true;
        }
    }
    return false;
}

void CheckTyping(Session& session, const TargetProgram& target) {
    const std::string text = "Hello, World! (1+2)";
    size_t from = 0;
    const auto focus = [&] { return FocusTargetEdit(target, from); };
    if (!PlayToEnd(session, "typing", {"2;String;" + text + ";", "2;Key;{F2};", "2;Key;{ENTER};"},
                   focus)) {
        return;
    }
    WaitUntil([&] { return Contains(TargetLogLines(target, from, "keydown"), "keydown 13"); },
              5000);
    CheckEqual("characters the target's edit receives", text, TypedCharacters(target, from));
    CheckEqual("text in the target's edit", text, Text(FindControl(target.window, TargetEdit)));
    const std::vector<std::string> keys = TargetLogLines(target, from, "keydown");
    CheckEqual("{F2} arrives as the key F2", true, Contains(keys, "keydown 113"));
    CheckEqual("{ENTER} arrives as the key Enter", true, Contains(keys, "keydown 13"));
}

// Programs that read scan codes see the keys that were meant: each key arrives with the scan code
// of its key on the US layout, the arrows, Insert, Delete and the keys above them as extended keys.
void CheckScanCodes(Session& session, const TargetProgram& target) {
    size_t from = 0;
    const auto focus = [&] { return FocusTargetEdit(target, from); };
    if (!PlayToEnd(session, "scan-codes",
                   {"2;String;a{LEFT}{F2}{DELETE}A{HOME};", "2;Key;{ENTER};"}, focus)) {
        return;
    }
    // "scan <virtual key> <scan code> <extended>" for each key down; Shift before the "A".
    const std::vector<std::string> expected = {"scan 65 30 0", "scan 37 75 1", "scan 113 60 0",
                                               "scan 46 83 1", "scan 16 42 0", "scan 65 30 0",
                                               "scan 36 71 1", "scan 13 28 0"};
    std::vector<std::string> seen;
    WaitUntil(
        [&] { return (seen = TargetLogLines(target, from, "scan ")).size() >= expected.size(); },
        5000);
    CheckEqual("scan codes and extended bits the target receives", Join(expected, ", "),
               Join(seen, ", "));
}

// [SECTION] Escape: the user's key stops a run, the program's own does not

void CheckOwnEscapeKeepsRunning(Session& session, const TargetProgram& target) {
    size_t from = 0;
    const auto focus = [&] { return FocusTargetEdit(target, from); };
    if (!PlayToEnd(session, "own-escape", {"2;Key;{ESCAPE};", "3;1.0;", "7;after own escape;"},
                   focus)) {
        return;
    }
    CheckEqual("{ESCAPE} reached the target", true,
               Contains(TargetLogLines(target, from, "keydown"), "keydown 27"));
    CheckEqual("a Keyboard step's own {ESCAPE} does not stop the run: state text",
               std::string("after own escape"), Text(Control(session, TextState)));
    CheckEqual("a Keyboard step's own {ESCAPE} does not stop the run: countdown",
               std::string("0.0"), Text(Control(session, TextCountdown)));
}

void CheckUserEscapeStopsDelay(Session& session) {
    if (!OpenSteps(session, "user-escape", {"3;30.0;", "7;not reached;"})) {
        return;
    }
    PressPlay(session);
    Window countdown = Control(session, TextCountdown);
    if (!WaitForRunStart(session, "long delay") ||
        !Check(WaitUntil([&] { return Text(countdown) == "29.5"; }, 5000), "long delay counts down",
               "29.5", Text(countdown))) {
        return;
    }
    const std::string stamp = RunFolder() + "/escape-pressed";
    StartShell("xdotool keydown Escape; date +%s%3N >" + stamp + ".part; mv " + stamp + ".part " +
               stamp + "; xdotool keyup Escape");
    const bool ended = WaitUntilPrecise([&] { return RunIdle(session); }, 5000);
    const double endedAt = WallClockMs();
    Check(ended, "the user's Escape ends the run", "Play enabled, Stop disabled", "still running");
    WaitForRunEnd(session, "user's Escape");
    std::string pressedAt;
    WaitUntil([&] { return !(pressedAt = ReadWholeFile(WindowsPathOf(stamp))).empty(); });
    RunShell("rm -f " + stamp);
    if (ended && !pressedAt.empty()) {
        const double reaction = endedAt - std::strtod(pressedAt.c_str(), nullptr);
        Note("Escape pressed to the buttons reset: " + std::to_string(reaction) + " ms");
        Check(reaction <= 200, "Escape stops a long Delay within 200 ms", "at most 200 ms",
              std::to_string(reaction) + " ms");
    }
    const std::string left = Text(countdown);
    Check(left != "0.0" && left != "30.0", "countdown keeps the last value shown",
          "between 29.5 and 0.1", left);
    Check(Text(Control(session, TextState)) != "not reached",
          "the step after the delay is not played", "state text not \"not reached\"",
          Text(Control(session, TextState)));
}

// [SECTION] Execute

void CheckExecuteStartsTarget(Session& session) {
    const std::string step = "8;" + session.targetPath + ";";
    if (!PlayToEnd(session, "execute", {step})) {
        return;
    }
    Window started = WaitForAnyWindow(TargetTitle, StartTimeoutMs);
    if (Check(started != nullptr, "an Execute step starts the target: its window appears",
              TargetTitle, "none")) {
        EndProcessOf(started);
    }
}

// An Execute step whose program cannot start holds the run with its box: the click after it
// reaches the target only once the box is closed (and the text after the click later still).
void CheckNothingPlayedBehindAFailureBox(Session& session, const TargetProgram& target) {
    const std::string program = session.folder + "not a program.qvz";
    const Box edit = ScreenBox(FindControl(target.window, TargetEdit));
    const std::string click = std::to_string(edit.x + 10) + ";" + std::to_string(edit.y + 5);
    if (!WriteWholeFile(program, "no program") ||
        !OpenSteps(session, "execute-fails",
                   {"8;" + program + ";", "1;L_Click;" + click + ";", "2;String;typed;"})) {
        return;
    }
    const size_t from = TargetLogSize(target);
    PressPlay(session);
    if (!ExpectBox("Execute that cannot start", "Execute", "Can't start " + program, Answer::Ok,
                   [&] {
                       // Unheld, the player clicks 200 ms after the step.
                       WaitUntil([&] { return TargetLogSize(target) > from; }, 3000);
                       CheckEqual("nothing clicked or typed behind the box", std::string(),
                                  Join(TargetLogLines(target, from, ""), " | "));
                   })) {
        return;
    }
    WaitForRunEnd(session, "execute fails");
    WaitUntil([&] { return TypedCharacters(target, from) == "typed"; }, 5000);
    CheckEqual("once the box is closed the run goes on", std::string("typed"),
               TypedCharacters(target, from));
}

// [SECTION] Serial port

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char byte : bytes) {
        hex += (hex.empty() ? "" : " ") + std::string{digits[byte >> 4], digits[byte & 15]};
    }
    return hex;
}

bool HasWord(const std::string& settings, const std::string& word) {
    const std::string spaced = " " + settings + " ";
    for (char separator : {' ', '\n', ';'}) {
        if (spaced.find(" " + word + separator) != std::string::npos ||
            spaced.find("\n" + word + separator) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// The lines of text that hold word, joined by " / ".
std::string LinesWith(const std::string& text, const std::string& word) {
    std::string found;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        const std::string line = text.substr(start, end - start);
        if (line.find(word) != std::string::npos) {
            found += (found.empty() ? "" : " / ") + line;
        }
        start = end + 1;
    }
    return found;
}

struct LineCase {
    const char* name;
    const char* preset;      // stty arguments before the run
    const char* parameters;  // the Initialise step's text
    std::vector<const char*> settingsWords;
};

void CheckPortSettings(Session& session, const LineCase& row) {
    SerialLine line;
    if (!Check(OpenSerialLine(session.port, row.preset, line),
               std::string(row.name) + ": line made", session.port, "no line")) {
        return;
    }
    const std::string port = session.port;
    if (PlayToEnd(session, row.name,
                  {"5;" + port + ";Initialise;" + row.parameters + ";",
                   "5;" + port + ";String;ATZ;", "5;" + port + ";Hex;F4 03 28;"})) {
        WaitUntil([&] { return SerialBytes(line).size() >= 6; }, 3000);
        CheckEqual(std::string(row.name) + ": bytes on the line", Hex("ATZ\xF4\x03\x28"),
                   Hex(SerialBytes(line)));
        const std::string settings = SerialSettings(line);
        for (const char* word : row.settingsWords) {
            Check(HasWord(settings, word), std::string(row.name) + ": stty shows " + word, word,
                  settings);
        }
        CheckEqual(std::string(row.name) + ": no box", true, OpenMessageBox() == nullptr);
    }
    CloseSerialLine(line);
}

// A pseudo-terminal keeps 8 data bits and no parity whatever it is asked; Wine then either sends
// with what the terminal kept or reports the set-up as failed. Either way the program must say
// so or send the whole telegram: never hang, never send half of it.
void CheckRefusedSettings(Session& session) {
    SerialLine line;
    if (!OpenSerialLine(session.port, "38400 -cstopb", line)) {
        return;
    }
    const std::string port = session.port;
    if (OpenSteps(session, "seven-bits-even",
                  {"5;" + port + ";Initialise;19200 E 7 2;", "5;" + port + ";String;ATZ;"})) {
        PressPlay(session);
        Window box = nullptr;
        WaitUntil([&] { return (box = OpenMessageBox()) != nullptr || RunIdle(session); },
                  RunTimeoutMs);
        if (box != nullptr) {
            Note("19200 E 7 2 on a pseudo-terminal: box \"" + Title(box) + "\" / \"" +
                 BoxText(box) + "\"");
            CheckEqual("19200 E 7 2 refused: caption", std::string("COM port"), Title(box));
            CheckEqual("19200 E 7 2 refused: text", std::string("Can't open port!"), BoxText(box));
            CheckEqual("19200 E 7 2 refused: nothing sent", std::string(), Hex(SerialBytes(line)));
            AnswerBox(box, Answer::Ok);
            ClickButton(Control(session, ButtonStop));
            WaitForRunEnd(session, "19200 E 7 2");
        } else {
            WaitForRunEnd(session, "19200 E 7 2");
            WaitUntil([&] { return SerialBytes(line).size() >= 3; }, 3000);
            const std::string settings = SerialSettings(line);
            Note("19200 E 7 2 on a pseudo-terminal: sent; stty says: " +
                 LinesWith(settings, "speed") + " / " + LinesWith(settings, "parenb"));
            CheckEqual("19200 E 7 2 accepted: bytes on the line", Hex("ATZ"),
                       Hex(SerialBytes(line)));
            Check(HasWord(settings, "19200") && HasWord(settings, "cstopb"),
                  "19200 E 7 2 accepted: stty shows 19200 and cstopb", "19200 cstopb", settings);
        }
    }
    CloseSerialLine(line);
}

void CheckUnregisteredPort(Session& session) {
    SerialLine line;
    if (!OpenSerialLine(session.port, "9600", line)) {
        return;
    }
    if (OpenSteps(session, "unregistered-port",
                  {"5;" + session.port + ";String;ATZ;", "7;after the port;"})) {
        PressPlay(session);
        Window box = WaitForMessageBox(RunTimeoutMs);
        if (Check(box != nullptr, "send on an unregistered port: a box", "a box", "none")) {
            CheckEqual("send on an unregistered port: caption", std::string("COM port"),
                       Title(box));
            CheckEqual("send on an unregistered port: text",
                       std::string("Port is not initialised!"), BoxText(box));
            CheckEqual("send on an unregistered port: paused, Play enabled", true,
                       IsEnabled(Control(session, ButtonPlay)));
            CheckEqual("send on an unregistered port: paused, Pause disabled", false,
                       IsEnabled(Control(session, ButtonPause)));
            CheckEqual("send on an unregistered port: Stop enabled", true,
                       IsEnabled(Control(session, ButtonStop)));
            // The user clicks Stop on the main window while the box is still open.
            ClickReal(Control(session, ButtonStop));
            Check(WaitUntil([&] { return RunIdle(session); }, RunTimeoutMs),
                  "Stop clicked while \"Port is not initialised!\" is open: the run ends",
                  "Play enabled, Stop disabled", "still running");
            CheckEqual("the run ended before the box was closed: box still open", true,
                       Exists(box) && IsVisible(box));
            AnswerBox(box, Answer::Ok);
            WaitForRunEnd(session, "unregistered port");
            CheckEqual("send on an unregistered port: nothing sent", std::string(),
                       Hex(SerialBytes(line)));
            Check(Text(Control(session, TextState)) != "after the port",
                  "Stop after the box: the next step is not played", "not played",
                  Text(Control(session, TextState)));
        }
    }
    CloseSerialLine(line);
}

void CheckSerialPort(Session& session) {
    const LineCase cases[] = {
        {"9600 N 8 1", "38400 cstopb", "9600 N 8 1", {"9600", "cs8", "-parenb", "-cstopb"}},
        {"19200 N 8 2", "38400 -cstopb", "19200 N 8 2", {"19200", "cs8", "-parenb", "cstopb"}},
    };
    for (const LineCase& row : cases) {
        CheckPortSettings(session, row);
    }
    CheckRefusedSettings(session);
    CheckUnregisteredPort(session);
}

// [SECTION] Wait steps

// The run waits at each Wait step until the target shows its window and square, then until the
// device answers the telegram.
void CheckWaitsForWindowPixelAndAnswer(Session& session, const TargetProgram& target) {
    SerialLine line;
    if (!Check(OpenSerialLine(session.port, "9600", line), "wait: line made", session.port,
               "no line")) {
        return;
    }
    const Point square = TargetSquarePoint(target);
    const std::string port = session.port;
    Window countdown = Control(session, TextWaitCountdown);
    Window frame = Control(session, FrameStep);
    if (OpenSteps(session, "waits",
                  {"10;Window;target second;20.0;0;",
                   "10;Pixel;" + std::to_string(square.x) + " " + std::to_string(square.y) +
                       " 33CC33 8;20.0;0;",
                   "5;" + port + ";Initialise;9600 N 8 1;", "5;" + port + ";String;ATZ;",
                   "10;Answer;" + port + " OK;20.0;0;",
                   // A second Wait for the same answer needs a second one: else step 9.
                   "10;Answer;" + port + " OK;0.5;9;", "7;the answer counted twice;", "6;10;",
                   "7;all seen;", "3;0.0;"})) {
        PressPlay(session);
        WaitForRunStart(session, "waits");
        Check(WaitUntil(
                  [&] {
                      return Text(frame) == "1" && !Text(countdown).empty() &&
                             std::atof(Text(countdown).c_str()) < 19.5;
                  },
                  RunTimeoutMs),
              "wait: step 1 waits for the window, counting down", "below 19.5 at step 1",
              Text(frame) + ": " + Text(countdown));
        const auto usable = [&] {
            std::string numbers;
            for (int control : {ComboWaitFor, StringWaitValue, StringWaitTime, ComboWaitElse}) {
                numbers +=
                    IsEnabled(Control(session, control)) ? std::to_string(control) + " " : "";
            }
            return numbers;
        };
        WaitUntil([&] { return usable().empty(); });
        CheckEqual("wait: the Wait inputs are locked during the run", std::string(), usable());
        ShowTargetSecondWindow(target, true);
        Check(WaitUntil([&] { return SerialBytes(line) == "ATZ"; }, RunTimeoutMs),
              "wait: window and pixel seen, telegram sent", "ATZ", SerialBytes(line));
        Check(WaitUntil([&] { return Text(frame) == "5"; }, RunTimeoutMs),
              "wait: step 5 waits for the answer", "5", Text(frame));
        CheckEqual("wait: the answer is not there yet", true, RunActive(session));
        SerialAnswer(line, "OK");
        WaitForRunEnd(session, "waits");
        CheckEqual("wait: every condition seen, the answer once", std::string("all seen"),
                   Text(Control(session, TextState)));
        CheckEqual("wait: no box", true, OpenMessageBox() == nullptr);
        ShowTargetSecondWindow(target, false);
    }
    CloseSerialLine(line);
}

void CheckWaitTimeOutBox(Session& session) {
    if (!OpenSteps(session, "wait-times-out",
                   {"10;Window;No Such Window;0.5;0;", "7;after the box;"})) {
        return;
    }
    PressPlay(session);
    if (ExpectBox("wait time-out", "Wait", "Timed out after 0.5 s: Window \"No Such Window\"")) {
        PressPlay(session);
        WaitForRunEnd(session, "wait time-out");
        CheckEqual("wait time-out: Play goes on with the next step", std::string("after the box"),
                   Text(Control(session, TextState)));
    }
}

}  // namespace

int main(int argc, char** argv) {
    Session session;
    session.folder = ScratchFolder();
    session.targetPath = Option(argc, argv, "target", OwnFolder() + "Target.exe");
    session.port = Option(argc, argv, "port", "COM5");
    session.main = LaunchProgramUnderTest(argc, argv);
    if (session.main == nullptr) {
        return Finish();
    }
    CheckThreeDelays(session);
    {
        TargetProgram target;  // ends with this block
        if (StartTarget(session, target)) {
            CheckClicks(session, target);
            CheckTyping(session, target);
            CheckScanCodes(session, target);
            CheckOwnEscapeKeepsRunning(session, target);
            CheckWaitsForWindowPixelAndAnswer(session, target);
            CheckNothingPlayedBehindAFailureBox(session, target);
        }
    }
    CheckUserEscapeStopsDelay(session);
    CheckExecuteStartsTarget(session);
    CheckSerialPort(session);
    CheckWaitTimeOutBox(session);
    CheckCloseBoxEndsProgram(session.main);
    return Finish();
}
