// The Image container: its row, showing and storing its fields, whether a value's picture can be
// looked for, and the picture of a part of the screen that its Capture button and F9 make.
//
// [SECTION] The row  [SECTION] Pictures a value names  [SECTION] Capturing a picture

#include <algorithm>
#include <string>

#include "Forms/FormMAIN.h"
#include "editor/EditorPanel.h"
#include "editor/PanelTypes.h"
#include "editor/StepFileCommands.h"
#include "platform/files.h"
#include "platform/pictures.h"
#include "platform/window.h"
#include "steps/Document.h"
#include "steps/Numbers.h"
#include "steps/PictureSearch.h"
#include "steps/PictureValue.h"
#include "steps/StepFile.h"
#include "steps/StepKinds.h"

namespace {

constexpr const char* kImage = "Image";

// [SECTION] The row

void FillImage() {
    FillChooserWithNames(ComboImageDo, ImageDos());
}

void ShowImage(const StepRecord& step, int) {
    SetChooserText(ComboImageDo, step.ImageDo);
    platform::SetControlText(StringImageValue, step.ImageValue);
    platform::SetControlText(StringImageX, IntegerText(step.ImageX));
    platform::SetControlText(StringImageY, IntegerText(step.ImageY));
}

// An offset is a whole number, with a "-" in front to go left or up.
bool StoreOffset(int32_t& field, int control, const char* name) {
    return ReadCoordinate(platform::ControlText(control), field) ||
           Refuse(kImage, std::string(name) + " is not a whole number");
}

bool StoreImage(StepRecord& step) {
    step.ImageDo = ChooserText(ComboImageDo);
    if (FindImageDo(step.ImageDo) == nullptr) {
        return Refuse(kImage, "No action selected");
    }
    if (!StoreText(step.ImageValue, platform::ControlText(StringImageValue), kImage, "value")) {
        return false;
    }
    if (step.ImageValue.empty()) {
        return Refuse(kImage, "No picture entered");
    }
    PictureValue picture;
    if (!ReadPictureValue(step.ImageValue, picture)) {
        return Refuse(kImage, WrongPictureValue);
    }
    return PictureUsable(picture, kImage) && StoreOffset(step.ImageX, StringImageX, "Offset X") &&
           StoreOffset(step.ImageY, StringImageY, "Offset Y");
}

constexpr PanelEvent kImageEvents[] = {{ButtonImageCapture, ButtonImageCapture_Events}};

// [SECTION] Capturing a picture

const platform::FileFilter PngFilter{"PNG picture (*.png)", "*.png"};
constexpr int kMostOfferedNames = 9999;

// The part of the capture inside the rectangle (physical desktop pixels).
platform::Picture CutOut(const platform::ScreenCapture& screen, platform::ScreenRect part) {
    part.left = std::clamp(part.left, screen.left, screen.left + screen.width);
    part.right = std::clamp(part.right, part.left, screen.left + screen.width);
    part.top = std::clamp(part.top, screen.top, screen.top + screen.height);
    part.bottom = std::clamp(part.bottom, part.top, screen.top + screen.height);
    platform::Picture picture{part.right - part.left, part.bottom - part.top, {}};
    picture.pixels.reserve(static_cast<size_t>(picture.width) * picture.height);
    for (int y = part.top; y < part.bottom; ++y) {
        const uint32_t* row = screen.pixels.data() +
                              static_cast<size_t>(y - screen.top) * screen.width +
                              (part.left - screen.left);
        picture.pixels.insert(picture.pixels.end(), row, row + picture.width);
    }
    return picture;
}

// Where a value's bare name "imageN.png" points, for the first N that names no file yet.
std::string FreePicturePath() {
    std::string path;
    for (int n = 1; n <= kMostOfferedNames; ++n) {
        path = PicturePath("image" + IntegerText(n) + ".png", StepFilePath);
        if (!platform::FileExists(path)) {
            break;
        }
    }
    return path;
}

std::string WithPngExtension(std::string path) {
    std::string end = path.size() >= 4 ? path.substr(path.size() - 4) : std::string();
    std::transform(end.begin(), end.end(), end.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return end == ".png" ? path : path + ".png";
}

// Asks for the file, offering the first free "imageN.png"; "" when the user gives none.
std::string AskForPictureFile() {
    const std::string offered = FreePicturePath();
    const std::string name = FileNamePart(offered);
    const std::string folder =
        offered.substr(0, offered.size() - std::min(offered.size(), name.size() + 1));
    const std::string chosen = platform::SaveFileDialogIn("Save picture", PngFilter, folder, name);
    if (chosen.empty() || RefuseDeviceName(chosen)) {
        return {};
    }
    const std::string path = WithPngExtension(chosen);
    if (platform::FileExists(path) &&
        !platform::MessageBoxYesNo(FormMAIN, "Confirm", "File already exists! Replace?")) {
        return {};
    }
    return path;
}

}  // namespace

const PanelType ImagePanel = {.type = TypeImage,
                              .container = ContainerImage,
                              .fill = FillImage,
                              .show = ShowImage,
                              .store = StoreImage,
                              .events = kImageEvents,
                              .capture = [] { ButtonImageCapture_Events(0); },
                              .boxTitle = kImage};

// [SECTION] Pictures a value names

PixelsView ViewOf(const platform::Picture& picture) {
    return {picture.pixels.data(), picture.width, picture.height, picture.width};
}

bool ReadSearchablePicture(const PictureValue& value, std::string_view stepFile,
                           platform::Picture& picture, std::string& failure) {
    // A name Windows takes for a device ("com5.png") is not opened: opening a port is not harmless.
    const std::string path = PicturePath(platform::TextAsPath(value.file), stepFile);
    if (NamesDevice(path) || !platform::ReadPicture(path, picture)) {
        failure = CantReadPictureText(value.file);
        return false;
    }
    const platform::ScreenRect desktop = platform::PhysicalBounds(platform::ScreenMonitors());
    const PictureFault fault =
        CheckPicture(ViewOf(picture), desktop.right - desktop.left, desktop.bottom - desktop.top);
    if (fault != PictureFault::None) {
        failure = PictureFaultText(fault, value.file);
        return false;
    }
    return true;
}

bool PictureUsable(const PictureValue& value, const char* title) {
    platform::Picture picture;
    std::string failure;
    return ReadSearchablePicture(value, StepFilePath, picture, failure) || Refuse(title, failure);
}

int ButtonImageCapture_Events(int) {
    CapturePicture(StringImageValue, kImage);
    return 0;
}

void CapturePicture(int value, const char* title) {
    if (!platform::IsControlEnabled(value)) {
        return;
    }
    platform::ScreenCapture screen;
    if (!platform::CaptureScreen(screen)) {
        Refuse(title, "Can't capture the screen");
        return;
    }
    platform::ScreenRect part;
    if (!platform::ChooseScreenRectangle(screen, part)) {
        return;
    }
    const platform::Picture picture = CutOut(screen, part);
    switch (CheckPicture(ViewOf(picture), screen.width, screen.height)) {
        case PictureFault::None:
            break;
        case PictureFault::OneColour:
            Refuse(title,
                   "The part of the screen chosen is all one colour: it would match any "
                   "plain area");
            return;
        case PictureFault::Empty:
        case PictureFault::LargerThanScreen:
            Refuse(title, "The part of the screen chosen lies on no monitor");
            return;
    }
    const std::string path = AskForPictureFile();
    if (path.empty()) {
        return;
    }
    const std::string file = platform::PathAsText(PictureFileText(path, StepFilePath));
    if (file.find(';') != std::string::npos) {
        Refuse(title, "The picture's name must not contain \";\"");
        return;
    }
    std::string bytes;
    if (!platform::EncodePng(picture, bytes)) {
        Refuse(title, "Can't make a PNG file of the picture");
        return;
    }
    const WriteResult written = WriteFileSafely(path, bytes);
    if (written != WriteResult::Written) {
        ShowWriteFailure(path, written);
        return;
    }
    platform::SetControlText(value, PictureValueText(0, file));
}
