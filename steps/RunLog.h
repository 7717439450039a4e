// The run log: with `/log FILE`, every run appends one line per event to the file, so that an
// unattended run leaves more than its exit code. A line is
//   local time <TAB> step number <TAB> TYPE <TAB> what it did <TAB> result <CR LF>
// in the system code page, for example
//   2026-12-08 22:10:05.123<TAB>4<TAB>MOUSE<TAB>L_Click 348 362<TAB>ok
// Run lines have no step number and the type "RUN". Each line reaches the file whole as it is
// written, or not at all (a full disk, a file made unwritable): the log never ends in part of a
// line, and a later line that fits is still written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/system.h"

// "2026-12-08 22:10:05.123".
std::string RunLogTime(const platform::LocalTime& time);
// One line with its line end; `step` 0 leaves the step number empty. Tabs and line breaks inside
// the texts become blanks, so that a line stays one line of five fields.
std::string RunLogLine(const platform::LocalTime& time, int32_t step, std::string_view type,
                       std::string_view did, std::string_view result);

// Opens (or creates) the log for appending; false when it cannot be opened or names a device
// (NamesDevice), which is not touched. Every later run of this program start writes to it.
bool OpenRunLog(const std::string& path);
bool RunLogOpen();
// Closes the log and forgets a failed write, as the end of the program start does (each unit
// test starts this way).
void CloseRunLog();
// Appends a line stamped with the current local time; nothing when no log is open. Any thread.
void WriteRunLog(int32_t step, std::string_view type, std::string_view did,
                 std::string_view result);
// True once, the first time it is asked after a line could not be written: the one failed write
// that is reported.
bool TakeRunLogWriteFailure();
