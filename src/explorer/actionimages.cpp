#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

#include "icondraw.h"
#include "imagelists.h"

namespace IconDraw {

namespace {

void Scissors(QPainter& p) {
    p.setPen(QPen(kOutline, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 1.5), QPointF(10.5, 10));
    p.drawLine(QPointF(12, 1.5), QPointF(5.5, 10));
    p.setPen(QPen(kRed, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.5, 12), 2.5, 2.5);
    p.drawEllipse(QPointF(11.5, 12), 2.5, 2.5);
}

void Clipboard(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(190, 140, 80));
    p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12.5), 1, 1);
    p.setBrush(kGrey);
    p.drawRect(QRectF(4, 1.5, 5, 2.5));
    Page(p, QRectF(6.5, 6.5, 8, 8.5));
}

void TreeShape(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    p.drawLine(QPointF(4, 5), QPointF(4, 12.5));
    p.drawLine(QPointF(4, 8.5), QPointF(8, 8.5));
    p.drawLine(QPointF(4, 12.5), QPointF(8, 12.5));
    p.setBrush(kBlue);
    p.drawRect(QRectF(1.5, 1.5, 5, 4));
    p.setBrush(kLightBlue);
    p.drawRect(QRectF(8.5, 6.5, 6, 4));
    p.drawRect(QRectF(8.5, 11, 6, 4));
}

void PropertySheet(QPainter& p) {
    Window(p, QRectF(1.5, 1.5, 13, 13), kBlue);
    p.setPen(QPen(kOutline, 1));
    for (qreal y : {7.0, 10.0, 13.0}) {
        p.setBrush(kPaper);
        p.drawRect(QRectF(3, y - 1.5, 2, 2));
        p.setPen(QPen(kGrey, 1));
        p.drawLine(QPointF(6.5, y - 0.5), QPointF(12.5, y - 0.5));
        p.setPen(QPen(kOutline, 1));
    }
    CheckMark(p, QRectF(2.8, 5.2, 2.6, 2.2), kGreen, 1.2);
}

void Plug(QPainter& p, bool joined) {
    const QColor c = joined ? kGreen : kRed;
    const qreal gap = joined ? 0 : 2.5;
    p.setPen(QPen(kOutline, 1));
    p.setBrush(c);
    p.drawRoundedRect(QRectF(1.5, 5, 5 - gap / 2, 6), 1.5, 1.5);
    p.drawRoundedRect(QRectF(9.5 + gap / 2, 5, 5 - gap / 2, 6), 1.5, 1.5);
    p.setPen(QPen(kOutline, 1.2));
    p.drawLine(QPointF(6.5 - gap / 2, 6.8), QPointF(9.5 + gap / 2 - (joined ? 0 : 1.5), 6.8));
    p.drawLine(QPointF(6.5 - gap / 2, 9.2), QPointF(9.5 + gap / 2 - (joined ? 0 : 1.5), 9.2));
    p.drawLine(QPointF(0, 8), QPointF(1.5, 8));
    p.drawLine(QPointF(14.5, 8), QPointF(16, 8));
}

void Flag(QPainter& p, const QColor& color) {
    p.setPen(QPen(kOutline, 1.2));
    p.drawLine(QPointF(3, 1.5), QPointF(3, 15));
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(color);
    p.drawPolygon(QPolygonF{{3, 2}, {14, 2}, {11.5, 5.5}, {14, 9}, {3, 9}});
}

}  // namespace

void DrawActionImage(QPainter& p, int index) {
    switch (index) {
        case ActionImage::Check:
            CheckMark(p, QRectF(2.5, 3, 11, 9.5), kOutline, 2.2);
            break;
        case ActionImage::ToggleOn:
            p.setPen(QPen(kOutline, 1));
            p.setBrush(kPaper);
            p.drawRect(QRectF(2.5, 2.5, 11, 11));
            CheckMark(p, QRectF(4.5, 5, 7, 6), kGreen, 2);
            break;
        case ActionImage::Cut:
            Scissors(p);
            break;
        case ActionImage::Copy:
            Page(p, QRectF(1.5, 1.5, 8, 10));
            Page(p, QRectF(6.5, 5.5, 8, 10));
            break;
        case ActionImage::Paste:
            Clipboard(p);
            break;
        case ActionImage::UpOneLevel:
            Folder(p, false);
            Arrow(p, QPointF(9.5, 13), QPointF(9.5, 2), kGreen);
            break;
        case ActionImage::EditTree:
            TreeShape(p);
            break;
        case ActionImage::Properties:
            PropertySheet(p);
            break;
        case ActionImage::Add:
            Plus(p, QPointF(8, 8), 6.5, kGreen);
            break;
        case ActionImage::Delete:
            Cross(p, QPointF(8, 8), 5, kRed);
            break;
        case ActionImage::Export:
            Page(p, QRectF(1.5, 1.5, 9, 13));
            Arrow(p, QPointF(6, 10), QPointF(15.5, 10), kGreen);
            break;
        case ActionImage::Edit:
            Page(p, QRectF(1.5, 1.5, 10, 13));
            Pencil(p, QPointF(6, 14), QPointF(14.5, 4));
            break;
        case ActionImage::Scheme:
            Flow(p, kBlue);
            break;
        case ActionImage::Status:
            Flag(p, kGreen);
            break;
        case ActionImage::CopyForm:
            Window(p, QRectF(1.5, 1.5, 9, 8), kBlue);
            Window(p, QRectF(5.5, 6.5, 9, 8), kGreen);
            break;
        case ActionImage::Connect:
            Plug(p, true);
            break;
        case ActionImage::Query:
            Page(p, QRectF(1.5, 1.5, 10, 13));
            Bolt(p, QRectF(7.5, 4, 7, 11.5));
            break;
        case ActionImage::CreateSystemTables:
            Grid(p, QRectF(1.5, 1.5, 11, 10), kBlue);
            Plus(p, QPointF(11.5, 11.5), 4, kGreen);
            break;
        case ActionImage::Disconnect:
            Plug(p, false);
            break;
        case ActionImage::Import:
            p.setPen(QPen(kOutline, 1));
            p.setBrush(QColor(200, 170, 120));
            p.drawRect(QRectF(1.5, 8.5, 13, 6));
            Arrow(p, QPointF(8, 0.5), QPointF(8, 11.5), kBlue);
            break;
        case ActionImage::Search:
            Magnifier(p, QPointF(6.5, 6.5), 4.5);
            break;
        default:
            break;
    }
}

}  // namespace IconDraw
