// The strict check of a step file's text before the text editor window writes it.
#pragma once

#include <string>
#include <vector>

// Checks lines 3 and on (0-based) of `lines`. Returns true when all pass; otherwise false with
// the message of the first faulty line ("Wrong count of values in CODE line 2").
bool CheckStepLines(const std::vector<std::string>& lines, std::string& message);
