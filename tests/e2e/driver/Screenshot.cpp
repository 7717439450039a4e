// Screenshots: the screen pixels under a window copied into a 24-bit BMP file, once the window
// has finished painting when asked.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

#include "Driver.h"

namespace e2e {

namespace {

struct ScreenDc {
    HDC dc = GetDC(nullptr);
    ~ScreenDc() { ReleaseDC(nullptr, dc); }
};
struct MemoryDc {
    HDC dc;
    explicit MemoryDc(HDC like) : dc(CreateCompatibleDC(like)) {}
    ~MemoryDc() { DeleteDC(dc); }
};
struct Bitmap {
    HBITMAP bitmap;
    ~Bitmap() { DeleteObject(bitmap); }
};
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool SaveScreenshot(Window window, const std::string& bmpPath) {
    const Box box = ScreenBox(window);
    if (box.width <= 0 || box.height <= 0) {
        return false;
    }
    ScreenDc screen;
    MemoryDc memory(screen.dc);
    Bitmap bitmap{CreateCompatibleBitmap(screen.dc, box.width, box.height)};
    HGDIOBJ previous = SelectObject(memory.dc, bitmap.bitmap);
    const bool copied =
        BitBlt(memory.dc, 0, 0, box.width, box.height, screen.dc, box.x, box.y, SRCCOPY) != 0;
    SelectObject(memory.dc, previous);
    if (!copied) {
        return false;
    }

    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = box.width;
    header.biHeight = box.height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD rowBytes = ((static_cast<DWORD>(box.width) * 3 + 3) / 4) * 4;
    std::vector<BYTE> pixels(rowBytes * static_cast<DWORD>(box.height));
    if (!GetDIBits(memory.dc, bitmap.bitmap, 0, static_cast<UINT>(box.height), pixels.data(),
                   reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS)) {
        return false;
    }

    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfOffBits = sizeof(fileHeader) + sizeof(header);
    fileHeader.bfSize = fileHeader.bfOffBits + static_cast<DWORD>(pixels.size());
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(bmpPath.c_str(), "wb"));
    return file != nullptr && std::fwrite(&fileHeader, sizeof(fileHeader), 1, file.get()) == 1 &&
           std::fwrite(&header, sizeof(header), 1, file.get()) == 1 &&
           std::fwrite(pixels.data(), 1, pixels.size(), file.get()) == pixels.size();
}

bool SaveSettledScreenshot(Window window, const std::string& bmpPath, int timeoutMs) {
    // The program paints on its own thread; RDW_UPDATENOW makes it paint before returning, and two
    // identical captures in a row show that nothing was still on its way to the screen.
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    std::string previous;
    return WaitUntil(
        [&] {
            if (!SaveScreenshot(window, bmpPath)) {
                return false;
            }
            std::string now = ReadWholeFile(bmpPath);
            const bool same = !previous.empty() && now == previous;
            previous = std::move(now);
            return same;
        },
        timeoutMs);
}

}  // namespace e2e
