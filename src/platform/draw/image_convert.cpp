#include "platform/draw/image_convert.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

// Qt converts on one thread a picture of fewer than 2^17 pixels.
constexpr qsizetype kBandPixels = 0xFFFF;

}  // namespace

void ConvertOnThisThread(QImage& image, QImage::Format format)
{
    if (image.isNull() || image.format() == format) return;
    const int w = image.width(), h = image.height();
    const int rows = int(std::max<qsizetype>(1, kBandPixels / w));
    if (h <= rows) {
        image.convertTo(format);
        return;
    }
    const int bits = QImage::toPixelFormat(format).bitsPerPixel();
    // Same depth: each band's pixels go back into the rows they came from,
    // so no second picture is allocated.
    const bool inPlace = bits == image.depth() && image.depth() >= 8;
    QImage out = inPlace ? QImage() : QImage(w, h, format);
    if (!inPlace && out.isNull()) return;  // out of memory: keep the picture as decoded
    const QList<QRgb> table = image.colorTable();
    const size_t rowBytes = size_t(w) * size_t(bits) / 8;
    for (int top = 0; top < h; top += rows) {
        const int n = std::min(rows, h - top);
        QImage band(image.constScanLine(top), w, n, image.bytesPerLine(), image.format());
        if (!table.isEmpty()) band.setColorTable(table);
        const QImage converted = band.convertToFormat(format);
        for (int y = 0; y < n; ++y)
            std::memcpy(inPlace ? image.scanLine(top + y) : out.scanLine(top + y), converted.constScanLine(y), rowBytes);
    }
    if (inPlace) {
        image.reinterpretAsFormat(format);
        image.setColorTable({});
    } else {
        out.setDotsPerMeterX(image.dotsPerMeterX());
        out.setDotsPerMeterY(image.dotsPerMeterY());
        out.setDevicePixelRatio(image.devicePixelRatio());
        image = std::move(out);
    }
}

}  // namespace platform
