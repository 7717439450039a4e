// The value "V FILE" that names a picture, where its file lies, and a picture file written and
// read back on the headless platform.

#include <gtest/gtest.h>

#include "editor/PanelTypes.h"
#include "platform/headless/headless.h"
#include "platform/pictures.h"
#include "steps/PictureValue.h"
#include "steps/StepFile.h"

namespace {

TEST(PictureValue, Values) {
    const struct {
        const char* value;
        bool valid;
        int tolerance;
        const char* file;
    } rows[] = {
        {"0 ok-button.png", true, 0, "ok-button.png"},
        {"12 icons\\led green.png", true, 12, "icons\\led green.png"},
        {"255 C:\\pictures\\ok.bmp", true, 255, "C:\\pictures\\ok.bmp"},
        {"007 ok.png", true, 7, "ok.png"},
        {"256 ok.png", false, 0, ""},
        {"1000 ok.png", false, 0, ""},
        {"-1 ok.png", false, 0, ""},
        {"+1 ok.png", false, 0, ""},
        {"x ok.png", false, 0, ""},
        {"1  ok.png", false, 0, ""},
        {" 1 ok.png", false, 0, ""},
        {"1 ok;png", false, 0, ""},
        {"1 ", false, 0, ""},
        {"1", false, 0, ""},
        {"", false, 0, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        PictureValue picture;
        ASSERT_EQ(ReadPictureValue(row.value, picture), row.valid);
        if (row.valid) {
            EXPECT_EQ(picture.tolerance, row.tolerance);
            EXPECT_EQ(picture.file, row.file);
            EXPECT_EQ(PictureValueText(picture.tolerance, picture.file),
                      row.value[0] == '0' && row.value[1] == '0' ? "7 ok.png" : row.value);
        }
    }
}

TEST(PictureValue, WhereTheFileLies) {
    headless::Reset();  // current folder C:\Users\tester
    const struct {
        const char* file;
        const char* stepFile;
        const char* path;
    } rows[] = {
        {"ok.png", "C:\\lists\\run.stp", "C:\\lists\\ok.png"},
        {"icons\\led green.png", "C:\\lists\\run.stp", "C:\\lists\\icons\\led green.png"},
        {"D:\\pictures\\ok.png", "C:\\lists\\run.stp", "D:\\pictures\\ok.png"},
        {"\\\\server\\share\\ok.png", "C:\\lists\\run.stp", "\\\\server\\share\\ok.png"},
        {"\\pictures\\ok.png", "C:\\lists\\run.stp", "C:\\pictures\\ok.png"},
        {"ok.png", "", "C:\\Users\\tester\\ok.png"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(PicturePath(row.file, row.stepFile), row.path) << row.file << " " << row.stepFile;
    }
    const struct {
        const char* path;
        const char* stepFile;
        const char* text;
    } named[] = {
        {"C:\\lists\\image1.png", "C:\\lists\\run.stp", "image1.png"},
        {"c:\\LISTS\\image1.png", "C:\\lists\\run.stp", "image1.png"},
        {"C:\\lists\\icons\\image1.png", "C:\\lists\\run.stp", "C:\\lists\\icons\\image1.png"},
        {"C:\\other\\image1.png", "C:\\lists\\run.stp", "C:\\other\\image1.png"},
        {"C:\\Users\\tester\\image1.png", "", "C:\\Users\\tester\\image1.png"},
    };
    for (const auto& row : named) {
        EXPECT_EQ(PictureFileText(row.path, row.stepFile), row.text) << row.path;
    }
}

TEST(PictureValue, PictureFilesWrittenAndReadBack) {
    headless::Reset();
    const platform::Picture written{3, 2, {0xFF102030, 0x00000000, 0x80FFFFFF, 1, 2, 0xFFFFFFFF}};
    std::string bytes;
    ASSERT_TRUE(platform::EncodePng(written, bytes));
    ASSERT_EQ(WriteFileSafely("C:\\lists\\image1.png", bytes), WriteResult::Written);
    platform::Picture read;
    ASSERT_TRUE(platform::ReadPicture("C:\\lists\\image1.png", read));
    EXPECT_EQ(std::make_pair(read.width, read.height), std::make_pair(3, 2));
    EXPECT_EQ(read.pixels, written.pixels);

    EXPECT_FALSE(platform::EncodePng(platform::Picture{}, bytes));
    headless::PutFile("C:\\lists\\notes.png", "not a picture");
    headless::PutDevice("C:\\lists\\com5.png", bytes);
    for (const char* unreadable : {"missing.png", "notes.png", "com5.png"}) {
        const std::string path = std::string("C:\\lists\\") + unreadable;
        std::string failure;
        EXPECT_FALSE(ReadSearchablePicture({0, unreadable}, "C:\\lists\\run.stp", read, failure));
        EXPECT_EQ(failure, CantReadPictureText(unreadable));
        EXPECT_EQ(headless::DeviceOpens(path), 0) << "a value naming a port does not open it";
        EXPECT_FALSE(platform::ReadPicture(path, read)) << path;
    }
    EXPECT_EQ(read.pixels, written.pixels) << "a failed read leaves the picture as it was";
}

}  // namespace
