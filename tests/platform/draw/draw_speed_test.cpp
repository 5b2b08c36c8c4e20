// The short cuts the canvas takes for speed must draw exactly what the
// general path draws.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/draw/qt_canvas.h"

using namespace platform;

namespace {

// Hides the QImage behind the interface, so that the canvas takes its
// general, pixel-by-pixel path.
class OpaqueToCanvas final : public IImage {
public:
    explicit OpaqueToCanvas(const IImage& inner) : inner_(inner) {}
    int Width() const override { return inner_.Width(); }
    int Height() const override { return inner_.Height(); }
    COLORREF Pixel(int x, int y) const override { return inner_.Pixel(x, y); }
    int Alpha(int x, int y) const override { return inner_.Alpha(x, y); }

private:
    const IImage& inner_;
};

// A picture with every kind of pixel: opaque, translucent, transparent.
QtImage Sample(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int a = (x + y) % 3 == 0 ? 255 : (x * 37 + y * 11) % 256;
            img.setPixel(x, y, qRgba((x * 53) % 256, (y * 29) % 256, (x * y) % 256, a));
        }
    return QtImage(img);
}

void ExpectSame(const IImage& a, const IImage& b, const char* what)
{
    ASSERT_EQ(a.Width(), b.Width());
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y)) << what << " at " << x << "," << y;
}

}  // namespace

TEST(DrawSpeed, UnscaledDrawingMatchesTheGeneralPathEverywhere)
{
    EnsureGuiApplication();
    const QtImage picture = Sample(23, 17);
    const OpaqueToCanvas slow(picture);
    struct Case {
        const char* what;
        Rect dst, src;
        int opacity;
        Rect clip;
    };
    const Case cases[] = {
        {"whole", {5, 5, 28, 22}, {}, 255, {}},
        {"part", {10, 3, 20, 13}, {4, 2, 14, 12}, 255, {}},
        {"off the left and top", {-6, -4, 17, 13}, {}, 255, {}},
        {"source past the picture", {2, 2, 32, 32}, {-3, -5, 27, 25}, 255, {}},
        {"translucent", {0, 0, 23, 17}, {}, 128, {}},
        {"clipped", {1, 1, 24, 18}, {}, 255, {4, 6, 15, 11}},
        {"nothing left", {0, 0, 10, 10}, {30, 30, 40, 40}, 255, {}},
    };
    for (const Case& c : cases) {
        QtImageCanvas fast(40, 40), general(40, 40);
        for (QtImageCanvas* canvas : {&fast, &general}) {
            canvas->FillRect({0, 0, 40, 40}, RGB(10, 90, 200));
            if (!c.clip.IsEmpty()) canvas->SetClip(c.clip);
        }
        fast.DrawImage(picture, c.dst, c.src, c.opacity);
        general.DrawImage(slow, c.dst, c.src, c.opacity);
        ExpectSame(fast.Image(), general.Image(), c.what);
    }
}

TEST(DrawSpeed, AverageFromTheBytesMatchesTheAverageOfEveryPixel)
{
    EnsureGuiApplication();
    for (const QtImage& picture : {Sample(64, 48), Sample(1, 1), Sample(301, 7)}) {
        const COLORREF fast = picture.AverageOverBlack();
        const COLORREF full = picture.IImage::AverageOverBlack();
        EXPECT_LE(std::abs(GetRValue(fast) - GetRValue(full)), 1);
        EXPECT_LE(std::abs(GetGValue(fast) - GetGValue(full)), 1);
        EXPECT_LE(std::abs(GetBValue(fast) - GetBValue(full)), 1);
    }
    EXPECT_EQ(QtImage(QImage()).AverageOverBlack(), 0u);

    // The average's pass also learns whether the picture is opaque.
    QImage opaque(30, 20, QImage::Format_RGB32);
    opaque.fill(QColor(9, 8, 7));
    const QtImage solid(opaque);
    EXPECT_FALSE(solid.KnownOpaque());
    EXPECT_EQ(solid.AverageOverBlack(), RGB(9, 8, 7));
    EXPECT_TRUE(solid.KnownOpaque());
    QImage translucent = opaque.convertToFormat(QImage::Format_ARGB32);
    translucent.setPixel(29, 19, qRgba(1, 1, 1, 254));
    const QtImage almost(translucent);
    almost.AverageOverBlack();
    EXPECT_FALSE(almost.KnownOpaque());
    EXPECT_FALSE(almost.IsOpaque());
}

TEST(DrawSpeed, StretchedDownOnlyMatchesTheGeneralPath)
{
    EnsureGuiApplication();
    const QtImage picture = Sample(23, 17);
    const OpaqueToCanvas slow(picture);
    const struct {
        Rect dst, src;
        int opacity;
    } cases[] = {
        {{3, 2, 26, 39}, {}, 255},               // taller
        {{3, 2, 26, 9}, {}, 255},                // shorter
        {{-4, -3, 19, 50}, {0, 4, 23, 13}, 200}, // part, off the corner, translucent
        {{0, 0, 23, 40}, {0, -5, 23, 25}, 255},  // rows past the picture
    };
    for (const auto& c : cases) {
        QtImageCanvas fast(40, 40), general(40, 40);
        for (QtImageCanvas* canvas : {&fast, &general}) canvas->FillRect({0, 0, 40, 40}, RGB(200, 40, 10));
        fast.DrawImage(picture, c.dst, c.src, c.opacity);
        general.DrawImage(slow, c.dst, c.src, c.opacity);
        ExpectSame(fast.Image(), general.Image(), "stretched down");
    }
}

TEST(DrawSpeed, AnOpaquePictureIsCopiedAsTheGeneralPathBlendsIt)
{
    EnsureGuiApplication();
    QImage img(19, 11, QImage::Format_RGB32);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 19; ++x) img.setPixel(x, y, qRgb(x * 13, y * 23, (x + y) * 7));
    const QtImage picture(img);
    ASSERT_TRUE(picture.IsOpaque());
    ASSERT_TRUE(picture.KnownOpaque());
    const OpaqueToCanvas slow(picture);
    for (const Rect& dst : {Rect{2, 3, 21, 14}, Rect{-5, 1, 14, 30}}) {
        for (int opacity : {255, 90}) {
            QtImageCanvas fast(30, 30), general(30, 30);
            for (QtImageCanvas* canvas : {&fast, &general}) canvas->FillRect({0, 0, 30, 30}, RGB(50, 60, 70));
            fast.DrawImage(picture, dst, {}, opacity);
            general.DrawImage(slow, dst, {}, opacity);
            ExpectSame(fast.Image(), general.Image(), "opaque");
        }
    }
    EXPECT_FALSE(Sample(5, 5).IsOpaque());
}

TEST(DrawSpeed, ALargePalettePictureStaysSmallAndDrawsAsExpandedOne)
{
    EnsureGuiApplication();
    QImage rgb(700, 400, QImage::Format_RGB32);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 700; ++x) {
            const int i = (x / 9 + (y / 7) * 13) % 200;
            rgb.setPixel(x, y, qRgb(i, 255 - i, i * 3 % 256));
        }
    const QImage indexed = rgb.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    ASSERT_EQ(indexed.convertToFormat(QImage::Format_RGB32), rgb);  // few enough colours: exact
    const QtImage compact(indexed);
    const QtImage expanded(rgb);
    EXPECT_TRUE(compact.IsCompact());
    // Flat runs and repeated rows: far below one byte a pixel.
    EXPECT_LT(compact.Runs()->Bytes(), size_t(700 * 400 / 8));
    EXPECT_FALSE(expanded.IsCompact());
    EXPECT_FALSE(QtImage(indexed.copy(0, 0, 50, 50)).IsCompact());  // small: expanded at once
    EXPECT_EQ(compact.AverageOverBlack(), expanded.AverageOverBlack());
    EXPECT_TRUE(compact.IsOpaque());
    EXPECT_EQ(compact.Pixel(123, 45), expanded.Pixel(123, 45));
    EXPECT_EQ(compact.Alpha(699, 399), 255);
    expanded.IsOpaque();
    for (const Rect& dst : {Rect{0, 0, 700, 400}, Rect{-30, 17, 670, 417}, Rect{5, 5, 705, 905}, Rect{0, 0, 1400, 800}}) {
        QtImageCanvas a(720, 450), b(720, 450);
        for (QtImageCanvas* canvas : {&a, &b}) canvas->FillRect({0, 0, 720, 450}, RGB(1, 2, 3));
        a.SetClip({3, 3, 600, 440});
        b.SetClip({3, 3, 600, 440});
        a.DrawImage(compact, dst, {}, 255);
        b.DrawImage(expanded, dst, {}, 255);
        ExpectSame(a.Image(), b.Image(), "palette");
    }
}
