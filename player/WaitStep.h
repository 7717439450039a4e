// The Wait step and what it shares with the Comport step: the held ports.
#pragma once

#include <cstdint>
#include <string>

#include "player/Player.h"

// How the last Wait step went, for the run's record of it.
struct WaitOutcome {
    int64_t waitedMicroseconds =
        0;  // from its start to the condition or the time-out, pauses not counted
    bool timedOut = false;
    bool ended = false;  // the run ended (Stop, Escape) while it waited
};
const WaitOutcome& LastWaitOutcome();

// Ports (player/Comport.cpp)
// An Initialise for the port has been played in this run.
bool PortRegistered(const std::string& portName);
// The port held open for a Wait step, or nullptr.
HeldComPort* FindHeldPort(const std::string& portName);
// Moves what has come in on the held port into its buffer; false when the port failed.
bool TakeIncoming(HeldComPort& held);
