// skingen: draws every skin picture and image resource of Tevlan into a folder.
//
//   skingen <output folder>        (the build passes <build>/skins)
//
// Nothing binary is kept in the source tree: the pictures are drawn here with
// QPainter in the program's dark theme and written at their base size, and at
// twice that size as "<name>@2x.<ext>" for every picture the 2.0 UI scale
// shows. The toolkit loads the @2x file when the scale is 2 and treats its
// pixels as half pixels, so layout arithmetic stays in base units.
//
// Layout of the output folder (the toolkit and the draw layer agree on it):
//   <out>/<name>.png                        skin files, named as the dialogs name them (a
//                                           frame named <name>.bmp is stored as <name>.png)
//   <out>/mouse/<name>.png                  pictures of the mouse itself
//   <out>/res/<id>.png                      the program's image resources by number
//   <out>/manifest.txt                      one generated file per line, relative to <out>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>
#include <QtMath>

#include "art_theme.h"
#include "main_window_art.h"
#include "macro_manager_art.h"
#include "palette_art.h"

#include <cstdio>
#include <functional>
#include <vector>

namespace {

using namespace theme;

using Painter = std::function<void(QPainter&, const QRectF&)>;

struct Picture {
    QString name;   // relative to the output folder, with extension
    int w, h;       // base size
    bool twice;     // also written at 2x
    Painter paint;
};

std::vector<Picture> g_pictures;

void Add(const QString& name, int w, int h, bool twice, Painter p) {
    // A later picture of the same name replaces the earlier one.
    for (Picture& pic : g_pictures)
        if (pic.name == name) {
            pic = {name, w, h, twice, std::move(p)};
            return;
        }
    g_pictures.push_back({name, w, h, twice, std::move(p)});
}

QFont Font(double px, int weight = QFont::Normal) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(qMax(1, qRound(px)));
    f.setWeight(QFont::Weight(weight));
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

void Text(QPainter& p, const QRectF& r, const QString& s, const QColor& c, double px,
          int weight = QFont::Normal, int align = Qt::AlignCenter) {
    p.save();
    p.setFont(Font(px, weight));
    p.setPen(c);
    p.drawText(r, align, s);
    p.restore();
}

void Chevron(QPainter& p, const QPointF& c, double size, bool down, const QColor& col, double width = 1.5) {
    QPainterPath path;
    if (down) {
        path.moveTo(c.x() - size, c.y() - size / 2);
        path.lineTo(c.x(), c.y() + size / 2);
        path.lineTo(c.x() + size, c.y() - size / 2);
    } else {
        path.moveTo(c.x() - size / 2, c.y() - size);
        path.lineTo(c.x() + size / 2, c.y());
        path.lineTo(c.x() - size / 2, c.y() + size);
    }
    p.save();
    p.setPen(QPen(col, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.restore();
}

void Arrow(QPainter& p, const QRectF& r, bool up, const QColor& col) {
    // A filled triangle centred in r.
    double cx = r.center().x(), cy = r.center().y();
    double s = qMin(r.width(), r.height()) * 0.28;
    QPolygonF t;
    if (up) t << QPointF(cx - s, cy + s * 0.6) << QPointF(cx + s, cy + s * 0.6) << QPointF(cx, cy - s * 0.7);
    else t << QPointF(cx - s, cy - s * 0.6) << QPointF(cx + s, cy - s * 0.6) << QPointF(cx, cy + s * 0.7);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    p.drawPolygon(t);
    p.restore();
}

// ---- the pictures -------------------------------------------------------------

void Buttons() {
    // Plain push buttons: the controls draw their captions on top.
    struct B { const char* base; int w, h; };
    for (B b : {B{"button1", 230, 25}, B{"button2", 69, 20}, B{"button3", 65, 23}, B{"add", 46, 20}}) {
        Add(QString("%1_nr.png").arg(b.base), b.w, b.h, true, [](QPainter& p, const QRectF& r) { ButtonFace(p, r, kNormal); });
        Add(QString("%1_ov.png").arg(b.base), b.w, b.h, true, [](QPainter& p, const QRectF& r) { ButtonFace(p, r, kHover); });
    }
    // The system mouse settings button has one look. The layout squeezes it
    // to about half its height, so it carries nothing that would distort (an
    // accent line here read as a stray underline sitting on the border).
    Add("button4_nr.png", 215, 45, true, [](QPainter& p, const QRectF& r) { Plate(p, r, kPanel, kEdge, 4); });
    // Close and minimise: a glyph; the close button turns red under the mouse.
    auto cross = [](QPainter& p, const QRectF& r, const QColor& c) {
        p.save();
        p.setPen(QPen(c, 1.6, Qt::SolidLine, Qt::RoundCap));
        QRectF g = r.adjusted(4.5, 4.5, -4.5, -4.5);
        p.drawLine(g.topLeft(), g.bottomRight());
        p.drawLine(g.topRight(), g.bottomLeft());
        p.restore();
    };
    Add("exit_nr.png", 15, 15, true, [=](QPainter& p, const QRectF& r) { cross(p, r, kText); });
    Add("exit_ov.png", 15, 15, true, [=](QPainter& p, const QRectF& r) {
        p.setPen(Qt::NoPen); p.setBrush(kRed); p.drawRoundedRect(r, 2, 2); cross(p, r, Qt::white);
    });
    auto dash = [](QPainter& p, const QRectF& r, const QColor& c) {
        p.save(); p.setPen(QPen(c, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(r.left() + 4, r.bottom() - 5), QPointF(r.right() - 4, r.bottom() - 5)); p.restore();
    };
    Add("min_nr.png", 15, 15, true, [=](QPainter& p, const QRectF& r) { dash(p, r, kText); });
    Add("min_ov.png", 15, 15, true, [=](QPainter& p, const QRectF& r) {
        p.setPen(Qt::NoPen); p.setBrush(kPanelLight); p.drawRoundedRect(r, 2, 2); dash(p, r, Qt::white);
    });
}

void Headers() {
    // Section headers: a bar with a chevron that points down when the section is open.
    auto header = [](QPainter& p, const QRectF& r, Look look) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        QColor top = look == kNormal ? QColor(0x2C, 0x2C, 0x2C) : QColor(0x38, 0x38, 0x38);
        g.setColorAt(0, top);
        g.setColorAt(1, top.darker(115));
        p.fillRect(r, g);
        p.fillRect(QRectF(r.left(), r.top(), 3, r.height()), look == kNormal ? kAccentDark : kAccent);
        p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1), QColor(0x15, 0x15, 0x15));
        Chevron(p, QPointF(r.right() - 14, r.center().y()), 4, look == kDown,
                look == kNormal ? kText : Qt::white);
    };
    Add("header_nr.png", 262, 25, true, [=](QPainter& p, const QRectF& r) { header(p, r, kNormal); });
    Add("header_ov.png", 262, 25, true, [=](QPainter& p, const QRectF& r) { header(p, r, kHover); });
    Add("header_dn.png", 262, 25, true, [=](QPainter& p, const QRectF& r) { header(p, r, kDown); });
    // Captions of the left column: no chevron, an accent rule underneath.
    auto caption = [](QPainter& p, const QRectF& r, bool hover) {
        p.fillRect(r, QColor(0x29, 0x29, 0x29));
        p.fillRect(QRectF(r.left(), r.bottom() - 2, r.width(), 2), hover ? kAccent : kAccentDark);
    };
    Add("header2_nr.png", 230, 25, true, [=](QPainter& p, const QRectF& r) { caption(p, r, false); });
    Add("header2_ov.png", 230, 25, true, [=](QPainter& p, const QRectF& r) { caption(p, r, true); });
}

void ChecksAndRadios() {
    auto box = [](QPainter& p, const QRectF& r, Look look, double radius) {
        QRectF b = r.adjusted(1.5, 1.5, -1.5, -1.5);
        p.setPen(QPen(look == kNormal ? QColor(0x70, 0x70, 0x70) : kAccent, 1.2));
        p.setBrush(look == kDown ? kAccent : QColor(0x26, 0x26, 0x26));
        p.drawRoundedRect(b, radius, radius);
        if (look == kDown) {
            QPainterPath tick;
            tick.moveTo(b.left() + b.width() * 0.22, b.top() + b.height() * 0.52);
            tick.lineTo(b.left() + b.width() * 0.42, b.top() + b.height() * 0.72);
            tick.lineTo(b.left() + b.width() * 0.80, b.top() + b.height() * 0.28);
            p.setPen(QPen(Qt::white, qMax(1.2, b.width() * 0.14), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPath(tick);
        }
    };
    for (auto [base, size] : {std::pair{"check", 15}, std::pair{"check_button_dpi", 11}}) {
        double rad = size > 12 ? 2.5 : 1.5;
        Add(QString("%1_nr.png").arg(base), size, size, true, [=](QPainter& p, const QRectF& r) { box(p, r, kNormal, rad); });
        Add(QString("%1_ov.png").arg(base), size, size, true, [=](QPainter& p, const QRectF& r) { box(p, r, kHover, rad); });
        Add(QString("%1_dn.png").arg(base), size, size, true, [=](QPainter& p, const QRectF& r) { box(p, r, kDown, rad); });
    }
    auto radio = [](QPainter& p, const QRectF& r, Look look) {
        QRectF b = r.adjusted(1.5, 1.5, -1.5, -1.5);
        p.setPen(QPen(look == kNormal ? QColor(0x70, 0x70, 0x70) : kAccent, 1.2));
        p.setBrush(QColor(0x26, 0x26, 0x26));
        p.drawEllipse(b);
        if (look == kDown) {
            p.setPen(Qt::NoPen);
            p.setBrush(kAccent);
            p.drawEllipse(b.center(), b.width() * 0.28, b.height() * 0.28);
        }
    };
    Add("radio_nr.png", 15, 15, true, [=](QPainter& p, const QRectF& r) { radio(p, r, kNormal); });
    Add("radio_ov.png", 15, 15, true, [=](QPainter& p, const QRectF& r) { radio(p, r, kHover); });
    Add("radio_dn.png", 15, 15, true, [=](QPainter& p, const QRectF& r) { radio(p, r, kDown); });

    // Lighting direction: arrow keys with a checked (accent) look.
    for (bool up : {true, false}) {
        QString base = up ? "up" : "down";
        auto key = [up](QPainter& p, const QRectF& r, Look look) {
            Plate(p, r, look == kDown ? kAccentDark : (look == kHover ? kPanelLight : kPanel),
                  look == kNormal ? kEdge : kAccent);
            Arrow(p, r, up, look == kNormal ? kText : Qt::white);
        };
        Add(base + "_nr.png", 29, 18, true, [=](QPainter& p, const QRectF& r) { key(p, r, kNormal); });
        Add(base + "_ov.png", 29, 18, true, [=](QPainter& p, const QRectF& r) { key(p, r, kHover); });
        Add(base + "_check.png", 29, 18, true, [=](QPainter& p, const QRectF& r) { key(p, r, kDown); });
    }
}

void Combos() {
    auto combo = [](QPainter& p, const QRectF& r, int frame) {
        // frames: 0 normal, 1 hover or open, 2 pressed, 3 locked, 4 locked and hovered
        bool locked = frame >= 3;
        QColor fill = frame == 1 || frame == 4 ? kPanelLight : (frame == 2 ? kAccentDark : kPanel);
        QColor edge = locked ? QColor(0x55, 0x55, 0x55) : (frame == 0 ? kEdge : kAccent);
        if (locked) fill = fill.darker(120);
        Plate(p, r, fill, edge, 3);
        double ax = r.right() - r.height() * 0.75;
        p.fillRect(QRectF(ax - r.height() * 0.3, r.top() + 4, 1, r.height() - 8), QColor(0x55, 0x55, 0x55));
        Chevron(p, QPointF(ax + 2, r.center().y()), qMax(2.5, r.height() * 0.16), true,
                locked ? QColor(0x80, 0x80, 0x80) : (frame == 0 ? kText : Qt::white));
    };
    for (auto [base, w, h] : {std::tuple{"combo2", 162, 21}, std::tuple{"combo3", 189, 25}}) {
        Add(QString("%1_nr.png").arg(base), w, h, true, [=](QPainter& p, const QRectF& r) { combo(p, r, 0); });
        Add(QString("%1_ov.png").arg(base), w, h, true, [=](QPainter& p, const QRectF& r) { combo(p, r, 1); });
    }
    // Resource 184: the five-frame combo strip.
    Add("res/184.png", 162 * 5, 21, true, [=](QPainter& p, const QRectF& r) {
        for (int k = 0; k < 5; ++k) combo(p, QRectF(r.left() + 162 * k, r.top(), 162, r.height()), k);
    });
}

void Sliders() {
    auto bar = [](QPainter& p, const QRectF& r) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x55, 0x55, 0x55));
        p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
    };
    Add("Slider_bar.png", 145, 3, true, bar);
    Add("Slider_bar2.png", 185, 3, true, bar);
    Add("Slider_Circle.png", 13, 13, true, [](QPainter& p, const QRectF& r) {
        QRectF b = r.adjusted(0.75, 0.75, -0.75, -0.75);
        p.setPen(QPen(QColor(0x12, 0x12, 0x12), 1.2));
        QRadialGradient g(b.center() - QPointF(1.5, 1.5), b.width() * 0.7);
        g.setColorAt(0, kAccent.lighter(130));
        g.setColorAt(1, kAccent);
        p.setBrush(g);
        p.drawEllipse(b);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(b.center(), 1.6, 1.6);
    });
    // DPI level bars: the track and its accent fill, 7 x 132.
    Add("mouse/dpi_bar_1.png", 7, 132, true, [](QPainter& p, const QRectF& r) {
        p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
        p.setBrush(QColor(0x2A, 0x2A, 0x2A));
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
    });
    Add("mouse/dpi_bar_2.png", 7, 132, true, [](QPainter& p, const QRectF& r) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, kAccent.lighter(125));
        g.setColorAt(1, kAccentDark);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
    });
    // The DPI value label plate (the text is drawn by the control).
    Add("dpi_value.png", 26, 11, true, [](QPainter& p, const QRectF& r) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2A, 0x2A, 0x2A));
        p.drawRoundedRect(r, 2, 2);
    });
}

void ColourSwatches() {
    // The swatch fills the frame inset by 3 units, so only the frame ring shows.
    Add("color_select_nr.png", 21, 20, true, [](QPainter& p, const QRectF& r) {
        p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
        p.setBrush(QColor(0x26, 0x26, 0x26));
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    });
    Add("color_select_check.png", 21, 20, true, [](QPainter& p, const QRectF& r) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(r, 2, 2);
        p.setBrush(kAccent);
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 2, 2);
    });
}

void PollingRates() {
    // Four quarters of one dial, 2 x 2, each its own radio button.
    struct Q { const char* name; const char* label; int qx, qy; };
    for (Q q : {Q{"125hz", "125", 0, 0}, Q{"250hz", "250", 0, 1}, Q{"500hz", "500", 1, 1}, Q{"1000hz", "1000", 1, 0}}) {
        for (bool down : {false, true}) {
            Add(QString("%1_%2.png").arg(q.name, down ? "dn" : "nr"), 72, 72, true, [=](QPainter& p, const QRectF& r) {
                // Circle centre at the corner shared by the four quarters.
                QPointF c(q.qx == 0 ? r.right() : r.left(), q.qy == 0 ? r.bottom() : r.top());
                double ro = r.width() - 2, ri = r.width() * 0.52;
                int start = q.qx == 0 ? (q.qy == 0 ? 90 : 180) : (q.qy == 0 ? 0 : 270);
                QPainterPath ring;
                ring.arcMoveTo(QRectF(c.x() - ro, c.y() - ro, 2 * ro, 2 * ro), start + 3);
                ring.arcTo(QRectF(c.x() - ro, c.y() - ro, 2 * ro, 2 * ro), start + 3, 84);
                ring.arcTo(QRectF(c.x() - ri, c.y() - ri, 2 * ri, 2 * ri), start + 87, -84);
                ring.closeSubpath();
                p.setPen(QPen(down ? kAccent : kEdge, 1.2));
                p.setBrush(down ? kAccentDark : kPanel);
                p.drawPath(ring);
                double mid = (ro + ri) / 2, a = qDegreesToRadians(double(start + 45));
                QPointF t(c.x() + mid * qCos(a), c.y() - mid * qSin(a));
                Text(p, QRectF(t.x() - 18, t.y() - 8, 36, 16), q.label, down ? Qt::white : kText, 11, QFont::DemiBold);
            });
        }
    }
}

void PowerDial() {
    // The half dial of the power-saving time, 140 x 84, centre (70, 71): the
    // wedges 3 .. n minutes light up, matching the hit regions of the control.
    const QPointF pts[9] = {{3, 71}, {7, 51}, {17, 32}, {40, 13}, {70, 5}, {100, 14}, {121, 31}, {131, 51}, {134, 71}};
    const QPointF c(70, 71);
    for (int n = 3; n <= 10; ++n) {
        Add(QString("power_manage_%1min.png").arg(n), 140, 84, true, [=](QPainter& p, const QRectF&) {
            for (int k = 0; k < 8; ++k) {
                // Shrink each wedge towards its own centre to leave a gap, and cut the hub out.
                QPolygonF w;
                w << c + (pts[k] - c) * 0.98 << c + (pts[k + 1] - c) * 0.98 << c + (pts[k + 1] - c) * 0.45
                  << c + (pts[k] - c) * 0.45;
                QPointF mid = (w[0] + w[1] + w[2] + w[3]) / 4;
                QPolygonF g;
                for (const QPointF& v : w) g << mid + (v - mid) * 0.9;
                bool on = k + 3 <= n;
                p.setPen(QPen(on ? kAccent.lighter(115) : kEdge, 0.8));
                p.setBrush(on ? (k + 3 == n ? kAccent : kAccentDark) : kPanel);
                p.drawPolygon(g);
                QPointF lp = c + ((pts[k] + pts[k + 1]) / 2 - c) * 0.72;
                Text(p, QRectF(lp.x() - 8, lp.y() - 6, 16, 12), QString::number(k + 3), on ? Qt::white : kText, 8);
            }
            // The value and its unit in the hub are the dial's own text, in the
            // user's language.
        });
    }
}

void Battery() {
    // 30 x 61: a terminal on rows 0-5, the body from row 5, the fill area rows 7-57.
    auto shell = [](QPainter& p, const QRectF& r) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x90, 0x90, 0x90));
        p.drawRoundedRect(QRectF(r.center().x() - 5, 1, 10, 5), 1.5, 1.5);
        p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(3, 5.5, r.width() - 6, 54), 3, 3);
    };
    auto fill = [](QPainter& p, const QRectF& r, const QColor& c) {
        p.fillRect(QRectF(6, 7, r.width() - 12, 50), c);
    };
    Add("battery_empty.png", 30, 61, true, [=](QPainter& p, const QRectF& r) { shell(p, r); fill(p, r, QColor(0x26, 0x26, 0x26)); });
    Add("battery_full.png", 30, 61, true, [=](QPainter& p, const QRectF& r) { shell(p, r); fill(p, r, QColor(0x3C, 0xB0, 0x5A)); });
    Add("battery_charging.png", 30, 61, true, [=](QPainter& p, const QRectF& r) { shell(p, r); fill(p, r, kAccent); });
    Add("battery_lighting.png", 30, 61, true, [](QPainter& p, const QRectF& r) {
        QPolygonF bolt;
        double cx = r.center().x();
        bolt << QPointF(cx + 3, 14) << QPointF(cx - 6, 34) << QPointF(cx - 0.5, 34) << QPointF(cx - 3, 50)
             << QPointF(cx + 6, 28) << QPointF(cx + 0.5, 28) << QPointF(cx + 3, 14);
        p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
        p.setBrush(QColor(0xFF, 0xE0, 0x40));
        p.drawPolygon(bolt);
    });
    for (auto [name, col] : {std::pair{"battery_green", QColor(0x3C, 0xB0, 0x5A)}, std::pair{"battery_orange", QColor(0xE0, 0x90, 0x20)},
                             std::pair{"battery_red", QColor(0xD0, 0x30, 0x30)}}) {
        Add(QString("%1.png").arg(name), 8, 8, true, [=](QPainter& p, const QRectF& r) {
            p.setPen(Qt::NoPen); p.setBrush(col); p.drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
        });
    }
}

void MousePictures() {
    // The mouse seen from above, 215 x 398, with its buttons outlined.
    Add("mouse/mouse_nr.png", 215, 398, true, [](QPainter& p, const QRectF& r) {
        QPainterPath body;
        double w = r.width(), h = r.height();
        body.moveTo(w * 0.5, 8);
        body.cubicTo(w * 0.95, 8, w * 0.97, h * 0.35, w * 0.93, h * 0.62);
        body.cubicTo(w * 0.88, h * 0.93, w * 0.70, h - 6, w * 0.5, h - 6);
        body.cubicTo(w * 0.30, h - 6, w * 0.12, h * 0.93, w * 0.07, h * 0.62);
        body.cubicTo(w * 0.03, h * 0.35, w * 0.05, 8, w * 0.5, 8);
        QLinearGradient g(0, 0, w, 0);
        g.setColorAt(0, QColor(0x2A, 0x2A, 0x2A));
        g.setColorAt(0.5, QColor(0x3A, 0x3A, 0x3A));
        g.setColorAt(1, QColor(0x26, 0x26, 0x26));
        p.setPen(QPen(QColor(0x5A, 0x5A, 0x5A), 1.5));
        p.setBrush(g);
        p.drawPath(body);
        // split between the two main buttons and the line under them
        p.setPen(QPen(QColor(0x18, 0x18, 0x18), 1.5));
        p.drawLine(QPointF(w * 0.5, 10), QPointF(w * 0.5, h * 0.30));
        QPainterPath under;
        under.moveTo(w * 0.07, h * 0.33);
        under.quadTo(w * 0.5, h * 0.38, w * 0.93, h * 0.33);
        p.drawPath(under);
        // wheel
        p.setPen(QPen(QColor(0x18, 0x18, 0x18), 1));
        p.setBrush(QColor(0x50, 0x50, 0x50));
        p.drawRoundedRect(QRectF(w * 0.5 - 7, h * 0.09, 14, 40), 6, 6);
        for (int i = 0; i < 6; ++i)
            p.drawLine(QPointF(w * 0.5 - 5, h * 0.09 + 7 + i * 5), QPointF(w * 0.5 + 5, h * 0.09 + 7 + i * 5));
        // DPI button behind the wheel, side buttons on the left
        p.setBrush(kAccentDark);
        p.drawRoundedRect(QRectF(w * 0.5 - 6, h * 0.22, 12, 16), 3, 3);
        p.setBrush(QColor(0x44, 0x44, 0x44));
        p.drawRoundedRect(QRectF(4, h * 0.38, 9, 34), 3, 3);
        p.drawRoundedRect(QRectF(4, h * 0.48, 9, 34), 3, 3);
        // lighting strip
        QPainterPath strip;
        strip.moveTo(w * 0.25, h * 0.85);
        strip.quadTo(w * 0.5, h * 0.93, w * 0.75, h * 0.85);
        p.setPen(QPen(kAccent, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(strip);
    });
    for (int n = 1; n <= 9; ++n) {
        // The highlight drawn over the mouse picture for the chosen button.
        Add(QString("mouse/number%1.png").arg(n), 22, 22, true, [=](QPainter& p, const QRectF& r) {
            p.setPen(QPen(Qt::white, 1.5));
            p.setBrush(kAccent);
            p.drawEllipse(r.adjusted(1, 1, -1, -1));
            Text(p, r, QString::number(n), Qt::white, 12, QFont::Bold);
        });
        // The number badge in front of each button's row.
        Add(QString("mouse/serial_number%1.png").arg(n), 21, 19, true, [=](QPainter& p, const QRectF& r) {
            p.setPen(QPen(kAccentDark, 1));
            p.setBrush(QColor(0x2A, 0x2A, 0x2A));
            p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
            Text(p, r, QString::number(n), kAccent, 11, QFont::Bold);
        });
    }
}

void Menus() {
    auto item = [](QPainter& p, const QRectF& r, bool hover, bool sub) {
        p.fillRect(r, hover ? kAccentDark : QColor(0x2A, 0x2A, 0x2A));
        if (hover) p.fillRect(QRectF(r.left(), r.top(), 3, r.height()), kAccent);
        p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1), QColor(0x22, 0x22, 0x22));
        if (sub) Chevron(p, QPointF(r.right() - 8, r.center().y()), 3.5, false, hover ? Qt::white : kText);
    };
    Add("menu_nr.png", 161, 22, true, [=](QPainter& p, const QRectF& r) { item(p, r, false, false); });
    Add("menu_ov.png", 161, 22, true, [=](QPainter& p, const QRectF& r) { item(p, r, true, false); });
    Add("menusub_nr.png", 161, 22, true, [=](QPainter& p, const QRectF& r) { item(p, r, false, true); });
    Add("menusub_ov.png", 161, 22, true, [=](QPainter& p, const QRectF& r) { item(p, r, true, true); });
}

void ProfileSlots() {
    auto slot = [](QPainter& p, const QRectF& r, bool hover, bool selected) {
        QColor fill = selected ? QColor(0x2E, 0x3F, 0x4A) : (hover ? kPanelLight : QColor(0x2A, 0x2A, 0x2A));
        p.fillRect(r, fill);
        p.fillRect(QRectF(r.left(), r.top(), 3, r.height()), selected ? kAccent : (hover ? kEdge : QColor(0x33, 0x33, 0x33)));
        if (hover) p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1), kAccent);
    };
    Add("profile_slot_nr.png", 162, 21, true, [=](QPainter& p, const QRectF& r) { slot(p, r, false, false); });
    Add("profile_slot_ov.png", 162, 21, true, [=](QPainter& p, const QRectF& r) { slot(p, r, true, false); });
    Add("profile_slot_nr2.png", 162, 21, true, [=](QPainter& p, const QRectF& r) { slot(p, r, false, true); });
    Add("profile_slot_ov2.png", 162, 21, true, [=](QPainter& p, const QRectF& r) { slot(p, r, true, true); });
}

void MacroPictures() {
    Add("macro_time.png", 13, 13, true, [](QPainter& p, const QRectF& r) {
        p.setPen(QPen(kText, 1.2)); p.setBrush(Qt::NoBrush);
        p.drawEllipse(r.adjusted(1, 1, -1, -1));
        p.drawLine(r.center(), r.center() + QPointF(0, -4));
        p.drawLine(r.center(), r.center() + QPointF(3, 0));
    });
    Add("macro_down.png", 13, 13, true, [](QPainter& p, const QRectF& r) { Arrow(p, r.adjusted(-2, -2, 2, 2), false, kAccent); });
    Add("macro_up.png", 13, 13, true, [](QPainter& p, const QRectF& r) { Arrow(p, r.adjusted(-2, -2, 2, 2), true, QColor(0xE0, 0x90, 0x20)); });
    auto record = [](QPainter& p, const QRectF& r, bool on) {
        Plate(p, r, on ? kRed : kPanel, on ? kRedLight : kEdge, 3);
        p.setPen(Qt::NoPen);
        p.setBrush(on ? QColor(0xFF, 0x50, 0x50) : kRedLight);
        p.drawEllipse(QPointF(r.left() + 9, r.center().y()), 4, 4);
    };
    Add("macro_record_nr.png", 90, 18, true, [=](QPainter& p, const QRectF& r) { record(p, r, false); });
    Add("macro_record_dn.png", 90, 18, true, [=](QPainter& p, const QRectF& r) { record(p, r, true); });
}

void Frames() {
    Add("Frame_common.bmp", 429, 140, true, [](QPainter& p, const QRectF& r) { DialogFrame(p, r, kAccent, 28); });
    Add("Frame_warning.bmp", 319, 102, true, [](QPainter& p, const QRectF& r) { DialogFrame(p, r, kRedLight, 34); });
    Add("Frame_progress_nr.bmp", 429, 140, true, [](QPainter& p, const QRectF& r) {
        DialogFrame(p, r, kAccent, 26);
        p.fillRect(QRectF(0, 66, r.width(), 12), QColor(0x2A, 0x2A, 0x2A));
        p.fillRect(QRectF(0, 65, r.width(), 1), QColor(0x40, 0x40, 0x40));
        p.fillRect(QRectF(0, 78, r.width(), 1), QColor(0x40, 0x40, 0x40));
    });
    Add("Frame_progress_ov.bmp", 429, 140, true, [](QPainter& p, const QRectF& r) {
        p.fillRect(r, kBack);
        QLinearGradient g(QPointF(0, 66), QPointF(0, 78));
        g.setColorAt(0, kAccent.lighter(120));
        g.setColorAt(1, kAccentDark);
        p.fillRect(QRectF(0, 66, r.width(), 12), g);
    });
    Add("Frame_Macro_Manager.bmp", 528, 365, true, [](QPainter& p, const QRectF& r) {
        DialogFrame(p, r, kAccent, 26);
        p.fillRect(QRectF(350, 45, 160, 230), QColor(0x24, 0x24, 0x24));
    });
    // The panel frame of the main window's sections, stretched to every panel.
    Add("Frame_Lighting_Setting.bmp", 230, 82, true, [](QPainter& p, const QRectF& r) {
        p.fillRect(r, QColor(0x26, 0x26, 0x26));
        p.setPen(QPen(QColor(0x3A, 0x3A, 0x3A), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    });
}

void Resources() {
    // 364: the main window's background, 1127 x 740.
    Add("res/364.png", 1127, 740, true, [](QPainter& p, const QRectF& r) {
        p.fillRect(r, kBack);
        QLinearGradient top(0, 0, 0, 34);
        top.setColorAt(0, QColor(0x2A, 0x2A, 0x2A));
        top.setColorAt(1, kBack);
        p.fillRect(QRectF(0, 0, r.width(), 34), top);
        p.fillRect(QRectF(0, 33, r.width(), 1), kAccentDark);
        Text(p, QRectF(36, 6, 200, 24), "TEVLAN", Qt::white, 16, QFont::Bold, Qt::AlignLeft | Qt::AlignVCenter);
        p.fillRect(QRectF(36, 30, 44, 2), kAccent);
        // centre stage: a soft light under the mouse picture
        QRadialGradient g(QPointF(564, 380), 260);
        g.setColorAt(0, QColor(0x2C, 0x33, 0x38));
        g.setColorAt(1, kBack);
        p.fillRect(QRectF(290, 60, 548, 640), g);
        // column rules, stopping at the bottom rule instead of crossing it
        p.fillRect(QRectF(286, 44, 1, 648), QColor(0x2A, 0x2A, 0x2A));
        p.fillRect(QRectF(836, 44, 1, 648), QColor(0x2A, 0x2A, 0x2A));
        p.fillRect(QRectF(0, 692, r.width(), 1), QColor(0x2A, 0x2A, 0x2A));
        p.setPen(QPen(kRed, 2));
        p.drawLine(QPointF(0, r.bottom() - 1), QPointF(r.width(), r.bottom() - 1));
    });
    // 300 and its buttons: the two macro-set dialogs, fixed size 530 x 200 (never scaled).
    Add("res/300.png", 530, 200, false, [](QPainter& p, const QRectF& r) {
        DialogFrame(p, r, kAccent, 36);
        p.fillRect(QRectF(64, 99, 402, 26), QColor(0x0B, 0x0B, 0x0B));
        p.setPen(QPen(kEdge, 1));
        p.drawRect(QRectF(64.5, 99.5, 401, 25));
    });
    auto strip3 = [](int w, int h, std::function<void(QPainter&, const QRectF&, Look)> f) {
        return [=](QPainter& p, const QRectF& r) {
            for (int k = 0; k < 3; ++k) f(p, QRectF(r.left() + w * k, r.top(), w, h), Look(k));
        };
    };
    Add("res/296.png", 92 * 3, 27, false, strip3(92, 27, [](QPainter& p, const QRectF& r, Look l) {
        ButtonFace(p, r, l); Text(p, r, "OK", l == kNormal ? kText : Qt::white, 13, QFont::DemiBold);
    }));
    Add("res/297.png", 92 * 3, 27, false, strip3(92, 27, [](QPainter& p, const QRectF& r, Look l) {
        ButtonFace(p, r, l); Text(p, r, "Cancel", l == kNormal ? kText : Qt::white, 13, QFont::DemiBold);
    }));
    Add("res/333.png", 15 * 3, 15, false, strip3(15, 15, [](QPainter& p, const QRectF& r, Look l) {
        if (l != kNormal) { p.setPen(Qt::NoPen); p.setBrush(l == kHover ? kRed : kRedLight); p.drawRoundedRect(r, 2, 2); }
        p.setPen(QPen(l == kNormal ? kText : Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
        QRectF g = r.adjusted(4.5, 4.5, -4.5, -4.5);
        p.drawLine(g.topLeft(), g.bottomRight()); p.drawLine(g.topRight(), g.bottomLeft());
    }));
    // 187 (down) and 188 (up): scroll-bar arrow strips, three 18 x 18 frames.
    for (auto [id, up] : {std::pair{187, false}, std::pair{188, true}}) {
        Add(QString("res/%1.png").arg(id), 18 * 3, 18, true, strip3(18, 18, [up = up](QPainter& p, const QRectF& r, Look l) {
            p.fillRect(r, l == kNormal ? QColor(0x2A, 0x2A, 0x2A) : (l == kHover ? QColor(0x3A, 0x3A, 0x3A) : kAccentDark));
            Arrow(p, r, up, l == kNormal ? kText : Qt::white);
        }));
    }
    // 128: the application icon.
    Add("res/128.png", 64, 64, true, [](QPainter& p, const QRectF& r) {
        p.setPen(Qt::NoPen);
        p.setBrush(kBack);
        p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 12, 12);
        QPainterPath m;
        m.addRoundedRect(QRectF(20, 10, 24, 44), 12, 12);
        p.setBrush(kPanelLight);
        p.drawPath(m);
        p.setPen(QPen(kAccent, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(32, 12), QPointF(32, 26));
        p.drawLine(QPointF(22, 27), QPointF(42, 27));
    });
}

// An opaque picture is written without an alpha channel, and with a palette
// when it has few enough colours for one, which reads back to exactly the
// same pixels: the program decodes such a file in well under half the time
// (the main window's background is decoded before its first frame).
QImage Compact(const QImage& img) {
    const QImage argb = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(row[x]) != 255) return img;
    }
    const QImage rgb = argb.convertToFormat(QImage::Format_RGB32);
    const QImage indexed = rgb.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    if (indexed.colorCount() <= 256 && indexed.convertToFormat(QImage::Format_RGB32) == rgb) return indexed;
    return rgb;
}

bool Write(const QDir& out, const Picture& pic, int factor, QTextStream& manifest) {
    QString name = pic.name;
    if (factor != 1) {
        int dot = name.lastIndexOf('.');
        name = name.left(dot) + QString("@%1x").arg(factor) + name.mid(dot);
    }
    // The dialogs' frames are named as bitmaps, and drawn as the opaque
    // pictures a bitmap holds; they are stored as PNG beside that name (the
    // program looks for the PNG first), a hundredth of the size.
    const bool bmp = name.endsWith(".bmp");
    if (bmp) name = name.left(name.size() - 4) + ".png";
    QImage img(pic.w * factor, pic.h * factor, bmp ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    img.fill(bmp ? QColor(Qt::black) : QColor(Qt::transparent));
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(factor, factor);
        pic.paint(p, QRectF(0, 0, pic.w, pic.h));
    }
    img = Compact(img);
    QString path = out.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Quality 0 is zlib's strongest compression: the same pixels in fewer bytes.
    if (!img.save(path, "PNG", 0)) {
        std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(path));
        return false;
    }
    manifest << name << '\n';
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: skingen <output folder>\n");
        return 2;
    }
    QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.absolutePath())) {
        std::fprintf(stderr, "skingen: cannot create %s\n", argv[1]);
        return 1;
    }
    Buttons();
    Headers();
    ChecksAndRadios();
    Combos();
    Sliders();
    ColourSwatches();
    PollingRates();
    PowerDial();
    Battery();
    MousePictures();
    Menus();
    ProfileSlots();
    MacroPictures();
    Frames();
    Resources();
    AddPaletteArt(Add);
    AddMainWindowArt(Add);
    AddMacroManagerArt(Add);

    QFile mf(out.filePath("manifest.txt"));
    if (!mf.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) return 1;
    QTextStream manifest(&mf);
    bool ok = true;
    for (const Picture& pic : g_pictures) {
        ok = Write(out, pic, 1, manifest) && ok;
        if (pic.twice) ok = Write(out, pic, 2, manifest) && ok;
    }
    return ok ? 0 : 1;
}
