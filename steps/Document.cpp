#include "steps/Document.h"

const std::string ProgramVersion = "V2.2.0";
const std::string ProgramTitle = "Quorvane 2.2";
std::string StepFilePath;
std::string EditorFilePath;
std::string FileUserDate;
std::string FileInformation;
