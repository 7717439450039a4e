// The target program for the typing benchmark: started beside the benchmark, its edit focused,
// its log read back. These are the typing benchmark's only direct Win32 calls.
#pragma once

#include <string>

namespace bench {

// Starts Target.exe logging into logPath and gives its edit the keyboard focus; false when the
// target does not start or the edit does not get the focus.
bool StartTargetWithFocusedEdit(const std::string& targetPath, const std::string& logPath);
// Ends the target started above.
void EndTarget();
// Whole content of a file, "" when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// Path of a new file in the temporary folder.
std::string TemporaryFile(const std::string& name);
// Monotonic milliseconds.
double NowMs();
// Sleeps a little between polls.
void PollPause();

}  // namespace bench
