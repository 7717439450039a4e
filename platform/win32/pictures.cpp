// Picture files through the Windows Imaging Component, decoded from and encoded to memory (the
// file itself is read and written by the safe file functions, so a device is never opened and a
// picture is never half written); the desktop through BitBlt from the screen.

#include "platform/pictures.h"

#include <algorithm>
#include <cstring>

#include "platform/win32/Monitors.h"

namespace {

// A COM interface pointer that is released when it goes out of scope.
template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() { Reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    Interface** Out() {
        Reset();
        return &pointer_;
    }
    Interface* Get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }

private:
    void Reset() {
        if (pointer_ != nullptr) {
            pointer_->Release();
            pointer_ = nullptr;
        }
    }
    Interface* pointer_ = nullptr;
};

// COM once per thread, never undone (the player thread reads pictures as the main thread does).
bool MakeFactory(ComRef<IWICImagingFactory>& factory) {
    thread_local const HRESULT com =
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    (void)com;
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(factory.Out())));
}

// The bytes the stream holds, from its start to its end.
bool StreamBytes(IStream* stream, std::string& bytes) {
    ULARGE_INTEGER end{};
    HGLOBAL memory = nullptr;
    if (FAILED(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_END, &end)) || end.QuadPart > MAXDWORD ||
        FAILED(GetHGlobalFromStream(stream, &memory))) {
        return false;
    }
    const void* data = GlobalLock(memory);
    if (data == nullptr) {
        return false;
    }
    bytes.assign(static_cast<const char*>(data), static_cast<size_t>(end.QuadPart));
    GlobalUnlock(memory);
    return true;
}

// [SECTION] Capture

// The screen is copied in strips of at most this many bytes, except for the first capture into a
// new bitmap, which copies each monitor in one piece. Under Wine a whole 1280 x 1024 screen cost
// about 8 ms of processor time a capture, in one piece or in strips alone; after one copy in one
// piece, the strips cost about 2 to 3 ms.
constexpr int kStripBytes = 1 << 20;

// The capturing thread's bitmap, kept between captures of a desktop of the same size.
class CaptureBitmap {
public:
    CaptureBitmap() = default;
    ~CaptureBitmap() { Free(); }
    CaptureBitmap(const CaptureBitmap&) = delete;
    CaptureBitmap& operator=(const CaptureBitmap&) = delete;

    // A top-down 32-bit bitmap of the size, selected into a memory device context.
    bool Prepare(HDC screen, int width, int height) {
        if (bitmap_ != nullptr && width == width_ && height == height_) {
            return true;
        }
        Free();
        used_ = false;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        context_ = CreateCompatibleDC(screen);
        bitmap_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        if (context_ == nullptr || bitmap_ == nullptr) {
            Free();
            return false;
        }
        previous_ = SelectObject(context_, bitmap_);
        width_ = width;
        height_ = height;
        return true;
    }
    HDC Context() const { return context_; }
    // Whether a capture went into this bitmap already.
    bool Used() const { return used_; }
    void NoteUsed() { used_ = true; }
    const uint32_t* Row(int y) const {
        return static_cast<const uint32_t*>(bits_) + static_cast<size_t>(y) * width_;
    }

private:
    void Free() {
        if (context_ != nullptr) {
            if (previous_ != nullptr) {
                SelectObject(context_, previous_);
            }
            DeleteDC(context_);
        }
        if (bitmap_ != nullptr) {
            DeleteObject(bitmap_);
        }
        context_ = nullptr;
        bitmap_ = nullptr;
        previous_ = nullptr;
        bits_ = nullptr;
        width_ = height_ = 0;
    }

    HDC context_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
    int width_ = 0, height_ = 0;
    bool used_ = false;
};

bool SameRects(const std::vector<platform::MonitorSpace>& a,
               const std::vector<platform::MonitorSpace>& b) {
    return a.size() == b.size() &&
           std::memcmp(a.data(), b.data(), a.size() * sizeof(platform::MonitorSpace)) == 0;
}

}  // namespace

namespace platform {

bool DecodePicture(std::string_view bytes, Picture& picture) {
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    GUID container{};
    ComRef<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
    if (bytes.empty() || bytes.size() > MAXDWORD || !MakeFactory(factory) ||
        FAILED(factory->CreateStream(stream.Out())) ||
        FAILED(
            stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                         static_cast<DWORD>(bytes.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, decoder.Out())) ||
        FAILED(decoder->GetContainerFormat(&container)) ||
        (container != GUID_ContainerFormatPng && container != GUID_ContainerFormatBmp) ||
        FAILED(decoder->GetFrame(0, frame.Out())) || FAILED(frame->GetSize(&width, &height))) {
        return false;
    }
    if (!PictureSizeReadable(width, height)) {
        return false;
    }
    ComRef<IWICFormatConverter> converter;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    if (FAILED(factory->CreateFormatConverter(converter.Out())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(pixels.data())))) {
        return false;
    }
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels = std::move(pixels);
    return true;
}

bool EncodePng(const Picture& picture, std::string& bytes) {
    if (!PictureIsWhole(picture)) {
        return false;
    }
    ComRef<IWICImagingFactory> factory;
    ComRef<IStream> stream;
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    ComRef<IPropertyBag2> options;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    if (!MakeFactory(factory) || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Out())) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out())) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.Out(), options.Out())) ||
        FAILED(frame->Initialize(options.Get())) ||
        FAILED(
            frame->SetSize(static_cast<UINT>(picture.width), static_cast<UINT>(picture.height))) ||
        FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat32bppBGRA) {
        return false;
    }
    const UINT stride = static_cast<UINT>(picture.width) * 4;
    return SUCCEEDED(frame->WritePixels(
               static_cast<UINT>(picture.height), stride,
               stride * static_cast<UINT>(picture.height),
               reinterpret_cast<BYTE*>(const_cast<uint32_t*>(picture.pixels.data())))) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit()) &&
           StreamBytes(stream.Get(), bytes);
}

std::vector<MonitorSpace> ScreenMonitors() {
    return win32::GatherMonitors();
}

bool CaptureScreen(ScreenCapture& capture) {
    const std::vector<MonitorSpace> monitors = win32::GatherMonitors();
    if (monitors.empty()) {
        return false;
    }
    const ScreenRect bounds = PhysicalBounds(monitors);
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0) {
        return false;
    }
    thread_local CaptureBitmap bitmap;
    {
        const win32::PhysicalPixels pixels;
        HDC screen = GetDC(nullptr);
        if (screen == nullptr) {
            return false;
        }
        bool copied = bitmap.Prepare(screen, width, height);
        for (const MonitorSpace& monitor : monitors) {
            const ScreenRect& r = monitor.physical;
            const int stripRows = bitmap.Used()
                                      ? std::max(kStripBytes / ((r.right - r.left) * 4), 1)
                                      : r.bottom - r.top;
            for (int y = r.top; y < r.bottom && copied; y += stripRows) {
                copied = BitBlt(bitmap.Context(), r.left - bounds.left, y - bounds.top,
                                r.right - r.left, std::min(stripRows, r.bottom - y), screen, r.left,
                                y, SRCCOPY | CAPTUREBLT);
            }
        }
        ReleaseDC(nullptr, screen);
        GdiFlush();
        if (!copied) {
            return false;
        }
        bitmap.NoteUsed();
    }
    // A new desktop size or layout starts from black, so that no pixel of an old monitor stays.
    if (capture.width != width || capture.height != height ||
        !SameRects(capture.monitors, monitors)) {
        capture.pixels.assign(static_cast<size_t>(width) * height, 0);
    }
    // BitBlt leaves the alpha byte as it was; every screen pixel is opaque.
    for (const MonitorSpace& monitor : monitors) {
        const ScreenRect& r = monitor.physical;
        const int x = r.left - bounds.left;
        for (int y = r.top - bounds.top; y < r.bottom - bounds.top; ++y) {
            uint32_t* to = capture.pixels.data() + static_cast<size_t>(y) * width + x;
            const uint32_t* from = bitmap.Row(y) + x;
            for (int i = 0; i < r.right - r.left; ++i) {
                to[i] = from[i] | 0xFF000000u;
            }
        }
    }
    capture.width = width;
    capture.height = height;
    capture.left = bounds.left;
    capture.top = bounds.top;
    capture.monitors = monitors;
    return true;
}

}  // namespace platform
