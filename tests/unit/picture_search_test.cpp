// Finding a picture on made-up desktops: exact, with a tolerance, with transparent pixels, the
// first in reading order, absent, at the frame's edges, across monitors; the refusals; and the
// headless desktop captured with a monitor left of the main one.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>
#include <vector>

#include "platform/ScreenSpace.h"
#include "platform/desktop.h"
#include "platform/headless/headless.h"
#include "platform/pictures.h"
#include "player/PlayerInternal.h"
#include "steps/PictureSearch.h"

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

struct Canvas {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;

    uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    PixelsView View() const { return {pixels.data(), width, height, width}; }
    void Put(const Canvas& picture, int left, int top) {
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                At(left + x, top + y) = picture.pixels[static_cast<size_t>(y) * picture.width + x];
            }
        }
    }
};

// Pixels of a few colours at random: many places match a pixel or two, few match a whole picture.
Canvas Noise(int width, int height, unsigned seed, int colours = 6) {
    std::mt19937 random(seed);
    Canvas canvas{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
    for (uint32_t& pixel : canvas.pixels) {
        pixel = kOpaque | ((static_cast<uint32_t>(random() % colours) * 0x2A1F33u) & 0xFFFFFFu);
    }
    return canvas;
}

// A button: a white margin around a dark frame with a red and a green light inside.
Canvas Button() {
    Canvas b{7, 5, std::vector<uint32_t>(35, kWhite)};
    for (int x = 1; x < 6; ++x) {
        b.At(x, 1) = b.At(x, 3) = kOpaque | 0x202020;
    }
    b.At(1, 2) = b.At(5, 2) = kOpaque | 0x202020;
    b.At(2, 2) = kOpaque | 0xD02010;
    b.At(3, 2) = kOpaque | 0x10C040;
    return b;
}

Canvas Shifted(Canvas canvas, int by) {
    for (uint32_t& pixel : canvas.pixels) {
        uint32_t shifted = kOpaque;
        for (int shift : {0, 8, 16}) {
            const int channel = std::clamp(static_cast<int>((pixel >> shift) & 0xFF) + by, 0, 255);
            shifted |= static_cast<uint32_t>(channel) << shift;
        }
        pixel = shifted;
    }
    return canvas;
}

std::optional<PictureMatch> Find(const DesktopPixels& desktop, const Canvas& picture, int tolerance,
                                 const PictureMatch* last = nullptr) {
    PicturePattern pattern;
    EXPECT_TRUE(PreparePicture(picture.View(), tolerance, pattern));
    PictureMatch found;
    return FindPicture(desktop, pattern, last, found) ? std::optional(found) : std::nullopt;
}

TEST(PictureSearch, FindsTheFirstPlaceInReadingOrder) {
    const Canvas button = Button();
    Canvas transparentCorners = button;
    transparentCorners.At(0, 0) = transparentCorners.At(6, 4) = 0x00123456;
    struct Row {
        const char* what;
        std::vector<std::pair<int, int>> placed;  // where the button is painted, in this order
        Canvas painted, sought;
        int tolerance;
        std::optional<std::pair<int, int>> found;
    };
    const Row rows[] = {
        {"exact", {{20, 30}}, button, button, 0, {{20, 30}}},
        {"absent", {}, button, button, 0, std::nullopt},
        {"within the tolerance", {{20, 30}}, Shifted(button, -9), button, 9, {{20, 30}}},
        {"beyond the tolerance", {{20, 30}}, Shifted(button, -9), button, 8, std::nullopt},
        {"transparent corners match any colour",
         {{11, 3}},
         button,
         transparentCorners,
         0,
         {{11, 3}}},
        {"the upper of two", {{40, 20}, {3, 21}}, button, button, 0, {{40, 20}}},
        {"the left of two in one row", {{40, 20}, {9, 20}}, button, button, 0, {{9, 20}}},
        {"top-left corner", {{0, 0}}, button, button, 0, {{0, 0}}},
        {"bottom-right corner", {{57, 43}}, button, button, 0, {{57, 43}}},
        {"right edge, tolerance", {{57, 7}}, Shifted(button, 3), button, 3, {{57, 7}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Canvas frame = Noise(64, 48, 7);
        for (const auto& [x, y] : row.placed) {
            frame.Put(row.painted, x, y);
        }
        const auto found = Find({frame.View()}, row.sought, row.tolerance);
        ASSERT_EQ(found.has_value(), row.found.has_value());
        if (found) {
            EXPECT_EQ(std::make_pair(found->left, found->top), *row.found);
            EXPECT_EQ(std::make_pair(found->centreX, found->centreY),
                      std::make_pair(row.found->first + 3, row.found->second + 2));
        }
    }
}

// A monitor left of and smaller than the main one: desktop coordinates are negative there, and
// the frame's corner below it belongs to no screen.
TEST(PictureSearch, MonitorLeftOfTheMainOne) {
    const PixelRect screens[] = {{-40, 0, 0, 30}, {0, 0, 64, 48}};
    const Canvas button = Button();
    Canvas frame = Noise(104, 48, 3);
    frame.Put(button, 38, 28);  // straddles the left monitor's bottom edge into no screen
    const DesktopPixels desktop{frame.View(), -40, 0, screens};
    EXPECT_FALSE(Find(desktop, button, 0).has_value());
    frame.Put(button, 36, 10);  // across the two monitors
    frame.Put(button, 5, 20);   // on the left monitor, lower
    const auto found = Find(desktop, button, 0);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(std::make_pair(found->left, found->top), std::make_pair(-4, 10));
}

TEST(PictureSearch, TheLastPlaceIsTriedFirstAndNothingBeforeItIsSkipped) {
    const Canvas button = Button();
    Canvas frame = Noise(64, 48, 11);
    frame.Put(button, 30, 12);
    frame.Put(button, 2, 33);
    PicturePattern pattern;
    ASSERT_TRUE(PreparePicture(button.View(), 0, pattern));
    const DesktopPixels desktop{frame.View()};
    const PictureMatch later{2, 33, 5, 35}, gone{50, 40, 53, 42};
    PictureMatch found;
    ASSERT_TRUE(FindPicture(desktop, pattern, &later, found));
    EXPECT_EQ(std::make_pair(found.left, found.top), std::make_pair(30, 12));
    ASSERT_TRUE(PictureOnDesktop(desktop, pattern, &later, found));
    EXPECT_EQ(std::make_pair(found.left, found.top), std::make_pair(2, 33));
    ASSERT_TRUE(PictureOnDesktop(desktop, pattern, &gone, found));
    EXPECT_EQ(std::make_pair(found.left, found.top), std::make_pair(30, 12));
}

// The anchor scan and the row comparison against a pixel-by-pixel search, on frames of few
// colours (many near misses), with transparent pixels and tolerances, at every width remainder.
TEST(PictureSearch, AgreesWithAPlainComparison) {
    std::mt19937 random(5);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        const int width = 9 + static_cast<int>(random() % 40),
                  height = 5 + static_cast<int>(random() % 20);
        Canvas frame = Noise(width, height, random(), 2 + static_cast<int>(random() % 3));
        Canvas picture{1 + static_cast<int>(random() % 8), 1 + static_cast<int>(random() % 4), {}};
        picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
        const int fromX = static_cast<int>(random() % (width - picture.width + 1));
        const int fromY = static_cast<int>(random() % (height - picture.height + 1));
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                picture.At(x, y) = random() % 5 == 0 ? 0 : frame.At(fromX + x, fromY + y);
            }
        }
        picture.At(0, 0) |= kOpaque;
        const int tolerance = random() % 2 == 0 ? 0 : static_cast<int>(random() % 60);
        const auto fits = [&](int left, int top) {
            for (int y = 0; y < picture.height; ++y) {
                for (int x = 0; x < picture.width; ++x) {
                    const uint32_t p = picture.At(x, y), f = frame.At(left + x, top + y);
                    for (int shift : {0, 8, 16}) {
                        if ((p >> 24) != 0 &&
                            std::abs(static_cast<int>((p >> shift) & 0xFF) -
                                     static_cast<int>((f >> shift) & 0xFF)) > tolerance) {
                            return false;
                        }
                    }
                }
            }
            return true;
        };
        std::optional<std::pair<int, int>> expected;
        for (int top = 0; top + picture.height <= height && !expected; ++top) {
            for (int left = 0; left + picture.width <= width && !expected; ++left) {
                if (fits(left, top)) {
                    expected = std::make_pair(left, top);
                }
            }
        }
        const auto found = Find({frame.View()}, picture, tolerance);
        ASSERT_EQ(found.has_value(), expected.has_value());
        if (found) {
            EXPECT_EQ(std::make_pair(found->left, found->top), *expected);
        }
    }
}

TEST(PictureSearch, PicturesThatCannotBeSought) {
    const Canvas button = Button();
    Canvas plain{3, 2, std::vector<uint32_t>(6, kOpaque | 0x808080)};
    plain.At(0, 0) = 0x00FF0000;  // a transparent pixel of another colour does not count
    const Canvas invisible{2, 2, std::vector<uint32_t>(4, 0x00FFFFFF)};
    const struct {
        const char* what;
        PixelsView picture;
        int desktopWidth, desktopHeight;
        PictureFault fault;
    } rows[] = {
        {"a button", button.View(), 1920, 1080, PictureFault::None},
        {"as large as the desktop", button.View(), 7, 5, PictureFault::None},
        {"wider than the desktop", button.View(), 6, 1080, PictureFault::LargerThanScreen},
        {"taller than the desktop", button.View(), 1920, 4, PictureFault::LargerThanScreen},
        {"one colour", plain.View(), 1920, 1080, PictureFault::OneColour},
        {"all transparent", invisible.View(), 1920, 1080, PictureFault::Empty},
        {"no pixel", PixelsView{}, 1920, 1080, PictureFault::Empty},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CheckPicture(row.picture, row.desktopWidth, row.desktopHeight), row.fault)
            << row.what;
    }
    PicturePattern pattern;
    EXPECT_FALSE(PreparePicture(invisible.View(), 0, pattern));
}

// The headless desktop: a 150 % monitor left of the main one. The capture holds both in physical
// pixels; the centre found there becomes the logical point where ScreenPixel reads the picture.
TEST(PictureSearch, CapturedDesktopWithAScaledMonitorOnTheLeft) {
    headless::Reset();
    headless::SetMonitors(
        {{{0, 0, 1920, 1080}, {0, 0, 1920, 1080}}, {{-2880, 0, 0, 1620}, {-1920, 0, 0, 1080}}});
    const Canvas button = Button();
    headless::PaintScreen(-1500, 900,
                          platform::Picture{button.width, button.height, button.pixels});
    platform::ScreenCapture capture;
    ASSERT_TRUE(platform::CaptureScreen(capture));
    EXPECT_EQ(std::vector<int>({capture.left, capture.top, capture.width, capture.height}),
              std::vector<int>({-2880, 0, 4800, 1620}));
    EXPECT_EQ(capture.pixels[static_cast<size_t>(1500) * capture.width + 3000], 0u)
        << "below the main monitor lies no screen";
    std::vector<PixelRect> screens;
    PicturePattern pattern;
    ASSERT_TRUE(PreparePicture(button.View(), 0, pattern));
    PictureMatch found;
    ASSERT_TRUE(FindPicture(DesktopOf(capture, screens), pattern, nullptr, found));
    EXPECT_EQ(std::make_pair(found.centreX, found.centreY), std::make_pair(-1497, 902));
    int x = found.centreX, y = found.centreY;
    platform::ToLogicalPoint(capture.monitors, x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(-998, 601));
    uint32_t rgb = 0;
    ASSERT_TRUE(platform::ScreenPixel(x, y, rgb));
    EXPECT_EQ(rgb, 0x10C040u);
    EXPECT_FALSE(platform::ScreenPixel(500, 1200, rgb)) << "no monitor there";
    headless::SetScreenLocked(true);
    EXPECT_FALSE(platform::CaptureScreen(capture));
}

}  // namespace
