// The command line: reading the arguments and carrying them out after start-up.

#include "Quorvane/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "editor/EditorPanel.h"
#include "editor/StepFileCommands.h"
#include "platform/files.h"
#include "platform/system.h"
#include "player/Player.h"
#include "steps/RunLog.h"

namespace {

// Shown under a wrong argument.
constexpr const char* kUsage =
    "Usage: Quorvane.exe [/log LOGFILE] [PATH | /play PATH | /play /exit PATH]";

// Set by FollowCommandLine for /play, taken by StartQueuedRun.
bool gStartQueued = false;
// The run log as /log named it, for the notice of a failed write.
std::string gLogPath;

// How long the program waits for the player to finish its run before it ends.
constexpr int kLeaveWaitMs = 300;

// True when `text` is `name` (lower case) in any letter case.
bool IsNamed(std::string_view text, std::string_view name) {
    return std::equal(text.begin(), text.end(), name.begin(), name.end(), [](char got, char want) {
        return std::tolower(static_cast<unsigned char>(got)) == want;
    });
}

// The path to load: full, or as given when it has no full form (the box then names it as given).
std::string PathToLoad(const std::string& given) {
    const std::string full = platform::FullPath(given);
    return full.empty() ? given : full;
}

}  // namespace

CommandLine ReadCommandLine(const std::vector<std::string>& arguments) {
    CommandLine read;
    // The first fault is the one shown.
    const auto fault = [&read](const std::string& text) {
        if (read.fault.empty()) {
            read.fault = text;
        }
    };
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.empty()) {
            continue;
        }
        if (argument[0] != '/' && argument[0] != '-') {
            if (read.path.empty()) {
                read.path = argument;
            } else {
                fault("Second step file: " + platform::PathAsText(argument));
            }
            continue;
        }
        const std::string_view name = std::string_view(argument).substr(1);
        if (IsNamed(name, "play")) {
            read.play = true;
        } else if (IsNamed(name, "exit")) {
            read.exitAtEnd = true;
        } else if (IsNamed(name, "log")) {
            if (i + 1 < arguments.size() && !arguments[i + 1].empty()) {
                read.logPath = arguments[++i];
            } else {
                fault("/log needs a file");
            }
        } else {
            fault("Unknown option: " + platform::PathAsText(argument));
        }
    }
    if (read.exitAtEnd && !read.play) {
        fault("/exit needs /play");
    }
    if (read.play && read.path.empty()) {
        fault("/play needs a step file");
    }
    return read;
}

void PrepareForCommandLine() {
    const CommandLine commandLine = ReadCommandLine(platform::CommandLineArguments());
    SetKeepInBackground(commandLine.fault.empty() && commandLine.play);
}

namespace {

// FollowCommandLine's work, which queues the run when there is one to start.
void FollowArguments() {
    const CommandLine commandLine = ReadCommandLine(platform::CommandLineArguments());
    const bool unattended = commandLine.exitAtEnd;
    SetUnattended(unattended);
    if (!commandLine.fault.empty()) {
        if (unattended) {
            platform::ExitProcessNow(ExitNotPlayable);
        }
        ShowMessage("Error", commandLine.fault + "\n" + kUsage);
        return;
    }
    gLogPath = commandLine.logPath;
    if (!commandLine.logPath.empty() && !OpenRunLog(PathToLoad(commandLine.logPath))) {
        if (unattended) {
            platform::ExitProcessNow(ExitNotPlayable);
        }
        // The runs go on without a log; the user is told once.
        ShowNotice("Can't open the run log " + platform::PathAsText(commandLine.logPath), FormMAIN);
    }
    if (commandLine.path.empty()) {
        return;
    }
    if (!LoadStepFile(PathToLoad(commandLine.path))) {
        if (unattended) {
            platform::ExitProcessNow(ExitNotPlayable);
        }
        return;
    }
    gStartQueued = commandLine.play;
}

}  // namespace

void FollowCommandLine() {
    FollowArguments();
    // No run will start, so there is nothing to keep out of the foreground for.
    if (!gStartQueued) {
        SetKeepInBackground(false);
    }
}

void StartQueuedRun() {
    if (!gStartQueued) {
        return;
    }
    gStartQueued = false;
    // Play stores the panel first; unattended, a step it refuses (a hand-written file's value)
    // would leave a program that never ends.
    if (Unattended() && SaveActualRecord() == 0) {
        platform::ExitProcessNow(ExitNotPlayable);
    }
    PlaySteps(0);
    if (!RunActive()) {
        SetKeepInBackground(false);
    }
}

void RunHasEnded(RunEnd ended) {
    std::string result = RunEndText(ended);
    if (ended == RunEnd::Failed && !FirstUnattendedFailure().empty()) {
        result += ": " + FirstUnattendedFailure();
    }
    int exitCode = ExitPlayedToEnd;
    switch (ended) {
        case RunEnd::PlayedToEnd:
            exitCode = ExitPlayedToEnd;
            break;
        case RunEnd::Stopped:
            exitCode = ExitStopped;
            break;
        case RunEnd::Failed:
            exitCode = ExitFailed;
            break;
    }
    // A log with a line missing cannot vouch for the run: unattended, a run that played to its
    // end says so by the exit code.
    bool logFailed = TakeRunLogWriteFailure();
    if (logFailed) {
        result += ", the log misses a line before this one";
    }
    if (Unattended() && logFailed && exitCode == ExitPlayedToEnd) {
        exitCode = ExitNotPlayable;
    }
    if (Unattended()) {
        result += ", exit code " + std::to_string(exitCode);
    }
    WriteRunLog(0, "RUN", "ended", result);
    logFailed = TakeRunLogWriteFailure() || logFailed;
    if (Unattended()) {
        platform::ExitProcessNow(logFailed && exitCode == ExitPlayedToEnd ? ExitNotPlayable
                                                                          : exitCode);
    }
    // The run started from the command line is over: from now on the program is used as always.
    SetKeepInBackground(false);
    if (logFailed) {
        ShowNotice("Can't write the run log " + platform::PathAsText(gLogPath), FormMAIN);
    }
}

void LeaveProgram() {
    const bool finished = EndRunAndWait(kLeaveWaitMs);
    // Runs that ended and whose end line is still to be written; unattended, the first ends the
    // process with its own exit code.
    while (const auto ended = TakeRunEnd()) {
        RunHasEnded(*ended);
    }
    if (!finished) {
        // The player is held in a step: what it holds down is released for it, and its run is
        // written down as stopped.
        ReleasePlayerKeys();
        RunHasEnded(RunEnd::Stopped);
    }
    platform::ExitProcessNow(Unattended() ? ExitStopped : 0);
}
