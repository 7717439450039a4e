// The strict check of step lines before the text editor window writes them.

#include "steps/StepTextCheck.h"

#include <algorithm>
#include <string_view>

#include "steps/Numbers.h"
#include "steps/StepFile.h"
#include "steps/StepTypes.h"

namespace {

// The message of the first rule the line breaks; "" when it passes. The field count comes before
// the values; a line of no type passes only as a comment.
std::string_view LineFault(std::string_view line, int64_t codeLines) {
    const CodeLineFields fields = SplitCodeLine(line);
    const StepType* type = FindStepType(ReadStepType(fields[0]));
    if (type == nullptr) {
        return fields[0].starts_with('\'') ? std::string_view{} : CheckUnknownType;
    }
    const auto semicolons = std::count(line.begin(), line.end(), ';');
    if (semicolons != static_cast<std::ptrdiff_t>(type->fields.size()) + 1) {
        return CheckWrongCount;
    }
    return type->check(fields, codeLines);
}

}  // namespace

bool CheckStepLines(const std::vector<std::string>& lines, std::string& message) {
    message.clear();
    const auto codeLines = static_cast<int64_t>(lines.size()) - StepFileHeaderLines;
    for (size_t i = StepFileHeaderLines; i < lines.size(); ++i) {
        const std::string_view fault = LineFault(lines[i], codeLines);
        if (!fault.empty()) {
            message = std::string(fault) + IntegerText(static_cast<int64_t>(i - 2));
            return false;
        }
    }
    return true;
}
