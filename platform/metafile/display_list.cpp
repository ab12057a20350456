#include "platform/metafile/display_list.h"

#include <QPaintEngine>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace vembra::metafile {

namespace {

constexpr int minItemsForGrid = 64;
constexpr int maxGridSide = 256;

QString colorName(const QColor& color)
{
    return color.alpha() == 255 ? color.name(QColor::HexRgb) : color.name(QColor::HexArgb);
}

QString penText(const QPen& pen)
{
    if (pen.style() == Qt::NoPen)
        return QStringLiteral("pen=none");
    static const char* const styles[] = {"none",    "solid",      "dash",  "dot",
                                         "dashdot", "dashdotdot", "custom"};
    const int style = std::clamp(static_cast<int>(pen.style()), 0, 6);
    return QStringLiteral("pen=%1 %2 w=%3%4")
        .arg(QLatin1String(styles[style]), colorName(pen.color()))
        .arg(pen.widthF(), 0, 'g', 4)
        .arg(pen.isCosmetic() ? QStringLiteral("px") : QString());
}

QString brushText(const QBrush& brush)
{
    switch (brush.style()) {
    case Qt::NoBrush:
        return QStringLiteral("brush=none");
    case Qt::SolidPattern:
        return QStringLiteral("brush=solid %1").arg(colorName(brush.color()));
    case Qt::TexturePattern:
        return QStringLiteral("brush=pattern %1").arg(colorName(brush.color()));
    default:
        return QStringLiteral("brush=other %1").arg(colorName(brush.color()));
    }
}

QString rectText(const QRectF& r)
{
    return QStringLiteral("%1,%2,%3,%4")
        .arg(std::lround(r.left()))
        .arg(std::lround(r.top()))
        .arg(std::lround(r.right()))
        .arg(std::lround(r.bottom()));
}

std::size_t pathBytes(const QPainterPath& path)
{
    return path.isEmpty() ? 0
                          : 64 + std::size_t(path.elementCount()) * sizeof(QPainterPath::Element);
}

} // namespace

std::uint32_t DisplayList::addTransform(const QTransform& transform)
{
    if (!m_transforms.empty() && m_transforms.back() == transform)
        return static_cast<std::uint32_t>(m_transforms.size() - 1);
    m_transforms.push_back(transform);
    return static_cast<std::uint32_t>(m_transforms.size() - 1);
}

std::int32_t DisplayList::addClip(ClipShape clip)
{
    m_clips.push_back(std::move(clip));
    return static_cast<std::int32_t>(m_clips.size() - 1);
}

const ClipShape* DisplayList::clip(std::int32_t index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_clips.size())
        return nullptr;
    return &m_clips[static_cast<std::size_t>(index)];
}

void DisplayList::append(DisplayItem item)
{
    if (!item.bounds.isValid() || !std::isfinite(item.bounds.left()) ||
        !std::isfinite(item.bounds.right()) || !std::isfinite(item.bounds.top()) ||
        !std::isfinite(item.bounds.bottom()))
        return;
    if (const ClipShape* shape = clip(item.clip)) {
        item.bounds = item.bounds.intersected(shape->bounds());
        if (item.bounds.isEmpty())
            return;
    }
    m_items.push_back(std::move(item));
}

void DisplayList::finish(const QRectF& pictureRect)
{
    m_cells.clear();
    m_wideItems.clear();
    m_gridColumns = m_gridRows = 0;
    const int count = static_cast<int>(m_items.size());
    if (count < minItemsForGrid)
        return;
    QRectF area = pictureRect;
    for (const DisplayItem& item : m_items)
        area = area.united(item.bounds);
    if (area.isEmpty())
        return;
    const int side = std::clamp(static_cast<int>(std::sqrt(count / 4.0)), 1, maxGridSide);
    m_gridRect = area;
    m_gridColumns = m_gridRows = side;
    m_cells.assign(static_cast<std::size_t>(side) * side, {});
    const int wideLimit = std::max(4, side * side / 8);
    const double cellW = area.width() / side;
    const double cellH = area.height() / side;
    for (int i = 0; i < count; ++i) {
        const QRectF& b = m_items[static_cast<std::size_t>(i)].bounds;
        const int c0 = std::clamp(static_cast<int>((b.left() - area.left()) / cellW), 0, side - 1);
        const int c1 = std::clamp(static_cast<int>((b.right() - area.left()) / cellW), 0, side - 1);
        const int r0 = std::clamp(static_cast<int>((b.top() - area.top()) / cellH), 0, side - 1);
        const int r1 = std::clamp(static_cast<int>((b.bottom() - area.top()) / cellH), 0, side - 1);
        if ((c1 - c0 + 1) * (r1 - r0 + 1) > wideLimit) {
            m_wideItems.push_back(static_cast<std::uint32_t>(i));
            continue;
        }
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                m_cells[static_cast<std::size_t>(r) * side + c].push_back(
                    static_cast<std::uint32_t>(i));
    }
    for (auto& cell : m_cells)
        cell.shrink_to_fit();
}

std::vector<std::uint32_t> DisplayList::visibleItems(const QRectF& visible) const
{
    std::vector<std::uint32_t> result;
    const auto all = [&] {
        result.resize(m_items.size());
        for (std::size_t i = 0; i < result.size(); ++i)
            result[i] = static_cast<std::uint32_t>(i);
    };
    if (m_cells.empty()) {
        all();
        return result;
    }
    const double cellW = m_gridRect.width() / m_gridColumns;
    const double cellH = m_gridRect.height() / m_gridRows;
    const int c0 =
        std::clamp(static_cast<int>(std::floor((visible.left() - m_gridRect.left()) / cellW)), 0,
                   m_gridColumns - 1);
    const int c1 =
        std::clamp(static_cast<int>(std::floor((visible.right() - m_gridRect.left()) / cellW)), 0,
                   m_gridColumns - 1);
    const int r0 =
        std::clamp(static_cast<int>(std::floor((visible.top() - m_gridRect.top()) / cellH)), 0,
                   m_gridRows - 1);
    const int r1 =
        std::clamp(static_cast<int>(std::floor((visible.bottom() - m_gridRect.top()) / cellH)), 0,
                   m_gridRows - 1);
    if ((c1 - c0 + 1) * (r1 - r0 + 1) * 2 > m_gridColumns * m_gridRows) {
        all();
        return result;
    }
    result = m_wideItems;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) {
            const auto& cell = m_cells[static_cast<std::size_t>(r) * m_gridColumns + c];
            result.insert(result.end(), cell.begin(), cell.end());
        }
    std::sort(result.begin(), result.end());
    result.erase(std::unique(result.begin(), result.end()), result.end());
    return result;
}

void DisplayList::replay(QPainter& painter, const QTransform& deviceToTarget) const
{
    if (m_items.empty())
        return;
    const QTransform base = painter.worldTransform();
    const QTransform deviceToPainter = deviceToTarget * base;

    // What can show: the paint device's pixels, narrowed by the painter's clip.
    QRectF pixels = QRectF(painter.viewport());
    if (QPaintDevice* device = painter.device())
        pixels = QRectF(0, 0, device->width(), device->height());
    bool pixelsInvertible = false;
    const QTransform pixelsToDevice =
        (deviceToTarget * painter.combinedTransform()).inverted(&pixelsInvertible);
    if (!pixelsInvertible)
        return;
    QRectF visibleDevice = pixelsToDevice.mapRect(pixels);
    if (painter.hasClipping()) {
        bool targetInvertible = false;
        const QTransform targetToDevice = deviceToTarget.inverted(&targetInvertible);
        if (targetInvertible)
            visibleDevice =
                visibleDevice.intersected(targetToDevice.mapRect(painter.clipBoundingRect()));
    }
    visibleDevice.adjust(-1, -1, 1, 1);
    if (visibleDevice.isEmpty())
        return;

    const bool rasterDevice =
        painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster;
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    std::int32_t currentClip = -1;
    bool clipSaved = false;
    for (const std::uint32_t index : visibleItems(visibleDevice)) {
        const DisplayItem& item = m_items[index];
        if (!item.bounds.intersects(visibleDevice))
            continue;
        if (item.clip != currentClip) {
            if (clipSaved)
                painter.restore();
            clipSaved = false;
            currentClip = item.clip;
            if (const ClipShape* shape = clip(currentClip)) {
                painter.save();
                clipSaved = true;
                painter.setWorldTransform(deviceToPainter);
                if (shape->isRect)
                    painter.setClipRect(shape->rect, Qt::IntersectClip);
                else
                    painter.setClipPath(shape->path, Qt::IntersectClip);
            }
        }
        drawItem(painter, item, deviceToPainter, rasterDevice);
    }
    if (clipSaved)
        painter.restore();
    painter.restore();
}

void DisplayList::drawItem(QPainter& painter, const DisplayItem& item,
                           const QTransform& deviceToPainter, bool rasterDevice) const
{
    const QTransform world = m_transforms[item.transform] * deviceToPainter;
    painter.setWorldTransform(world);
    painter.setCompositionMode(item.blend == BlendMode::Raster && rasterDevice
                                   ? item.rasterOp
                                   : QPainter::CompositionMode_SourceOver);
    switch (item.kind) {
    case DisplayItem::Kind::Path:
    case DisplayItem::Kind::Polygon:
    case DisplayItem::Kind::Polyline: {
        QBrush brush = item.brush;
        if (item.devicePattern) {
            bool ok = false;
            const QTransform inverse = world.inverted(&ok);
            if (ok)
                brush.setTransform(inverse);
        }
        painter.setPen(item.pen);
        painter.setBrush(brush);
        if (item.kind == DisplayItem::Kind::Path)
            painter.drawPath(item.path);
        else if (item.kind == DisplayItem::Kind::Polygon)
            painter.drawPolygon(item.polygon, item.fillRule);
        else
            painter.drawPolyline(item.polygon);
        break;
    }
    case DisplayItem::Kind::Text: {
        const TextRun& run = *item.text;
        if (!run.background.isEmpty())
            painter.fillRect(run.background, run.backgroundColor);
        painter.setFont(run.font);
        painter.setPen(run.color);
        painter.setBrush(Qt::NoBrush);
        if (run.positions.size() == 1 || run.positions.size() != std::size_t(run.text.size())) {
            if (!run.positions.empty())
                painter.drawText(run.positions.front(), run.text);
        } else {
            for (qsizetype i = 0; i < run.text.size(); ++i)
                painter.drawText(run.positions[std::size_t(i)], QString(run.text.at(i)));
        }
        break;
    }
    case DisplayItem::Kind::Image:
        painter.drawImage(item.image->target, item.image->image, item.image->source);
        break;
    }
}

std::size_t DisplayList::memoryBytes() const
{
    std::size_t bytes = sizeof(*this) + m_items.capacity() * sizeof(DisplayItem) +
                        m_transforms.capacity() * sizeof(QTransform) +
                        m_clips.capacity() * sizeof(ClipShape) +
                        m_wideItems.capacity() * sizeof(std::uint32_t);
    for (const auto& cell : m_cells)
        bytes += sizeof(cell) + cell.capacity() * sizeof(std::uint32_t);
    for (const ClipShape& shape : m_clips)
        bytes += pathBytes(shape.path);
    for (const DisplayItem& item : m_items) {
        bytes += pathBytes(item.path) + std::size_t(item.polygon.capacity()) * sizeof(QPointF);
        if (item.text)
            bytes += sizeof(TextRun) + std::size_t(item.text->text.capacity()) * 2 +
                     item.text->positions.capacity() * sizeof(QPointF);
        if (item.image)
            bytes += sizeof(ImageRun) + std::size_t(item.image->image.sizeInBytes());
    }
    return bytes;
}

QString DisplayList::dump() const
{
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(m_items.size()));
    for (const DisplayItem& item : m_items) {
        QString line;
        switch (item.kind) {
        case DisplayItem::Kind::Path:
            line = QStringLiteral("path n=%1 %2 %3")
                       .arg(item.path.elementCount())
                       .arg(penText(item.pen), brushText(item.brush));
            break;
        case DisplayItem::Kind::Polygon:
            line = QStringLiteral("polygon n=%1 %2 %3")
                       .arg(item.polygon.size())
                       .arg(penText(item.pen), brushText(item.brush));
            break;
        case DisplayItem::Kind::Polyline:
            line =
                QStringLiteral("polyline n=%1 %2").arg(item.polygon.size()).arg(penText(item.pen));
            break;
        case DisplayItem::Kind::Text:
            line = QStringLiteral("text \"%1\" font=\"%2\" px=%3 color=%4")
                       .arg(item.text->text, item.text->font.family())
                       .arg(item.text->font.pixelSize())
                       .arg(colorName(item.text->color));
            if (!item.text->background.isEmpty())
                line += QStringLiteral(" bk=%1").arg(colorName(item.text->backgroundColor));
            break;
        case DisplayItem::Kind::Image:
            line = QStringLiteral("image %1x%2")
                       .arg(item.image->image.width())
                       .arg(item.image->image.height());
            break;
        }
        line += QStringLiteral(" bounds=") + rectText(item.bounds);
        if (const ClipShape* shape = clip(item.clip))
            line += QStringLiteral(" clip=") + rectText(shape->bounds());
        if (item.blend == BlendMode::Raster)
            line += QStringLiteral(" rop=%1").arg(static_cast<int>(item.rasterOp));
        lines.append(line);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace vembra::metafile
