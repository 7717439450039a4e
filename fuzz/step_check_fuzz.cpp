// The step text check on lines split from arbitrary bytes: a verdict for every input, and a
// message names a step line that exists.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "steps/StepFile.h"
#include "steps/StepTextCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    for (std::string_view line : SplitLines(bytes)) {
        lines.emplace_back(line);
    }
    std::string message;
    const bool passed = CheckStepLines(lines, message);
    if (passed != message.empty()) {
        std::abort();
    }
    if (!passed) {
        const size_t number = std::stoul(message.substr(message.rfind(' ') + 1));
        if (number < 1 || number + 3 > lines.size()) {
            std::abort();
        }
    }
    return 0;
}
