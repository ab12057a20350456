#include "ui/button_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace vembra::pictures {

namespace {

QIcon drawn(int w, int h, const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(w, h);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return QIcon(pixmap);
}

void drawCylinder(QPainter& p, const QRectF& r, const QColor& colour)
{
    const qreal cap = r.height() / 5;
    p.setPen(QPen(QColor(40, 40, 80), 1));
    p.setBrush(colour);
    QPainterPath body;
    body.moveTo(r.left(), r.top() + cap / 2);
    body.lineTo(r.left(), r.bottom() - cap / 2);
    body.arcTo(QRectF(r.left(), r.bottom() - cap, r.width(), cap), 180, 180);
    body.lineTo(r.right(), r.top() + cap / 2);
    p.drawPath(body);
    p.setBrush(colour.lighter(130));
    p.drawEllipse(QRectF(r.left(), r.top(), r.width(), cap));
}

} // namespace

QIcon openDatabase()
{
    return drawn(32, 18, [](QPainter& p) {
        drawCylinder(p, QRectF(2, 1, 12, 16), QColor(230, 190, 60));
        p.setPen(QPen(QColor(0, 100, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(18, 9), QPointF(29, 9));
        p.drawLine(QPointF(25, 5), QPointF(29, 9));
        p.drawLine(QPointF(25, 13), QPointF(29, 9));
    });
}

QIcon exportData()
{
    return drawn(24, 24, [](QPainter& p) {
        drawCylinder(p, QRectF(12, 6, 10, 16), QColor(230, 190, 60));
        p.setPen(QPen(QColor(0, 0, 160), 1));
        p.setBrush(QColor(120, 160, 230));
        p.drawRect(QRectF(1.5, 2.5, 9, 12));
        p.setPen(QPen(QColor(0, 120, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 18), QPointF(11, 18));
        p.drawLine(QPointF(9, 15.5), QPointF(11.5, 18));
        p.drawLine(QPointF(9, 20.5), QPointF(11.5, 18));
    });
}

QIcon backgroundColour()
{
    return drawn(24, 24, [](QPainter& p) {
        const QColor colours[] = {QColor(220, 40, 40), QColor(40, 170, 40), QColor(40, 80, 220),
                                  QColor(240, 200, 40)};
        for (int i = 0; i < 4; ++i) {
            p.setPen(QPen(Qt::black, 0.8));
            p.setBrush(colours[i]);
            p.drawRect(QRectF(2.5 + (i % 2) * 10, 2.5 + (i / 2) * 10, 9, 9));
        }
    });
}

QIcon print()
{
    return drawn(24, 24, [](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 2.5, 11, 8));
        p.setBrush(QColor(170, 170, 170));
        p.drawRoundedRect(QRectF(2.5, 9.5, 19, 9), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 15.5, 11, 6));
        p.setPen(QPen(QColor(0, 0, 0), 0.8));
        p.drawLine(QPointF(8, 18), QPointF(16, 18));
        p.setBrush(QColor(0, 180, 0));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(18.5, 12.5), 1.2, 1.2);
    });
}

QIcon settings()
{
    return drawn(24, 24, [](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(QColor(230, 230, 230));
        p.drawRect(QRectF(3.5, 3.5, 17, 17));
        for (int i = 0; i < 3; ++i) {
            const qreal y = 8 + i * 4.5;
            p.setPen(QPen(QColor(0, 0, 128), 1.2));
            p.drawLine(QPointF(11, y), QPointF(18, y));
            p.setPen(QPen(QColor(0, 128, 0), 1.6));
            p.drawLine(QPointF(6, y), QPointF(7.5, y + 1.3));
            p.drawLine(QPointF(7.5, y + 1.3), QPointF(9.5, y - 1.5));
        }
    });
}

QIcon search()
{
    return drawn(22, 22, [](QPainter& p) {
        p.setPen(QPen(QColor(0, 110, 0), 2.4));
        p.setBrush(QColor(220, 255, 220));
        p.drawEllipse(QPointF(9, 9), 6, 6);
        p.setPen(QPen(QColor(0, 110, 0), 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(13.5, 13.5), QPointF(19.5, 19.5));
    });
}

QIcon arrowUp()
{
    return drawn(7, 4, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygon({QPoint(0, 4), QPoint(7, 4), QPoint(3, 0)}));
    });
}

QIcon arrowDown()
{
    return drawn(7, 4, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygon({QPoint(0, 0), QPoint(7, 0), QPoint(3, 4)}));
    });
}

} // namespace vembra::pictures
