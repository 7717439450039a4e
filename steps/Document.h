// The document values: program identity and the files the windows work on.
#pragma once

#include <string>

extern const std::string ProgramVersion;  // "V2.2.0"
extern const std::string ProgramTitle;    // "Quorvane 2.2", from the build's version
// The first line of every step file, a fixed part of the format: a new version of the program
// must still open every file written before it, so it never follows the build's version.
extern const std::string StepFileTitle;  // "Quorvane 2.2"
extern std::string StepFilePath;         // step file of the main window; "" = none yet
extern std::string EditorFilePath;       // file of the text editor window; "" = template
extern std::string FileUserDate;         // second header line of the last loaded file
extern std::string FileInformation;      // third header line, written back by every save
