// The command line: a step file to open, and to play with /play; with /exit as well the program
// runs unattended and ends with the run.
#pragma once

#include <string>
#include <vector>

struct CommandLine {
    std::string path;        // the step file as given; "" when none
    bool play = false;       // /play: play it once it has loaded
    bool exitAtEnd = false;  // /exit: unattended, the program ends with the run
    std::string fault;       // what is wrong, naming the argument; "" when nothing is
};

// Reads the arguments (without the program's name). Options start with "/" or "-", in any letter
// case, and stand before or after the path; an empty argument counts as none.
CommandLine ReadCommandLine(const std::vector<std::string>& arguments);

// After start-up, before the event loop: opens and plays what the program's command line names.
// A relative path is taken from the current folder. With /exit the process ends here on a wrong
// argument or a file that does not load or play (exit code 2), and otherwise with the run.
void FollowCommandLine();
