// Step file reader on arbitrary bytes: every step it yields must write out as one CODE line that
// reads back as the same step (texts without ";" and line breaks).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "steps/Numbers.h"
#include "steps/StepFile.h"

namespace {

bool Survives(const std::string& text) {
    return text.find_first_of(";\r\n") == std::string::npos;
}

// Texts that hold a ";" shift the fields on reading; those steps are left out of the comparison.
bool FieldsSurvive(const StepRecord& step) {
    for (const std::string* text :
         {&step.Remarks, &step.MouseClick, &step.KeyType, &step.KeyName, &step.KeyString,
          &step.ComPort, &step.ComType, &step.ComValue, &step.StateText, &step.ExecFile,
          &step.MessageText, &step.WaitFor, &step.WaitValue, &step.WindowDo, &step.WindowTitle,
          &step.ImageDo, &step.ImageValue}) {
        if (!Survives(*text)) {
            return false;
        }
    }
    return true;
}

// Times (a Delay's, a Wait's) are written with one decimal: the same text counts as the same
// (NaN too, which equals nothing).
bool SameStep(StepRecord a, StepRecord b) {
    for (float StepRecord::*time : {&StepRecord::DelayTime, &StepRecord::WaitTime}) {
        if (OneDecimalText(a.*time) == OneDecimalText(b.*time)) {
            a.*time = b.*time = 0.0f;
        }
    }
    return a == b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ParsedStepFile file = ParseStepFile(bytes);
    std::string line;
    std::string unknown;
    for (const StepRecord& step : file.steps) {
        if (!FormatStepLine(step, line) || line.find_first_of("\r\n") != std::string::npos) {
            std::abort();
        }
        StepRecord again;
        if (ParseStepLine(line, again, unknown) != LineKind::Step) {
            std::abort();
        }
        std::string lineAgain;
        FormatStepLine(again, lineAgain);
        // Writing is stable after one round: the written line reads back and writes the same.
        if (lineAgain != line) {
            std::abort();
        }
        if (FieldsSurvive(step) && !SameStep(step, again)) {
            std::abort();
        }
    }
    return 0;
}
