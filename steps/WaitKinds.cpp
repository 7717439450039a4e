#include "steps/WaitKinds.h"

#include <algorithm>

#include "steps/StepKinds.h"

namespace {

bool ReadTitlePart(std::string_view value, WaitCondition& condition) {
    if (value.empty()) {
        return false;
    }
    condition.text = value;
    return true;
}

bool ReadPixel(std::string_view value, WaitCondition& condition) {
    return ReadPixelValue(value, condition.pixel);
}

bool ReadAnswer(std::string_view value, WaitCondition& condition) {
    AnswerCondition answer;
    if (!ReadAnswerValue(value, answer)) {
        return false;
    }
    condition.port = std::move(answer.port);
    condition.text = std::move(answer.text);
    return true;
}

bool ReadPicture(std::string_view value, WaitCondition& condition) {
    return ReadPictureValue(value, condition.picture);
}

// How often each kind is looked at: often enough to see a change within 20 ms on the median,
// seldom enough that a look (a walk over the other programs' windows, a screen read) costs next
// to nothing. A picture's look captures the whole screen and searches it: its period is the
// least one, which the player lengthens to what the looks cost.
constexpr WaitKindRow kWaitKinds[] = {
    {WaitKind::Window, "Window", "Window title contains:", ReadTitlePart, "No value entered",
     25'000, WaitCapture::Title},
    {WaitKind::Active, "Active", "Front window title contains:", ReadTitlePart, "No value entered",
     12'000, WaitCapture::Title},
    {WaitKind::NoWindow, "NoWindow", "No window title contains:", ReadTitlePart, "No value entered",
     25'000, WaitCapture::Title},
    {WaitKind::Pixel, "Pixel", "Pixel X Y RRGGBB [tolerance]:", ReadPixel,
     "Wrong pixel value (X Y RRGGBB, or X Y RRGGBB V with V 0 to 255)", 10'000, WaitCapture::Pixel},
    {WaitKind::Answer, "Answer", "Port and answer (COM1 OK):", ReadAnswer,
     "Wrong answer value (the port and the text: COM1 OK)", 15'000, WaitCapture::Nothing},
    {WaitKind::Image, "Image", "Tolerance and picture file:", ReadPicture, WrongPictureValue,
     20'000, WaitCapture::Picture},
};

}  // namespace

std::span<const WaitKindRow> WaitKinds() {
    return kWaitKinds;
}

const WaitKindRow* FindWaitKind(std::string_view name) {
    return RowNamed(WaitKinds(), name);
}

bool ReadWaitCondition(std::string_view waitFor, std::string_view value, WaitCondition& condition) {
    const WaitKindRow* row = FindWaitKind(waitFor);
    WaitCondition read;
    if (row == nullptr || !row->read(value, read)) {
        return false;
    }
    read.kind = row->kind;
    condition = std::move(read);
    return true;
}

bool WaitValueValid(std::string_view waitFor, std::string_view value) {
    WaitCondition condition;
    return ReadWaitCondition(waitFor, value, condition);
}

int64_t PicturePollMicroseconds(int64_t least, int64_t looks, int64_t cpuMicroseconds) {
    constexpr int64_t kShare = 30;
    const int64_t perLook = looks > 0 ? std::max<int64_t>(cpuMicroseconds, 0) / looks : 0;
    return std::clamp(perLook * kShare, least, std::max(least, kLongestPicturePoll));
}
