#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>

// Drawing helpers for the image lists. Every picture is drawn on a 16 by 16
// canvas; larger sizes scale the painter, so one routine serves both sizes.
namespace IconDraw {

// Palette shared by the pictures, so that the lists read as one set.
inline const QColor kOutline(60, 60, 70);
inline const QColor kPaper(252, 252, 248);
inline const QColor kFolder(238, 196, 86);
inline const QColor kFolderDark(196, 148, 40);
inline const QColor kBlue(52, 110, 196);
inline const QColor kLightBlue(160, 200, 240);
inline const QColor kGreen(40, 150, 60);
inline const QColor kRed(200, 40, 40);
inline const QColor kYellow(250, 210, 60);
inline const QColor kGrey(150, 150, 155);

void Folder(QPainter& p, bool open);
void Page(QPainter& p, const QRectF& r, bool lines = true);
void Cylinder(QPainter& p, const QRectF& r, const QColor& body);
void Grid(QPainter& p, const QRectF& r, const QColor& header, int rows = 3, int cols = 2);
void Window(QPainter& p, const QRectF& r, const QColor& title);
void Plus(QPainter& p, const QPointF& centre, qreal half, const QColor& color);
void Cross(QPainter& p, const QPointF& centre, qreal half, const QColor& color);
void CheckMark(QPainter& p, const QRectF& r, const QColor& color, qreal width = 2.0);
void Arrow(QPainter& p, const QPointF& from, const QPointF& to, const QColor& color);
void Gear(QPainter& p, const QPointF& centre, qreal radius, const QColor& color);
void Magnifier(QPainter& p, const QPointF& centre, qreal radius);
void Pencil(QPainter& p, const QPointF& tip, const QPointF& end);
void Bolt(QPainter& p, const QRectF& r);
void Flow(QPainter& p, const QColor& color);
void Letter(QPainter& p, const QRectF& r, const QString& text, const QColor& color);

// The pictures themselves; unknown indices draw nothing.
void DrawActionImage(QPainter& p, int index);
void DrawObjectImage(QPainter& p, int index);

}  // namespace IconDraw
