// Quorvane.exe started with arguments, seen from outside: a step file named on the command line
// opens in the window, and unattended runs (/play /exit) end the program with their exit code
// without ever showing a box that would wait for nobody.
// Options: --program=<Quorvane.exe> --target=<Target.exe>.
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

void CheckPlayedToTheEnd(Session& session) {
    const std::string log = session.folder + "target.log";
    WriteWholeFile(log, "");
    Process targetProcess;
    if (!Check(targetProcess.Start(session.targetPath, Quoted(log)), "target starts",
               session.targetPath, "no process")) {
        return;
    }
    Window target = WaitForAnyWindow(TargetTitle, StartTimeoutMs);
    if (!Check(target != nullptr, "target window shows", TargetTitle, "none")) {
        return;
    }
    // The list clicks into the target's edit itself, as a nightly list must: nobody gives it
    // the focus. The left end of the edit lies outside the centred main window.
    Window edit = FindControl(target, TargetEdit);
    const Box box = ScreenBox(edit);
    const Point spot{box.x + 10, box.y + box.height / 2};
    const std::string text = "Typed by a nightly run";
    MoveMouse(5, 5);
    const std::string path = WriteSteps(
        session, "typing",
        {"3;1.0;", "1;L_Click;" + std::to_string(spot.x) + ";" + std::to_string(spot.y) + ";",
         "2;String;" + text + ";"});
    if (!path.empty() && Start(session, "/play /exit " + Quoted(path))) {
        CheckEndsUnattended("list played to its end", 0);
        WaitUntil([&] { return Text(edit) == text; }, 3000);
        CheckEqual("the typed text arrives in the target", text, Text(edit));
    }
}

void CheckEscapeStops(Session& session) {
    const std::string path = WriteSteps(session, "long-delay", {"3;30.0;", "7;not reached;"});
    if (path.empty() || !Start(session, "-PLAY " + Quoted(path) + " -Exit")) {
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

void CheckWaitTimedOut(Session& session) {
    const std::string path = WriteSteps(session, "wait-times-out",
                                        {"10;Window;No Such Window;0.5;0;", "7;not reached;"});
    if (!path.empty() && Start(session, "/play /exit " + Quoted(path))) {
        CheckEndsUnattended("a Wait that timed out", 3);
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
    EndProgram();
    return Finish();
}
