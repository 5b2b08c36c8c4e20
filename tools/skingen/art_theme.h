#pragma once
// The theme every skin picture is drawn in: the program's greys and accent,
// the plate that buttons and fields are made of, and the dialog frame.
#include <QColor>
#include <QPainter>
#include <QRectF>

namespace theme {

inline const QColor kBack(0x1F, 0x1F, 0x1F);
inline const QColor kPanel(0x32, 0x32, 0x32);
inline const QColor kPanelLight(0x3E, 0x3E, 0x3E);
inline const QColor kEdge(0x4A, 0x4A, 0x4A);
inline const QColor kText(180, 180, 180);
inline const QColor kAccent(0x35, 0xA0, 0xDE);
inline const QColor kAccentDark(0x1E, 0x5F, 0x86);
inline const QColor kRed(0x78, 0x00, 0x00);
inline const QColor kRedLight(0xB0, 0x20, 0x20);

enum Look { kNormal, kHover, kDown };

// A rounded, lightly shaded plate: the common body of buttons and fields.
void Plate(QPainter& p, const QRectF& r, const QColor& fill, const QColor& edge, double radius = 3.0);

// A button's plate in one of its three looks.
void ButtonFace(QPainter& p, const QRectF& r, Look look);

// Dialog frames are opaque: a title band of `band` units and a 1-unit accent
// rule under it.
void DialogFrame(QPainter& p, const QRectF& r, const QColor& accent, int band = 26);

}  // namespace theme
