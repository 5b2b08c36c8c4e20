// Pictures drawn at a fraction of their size or shrunk: the one place the
// canvas filters instead of picking pixels.
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/draw/palette_runs.h"
#include "platform/draw/qt_canvas.h"

namespace platform {

void QtCanvas::DrawSmooth(const QtImage& image, const Rect& dst, const Rect& srcRect, int opacity)
{
    const Rect visible = dst.Intersect(clip_ ? base_.Intersect(*clip_) : base_);
    if (visible.IsEmpty()) return;
    // Only the source pixels under the visible part, one more on each side
    // for the filter, and never past the source rectangle: a frame of a
    // strip, or a part of a picture, must not blend in its neighbours, and a
    // large picture repainted in a small dirty rectangle is not expanded
    // whole.
    const double kx = double(srcRect.Width()) / dst.Width(), ky = double(srcRect.Height()) / dst.Height();
    auto from = [](double v, int lo, int hi) { return std::clamp(int(std::floor(v)) - 1, lo, hi); };
    auto to = [](double v, int lo, int hi) { return std::clamp(int(std::ceil(v)) + 1, lo, hi); };
    const Rect src{from(srcRect.left + (visible.left - dst.left) * kx, srcRect.left, srcRect.right),
                   from(srcRect.top + (visible.top - dst.top) * ky, srcRect.top, srcRect.bottom),
                   to(srcRect.left + (visible.right - dst.left) * kx, srcRect.left, srcRect.right),
                   to(srcRect.top + (visible.bottom - dst.top) * ky, srcRect.top, srcRect.bottom)};
    if (src.IsEmpty()) return;
    QImage part;
    if (const PaletteRuns* runs = image.Runs().get()) {
        part = QImage(src.Width(), src.Height(), QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < src.Height(); ++y)
            runs->ExpandRow(src.left, src.top + y, src.Width(), reinterpret_cast<QRgb*>(part.scanLine(y)));
    } else {
        part = image.Get().copy(QRect(src.left, src.top, src.Width(), src.Height()));
    }
    const QRectF target(dst.left + (src.left - srcRect.left) / kx, dst.top + (src.top - srcRect.top) / ky,
                        src.Width() / kx, src.Height() / ky);
    painter_.save();
    painter_.setOpacity(std::min(opacity, 255) / 255.0);
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
    // A band of rows at a time, on this thread. Each pixel takes the same
    // source pixels wherever a band ends, so the picture is the same.
    const QRect rows =
        target.toAlignedRect().intersected(QRect(visible.left, visible.top, visible.Width(), visible.Height()));
    for (int top = rows.top(); top <= rows.bottom(); top += kRowsPerBlend) {
        painter_.save();
        painter_.setClipRect(QRect(rows.left(), top, rows.width(), std::min(kRowsPerBlend, rows.bottom() + 1 - top)),
                             Qt::IntersectClip);
        painter_.drawImage(target, part, QRectF(0, 0, part.width(), part.height()));
        painter_.restore();
    }
    painter_.restore();
}

}  // namespace platform
