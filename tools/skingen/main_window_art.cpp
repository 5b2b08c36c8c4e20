#include "main_window_art.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <utility>

namespace {

const QColor kAccent(0x35, 0xA0, 0xDE);
const QColor kAccentDark(0x1E, 0x5F, 0x86);
const QColor kGroove(0x0E, 0x0E, 0x0E);
const QColor kEdge(0x5C, 0x5C, 0x5C);

// Where the main window draws the number highlight of each button, relative
// to the picture's top-left corner (the picture sits at 457, 171): the
// centre of each 22 x 22 highlight. The buttons below are drawn around them.
//   1 (79, 71) left      2 (162, 71) right     3 (124, 101) wheel
//   4 (21, 151) side fwd 5 (25, 200) side back 6 (146, 156) profile
//   7 (107, 173) DPI     8 (41, 94) and 9 (41, 124) left-edge pair

QPainterPath Body(double w)
{
    const double c = w / 2;
    QPainterPath p;
    p.moveTo(c, 5);
    p.cubicTo(c + 50, 5, c + 82, 36, c + 88, 104);
    p.cubicTo(c + 94, 170, c + 98, 246, c + 95, 300);
    p.cubicTo(c + 90, 362, c + 52, 393, c, 393);
    p.cubicTo(c - 52, 393, c - 90, 362, c - 95, 300);
    p.cubicTo(c - 98, 246, c - 94, 170, c - 88, 104);
    p.cubicTo(c - 82, 36, c - 50, 5, c, 5);
    p.closeSubpath();
    return p;
}

void Pill(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom, const QColor& edge)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(edge, 1));
    p.setBrush(g);
    const double radius = std::min(r.width(), r.height()) / 2;
    p.drawRoundedRect(r, radius, radius);
}

void MousePicture(QPainter& p, const QRectF& r)
{
    const double w = r.width(), c = w / 2;
    const QPainterPath body = Body(w);

    // A soft shadow under the body.
    p.setPen(Qt::NoPen);
    for (int i = 4; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, 18));
        p.drawPath(Body(w).translated(0, i));
    }

    // The shell: dark satin with a lighter ridge along the middle.
    QLinearGradient across(0, 0, w, 0);
    across.setColorAt(0.0, QColor(0x1C, 0x1C, 0x1E));
    across.setColorAt(0.35, QColor(0x33, 0x34, 0x37));
    across.setColorAt(0.5, QColor(0x3A, 0x3B, 0x3E));
    across.setColorAt(0.65, QColor(0x31, 0x32, 0x35));
    across.setColorAt(1.0, QColor(0x1A, 0x1A, 0x1C));
    p.setBrush(across);
    p.setPen(QPen(kEdge, 1.4));
    p.drawPath(body);

    p.save();
    p.setClipPath(body);
    // Light from the top: a gloss over the front, darker towards the palm rest.
    QLinearGradient down(0, 0, 0, r.height());
    down.setColorAt(0.0, QColor(255, 255, 255, 26));
    down.setColorAt(0.45, QColor(255, 255, 255, 0));
    down.setColorAt(1.0, QColor(0, 0, 0, 60));
    p.fillRect(r, down);
    // Textured grips along both flanks.
    p.setPen(QPen(QColor(0x14, 0x14, 0x15), 1));
    for (int y = 232; y < 340; y += 6) {
        p.drawLine(QPointF(8, y), QPointF(26, y + 8));
        p.drawLine(QPointF(w - 8, y), QPointF(w - 26, y + 8));
    }
    // The main buttons end at a curved seam.
    QPainterPath seam;
    seam.moveTo(0, 198);
    seam.quadTo(c, 222, w, 198);
    p.setPen(QPen(kGroove, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(seam);
    p.setPen(QPen(QColor(255, 255, 255, 22), 1));
    p.drawPath(seam.translated(0, 2));
    // Split between the left and right buttons, around the wheel well and
    // down to the DPI button.
    p.setPen(QPen(kGroove, 2));
    p.drawLine(QPointF(c, 5), QPointF(c, 50));
    p.drawLine(QPointF(c, 110), QPointF(c, 158));
    p.restore();

    // Wheel well and wheel (button 3).
    p.setPen(QPen(kGroove, 1));
    p.setBrush(QColor(0x0C, 0x0C, 0x0D));
    p.drawRoundedRect(QRectF(c - 11, 48, 22, 64), 10, 10);
    QLinearGradient wheel(c - 8, 0, c + 8, 0);
    wheel.setColorAt(0, QColor(0x2A, 0x2A, 0x2C));
    wheel.setColorAt(0.5, QColor(0x5A, 0x5B, 0x5F));
    wheel.setColorAt(1, QColor(0x26, 0x26, 0x28));
    p.setPen(QPen(QColor(0x70, 0x70, 0x74), 0.8));
    p.setBrush(wheel);
    p.drawRoundedRect(QRectF(c - 7.5, 54, 15, 52), 7, 7);
    p.setPen(QPen(QColor(0x1A, 0x1A, 0x1C), 1));
    for (int i = 0; i < 9; ++i) p.drawLine(QPointF(c - 5.5, 60 + i * 5.2), QPointF(c + 5.5, 60 + i * 5.2));
    // The accent glow around the well.
    p.setPen(QPen(QColor(0x35, 0xA0, 0xDE, 120), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(c - 12.5, 46.5, 25, 67), 11, 11);

    // DPI button behind the wheel (7), lit in the accent colour.
    Pill(p, QRectF(c - 7, 160, 14, 26), kAccent, kAccentDark, QColor(0x12, 0x40, 0x5C));
    p.setPen(QPen(QColor(255, 255, 255, 150), 1));
    p.drawLine(QPointF(c - 3, 168), QPointF(c + 3, 168));
    p.drawLine(QPointF(c - 3, 178), QPointF(c + 3, 178));
    // Profile button on the right of it (6).
    Pill(p, QRectF(138, 147, 17, 17), QColor(0x4A, 0x4B, 0x4F), QColor(0x2A, 0x2A, 0x2D), QColor(0x10, 0x10, 0x11));
    p.setPen(QPen(QColor(0x35, 0xA0, 0xDE, 200), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(146.5, 155.5), 3.2, 3.2);

    // The pair on the left button's outer edge (8, 9).
    for (double top : {82.0, 112.0})
        Pill(p, QRectF(34, top, 14, 25), QColor(0x48, 0x49, 0x4D), QColor(0x26, 0x26, 0x29), QColor(0x0F, 0x0F, 0x10));

    // Side buttons on the left flank (4 forward, 5 back).
    for (auto [top, height] : {std::pair{128.0, 44.0}, std::pair{178.0, 44.0}}) {
        QRectF b(5, top, 12, height);
        Pill(p, b, QColor(0x55, 0x56, 0x5A), QColor(0x2C, 0x2C, 0x2F), QColor(0x0F, 0x0F, 0x10));
        p.setPen(QPen(QColor(255, 255, 255, 40), 1));
        p.drawLine(QPointF(b.left() + 3, b.top() + 6), QPointF(b.left() + 3, b.bottom() - 6));
    }

    // Palm rest: the lighting strip and the maker's mark.
    QPainterPath strip;
    strip.moveTo(c - 62, 350);
    strip.quadTo(c, 384, c + 62, 350);
    QColor glow = kAccent;
    glow.setAlpha(60);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(glow, 7, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(strip);
    p.setPen(QPen(kAccent, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(strip);
    QPainterPath mark;
    mark.moveTo(c - 14, 282);
    mark.lineTo(c, 296);
    mark.lineTo(c + 14, 282);
    p.setPen(QPen(QColor(0x9A, 0x9A, 0xA0), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(mark);
    p.drawLine(QPointF(c, 296), QPointF(c, 312));
}

}  // namespace

void AddMainWindowArt(const ArtAdder& add) { add("mouse/mouse_nr.png", 215, 398, true, MousePicture); }
