#pragma once

#include <QWidget>

#include <functional>

class QPainter;

namespace vembra {

// The map's drawing surface: a child of the client area that the map view moves and sizes. It
// paints nothing of its own where nothing is drawn, so the window's background shows through.
class PaintBox : public QWidget {
    Q_OBJECT
public:
    explicit PaintBox(QWidget* parent = nullptr);

    // The paint handler; called with a painter on the box.
    std::function<void(QPainter&)> onPaint;
    std::function<void(QMouseEvent*)> onMouseDown;
    std::function<void(QMouseEvent*)> onMouseMove;
    std::function<void(QMouseEvent*)> onMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace vembra
