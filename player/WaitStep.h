// What the Wait step shares with the Comport step: the ports a run holds open for answers.
#pragma once

#include <string>

#include "player/PlayerInternal.h"

// How the last Wait step of the run being played, or of the last one, went.
const WaitOutcome& LastWaitOutcome();

// An Initialise for the port has been played in this run.
bool PortRegistered(const Run& run, const std::string& portName);
// The port the run holds open for a Wait step, or nullptr.
HeldComPort* FindHeldPort(Run& run, const std::string& portName);
// Opens the held port again after a read failed; false, with "Can't open port!" reported, when
// it cannot be opened.
bool ReopenHeldPort(Run& run, HeldComPort& held);
