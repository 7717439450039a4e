// The Image step, and the looks at the screen it shares with the Wait for a picture: a picture is
// read and prepared once a run, one capture buffer serves every look, and the place where the
// picture was seen last is tried first.

#include <memory>
#include <string>

#include "editor/PanelTypes.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/pictures.h"
#include "platform/system.h"
#include "player/PlayerInternal.h"
#include "steps/Document.h"
#include "steps/Numbers.h"
#include "steps/PictureSearch.h"
#include "steps/PictureValue.h"
#include "steps/StepKinds.h"

namespace {

constexpr const char* kImage = "Image";

}  // namespace

DesktopPixels DesktopOf(const platform::ScreenCapture& capture, std::vector<PixelRect>& screens) {
    screens.clear();
    for (const platform::MonitorSpace& monitor : capture.monitors) {
        const platform::ScreenRect& r = monitor.physical;
        screens.push_back({r.left, r.top, r.right, r.bottom});
    }
    return {{capture.pixels.data(), capture.width, capture.height, capture.width},
            capture.left,
            capture.top,
            screens};
}

RunPicture* PictureOfValue(RunScreen& screen, const PictureValue& value, std::string& failure) {
    const std::string path = PicturePath(platform::TextAsPath(value.file), StepFilePath);
    for (const std::unique_ptr<RunPicture>& known : screen.pictures) {
        if (known->path == path && known->tolerance == value.tolerance) {
            return known.get();
        }
    }
    // A hand-written list is refused here what the step panel refuses to store.
    platform::Picture picture;
    if (!ReadSearchablePicture(value, StepFilePath, picture, failure)) {
        return nullptr;
    }
    auto made = std::make_unique<RunPicture>();
    made->path = path;
    made->tolerance = value.tolerance;
    PreparePicture(ViewOf(picture), value.tolerance, made->pattern);
    screen.pictures.push_back(std::move(made));
    return screen.pictures.back().get();
}

PictureLook LookForPicture(RunScreen& screen, RunPicture& picture, bool firstInReadingOrder, int& x,
                           int& y) {
    const int64_t cpuBefore = platform::ThreadCpuMicroseconds();
    const bool captured = platform::CaptureScreen(screen.capture);
    PictureMatch found;
    bool seen = false;
    if (captured) {
        const DesktopPixels desktop = DesktopOf(screen.capture, screen.screens);
        const PictureMatch* last = picture.seen ? &picture.lastSeen : nullptr;
        seen = firstInReadingOrder ? FindPicture(desktop, picture.pattern, last, found)
                                   : PictureOnDesktop(desktop, picture.pattern, last, found);
    }
    ++screen.looks;
    screen.lookCpuMicroseconds += platform::ThreadCpuMicroseconds() - cpuBefore;
    if (!captured) {
        return PictureLook::NoScreen;
    }
    if (!seen) {
        return PictureLook::Absent;
    }
    picture.seen = true;
    picture.lastSeen = found;
    x = found.centreX;
    y = found.centreY;
    platform::ToLogicalPoint(screen.capture.monitors, x, y);
    return PictureLook::Found;
}

// Looks once. A word that is none of the actions moves the pointer only, as a Mouse step's does.
void PlayImage(Run& run, const StepRecord& step) {
    run.did = step.ImageDo + " \"" + step.ImageValue + "\"";
    PictureValue value;
    if (!ReadPictureValue(step.ImageValue, value)) {
        ReportRunFailure(run, kImage, "Wrong picture value \"" + step.ImageValue + "\"");
        return;
    }
    std::string failure;
    RunPicture* picture = PictureOfValue(run.screen, value, failure);
    if (picture == nullptr) {
        ReportRunFailure(run, kImage, failure);
        return;
    }
    int x = 0;
    int y = 0;
    switch (LookForPicture(run.screen, *picture, true, x, y)) {
        case PictureLook::NoScreen:
            ReportRunFailure(run, kImage, "Can't capture the screen");
            return;
        case PictureLook::Absent:
            ReportRunFailure(run, kImage, "Image \"" + value.file + "\" not found");
            return;
        case PictureLook::Found:
            break;
    }
    x += step.ImageX;
    y += step.ImageY;
    platform::SetCursorPosition(x, y);
    const ImageDoRow* action = FindImageDo(step.ImageDo);
    Click(action != nullptr ? action->click : ClickKind::None);
    run.did += " at " + IntegerText(x) + " " + IntegerText(y);
    WaitAfterStep();
}
