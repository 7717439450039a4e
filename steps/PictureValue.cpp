#include "steps/PictureValue.h"

#include <algorithm>

#include "platform/files.h"
#include "steps/Numbers.h"

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// "C:" at the start.
bool HasDrive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// The text before the last separator; "" when there is none.
std::string_view FolderOf(std::string_view path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string_view::npos ? std::string_view{} : path.substr(0, separator);
}

}  // namespace

bool ReadPictureValue(std::string_view value, PictureValue& picture) {
    const size_t blank = value.find(' ');
    if (blank == std::string_view::npos || blank == 0 || blank > 3 ||
        value.find(';') != std::string_view::npos) {
        return false;
    }
    int32_t tolerance = 0;
    const std::string_view file = value.substr(blank + 1);
    if (!ReadCount(value.substr(0, blank), tolerance) || tolerance > 255 || file.empty() ||
        file[0] == ' ') {
        return false;
    }
    picture.tolerance = tolerance;
    picture.file = file;
    return true;
}

std::string PictureValueText(int32_t tolerance, std::string_view file) {
    return IntegerText(tolerance) + " " + std::string(file);
}

std::string CantReadPictureText(std::string_view file) {
    return "Can't read picture \"" + std::string(file) + "\"";
}

std::string PictureFaultText(PictureFault fault, std::string_view file) {
    const std::string named = "Picture \"" + std::string(file) + "\" ";
    switch (fault) {
        case PictureFault::Empty:
            return named + "has no pixel that is not transparent";
        case PictureFault::OneColour:
            return named + "is all one colour: it would match any plain area";
        case PictureFault::LargerThanScreen:
            return named + "is larger than the screen";
        case PictureFault::None:
            break;
    }
    return {};
}

std::string PicturePath(std::string_view file, std::string_view stepFile) {
    const bool fromRoot = !file.empty() && IsSeparator(file[0]);
    const bool absolute = (HasDrive(file) && file.size() > 2 && IsSeparator(file[2])) ||
                          (fromRoot && file.size() >= 2 && IsSeparator(file[1]));
    if (absolute) {
        return std::string(file);
    }
    if (!stepFile.empty()) {
        if (fromRoot && HasDrive(stepFile)) {
            return std::string(stepFile.substr(0, 2)) + std::string(file);
        }
        if (!fromRoot && !HasDrive(file) && !FolderOf(stepFile).empty()) {
            return std::string(FolderOf(stepFile)) + "\\" + std::string(file);
        }
    }
    return platform::FullPath(file);
}

std::string PictureFileText(std::string_view path, std::string_view stepFile) {
    const std::string_view folder = FolderOf(path);
    const std::string_view stepFolder = FolderOf(stepFile);
    const bool sameFolder =
        !stepFile.empty() && folder.size() == stepFolder.size() &&
        std::equal(folder.begin(), folder.end(), stepFolder.begin(), [](char a, char b) {
            return LowerAscii(a) == LowerAscii(b) || (IsSeparator(a) && IsSeparator(b));
        });
    return sameFolder ? FileNamePart(path) : std::string(path);
}
