#include "art_theme.h"

#include <QLinearGradient>
#include <QPen>

namespace theme {

void Plate(QPainter& p, const QRectF& r, const QColor& fill, const QColor& edge, double radius)
{
    QRectF b = r.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient g(b.topLeft(), b.bottomLeft());
    g.setColorAt(0, fill.lighter(112));
    g.setColorAt(1, fill.darker(108));
    p.setPen(QPen(edge, 1.0));
    p.setBrush(g);
    p.drawRoundedRect(b, radius, radius);
}

void ButtonFace(QPainter& p, const QRectF& r, Look look)
{
    switch (look) {
    case kNormal: Plate(p, r, kPanel, kEdge); break;
    case kHover: Plate(p, r, kPanelLight, kAccent); break;
    case kDown: Plate(p, r, kAccentDark, kAccent); break;
    }
}

void DialogFrame(QPainter& p, const QRectF& r, const QColor& accent, int band)
{
    p.fillRect(r, kBack);
    QLinearGradient g(r.topLeft(), QPointF(r.left(), r.top() + band));
    g.setColorAt(0, QColor(0x2E, 0x2E, 0x2E));
    g.setColorAt(1, QColor(0x26, 0x26, 0x26));
    p.fillRect(QRectF(r.left(), r.top(), r.width(), band), g);
    p.fillRect(QRectF(r.left(), r.top() + band, r.width(), 1), accent);
    // Dialogs open over the main window in the same greys and cast no
    // shadow: a lighter outline keeps their edge visible against it.
    p.setPen(QPen(QColor(0x5A, 0x5A, 0x5A), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace theme
