// Pictures decoded through the Windows Imaging Component into a 32-bit DIB.
#pragma once
#include <windows.h>

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

class Win32Pictures : public Pictures {
public:
    std::shared_ptr<Picture> Decode(const std::string& bytes, const std::u16string& extension) override;
};
