// The CODE-line format: splitting lines and fields, reading and writing one step.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "steps/Document.h"
#include "steps/Numbers.h"
#include "steps/StepFile.h"
#include "steps/StepTypes.h"

namespace {

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

// The record of a line of the type's row: its fields in file order, the remark after them; the
// line's field count is not checked (missing fields are empty, extra ones ignored).
void FillStep(const StepType& type, const CodeLineFields& f, StepRecord& step) {
    step = StepRecord{};
    step.RECORDtype = type.number;
    size_t at = 1;
    for (const StepField& field : type.fields) {
        field.read(step, f[at++]);
    }
    step.Remarks = f[at];
}

// Appends ";" and what `write` writes; a line break inside a text would split the step in two,
// so CR and LF are written as blanks.
template <typename Write>
void AppendField(std::string& line, Write write) {
    line += ';';
    const size_t start = line.size();
    write(line);
    for (size_t i = start; i < line.size(); ++i) {
        if (line[i] == '\r' || line[i] == '\n') {
            line[i] = ' ';
        }
    }
}

size_t CountStepLines(std::string_view bytes) {
    size_t steps = 0;
    std::string_view line;
    while (NextLine(bytes, line)) {
        steps += ReadStepType(line.substr(0, line.find(';'))) != 0 ? 1 : 0;
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
    const CodeLineFields fields = SplitCodeLine(line);
    if (const StepType* type = FindStepType(ReadStepType(fields[0]))) {
        FillStep(*type, fields, step);
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
    const StepType* type = FindStepType(step.RECORDtype);
    if (type == nullptr) {
        return false;
    }
    line += IntegerText(type->number);
    for (const StepField& field : type->fields) {
        AppendField(line, [&](std::string& text) { field.write(step, text); });
    }
    AppendField(line, [&](std::string& text) { text += step.Remarks; });
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
