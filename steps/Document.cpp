#include "steps/Document.h"

#include "QuorvaneVersion.h"

const std::string ProgramVersion = QUORVANE_VERSION_TEXT;
const std::string ProgramTitle = QUORVANE_TITLE;
const std::string StepFileTitle = "Quorvane 2.2";
std::string StepFilePath;
std::string EditorFilePath;
std::string FileUserDate;
std::string FileInformation;
