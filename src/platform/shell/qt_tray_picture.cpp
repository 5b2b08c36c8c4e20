#include "platform/shell/qt_tray_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace platform {
namespace {

// Drawn at 64 pixels: panels scale tray pictures down (22 to 48 pixels),
// and the shapes stay clear at that size.
constexpr int kSize = 64;
const QColor kAccent(0x35, 0xA0, 0xDE);
const QColor kDark(0x1F, 0x1F, 0x1F);
const QColor kLight(0xF0, 0xF0, 0xF0);
const QColor kWarning(0xE0, 0x3C, 0x28);
const QColor kCharge(0xFF, 0xD0, 0x30);

void DrawBattery(QPainter& p, const TrayBattery& b)
{
    // The body along the lower part, with its cap on the right.
    const QRectF body(4, 34, 50, 26);
    p.setPen(QPen(kDark, 3));
    p.setBrush(kLight);
    p.drawRoundedRect(body, 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(kDark);
    p.drawRect(QRectF(55, 41, 6, 12));
    // Four bars, filled from the left; an empty battery keeps its outline.
    p.setBrush(b.bars <= 1 ? kWarning : kAccent);
    for (int i = 0; i < b.bars && i < 4; ++i) p.drawRect(QRectF(8 + i * 11.5, 38, 9.5, 18));
    if (b.charging) {
        QPainterPath bolt;
        bolt.moveTo(33, 30);
        bolt.lineTo(21, 49);
        bolt.lineTo(29, 49);
        bolt.lineTo(25, 64);
        bolt.lineTo(39, 43);
        bolt.lineTo(31, 43);
        bolt.closeSubpath();
        p.setPen(QPen(kDark, 2));
        p.setBrush(kCharge);
        p.drawPath(bolt);
    }
}

void DrawWarning(QPainter& p)
{
    QPainterPath triangle;
    triangle.moveTo(32, 22);
    triangle.lineTo(62, 62);
    triangle.lineTo(2, 62);
    triangle.closeSubpath();
    p.setPen(QPen(kDark, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kWarning);
    p.drawPath(triangle);
    p.setPen(Qt::NoPen);
    p.setBrush(kLight);
    p.drawRoundedRect(QRectF(29, 34, 6, 15), 2, 2);
    p.drawEllipse(QRectF(28.5, 52, 7, 7));
}

}  // namespace

QIcon TrayPicture(const QIcon& base, const TrayBattery& battery)
{
    if (!battery.known) return base;
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // The program's own picture stays recognisable above the battery.
    base.paint(&p, QRect(8, 0, 48, 48));
    if (battery.warning)
        DrawWarning(p);
    else
        DrawBattery(p, battery);
    p.end();
    return QIcon(pm);
}

}  // namespace platform
