// Creating a window's controls from a table in creation order.
#pragma once

#include <span>

#include "platform/window.h"

struct ControlRow {
    int number;
    platform::ControlSpec shape;
    int font = -1;  // -1: the default font
    bool enabled = true;
    bool hidden = false;
};

void CreateControls(std::span<const ControlRow> rows);
