// The Wait step's readers on arbitrary bytes: a pixel value that reads writes out as one that
// reads back the same, an answer value is its port and text again, a time lies within the day,
// and the answer buffer finds each answer once however the bytes arrived.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "steps/Numbers.h"
#include "steps/WaitKinds.h"
#include "steps/WaitValues.h"

namespace {

void CheckPixel(std::string_view value) {
    PixelCondition pixel;
    if (!ReadPixelValue(value, pixel)) {
        return;
    }
    std::string written = PixelValueText(pixel.x, pixel.y, pixel.rgb);
    if (pixel.tolerance != 0) {
        written += " " + IntegerText(pixel.tolerance);
    }
    PixelCondition again;
    if (pixel.rgb > 0xFFFFFF || pixel.tolerance < 0 || pixel.tolerance > 255 ||
        !ReadPixelValue(written, again) || again.x != pixel.x || again.y != pixel.y ||
        again.rgb != pixel.rgb || again.tolerance != pixel.tolerance) {
        std::abort();
    }
}

void CheckAnswer(std::string_view value) {
    AnswerCondition answer;
    if (ReadAnswerValue(value, answer) &&
        (answer.text.empty() || answer.port + " " + answer.text != value)) {
        std::abort();
    }
}

void CheckTime(std::string_view text) {
    float seconds = -1.0f;
    if (ReadWaitTime(text, seconds) && !(seconds >= 0.0f && seconds <= 86400.0f)) {
        std::abort();
    }
}

// The first byte gives the answer's length (1 to 16), the bytes after it the answer, the rest
// the stream, which comes in pieces of 1 to 7 bytes. Every occurrence of the answer among the
// bytes the buffer keeps, one after another without overlap, satisfies one Wait.
void CheckAnswerBuffer(std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    const size_t length = static_cast<unsigned char>(bytes[0]) % 16 + 1;
    if (bytes.size() < 1 + length) {
        return;
    }
    const std::string_view answer = bytes.substr(1, length);
    std::string_view stream = bytes.substr(1 + length);
    AnswerBuffer buffer;
    const std::string_view kept = stream.substr(
        stream.size() > AnswerBuffer::kCapacity ? stream.size() - AnswerBuffer::kCapacity : 0);
    for (size_t piece = 1; !stream.empty(); piece = piece % 7 + 1) {
        const size_t taken = std::min(piece, stream.size());
        buffer.Append(stream.substr(0, taken));
        stream.remove_prefix(taken);
    }
    size_t expected = 0;
    for (size_t at = kept.find(answer); at != std::string_view::npos;
         at = kept.find(answer, at + answer.size())) {
        ++expected;
    }
    size_t matched = 0;
    while (buffer.TakeMatch(answer)) {
        ++matched;
    }
    if (matched != expected) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckPixel(bytes);
    CheckAnswer(bytes);
    CheckTime(bytes);
    for (const WaitKindRow& kind : WaitKinds()) {
        WaitValueValid(kind.name, bytes);
    }
    CheckAnswerBuffer(bytes);
    return 0;
}
