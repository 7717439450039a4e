// Starting another program of the tests (the program under test, the target), for the driver's
// own files.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// Starts path with the arguments; false (and a note saying why) when it did not start.
bool StartProcess(const std::string& path, const std::string& arguments,
                  PROCESS_INFORMATION& process);

}  // namespace e2e
