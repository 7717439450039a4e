// The key-text reader on arbitrary bytes: what it reads writes out as a text that reads back as
// the same keys (what cannot be typed left out), never holds a ";" that would cut the step's
// field, and writes out the same again.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "steps/KeyText.h"

namespace {

// The tokens a written text keeps: keys, modifiers and printable characters.
bool Written(const KeyToken& token) {
    if (token.kind == KeyTokenKind::Character) {
        return static_cast<unsigned char>(token.character) >= 0x20;
    }
    return token.kind != KeyTokenKind::PressAgain && token.kind != KeyTokenKind::Nothing;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<KeyToken> tokens = ReadKeyText(text);
    if (tokens.size() > text.size()) {
        std::abort();
    }
    std::vector<KeyToken> kept;
    std::copy_if(tokens.begin(), tokens.end(), std::back_inserter(kept), Written);
    const std::string written = WriteKeyText(tokens);
    if (written.find(';') != std::string::npos || ReadKeyText(written) != kept ||
        WriteKeyText(ReadKeyText(written)) != written) {
        std::abort();
    }
    return 0;
}
