#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

#include "icondraw.h"
#include "imagelists.h"

namespace IconDraw {

namespace {

void Eye(QPainter& p, const QPointF& c) {
    QPainterPath lens;
    lens.moveTo(c.x() - 4, c.y());
    lens.quadTo(c.x(), c.y() - 4, c.x() + 4, c.y());
    lens.quadTo(c.x(), c.y() + 4, c.x() - 4, c.y());
    p.setPen(QPen(kOutline, 0.9));
    p.setBrush(Qt::white);
    p.drawPath(lens);
    p.setBrush(kBlue);
    p.drawEllipse(c, 1.5, 1.5);
}

void Globe(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kLightBlue);
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kBlue, 0.9));
    p.drawEllipse(QPointF(8, 8), 2.8, 6.5);
    p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
    p.drawLine(QPointF(2.8, 4.8), QPointF(13.2, 4.8));
    p.drawLine(QPointF(2.8, 11.2), QPointF(13.2, 11.2));
    p.drawLine(QPointF(8, 1.5), QPointF(8, 14.5));
}

void Person(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kBlue);
    QPainterPath body;
    body.moveTo(2, 15);
    body.cubicTo(2, 9, 14, 9, 14, 15);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(240, 200, 160));
    p.drawEllipse(QPointF(8, 5.5), 3.2, 3.2);
}

void Key(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kYellow);
    p.drawEllipse(QPointF(5, 6), 3.5, 3.5);
    p.drawPolygon(QPolygonF{
        {7.5, 7.5}, {14.5, 14.5}, {12.5, 14.5}, {11.5, 13.5}, {10.5, 14}, {9.5, 12.5}, {6.5, 9.5}});
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(4.3, 5.3), 1.1, 1.1);
}

void Book(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(170, 60, 60));
    p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1, 1);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 12, 9, 2.5));
    p.setPen(QPen(kYellow, 1.2));
    p.drawLine(QPointF(6, 5), QPointF(11, 5));
    p.drawLine(QPointF(6, 7.5), QPointF(11, 7.5));
}

void Sliders(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    const qreal knobs[] = {5, 10, 7};
    for (int i = 0; i < 3; ++i) {
        const qreal y = 4.5 + i * 3.5;
        p.setPen(QPen(kGrey, 1.2));
        p.drawLine(QPointF(3.5, y), QPointF(12.5, y));
        p.setPen(QPen(kOutline, 0.8));
        p.setBrush(kBlue);
        p.drawRect(QRectF(knobs[i] - 1, y - 1.5, 2, 3));
    }
}

void Wand(QPainter& p) {
    p.setPen(QPen(kOutline, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2, 14), QPointF(9, 7));
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal a = M_PI / 5 * i - M_PI / 2;
        const qreal r = (i % 2 == 0) ? 4.5 : 1.9;
        star << QPointF(11 + std::cos(a) * r, 5 + std::sin(a) * r);
    }
    p.setPen(QPen(QColor(180, 120, 0), 0.8));
    p.setBrush(kYellow);
    p.drawPolygon(star);
}

void TrafficLight(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(70, 70, 80));
    p.drawRoundedRect(QRectF(4.5, 0.5, 7, 15), 2, 2);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(8, 3.5), 1.8, 1.8);
    p.setBrush(kYellow);
    p.drawEllipse(QPointF(8, 8), 1.8, 1.8);
    p.setBrush(QColor(60, 200, 80));
    p.drawEllipse(QPointF(8, 12.5), 1.8, 1.8);
}

void Stairs(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    const QColor colors[] = {kLightBlue, kBlue.lighter(120), kBlue};
    for (int i = 0; i < 3; ++i) {
        const qreal h = 4 + i * 4.5;
        p.setBrush(colors[i]);
        p.drawRect(QRectF(1.5 + i * 4.5, 15 - h, 4, h));
    }
}

void DashedPage(QPainter& p) {
    p.setPen(QPen(kOutline, 1, Qt::DashLine));
    p.setBrush(kPaper);
    p.drawRect(QRectF(2.5, 1.5, 11, 13));
    p.setPen(QPen(kBlue, 1.2));
    p.drawRect(QRectF(4.5, 4, 7, 3));
    p.drawLine(QPointF(4.5, 10), QPointF(11.5, 10));
    p.drawLine(QPointF(4.5, 12), QPointF(9.5, 12));
}

}  // namespace

void DrawObjectImage(QPainter& p, int index) {
    switch (index) {
        case ObjectImage::ClosedFolder:
            Folder(p, false);
            break;
        case ObjectImage::OpenFolder:
            Folder(p, true);
            break;
        case ObjectImage::DatabaseDisconnected:
            Cylinder(p, QRectF(2.5, 1.5, 10, 13), kGrey);
            Cross(p, QPointF(12.5, 12.5), 2.3, kRed);
            break;
        case ObjectImage::Table:
            Grid(p, QRectF(1.5, 2.5, 13, 11), kBlue);
            break;
        case ObjectImage::View:
            Grid(p, QRectF(1.5, 1.5, 12, 10), kGreen);
            Eye(p, QPointF(10.5, 12));
            break;
        case ObjectImage::Procedure:
            Page(p, QRectF(1.5, 1.5, 10, 13));
            Gear(p, QPointF(11, 11), 4.5, kGrey);
            break;
        case ObjectImage::Structure:
            Page(p, QRectF(2.5, 1.5, 11, 13), false);
            p.setPen(QPen(kBlue, 1));
            p.drawLine(QPointF(5, 5), QPointF(5, 12));
            p.drawLine(QPointF(5, 8), QPointF(8, 8));
            p.drawLine(QPointF(5, 12), QPointF(8, 12));
            p.setBrush(kBlue);
            p.drawRect(QRectF(4, 4, 2, 2));
            p.drawRect(QRectF(8.5, 7, 3, 2));
            p.drawRect(QRectF(8.5, 11, 3, 2));
            break;
        case ObjectImage::Config:
            Sliders(p);
            break;
        case ObjectImage::DatabaseConnected:
            Cylinder(p, QRectF(2.5, 1.5, 10, 13), QColor(230, 180, 60));
            p.setPen(QPen(kOutline, 0.8));
            p.setBrush(QColor(60, 200, 80));
            p.drawEllipse(QPointF(12.5, 12.5), 2.6, 2.6);
            break;
        case ObjectImage::Form:
            Window(p, QRectF(1.5, 1.5, 13, 12), kBlue);
            p.setPen(QPen(kOutline, 0.8));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(3.5, 6.5, 6, 2));
            p.setBrush(QColor(220, 220, 220));
            p.drawRect(QRectF(8.5, 10, 4, 2));
            break;
        case ObjectImage::Language:
            Globe(p);
            break;
        case ObjectImage::Resource:
            p.setPen(QPen(kOutline, 1));
            p.setBrush(QColor(255, 245, 180));
            p.drawRect(QRectF(1.5, 1.5, 13, 13));
            Letter(p, QRectF(1.5, 1.5, 13, 13), QStringLiteral("A"), kBlue);
            break;
        case ObjectImage::SchemeOperation:
            Flow(p, kGreen);
            break;
        case ObjectImage::WizardScenario:
            Wand(p);
            break;
        case ObjectImage::Generator:
            Stairs(p);
            break;
        case ObjectImage::Pattern:
            DashedPage(p);
            break;
        case ObjectImage::User:
            Person(p);
            break;
        case ObjectImage::File:
            Page(p, QRectF(2.5, 1.5, 11, 13));
            Arrow(p, QPointF(5, 11), QPointF(12, 11), kBlue);
            break;
        case ObjectImage::Section:
            Book(p);
            break;
        case ObjectImage::Status:
            TrafficLight(p);
            break;
        case ObjectImage::Parameter:
            Key(p);
            break;
        default:
            break;
    }
}

}  // namespace IconDraw
