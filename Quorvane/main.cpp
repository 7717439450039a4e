#include "Quorvane/CommandLine.h"
#include "Quorvane/Quorvane.h"

int main() {
    StartUp();
    StartBackgroundThreads();
    FollowCommandLine();
    RunEventLoop();
}
