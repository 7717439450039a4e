// Picture files in the in-memory file system, in a plain form of this platform's own (a line
// "HEADLESS PICTURE W H" and the pixels, four bytes each, as in memory), the desktop as the tests
// paint it, and the part of it the user chooses as the tests script it.

#include "platform/pictures.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>
#include <thread>

#include "platform/headless/State.h"

namespace {

using headless_state::Lock;
using headless_state::Shared;

constexpr std::string_view kMark = "HEADLESS PICTURE ";

}  // namespace

namespace platform {

// The mark, "W H\n" and the pixels.
bool DecodePicture(std::string_view bytes, Picture& picture) {
    if (!bytes.starts_with(kMark)) {
        return false;
    }
    bytes.remove_prefix(kMark.size());
    int width = 0, height = 0;
    const char* end = bytes.data() + bytes.size();
    auto read = std::from_chars(bytes.data(), end, width);
    if (read.ec != std::errc() || read.ptr == end || *read.ptr != ' ') {
        return false;
    }
    read = std::from_chars(read.ptr + 1, end, height);
    if (read.ec != std::errc() || read.ptr == end || *read.ptr != '\n' ||
        !PictureSizeReadable(width, height)) {
        return false;
    }
    const size_t count = static_cast<size_t>(width) * height;
    if (static_cast<size_t>(end - read.ptr - 1) != count * 4) {
        return false;
    }
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(count);
    std::memcpy(picture.pixels.data(), read.ptr + 1, count * 4);
    return true;
}

bool EncodePng(const Picture& picture, std::string& bytes) {
    if (!PictureIsWhole(picture)) {
        return false;
    }
    bytes = std::string(kMark) + std::to_string(picture.width) + " " +
            std::to_string(picture.height) + "\n";
    const size_t start = bytes.size();
    bytes.resize(start + picture.pixels.size() * 4);
    std::memcpy(bytes.data() + start, picture.pixels.data(), picture.pixels.size() * 4);
    return true;
}

bool CaptureScreen(ScreenCapture& capture) {
    const auto lock = Lock();
    ++Shared().captures;
    headless_state::CallerThreadCpu() += Shared().captureCost;
    if (Shared().screenLocked || Shared().monitors.empty()) {
        return false;
    }
    const ScreenRect bounds = headless_state::ScreenBounds();
    const std::vector<uint32_t>& screen = headless_state::ScreenPixels();
    capture.pixels.assign(screen.begin(), screen.end());
    capture.width = bounds.right - bounds.left;
    capture.height = bounds.bottom - bounds.top;
    capture.left = bounds.left;
    capture.top = bounds.top;
    capture.monitors = Shared().monitors;
    return true;
}

std::vector<MonitorSpace> ScreenMonitors() {
    const auto lock = Lock();
    return Shared().monitors;
}

// The scripted rectangle, kept within the capture and at least one pixel each way, as the frozen
// screen's drag gives it.
bool ChooseScreenRectangle(const ScreenCapture& capture, ScreenRect& chosen) {
    const auto lock = Lock();
    headless_state::NoteCaller("ChooseScreenRectangle");
    Shared().frozenScreens.push_back(
        {capture.width, capture.height, capture.left, capture.top, std::this_thread::get_id()});
    auto& scripted = Shared().scriptedRectangles;
    if (scripted.empty()) {
        return false;
    }
    const std::optional<ScreenRect> next = scripted.front();
    scripted.pop_front();
    if (!next) {
        return false;
    }
    ScreenRect r = *next;
    r.left = std::clamp(r.left, capture.left, capture.left + capture.width - 1);
    r.top = std::clamp(r.top, capture.top, capture.top + capture.height - 1);
    r.right = std::clamp(r.right, r.left + 1, capture.left + capture.width);
    r.bottom = std::clamp(r.bottom, r.top + 1, capture.top + capture.height);
    chosen = r;
    return true;
}

}  // namespace platform

namespace headless {

void SetMonitors(const std::vector<platform::MonitorSpace>& monitors) {
    const auto lock = Lock();
    Shared().monitors = monitors;
    Shared().screen.clear();
}

void PaintScreen(int left, int top, const platform::Picture& picture) {
    const auto lock = Lock();
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t pixel = picture.pixels[static_cast<size_t>(y) * picture.width + x];
            uint32_t* on = headless_state::ScreenPixelAt(left + x, top + y);
            if (on != nullptr && (pixel >> 24) != 0) {
                *on = pixel | 0xFF000000u;
            }
        }
    }
}

void SetScreenLocked(bool locked) {
    const auto lock = Lock();
    Shared().screenLocked = locked;
}

void SetCaptureCost(int64_t microseconds) {
    const auto lock = Lock();
    Shared().captureCost = microseconds;
}

int CaptureCount() {
    const auto lock = Lock();
    return Shared().captures;
}

void ScriptScreenRectangle(std::optional<platform::ScreenRect> chosen) {
    const auto lock = Lock();
    Shared().scriptedRectangles.push_back(chosen);
}

std::vector<FrozenScreen> FrozenScreens() {
    const auto lock = Lock();
    return Shared().frozenScreens;
}

void PutPicture(const std::string& path, const platform::Picture& picture) {
    std::string bytes;
    platform::EncodePng(picture, bytes);
    PutFile(path, bytes);
}

}  // namespace headless
