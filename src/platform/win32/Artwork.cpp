#include "platform/win32/Artwork.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "platform/win32/Win32Pictures.h"

namespace artwork {
namespace {

// Every picture is drawn this many times larger and then averaged down, which
// gives GDI's hard-edged polygons smooth edges.
constexpr int kOversample = 4;

struct Pt {
    double x, y;
};

// A GDI object that is deleted when it goes out of scope, selected into a DC
// for its lifetime.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), old_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        SelectObject(dc_, old_);
        DeleteObject(object_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ old_;
};

// Drawing in design coordinates on the oversampled bitmap.
class Canvas {
public:
    Canvas(HDC dc, double sx, double sy) : dc_(dc), sx_(sx), sy_(sy) {}

    void Polygon(std::initializer_list<Pt> points, COLORREF fill, COLORREF outline, double width = 1.0) {
        std::vector<POINT> device;
        for (const Pt& p : points) device.push_back(Map(p));
        SelectedObject brush(dc_, CreateSolidBrush(fill));
        SelectedObject pen(dc_, MakePen(outline, width));
        ::Polygon(dc_, device.data(), static_cast<int>(device.size()));
    }
    void Fill(std::initializer_list<Pt> points, COLORREF fill) {
        std::vector<POINT> device;
        for (const Pt& p : points) device.push_back(Map(p));
        SelectedObject brush(dc_, CreateSolidBrush(fill));
        SelectedObject pen(dc_, CreatePen(PS_NULL, 0, 0));
        ::Polygon(dc_, device.data(), static_cast<int>(device.size()));
    }
    void Ellipse(Pt a, Pt b, COLORREF fill) {
        const POINT p = Map(a), q = Map(b);
        SelectedObject brush(dc_, CreateSolidBrush(fill));
        SelectedObject pen(dc_, CreatePen(PS_NULL, 0, 0));
        ::Ellipse(dc_, p.x, p.y, q.x, q.y);
    }
    void Ring(Pt centre, double radius, COLORREF colour, double width) {
        const POINT p = Map({centre.x - radius, centre.y - radius}), q = Map({centre.x + radius, centre.y + radius});
        SelectedObject brush(dc_, GetStockObject(NULL_BRUSH));
        SelectedObject pen(dc_, MakePen(colour, width));
        ::Ellipse(dc_, p.x, p.y, q.x, q.y);
    }
    void RoundRect(Pt a, Pt b, double corner, COLORREF fill, COLORREF outline) {
        const POINT p = Map(a), q = Map(b);
        SelectedObject brush(dc_, CreateSolidBrush(fill));
        SelectedObject pen(dc_, MakePen(outline, 1.0));
        const int c = static_cast<int>(corner * sx_);
        ::RoundRect(dc_, p.x, p.y, q.x, q.y, c, c);
    }
    void Line(std::initializer_list<Pt> points, COLORREF colour, double width) {
        std::vector<POINT> device;
        for (const Pt& p : points) device.push_back(Map(p));
        SelectedObject pen(dc_, MakePen(colour, width));
        ::Polyline(dc_, device.data(), static_cast<int>(device.size()));
    }
    // Top to bottom, row by row of the oversampled bitmap.
    void VerticalGradient(int width, int height, COLORREF top, COLORREF bottom) {
        for (int y = 0; y < height; ++y) {
            const double t = height > 1 ? static_cast<double>(y) / (height - 1) : 0;
            auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
            const COLORREF c = RGB(mix(GetRValue(top), GetRValue(bottom)), mix(GetGValue(top), GetGValue(bottom)),
                                   mix(GetBValue(top), GetBValue(bottom)));
            RECT row{0, y, width, y + 1};
            HBRUSH brush = CreateSolidBrush(c);
            FillRect(dc_, &row, brush);
            DeleteObject(brush);
        }
    }

private:
    POINT Map(Pt p) const { return {static_cast<LONG>(std::lround(p.x * sx_)), static_cast<LONG>(std::lround(p.y * sy_))}; }
    HPEN MakePen(COLORREF colour, double width) const {
        LOGBRUSH brush{BS_SOLID, colour, 0};
        const DWORD w = static_cast<DWORD>(std::max(1.0, std::lround(width * sx_) * 1.0));
        return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, w, &brush, 0, nullptr);
    }

    HDC dc_;
    double sx_, sy_;
};

// An open box with a downward arrow: the product going into its place.
void DrawBox(Canvas& c, double cx, double top, double half, double depth, COLORREF topFace, COLORREF left,
             COLORREF right) {
    const double rise = half / 2;
    c.Fill({{cx, top}, {cx + half, top + rise}, {cx, top + 2 * rise}, {cx - half, top + rise}}, topFace);
    c.Fill({{cx - half, top + rise}, {cx, top + 2 * rise}, {cx, top + 2 * rise + depth}, {cx - half, top + rise + depth}},
           left);
    c.Fill({{cx, top + 2 * rise}, {cx + half, top + rise}, {cx + half, top + rise + depth}, {cx, top + 2 * rise + depth}},
           right);
}

void DrawArrow(Canvas& c, double cx, double top, double shaftWidth, double shaftLength, double headWidth,
               double headLength, COLORREF colour) {
    const double h = shaftWidth / 2, w = headWidth / 2, join = top + shaftLength;
    c.Fill({{cx - h, top}, {cx + h, top}, {cx + h, join}, {cx + w, join}, {cx, join + headLength}, {cx - w, join},
            {cx - h, join}},
           colour);
}

void SidePicture(Canvas& c, int deviceWidth, int deviceHeight) {
    c.VerticalGradient(deviceWidth, deviceHeight, RGB(0x10, 0x2E, 0x55), RGB(0x2E, 0x82, 0xB8));
    // Quiet rings spreading from the upper right.
    const COLORREF rings[] = {RGB(0x3A, 0x6C, 0x9E), RGB(0x33, 0x63, 0x95), RGB(0x2D, 0x5B, 0x8C), RGB(0x29, 0x55, 0x86)};
    for (int i = 0; i < 4; ++i) c.Ring({100, 64}, 28 + 22.0 * i, rings[i], 1.4);
    // A few stars.
    const Pt stars[] = {{18, 36}, {40, 112}, {90, 152}, {14, 188}, {70, 22}};
    const double sizes[] = {1.6, 1.1, 1.3, 1.0, 1.2};
    for (int i = 0; i < 5; ++i) {
        c.Ellipse({stars[i].x - sizes[i], stars[i].y - sizes[i]}, {stars[i].x + sizes[i], stars[i].y + sizes[i]},
                  RGB(0xD8, 0xEA, 0xF6));
    }
    // The box on its shadow, with the arrow coming down into it.
    c.Ellipse({24, 286}, {94, 306}, RGB(0x22, 0x5E, 0x92));
    DrawBox(c, 59, 238, 27, 30, RGB(0xF6, 0xCB, 0x62), RGB(0xE2, 0xA6, 0x3C), RGB(0xC4, 0x84, 0x2A));
    c.Line({{46, 251.5}, {72, 264.5}}, RGB(0xFB, 0xE3, 0xA4), 1.2);
    DrawArrow(c, 59, 184, 9, 28, 25, 17, RGB(0xF0, 0xF7, 0xFC));
}

void HeaderIcon(Canvas& c) {
    c.Ellipse({4, 4}, {56, 56}, RGB(0xE2, 0xEF, 0xF9));
    c.Ellipse({14, 46}, {46, 54}, RGB(0xCB, 0xDF, 0xEF));
    DrawBox(c, 30, 23, 15, 16, RGB(0xF6, 0xCB, 0x62), RGB(0xE2, 0xA6, 0x3C), RGB(0xC4, 0x84, 0x2A));
    DrawArrow(c, 30, 5, 5, 11, 15, 9, RGB(0x24, 0x6F, 0xAE));
}

void FolderIcon(Canvas& c) {
    c.Polygon({{3, 7}, {12, 7}, {15, 10}, {29, 10}, {29, 28}, {3, 28}}, RGB(0xDA, 0xA0, 0x2C), RGB(0xA5, 0x70, 0x18));
    c.Polygon({{6, 12}, {27, 12}, {27, 24}, {6, 24}}, RGB(0xFF, 0xFF, 0xFF), RGB(0xB8, 0xB8, 0xB8));
    c.Line({{9, 15.5}, {23, 15.5}}, RGB(0xC8, 0xD3, 0xDD), 0.8);
    c.Line({{9, 18.5}, {20, 18.5}}, RGB(0xC8, 0xD3, 0xDD), 0.8);
    c.Polygon({{3, 28}, {6.5, 15}, {32, 15}, {29, 28}}, RGB(0xF6, 0xC6, 0x53), RGB(0xB3, 0x80, 0x22));
}

void StartMenuIcon(Canvas& c) {
    c.RoundRect({5, 5}, {39, 39}, 7, RGB(0xEC, 0xF3, 0xFA), RGB(0x9C, 0xB6, 0xCF));
    c.RoundRect({10, 10}, {21, 21}, 3, RGB(0x2F, 0x80, 0xC4), RGB(0x2F, 0x80, 0xC4));
    c.RoundRect({23, 10}, {34, 21}, 3, RGB(0x55, 0xA7, 0xDE), RGB(0x55, 0xA7, 0xDE));
    c.RoundRect({10, 23}, {21, 34}, 3, RGB(0x55, 0xA7, 0xDE), RGB(0x55, 0xA7, 0xDE));
    c.RoundRect({23, 23}, {34, 34}, 3, RGB(0x1F, 0x5F, 0x9A), RGB(0x1F, 0x5F, 0x9A));
    // The shortcut badge.
    c.RoundRect({2, 28}, {17, 43}, 3, RGB(0xFF, 0xFF, 0xFF), RGB(0x7E, 0x8E, 0x9F));
    c.Line({{6, 39}, {6.5, 35}, {9, 33}, {12.5, 33}}, RGB(0x1F, 0x5F, 0x9A), 1.6);
    c.Fill({{11.5, 30}, {15, 33}, {11.5, 36}}, RGB(0x1F, 0x5F, 0x9A));
}

// A 32-bit top-down DIB section selected into its own memory DC.
class Surface {
public:
    Surface(HDC like, int width, int height) : width_(width), height_(height) {
        dc_ = CreateCompatibleDC(like);
        void* bits = nullptr;
        bitmap_ = NewTopDownDib(like, width, height, &bits);
        bits_ = static_cast<decltype(bits_)>(bits);
        if (dc_ && bitmap_) old_ = SelectObject(dc_, bitmap_);
    }
    ~Surface() {
        if (old_) SelectObject(dc_, old_);
        if (bitmap_) DeleteObject(bitmap_);
        if (dc_) DeleteDC(dc_);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    bool Ok() const { return dc_ && bitmap_ && bits_; }
    HDC Dc() const { return dc_; }
    uint32_t* Bits() const { return bits_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// Averages each kOversample × kOversample block of `big` into one pixel of `small`.
void Downsample(const Surface& big, Surface& small) {
    GdiFlush();
    const int n = kOversample * kOversample;
    for (int y = 0; y < small.Height(); ++y) {
        for (int x = 0; x < small.Width(); ++x) {
            unsigned r = 0, g = 0, b = 0;
            for (int dy = 0; dy < kOversample; ++dy) {
                const uint32_t* row = big.Bits() + static_cast<size_t>(y * kOversample + dy) * big.Width() + x * kOversample;
                for (int dx = 0; dx < kOversample; ++dx) {
                    r += (row[dx] >> 16) & 0xFF;
                    g += (row[dx] >> 8) & 0xFF;
                    b += row[dx] & 0xFF;
                }
            }
            small.Bits()[static_cast<size_t>(y) * small.Width() + x] = ((r / n) << 16) | ((g / n) << 8) | (b / n);
        }
    }
}

}  // namespace

SIZE DesignSize(Art art) {
    switch (art) {
        case Art::SidePicture: return {118, 340};
        case Art::HeaderIcon: return {60, 60};
        case Art::FolderIcon: return {33, 34};
        case Art::StartMenuIcon: return {42, 44};
        case Art::None: break;
    }
    return {1, 1};
}

void Draw(HDC dc, const RECT& target, Art art, COLORREF background) {
    const int width = target.right - target.left, height = target.bottom - target.top;
    if (width <= 0 || height <= 0) return;
    Surface big(dc, width * kOversample, height * kOversample);
    Surface small(dc, width, height);
    if (!big.Ok() || !small.Ok()) return;
    RECT all{0, 0, big.Width(), big.Height()};
    HBRUSH fill = CreateSolidBrush(background);
    FillRect(big.Dc(), &all, fill);
    DeleteObject(fill);

    const SIZE design = DesignSize(art);
    Canvas canvas(big.Dc(), static_cast<double>(big.Width()) / design.cx, static_cast<double>(big.Height()) / design.cy);
    switch (art) {
        case Art::SidePicture: SidePicture(canvas, big.Width(), big.Height()); break;
        case Art::HeaderIcon: HeaderIcon(canvas); break;
        case Art::FolderIcon: FolderIcon(canvas); break;
        case Art::StartMenuIcon: StartMenuIcon(canvas); break;
        case Art::None: break;
    }
    Downsample(big, small);
    BitBlt(dc, target.left, target.top, width, height, small.Dc(), 0, 0, SRCCOPY);
}

}  // namespace artwork
