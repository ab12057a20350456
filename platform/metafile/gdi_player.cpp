#include "platform/metafile/gdi_player.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainterPathStroker>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vembra::metafile {

namespace {

constexpr double farAway = 1.0e7;
constexpr double maxPenWidth = 30000.0; // QPen refuses wider pens

bool isFinite(const QTransform& t)
{
    return std::isfinite(t.m11()) && std::isfinite(t.m12()) && std::isfinite(t.m21()) &&
           std::isfinite(t.m22()) && std::isfinite(t.dx()) && std::isfinite(t.dy());
}

QTransform linearPart(const QTransform& t)
{
    return QTransform(t.m11(), t.m12(), t.m21(), t.m22(), 0, 0);
}

bool axisAligned(const QTransform& t)
{
    return t.m12() == 0 && t.m21() == 0;
}

QPainter::CompositionMode rop2Mode(int rop2)
{
    switch (rop2) {
    case 2:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case 3:
        return QPainter::RasterOp_NotSourceAndDestination;
    case 4:
        return QPainter::RasterOp_NotSource;
    case 5:
        return QPainter::RasterOp_SourceAndNotDestination;
    case 6:
        return QPainter::RasterOp_NotDestination;
    case 7:
        return QPainter::RasterOp_SourceXorDestination;
    case 8:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case 9:
        return QPainter::RasterOp_SourceAndDestination;
    case 10:
        return QPainter::RasterOp_NotSourceXorDestination;
    case 12:
        return QPainter::RasterOp_NotSourceOrDestination;
    case 14:
        return QPainter::RasterOp_SourceOrNotDestination;
    case 15:
        return QPainter::RasterOp_SourceOrDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

// Ternary raster operations with a source bitmap, as far as Qt has them.
bool rop3Mode(std::uint32_t rop, QPainter::CompositionMode* mode)
{
    switch (rop) {
    case 0x00EE0086: // SRCPAINT
        *mode = QPainter::RasterOp_SourceOrDestination;
        return true;
    case 0x008800C6: // SRCAND
        *mode = QPainter::RasterOp_SourceAndDestination;
        return true;
    case 0x00660046: // SRCINVERT
        *mode = QPainter::RasterOp_SourceXorDestination;
        return true;
    case 0x00330008: // NOTSRCCOPY
        *mode = QPainter::RasterOp_NotSource;
        return true;
    case 0x00440328: // SRCERASE
        *mode = QPainter::RasterOp_SourceAndNotDestination;
        return true;
    case 0x001100A6: // NOTSRCERASE
        *mode = QPainter::RasterOp_NotSourceAndNotDestination;
        return true;
    case 0x00BB0226: // MERGEPAINT
        *mode = QPainter::RasterOp_NotSourceOrDestination;
        return true;
    default:
        return false;
    }
}

QImage hatchImage(int hatch, const QColor& color, const QColor& background)
{
    QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    const QRgb ink = color.rgba();
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            bool on = false;
            switch (hatch) {
            case 0: // HS_HORIZONTAL
                on = y == 7;
                break;
            case 1: // HS_VERTICAL
                on = x == 7;
                break;
            case 2: // HS_FDIAGONAL
                on = x == y;
                break;
            case 3: // HS_BDIAGONAL
                on = x + y == 7;
                break;
            case 4: // HS_CROSS
                on = x == 7 || y == 7;
                break;
            default: // HS_DIAGCROSS
                on = x == y || x + y == 7;
                break;
            }
            if (on)
                image.setPixel(x, y, ink);
        }
    }
    return image;
}

const char* codecForCharset(int charset)
{
    switch (charset) {
    case 128:
        return "Shift_JIS";
    case 129:
        return "EUC-KR";
    case 134:
        return "GBK";
    case 136:
        return "Big5";
    case 161:
        return "windows-1253";
    case 162:
        return "windows-1254";
    case 163:
        return "windows-1258";
    case 177:
        return "windows-1255";
    case 178:
        return "windows-1256";
    case 186:
        return "windows-1257";
    case 204:
        return "windows-1251";
    case 222:
        return "windows-874";
    case 238:
        return "windows-1250";
    case 255:
        return "IBM437";
    default:
        return "windows-1252";
    }
}

QPolygonF rectPolygon(const QRectF& r)
{
    return QPolygonF({r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()});
}

// The parameter angle (degrees, Qt's counterclockwise sense) of the ray from the centre of an
// ellipse through p.
double rayAngle(const QRectF& box, QPointF p)
{
    const QPointF c = box.center();
    const double rx = box.width() / 2;
    const double ry = box.height() / 2;
    if (rx == 0 || ry == 0)
        return 0;
    return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx) * 180.0 / std::numbers::pi;
}

} // namespace

QStringList fontFamiliesFor(const QString& face, int pitchAndFamily)
{
    const QString key = face.trimmed().toLower();
    static const char* const sans[] = {
        "arial",          "helvetica", "ms sans serif", "microsoft sans serif", "ms shell dlg",
        "ms shell dlg 2", "tahoma",    "system",        "arial unicode ms"};
    static const char* const serif[] = {"times new roman", "times", "ms serif", "tms rmn"};
    static const char* const mono[] = {"courier new", "courier", "fixedsys", "terminal",
                                       "lucida console"};
    const auto in = [&key](const auto& names) {
        return std::any_of(std::begin(names), std::end(names),
                           [&key](const char* n) { return key == QLatin1String(n); });
    };
    QStringList families;
    if (in(sans))
        families << QStringLiteral("Liberation Sans");
    else if (in(serif))
        families << QStringLiteral("Liberation Serif");
    else if (in(mono))
        families << QStringLiteral("Liberation Mono");
    if (!key.isEmpty())
        families << face.trimmed();
    if (families.isEmpty()) {
        const int family = pitchAndFamily & 0xF0;
        if ((pitchAndFamily & 0x03) == 1 || family == 0x30)
            families << QStringLiteral("Liberation Mono");
        else if (family == 0x10)
            families << QStringLiteral("Liberation Serif");
        else
            families << QStringLiteral("Liberation Sans");
    }
    return families;
}

GdiPlayer::GdiPlayer(DisplayList& list, const DeviceInfo& device) : m_list(list), m_device(device)
{
    selectStockObject(13); // SYSTEM_FONT
    if (device.wmf) {
        m_dc.windowOrg = m_dc.viewportOrg = device.pictureRect.topLeft();
        const QPointF size(device.pictureRect.width(), device.pictureRect.height());
        m_dc.windowExt = m_dc.viewportExt = size;
    }
}

// ---- objects -------------------------------------------------------------------------------

void GdiPlayer::setObjectTableSize(std::size_t size)
{
    m_objectTableSize = std::min(size, gdi::maxObjects);
}

void GdiPlayer::storeObject(std::uint32_t index, GdiObject object)
{
    if (index == 0 || index >= m_objectTableSize)
        return;
    if (index >= m_objects.size())
        m_objects.resize(index + 1);
    m_objects[index] = std::move(object);
}

void GdiPlayer::storeObjectInFreeSlot(GdiObject object)
{
    for (std::size_t i = 0; i < m_objectTableSize; ++i) {
        if (i >= m_objects.size())
            m_objects.resize(i + 1);
        if (m_objects[i].kind == GdiObject::Kind::Empty) {
            m_objects[i] = std::move(object);
            return;
        }
    }
}

const GdiObject* GdiPlayer::object(std::uint32_t index) const
{
    if (index >= m_objects.size() || m_objects[index].kind == GdiObject::Kind::Empty)
        return nullptr;
    return &m_objects[index];
}

void GdiPlayer::selectObject(std::uint32_t index)
{
    if (!m_device.wmf && (index & 0x80000000u)) {
        selectStockObject(index & 0x7FFFFFFFu);
        return;
    }
    const GdiObject* obj = object(index);
    if (!obj)
        return;
    switch (obj->kind) {
    case GdiObject::Kind::Pen:
        m_dc.pen = obj->pen;
        break;
    case GdiObject::Kind::Brush:
        m_dc.brush = obj->brush;
        break;
    case GdiObject::Kind::Font:
        m_dc.font = obj->font;
        break;
    case GdiObject::Kind::Region: {
        const QTransform xf = logicalToDevice();
        ClipShape shape;
        shape.isRect = obj->region.isRect && axisAligned(xf);
        shape.rect = xf.mapRect(obj->region.rect);
        shape.path = xf.map(obj->region.isRect ? [&] {
            QPainterPath p;
            p.addRect(obj->region.rect);
            return p;
        }()
                                                : obj->region.path);
        selectClipRegion(&shape, gdi::rgnCopy);
        break;
    }
    default:
        break;
    }
}

void GdiPlayer::deleteObject(std::uint32_t index)
{
    if (index < m_objects.size())
        m_objects[index] = GdiObject();
}

void GdiPlayer::selectStockObject(std::uint32_t stock)
{
    static const int grays[] = {255, 192, 128, 64, 0};
    if (stock <= 4) {
        m_dc.brush =
            BrushSpec{gdi::bsSolid, QColor(grays[stock], grays[stock], grays[stock]), 0, {}};
    } else if (stock == 5) {
        m_dc.brush = BrushSpec{gdi::bsNull, Qt::white, 0, {}};
    } else if (stock == 6 || stock == 7) {
        m_dc.pen = PenSpec();
        m_dc.pen.color = stock == 6 ? Qt::white : Qt::black;
    } else if (stock == 8) {
        m_dc.pen = PenSpec();
        m_dc.pen.style = gdi::psNull;
    } else if (stock >= 10 && stock <= 17 && stock != 15) {
        FontSpec font;
        font.height = 12;
        const bool fixed = stock == 10 || stock == 11 || stock == 16;
        font.face = fixed ? QStringLiteral("Courier New") : QStringLiteral("Arial");
        m_dc.font = font;
    } else if (stock == 18) {
        m_dc.brush = BrushSpec{gdi::bsSolid, Qt::white, 0, {}};
    } else if (stock == 19) {
        m_dc.pen = PenSpec();
    }
}

// ---- state ---------------------------------------------------------------------------------

void GdiPlayer::saveDc()
{
    if (m_saved.size() < gdi::maxSaveDepth)
        m_saved.push_back(m_dc);
}

void GdiPlayer::restoreDc(std::int32_t which)
{
    std::size_t keep = 0;
    if (which < 0) {
        const std::size_t back = static_cast<std::size_t>(-static_cast<std::int64_t>(which));
        if (back > m_saved.size())
            return;
        keep = m_saved.size() - back;
    } else if (which > 0) {
        if (static_cast<std::size_t>(which) > m_saved.size())
            return;
        keep = static_cast<std::size_t>(which) - 1;
    } else {
        return;
    }
    m_dc = m_saved[keep];
    m_saved.resize(keep);
}

void GdiPlayer::setMapMode(int mode)
{
    if (mode >= gdi::mmText && mode <= gdi::mmAnisotropic)
        m_dc.mapMode = mode;
}

void GdiPlayer::setWindowExt(QPointF e)
{
    if (e.x() != 0 && e.y() != 0 && std::isfinite(e.x()) && std::isfinite(e.y()))
        m_dc.windowExt = e;
}

void GdiPlayer::setViewportExt(QPointF e)
{
    if (e.x() != 0 && e.y() != 0 && std::isfinite(e.x()) && std::isfinite(e.y()))
        m_dc.viewportExt = e;
}

void GdiPlayer::scaleWindowExt(double xNum, double xDen, double yNum, double yDen)
{
    if (xDen != 0 && yDen != 0)
        setWindowExt(QPointF(m_dc.windowExt.x() * xNum / xDen, m_dc.windowExt.y() * yNum / yDen));
}

void GdiPlayer::scaleViewportExt(double xNum, double xDen, double yNum, double yDen)
{
    if (xDen != 0 && yDen != 0)
        setViewportExt(
            QPointF(m_dc.viewportExt.x() * xNum / xDen, m_dc.viewportExt.y() * yNum / yDen));
}

void GdiPlayer::modifyWorldTransform(const QTransform& t, int mode)
{
    if (mode == 1) {
        m_dc.world = QTransform();
        return;
    }
    if (!isFinite(t))
        return;
    if (mode == 2)
        m_dc.world = t * m_dc.world;
    else if (mode == 3)
        m_dc.world = m_dc.world * t;
    else if (mode == 4)
        m_dc.world = t;
}

QTransform GdiPlayer::logicalToDevice() const
{
    int mode = m_dc.mapMode;
    if (m_device.wmf)
        mode = mode == gdi::mmIsotropic ? gdi::mmIsotropic : gdi::mmAnisotropic;
    double sx = 1;
    double sy = 1;
    const auto metric = [&](double mmPerUnit) {
        sx = m_device.pixelsPerMmX * mmPerUnit;
        sy = -m_device.pixelsPerMmY * mmPerUnit;
    };
    switch (mode) {
    case gdi::mmLoMetric:
        metric(0.1);
        break;
    case gdi::mmHiMetric:
        metric(0.01);
        break;
    case gdi::mmLoEnglish:
        metric(0.254);
        break;
    case gdi::mmHiEnglish:
        metric(0.0254);
        break;
    case gdi::mmTwips:
        metric(25.4 / 1440);
        break;
    case gdi::mmIsotropic:
    case gdi::mmAnisotropic:
        sx = m_dc.viewportExt.x() / m_dc.windowExt.x();
        sy = m_dc.viewportExt.y() / m_dc.windowExt.y();
        if (mode == gdi::mmIsotropic) {
            const double s = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(s, sx);
            sy = std::copysign(s, sy);
        }
        break;
    default:
        break;
    }
    const QTransform page(sx, 0, 0, sy, m_dc.viewportOrg.x() - m_dc.windowOrg.x() * sx,
                          m_dc.viewportOrg.y() - m_dc.windowOrg.y() * sy);
    return m_dc.world * page;
}

// ---- pens, brushes, raster operations ------------------------------------------------------

QPen GdiPlayer::makePen(const QTransform& xf, double* margin) const
{
    const PenSpec& logical = m_dc.pen;
    *margin = 0;
    if (logical.style == gdi::psNull)
        return QPen(Qt::NoPen);
    const double scale = std::sqrt(std::abs(xf.determinant()));
    QPen pen(logical.color);
    const double deviceWidth = logical.width * scale;
    const bool cosmetic = logical.extended ? !logical.geometric : logical.width <= 0;
    const bool styled =
        logical.style >= gdi::psDash && logical.style != gdi::psInsideFrame && logical.style != gdi::psNull;
    if (cosmetic || (!logical.extended && styled && deviceWidth <= 1.0)) {
        pen.setCosmetic(true);
        pen.setWidthF(1.0);
        *margin = 1;
    } else {
        pen.setWidthF(std::min(logical.width, maxPenWidth));
        *margin = deviceWidth / 2;
    }
    if (logical.extended) {
        static const Qt::PenCapStyle caps[] = {Qt::RoundCap, Qt::SquareCap, Qt::FlatCap};
        static const Qt::PenJoinStyle joins[] = {Qt::RoundJoin, Qt::BevelJoin, Qt::MiterJoin};
        pen.setCapStyle(caps[std::clamp(logical.cap, 0, 2)]);
        pen.setJoinStyle(joins[std::clamp(logical.join, 0, 2)]);
        pen.setMiterLimit(std::max(1.0, m_dc.miterLimit / 2));
        if (pen.joinStyle() == Qt::MiterJoin)
            *margin *= std::max(1.0, m_dc.miterLimit / 2);
        else if (pen.capStyle() == Qt::SquareCap)
            *margin *= 1.5;
    } else if (!pen.isCosmetic()) {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    *margin += 1;

    // Dashes: CreatePen styles wider than one pixel are drawn solid.
    if (!styled || (!logical.extended && !pen.isCosmetic()))
        return pen;
    QList<qreal> dashes;
    const bool inPixels = pen.isCosmetic();
    switch (logical.style) {
    case gdi::psDash:
        dashes = inPixels ? QList<qreal>{18, 6} : QList<qreal>{3, 1};
        break;
    case gdi::psDot:
        dashes = inPixels ? QList<qreal>{3, 3} : QList<qreal>{1, 1};
        break;
    case gdi::psDashDot:
        dashes = inPixels ? QList<qreal>{9, 6, 3, 6} : QList<qreal>{3, 1, 1, 1};
        break;
    case gdi::psDashDotDot:
        dashes = inPixels ? QList<qreal>{9, 3, 3, 3, 3, 3} : QList<qreal>{3, 1, 1, 1, 1, 1};
        break;
    case gdi::psAlternate:
        dashes = {1, 1};
        break;
    case gdi::psUserStyle: {
        const double unit = inPixels || logical.width <= 0 ? 1.0 : logical.width;
        for (const double entry : logical.userDashes)
            dashes.append(std::max(entry / unit, 0.01));
        if (dashes.size() % 2 == 1)
            dashes += QList<qreal>(dashes);
        break;
    }
    default:
        break;
    }
    if (dashes.size() >= 2) {
        if (inPixels || logical.cap == 2)
            pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern(dashes);
    }
    return pen;
}

QBrush GdiPlayer::makeBrush(const BrushSpec& style, bool* devicePattern) const
{
    *devicePattern = false;
    switch (style.style) {
    case gdi::bsNull:
        return QBrush(Qt::NoBrush);
    case gdi::bsHatched: {
        *devicePattern = true;
        const QColor bk = m_dc.bkMode == gdi::opaque ? m_dc.bkColor : QColor(Qt::transparent);
        return QBrush(hatchImage(style.hatch, style.color, bk));
    }
    case gdi::bsPattern:
    case gdi::bsDibPattern:
    case gdi::bsDibPatternPt:
        if (!style.pattern.isNull()) {
            *devicePattern = true;
            return QBrush(style.pattern);
        }
        return QBrush(Qt::gray);
    default:
        return QBrush(style.color);
    }
}

bool GdiPlayer::applyRop(DisplayItem& item, QPen& pen, QBrush& brush) const
{
    switch (m_dc.rop2) {
    case gdi::r2Nop:
        return false;
    case gdi::r2Black:
    case gdi::r2White: {
        const QColor color = m_dc.rop2 == gdi::r2Black ? Qt::black : Qt::white;
        pen.setColor(color);
        if (brush.style() != Qt::NoBrush)
            brush = QBrush(color);
        item.devicePattern = false;
        return true;
    }
    case gdi::r2CopyPen:
        return true;
    default:
        item.blend = BlendMode::Raster;
        item.rasterOp = rop2Mode(m_dc.rop2);
        return true;
    }
}

// ---- emitting items ------------------------------------------------------------------------

void GdiPlayer::emitShape(DisplayItem::Kind kind, QPainterPath path, QPolygonF polygon, bool stroke,
                          bool fill, const QTransform& xf)
{
    if (!isFinite(xf))
        return;
    DisplayItem item;
    item.kind = kind;
    double margin = 0;
    QPen pen = stroke ? makePen(xf, &margin) : QPen(Qt::NoPen);
    bool devicePattern = false;
    QBrush brush = fill ? makeBrush(m_dc.brush, &devicePattern) : QBrush(Qt::NoBrush);
    if (pen.style() == Qt::NoPen && brush.style() == Qt::NoBrush)
        return;
    item.devicePattern = devicePattern;
    if (!applyRop(item, pen, brush))
        return;
    item.fillRule = m_dc.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill;
    path.setFillRule(item.fillRule);
    const QRectF local =
        kind == DisplayItem::Kind::Path ? path.boundingRect() : polygon.boundingRect();
    item.bounds = xf.mapRect(local).adjusted(-margin, -margin, margin, margin);
    item.transform = m_list.addTransform(xf);
    item.clip = m_dc.clip;
    item.path = std::move(path);
    item.polygon = std::move(polygon);
    item.brush = brush;
    // Gaps of styled cosmetic lines show the background colour in opaque mode.
    if (pen.style() == Qt::CustomDashLine && pen.isCosmetic() && m_dc.bkMode == gdi::opaque &&
        item.blend == BlendMode::Normal) {
        DisplayItem under = item;
        QPen solid = pen;
        solid.setStyle(Qt::SolidLine);
        solid.setColor(m_dc.bkColor);
        under.pen = solid;
        under.brush = QBrush(Qt::NoBrush);
        m_list.append(std::move(under));
    }
    item.pen = pen;
    m_list.append(std::move(item));
}

void GdiPlayer::emitPathItem(const QPainterPath& devicePath, bool stroke, bool fill)
{
    const QTransform xf = logicalToDevice();
    bool invertible = false;
    const QTransform inverse = xf.inverted(&invertible);
    if (invertible && isFinite(inverse))
        emitShape(DisplayItem::Kind::Path, inverse.map(devicePath), {}, stroke, fill, xf);
    else
        emitShape(DisplayItem::Kind::Path, devicePath, {}, stroke, fill, QTransform());
}

void GdiPlayer::addToPath(const QPainterPath& logical)
{
    if (m_dc.path.elementCount() + logical.elementCount() >
        static_cast<int>(gdi::maxPathElements)) {
        abortPath();
        return;
    }
    m_dc.path.addPath(logicalToDevice().map(logical));
}

void GdiPlayer::ensurePathStart()
{
    if (m_dc.path.elementCount() == 0 || m_needMove) {
        m_dc.path.moveTo(logicalToDevice().map(m_dc.position));
        m_needMove = false;
    }
}

// ---- lines and shapes ----------------------------------------------------------------------

void GdiPlayer::moveTo(QPointF p)
{
    m_dc.position = p;
    if (m_dc.inPath) {
        m_dc.path.moveTo(logicalToDevice().map(p));
        m_needMove = false;
    }
}

void GdiPlayer::lineTo(QPointF p)
{
    if (m_dc.inPath) {
        ensurePathStart();
        if (m_dc.path.elementCount() < static_cast<int>(gdi::maxPathElements))
            m_dc.path.lineTo(logicalToDevice().map(p));
    } else {
        emitShape(DisplayItem::Kind::Polyline, {}, QPolygonF({m_dc.position, p}), true, false,
                  logicalToDevice());
    }
    m_dc.position = p;
}

void GdiPlayer::polyline(const QPolygonF& points)
{
    if (points.size() < 2)
        return;
    if (m_dc.inPath) {
        QPainterPath p;
        p.addPolygon(points);
        addToPath(p);
        m_needMove = true;
        return;
    }
    emitShape(DisplayItem::Kind::Polyline, {}, points, true, false, logicalToDevice());
}

void GdiPlayer::polylineTo(const QPolygonF& points)
{
    if (points.isEmpty())
        return;
    if (m_dc.inPath) {
        ensurePathStart();
        const QTransform xf = logicalToDevice();
        for (const QPointF& p : points)
            m_dc.path.lineTo(xf.map(p));
    } else {
        QPolygonF line;
        line.reserve(points.size() + 1);
        line << m_dc.position << points;
        emitShape(DisplayItem::Kind::Polyline, {}, line, true, false, logicalToDevice());
    }
    m_dc.position = points.back();
}

void GdiPlayer::polygon(const QPolygonF& points)
{
    if (points.size() < 2)
        return;
    if (m_dc.inPath) {
        QPainterPath p;
        p.addPolygon(points);
        p.closeSubpath();
        addToPath(p);
        m_needMove = true;
        return;
    }
    emitShape(DisplayItem::Kind::Polygon, {}, points, true, true, logicalToDevice());
}

void GdiPlayer::polyPolygon(const std::vector<QPolygonF>& polygons)
{
    QPainterPath p;
    for (const QPolygonF& poly : polygons) {
        if (poly.size() < 2)
            continue;
        p.addPolygon(poly);
        p.closeSubpath();
    }
    if (p.isEmpty())
        return;
    if (m_dc.inPath) {
        addToPath(p);
        m_needMove = true;
        return;
    }
    emitShape(DisplayItem::Kind::Path, p, {}, true, true, logicalToDevice());
}

void GdiPlayer::polyPolyline(const std::vector<QPolygonF>& polylines)
{
    QPainterPath p;
    for (const QPolygonF& poly : polylines)
        if (poly.size() >= 2)
            p.addPolygon(poly);
    if (p.isEmpty())
        return;
    if (m_dc.inPath) {
        addToPath(p);
        m_needMove = true;
        return;
    }
    emitShape(DisplayItem::Kind::Path, p, {}, true, false, logicalToDevice());
}

void GdiPlayer::polyBezier(const QPolygonF& points)
{
    if (points.size() < 4)
        return;
    QPainterPath p(points.front());
    for (qsizetype i = 1; i + 2 < points.size(); i += 3)
        p.cubicTo(points[i], points[i + 1], points[i + 2]);
    if (m_dc.inPath) {
        addToPath(p);
        m_needMove = true;
        return;
    }
    emitShape(DisplayItem::Kind::Path, p, {}, true, false, logicalToDevice());
}

void GdiPlayer::polyBezierTo(const QPolygonF& points)
{
    if (points.size() < 3)
        return;
    const qsizetype usable = points.size() - points.size() % 3;
    if (m_dc.inPath) {
        ensurePathStart();
        const QTransform xf = logicalToDevice();
        if (m_dc.path.elementCount() + usable > static_cast<qsizetype>(gdi::maxPathElements)) {
            abortPath();
            return;
        }
        for (qsizetype i = 0; i + 2 < usable; i += 3)
            m_dc.path.cubicTo(xf.map(points[i]), xf.map(points[i + 1]), xf.map(points[i + 2]));
    } else {
        QPainterPath p(m_dc.position);
        for (qsizetype i = 0; i + 2 < usable; i += 3)
            p.cubicTo(points[i], points[i + 1], points[i + 2]);
        emitShape(DisplayItem::Kind::Path, p, {}, true, false, logicalToDevice());
    }
    m_dc.position = points[usable - 1];
}

void GdiPlayer::polyDraw(const QPolygonF& points, const std::vector<std::uint8_t>& types)
{
    QPainterPath p(m_dc.position);
    QPointF figureStart = m_dc.position;
    const qsizetype count = std::min<qsizetype>(points.size(), qsizetype(types.size()));
    for (qsizetype i = 0; i < count; ++i) {
        const std::uint8_t type = types[std::size_t(i)] & 0x06;
        if (type == 0x06) { // PT_MOVETO
            p.moveTo(points[i]);
            figureStart = points[i];
        } else if (type == 0x02) { // PT_LINETO
            p.lineTo(points[i]);
        } else if (type == 0x04 && i + 2 < count) { // PT_BEZIERTO
            p.cubicTo(points[i], points[i + 1], points[i + 2]);
            i += 2;
        }
        if (types[std::size_t(std::min(i, count - 1))] & 0x01) { // PT_CLOSEFIGURE
            p.closeSubpath();
            p.moveTo(figureStart);
        }
    }
    if (count > 0)
        m_dc.position = points[count - 1];
    if (m_dc.inPath) {
        addToPath(p);
        m_needMove = true;
        return;
    }
    emitShape(DisplayItem::Kind::Path, p, {}, true, false, logicalToDevice());
}

void GdiPlayer::rectangle(const QRectF& r)
{
    const QRectF n = r.normalized();
    if (m_dc.inPath) {
        QPainterPath p;
        p.addRect(n);
        addToPath(p);
        m_needMove = true;
        return;
    }
    emitShape(DisplayItem::Kind::Polygon, {}, rectPolygon(n), true, true, logicalToDevice());
}

void GdiPlayer::roundRect(const QRectF& r, QSizeF corner)
{
    QPainterPath p;
    p.addRoundedRect(r.normalized(), std::abs(corner.width()) / 2, std::abs(corner.height()) / 2);
    if (m_dc.inPath) {
        addToPath(p);
        m_needMove = true;
        return;
    }
    emitShape(DisplayItem::Kind::Path, p, {}, true, true, logicalToDevice());
}

void GdiPlayer::ellipse(const QRectF& r)
{
    QPainterPath p;
    p.addEllipse(r.normalized());
    if (m_dc.inPath) {
        addToPath(p);
        m_needMove = true;
        return;
    }
    emitShape(DisplayItem::Kind::Path, p, {}, true, true, logicalToDevice());
}

void GdiPlayer::arc(const QRectF& boxIn, QPointF start, QPointF end, ArcKind kind)
{
    const QRectF box = boxIn.normalized();
    const double a0 = rayAngle(box, start);
    const double a1 = rayAngle(box, end);
    double sweep = a1 - a0;
    if (m_dc.clockwise) {
        if (sweep >= 0)
            sweep -= 360;
    } else if (sweep <= 0) {
        sweep += 360;
    }
    QPainterPath p;
    p.arcMoveTo(box, a0);
    const QPointF arcStart = p.currentPosition();
    if (kind == ArcKind::Pie) {
        p = QPainterPath(box.center());
        p.lineTo(arcStart);
    } else if (kind == ArcKind::ArcTo) {
        p = QPainterPath(m_dc.position);
        p.lineTo(arcStart);
    }
    p.arcTo(box, a0, sweep);
    const QPointF arcEnd = p.currentPosition();
    if (kind == ArcKind::Chord || kind == ArcKind::Pie)
        p.closeSubpath();
    if (kind == ArcKind::ArcTo)
        m_dc.position = arcEnd;
    if (m_dc.inPath) {
        if (kind == ArcKind::ArcTo) {
            ensurePathStart();
            m_dc.path.connectPath(logicalToDevice().map(p));
        } else {
            addToPath(p);
            m_needMove = true;
        }
        return;
    }
    const bool fill = kind == ArcKind::Chord || kind == ArcKind::Pie;
    emitShape(DisplayItem::Kind::Path, p, {}, true, fill, logicalToDevice());
}

void GdiPlayer::angleArc(QPointF center, double radius, double startDeg, double sweepDeg)
{
    if (!std::isfinite(radius) || !std::isfinite(startDeg) || !std::isfinite(sweepDeg))
        return;
    const QRectF box(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
    sweepDeg = std::clamp(sweepDeg, -3600.0, 3600.0);
    QPainterPath p(m_dc.position);
    QPainterPath probe;
    probe.arcMoveTo(box, startDeg);
    p.lineTo(probe.currentPosition());
    p.arcTo(box, startDeg, sweepDeg);
    m_dc.position = p.currentPosition();
    if (m_dc.inPath) {
        ensurePathStart();
        m_dc.path.connectPath(logicalToDevice().map(p));
        return;
    }
    emitShape(DisplayItem::Kind::Path, p, {}, true, false, logicalToDevice());
}

void GdiPlayer::setPixel(QPointF p, const QColor& color)
{
    const QPointF d = logicalToDevice().map(p);
    DisplayItem item;
    item.kind = DisplayItem::Kind::Polygon;
    item.polygon = rectPolygon(QRectF(std::floor(d.x()), std::floor(d.y()), 1, 1));
    item.brush = QBrush(color);
    item.bounds = item.polygon.boundingRect();
    item.transform = m_list.addTransform(QTransform());
    item.clip = m_dc.clip;
    m_list.append(std::move(item));
}

void GdiPlayer::fillRect(const QRectF& r, const QBrush& brush)
{
    const QTransform xf = logicalToDevice();
    if (!isFinite(xf) || brush.style() == Qt::NoBrush)
        return;
    DisplayItem item;
    item.kind = DisplayItem::Kind::Polygon;
    item.polygon = rectPolygon(r.normalized());
    item.brush = brush;
    item.bounds = xf.mapRect(r.normalized()).adjusted(-1, -1, 1, 1);
    item.transform = m_list.addTransform(xf);
    item.clip = m_dc.clip;
    m_list.append(std::move(item));
}

void GdiPlayer::fillRegion(const ClipShape& deviceRegion, const BrushSpec& style)
{
    DisplayItem item;
    item.kind = DisplayItem::Kind::Path;
    if (deviceRegion.isRect)
        item.path.addRect(deviceRegion.rect);
    else
        item.path = deviceRegion.path;
    bool devicePattern = false;
    item.brush = makeBrush(style, &devicePattern);
    item.devicePattern = devicePattern;
    if (item.brush.style() == Qt::NoBrush)
        return;
    item.bounds = item.path.boundingRect().adjusted(-1, -1, 1, 1);
    item.transform = m_list.addTransform(QTransform());
    item.clip = m_dc.clip;
    m_list.append(std::move(item));
}

// ---- paths ---------------------------------------------------------------------------------

void GdiPlayer::beginPath()
{
    m_dc.inPath = true;
    m_dc.path = QPainterPath();
    m_needMove = true;
}

void GdiPlayer::closeFigure()
{
    if (m_dc.inPath && m_dc.path.elementCount() > 0) {
        m_dc.path.closeSubpath();
        m_needMove = true;
    }
}

void GdiPlayer::abortPath()
{
    m_dc.inPath = false;
    m_dc.path = QPainterPath();
}

void GdiPlayer::fillPath()
{
    const QPainterPath p = m_dc.path;
    abortPath();
    if (!p.isEmpty())
        emitPathItem(p, false, true);
}

void GdiPlayer::strokePath()
{
    const QPainterPath p = m_dc.path;
    abortPath();
    if (!p.isEmpty())
        emitPathItem(p, true, false);
}

void GdiPlayer::strokeAndFillPath()
{
    const QPainterPath p = m_dc.path;
    abortPath();
    if (!p.isEmpty())
        emitPathItem(p, true, true);
}

void GdiPlayer::flattenPath()
{
    QPainterPath flat;
    for (const QPolygonF& poly : m_dc.path.toSubpathPolygons())
        flat.addPolygon(poly);
    m_dc.path = flat;
}

void GdiPlayer::widenPath()
{
    const QTransform xf = logicalToDevice();
    QPainterPathStroker stroker;
    stroker.setWidth(std::max(1.0, m_dc.pen.width * std::sqrt(std::abs(xf.determinant()))));
    m_dc.path = stroker.createStroke(m_dc.path);
}

void GdiPlayer::selectClipPath(int mode)
{
    ClipShape shape;
    shape.path = m_dc.path;
    shape.path.setFillRule(m_dc.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    abortPath();
    selectClipRegion(&shape, mode);
}

// ---- clipping ------------------------------------------------------------------------------

void GdiPlayer::setClip(ClipShape shape)
{
    m_dc.clip = m_list.addClip(std::move(shape));
}

ClipShape GdiPlayer::currentClipOrAll() const
{
    if (const ClipShape* current = m_list.clip(m_dc.clip))
        return *current;
    ClipShape all;
    all.isRect = true;
    all.rect = QRectF(-farAway, -farAway, 2 * farAway, 2 * farAway);
    return all;
}

void GdiPlayer::selectClipRegion(const ClipShape* region, int mode)
{
    if (mode == gdi::rgnCopy) {
        if (!region)
            m_dc.clip = -1;
        else
            setClip(*region);
        return;
    }
    if (!region)
        return;
    const bool unclipped = m_list.clip(m_dc.clip) == nullptr;
    if (unclipped && mode == gdi::rgnOr)
        return;
    const ClipShape current = currentClipOrAll();
    const auto asPath = [](const ClipShape& s) {
        if (!s.isRect)
            return s.path;
        QPainterPath p;
        p.addRect(s.rect);
        return p;
    };
    ClipShape result;
    switch (mode) {
    case gdi::rgnAnd:
        if (current.isRect && region->isRect) {
            result.isRect = true;
            result.rect = current.rect.intersected(region->rect);
        } else {
            result.path = asPath(current).intersected(asPath(*region));
        }
        break;
    case gdi::rgnOr:
        result.path = asPath(current).united(asPath(*region));
        break;
    case gdi::rgnXor: {
        const QPainterPath a = asPath(current);
        const QPainterPath b = asPath(*region);
        result.path = a.subtracted(b).united(b.subtracted(a));
        break;
    }
    case gdi::rgnDiff:
        result.path = asPath(current).subtracted(asPath(*region));
        break;
    default:
        return;
    }
    setClip(std::move(result));
}

void GdiPlayer::intersectClipRect(const QRectF& r)
{
    const QTransform xf = logicalToDevice();
    ClipShape shape;
    if (axisAligned(xf)) {
        shape.isRect = true;
        shape.rect = xf.mapRect(r.normalized());
    } else {
        shape.path.addPolygon(xf.map(rectPolygon(r.normalized())));
        shape.path.closeSubpath();
    }
    selectClipRegion(&shape, gdi::rgnAnd);
}

void GdiPlayer::excludeClipRect(const QRectF& r)
{
    const QTransform xf = logicalToDevice();
    ClipShape shape;
    shape.path.addPolygon(xf.map(rectPolygon(r.normalized())));
    shape.path.closeSubpath();
    selectClipRegion(&shape, gdi::rgnDiff);
}

void GdiPlayer::offsetClip(QPointF logicalOffset)
{
    const ClipShape* current = m_list.clip(m_dc.clip);
    if (!current)
        return;
    const QTransform xf = logicalToDevice();
    const QPointF d = xf.map(logicalOffset) - xf.map(QPointF(0, 0));
    ClipShape moved = *current;
    moved.rect.translate(d);
    moved.path.translate(d);
    setClip(std::move(moved));
}

// ---- text ----------------------------------------------------------------------------------

QString GdiPlayer::decodeText(const QByteArray& bytes) const
{
    QStringDecoder decoder(codecForCharset(m_dc.font.charset));
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

void GdiPlayer::text(QPointF reference, const QString& str, const std::vector<double>& dx,
                     std::uint32_t options, const QRectF& rect, bool advanced)
{
    const QTransform xf = logicalToDevice();
    if (!isFinite(xf))
        return;
    if ((options & gdi::etoOpaque) && rect.isValid() && !rect.isEmpty())
        fillRect(rect, QBrush(m_dc.bkColor));
    if (str.isEmpty() || m_dc.inPath || !QGuiApplication::instance())
        return;
    if (m_dc.textAlign & gdi::taUpdateCp)
        reference = m_dc.position;

    const FontSpec& style = m_dc.font;
    const double yScale = std::hypot(xf.m21(), xf.m22());
    double em = std::abs(static_cast<double>(style.height));
    if (style.height == 0)
        em = yScale > 0 ? 16.0 / yScale : 16.0;
    if (!(em > 0) || !std::isfinite(em))
        return;
    double k = 1;
    while (em * k < 64 && k < 1.0e6)
        k *= 2;
    while (em * k > 1024)
        k /= 2;
    QFont font;
    font.setFamilies(fontFamiliesFor(style.face, style.pitchAndFamily));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(em * k))));
    font.setWeight(
        static_cast<QFont::Weight>(style.weight <= 0 ? 400 : std::clamp(style.weight, 100, 900)));
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikeOut);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF metrics(font);
    // Local glyph units to logical units.
    double unit = em / font.pixelSize();
    if (style.height > 0 && metrics.height() > 0)
        unit = style.height / metrics.height();
    double stretch = 1;
    if (style.width != 0 && metrics.averageCharWidth() > 0)
        stretch =
            std::clamp(std::abs(style.width) / (metrics.averageCharWidth() * unit), 0.05, 20.0);

    auto run = std::make_shared<TextRun>();
    run->text = str;
    run->font = font;
    run->color = m_dc.textColor;
    double total = 0;
    const bool spaced = !dx.empty() && dx.size() >= std::size_t(str.size());
    std::vector<double> advances;
    if (spaced) {
        for (qsizetype i = 0; i < str.size(); ++i) {
            advances.push_back(total);
            total += dx[std::size_t(i)] / (unit * stretch);
        }
    } else {
        total = metrics.horizontalAdvance(str);
    }
    const std::uint32_t horizontal = m_dc.textAlign & gdi::taCenter;
    const std::uint32_t vertical = m_dc.textAlign & gdi::taBaseline;
    const double x0 = horizontal == gdi::taCenter  ? -total / 2
                      : horizontal == gdi::taRight ? -total
                                                   : 0;
    const double baseline = vertical == gdi::taBaseline ? 0
                            : vertical == gdi::taBottom ? -metrics.descent()
                                                        : metrics.ascent();
    if (spaced) {
        for (const double a : advances)
            run->positions.emplace_back(x0 + a, baseline);
    } else {
        run->positions.emplace_back(x0, baseline);
    }
    const QRectF cell(x0, baseline - metrics.ascent(), total, metrics.ascent() + metrics.descent());
    if (m_dc.bkMode == gdi::opaque) {
        run->background = cell;
        run->backgroundColor = m_dc.bkColor;
    }

    const QTransform linear =
        advanced ? linearPart(xf) : QTransform::fromScale(std::hypot(xf.m11(), xf.m12()), yScale);
    const QTransform flip = linear.determinant() < 0 ? QTransform::fromScale(1, -1) : QTransform();
    const QPointF origin = xf.map(reference);
    const QTransform toDevice = QTransform::fromScale(unit * stretch, unit) *
                                QTransform().rotate(-style.escapement / 10.0) * flip * linear *
                                QTransform::fromTranslate(origin.x(), origin.y());
    if (!isFinite(toDevice))
        return;

    DisplayItem item;
    item.kind = DisplayItem::Kind::Text;
    item.bounds = toDevice.mapRect(cell).adjusted(-2, -2, 2, 2);
    item.transform = m_list.addTransform(toDevice);
    item.clip = m_dc.clip;
    if ((options & gdi::etoClipped) && rect.isValid() && !rect.isEmpty()) {
        const std::int32_t saved = m_dc.clip;
        intersectClipRect(rect);
        item.clip = m_dc.clip;
        m_dc.clip = saved;
    }
    item.text = std::move(run);
    m_list.append(std::move(item));

    if (m_dc.textAlign & gdi::taUpdateCp) {
        const double advance = total * unit * stretch;
        if (horizontal == gdi::taRight)
            m_dc.position.rx() -= advance;
        else if (horizontal != gdi::taCenter)
            m_dc.position.rx() += advance;
    }
}

// ---- bitmaps -------------------------------------------------------------------------------

void GdiPlayer::image(const QRectF& dest, const QImage& img, const QRectF& source,
                      std::uint32_t rop)
{
    const QTransform xf = logicalToDevice();
    if (img.isNull() || !isFinite(xf) || dest.width() == 0 || dest.height() == 0)
        return;
    DisplayItem item;
    item.kind = DisplayItem::Kind::Image;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    if (rop3Mode(rop, &mode)) {
        item.blend = BlendMode::Raster;
        item.rasterOp = mode;
    }
    const QRectF target = dest.normalized();
    QTransform mirror;
    if (dest.width() < 0 || dest.height() < 0) {
        const QPointF c = target.center();
        mirror = QTransform::fromTranslate(-c.x(), -c.y()) *
                 QTransform::fromScale(dest.width() < 0 ? -1 : 1, dest.height() < 0 ? -1 : 1) *
                 QTransform::fromTranslate(c.x(), c.y());
    }
    auto run = std::make_shared<ImageRun>();
    run->image = img;
    run->target = target;
    run->source = source;
    item.image = std::move(run);
    item.bounds = xf.mapRect(target).adjusted(-1, -1, 1, 1);
    item.transform = m_list.addTransform(mirror * xf);
    item.clip = m_dc.clip;
    m_list.append(std::move(item));
}

void GdiPlayer::patBlt(const QRectF& dest, std::uint32_t rop)
{
    bool devicePattern = false;
    QBrush brush;
    switch (rop) {
    case 0x00000042: // BLACKNESS
        brush = QBrush(Qt::black);
        break;
    case 0x00FF0062: // WHITENESS
        brush = QBrush(Qt::white);
        break;
    case 0x00AA0029: // DSTCOPY: nothing
        return;
    default:
        brush = makeBrush(m_dc.brush, &devicePattern);
        break;
    }
    const QTransform xf = logicalToDevice();
    if (!isFinite(xf) || brush.style() == Qt::NoBrush)
        return;
    DisplayItem item;
    item.kind = DisplayItem::Kind::Polygon;
    item.polygon = rectPolygon(dest.normalized());
    item.brush = brush;
    item.devicePattern = devicePattern;
    if (rop == 0x005A0049) { // PATINVERT
        item.blend = BlendMode::Raster;
        item.rasterOp = QPainter::RasterOp_SourceXorDestination;
    } else if (rop == 0x00550009) { // DSTINVERT
        item.blend = BlendMode::Raster;
        item.rasterOp = QPainter::RasterOp_NotDestination;
    }
    item.bounds = xf.mapRect(dest.normalized()).adjusted(-1, -1, 1, 1);
    item.transform = m_list.addTransform(xf);
    item.clip = m_dc.clip;
    m_list.append(std::move(item));
}

} // namespace vembra::metafile
