// What a Wait step waits for: reading its value, and the matchers the player polls with. Pure
// text and byte work; the player supplies the titles, pixels and port bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "Pixel": "X Y RRGGBB" or "X Y RRGGBB V", in the coordinates Mouse steps use.
struct PixelCondition {
    int32_t x = 0;
    int32_t y = 0;
    uint32_t rgb = 0;  // 0xRRGGBB
    int32_t tolerance = 0;
};
// False unless the value has exactly that form: X and Y decimal, with a "-" in front on a monitor
// left of or above the main one, RRGGBB six hexadecimal digits, V 0 to 255, separated by single
// blanks.
bool ReadPixelValue(std::string_view value, PixelCondition& pixel);
// "X Y RRGGBB" as F9 writes it for a pixel.
std::string PixelValueText(int32_t x, int32_t y, uint32_t rgb);

// "Answer": "COMn TEXT"; everything after the first blank is the text, blanks included.
struct AnswerCondition {
    std::string port;  // "COM5"
    std::string text;
};
bool ReadAnswerValue(std::string_view value, AnswerCondition& answer);

// A plain decimal number ("2", "2.5", ".5") from 0 to 86400 seconds.
bool ReadWaitTime(std::string_view text, float& seconds);

// Title `title` contains `text`, letter case ignored.
bool TitleContains(std::string_view title, std::string_view text);
// Every channel of `actual` lies within `tolerance` of `wanted` (both 0xRRGGBB).
bool ColourMatches(uint32_t actual, uint32_t wanted, int32_t tolerance);

// The bytes that came in on a port, kept for the Answer matcher. A telegram's send marks the
// stream: only bytes after the last mark are matched, so an answer that arrived before the
// question cannot satisfy a Wait after it. A match marks the stream at its end, so each answer
// satisfies one Wait. Only the last `kCapacity` bytes count: older ones are gone.
class AnswerBuffer {
public:
    static constexpr size_t kCapacity = 64 * 1024;

    void Append(std::string_view bytes);
    // A telegram is about to be sent: what came in so far no longer counts.
    void MarkSend();
    // `text` lies among the bytes since the last mark, also when it arrived in pieces; if so,
    // the mark moves to the end of its first occurrence.
    bool TakeMatch(std::string_view text);

private:
    // Stream position of the oldest byte that still counts.
    uint64_t Kept() const;

    std::string bytes_;     // up to twice kCapacity, so that bytes are dropped seldom, in bulk
    uint64_t dropped_ = 0;  // bytes before bytes_[0]
    uint64_t mark_ = 0;     // stream position of the last send or match
};
