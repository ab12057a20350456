#include "ui/paint_box.h"

#include <QMouseEvent>
#include <QPainter>

namespace vembra {

PaintBox::PaintBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAutoFillBackground(false);
}

void PaintBox::paintEvent(QPaintEvent*)
{
    if (!onPaint)
        return;
    QPainter painter(this);
    onPaint(painter);
}

void PaintBox::mousePressEvent(QMouseEvent* event)
{
    if (onMouseDown)
        onMouseDown(event);
}

void PaintBox::mouseMoveEvent(QMouseEvent* event)
{
    if (onMouseMove)
        onMouseMove(event);
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (onMouseUp)
        onMouseUp(event);
}

} // namespace vembra
