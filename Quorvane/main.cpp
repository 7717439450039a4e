#include "Quorvane/CommandLine.h"
#include "Quorvane/Quorvane.h"

int main() {
    PrepareForCommandLine();
    StartUp();
    StartBackgroundThreads();
    FollowCommandLine();
    RunEventLoop();
}
