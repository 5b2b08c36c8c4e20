#include "macro_manager_art.h"

#include "art_theme.h"

#include <QColor>
#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>

namespace {

using namespace theme;

const QColor kPress(0x35, 0xA0, 0xDE);
const QColor kRelease(0xE0, 0x90, 0x20);

// A key cap seen from above with an arrow: down for a press, up for a release.
void KeyIcon(QPainter& p, const QRectF& r, bool up, const QColor& arrow)
{
    p.save();
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 0.8));
    p.setBrush(QColor(0x2A, 0x2A, 0x2A));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    const double cx = r.center().x(), cy = r.center().y();
    QPolygonF t;
    if (up) t << QPointF(cx - 3.6, cy + 1.4) << QPointF(cx + 3.6, cy + 1.4) << QPointF(cx, cy - 3.0);
    else t << QPointF(cx - 3.6, cy - 1.4) << QPointF(cx + 3.6, cy - 1.4) << QPointF(cx, cy + 3.0);
    p.setPen(Qt::NoPen);
    p.setBrush(arrow);
    p.drawPolygon(t);
    p.fillRect(QRectF(cx - 1.0, up ? cy + 1.4 : cy - 4.2, 2.0, 2.8), arrow);
    p.restore();
}

void ClockIcon(QPainter& p, const QRectF& r)
{
    p.save();
    p.setPen(QPen(kText, 1.1));
    p.setBrush(QColor(0x2A, 0x2A, 0x2A));
    p.drawEllipse(r.adjusted(1, 1, -1, -1));
    p.setPen(QPen(Qt::white, 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(r.center(), r.center() + QPointF(0, -3.5));
    p.drawLine(r.center(), r.center() + QPointF(2.8, 0.8));
    p.restore();
}

void RecordButton(QPainter& p, const QRectF& r, bool on)
{
    Plate(p, r, on ? kRed : kPanel, on ? kRedLight : kEdge, 3);
    p.setPen(on ? QPen(Qt::white, 1.0) : Qt::NoPen);
    p.setBrush(on ? QColor(0xFF, 0x40, 0x40) : kRedLight);
    // Recording shows a square "stop" mark, idle a round "record" dot.
    if (on) p.drawRect(QRectF(r.left() + 5.5, r.center().y() - 3.5, 7, 7));
    else p.drawEllipse(QPointF(r.left() + 9, r.center().y()), 4, 4);
}

}  // namespace

void AddMacroManagerArt(const ArtAdder& add)
{
    // The manager: a title band the set chooser sits on, two list wells and
    // the panel of recording and loop choices, and a rule over the buttons.
    add("Frame_Macro_Manager.bmp", 528, 365, true, [](QPainter& p, const QRectF& r) {
        DialogFrame(p, r, kAccent, 26);
        for (QRectF well : {QRectF(20, 30, 337, 298)}) {
            p.fillRect(well, QColor(0x24, 0x24, 0x24));
        }
        QRectF panel(360, 44, 156, 228);
        p.setPen(QPen(QColor(0x3A, 0x3A, 0x3A), 1));
        p.setBrush(QColor(0x26, 0x26, 0x26));
        p.drawRoundedRect(panel.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        // Separates the recording block from the loop choices.
        p.fillRect(QRectF(366, 104, 144, 1), QColor(0x3A, 0x3A, 0x3A));
        p.fillRect(QRectF(366, 222, 144, 1), QColor(0x3A, 0x3A, 0x3A));
        p.fillRect(QRectF(12, 329, r.width() - 24, 1), QColor(0x33, 0x33, 0x33));
    });

    add("macro_time.png", 13, 13, true, [](QPainter& p, const QRectF& r) { ClockIcon(p, r); });
    add("macro_down.png", 13, 13, true, [](QPainter& p, const QRectF& r) { KeyIcon(p, r, false, kPress); });
    add("macro_up.png", 13, 13, true, [](QPainter& p, const QRectF& r) { KeyIcon(p, r, true, kRelease); });
    add("macro_record_nr.png", 90, 18, true, [](QPainter& p, const QRectF& r) { RecordButton(p, r, false); });
    add("macro_record_dn.png", 90, 18, true, [](QPainter& p, const QRectF& r) { RecordButton(p, r, true); });

    // The set dialogs scale like every other dialog, so their frame and
    // buttons come at 2x too. The buttons carry no words: the dialog draws
    // its captions from the language files.
    add("res/300.png", 530, 200, true, [](QPainter& p, const QRectF& r) {
        DialogFrame(p, r, kAccent, 36);
        p.fillRect(QRectF(64, 99, 402, 26), QColor(0x0B, 0x0B, 0x0B));
        p.setPen(QPen(kEdge, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(64.5, 99.5, 401, 25));
    });
    auto strip3 = [](int w, int h, void (*f)(QPainter&, const QRectF&, Look)) {
        return [=](QPainter& p, const QRectF& r) {
            for (int k = 0; k < 3; ++k) f(p, QRectF(r.left() + w * k, r.top(), w, h), Look(k));
        };
    };
    add("res/296.png", 92 * 3, 27, true, strip3(92, 27, [](QPainter& p, const QRectF& r, Look l) { ButtonFace(p, r, l); }));
    add("res/297.png", 92 * 3, 27, true, strip3(92, 27, [](QPainter& p, const QRectF& r, Look l) { ButtonFace(p, r, l); }));
    add("res/333.png", 15 * 3, 15, true, strip3(15, 15, [](QPainter& p, const QRectF& r, Look l) {
        if (l != kNormal) {
            p.setPen(Qt::NoPen);
            p.setBrush(l == kHover ? kRed : kRedLight);
            p.drawRoundedRect(r, 2, 2);
        }
        p.setPen(QPen(l == kNormal ? kText : Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
        QRectF g = r.adjusted(4.5, 4.5, -4.5, -4.5);
        p.drawLine(g.topLeft(), g.bottomRight());
        p.drawLine(g.topRight(), g.bottomLeft());
    }));
}
