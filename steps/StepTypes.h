// Step types, one row each: the type's number and names, the fields of its CODE line with a
// reader and a writer of each, the text check's rule for its values and the text editor window's
// syntax hint. The loader, the writer, the text check and the text editor window know a type only
// through its row; the panel's row is in editor/PanelTypes.h, the action's in player/.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "steps/StepRecord.h"

// The fields of a CODE line, the type first, split at every ";" once; "" beyond the last. No
// type's line has more fields than this.
constexpr size_t CodeLineFieldsMax = 6;
using CodeLineFields = std::array<std::string_view, CodeLineFieldsMax>;
CodeLineFields SplitCodeLine(std::string_view line);

// The type of a CODE line from its first field: the number of a type as exact text ("01", " 1"
// and "1 " are no type); 0 when it names none.
int32_t ReadStepType(std::string_view firstField);
// The longest first field that can name a type: reading this many characters and one more of a
// line tells its type.
constexpr size_t StepTypeFieldLongest = 2;

// One field of a CODE line between the type and the remark, and the record field it fills.
// Reading the empty text gives the record field its empty value.
struct StepField {
    void (*read)(StepRecord& step, std::string_view text);
    void (*write)(const StepRecord& step, std::string& line);  // appends the field's text
};

// The text check's rule for a line whose type and field count are right: "" when its values
// pass, else the message (one of those below). `codeLines`: the number of lines after the header.
using StepValueRule = std::string_view (*)(const CodeLineFields& fields, int64_t codeLines);

// The text check's messages, each followed by the step number. The two value messages differ in
// one letter: lower case for a value outside a set or an empty text, upper case for a number out
// of range or a port name.
constexpr std::string_view CheckWrongCount = "Wrong count of values in CODE line ";
constexpr std::string_view CheckWrongChoice = "Wrong recordvalues in CODE line ";
constexpr std::string_view CheckWrongRange = "Wrong Recordvalues in CODE line ";
constexpr std::string_view CheckUnknownType = "Unknown Recordtype in CODE line ";

struct StepType {
    int32_t number;                     // RECORDtype
    const char* chooserText;            // "1 Mouse": the type chooser's entry
    const char* upperName;              // "MOUSE": the text editor window and the run log
    std::span<const StepField> fields;  // in file order; the remark follows the last
    StepValueRule check;
    const char* syntax;  // the text editor window's hint: "6;ToStepNo;Remarks"
};

// Every type, in the order of their numbers (the type chooser's order).
std::span<const StepType> StepTypes();
// The row of a type number, nullptr when there is none.
const StepType* FindStepType(int32_t type);

// The chooser text ("1 Mouse") and the upper-case name ("MOUSE") of a type; "" for no type.
const char* TypeChooserText(int32_t type);
const char* TypeUpperName(int32_t type);
// The type whose chooser text is exactly `text`, 0 when none.
int32_t TypeFromChooserText(std::string_view text);

// Gives the fields of `type` their empty values, and leaves every other field as it is.
void ClearStepFields(StepRecord& step, int32_t type);
