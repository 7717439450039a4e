// Quorvane.exe started with arguments, seen from outside: a step file named on the command line
// opens in the window, and unattended runs (/play /exit) end the program with their exit code
// without ever showing a box that would wait for nobody.
// Options: --program=<Quorvane.exe> --target=<Target.exe>.
#include <algorithm>
#include <string>
#include <vector>

#include "Driver.h"
#include "Forms/FormMAIN.h"

using namespace e2e;

namespace {

constexpr int RunTimeoutMs = 30000;

struct Session {
    std::string program;
    std::string folder;  // where the step files are written
    std::string targetPath;
    TargetProgram target;  // the program in front while unattended lists run
    int files = 0;
};

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// Writes the steps to a new step file; its full path, "" when it could not be written.
std::string WriteSteps(Session& session, const std::string& name,
                       const std::vector<std::string>& steps) {
    const std::string text = StepFileText(steps, "command line test");
    const std::string path =
        session.folder + "cmd-" + std::to_string(++session.files) + "-" + name + ".stp";
    return Check(WriteWholeFile(path, text), "step file written: " + name, path, "not written")
               ? path
               : "";
}

// Starts Quorvane.exe with the arguments, as a scheduled task or a script would.
bool Start(const Session& session, const std::string& arguments) {
    return Check(Launch(session.program, arguments), "starts: Quorvane.exe " + arguments,
                 "a process", "none");
}

// Waits for the program to end on its own. A box shown meanwhile would wait for a person who is
// not there: it is reported and the program ended.
void CheckEndsUnattended(const std::string& what, unsigned long expectedCode,
                         int timeoutMs = RunTimeoutMs) {
    Window box = nullptr;
    WaitUntil([&] { return HasExited() || (box = OpenMessageBox()) != nullptr; }, timeoutMs);
    const std::string boxShown = box == nullptr ? "" : Title(box) + ": " + BoxText(box);
    CheckEqual(what + ": no box", std::string(), boxShown);
    unsigned long exitCode = 259;
    const bool ended = box == nullptr && WaitForExit(exitCode, 1000);
    Check(ended, what + ": the program ends by itself", "ended", "still running");
    if (ended) {
        Note(what + ": exit code " + std::to_string(exitCode));
        CheckEqual(what + ": exit code", expectedCode, exitCode);
    }
    EndProgram();
}

// [SECTION] A file opened from the command line

std::string UniqueSuffix() {
    return std::to_string(static_cast<long long>(WallClockMs()));
}

// The way up from the driver's current folder, which the program inherits, to the root of its
// drive: "..\" once per folder. A Unix program started by Wine runs in the same folder, and the
// folders outside the Wine prefix are drive Z:.
std::string UpToRoot() {
    const std::string stamp = "/tmp/quorvane-e2e-cwd-" + UniqueSuffix();
    RunShell("pwd >" + stamp);
    const std::string folder = ReadWholeFile(WindowsPathOf(stamp));
    RunShell("rm -f " + stamp);
    std::string up;
    for (char c : folder) {
        if (c == '/') {
            up += "..\\";
        }
    }
    return folder == "/\n" ? "" : up;
}

void CheckOpensRelativePathWithBlanks(const Session& session) {
    const std::string unixFolder = "/tmp/quorvane-e2e-cmdline-" + UniqueSuffix();
    const std::string fileName = "nightly list.stp";
    const std::string fullPath = WindowsPathOf(unixFolder + "/" + fileName);
    RunShell("mkdir -p " + unixFolder);
    // Without "Z:\".
    const std::string relative = UpToRoot() + fullPath.substr(3);
    const std::string steps = StepFileText({"7;from the command line;"});
    if (Check(WriteWholeFile(fullPath, steps), "step file with blanks written", fileName,
              "not written") &&
        Start(session, Quoted(relative))) {
        Window main = WaitForWindow("Quorvane", StartTimeoutMs);
        if (Check(main != nullptr, "main window shows", "a window titled \"Quorvane\"", "none")) {
            Window textFile = FindControl(main, TextFile);
            WaitUntil([&] { return Text(textFile) == fileName; });
            CheckEqual("a relative path with blanks, quoted: its name in TextFile", fileName,
                       Text(textFile));
            CheckEqual("the step panel shows", true, IsVisible(FindControl(main, ContainerStep)));
            CheckEqual("Play is offered, nothing runs", true,
                       IsEnabled(FindControl(main, ButtonPlay)) &&
                           !IsEnabled(FindControl(main, ButtonStop)));
            CheckEqual("no box", true, OpenMessageBox() == nullptr);
        }
    }
    EndProgram();
    RunShell("rm -rf " + unixFolder);
}

// [SECTION] Unattended runs

// The fields of the run log's lines, without the time: "step|TYPE|what|result".
std::vector<std::string> RunLogFields(const std::string& path) {
    std::vector<std::string> lines;
    const std::string log = ReadWholeFile(path);
    size_t start = 0;
    for (size_t end = log.find("\r\n"); end != std::string::npos; end = log.find("\r\n", start)) {
        std::string line = log.substr(start, end - start);
        start = end + 2;
        const size_t afterTime = line.find('\t');
        line = afterTime == std::string::npos ? line : line.substr(afterTime + 1);
        std::replace(line.begin(), line.end(), '\t', '|');
        lines.push_back(line);
    }
    return lines;
}

// Unattended lists start at once, with no Delay first: the program started from the command
// line keeps out of the foreground, so the program in front receives every key. One list only
// types into the program that has the focus; one clicks into the target itself and then types,
// and writes a run log.
void CheckPlayedToTheEnd(Session& session) {
    TargetProgram& target = session.target;
    if (!StartTarget(session.targetPath, session.folder + "target.log", target)) {
        return;
    }
    if (Check(FocusTargetEdit(target), "the target's edit has the focus", "focus", "none")) {
        const std::string typed = "Only typed";
        const size_t from = TargetLogSize(target);
        const std::string path = WriteSteps(session, "type-only", {"2;String;" + typed + ";"});
        if (!path.empty() && Start(session, "/play /exit " + Quoted(path))) {
            CheckEndsUnattended("a list that only types", 0);
            WaitUntil([&] { return TypedCharacters(target, from) == typed; }, 3000);
            CheckEqual("the program in front receives every key", typed,
                       TypedCharacters(target, from));
        }
    }
    // The left end of the edit lies outside the centred main window.
    const Box box = ScreenBox(FindControl(target.window, TargetEdit));
    const Point spot{box.x + 10, box.y + box.height / 2};
    MoveMouse(5, 5);
    const std::string text = "Typed by a nightly run";
    const std::string click =
        "L_Click;" + std::to_string(spot.x) + ";" + std::to_string(spot.y) + ";";
    const std::string path =
        WriteSteps(session, "click-then-type", {"1;" + click, "2;String;" + text + ";"});
    const std::string log = session.folder + "nightly run.log";
    WriteWholeFile(log, "");
    const size_t from = TargetLogSize(target);
    if (!path.empty() && Start(session, "/log " + Quoted(log) + " /play /exit " + Quoted(path))) {
        CheckEndsUnattended("a list that clicks, then types", 0);
        WaitUntil([&] { return TypedCharacters(target, from) == text; }, 3000);
        CheckEqual("the click and the typed text arrive in the target", text,
                   TypedCharacters(target, from));
        std::string clickDone = click.substr(0, click.size() - 1);
        std::replace(clickDone.begin(), clickDone.end(), ';', ' ');
        const std::vector<std::string> expected = {
            "|RUN|started " + path + "|Quorvane V2.2.0", "1|MOUSE|" + clickDone + "|ok",
            "2|KEYBOARD|typed " + std::to_string(text.size()) + " characters|ok",
            "|RUN|ended|played to the end, exit code 0"};
        CheckEqual("the run log", Join(expected, "\n"), Join(RunLogFields(log), "\n"));
    }
}

// The user presses Escape while working in the program in front, which keeps the keyboard.
void CheckEscapeStops(Session& session) {
    const std::string path = WriteSteps(session, "long-delay", {"3;30.0;", "7;not reached;"});
    if (path.empty() || session.target.window == nullptr || !FocusTargetEdit(session.target) ||
        !Start(session, "-PLAY " + Quoted(path) + " -Exit")) {
        return;
    }
    Window main = WaitForWindow("Quorvane", StartTimeoutMs);
    Window countdown = main == nullptr ? nullptr : FindControl(main, TextCountdown);
    if (!Check(WaitUntil([&] { return Text(countdown) == "29.5"; }, StartTimeoutMs),
               "the long delay counts down", "29.5", Text(countdown))) {
        EndProgram();
        return;
    }
    Xdotool("key Escape");
    CheckEndsUnattended("the user's Escape during a Delay", 1, 10000);
}

// The close box in the middle of a long upper-case text ends the run as Stop does: the player
// lets go of every Shift it pressed (the target's low-level key log shows it), and the run log
// gets its end line.
void CheckCloseBoxDuringLongText(Session& session) {
    TargetProgram& target = session.target;
    const std::string path =
        WriteSteps(session, "long-capitals", {"2;String;" + std::string(20000, 'Q') + ";"});
    const std::string log = session.folder + "closed run.log";
    if (target.window == nullptr || path.empty() || !WatchTargetKeys(target) ||
        !FocusTargetEdit(target) || !WriteWholeFile(log, "")) {
        return;
    }
    const size_t from = TargetLogSize(target);
    Window main = nullptr;
    if (!Start(session, "/log " + Quoted(log) + " /play /exit " + Quoted(path)) ||
        !Check(WaitUntil([&] { return TypedCharacters(target, from).size() >= 100; },
                         StartTimeoutMs) &&
                   (main = WaitForWindow("Quorvane")) != nullptr,
               "the long text is being typed", "100 characters", "fewer")) {
        EndProgram();
        return;
    }
    RequestClose(main);
    CheckEndsUnattended("the close box during a long text", 1);
    // The last Shift event (16, or 160 and 161 for left and right) must be an up.
    const auto lastShift = [&] {
        std::string last = "none";
        for (const std::string& line : TargetLogLines(target, from, "llkey ")) {
            last = line.ends_with(" 16") || line.ends_with(" 160") || line.ends_with(" 161") ? line
                                                                                             : last;
        }
        return last;
    };
    WaitUntil([&] { return lastShift().starts_with("llkey up"); }, 3000);
    CheckEqual("every Shift down the run pressed has its up", std::string("llkey up"),
               lastShift().substr(0, 8));
    const std::vector<std::string> lines = RunLogFields(log);
    CheckEqual("the close box: the run log's last line",
               std::string("|RUN|ended|stopped, exit code 1"),
               lines.empty() ? std::string() : lines.back());
}

void CheckMissingFile(const Session& session) {
    const std::string missing = session.folder + "no such list.stp";
    if (Start(session, "/play /exit " + Quoted(missing))) {
        CheckEndsUnattended("a missing file", 2);
    }
}

void CheckUnregisteredPort(Session& session) {
    const std::string path =
        WriteSteps(session, "unregistered-port", {"5;COM5;String;ATZ;", "7;not reached;"});
    if (!path.empty() && Start(session, "/play /exit " + Quoted(path))) {
        CheckEndsUnattended("a send on an unregistered port", 3);
    }
}

// [SECTION] Paths: devices, any characters, long paths

// A port named as the step file or the run log, or a file name Windows opens as that port, is
// refused by its name: opening it would block the first read for good, and toggle the lines of
// a real port.
void CheckDevicePaths(Session& session) {
    SerialLine line;
    if (!Check(OpenSerialLine("COM6", "raw", line), "port COM6 linked", "a serial line", "none") ||
        !Check(WatchSerialOpens(line), "openings of COM6 watched", "a watch", "none")) {
        CloseSerialLine(line);
        return;
    }
    const std::string list = WriteSteps(session, "logged-to-a-port", {"7;never played;"});
    if (!list.empty() && Start(session, "/log COM6 /play /exit " + Quoted(list))) {
        CheckEndsUnattended("a port named as the run log, unattended", 2);
    }
    if (Start(session, "COM6")) {
        Window box = WaitForMessageBox(RunTimeoutMs);
        const std::string shown = box == nullptr ? "no box" : Title(box) + ": " + BoxText(box);
        Check(shown.starts_with("Error: File not open ") && shown.ends_with("COM6"),
              "a port named on the command line: refused", "Error: File not open ...COM6", shown);
        EndProgram();
    }
    if (Start(session, "/play /exit " + Quoted(session.folder + "com6.stp"))) {
        CheckEndsUnattended("a file named com6.stp, unattended", 2);
    }
    // The test's own look at the line opens it once; it shows that the watch sees an opening.
    SerialSettings(line);
    WaitUntil([&] { return SerialOpens(line) >= 1; }, 5000);
    CheckEqual("the port was never opened by Quorvane: only the test's own look", 1,
               SerialOpens(line));
    CloseSerialLine(line);
}

// A step file in a folder whose name the system code page cannot hold, and one whose full path
// is longer than 260 characters: each opens from the command line and saves in place.
void CheckUnicodeAndLongPaths(Session& session) {
    const std::string unicodeFolder = session.folder + "\u65e5\u672c\\";
    std::string longFolder = session.folder;
    while (longFolder.size() < 300) {
        longFolder += "a folder with a rather long name\\";
        MakeFolder(longFolder);
    }
    MakeFolder(unicodeFolder);
    const struct {
        std::string what;
        std::string folder;
    } rows[] = {{"a folder named \u65e5\u672c", unicodeFolder},
                {"a path of " + std::to_string(longFolder.size() + 8) + " characters", longFolder}};
    for (const auto& row : rows) {
        const std::string path = row.folder + "list.stp";
        const std::string written = StepFileText({"7;far away;"});
        if (!Check(WriteWholeFile(path, written), row.what + ": step file written", path,
                   "not written") ||
            !Start(session, Quoted(path))) {
            continue;
        }
        Window main = WaitForWindow("Quorvane", StartTimeoutMs);
        Window textFile = main == nullptr ? nullptr : FindControl(main, TextFile);
        Check(WaitUntil([&] { return Text(textFile) == "list.stp"; }),
              row.what + ": opens from the command line", "list.stp", Text(textFile));
        ChooseMenuItem(main, MenuSave);
        ExpectBox(row.what + ": saved", "OK", "File saved");
        const std::string saved = ReadWholeFile(path);
        Check(saved != written && saved.starts_with("Quorvane 2.2\r\n" + LoggedOnUser() + "  -  "),
              row.what + ": saved in place", "a new user-and-date line", Describe(saved));
        EndProgram();
    }
}

// A time-out without an else step, and one whose else step is not in the list (the list had
// more steps when it was written): neither may pass for a run played to its end.
void CheckWaitTimedOut(Session& session) {
    const struct {
        const char* what;
        const char* wait;
    } rows[] = {{"a Wait that timed out", "10;Window;No Such Window;0.5;0;"},
                {"a Wait whose else step is not in the list", "10;Window;No Such Window;0.5;9;"}};
    for (const auto& row : rows) {
        const std::string path =
            WriteSteps(session, "wait-times-out", {row.wait, "7;not reached;"});
        if (!path.empty() && Start(session, "/play /exit " + Quoted(path))) {
            CheckEndsUnattended(row.what, 3);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    Session session;
    session.program = ProgramPath(argc, argv);
    session.folder = ScratchFolder();
    session.targetPath = Option(argc, argv, "target", OwnFolder() + "Target.exe");
    CheckOpensRelativePathWithBlanks(session);
    CheckPlayedToTheEnd(session);
    CheckMissingFile(session);
    CheckUnregisteredPort(session);
    CheckWaitTimedOut(session);
    CheckEscapeStops(session);
    CheckCloseBoxDuringLongText(session);
    CheckDevicePaths(session);
    CheckUnicodeAndLongPaths(session);
    EndProgram();
    return Finish();
}
