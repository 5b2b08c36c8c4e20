#pragma once
// Drawing surfaces, images and fonts. Standard C++ only: the toolkit draws
// through these interfaces, the Qt implementation (qt_canvas.h) sits behind
// them, and windows hand a canvas to IWindowClient::OnPaint.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/window/geometry.h"

// Text format flags for ICanvas::DrawText, with the desktop's classic values
// so that layout tables can be copied as they stand.
constexpr unsigned DT_TOP = 0x00000000;
constexpr unsigned DT_LEFT = 0x00000000;
constexpr unsigned DT_CENTER = 0x00000001;
constexpr unsigned DT_RIGHT = 0x00000002;
constexpr unsigned DT_VCENTER = 0x00000004;     // with DT_SINGLELINE; multi-line text is centred as a block too
constexpr unsigned DT_BOTTOM = 0x00000008;
constexpr unsigned DT_WORDBREAK = 0x00000010;   // wrap at word boundaries inside the rectangle
constexpr unsigned DT_SINGLELINE = 0x00000020;
constexpr unsigned DT_NOCLIP = 0x00000100;
constexpr unsigned DT_NOPREFIX = 0x00000800;    // accepted; '&' is never a prefix here anyway
constexpr unsigned DT_END_ELLIPSIS = 0x00008000;
constexpr unsigned DT_WORD_ELLIPSIS = 0x00040000;  // same as DT_END_ELLIPSIS: the end is cut with "…"

namespace platform {

// A font as the toolkit asks for it. height is the cell height in pixels
// (a negative height, as layout code may write it, means the same as its
// absolute value); width 0 keeps the face's own proportions, otherwise the
// average character width is stretched to it. weight 400 normal, 700 bold.
struct FontSpec {
    std::u16string face;
    int height = 12;
    int width = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// A read-only picture in memory: decoded PNG or BMP, or the contents of an
// image canvas.
class IImage {
public:
    virtual ~IImage() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // The colour at (x, y) as 0x00BBGGRR, un-premultiplied; 0 outside.
    virtual COLORREF Pixel(int x, int y) const = 0;
    // 0 (transparent) .. 255 (opaque); 0 outside.
    virtual int Alpha(int x, int y) const = 0;
    // The mean colour of the picture as drawn on opaque black: every channel
    // weighted by its pixel's alpha, averaged over all pixels (0 when empty).
    // Images that hold their bytes answer in one pass over them; this one
    // asks every pixel.
    virtual COLORREF AverageOverBlack() const
    {
        const int64_t n = static_cast<int64_t>(Width()) * Height();
        if (n <= 0) return 0;
        int64_t r = 0, g = 0, b = 0;
        for (int y = 0; y < Height(); ++y)
            for (int x = 0; x < Width(); ++x) {
                const COLORREF c = Pixel(x, y);
                const int a = Alpha(x, y);
                r += GetRValue(c) * a / 255;
                g += GetGValue(c) * a / 255;
                b += GetBValue(c) * a / 255;
            }
        return RGB(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
    }
    // Whether every pixel is fully opaque (drawn on anything, it looks the same).
    virtual bool IsOpaque() const
    {
        for (int y = 0; y < Height(); ++y)
            for (int x = 0; x < Width(); ++x)
                if (Alpha(x, y) != 255) return false;
        return true;
    }
};

class ICanvas {
public:
    virtual ~ICanvas() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;

    virtual void FillRect(const Rect& r, COLORREF colour) = 0;
    // The outline one pixel wide, inside r.
    virtual void FrameRect(const Rect& r, COLORREF colour) = 0;
    virtual void DrawLine(Point from, Point to, COLORREF colour, int width = 1) = 0;
    virtual void FillPolygon(const std::vector<Point>& points, COLORREF colour) = 0;

    // Draws the src part of the image stretched to dst with nearest-neighbour
    // sampling (skins scaled by 2 stay sharp), blending by the image's alpha
    // and by opacity (0..255). An empty src means the whole image.
    virtual void DrawImage(const IImage& image, const Rect& dst, const Rect& src = {}, int opacity = 255) = 0;

    // Text in r: DT_LEFT/DT_CENTER/DT_RIGHT, DT_TOP/DT_VCENTER/DT_BOTTOM,
    // DT_SINGLELINE (newlines shown as spaces) or DT_WORDBREAK, and
    // DT_END_ELLIPSIS/DT_WORD_ELLIPSIS to cut a too-long line with "…".
    // The background is never painted (transparent mode); clipped to r
    // unless DT_NOCLIP.
    virtual void DrawText(const std::u16string& text, const Rect& r, unsigned format, const FontSpec& font,
                          COLORREF colour) = 0;
    // The size the text takes on one line in the font.
    virtual Size MeasureText(const std::u16string& text, const FontSpec& font) = 0;

    // Drawing is limited to r (intersected with the canvas) until ResetClip.
    virtual void SetClip(const Rect& r) = 0;
    virtual void ResetClip() = 0;
};

// An off-screen canvas whose contents can be read back or drawn elsewhere
// (the memory device context of the skinned windows and of tests).
class IImageCanvas : public ICanvas {
public:
    // What has been drawn so far; stays valid as long as the canvas and
    // reflects later drawing.
    virtual const IImage& Image() const = 0;
};

// Where images and canvases come from. One instance lives as long as the
// window host (IWindowHost::Graphics()).
//
// Resources: the program's numbered image resources are PNG files the skin
// generator writes into the program folder: resource N is
// "<program folder>/skins/res/N.png" (bitmap resources too: they are PNG
// files as well). SetProgramFolder tells where that is.
class IGraphics {
public:
    virtual ~IGraphics() = default;
    // Loads a PNG or BMP file (UTF-8 path, '/' separators); null when the
    // file is missing or not an image.
    virtual std::unique_ptr<IImage> LoadImageFile(const std::string& path) = 0;
    // The pixel size of a PNG or BMP file, read from its header without
    // decoding the picture; {0, 0} when the file is missing or not an image.
    virtual Size ProbeImageFile(const std::string& path)
    {
        auto image = LoadImageFile(path);
        return image ? Size{image->Width(), image->Height()} : Size{};
    }
    // Loads image resource id from the program folder's skins/res/; null when absent.
    virtual std::unique_ptr<IImage> LoadImageResource(int id) = 0;
    // Folder that holds skins/, with or without a trailing '/'.
    virtual void SetProgramFolder(const std::string& folder) = 0;
    // A new off-screen canvas, filled with opaque black.
    virtual std::unique_ptr<IImageCanvas> CreateImageCanvas(int width, int height) = 0;
    // Copies an image (for caches that outlive their source).
    virtual std::unique_ptr<IImage> CopyImage(const IImage& image) = 0;
};

}  // namespace platform
