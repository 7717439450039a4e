// Step files: the CODE-line format, a whole file as bytes and back, and safe writing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "steps/StepRecord.h"

// Format (no platform, no globals)

// Title, user-and-date line and information line stand before the first CODE line.
constexpr int StepFileHeaderLines = 3;

// Splits bytes into lines at CR LF, lone LF, lone CR; a last line without a line end counts,
// a line end at the very end makes no extra empty line.
std::vector<std::string_view> SplitLines(std::string_view bytes);
// Field n (1-based) of a line cut at every separator (";" in CODE lines, " " in port
// parameters); "" beyond the last.
std::string_view Field(std::string_view line, int n, char separator = ';');

enum class LineKind { Step, Empty, Comment, Unknown };
// Reads one CODE line. For Step, `step` holds the record; for Unknown, `unknownType` field 1.
LineKind ParseStepLine(std::string_view line, StepRecord& step, std::string& unknownType);
// The CODE line of a record without line end; false (and "") for a number that is no type.
bool FormatStepLine(const StepRecord& step, std::string& line);

struct ParsedStepFile {
    bool titleMatches = false;
    std::string userDate;     // line 2
    std::string information;  // line 3
    std::vector<StepRecord> steps;
    std::vector<std::string> unknownTypes;  // field 1 of every unknown line, in order
};
ParsedStepFile ParseStepFile(std::string_view bytes);

// Safe writing

enum class WriteResult { Written, CannotCreate, WriteFailed };
// Writes bytes to a new file beside path, flushes it and only then moves it over path. On any
// failure the old file is left byte for byte as it was and the new one is removed.
WriteResult WriteFileSafely(const std::string& path, std::string_view bytes);
// True when Windows takes the path's file name for a device rather than a file: CON, PRN, AUX,
// NUL, COM0 to COM9, LPT0 to LPT9, CONIN$ and CONOUT$ in any letter case, with any extension
// and with trailing dots or blanks ("com5.stp", "Nul .txt"), and every "\\.\" path.
bool NamesDevice(std::string_view path);

// Whole files

// The bytes of the whole step file for the current list: the three header lines (title, the
// user and time of now, FileInformation) and one CODE line per step, each ended by CR LF. A step
// whose number is no type gets an empty line; its number is added to `unknownTypes`.
std::string StepFileBytes(std::vector<int32_t>& unknownTypes);
// Appends ".stp" unless the path ends in exactly ".stp".
std::string WithStepExtension(std::string path);
