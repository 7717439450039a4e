#include "steps/Document.h"

#include "QuorvaneVersion.h"

const std::string ProgramVersion = QUORVANE_VERSION_TEXT;
const std::string ProgramTitle = QUORVANE_TITLE;
std::string StepFilePath;
std::string EditorFilePath;
std::string FileUserDate;
std::string FileInformation;
