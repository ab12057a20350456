// The parsed form of a metafile: self-contained drawing items in picture device space, kept in
// drawing order and indexed by an order-preserving bucket grid so a paint touches only what shows.
#pragma once

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <memory>
#include <vector>

namespace vembra::metafile {

// Text of one label, positioned in its own glyph frame (x along the baseline, y down).
struct TextRun {
    QString text;
    QFont font;
    QColor color;
    std::vector<QPointF> positions; // one per character when the metafile spaces them, else one
    QRectF background;              // filled with backgroundColor when not empty
    QColor backgroundColor;
};

// A bitmap stretched into a rectangle of the item's coordinate space.
struct ImageRun {
    QImage image;
    QRectF target;
    QRectF source;
};

// How an item combines with what is already drawn (GDI raster operations, where Qt has them).
enum class BlendMode : std::uint8_t { Normal, Raster };

// One drawing operation with everything needed to draw it alone.
struct DisplayItem {
    enum class Kind : std::uint8_t { Path, Polyline, Polygon, Text, Image };

    Kind kind = Kind::Path;
    BlendMode blend = BlendMode::Normal;
    bool devicePattern = false; // brush texture is in device pixels (hatches, patterns)
    QPainter::CompositionMode rasterOp = QPainter::CompositionMode_SourceOver;
    std::uint32_t transform = 0; // index into the transform table (item -> device)
    std::int32_t clip = -1;      // index into the clip table, -1 for none
    QRectF bounds;               // in picture device space, pen included
    QPen pen = QPen(Qt::NoPen);
    QBrush brush;
    QPainterPath path; // Kind::Path
    QPolygonF polygon; // Kind::Polyline, Kind::Polygon
    Qt::FillRule fillRule = Qt::OddEvenFill;
    std::shared_ptr<const TextRun> text;
    std::shared_ptr<const ImageRun> image;
};

// A clip region in picture device space.
struct ClipShape {
    QPainterPath path;
    QRectF rect; // the region when isRect
    bool isRect = false;
    QRectF bounds() const { return isRect ? rect : path.boundingRect(); }
};

// The drawing of a picture, built once and replayed on every paint.
class DisplayList {
public:
    // Adds a transform (item space -> device space) and returns its index; repeats are shared.
    std::uint32_t addTransform(const QTransform& transform);
    // Adds a clip region and returns its index.
    std::int32_t addClip(ClipShape clip);
    const ClipShape* clip(std::int32_t index) const;
    // Appends an item; empty bounds or items fully outside their clip are dropped.
    void append(DisplayItem item);
    // Builds the spatial index; call once after the last append.
    void finish(const QRectF& pictureRect);

    // Draws the items that intersect the painter's visible area, mapping device space by
    // deviceToTarget onto the painter's current transform.
    void replay(QPainter& painter, const QTransform& deviceToTarget) const;

    std::size_t size() const { return m_items.size(); }
    const std::vector<DisplayItem>& items() const { return m_items; }
    // Approximate heap bytes held by the list (for budgets and benchmarks).
    std::size_t memoryBytes() const;
    // One line per item describing kind, pen, brush and bounds.
    QString dump() const;

private:
    void drawItem(QPainter& painter, const DisplayItem& item, const QTransform& deviceToPainter,
                  bool rasterDevice) const;
    std::vector<std::uint32_t> visibleItems(const QRectF& visible) const;

    std::vector<DisplayItem> m_items;
    std::vector<QTransform> m_transforms;
    std::vector<ClipShape> m_clips;
    // Bucket grid over the picture rectangle; items listed per cell in drawing order.
    QRectF m_gridRect;
    int m_gridColumns = 0;
    int m_gridRows = 0;
    std::vector<std::vector<std::uint32_t>> m_cells;
    std::vector<std::uint32_t> m_wideItems; // items spanning many cells, checked on every paint
};

} // namespace vembra::metafile
