// The value that names a picture to look for: "V FILE", the tolerance per colour channel and the
// picture file ("0 ok-button.png", "12 icons\led green.png"). Pure text work; the only system
// question is the current folder, for a list not saved yet.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "steps/PictureSearch.h"

struct PictureValue {
    int32_t tolerance = 0;  // 0 to 255: how far each of red, green and blue may differ
    std::string file;       // as written: relative or absolute
};
// False unless the value is V (decimal, 0 to 255, at most three digits), one blank and a file
// name that does not begin with a blank; blanks inside the name are kept. No ";" anywhere: it
// ends a field of a step file's line.
bool ReadPictureValue(std::string_view value, PictureValue& picture);
// The words for a value ReadPictureValue refuses.
constexpr const char* WrongPictureValue =
    "Wrong picture value (a tolerance from 0 to 255, a blank and the picture file: 0 ok.png)";
// "V FILE".
std::string PictureValueText(int32_t tolerance, std::string_view file);

// What is wrong with a value's picture, naming its file as the value does: "Can't read picture
// "ok.png"" for a file that is missing or holds no picture that can be read, and for a fault of
// CheckPicture "Picture "ok.png" is all one colour" and the like ("" for None).
std::string CantReadPictureText(std::string_view file);
std::string PictureFaultText(PictureFault fault, std::string_view file);

// Paths here are paths as files.h takes them: a value's file name, a text, goes through
// platform::TextAsPath first, and a path back into a value through platform::PathAsText.
//
// The full path of a value's file: an absolute one ("C:\...", "\\server\...") as it is, one from
// the root ("\pictures\ok.png") on the drive of the step file, a relative one from the step
// file's folder. Without a step file (a list not saved yet) from the current folder.
std::string PicturePath(std::string_view file, std::string_view stepFile);
// The file as a value names it: its bare name when it lies in the step file's folder (letter
// case ignored), else the full path.
std::string PictureFileText(std::string_view path, std::string_view stepFile);
