#include "palette_art.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLinearGradient>

#include <algorithm>
#include <array>

namespace {

const QColor kPaletteBack(15, 15, 15);
const QColor kText(180, 180, 180);
const QColor kAccent(0x35, 0xA0, 0xDE);
const QColor kEdge(0x50, 0x50, 0x50);

// Both areas are computed pixel by pixel at this many pixels a base unit
// and drawn without smoothing, so the 1x and 2x pictures hold exactly the
// computed colours and no pixel blends into the background.
constexpr int kDetail = 2;

// The hue/lightness field inside (18, 26)-(222, 270): hue across, from white
// at the top through the pure hue to black at the bottom.
QImage HueLightnessField(int w, int h)
{
    QImage img(w * kDetail, h * kDetail, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        const double lightness = 1.0 - double(y) / (img.height() - 1);
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            row[x] = QColor::fromHslF(float(x) / img.width(), 1.0f, float(lightness)).rgb();
    }
    return img;
}

// The ready colours inside (244, 26)-(473, 190): rows of the same hues from
// dark to pale, and a row of greys, each swatch with background around it.
QImage ReadyColours(int w, int h, int columns, int rows)
{
    QImage img(w * kDetail, h * kDetail, QImage::Format_RGB32);
    img.fill(kPaletteBack);
    static constexpr std::array<int, 7> kHues{0, 30, 60, 120, 180, 220, 290};
    static constexpr std::array<double, 5> kLightness{0.25, 0.4, 0.5, 0.7, 0.85};
    const double cw = double(img.width()) / columns, ch = double(img.height()) / rows;
    const int gap = 2 * kDetail;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            QColor colour;
            if (r < int(kLightness.size()) && c < int(kHues.size())) {
                colour = QColor::fromHslF(kHues[size_t(c)] / 360.0f, 1.0f, float(kLightness[size_t(r)]));
            } else {
                // The last column and the last row are greys, white to black,
                // stepping around the background's own grey.
                const int i = r < int(kLightness.size()) ? r : int(kLightness.size()) + c;
                const int level = std::clamp(255 - i * 255 / (int(kLightness.size()) + columns - 1), 0, 255);
                colour = QColor(level, level, level);
                if (colour == kPaletteBack) colour = QColor(0, 0, 0);
            }
            const int x0 = int(c * cw) + gap / 2, y0 = int(r * ch) + gap / 2;
            const int x1 = int((c + 1) * cw) - gap / 2, y1 = int((r + 1) * ch) - gap / 2;
            for (int y = y0; y < y1; ++y) {
                auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
                std::fill(row + x0, row + x1, colour.rgb());
            }
        }
    return img;
}

void Label(QPainter& p, const QRectF& r, const QString& s)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(11);
    f.setWeight(QFont::Bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    p.setFont(f);
    p.setPen(kText);
    p.drawText(r, Qt::AlignCenter, s);
}

void PalettePicture(QPainter& p, const QRectF& r)
{
    p.fillRect(r, kPaletteBack);
    // The title band, where the dialog's close button sits.
    p.fillRect(QRectF(0, 0, r.width(), 22), QColor(0x26, 0x26, 0x26));
    p.fillRect(QRectF(0, 22, r.width(), 1), kAccent);

    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawImage(QRectF(18, 26, 204, 244), HueLightnessField(204, 244));
    p.drawImage(QRectF(244, 26, 229, 164), ReadyColours(229, 164, 8, 6));
    p.restore();

    Label(p, QRectF(306, 212, 14, 18), QStringLiteral("R"));
    Label(p, QRectF(306, 235, 14, 18), QStringLiteral("G"));
    Label(p, QRectF(306, 258, 14, 18), QStringLiteral("B"));
    p.setPen(QPen(kEdge, 1));
    p.setBrush(Qt::NoBrush);
    // The frame of the chosen-colour swatch and the picture's own edge.
    p.drawRect(QRectF(244.5, 211.5, 59, 59));
    p.drawRect(QRectF(0.5, 0.5, r.width() - 1, r.height() - 1));
}

}  // namespace

void AddPaletteArt(const ArtAdder& add) { add(QStringLiteral("res/287.png"), 500, 291, true, PalettePicture); }
