// The command line: a step file to open, and to play with /play; with /exit as well the program
// runs unattended and ends with the run; /log FILE appends every run's events to FILE.
#pragma once

#include <string>
#include <vector>

#include "player/Player.h"

struct CommandLine {
    std::string path;        // the step file as given; "" when none
    bool play = false;       // /play: play it once it has loaded
    bool exitAtEnd = false;  // /exit: unattended, the program ends with the run
    std::string fault;       // what is wrong, naming the argument; "" when nothing is
    std::string logPath;     // /log FILE: the run log; "" when none
};

// Exit codes of the process in unattended mode.
constexpr int ExitPlayedToEnd = 0;
constexpr int ExitStopped = 1;  // Stop, Escape or the close box
// Wrong arguments, a file that does not load or play, or a run log that cannot be opened, or
// that missed a line of a run that otherwise played to its end.
constexpr int ExitNotPlayable = 2;
constexpr int ExitFailed = 3;  // a failure that would have waited for a person

// Reads the arguments (without the program's name). Options start with "/" or "-", in any letter
// case, and stand before or after the path; "/log" takes the argument after it as its file; an
// empty argument counts as none.
CommandLine ReadCommandLine(const std::vector<std::string>& arguments);

// Before start-up: a program started to play keeps out of the foreground from its first window,
// until its run ends or it is clear that the run will not start (FollowCommandLine,
// StartQueuedRun).
void PrepareForCommandLine();
// After start-up, before the event loop: opens the run log, opens what the program's command line
// names and, for /play, queues the start of the run. A relative path is taken from the current
// folder. With /exit the process ends here on a wrong argument, a log that cannot be opened or a
// file that does not load (exit code 2).
void FollowCommandLine();
// Starts the run FollowCommandLine queued, if any, as Control > Play does. The event loop calls
// it once start-up has settled. Unattended, a first step the panel refuses ends with 2.
void StartQueuedRun();
// The run has ended: its last line goes into the run log and, unattended, the process ends with
// the run's exit code. The first line the log could not take is reported here: by a notice with
// a person there, by the exit code unattended.
void RunHasEnded(RunEnd ended);
// The close box and File > Exit: a run still going ends as Stop ends it, the player gets a short
// time to finish it (it releases the keys it holds), its end goes into the run log, then the
// process ends: exit code 0, unattended ExitStopped (or the code of a run that had just ended).
[[noreturn]] void LeaveProgram();
