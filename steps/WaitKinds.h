// The kinds of Wait step, one row each: the word a record holds, the label of the value in the
// panel, the reader of the value, how often the player looks, and what F9 captures for it. The
// player's look at each kind is a row of its own in player/WaitStep.cpp.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "steps/PictureValue.h"
#include "steps/WaitValues.h"

enum class WaitKind { None, Window, Active, NoWindow, Pixel, Answer, Image };

// What F9 writes into the Wait value while the Wait container is shown.
enum class WaitCapture {
    Nothing,
    Title,    // the title of the top-level window under the pointer, up to its first ";"
    Pixel,    // the pointer's point and the colour there: "X Y RRGGBB"
    Picture,  // a part of the screen the user drags out, saved as a picture file: "0 FILE"
};

// A Wait step's condition, read once from its kind and value.
struct WaitCondition {
    WaitKind kind = WaitKind::None;
    std::string text;  // the part of a title, or the answer
    PixelCondition pixel;
    std::string port;  // the port of an answer: "COM5"
    PictureValue picture;
};

struct WaitKindRow {
    WaitKind kind;
    const char* name;        // "Window": the word in the record and the file
    const char* valueLabel;  // above the value in the panel
    // Reads the value into the condition; false when it is not of the kind's form.
    bool (*read)(std::string_view value, WaitCondition& condition);
    const char* wrongValue;  // the panel's words for a value `read` refuses
    // The period of the looks; for a picture the least one, lengthened by what a look costs.
    int64_t pollMicroseconds;
    WaitCapture capture;
};

// In the kind chooser's order.
std::span<const WaitKindRow> WaitKinds();
// The row whose word is exactly `name`, nullptr when none.
const WaitKindRow* FindWaitKind(std::string_view name);
// Reads a kind and its value; false when the kind is unknown or the value not of its form.
bool ReadWaitCondition(std::string_view waitFor, std::string_view value, WaitCondition& condition);
// A known WaitFor with a value of its form.
bool WaitValueValid(std::string_view waitFor, std::string_view value);

// The period of a Wait for a picture after `looks` looks that cost `cpuMicroseconds` of the
// player's processor time in all: long enough that the looks take at most a 30th of one core,
// never shorter than the row's `least`, and never longer than kLongestPicturePoll, so that a
// picture that shows is seen within about 150 ms however slow the looks are.
constexpr int64_t kLongestPicturePoll = 150'000;
int64_t PicturePollMicroseconds(int64_t least, int64_t looks, int64_t cpuMicroseconds);
