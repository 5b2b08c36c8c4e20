#pragma once
// The canvas, image and font types over QImage and QPainter. Used by the Qt
// window host for its back buffers and by the headless host, so tests see
// exactly the pixels the program would show.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <memory>
#include <optional>

#include "platform/draw/canvas.h"
#include "platform/draw/palette_runs.h"

namespace platform {

QString ToQString(const std::u16string& s);
std::u16string FromQString(const QString& s);
// The Qt font for a font request; the face falls back through fontconfig
// when it is not installed.
QFont ToQFont(const FontSpec& spec);
// A picture file read by the built-in reader its name gives (PNG, BMP), or
// by whichever reader knows it; null when none does.
QImage ReadPictureFile(const std::string& path);

// An image over a QImage in premultiplied ARGB, or, for a large opaque
// picture decoded with a palette (a window background), over the runs of
// its rows (PaletteRuns), expanded a few rows at a time as drawn.
class QtImage final : public IImage {
public:
    explicit QtImage(QImage image);
    explicit QtImage(std::shared_ptr<const PaletteRuns> runs);
    int Width() const override { return runs_ ? runs_->Width() : image_.width(); }
    int Height() const override { return runs_ ? runs_->Height() : image_.height(); }
    COLORREF Pixel(int x, int y) const override;
    int Alpha(int x, int y) const override;
    // Premultiplied bytes are already the colour as drawn on black.
    COLORREF AverageOverBlack() const override;
    // Scans once; later calls (and the canvas) use the answer.
    bool IsOpaque() const override;
    // Whether IsOpaque or AverageOverBlack found the picture opaque (false
    // until one of them has looked).
    bool KnownOpaque() const { return opaque_ == 1; }
    // The pixels; empty for a compact picture (see Runs).
    const QImage& Get() const { return image_; }
    // Kept as palette runs (every colour opaque); null otherwise.
    const std::shared_ptr<const PaletteRuns>& Runs() const { return runs_; }
    bool IsCompact() const { return runs_ != nullptr; }
    // Drawing on the image (never a compact one): it may stop being opaque.
    QImage& Mutable()
    {
        opaque_ = -1;
        return image_;
    }

private:
    QImage image_;
    std::shared_ptr<const PaletteRuns> runs_;
    mutable int opaque_ = -1;  // -1 not known yet
};

// Draws on a QImage that outlives the canvas, or straight on a widget from
// its paint event (into the window system's own back buffer). base limits
// every drawing (a window's dirty rectangle); SetClip narrows it further.
class QtCanvas final : public ICanvas {
public:
    explicit QtCanvas(QPaintDevice* target, std::optional<Rect> base = std::nullopt);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    int Width() const override { return target_->width(); }
    int Height() const override { return target_->height(); }
    void FillRect(const Rect& r, COLORREF colour) override;
    void FrameRect(const Rect& r, COLORREF colour) override;
    void DrawLine(Point from, Point to, COLORREF colour, int width) override;
    void FillPolygon(const std::vector<Point>& points, COLORREF colour) override;
    void DrawImage(const IImage& image, const Rect& dst, const Rect& src, int opacity) override;
    void DrawText(const std::u16string& text, const Rect& r, unsigned format, const FontSpec& font,
                  COLORREF colour) override;
    Size MeasureText(const std::u16string& text, const FontSpec& font) override;
    void SetClip(const Rect& r) override;
    void ResetClip() override;

private:
    // A picture stretched by a fraction or shrunk: smooth sampling of the
    // source rectangle alone.
    // Qt's painter hands a blend of 96 rows or more to its own thread pool,
    // whose hand-overs a race checker cannot see and which a paint gains
    // nothing from: large pictures are drawn this many rows at a time.
    static constexpr int kRowsPerBlend = 64;
    void DrawSmooth(const QtImage& image, const Rect& dst, const Rect& src, int opacity);
    // Not stretched across: rows straight from the picture.
    void DrawUnstretchedAcross(const QtImage& image, const Rect& dst, const Rect& src, const Rect& visible,
                               int opacity);
    void DrawRunsAcross(const PaletteRuns& runs, int height, const Rect& dst, const Rect& src, const Rect& across);
    // Whole multiples and pictures of other kinds: one source pixel per
    // destination pixel.
    void DrawNearest(const IImage& image, const Rect& dst, const Rect& src, const Rect& visible, int opacity);
    Rect Bounds() const { return {0, 0, target_->width(), target_->height()}; }
    void ApplyClip();

    QPaintDevice* target_;
    QPainter painter_;
    Rect base_;
    std::optional<Rect> clip_;
};

// An off-screen canvas that owns its pixels.
class QtImageCanvas final : public IImageCanvas {
public:
    QtImageCanvas(int width, int height);
    int Width() const override { return canvas_->Width(); }
    int Height() const override { return canvas_->Height(); }
    void FillRect(const Rect& r, COLORREF c) override { canvas_->FillRect(r, c); }
    void FrameRect(const Rect& r, COLORREF c) override { canvas_->FrameRect(r, c); }
    void DrawLine(Point a, Point b, COLORREF c, int w) override { canvas_->DrawLine(a, b, c, w); }
    void FillPolygon(const std::vector<Point>& p, COLORREF c) override { canvas_->FillPolygon(p, c); }
    void DrawImage(const IImage& i, const Rect& d, const Rect& s, int o) override { canvas_->DrawImage(i, d, s, o); }
    void DrawText(const std::u16string& t, const Rect& r, unsigned f, const FontSpec& font, COLORREF c) override
    {
        canvas_->DrawText(t, r, f, font, c);
    }
    Size MeasureText(const std::u16string& t, const FontSpec& font) override { return canvas_->MeasureText(t, font); }
    void SetClip(const Rect& r) override { canvas_->SetClip(r); }
    void ResetClip() override { canvas_->ResetClip(); }
    const IImage& Image() const override { return image_; }

private:
    QtImage image_;
    std::unique_ptr<QtCanvas> canvas_;
};

// Images and canvases for both hosts. When no Qt application object exists
// yet (tests on the headless host) it creates an off-screen QGuiApplication,
// because fonts need one.
class QtGraphics final : public IGraphics {
public:
    QtGraphics();
    std::unique_ptr<IImage> LoadImageFile(const std::string& path) override;
    Size ProbeImageFile(const std::string& path) override;
    std::unique_ptr<IImage> LoadImageResource(int id) override;
    void SetProgramFolder(const std::string& folder) override;
    std::unique_ptr<IImageCanvas> CreateImageCanvas(int width, int height) override;
    std::unique_ptr<IImage> CopyImage(const IImage& image) override;
    // The path resource id is read from.
    std::string ResourcePath(int id) const;

private:
    std::string programFolder_;
};

// Makes sure a QGuiApplication (or QApplication) exists; creates an
// off-screen one when nothing else did.
void EnsureGuiApplication();

}  // namespace platform
