#include "platform/win32/Win32Metafiles.h"

#include <wincodec.h>

#include <cstdint>
#include <cstddef>

namespace metafiles {
namespace {

// The side strip is laid out in 96-dpi units (its peer scales it to the
// monitor), so a metafile's physical size becomes pixels at 96 per inch.
constexpr int kLayoutDpi = 96;
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableSize = 22;

uint16_t Word(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8));
}
uint32_t DWord(const std::string& b, size_t at) { return Word(b, at) | (static_cast<uint32_t>(Word(b, at + 2)) << 16); }

// The oldest enhanced metafiles have an 80-byte header, without the fields
// that later versions added at its end.
bool IsEnhanced(const std::string& b) {
    return b.size() >= 80 && DWord(b, 0) == EMR_HEADER &&
           DWord(b, offsetof(ENHMETAHEADER, dSignature)) == ENHMETA_SIGNATURE;
}
bool IsPlaceable(const std::string& b) { return b.size() >= kPlaceableSize && DWord(b, 0) == kPlaceableKey; }
// The METAHEADER of a Windows metafile at `at`: in memory or on disk, a
// header of nine words, version 1.0 or 3.0.
bool IsWindows(const std::string& b, size_t at) {
    if (b.size() < at + sizeof(METAHEADER)) return false;
    const uint16_t type = Word(b, at), words = Word(b, at + 2), version = Word(b, at + 4);
    return (type == 1 || type == 2) && words == 9 && (version == 0x0100 || version == 0x0300);
}

class EnhMetaFile {
public:
    explicit EnhMetaFile(HENHMETAFILE h) : h_(h) {}
    ~EnhMetaFile() {
        if (h_) DeleteEnhMetaFile(h_);
    }
    EnhMetaFile(const EnhMetaFile&) = delete;
    EnhMetaFile& operator=(const EnhMetaFile&) = delete;
    HENHMETAFILE get() const { return h_; }

private:
    HENHMETAFILE h_;
};

class MemoryDc {
public:
    MemoryDc() : dc_(CreateCompatibleDC(nullptr)) {}
    ~MemoryDc() {
        if (old_) SelectObject(dc_, old_);
        if (dc_) DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc_; }
    void Select(HGDIOBJ object) { old_ = SelectObject(dc_, object); }

private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

struct Size {
    int width = 0, height = 0;
};

[[noreturn]] void Bad() { PictureDecoderError(WINCODEC_ERR_BADIMAGE); }

// The picture's size from an enhanced metafile's header. The frame (in
// 0.01 mm) is the size its author gave the picture, blank margins included;
// the bounds are only the drawn part, in the recording screen's pixels, and
// serve when the frame is empty.
Size SizeOf(HENHMETAFILE emf) {
    ENHMETAHEADER header{};
    if (GetEnhMetaFileHeader(emf, sizeof header, &header) == 0) Bad();
    const RECTL& f = header.rclFrame;
    Size size{MulDiv(f.right - f.left, kLayoutDpi, 2540), MulDiv(f.bottom - f.top, kLayoutDpi, 2540)};
    if (size.width <= 0 || size.height <= 0) {
        const RECTL& b = header.rclBounds;
        size = {b.right - b.left + 1, b.bottom - b.top + 1};
    }
    return size;
}

std::shared_ptr<Win32Picture> Play(HENHMETAFILE emf, Size size) {
    if (size.width <= 0 || size.height <= 0 || size.width > kMaxPictureSide || size.height > kMaxPictureSide) Bad();
    void* bits = nullptr;
    auto picture = NewWin32Picture(size.width, size.height, bits);
    MemoryDc dc;
    if (!dc.get()) Bad();
    dc.Select(picture->bitmap());
    // A metafile draws on whatever lies below it: white, as on paper.
    PatBlt(dc.get(), 0, 0, size.width, size.height, WHITENESS);
    const RECT area{0, 0, size.width, size.height};
    if (!PlayEnhMetaFile(dc.get(), emf, &area)) Bad();
    GdiFlush();
    // GDI leaves the alpha bytes at zero; the picture is opaque.
    auto* pixel = static_cast<uint32_t*>(bits);
    for (size_t i = 0, n = static_cast<size_t>(size.width) * size.height; i < n; ++i) pixel[i] |= 0xFF000000u;
    return picture;
}

// The extent of the first SetWindowExt record of a Windows metafile, or none.
// Each record starts with its length in words and its function number.
Size WindowExtent(const std::string& b) {
    constexpr uint16_t kSetWindowExt = 0x020C;
    size_t at = sizeof(METAHEADER);
    while (at + 6 <= b.size()) {
        const uint32_t words = DWord(b, at);
        const uint16_t function = Word(b, at + 4);
        if (words < 3 || function == 0 || words > (b.size() - at) / 2) break;
        if (function == kSetWindowExt && words >= 5) {
            return {static_cast<int16_t>(Word(b, at + 8)), static_cast<int16_t>(Word(b, at + 6))};
        }
        at += words * 2;
    }
    return {};
}

}  // namespace

bool Recognised(const std::string& bytes) {
    return IsEnhanced(bytes) || IsPlaceable(bytes) || IsWindows(bytes, 0);
}

std::shared_ptr<Win32Picture> Decode(const std::string& bytes) {
    if (IsEnhanced(bytes)) {
        EnhMetaFile emf(SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), reinterpret_cast<const BYTE*>(bytes.data())));
        if (!emf.get()) Bad();
        return Play(emf.get(), SizeOf(emf.get()));
    }
    if (IsPlaceable(bytes)) {
        // Bounding box in metafile units, and how many of them make an inch.
        const auto left = static_cast<int16_t>(Word(bytes, 6)), top = static_cast<int16_t>(Word(bytes, 8));
        const auto right = static_cast<int16_t>(Word(bytes, 10)), bottom = static_cast<int16_t>(Word(bytes, 12));
        const int inch = Word(bytes, 14);
        const int w = right - left, h = bottom - top;
        if (w <= 0 || h <= 0 || inch == 0 || !IsWindows(bytes, kPlaceableSize)) Bad();
        METAFILEPICT pict{MM_ANISOTROPIC, MulDiv(w, 2540, inch), MulDiv(h, 2540, inch), nullptr};
        EnhMetaFile emf(SetWinMetaFileBits(static_cast<UINT>(bytes.size() - kPlaceableSize),
                                           reinterpret_cast<const BYTE*>(bytes.data() + kPlaceableSize), nullptr, &pict));
        if (!emf.get()) Bad();
        return Play(emf.get(), {MulDiv(w, kLayoutDpi, inch), MulDiv(h, kLayoutDpi, inch)});
    }
    // A Windows metafile without the placeable header carries no size of its
    // own: GDI would spread it over the whole screen. Its window extent, in
    // the pixels it was drawn in, is the size its author gave it.
    const Size extent = WindowExtent(bytes);
    if (extent.width <= 0 || extent.height <= 0) Bad();
    METAFILEPICT pict{MM_ANISOTROPIC, MulDiv(extent.width, 2540, kLayoutDpi), MulDiv(extent.height, 2540, kLayoutDpi),
                      nullptr};
    EnhMetaFile emf(SetWinMetaFileBits(static_cast<UINT>(bytes.size()), reinterpret_cast<const BYTE*>(bytes.data()),
                                       nullptr, &pict));
    if (!emf.get()) Bad();
    return Play(emf.get(), extent);
}

}  // namespace metafiles
