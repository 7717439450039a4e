#include "steps/WaitKinds.h"

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

// How often each kind is looked at: often enough to see a change within 20 ms on the median,
// seldom enough that a look (a walk over the other programs' windows, a screen read) costs next
// to nothing.
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
