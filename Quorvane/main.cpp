#include "Quorvane/Quorvane.h"

int main() {
    StartUp();
    StartBackgroundThreads();
    RunEventLoop();
}
