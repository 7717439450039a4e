// The CODE-line format: splitting lines and fields, reading and writing one step.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "steps/Document.h"
#include "steps/Numbers.h"
#include "steps/StepFile.h"

namespace {

constexpr int kMaxFields = 6;
using Fields = std::array<std::string_view, kMaxFields>;

// Takes the next line off the front of `rest`; false when nothing is left.
bool NextLine(std::string_view& rest, std::string_view& line) {
    if (rest.empty()) {
        return false;
    }
    const size_t end = rest.find_first_of("\r\n");
    if (end == std::string_view::npos) {
        line = rest;
        rest = {};
        return true;
    }
    line = rest.substr(0, end);
    const size_t lineEndLength =
        rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n' ? 2 : 1;
    rest.remove_prefix(end + lineEndLength);
    return true;
}

// Fields 1 to 6 of a line in one pass; later fields are not looked at.
Fields SplitFields(std::string_view line) {
    Fields fields{};
    for (int n = 0; n < kMaxFields; ++n) {
        const size_t end = line.find(';');
        fields[static_cast<size_t>(n)] = line.substr(0, end);
        if (end == std::string_view::npos) {
            break;
        }
        line.remove_prefix(end + 1);
    }
    return fields;
}

int32_t StepType(std::string_view field) {
    if (field == "10") {
        return TypeWait;
    }
    return field.size() == 1 && field[0] >= '1' && field[0] <= '9' ? field[0] - '0' : 0;
}

void FillStep(int32_t type, const Fields& f, StepRecord& step) {
    step = StepRecord{};
    step.RECORDtype = type;
    switch (type) {
        case TypeMouse:
            step.MouseClick = f[1];
            step.MouseX = ReadInteger(f[2]);
            step.MouseY = ReadInteger(f[3]);
            step.Remarks = f[4];
            break;
        case TypeKeyboard:
            step.KeyType = f[1];
            (f[1] == "String" ? step.KeyString : step.KeyName) = f[2];
            step.Remarks = f[3];
            break;
        case TypeDelay:
            step.DelayTime = ReadFloat(f[1]);
            step.Remarks = f[2];
            break;
        case TypeLoop:
            step.LoopFrom = ReadInteger(f[1]);
            step.LoopCount = ReadInteger(f[2]);
            step.Remarks = f[3];
            break;
        case TypeComport:
            step.ComPort = f[1];
            step.ComType = f[2];
            step.ComValue = f[3];
            step.Remarks = f[4];
            break;
        case TypeJump:
            step.JumpTo = ReadInteger(f[1]);
            step.Remarks = f[2];
            break;
        case TypeState:
            step.StateText = f[1];
            step.Remarks = f[2];
            break;
        case TypeExecute:
            step.ExecFile = f[1];
            step.Remarks = f[2];
            break;
        case TypeMessage:
            step.MessageText = f[1];
            step.Remarks = f[2];
            break;
        case TypeWait:
            step.WaitFor = f[1];
            step.WaitValue = f[2];
            step.WaitTime = ReadFloat(f[3]);
            step.WaitElse = ReadInteger(f[4]);
            step.Remarks = f[5];
            break;
        default:
            break;
    }
}

// Appends ";" and the text; a line break inside it would split the step in two, so CR and LF
// are written as blanks.
void AppendField(std::string& line, std::string_view text) {
    line += ';';
    const size_t start = line.size();
    line += text;
    for (size_t i = start; i < line.size(); ++i) {
        if (line[i] == '\r' || line[i] == '\n') {
            line[i] = ' ';
        }
    }
}

void AppendField(std::string& line, int32_t value) {
    line += ';';
    line += IntegerText(value);
}

size_t CountStepLines(std::string_view bytes) {
    size_t steps = 0;
    std::string_view line;
    while (NextLine(bytes, line)) {
        steps += StepType(line.substr(0, line.find(';'))) != 0 ? 1 : 0;
    }
    return steps;
}

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::string_view line;
    while (NextLine(bytes, line)) {
        lines.push_back(line);
    }
    return lines;
}

std::string_view Field(std::string_view line, int n, char separator) {
    for (int at = 1; at < n; ++at) {
        const size_t end = line.find(separator);
        if (end == std::string_view::npos) {
            return {};
        }
        line.remove_prefix(end + 1);
    }
    return n < 1 ? std::string_view{} : line.substr(0, line.find(separator));
}

LineKind ParseStepLine(std::string_view line, StepRecord& step, std::string& unknownType) {
    if (line.empty()) {
        return LineKind::Empty;
    }
    const Fields fields = SplitFields(line);
    const int32_t type = StepType(fields[0]);
    if (type != 0) {
        FillStep(type, fields, step);
        return LineKind::Step;
    }
    if (fields[0].starts_with('\'')) {
        return LineKind::Comment;
    }
    unknownType = fields[0];
    return LineKind::Unknown;
}

bool FormatStepLine(const StepRecord& step, std::string& line) {
    line.clear();
    if (step.RECORDtype < TypeMouse || step.RECORDtype > TypeWait) {
        return false;
    }
    line += IntegerText(step.RECORDtype);
    switch (step.RECORDtype) {
        case TypeMouse:
            AppendField(line, step.MouseClick);
            AppendField(line, step.MouseX);
            AppendField(line, step.MouseY);
            break;
        case TypeKeyboard:
            AppendField(line, step.KeyType);
            AppendField(line, step.KeyType == "String" ? step.KeyString : step.KeyName);
            break;
        case TypeDelay:
            AppendField(line, OneDecimalText(step.DelayTime));
            break;
        case TypeLoop:
            AppendField(line, step.LoopFrom);
            AppendField(line, step.LoopCount);
            break;
        case TypeComport:
            AppendField(line, step.ComPort);
            AppendField(line, step.ComType);
            AppendField(line, step.ComValue);
            break;
        case TypeJump:
            AppendField(line, step.JumpTo);
            break;
        case TypeState:
            AppendField(line, step.StateText);
            break;
        case TypeExecute:
            AppendField(line, step.ExecFile);
            break;
        case TypeWait:
            AppendField(line, step.WaitFor);
            AppendField(line, step.WaitValue);
            AppendField(line, OneDecimalText(step.WaitTime));
            AppendField(line, step.WaitElse);
            break;
        default:
            AppendField(line, step.MessageText);
            break;
    }
    AppendField(line, step.Remarks);
    return true;
}

ParsedStepFile ParseStepFile(std::string_view bytes) {
    ParsedStepFile file;
    std::string_view line;
    if (!NextLine(bytes, line) || line != StepFileTitle) {
        return file;
    }
    file.titleMatches = true;
    if (NextLine(bytes, line)) {
        file.userDate = line;
    }
    if (NextLine(bytes, line)) {
        file.information = line;
    }
    // Records are large: size the list once instead of moving them all on every regrowth.
    file.steps.reserve(CountStepLines(bytes));
    std::string unknownType;
    while (NextLine(bytes, line)) {
        StepRecord& step = file.steps.emplace_back();
        const LineKind kind = ParseStepLine(line, step, unknownType);
        if (kind != LineKind::Step) {
            file.steps.pop_back();
        }
        if (kind == LineKind::Unknown) {
            file.unknownTypes.push_back(std::move(unknownType));
        }
    }
    return file;
}
