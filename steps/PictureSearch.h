// Finding a picture on the desktop: the pixels of a screen capture searched for the pixels of a
// picture file, exactly or with a tolerance per colour channel. Pure pixel work, no OS call.
//
// Pixels are 32-bit values as Windows keeps them in memory (bytes blue, green, red, alpha), so a
// pixel read as uint32_t is 0xAARRGGBB. Every position here is in physical pixels of the desktop
// (the screen's real pixels, as a capture holds them); the caller turns a found point into the
// coordinates Mouse steps use.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Rows of pixels, `stride` pixels from the start of one row to the start of the next.
struct PixelsView {
    const uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom lie outside
};

// The whole desktop as captured: its pixels, the desktop position of the first one (negative when
// a monitor lies left of or above the main one), and the monitors' rectangles in the same
// coordinates. A pixel outside every monitor belongs to no screen, and no match may cover it.
// Without rectangles the whole frame is screen.
struct DesktopPixels {
    PixelsView frame;
    int left = 0;
    int top = 0;
    std::span<const PixelRect> screens;
};

// Why a picture cannot be searched for sensibly.
enum class PictureFault {
    None,
    Empty,             // no pixel, or every pixel transparent (alpha 0)
    OneColour,         // all its non-transparent pixels have one colour: it matches any plain area
    LargerThanScreen,  // wider or taller than the desktop
};
PictureFault CheckPicture(PixelsView picture, int desktopWidth, int desktopHeight);

// A picture made ready for searching with a tolerance: its colours, which pixels count, and the
// band of rows a search compares first. Made once, searched with many times.
//
// A search reads only every n-th row of the frame, n the band's height: each place of the
// picture puts exactly one row of the band onto such a frame row, and there the row's two rare
// pixels are compared first (its anchor, the pixel of the colour rarest in the picture, and a
// second rare one). So the search reads an n-th of the frame from memory, and tries a place
// only where both pixels match.
struct PicturePattern {
    struct RowAnchors {
        int anchorX = 0;
        int pairX = 0;  // the anchor itself when the row has no other pixel that counts
    };
    int width = 0;
    int height = 0;
    int tolerance = 0;              // 0 to 255: how far each of red, green and blue may differ
    std::vector<uint32_t> colours;  // 0x00RRGGBB, row after row
    std::vector<uint32_t> masks;    // 0x00FFFFFF for a pixel that counts, 0 for a transparent one
    int bandTop = 0;                // the band's first row
    std::vector<RowAnchors> band;  // one entry a row; every row of the band has a pixel that counts
    // The rows with a pixel that counts, in the order a place is compared after its band row:
    // rows of rare colours first, plain rows (a margin) last.
    std::vector<int> rowOrder;
};
// False for an empty picture (PictureFault::Empty); a tolerance outside 0 to 255 is clamped.
bool PreparePicture(PixelsView picture, int tolerance, PicturePattern& pattern);

struct PictureMatch {
    int left = 0, top = 0;         // the picture's top-left pixel on the desktop
    int centreX = 0, centreY = 0;  // its centre (the pixel right of and below the middle line
                                   // when the width or height is even)
};

// The first place in reading order (top to bottom, then left to right) where the picture lies on
// the desktop. `lastFound`, when given, is where it was found before: that place is tried first,
// and when it still holds, only the part of the desktop before it is searched.
bool FindPicture(const DesktopPixels& desktop, const PicturePattern& pattern,
                 const PictureMatch* lastFound, PictureMatch& found);
// Whether the picture lies anywhere on the desktop: `lastFound` (when given and still there) is
// enough, else the first place in reading order is sought.
bool PictureOnDesktop(const DesktopPixels& desktop, const PicturePattern& pattern,
                      const PictureMatch* lastFound, PictureMatch& found);
