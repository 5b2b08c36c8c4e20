#include "platform/draw/image_convert.h"
#include "platform/draw/qt_canvas.h"

#include <gtest/gtest.h>

#include <cstring>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

using namespace platform;

namespace {

constexpr COLORREF kBack = RGB(0, 0, 0);
constexpr COLORREF kInk = RGB(255, 255, 255);

// The box around every pixel that is not the background.
Rect InkBox(const IImage& img)
{
    Rect box{img.Width(), img.Height(), -1, -1};
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x)
            if (img.Pixel(x, y) != kBack) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return box;
}

int InkCount(const IImage& img)
{
    int n = 0;
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x) n += img.Pixel(x, y) != kBack;
    return n;
}

bool SamePixels(const IImage& a, const IImage& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
}

class CanvasTest : public ::testing::Test {
protected:
    QtGraphics graphics;
    FontSpec font{u"DejaVu Sans", 14, 0, 400};

    std::unique_ptr<IImage> MakeImage(int w, int h, std::function<QRgb(int, int)> pixel)
    {
        QImage img(w, h, QImage::Format_ARGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) img.setPixel(x, y, pixel(x, y));
        return std::make_unique<QtImage>(img);
    }
};

TEST_F(CanvasTest, TextAlignsLeftCentreAndRightInItsRectangle)
{
    const Rect r{20, 10, 220, 40};
    Rect boxes[3];
    unsigned aligns[3] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    for (int i = 0; i < 3; ++i) {
        auto c = graphics.CreateImageCanvas(240, 50);
        c->DrawText(u"Mouse", r, aligns[i] | DT_SINGLELINE | DT_VCENTER, font, kInk);
        boxes[i] = InkBox(c->Image());
        ASSERT_FALSE(boxes[i].IsEmpty());
    }
    EXPECT_LE(boxes[0].left - r.left, 3);
    EXPECT_LE(r.right - boxes[2].right, 3);
    int centre = (boxes[1].left + boxes[1].right) / 2;
    EXPECT_NEAR(centre, (r.left + r.right) / 2, 3);
    // Same text, same width wherever it is put.
    EXPECT_EQ(boxes[0].Width(), boxes[2].Width());
    // Vertically centred: the ink sits in the middle band of the 30 px rectangle.
    for (const Rect& b : boxes) {
        EXPECT_GT(b.top, r.top);
        EXPECT_LT(b.bottom, r.bottom);
        EXPECT_NEAR((b.top + b.bottom) / 2, (r.top + r.bottom) / 2, 4);
    }
}

TEST_F(CanvasTest, TopAndBottomPlacementAndClippingToTheRectangle)
{
    auto top = graphics.CreateImageCanvas(100, 100);
    top->DrawText(u"Hg", {0, 0, 100, 100}, DT_SINGLELINE, font, kInk);
    auto bottom = graphics.CreateImageCanvas(100, 100);
    bottom->DrawText(u"Hg", {0, 0, 100, 100}, DT_SINGLELINE | DT_BOTTOM, font, kInk);
    EXPECT_LT(InkBox(top->Image()).bottom, 25);
    EXPECT_GT(InkBox(bottom->Image()).top, 75);
    // Text never spills out of its rectangle.
    auto clipped = graphics.CreateImageCanvas(200, 40);
    clipped->DrawText(u"A rather long caption", {10, 5, 40, 35}, DT_SINGLELINE | DT_VCENTER, font, kInk);
    Rect box = InkBox(clipped->Image());
    EXPECT_GE(box.left, 10);
    EXPECT_LE(box.right, 40);
}

TEST_F(CanvasTest, EllipsisCutsATooLongLineInsideTheRectangle)
{
    const std::u16string text = u"Macro set number twelve";
    const Rect r{0, 0, 90, 24};
    auto elided = graphics.CreateImageCanvas(200, 24);
    elided->DrawText(text, r, DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS, font, kInk);
    EXPECT_LE(InkBox(elided->Image()).right, r.right);

    // What was drawn is a beginning of the text followed by "…".
    bool found = false;
    for (size_t k = 0; k < text.size() && !found; ++k) {
        auto expect = graphics.CreateImageCanvas(200, 24);
        expect->DrawText(text.substr(0, k) + u"\u2026", r, DT_SINGLELINE | DT_VCENTER, font, kInk);
        found = SamePixels(elided->Image(), expect->Image());
    }
    EXPECT_TRUE(found);

    // A caption that fits is drawn unchanged.
    auto fits = graphics.CreateImageCanvas(200, 24);
    fits->DrawText(u"DPI", r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS, font, kInk);
    auto plain = graphics.CreateImageCanvas(200, 24);
    plain->DrawText(u"DPI", r, DT_SINGLELINE | DT_VCENTER, font, kInk);
    EXPECT_TRUE(SamePixels(fits->Image(), plain->Image()));
}

TEST_F(CanvasTest, WordBreakWrapsAndSingleLineDoesNot)
{
    const std::u16string text = u"Please select a macro set before creating a macro";
    const Rect r{0, 0, 160, 100};
    auto wrapped = graphics.CreateImageCanvas(160, 100);
    wrapped->DrawText(text, r, DT_CENTER | DT_WORDBREAK, font, kInk);
    auto single = graphics.CreateImageCanvas(160, 100);
    single->DrawText(text, r, DT_CENTER | DT_SINGLELINE, font, kInk);
    int line = single->MeasureText(u"Hg", font).cy;
    EXPECT_GT(InkBox(wrapped->Image()).Height(), line * 3 / 2) << "at least two lines";
    EXPECT_LE(InkBox(single->Image()).Height(), line);
}

TEST_F(CanvasTest, BoldAndTallerFontsTakeMoreInk)
{
    auto normal = graphics.CreateImageCanvas(200, 60);
    normal->DrawText(u"DPI-3", {0, 0, 200, 60}, DT_SINGLELINE, font, kInk);
    FontSpec bold = font;
    bold.weight = 700;
    auto heavy = graphics.CreateImageCanvas(200, 60);
    heavy->DrawText(u"DPI-3", {0, 0, 200, 60}, DT_SINGLELINE, bold, kInk);
    EXPECT_GT(InkCount(heavy->Image()), InkCount(normal->Image()) * 11 / 10);
    FontSpec big = font;
    big.height = 28;
    EXPECT_GT(normal->MeasureText(u"800", big).cx, normal->MeasureText(u"800", font).cx * 3 / 2);
}

TEST_F(CanvasTest, WholeMultiplesStaySharpAndFractionsAreSmoothedWithinTheirFrame)
{
    // A 2 x 2 checker doubled: every source pixel becomes a clean 2 x 2 block.
    const QRgb colours[4] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0)};
    auto img = MakeImage(2, 2, [&](int x, int y) { return colours[y * 2 + x]; });
    auto c = graphics.CreateImageCanvas(10, 10);
    c->DrawImage(*img, {1, 1, 5, 5});
    const IImage& out = c->Image();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            QRgb q = colours[(y / 2) * 2 + x / 2];
            EXPECT_EQ(out.Pixel(1 + x, 1 + y), RGB(qRed(q), qGreen(q), qBlue(q))) << x << "," << y;
        }
    EXPECT_EQ(out.Pixel(0, 0), kBack);
    EXPECT_EQ(out.Pixel(5, 5), kBack);

    // A strip of three frames, frame 1 (x 2..3 of a 6-wide strip) drawn to
    // 3 px: a fractional stretch is smoothed (dropping a column would cut
    // strokes out of digits), but only between the frame's own pixels, never
    // with its neighbours 40 and 160.
    auto strip = MakeImage(6, 1, [](int x, int) { return qRgb(x * 40, 0, 0); });
    auto s = graphics.CreateImageCanvas(3, 1);
    s->DrawImage(*strip, {0, 0, 3, 1}, {2, 0, 4, 1});
    const int r0 = GetRValue(s->Image().Pixel(0, 0)), r1 = GetRValue(s->Image().Pixel(1, 0)),
              r2 = GetRValue(s->Image().Pixel(2, 0));
    for (int r : {r0, r1, r2}) {
        EXPECT_GE(r, 80);
        EXPECT_LE(r, 120);
    }
    EXPECT_LT(r0, r2);
    EXPECT_GT(r1, 80);
    EXPECT_LT(r1, 120) << "the middle pixel blends both";
}

// Qt's painter hands a filtered blend of many rows to threads of its own,
// which a race checker cannot follow: a large picture at a fractional scale
// is drawn on the calling thread alone, pixel for pixel as one filtered draw.
TEST_F(CanvasTest, ALargePictureSmoothedStaysOnTheCallingThreadAndMatchesOneFilteredDraw)
{
    auto threads = [] { return QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(); };
    QImage picture(400, 300, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgba((x * 7) & 255, (y * 5) & 255, (x * y) & 255, 128 + (x + y) % 128));
    auto img = std::make_unique<QtImage>(picture);
    const auto before = threads();
    auto c = graphics.CreateImageCanvas(500, 375);
    c->DrawImage(*img, {0, 0, 500, 375});
    EXPECT_EQ(threads(), before);

    QImage reference(500, 375, QImage::Format_ARGB32_Premultiplied);
    reference.fill(Qt::black);
    {
        QPainter painter(&reference);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(QRectF(0, 0, 500, 375), img->Get(), QRectF(0, 0, 400, 300));
    }
    EXPECT_TRUE(SamePixels(c->Image(), QtImage(reference)));
}

// A decoded picture large enough for Qt to convert on its pool: the bands
// must meet without a seam, whatever the width, and every source format the
// skins decode to must come out as Qt's own premultiplied pixels.
TEST(ImageConvert, ALargePictureConvertsOnTheCallingThreadWithQtsPixels)
{
    auto threads = [] { return QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(); };
    const QRgb table[3] = {qRgba(255, 0, 0, 255), qRgba(10, 200, 30, 128), qRgba(0, 0, 0, 0)};
    for (const QImage::Format from : {QImage::Format_ARGB32, QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_Indexed8}) {
        QImage picture(701, 300, from);
        if (from == QImage::Format_Indexed8) picture.setColorTable({table[0], table[1], table[2]});
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (from == QImage::Format_Indexed8)
                    picture.setPixel(x, y, uint((x + y) % 3));
                else
                    picture.setPixel(x, y, qRgba((x * 7) & 255, (y * 5) & 255, (x * y) & 255, (x + 3 * y) & 255));
        QImage converted = picture;
        const auto before = threads();
        ConvertOnThisThread(converted, QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(threads(), before) << from;
        ASSERT_EQ(converted.format(), QImage::Format_ARGB32_Premultiplied) << from;
        ASSERT_EQ(converted.size(), picture.size()) << from;
        int wrong = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                wrong += reinterpret_cast<const QRgb*>(converted.constScanLine(y))[x] != qPremultiply(picture.pixel(x, y));
        EXPECT_EQ(wrong, 0) << from;
    }
}

TEST_F(CanvasTest, ImagesBlendByTheirAlphaAndTheOpacity)
{
    auto c = graphics.CreateImageCanvas(4, 1);
    c->FillRect({0, 0, 4, 1}, RGB(0, 0, 200));
    auto img = MakeImage(4, 1, [](int x, int) {
        return x == 0 ? qRgba(255, 0, 0, 255) : x == 1 ? qRgba(255, 0, 0, 0) : qRgba(255, 0, 0, 128);
    });
    c->DrawImage(*img, {0, 0, 3, 1}, {0, 0, 3, 1});
    c->DrawImage(*img, {3, 0, 4, 1}, {0, 0, 1, 1}, 128);
    const IImage& out = c->Image();
    EXPECT_EQ(out.Pixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(out.Pixel(1, 0), RGB(0, 0, 200)) << "a transparent pixel leaves the background";
    EXPECT_NEAR(GetRValue(out.Pixel(2, 0)), 128, 3);
    EXPECT_NEAR(GetBValue(out.Pixel(2, 0)), 100, 3);
    EXPECT_NEAR(GetRValue(out.Pixel(3, 0)), 128, 3);
}

TEST_F(CanvasTest, ClipLimitsFillsAndImages)
{
    auto c = graphics.CreateImageCanvas(20, 20);
    c->SetClip({5, 5, 10, 10});
    c->FillRect({0, 0, 20, 20}, RGB(1, 2, 3));
    c->ResetClip();
    c->FrameRect({12, 12, 16, 16}, RGB(9, 9, 9));
    const IImage& out = c->Image();
    EXPECT_EQ(out.Pixel(5, 5), RGB(1, 2, 3));
    EXPECT_EQ(out.Pixel(9, 9), RGB(1, 2, 3));
    EXPECT_EQ(out.Pixel(10, 10), kBack);
    EXPECT_EQ(out.Pixel(4, 5), kBack);
    EXPECT_EQ(out.Pixel(12, 14), RGB(9, 9, 9));
    EXPECT_EQ(out.Pixel(15, 12), RGB(9, 9, 9));
    EXPECT_EQ(out.Pixel(13, 13), kBack) << "a frame leaves the inside alone";
}

TEST_F(CanvasTest, LoadsPngBmpAndNumberedResources)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage png(3, 2, QImage::Format_ARGB32);
    png.fill(qRgba(10, 20, 30, 255));
    png.setPixel(2, 1, qRgba(200, 100, 50, 0));
    ASSERT_TRUE(png.save(dir.filePath("a.png")));
    QImage bmp(5, 4, QImage::Format_RGB32);
    bmp.fill(qRgb(1, 2, 3));
    ASSERT_TRUE(bmp.save(dir.filePath("b.bmp")));
    ASSERT_TRUE(QDir(dir.path()).mkpath("skins/res"));
    ASSERT_TRUE(png.save(dir.filePath("skins/res/364.png")));
    QFile junk(dir.filePath("junk.png"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();

    auto a = graphics.LoadImageFile(dir.filePath("a.png").toStdString());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Width(), 3);
    EXPECT_EQ(a->Height(), 2);
    EXPECT_EQ(a->Pixel(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(a->Alpha(2, 1), 0);
    EXPECT_EQ(a->Pixel(7, 7), 0u);
    auto b = graphics.LoadImageFile(dir.filePath("b.bmp").toStdString());
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Pixel(4, 3), RGB(1, 2, 3));
    EXPECT_EQ(graphics.LoadImageFile(dir.filePath("junk.png").toStdString()), nullptr);
    EXPECT_EQ(graphics.LoadImageFile(dir.filePath("missing.png").toStdString()), nullptr);

    graphics.SetProgramFolder(dir.path().toStdString());
    auto res = graphics.LoadImageResource(364);
    ASSERT_NE(res, nullptr);
    EXPECT_EQ(res->Width(), 3);
    EXPECT_EQ(graphics.LoadImageResource(365), nullptr);

    // A copy does not follow later drawing on its source.
    auto canvas = graphics.CreateImageCanvas(2, 2);
    auto copy = graphics.CopyImage(canvas->Image());
    canvas->FillRect({0, 0, 2, 2}, RGB(5, 5, 5));
    EXPECT_EQ(copy->Pixel(0, 0), kBack);
    EXPECT_EQ(canvas->Image().Pixel(0, 0), RGB(5, 5, 5));
}

// The size comes from the header bytes where the name says PNG or BMP; a
// file that is something else than its name says still gets the reader's
// answer, and what no reader knows has no size.
TEST_F(CanvasTest, ProbeGivesTheSizeTheReaderWouldGive)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto path = [&](const char* name) { return dir.filePath(name); };
    auto write = [&](const char* name, const QByteArray& bytes) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    QImage picture(7, 3, QImage::Format_RGB32);
    picture.fill(qRgb(9, 8, 7));
    ASSERT_TRUE(picture.save(path("a.png")));
    ASSERT_TRUE(picture.save(path("b.bmp")));
    ASSERT_TRUE(picture.save(path("bmp-named.png"), "BMP"));
    QFile bmp(path("b.bmp"));
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    QByteArray topDown = bmp.readAll();
    // The same rows stored top first: the height is negative.
    const int32_t negative = -3;
    std::memcpy(topDown.data() + 22, &negative, 4);
    write("top-down.bmp", topDown);
    write("junk.png", "not a picture at all, but long enough");
    write("short.bmp", "BM");

    const struct {
        const char* name;
        Size size;
    } cases[] = {{"a.png", {7, 3}},         {"b.bmp", {7, 3}},   {"top-down.bmp", {7, 3}},
                 {"bmp-named.png", {7, 3}}, {"junk.png", {0, 0}}, {"short.bmp", {0, 0}},
                 {"missing.png", {0, 0}}};
    for (const auto& c : cases) {
        const Size s = graphics.ProbeImageFile(path(c.name).toStdString());
        EXPECT_EQ(s.cx, c.size.cx) << c.name;
        EXPECT_EQ(s.cy, c.size.cy) << c.name;
    }
}

TEST_F(CanvasTest, PolygonFillCoversItsInside)
{
    auto c = graphics.CreateImageCanvas(20, 20);
    c->FillPolygon({{0, 0}, {19, 0}, {0, 19}}, RGB(0, 200, 0));
    EXPECT_EQ(c->Image().Pixel(3, 3), RGB(0, 200, 0));
    EXPECT_EQ(c->Image().Pixel(17, 17), kBack);
}

}  // namespace
