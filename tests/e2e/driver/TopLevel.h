// The top-level window search behind Windows.cpp and Boxes.cpp (driver only).
#pragma once

#include <windows.h>

#include <functional>

namespace e2e {

// First visible top-level window of the process (0: of any process) for which matches is true,
// nullptr when none.
HWND FindTopLevel(unsigned long processId, const std::function<bool(HWND)>& matches);

}  // namespace e2e
