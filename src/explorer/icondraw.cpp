#include "icondraw.h"

#include <QFont>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace IconDraw {

namespace {

QPen Outline(qreal width = 1.0) {
    return QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

}  // namespace

void Folder(QPainter& p, bool open) {
    p.setPen(Outline());
    // The back with its tab.
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6, 3.5);
    back.lineTo(7.5, 5);
    back.lineTo(14.5, 5);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.setBrush(kFolderDark);
    p.drawPath(back);
    p.setBrush(kFolder);
    if (open) {
        p.setBrush(kPaper);
        p.drawRect(QRectF(3.5, 6.5, 9, 5));
        p.setBrush(kFolder);
        p.drawPolygon(QPolygonF{{1.5, 13.5}, {4, 8}, {15.5, 8}, {13, 13.5}});
    } else {
        p.drawRect(QRectF(1.5, 6.5, 13, 7));
    }
}

void Page(QPainter& p, const QRectF& r, bool lines) {
    const qreal fold = std::min(r.width(), r.height()) * 0.3;
    QPolygonF shape{r.topLeft(),
                    {r.right() - fold, r.top()},
                    {r.right(), r.top() + fold},
                    r.bottomRight(),
                    r.bottomLeft()};
    p.setPen(Outline());
    p.setBrush(kPaper);
    p.drawPolygon(shape);
    p.drawPolyline(QPolygonF{{r.right() - fold, r.top()},
                             {r.right() - fold, r.top() + fold},
                             {r.right(), r.top() + fold}});
    if (!lines) return;
    p.setPen(QPen(kGrey, 1));
    for (qreal y = r.top() + fold + 1.5; y < r.bottom() - 1; y += 2)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void Cylinder(QPainter& p, const QRectF& r, const QColor& body) {
    const qreal cap = r.height() * 0.28;
    QPainterPath path;
    path.moveTo(r.left(), r.top() + cap / 2);
    path.lineTo(r.left(), r.bottom() - cap / 2);
    path.arcTo(QRectF(r.left(), r.bottom() - cap, r.width(), cap), 180, 180);
    path.lineTo(r.right(), r.top() + cap / 2);
    path.arcTo(QRectF(r.left(), r.top(), r.width(), cap), 0, -180);
    p.setPen(Outline());
    p.setBrush(body);
    p.drawPath(path);
    p.setBrush(body.lighter(135));
    p.drawEllipse(QRectF(r.left(), r.top(), r.width(), cap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(r.left(), r.top() + r.height() * 0.3, r.width(), cap), 180 * 16, 180 * 16);
}

void Grid(QPainter& p, const QRectF& r, const QColor& header, int rows, int cols) {
    p.setPen(Outline());
    p.setBrush(kPaper);
    p.drawRect(r);
    const qreal head = r.height() / (rows + 1);
    p.setBrush(header);
    p.drawRect(QRectF(r.left(), r.top(), r.width(), head));
    p.setPen(QPen(kGrey, 1));
    for (int i = 1; i < rows; ++i) {
        const qreal y = r.top() + head * (i + 1);
        p.drawLine(QPointF(r.left() + 0.5, y), QPointF(r.right() - 0.5, y));
    }
    for (int i = 1; i < cols; ++i) {
        const qreal x = r.left() + r.width() * i / cols;
        p.drawLine(QPointF(x, r.top() + head), QPointF(x, r.bottom() - 0.5));
    }
}

void Window(QPainter& p, const QRectF& r, const QColor& title) {
    p.setPen(Outline());
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setBrush(title);
    p.drawRect(QRectF(r.left(), r.top(), r.width(), 3));
}

void Plus(QPainter& p, const QPointF& c, qreal half, const QColor& color) {
    p.setPen(QPen(color.darker(130), 1));
    p.setBrush(color);
    const qreal t = half / 2.5;
    QPolygonF shape{{c.x() - t, c.y() - half}, {c.x() + t, c.y() - half}, {c.x() + t, c.y() - t},
                    {c.x() + half, c.y() - t}, {c.x() + half, c.y() + t}, {c.x() + t, c.y() + t},
                    {c.x() + t, c.y() + half}, {c.x() - t, c.y() + half}, {c.x() - t, c.y() + t},
                    {c.x() - half, c.y() + t}, {c.x() - half, c.y() - t}, {c.x() - t, c.y() - t}};
    p.drawPolygon(shape);
}

void Cross(QPainter& p, const QPointF& c, qreal half, const QColor& color) {
    p.setPen(QPen(color, half * 0.7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-half, -half), c + QPointF(half, half));
    p.drawLine(c + QPointF(-half, half), c + QPointF(half, -half));
}

void CheckMark(QPainter& p, const QRectF& r, const QColor& color, qreal width) {
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{{r.left(), r.top() + r.height() * 0.55},
                             {r.left() + r.width() * 0.38, r.bottom()},
                             {r.right(), r.top()}});
}

void Arrow(QPainter& p, const QPointF& from, const QPointF& to, const QColor& color) {
    const QPointF d = to - from;
    const qreal len = std::hypot(d.x(), d.y());
    if (len <= 0) return;
    const QPointF u = d / len, n(-u.y(), u.x());
    const qreal head = std::min(4.5, len * 0.6), shaft = 1.3;
    const QPointF base = to - u * head;
    QPolygonF shape{from + n * shaft,        base + n * shaft, base + n * (head * 0.8), to,
                    base - n * (head * 0.8), base - n * shaft, from - n * shaft};
    p.setPen(QPen(color.darker(140), 0.8));
    p.setBrush(color);
    p.drawPolygon(shape);
}

void Gear(QPainter& p, const QPointF& c, qreal radius, const QColor& color) {
    QPolygonF teeth;
    const int n = 8;
    for (int i = 0; i < n * 2; ++i) {
        const qreal a = M_PI * i / n;
        const qreal r = (i % 2 == 0) ? radius : radius * 0.72;
        teeth << c + QPointF(std::cos(a) * r, std::sin(a) * r);
        const qreal a2 = M_PI * (i + 0.5) / n;
        teeth << c + QPointF(std::cos(a2) * r, std::sin(a2) * r);
    }
    p.setPen(Outline());
    p.setBrush(color);
    p.drawPolygon(teeth);
    p.setBrush(kPaper);
    p.drawEllipse(c, radius * 0.3, radius * 0.3);
}

void Magnifier(QPainter& p, const QPointF& c, qreal radius) {
    p.setPen(QPen(kOutline, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(radius * 0.75, radius * 0.75), c + QPointF(radius * 1.9, radius * 1.9));
    p.setPen(Outline(1.4));
    p.setBrush(kLightBlue);
    p.drawEllipse(c, radius, radius);
    p.setPen(QPen(Qt::white, 1));
    p.drawArc(QRectF(c.x() - radius * 0.6, c.y() - radius * 0.6, radius * 1.2, radius * 1.2),
              100 * 16, 70 * 16);
}

void Pencil(QPainter& p, const QPointF& tip, const QPointF& end) {
    const QPointF d = end - tip;
    const qreal len = std::hypot(d.x(), d.y());
    const QPointF u = d / len, n(-u.y(), u.x());
    const qreal w = 1.8;
    const QPointF cone = tip + u * 3.0;
    p.setPen(Outline(0.8));
    p.setBrush(kYellow);
    p.drawPolygon(QPolygonF{cone + n * w, end + n * w, end - n * w, cone - n * w});
    p.setBrush(QColor(240, 200, 160));
    p.drawPolygon(QPolygonF{tip, cone + n * w, cone - n * w});
    p.setBrush(kRed);
    p.drawPolygon(
        QPolygonF{end + n * w, end + n * w + u * 1.5, end - n * w + u * 1.5, end - n * w});
}

void Bolt(QPainter& p, const QRectF& r) {
    p.setPen(QPen(QColor(180, 120, 0), 0.8));
    p.setBrush(kYellow);
    p.drawPolygon(QPolygonF{{r.left() + r.width() * 0.6, r.top()},
                            {r.left(), r.top() + r.height() * 0.58},
                            {r.left() + r.width() * 0.45, r.top() + r.height() * 0.58},
                            {r.left() + r.width() * 0.3, r.bottom()},
                            {r.right(), r.top() + r.height() * 0.38},
                            {r.left() + r.width() * 0.55, r.top() + r.height() * 0.38}});
}

void Flow(QPainter& p, const QColor& color) {
    p.setPen(Outline());
    p.drawLine(QPointF(4, 5), QPointF(4, 11));
    p.drawLine(QPointF(4, 11), QPointF(11, 11));
    p.setBrush(color);
    p.drawRect(QRectF(1.5, 1.5, 5, 4));
    p.drawEllipse(QRectF(1.5, 9, 5, 4));
    p.setBrush(color.lighter(140));
    p.drawRect(QRectF(9.5, 8.5, 5, 5));
}

void Letter(QPainter& p, const QRectF& r, const QString& text, const QColor& color) {
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(int(r.height()));
    f.setStyleStrategy(QFont::PreferAntialias);
    p.setFont(f);
    p.setPen(color);
    p.drawText(r, Qt::AlignCenter, text);
}

}  // namespace IconDraw
