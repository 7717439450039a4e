// Pictures: reading PNG and BMP files, writing PNG files, capturing the whole desktop, and letting
// the user choose a part of a capture.
//
// Implemented by platform/win32/pictures.cpp (the Windows Imaging Component for the files, BitBlt
// from the screen for the capture), platform/win32/ScreenChoice.cpp (the frozen screen) and
// platform/headless/pictures.cpp (pictures in the in-memory file system in a form of its own, a
// desktop a test paints, a choice the test scripts). Any thread may call these but
// ChooseScreenRectangle, which only the main thread may call; the win32 side starts COM on the
// calling thread once.
//
// Units: every pixel and rectangle here is in physical pixels, the screen's real pixels, which is
// what a picture file holds. Quorvane itself works in logical points (platform/ScreenSpace.h): a
// point found in a capture becomes the point Mouse steps use through ToLogicalPoint with the
// capture's monitors.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ScreenSpace.h"
#include "platform/files.h"

namespace platform {

// Pixels as 32-bit values 0xAARRGGBB (in memory: blue, green, red, alpha), row after row from the
// top, `width` pixels a row.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// The largest picture a file may hold (either side, and all pixels): a bigger one is refused
// as unreadable rather than allocated.
constexpr int kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = int64_t{1} << 26;
inline bool PictureSizeReadable(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

// True when the picture has pixels, as many as its size says.
inline bool PictureIsWhole(const Picture& picture) {
    return picture.width > 0 && picture.height > 0 &&
           picture.pixels.size() == static_cast<size_t>(picture.width) * picture.height;
}

// Decodes the bytes of a PNG or BMP file (24 or 32 bits a pixel) into 32-bit pixels with straight
// (not premultiplied) alpha; a file without alpha reads as opaque (alpha 255). False when the
// bytes are not a picture of those kinds, are damaged or hold a picture too large; `picture` is
// then unchanged.
bool DecodePicture(std::string_view bytes, Picture& picture);
// Reads a picture file: false also when it is missing or a device (files.h).
inline bool ReadPicture(std::string_view path, Picture& picture) {
    std::string bytes;
    return ReadWholeFile(path, bytes) && DecodePicture(bytes, picture);
}
// The bytes of a PNG file of the picture, alpha included, for a safe write of the file. False
// when the picture is not whole or the encoder fails.
bool EncodePng(const Picture& picture, std::string& bytes);

// The whole desktop: every monitor in physical pixels.
struct ScreenCapture {
    // The bounding rectangle of the monitors, `width` pixels a row. A pixel of a monitor is opaque
    // (alpha 255); one that lies on no monitor is 0, transparent black. Kept between captures, so
    // that a capture of the same desktop allocates nothing.
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
    int left = 0;  // desktop position of pixels[0]: negative when a monitor lies left of or
    int top = 0;   // above the main one
    // Each monitor's rectangle in physical pixels and as Quorvane sees it (logical).
    std::vector<MonitorSpace> monitors;
};
// Captures every monitor into `capture` (the thread sees physical pixels only for the capture).
// False when the screen cannot be read (a locked workstation, no desktop).
bool CaptureScreen(ScreenCapture& capture);
// The monitors as CaptureScreen would capture them now, each in both pixel spaces.
std::vector<MonitorSpace> ScreenMonitors();

// [SECTION] Choosing a part of the screen

// Freezes the screen: shows `capture` over every monitor, pixel for pixel, in borderless windows
// of this program above every other window, with a crosshair pointer. The user drags a rectangle
// with the left button (a frame follows the pointer; a click without a drag chooses nothing);
// Escape, a right click or another program taking the foreground cancels. Returns when it is
// over, the windows gone and the window in front before in front again: true with the rectangle
// dragged out, in physical desktop pixels (right and bottom outside, at least one pixel each way,
// within the capture); false when cancelled. Main thread only; events of this program's windows
// that come meanwhile are queued as usual.
bool ChooseScreenRectangle(const ScreenCapture& capture, ScreenRect& chosen);

}  // namespace platform
