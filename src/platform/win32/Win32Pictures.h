// Pictures decoded into a 32-bit DIB: metafiles through GDI, every other
// format through the Windows Imaging Component.
#pragma once
#include <windows.h>

#include <memory>

#include "platform/Pictures.h"

class Win32Picture : public Picture {
public:
    Win32Picture(HBITMAP bitmap, int width, int height) : bitmap_(bitmap), width_(width), height_(height) {}
    ~Win32Picture() override {
        if (bitmap_) DeleteObject(bitmap_);
    }
    Win32Picture(const Win32Picture&) = delete;
    Win32Picture& operator=(const Win32Picture&) = delete;
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    // A top-down 32 bpp premultiplied-BGRA DIB section.
    HBITMAP bitmap() const { return bitmap_; }

private:
    HBITMAP bitmap_;
    int width_;
    int height_;
};

// The largest side a decoded picture may have, in pixels.
constexpr int kMaxPictureSide = 16384;

// A 32-bit top-down DIB section of `width` x `height` pixels, compatible with
// `like` (null: the screen), and its pixel rows; null when the system refuses it.
HBITMAP NewTopDownDib(HDC like, int width, int height, void** bits);

// A blank picture of `width` x `height` pixels and its pixel rows; throws the
// decoder error when the system refuses the bitmap.
std::shared_ptr<Win32Picture> NewWin32Picture(int width, int height, void*& bits);

// Throws AppError with the system's wording of `hr`, or the decoder's own
// message with the code when the system has none.
[[noreturn]] void PictureDecoderError(HRESULT hr);

class Win32Pictures : public Pictures {
public:
    std::shared_ptr<Picture> Decode(const std::string& bytes, const std::u16string& extension) override;
};
