// Creating a window's controls from a table in creation order.
#pragma once

#include <span>

#include "platform/window.h"

// What a run does to a control: LockControls disables the editing controls for its length. The
// rule (RunLockedControls) takes every drop-down list, input and button inside ContainerStep
// (ByPlace), the rows marked Locked besides, and leaves out the rows marked Free.
enum class DuringRun { ByPlace, Locked, Free };

struct ControlRow {
    int number;
    platform::ControlSpec shape;
    int font = -1;  // -1: the default font
    bool enabled = true;
    bool hidden = false;
    DuringRun duringRun = DuringRun::ByPlace;
};

void CreateControls(std::span<const ControlRow> rows);
