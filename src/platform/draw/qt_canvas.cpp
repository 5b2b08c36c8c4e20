#include "platform/draw/qt_canvas.h"

#include "platform/draw/image_convert.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageReader>
#include <QPolygon>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <map>
#include <tuple>
#include <vector>

namespace platform {

namespace {

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

constexpr QImage::Format kFormat = QImage::Format_ARGB32_Premultiplied;

using FontKey = std::tuple<std::u16string, int, int, int, bool, bool>;

// The faces the program asks for are Windows faces that a Linux desktop does
// not have; fontconfig would hand back its default sans, which is far wider
// than Tahoma and cuts captions that were sized for it. Each gets the closest
// narrow face that is commonly installed, then fontconfig's own choice.
QStringList FaceFamilies(const std::u16string& face)
{
    const QString name = ToQString(face);
    if (name.compare(QLatin1String("Tahoma"), Qt::CaseInsensitive) == 0)
        return {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans"),
                QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans"), name};
    if (face == u"宋体" || name.compare(QLatin1String("SimSun"), Qt::CaseInsensitive) == 0)
        return {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Droid Sans Fallback"),
                QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("AR PL UMing CN"), name};
    return {name};
}

// Large opaque pictures with a palette stay as they are: expanding them
// costs little per paint, keeping them expanded costs megabytes.
bool KeepsPalette(const QImage& img)
{
    if (img.format() != QImage::Format_Indexed8) return false;
    if (int64_t{img.width()} * img.height() < 256 * 1024) return false;
    const QList<QRgb> table = img.colorTable();
    if (table.isEmpty()) return false;
    return std::all_of(table.begin(), table.end(), [](QRgb c) { return qAlpha(c) == 255; });
}


}  // namespace

QString ToQString(const std::u16string& s)
{
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

std::u16string FromQString(const QString& s)
{
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}

QFont ToQFont(const FontSpec& spec)
{
    // Building a font and its metrics costs more than drawing a caption, and
    // every control asks for the same handful of fonts on every paint.
    thread_local std::map<FontKey, QFont> cache;
    FontKey key{spec.face, spec.height, spec.width, spec.weight, spec.italic, spec.underline};
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;

    QFont f;
    f.setFamilies(FaceFamilies(spec.face));
    int h = std::abs(spec.height);
    if (h == 0) h = 12;
    f.setPixelSize(h);
    if (spec.height > 0) {
        // A positive height asks for the whole cell (ascent + descent), a
        // negative one for the characters alone, which is what Qt sizes.
        QFontMetrics fm(f);
        if (fm.height() > h) f.setPixelSize(std::max(1, h * h / fm.height()));
    }
    int weight = spec.weight <= 0 ? 400 : std::clamp(spec.weight, 100, 900);
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setItalic(spec.italic);
    f.setUnderline(spec.underline);
    if (spec.width > 0) {
        QFontMetrics fm(f);
        int avg = fm.averageCharWidth();
        if (avg > 0) f.setStretch(std::clamp(spec.width * 100 / avg, 1, 4000));
    }
    if (cache.size() > 256) cache.clear();
    cache.emplace(key, f);
    return f;
}

// ---- QtImage ---------------------------------------------------------------

QtImage::QtImage(QImage image) : image_(std::move(image))
{
    // In place where the depth allows (a decoded 32-bit PNG): a converted
    // copy of the window's background alone would be 3 MB more to allocate.
    if (KeepsPalette(image_)) {
        runs_ = PaletteRuns::FromIndexed(image_);
        image_ = QImage();
        opaque_ = 1;
        return;
    }
    ConvertOnThisThread(image_, kFormat);
    // Qt gives a file named "...@2x.png" a pixel ratio of 2, and the painter
    // would then draw it at half its size: here a pixel is a pixel, and the
    // skin's density is the skin's business.
    image_.setDevicePixelRatio(1.0);
}

QtImage::QtImage(std::shared_ptr<const PaletteRuns> runs) : runs_(std::move(runs)), opaque_(1) {}

COLORREF QtImage::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    QRgb p = runs_ ? runs_->Colour(runs_->IndexAt(x, y)) : qUnpremultiply(image_.pixel(x, y));
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

int QtImage::Alpha(int x, int y) const
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    if (runs_) return 255;
    return qAlpha(image_.pixel(x, y));
}

COLORREF QtImage::AverageOverBlack() const
{
    const int w = Width(), h = Height();
    const int64_t n = static_cast<int64_t>(w) * h;
    if (n <= 0) return 0;
    int64_t r = 0, g = 0, b = 0;
    if (runs_) {
        // Count every palette entry once, then weigh its colour.
        const std::array<int64_t, 256> uses = runs_->CountIndices();
        for (int i = 0; i < 256; ++i) {
            const QRgb c = runs_->Colour(i);
            r += uses[size_t(i)] * qRed(c);
            g += uses[size_t(i)] * qGreen(c);
            b += uses[size_t(i)] * qBlue(c);
        }
        opaque_ = 1;
        return RGB(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
    }
    uint32_t all = 0xFFFFFFFFu;
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image_.constScanLine(y));
        // Row sums fit 32 bits (a row is far below 2^24 pixels), which lets
        // the compiler add several pixels at a time.
        uint32_t rr = 0, gg = 0, bb = 0;
        for (int x = 0; x < w; ++x) {
            const uint32_t p = row[x];
            rr += (p >> 16) & 0xFF;
            gg += (p >> 8) & 0xFF;
            bb += p & 0xFF;
            all &= p;
        }
        r += rr;
        g += gg;
        b += bb;
    }
    // The same pass tells whether every pixel is opaque.
    opaque_ = (all >> 24) == 0xFF ? 1 : 0;
    return RGB(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
}

bool QtImage::IsOpaque() const
{
    if (opaque_ >= 0) return opaque_ == 1;
    opaque_ = 1;
    if (IsCompact()) return true;  // kept so only with an opaque palette
    for (int y = 0; y < image_.height() && opaque_; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
        for (int x = 0; x < image_.width(); ++x)
            if (qAlpha(row[x]) != 255) {
                opaque_ = 0;
                break;
            }
    }
    return opaque_ == 1;
}

// ---- QtCanvas --------------------------------------------------------------

QtCanvas::QtCanvas(QPaintDevice* target, std::optional<Rect> base) : target_(target)
{
    base_ = base ? base->Intersect(Bounds()) : Bounds();
    painter_.begin(target_);
    ApplyClip();
}

QtCanvas::~QtCanvas() { painter_.end(); }

void QtCanvas::ApplyClip()
{
    Rect c = clip_ ? base_.Intersect(*clip_) : base_;
    painter_.setClipRect(ToQRect(c));
}

void QtCanvas::SetClip(const Rect& r)
{
    clip_ = r;
    ApplyClip();
}

void QtCanvas::ResetClip()
{
    clip_.reset();
    ApplyClip();
}

void QtCanvas::FillRect(const Rect& r, COLORREF colour)
{
    if (r.IsEmpty()) return;
    painter_.fillRect(ToQRect(r), ToQColor(colour));
}

void QtCanvas::FrameRect(const Rect& r, COLORREF colour)
{
    if (r.IsEmpty()) return;
    QColor c = ToQColor(colour);
    painter_.fillRect(QRect(r.left, r.top, r.Width(), 1), c);
    painter_.fillRect(QRect(r.left, r.bottom - 1, r.Width(), 1), c);
    painter_.fillRect(QRect(r.left, r.top, 1, r.Height()), c);
    painter_.fillRect(QRect(r.right - 1, r.top, 1, r.Height()), c);
}

void QtCanvas::DrawLine(Point from, Point to, COLORREF colour, int width)
{
    painter_.save();
    painter_.setPen(QPen(ToQColor(colour), std::max(1, width)));
    painter_.drawLine(from.x, from.y, to.x, to.y);
    painter_.restore();
}

void QtCanvas::FillPolygon(const std::vector<Point>& points, COLORREF colour)
{
    if (points.size() < 3) return;
    QPolygon poly;
    for (const Point& p : points) poly << QPoint(p.x, p.y);
    painter_.save();
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ToQColor(colour));
    painter_.drawPolygon(poly);
    painter_.restore();
}

void QtCanvas::DrawImage(const IImage& image, const Rect& dst, const Rect& srcIn, int opacity)
{
    Rect src = srcIn.IsEmpty() ? Rect{0, 0, image.Width(), image.Height()} : srcIn;
    if (dst.IsEmpty() || src.IsEmpty() || opacity <= 0) return;
    Rect visible = dst.Intersect(clip_ ? base_.Intersect(*clip_) : base_);
    if (visible.IsEmpty()) return;

    const QtImage* qimg = dynamic_cast<const QtImage*>(&image);
    if (qimg && src.Width() == dst.Width()) {
        DrawUnstretchedAcross(*qimg, dst, src, visible, opacity);
        return;
    }

    const int sw = src.Width(), sh = src.Height(), dw = dst.Width(), dh = dst.Height();
    // Shrunk, or stretched by a fraction (scale 1.25 or 1.5, or a window
    // made smaller to fit the screen): sampled smoothly, or the digits of the
    // dial and the DPI values lose strokes and can no longer be read.
    const bool wholeMultiple = dw >= sw && dh >= sh && dw % sw == 0 && dh % sh == 0;
    const bool insidePicture = Rect{0, 0, image.Width(), image.Height()}.Intersect(src) == src;
    if (qimg && !wholeMultiple && insidePicture) {
        DrawSmooth(*qimg, dst, src, opacity);
        return;
    }
    DrawNearest(image, dst, src, visible, opacity);
}

// Not stretched across (every picture at scale 1, and the @2x pictures at
// scale 2, but also the frames stretched only down): the sampling picks
// source column d for destination column d, so the painter blends rows
// straight from the picture, without an intermediate copy; all of them at
// once when nothing is stretched at all. What lies outside the picture draws
// nothing either way.
void QtCanvas::DrawUnstretchedAcross(const QtImage& image, const Rect& dst, const Rect& src, const Rect& visible,
                                     int opacity)
{
    const int dx = dst.left - src.left;
    Rect across = visible.Intersect(Rect{dx, visible.top, dx + image.Width(), visible.bottom});
    if (across.IsEmpty()) return;
    painter_.save();
    painter_.setOpacity(std::min(opacity, 255) / 255.0);
    // An opaque picture at full opacity covers what is below: copied, not
    // blended (the window's background on every paint).
    const bool cover = opacity >= 255 && image.KnownOpaque();
    painter_.setCompositionMode(cover ? QPainter::CompositionMode_Source : QPainter::CompositionMode_SourceOver);
    if (const PaletteRuns* runs = image.Runs().get()) {
        DrawRunsAcross(*runs, image.Height(), dst, src, across);
    } else if (src.Height() == dst.Height()) {
        const int dy = dst.top - src.top;
        Rect inside = across.Intersect(Rect{across.left, dy, across.right, dy + image.Height()});
        for (int top = inside.top; top < inside.bottom; top += kRowsPerBlend) {
            const int rows = std::min(kRowsPerBlend, inside.bottom - top);
            painter_.drawImage(QPoint(inside.left, top), image.Get(),
                               QRect(inside.left - dx, top - dy, inside.Width(), rows));
        }
    } else {
        const int sh = src.Height(), dh = dst.Height();
        for (int y = across.top; y < across.bottom; ++y) {
            const int64_t d = y - dst.top;
            const int sy = src.top + static_cast<int>(((2 * d + 1) * sh) / (2 * int64_t{dh}));
            if (sy < 0 || sy >= image.Height()) continue;
            painter_.drawImage(QPoint(across.left, y), image.Get(), QRect(across.left - dx, sy, across.Width(), 1));
        }
    }
    painter_.restore();
}

// A palette picture, expanded a band of rows at a time, the band small enough
// to come from the heap and go back to it after the draw.
void QtCanvas::DrawRunsAcross(const PaletteRuns& runs, int height, const Rect& dst, const Rect& src,
                              const Rect& across)
{
    const int dx = dst.left - src.left;
    const int sh = src.Height(), dh = dst.Height();
    const int kBand = std::clamp(48 * 1024 / (4 * across.Width()), 1, 32);
    QImage band(across.Width(), kBand, kFormat);
    int filled = 0, bandTop = across.top;
    auto flush = [&] {
        if (filled > 0) painter_.drawImage(QPoint(across.left, bandTop), band, QRect(0, 0, across.Width(), filled));
        filled = 0;
    };
    for (int y = across.top; y < across.bottom; ++y) {
        const int64_t d = y - dst.top;
        const int sy = src.top + static_cast<int>(((2 * d + 1) * sh) / (2 * int64_t{dh}));
        if (sy < 0 || sy >= height) {
            flush();
            continue;
        }
        if (filled == 0) bandTop = y;
        runs.ExpandRow(across.left - dx, sy, across.Width(), reinterpret_cast<QRgb*>(band.scanLine(filled)));
        if (++filled == kBand) flush();
    }
    flush();
}

// Nearest-neighbour sampling at pixel centres: destination pixel d takes
// source pixel floor((d + 0.5) * srcW / dstW), so a skin doubled for the 2.0
// scale shows every source pixel as a clean 2 x 2 block.
void QtCanvas::DrawNearest(const IImage& image, const Rect& dst, const Rect& src, const Rect& visible, int opacity)
{
    const QtImage* qimg = dynamic_cast<const QtImage*>(&image);
    const int sw = src.Width(), sh = src.Height(), dw = dst.Width(), dh = dst.Height();
    QImage part(visible.Width(), visible.Height(), kFormat);
    std::vector<int> columns(static_cast<size_t>(visible.Width()));
    for (int x = 0; x < visible.Width(); ++x) {
        int64_t d = visible.left + x - dst.left;
        columns[static_cast<size_t>(x)] = src.left + static_cast<int>(((2 * d + 1) * sw) / (2 * int64_t{dw}));
    }
    for (int y = 0; y < visible.Height(); ++y) {
        int64_t d = visible.top + y - dst.top;
        int sy = src.top + static_cast<int>(((2 * d + 1) * sh) / (2 * int64_t{dh}));
        auto* out = reinterpret_cast<QRgb*>(part.scanLine(y));
        bool rowInside = sy >= 0 && sy < image.Height();
        const bool direct = qimg && rowInside && !qimg->IsCompact();
        const QRgb* in = direct ? reinterpret_cast<const QRgb*>(qimg->Get().constScanLine(sy)) : nullptr;
        for (int x = 0; x < visible.Width(); ++x) {
            int sx = columns[static_cast<size_t>(x)];
            if (!rowInside || sx < 0 || sx >= image.Width()) {
                out[x] = 0;  // outside the picture: nothing to draw
            } else if (in) {
                out[x] = in[sx];
            } else {
                COLORREF c = image.Pixel(sx, sy);
                out[x] = qPremultiply(qRgba(GetRValue(c), GetGValue(c), GetBValue(c), image.Alpha(sx, sy)));
            }
        }
    }
    painter_.save();
    painter_.setOpacity(std::min(opacity, 255) / 255.0);
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    for (int top = 0; top < part.height(); top += kRowsPerBlend)
        painter_.drawImage(QPoint(visible.left, visible.top + top), part,
                           QRect(0, top, part.width(), std::min(kRowsPerBlend, part.height() - top)));
    painter_.restore();
}

void QtCanvas::DrawText(const std::u16string& text, const Rect& r, unsigned format, const FontSpec& font,
                        COLORREF colour)
{
    if (text.empty()) return;
    QFont f = ToQFont(font);
    QString s = ToQString(text);
    int flags = 0;
    if (format & DT_CENTER) flags |= Qt::AlignHCenter;
    else if (format & DT_RIGHT) flags |= Qt::AlignRight;
    else flags |= Qt::AlignLeft;
    if (format & DT_VCENTER) flags |= Qt::AlignVCenter;
    else if (format & DT_BOTTOM) flags |= Qt::AlignBottom;
    else flags |= Qt::AlignTop;
    bool ellipsis = (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS)) != 0;
    QFontMetrics fm(f);
    if (format & DT_SINGLELINE) {
        s.replace(QLatin1Char('\r'), QLatin1Char(' '));
        s.replace(QLatin1Char('\n'), QLatin1Char(' '));
        flags |= Qt::TextSingleLine;
        if (ellipsis && r.Width() > 0) s = fm.elidedText(s, Qt::ElideRight, r.Width());
    } else if (format & DT_WORDBREAK) {
        flags |= Qt::TextWordWrap;
        // A path has no spaces and would run past the rectangle as one word:
        // it may break after each of its slashes instead.
        s.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
    } else if (ellipsis && r.Width() > 0) {
        // Several lines without wrapping: each line is cut on its own.
        QStringList lines = s.split(QLatin1Char('\n'));
        for (QString& line : lines) line = fm.elidedText(line, Qt::ElideRight, r.Width());
        s = lines.join(QLatin1Char('\n'));
    }
    // Qt cuts text that does not fit its rectangle unless told not to.
    if (format & DT_NOCLIP) flags |= Qt::TextDontClip;
    painter_.save();
    if (!(format & DT_NOCLIP)) painter_.setClipRect(ToQRect(r), Qt::IntersectClip);
    painter_.setFont(f);
    painter_.setPen(ToQColor(colour));
    painter_.drawText(ToQRect(r), flags, s);
    painter_.restore();
}

Size QtCanvas::MeasureText(const std::u16string& text, const FontSpec& font)
{
    QFontMetrics fm(ToQFont(font));
    return {fm.horizontalAdvance(ToQString(text)), fm.height()};
}

// ---- QtImageCanvas ---------------------------------------------------------

QtImageCanvas::QtImageCanvas(int width, int height)
    : image_([&] {
          QImage img(std::max(0, width), std::max(0, height), kFormat);
          img.fill(QColor(0, 0, 0));
          return img;
      }())
{
    canvas_ = std::make_unique<QtCanvas>(&image_.Mutable());
}

// ---- QtGraphics ------------------------------------------------------------

void EnsureGuiApplication()
{
    if (QCoreApplication::instance()) return;
    // Tests on the headless host: fonts need a GUI application, and it must
    // never reach for a display, whatever the environment says.
    static int argc = 3;
    static char arg0[] = "tevlan";
    static char arg1[] = "-platform";
    static char arg2[] = "offscreen";
    static char* argv[] = {arg0, arg1, arg2, nullptr};
    new QGuiApplication(argc, argv);  // lives for the rest of the process
}

QtGraphics::QtGraphics() { EnsureGuiApplication(); }

namespace {

// Qt asks every image plugin (and so loads every one of them) whether it
// knows a file before it tries its own PNG and BMP readers. The skin is
// PNG and BMP files named as such: those are read by the built-in reader
// the name gives, and only a file that is not what its name says goes
// through the plugins.
template <class F>
bool WithReader(const std::string& path, F&& use)
{
    const QString name = QString::fromStdString(path);
    // A missing file (a skin without that look) is no error to report.
    if (!QFileInfo::exists(name)) return false;
    const QString suffix = name.section(QLatin1Char('.'), -1).toLower();
    if (suffix == QLatin1String("png") || suffix == QLatin1String("bmp")) {
        QImageReader reader(name, suffix.toLatin1());
        reader.setAutoDetectImageFormat(false);
        if (use(reader)) return true;
    }
    QImageReader reader(name);
    return use(reader);
}

}  // namespace

QImage ReadPictureFile(const std::string& path)
{
    QImage img;
    if (path.empty() || !WithReader(path, [&](QImageReader& r) { return r.read(&img) && !img.isNull(); })) return {};
    return img;
}

std::unique_ptr<IImage> QtGraphics::LoadImageFile(const std::string& path)
{
    QImage img;
    if (path.empty() || !WithReader(path, [&](QImageReader& r) { return r.read(&img) && !img.isNull(); }))
        return nullptr;
    return std::make_unique<QtImage>(std::move(img));
}

namespace {

uint32_t BigEndian32(const unsigned char* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }
uint32_t LittleEndian32(const unsigned char* p) { return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]; }

// The size a PNG or BMP file's header gives, read straight from its first
// bytes: the image reader took a third of the start-up's control creation
// for the few hundred skin files probed there. Empty when the header is not
// the one the name promises (the reader then decides).
Size HeaderSize(const std::string& path, const QString& suffix)
{
    unsigned char h[26] = {};
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) return {};
    const size_t got = std::fread(h, 1, sizeof h, in);
    std::fclose(in);
    if (got != sizeof h) return {};
    if (suffix == QLatin1String("png")) {
        static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        if (std::memcmp(h, kSignature, 8) != 0 || std::memcmp(h + 12, "IHDR", 4) != 0) return {};
        const uint32_t w = BigEndian32(h + 16), ht = BigEndian32(h + 20);
        if (w == 0 || ht == 0 || w > 0x7FFFFFFF || ht > 0x7FFFFFFF) return {};
        return {int(w), int(ht)};
    }
    if (h[0] != 'B' || h[1] != 'M') return {};
    const uint32_t infoSize = LittleEndian32(h + 14);
    if (infoSize == 12) return {int(h[18] | h[19] << 8), int(h[20] | h[21] << 8)};
    if (infoSize < 40) return {};
    const auto w = int32_t(LittleEndian32(h + 18)), ht = int32_t(LittleEndian32(h + 22));
    // A negative height is a picture stored top row first.
    if (w <= 0 || ht == 0 || ht == INT32_MIN) return {};
    return {w, ht < 0 ? -ht : ht};
}

}  // namespace

Size QtGraphics::ProbeImageFile(const std::string& path)
{
    Size size;
    if (path.empty()) return size;
    const QString suffix = QString::fromStdString(path).section(QLatin1Char('.'), -1).toLower();
    if (suffix == QLatin1String("png") || suffix == QLatin1String("bmp")) {
        size = HeaderSize(path, suffix);
        if (size.cx > 0 && size.cy > 0) return size;
        size = {};
    }
    WithReader(path, [&](QImageReader& r) {
        if (!r.canRead()) return false;
        const QSize s = r.size();
        if (!s.isValid() || s.isEmpty()) return false;
        size = {s.width(), s.height()};
        return true;
    });
    return size;
}

std::string QtGraphics::ResourcePath(int id) const
{
    std::string folder = programFolder_;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + "skins/res/" + std::to_string(id) + ".png";
}

std::unique_ptr<IImage> QtGraphics::LoadImageResource(int id) { return LoadImageFile(ResourcePath(id)); }

void QtGraphics::SetProgramFolder(const std::string& folder) { programFolder_ = folder; }

std::unique_ptr<IImageCanvas> QtGraphics::CreateImageCanvas(int width, int height)
{
    return std::make_unique<QtImageCanvas>(width, height);
}

std::unique_ptr<IImage> QtGraphics::CopyImage(const IImage& image)
{
    if (auto* q = dynamic_cast<const QtImage*>(&image)) {
        // Runs are never drawn on: the copy shares them.
        if (q->IsCompact()) return std::make_unique<QtImage>(q->Runs());
        return std::make_unique<QtImage>(q->Get().copy());
    }
    QImage img(image.Width(), image.Height(), kFormat);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            COLORREF c = image.Pixel(x, y);
            img.setPixel(x, y, qPremultiply(qRgba(GetRValue(c), GetGValue(c), GetBValue(c), image.Alpha(x, y))));
        }
    return std::make_unique<QtImage>(std::move(img));
}

}  // namespace platform
