#pragma once
// The main window's own pictures for the skin generator: the mouse seen from
// above, drawn so that each button sits where the main window puts that
// button's number highlight.
#include <QPainter>
#include <QRectF>
#include <QString>

#include <functional>

using ArtPainter = std::function<void(QPainter&, const QRectF&)>;
// Registers one picture: its name under the skin folder, base size, whether
// a 2x copy is written, and how it is drawn in base units.
using ArtAdder = std::function<void(const QString& name, int w, int h, bool twice, ArtPainter paint)>;

void AddMainWindowArt(const ArtAdder& add);
