// The search reads every n-th frame row and tries a place only where two rare pixels of a band
// row (the anchor and its pair) both match (PicturePattern); the scan for them compares four
// frame pixels at a time with SSE2 where the processor has it (every x86-64 one). A place is then
// compared row by row, four pixels at a time, and dropped at the first group that differs.
#include "steps/PictureSearch.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdlib>
#include <unordered_map>
#include <utility>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QUORVANE_SSE2 1
#endif

namespace {

constexpr uint32_t kRgb = 0x00FFFFFFu;

bool Transparent(uint32_t pixel) {
    return (pixel >> 24) == 0;
}

const uint32_t* Row(const PixelsView& view, int y) {
    return view.pixels + static_cast<ptrdiff_t>(y) * view.stride;
}

int Channel(uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
    return std::abs(Channel(a, 16) - Channel(b, 16)) <= tolerance &&
           std::abs(Channel(a, 8) - Channel(b, 8)) <= tolerance &&
           std::abs(Channel(a, 0) - Channel(b, 0)) <= tolerance;
}

// [SECTION] Rarity

// How many pixels of the picture have a colour within the tolerance of each colour: exact counts
// without a tolerance, else counts over a grid of 32 x 32 x 32 colour cells, summed over the
// cells the tolerance reaches (an estimate that never counts too few).
class Rarity {
public:
    explicit Rarity(const PicturePattern& pattern) : tolerance_(pattern.tolerance) {
        if (tolerance_ != 0) {
            sums_.resize(static_cast<size_t>(kSide) * kSide * kSide);
        }
        for (size_t i = 0; i < pattern.colours.size(); ++i) {
            if (pattern.masks[i] == 0) {
                continue;
            }
            const uint32_t colour = pattern.colours[i];
            if (tolerance_ == 0) {
                ++exact_[colour];
            } else {
                ++Cell(Index(colour, 16) + 1, Index(colour, 8) + 1, Index(colour, 0) + 1);
            }
        }
        if (tolerance_ != 0) {
            SumCells();
        }
    }

    int Of(uint32_t colour) const {
        if (tolerance_ == 0) {
            return exact_.at(colour);
        }
        const auto range = [&](int shift) {
            const int channel = Channel(colour, shift);
            return std::make_pair(std::max(channel - tolerance_, 0) >> kShift,
                                  (std::min(channel + tolerance_, 255) >> kShift) + 1);
        };
        const auto [r0, r1] = range(16);
        const auto [g0, g1] = range(8);
        const auto [b0, b1] = range(0);
        return Sum(r1, g1, b1) - Sum(r0, g1, b1) - Sum(r1, g0, b1) - Sum(r1, g1, b0) +
               Sum(r0, g0, b1) + Sum(r0, g1, b0) + Sum(r1, g0, b0) - Sum(r0, g0, b0);
    }

private:
    static constexpr int kShift = 3;
    static constexpr int kSide = (256 >> kShift) + 1;  // a row of zeros before the cells

    static int Index(uint32_t colour, int shift) { return Channel(colour, shift) >> kShift; }
    int& Cell(int r, int g, int b) {
        return sums_[(static_cast<size_t>(r) * kSide + g) * kSide + b];
    }
    int Sum(int r, int g, int b) const {
        return sums_[(static_cast<size_t>(r) * kSide + g) * kSide + b];
    }
    // Each cell becomes the count of every cell at or before it in all three channels.
    void SumCells() {
        for (int r = 1; r < kSide; ++r) {
            for (int g = 1; g < kSide; ++g) {
                for (int b = 1; b < kSide; ++b) {
                    Cell(r, g, b) += Sum(r - 1, g, b) + Sum(r, g - 1, b) + Sum(r, g, b - 1) -
                                     Sum(r - 1, g - 1, b) - Sum(r - 1, g, b - 1) -
                                     Sum(r, g - 1, b - 1) + Sum(r - 1, g - 1, b - 1);
                }
            }
        }
    }

    int tolerance_;
    std::unordered_map<uint32_t, int> exact_;
    std::vector<int> sums_;
};

// The band's height is chosen by an estimate of a search's cost a frame pixel: reading the frame
// (one n-th of it for a band of n rows) against the places tried by chance (each band row's
// anchor and pair matching a frame pixel as often as their colours are common in the picture).
// A tried place costs about thirty times a pixel read from memory.
constexpr int kMostBandRows = 16;
constexpr double kReadCost = 1.0;
constexpr double kTryCost = 30.0;

// The row's anchor is its pixel of the colour rarest in the picture; its pair the row's rarest
// other pixel, of a colour outside the anchor's tolerance where the row has one, so that the two
// tell more together. `chance` is how often both match a pixel of a picture like this one.
// False, with `chosen` and `chance` untouched, when no pixel of the row counts.
bool ChooseRowAnchors(const PicturePattern& pattern, const Rarity& rarity, int counted, int y,
                      PicturePattern::RowAnchors& chosen, double& chance) {
    const size_t start = static_cast<size_t>(y) * pattern.width;
    int anchor = -1, pair = -1;
    int anchorRarity = 0, pairRarity = 0;
    bool pairDiffers = false;
    for (int x = 0; x < pattern.width; ++x) {
        if (pattern.masks[start + x] != 0) {
            const int count = rarity.Of(pattern.colours[start + x]);
            if (anchor < 0 || count < anchorRarity) {
                anchor = x;
                anchorRarity = count;
            }
        }
    }
    if (anchor < 0) {
        return false;
    }
    const uint32_t anchorColour = pattern.colours[start + anchor];
    for (int x = 0; x < pattern.width; ++x) {
        if (pattern.masks[start + x] == 0 || x == anchor) {
            continue;
        }
        const bool differs = !Near(pattern.colours[start + x], anchorColour, pattern.tolerance);
        const int count = rarity.Of(pattern.colours[start + x]);
        // Of equally rare ones the farthest: neighbours often match together by chance (a
        // letter's stroke in any text of the same font), pixels far apart rarely.
        const bool farther = std::abs(x - anchor) > std::abs(pair - anchor);
        if (pair < 0 || (differs && !pairDiffers) ||
            (differs == pairDiffers && (count < pairRarity || (count == pairRarity && farther)))) {
            pair = x;
            pairRarity = count;
            pairDiffers = differs;
        }
    }
    if (pair < 0) {
        pair = anchor;
        pairRarity = counted;
    }
    chosen = {anchor, pair};
    chance = static_cast<double>(anchorRarity) / counted * pairRarity / counted;
    return true;
}

// The band: consecutive rows that each have a pixel that counts, of the height and place of the
// least estimated cost. The rows are compared in the order of their chance.
void ChooseBand(PicturePattern& pattern) {
    const Rarity rarity(pattern);
    const int counted =
        static_cast<int>(std::count(pattern.masks.begin(), pattern.masks.end(), kRgb));
    std::vector<PicturePattern::RowAnchors> rows(static_cast<size_t>(pattern.height));
    // -1 for a row without a pixel that counts: ChooseRowAnchors leaves it as it is.
    std::vector<double> chances(static_cast<size_t>(pattern.height), -1.0);
    for (int y = 0; y < pattern.height; ++y) {
        const size_t row = static_cast<size_t>(y);
        if (ChooseRowAnchors(pattern, rarity, counted, y, rows[row], chances[row])) {
            pattern.rowOrder.push_back(y);
        }
    }
    std::stable_sort(pattern.rowOrder.begin(), pattern.rowOrder.end(), [&](int a, int b) {
        return chances[static_cast<size_t>(a)] < chances[static_cast<size_t>(b)];
    });
    double bestCost = 0;
    for (int top = 0; top < pattern.height; ++top) {
        double sum = 0;
        for (int height = 1; height <= kMostBandRows && top + height <= pattern.height; ++height) {
            const double chance = chances[static_cast<size_t>(top + height - 1)];
            if (chance < 0) {
                break;
            }
            sum += chance;
            const double cost = (kReadCost + kTryCost * sum) / height;
            if (pattern.band.empty() || cost < bestCost) {
                bestCost = cost;
                pattern.bandTop = top;
                pattern.band.assign(rows.begin() + top, rows.begin() + top + height);
            }
        }
    }
}

// [SECTION] Comparing pixels

// One frame pixel against one wanted colour; `kExact` without a tolerance.
template <bool kExact>
bool PixelMatches(uint32_t pixel, uint32_t colour, int tolerance) {
    if constexpr (kExact) {
        return ((pixel ^ colour) & kRgb) == 0;
    } else {
        return Near(pixel, colour, tolerance);
    }
}

#ifdef QUORVANE_SSE2
__m128i Load(const uint32_t* pixels) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
}

// Four frame pixels at a time against one wanted colour: all ones in the 32-bit lane of each
// pixel that matches.
class LaneTest {
public:
    LaneTest(uint32_t colour, int tolerance) {
        uint32_t low = 0, high = 0xFF000000u;  // any alpha
        for (int shift : {0, 8, 16}) {
            const int channel = Channel(colour, shift);
            low |= static_cast<uint32_t>(std::max(channel - tolerance, 0)) << shift;
            high |= static_cast<uint32_t>(std::min(channel + tolerance, 255)) << shift;
        }
        low_ = _mm_set1_epi32(static_cast<int>(low));
        high_ = _mm_set1_epi32(static_cast<int>(high));
    }
    template <bool kExact>
    __m128i Match(__m128i pixels) const {
        if constexpr (kExact) {
            return _mm_cmpeq_epi32(_mm_and_si128(pixels, _mm_set1_epi32(kRgb)), low_);
        } else {
            // Each byte within [low, high]: nothing left when either bound is taken from it.
            const __m128i outside =
                _mm_or_si128(_mm_subs_epu8(low_, pixels), _mm_subs_epu8(pixels, high_));
            return _mm_cmpeq_epi32(outside, _mm_setzero_si128());
        }
    }

private:
    __m128i low_, high_;
};
#endif

// `count` frame pixels against a row of the picture, with its masks.
template <bool kExact>
bool RowMatches(const uint32_t* frame, const uint32_t* colours, const uint32_t* masks, int count,
                int tolerance) {
    int i = 0;
#ifdef QUORVANE_SSE2
    const __m128i limit = _mm_set1_epi8(static_cast<char>(tolerance));
    for (; i + 4 <= count; i += 4) {
        const __m128i pixels = Load(frame + i);
        const __m128i colour = Load(colours + i);
        __m128i off;
        if constexpr (kExact) {
            off = _mm_xor_si128(pixels, colour);
        } else {
            off = _mm_subs_epu8(
                _mm_or_si128(_mm_subs_epu8(pixels, colour), _mm_subs_epu8(colour, pixels)), limit);
        }
        off = _mm_and_si128(off, Load(masks + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(off, _mm_setzero_si128())) != 0xFFFF) {
            return false;
        }
    }
#endif
    for (; i < count; ++i) {
        if (masks[i] != 0 && !PixelMatches<kExact>(frame[i], colours[i], tolerance)) {
            return false;
        }
    }
    return true;
}

// The picture's row `row` against the frame's row `y`, from column x.
template <bool kExact>
bool RowAt(const PixelsView& frame, const PicturePattern& pattern, int x, int y, int row) {
    const size_t start = static_cast<size_t>(row) * pattern.width;
    return RowMatches<kExact>(Row(frame, y + row) + x, pattern.colours.data() + start,
                              pattern.masks.data() + start, pattern.width, pattern.tolerance);
}

// The picture matches with its top-left pixel at x, y of the frame. `first` is compared first
// (the band row whose frame row is being read), then the rows in their order.
template <bool kExact>
bool PictureAt(const PixelsView& frame, const PicturePattern& pattern, int x, int y, int first) {
    if (first >= 0 && !RowAt<kExact>(frame, pattern, x, y, first)) {
        return false;
    }
    for (int row : pattern.rowOrder) {
        if (row != first && !RowAt<kExact>(frame, pattern, x, y, row)) {
            return false;
        }
    }
    return true;
}

// [SECTION] Places

// Every pixel of the rectangle (frame coordinates) lies on some screen.
bool OnScreens(const DesktopPixels& desktop, int x, int y, int width, int height) {
    if (desktop.screens.empty()) {
        return true;
    }
    const int left = desktop.left + x, top = desktop.top + y;
    const int right = left + width, bottom = top + height;
    for (const PixelRect& s : desktop.screens) {
        if (left >= s.left && right <= s.right && top >= s.top && bottom <= s.bottom) {
            return true;
        }
    }
    // Across monitors: each row must be covered by the screens that reach it.
    std::vector<std::pair<int, int>> spans;
    for (int row = top; row < bottom; ++row) {
        spans.clear();
        for (const PixelRect& s : desktop.screens) {
            if (row >= s.top && row < s.bottom && s.left < right && s.right > left) {
                spans.emplace_back(std::max(s.left, left), std::min(s.right, right));
            }
        }
        std::sort(spans.begin(), spans.end());
        int covered = left;
        for (const auto& [from, to] : spans) {
            if (from > covered) {
                break;
            }
            covered = std::max(covered, to);
        }
        if (covered < right) {
            return false;
        }
    }
    return true;
}

// The picture matches at the place (frame coordinates) and lies wholly on the screens; its row
// `first` is compared first (-1: none).
template <bool kExact>
bool Holds(const DesktopPixels& desktop, const PicturePattern& pattern, int x, int y,
           int first = -1) {
    return PictureAt<kExact>(desktop.frame, pattern, x, y, first) &&
           OnScreens(desktop, x, y, pattern.width, pattern.height);
}

// The places of the picture's top-left pixel in the frame, in reading order: `columns` per row,
// `rows` rows.
struct Places {
    int columns = 0;
    int rows = 0;
    int64_t Count() const { return static_cast<int64_t>(columns) * rows; }
};

Places PlacesIn(const PixelsView& frame, const PicturePattern& pattern) {
    if (pattern.width > frame.width || pattern.height > frame.height) {
        return {};
    }
    return {frame.width - pattern.width + 1, frame.height - pattern.height + 1};
}

// The first place of one top row, of the first `end` in it, where the band row's anchor and pair
// match and the picture holds; -1 when none. `row` is the picture row of the anchor and pair, and
// `anchors` and `pairs` the frame pixels under them for the place at column 0.
template <bool kExact>
int FirstInRow(const DesktopPixels& desktop, const PicturePattern& pattern, int top, int row,
               int end, const uint32_t* anchors, uint32_t anchorColour, const uint32_t* pairs,
               uint32_t pairColour) {
    const int tolerance = pattern.tolerance;
    int x = 0;
#ifdef QUORVANE_SSE2
    // Sixteen pixels a round: one branch when none matches the anchor, as nearly always; the
    // pair is compared only then.
    const LaneTest anchor(anchorColour, tolerance);
    const LaneTest pair(pairColour, tolerance);
    for (; x + 16 <= end; x += 16) {
        __m128i matches[4];
        for (size_t i = 0; i < 4; ++i) {
            matches[i] = anchor.Match<kExact>(Load(anchors + x + 4 * i));
        }
        const __m128i any = _mm_or_si128(_mm_or_si128(matches[0], matches[1]),
                                         _mm_or_si128(matches[2], matches[3]));
        if (_mm_movemask_epi8(any) == 0) {
            continue;
        }
        unsigned hits = 0;
        for (size_t i = 0; i < 4; ++i) {
            const __m128i both =
                _mm_and_si128(matches[i], pair.Match<kExact>(Load(pairs + x + 4 * i)));
            hits |= static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(both))) << (4 * i);
        }
        for (; hits != 0; hits &= hits - 1) {
            const int place = x + std::countr_zero(hits);
            if (Holds<kExact>(desktop, pattern, place, top, row)) {
                return place;
            }
        }
    }
#endif
    for (; x < end; ++x) {
        if (PixelMatches<kExact>(anchors[x], anchorColour, tolerance) &&
            PixelMatches<kExact>(pairs[x], pairColour, tolerance) &&
            Holds<kExact>(desktop, pattern, x, top, row)) {
            return x;
        }
    }
    return -1;
}

// The first place, of the first `limit` in reading order, where the picture holds; -1 when none.
// Frame rows 0, n, 2n, ... are read (n the band's height); on frame row Y, band row r serves the
// places whose top row is Y - bandTop - r, so going from the last band row to the first keeps the
// places in reading order, and each place is served by exactly one frame row.
template <bool kExact>
int64_t FirstPlace(const DesktopPixels& desktop, const PicturePattern& pattern, Places places,
                   int64_t limit) {
    const int bandRows = static_cast<int>(pattern.band.size());
    for (int frameRow = 0;; frameRow += bandRows) {
        const int firstTop = std::max(frameRow - pattern.bandTop - (bandRows - 1), 0);
        if (firstTop >= places.rows || static_cast<int64_t>(firstTop) * places.columns >= limit) {
            return -1;
        }
        const uint32_t* row = Row(desktop.frame, frameRow);
        for (int r = bandRows - 1; r >= 0; --r) {
            const int top = frameRow - pattern.bandTop - r;
            if (top < 0) {
                continue;
            }
            const int64_t start = static_cast<int64_t>(top) * places.columns;
            if (top >= places.rows || start >= limit) {
                break;
            }
            const PicturePattern::RowAnchors& anchors = pattern.band[static_cast<size_t>(r)];
            const size_t colours = static_cast<size_t>(pattern.bandTop + r) * pattern.width;
            const int place = FirstInRow<kExact>(
                desktop, pattern, top, pattern.bandTop + r,
                static_cast<int>(std::min<int64_t>(places.columns, limit - start)),
                row + anchors.anchorX, pattern.colours[colours + anchors.anchorX],
                row + anchors.pairX, pattern.colours[colours + anchors.pairX]);
            if (place >= 0) {
                return start + place;
            }
        }
    }
}

template <bool kExact>
bool Search(const DesktopPixels& desktop, const PicturePattern& pattern,
            const PictureMatch* lastFound, bool anyPlace, PictureMatch& found) {
    const Places places = PlacesIn(desktop.frame, pattern);
    if (places.Count() == 0 || pattern.band.empty()) {
        return false;
    }
    int64_t limit = places.Count();
    int64_t place = -1;
    if (lastFound != nullptr) {
        const int x = lastFound->left - desktop.left;
        const int y = lastFound->top - desktop.top;
        if (x >= 0 && y >= 0 && x < places.columns && y < places.rows &&
            Holds<kExact>(desktop, pattern, x, y)) {
            place = static_cast<int64_t>(y) * places.columns + x;
            limit = anyPlace ? 0 : place;
        }
    }
    const int64_t before = limit > 0 ? FirstPlace<kExact>(desktop, pattern, places, limit) : -1;
    if (before >= 0) {
        place = before;
    }
    if (place < 0) {
        return false;
    }
    found.left = desktop.left + static_cast<int>(place % places.columns);
    found.top = desktop.top + static_cast<int>(place / places.columns);
    found.centreX = found.left + pattern.width / 2;
    found.centreY = found.top + pattern.height / 2;
    return true;
}

bool Search(const DesktopPixels& desktop, const PicturePattern& pattern,
            const PictureMatch* lastFound, bool anyPlace, PictureMatch& found) {
    return pattern.tolerance == 0 ? Search<true>(desktop, pattern, lastFound, anyPlace, found)
                                  : Search<false>(desktop, pattern, lastFound, anyPlace, found);
}

}  // namespace

PictureFault CheckPicture(PixelsView picture, int desktopWidth, int desktopHeight) {
    bool seen = false, twoColours = false;
    uint32_t first = 0;
    for (int y = 0; y < picture.height && !twoColours; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t pixel = Row(picture, y)[x];
            if (Transparent(pixel)) {
                continue;
            }
            if (!seen) {
                seen = true;
                first = pixel & kRgb;
            } else if ((pixel & kRgb) != first) {
                twoColours = true;
                break;
            }
        }
    }
    if (!seen) {
        return PictureFault::Empty;
    }
    if (picture.width > desktopWidth || picture.height > desktopHeight) {
        return PictureFault::LargerThanScreen;
    }
    return twoColours ? PictureFault::None : PictureFault::OneColour;
}

bool PreparePicture(PixelsView picture, int tolerance, PicturePattern& pattern) {
    PicturePattern made;
    made.width = std::max(picture.width, 0);
    made.height = std::max(picture.height, 0);
    made.tolerance = std::clamp(tolerance, 0, 255);
    const size_t count = static_cast<size_t>(made.width) * made.height;
    made.colours.reserve(count);
    made.masks.reserve(count);
    bool anyCounts = false;
    for (int y = 0; y < made.height; ++y) {
        for (int x = 0; x < made.width; ++x) {
            const uint32_t pixel = Row(picture, y)[x];
            made.colours.push_back(pixel & kRgb);
            made.masks.push_back(Transparent(pixel) ? 0 : kRgb);
            anyCounts = anyCounts || !Transparent(pixel);
        }
    }
    if (!anyCounts) {
        return false;
    }
    ChooseBand(made);
    pattern = std::move(made);
    return true;
}

bool FindPicture(const DesktopPixels& desktop, const PicturePattern& pattern,
                 const PictureMatch* lastFound, PictureMatch& found) {
    return Search(desktop, pattern, lastFound, false, found);
}

bool PictureOnDesktop(const DesktopPixels& desktop, const PicturePattern& pattern,
                      const PictureMatch* lastFound, PictureMatch& found) {
    return Search(desktop, pattern, lastFound, true, found);
}
