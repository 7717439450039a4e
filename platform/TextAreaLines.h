// How a multi-line text area's lines make its text, shared by both platform implementations so
// that they agree: lines joined by CR LF, no line end after the last.
#pragma once

#include <string>
#include <vector>

namespace platform {

inline std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t line = 0; line < lines.size(); ++line) {
        if (line > 0) {
            text += "\r\n";
        }
        text += lines[line];
    }
    return text;
}

}  // namespace platform
