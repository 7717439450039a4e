// The strict check of step lines before the text editor window writes them.

#include "steps/StepTextCheck.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string_view>

#include "steps/Numbers.h"
#include "steps/StepFile.h"
#include "steps/WaitValues.h"

namespace {

// The two value messages differ in one letter: lower case for a value outside a set or an empty
// text, upper case for a number out of range or a port name.
constexpr std::string_view kWrongCount = "Wrong count of values in CODE line ";
constexpr std::string_view kWrongChoice = "Wrong recordvalues in CODE line ";
constexpr std::string_view kWrongRange = "Wrong Recordvalues in CODE line ";
constexpr std::string_view kUnknownType = "Unknown Recordtype in CODE line ";

bool OneOf(std::string_view text, std::initializer_list<std::string_view> choices) {
    return std::find(choices.begin(), choices.end(), text) != choices.end();
}

bool AtLeastOne(std::string_view text) {
    return ReadInteger64(text) >= 1;
}

// A coordinate is exactly "0" or at least 1 ("00" and "-3" are neither).
bool Coordinate(std::string_view text) {
    return text == "0" || AtLeastOne(text);
}

// A Wait line: a known kind with a value of its form, a time of 0 to 86400, an else of 0 or more.
std::string_view WaitFault(const std::array<std::string_view, 6>& f) {
    float seconds = 0.0f;
    return WaitValueValid(f[1], f[2]) && ReadWaitTime(f[3], seconds) && Coordinate(f[4])
               ? ""
               : kWrongChoice;
}

// The message of the first rule the line breaks; "" when it passes.
std::string_view LineFault(std::string_view line) {
    std::array<std::string_view, 6> f{};
    for (int n = 0; n < 6; ++n) {
        f[static_cast<size_t>(n)] = Field(line, n + 1);
    }
    const auto semicolons = std::count(line.begin(), line.end(), ';');
    const std::string_view type = f[0];
    if (type == "10") {
        return semicolons != 5 ? kWrongCount : WaitFault(f);
    }
    if (type.size() != 1 || type[0] < '1' || type[0] > '9') {
        return !type.empty() && type.front() == '\'' ? "" : kUnknownType;
    }
    constexpr std::array<int, 9> kSemicolons{4, 3, 2, 3, 4, 2, 2, 2, 2};
    if (semicolons != kSemicolons[static_cast<size_t>(type[0] - '1')]) {
        return kWrongCount;
    }
    switch (type[0]) {
        case '1':
            if (!OneOf(f[1], {"L_Click", "Ldbl_Click", "R_Click", "M_Click"})) {
                return kWrongChoice;
            }
            return Coordinate(f[2]) && Coordinate(f[3]) ? "" : kWrongRange;
        case '2':
            return OneOf(f[1], {"String", "Key"}) ? "" : kWrongChoice;
        case '3':
            return ReadFloat(f[1]) >= 0.1f ? "" : kWrongRange;
        case '4':
            return AtLeastOne(f[1]) && AtLeastOne(f[2]) ? "" : kWrongRange;
        case '5':
            if (!f[1].starts_with("COM")) {
                return kWrongRange;
            }
            return OneOf(f[2], {"Initialise", "Hex", "Byte", "String"}) && !f[3].empty()
                       ? ""
                       : kWrongChoice;
        case '6':
            return AtLeastOne(f[1]) ? "" : kWrongRange;
        case '8':
            return f[1].empty() ? kWrongChoice : "";
        default:
            return "";
    }
}

}  // namespace

bool CheckStepLines(const std::vector<std::string>& lines, std::string& message) {
    message.clear();
    for (size_t i = StepFileHeaderLines; i < lines.size(); ++i) {
        const std::string_view fault = LineFault(lines[i]);
        if (!fault.empty()) {
            message = std::string(fault) + IntegerText(static_cast<int64_t>(i - 2));
            return false;
        }
    }
    return true;
}
