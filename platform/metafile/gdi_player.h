// The emulated GDI device context shared by the EMF and WMF readers: it keeps the drawing state
// (objects, mapping, paths, clipping) and turns drawing calls into display items.
#pragma once

#include "platform/metafile/display_list.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <vector>

namespace vembra::metafile {

// GDI constants the readers and the context share.
namespace gdi {
constexpr int psSolid = 0, psDash = 1, psDot = 2, psDashDot = 3, psDashDotDot = 4, psNull = 5,
              psInsideFrame = 6, psUserStyle = 7, psAlternate = 8;
constexpr int bsSolid = 0, bsNull = 1, bsHatched = 2, bsPattern = 3, bsDibPattern = 5,
              bsDibPatternPt = 6;
constexpr int transparent = 1, opaque = 2;
constexpr int mmText = 1, mmLoMetric = 2, mmHiMetric = 3, mmLoEnglish = 4, mmHiEnglish = 5,
              mmTwips = 6, mmIsotropic = 7, mmAnisotropic = 8;
constexpr int rgnAnd = 1, rgnOr = 2, rgnXor = 3, rgnDiff = 4, rgnCopy = 5;
constexpr std::uint32_t taUpdateCp = 1, taRight = 2, taCenter = 6, taBottom = 8, taBaseline = 24;
constexpr std::uint32_t etoOpaque = 2, etoClipped = 4;
constexpr int r2Black = 1, r2Nop = 11, r2CopyPen = 13, r2White = 16;
constexpr std::size_t maxSaveDepth = 10000;
constexpr std::size_t maxObjects = 65536;
constexpr std::size_t maxPathElements = 4 * 1024 * 1024;
} // namespace gdi

// A pen as the metafile defines it (width in logical units).
struct PenSpec {
    int style = gdi::psSolid;
    bool extended = false;  // made by EXTCREATEPEN
    bool geometric = false; // PS_GEOMETRIC (EXTCREATEPEN)
    double width = 0;
    QColor color = Qt::black;
    int cap = 0;  // 0 round, 1 square, 2 flat
    int join = 0; // 0 round, 1 bevel, 2 miter
    std::vector<double> userDashes;
};

// A brush as the metafile defines it.
struct BrushSpec {
    int style = gdi::bsSolid;
    QColor color = Qt::white;
    int hatch = 0;
    QImage pattern;
};

// A logical font as the metafile defines it.
struct FontSpec {
    int height = 0;
    int width = 0;
    int escapement = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 0;
    int pitchAndFamily = 0;
    QString face;
};

// One slot of the object table.
struct GdiObject {
    enum class Kind { Empty, Pen, Brush, Font, Palette, Region };
    Kind kind = Kind::Empty;
    PenSpec pen;
    BrushSpec brush;
    FontSpec font;
    ClipShape region; // logical coordinates
};

// The device context; SaveDC pushes a copy of it.
struct DeviceContext {
    PenSpec pen;
    BrushSpec brush;
    FontSpec font;
    QColor textColor = Qt::black;
    QColor bkColor = Qt::white;
    int bkMode = gdi::opaque;
    std::uint32_t textAlign = 0;
    int rop2 = gdi::r2CopyPen;
    int polyFillMode = 1;
    int mapMode = gdi::mmText;
    QPointF windowOrg{0, 0};
    QPointF windowExt{1, 1};
    QPointF viewportOrg{0, 0};
    QPointF viewportExt{1, 1};
    QTransform world;
    QPointF position;
    std::int32_t clip = -1;
    double miterLimit = 10;
    bool clockwise = false;
    bool inPath = false;
    QPainterPath path; // device space
};

// What the reader knows about the device the metafile was made for.
struct DeviceInfo {
    QRectF pictureRect; // the picture in device units
    double pixelsPerMmX = 96 / 25.4;
    double pixelsPerMmY = 96 / 25.4;
    bool wmf = false; // placeable WMF: the window always maps onto the viewport
};

// Kinds of elliptic arcs.
enum class ArcKind { Arc, ArcTo, Chord, Pie };

// The emulated device context and the drawing calls the readers make.
class GdiPlayer {
public:
    GdiPlayer(DisplayList& list, const DeviceInfo& device);

    DeviceContext& dc() { return m_dc; }
    const DeviceInfo& device() const { return m_device; }

    // Object table: EMF stores at explicit indexes, WMF in the lowest free slot.
    void storeObject(std::uint32_t index, GdiObject object);
    void storeObjectInFreeSlot(GdiObject object);
    void setObjectTableSize(std::size_t size);
    void selectObject(std::uint32_t index);
    void deleteObject(std::uint32_t index);
    const GdiObject* object(std::uint32_t index) const;
    void selectStockObject(std::uint32_t stock);

    void saveDc();
    void restoreDc(std::int32_t which);

    void setMapMode(int mode);
    void setWindowOrg(QPointF p) { m_dc.windowOrg = p; }
    void setWindowExt(QPointF e);
    void setViewportOrg(QPointF p) { m_dc.viewportOrg = p; }
    void setViewportExt(QPointF e);
    void scaleWindowExt(double xNum, double xDen, double yNum, double yDen);
    void scaleViewportExt(double xNum, double xDen, double yNum, double yDen);
    void setWorldTransform(const QTransform& t) { m_dc.world = t; }
    void modifyWorldTransform(const QTransform& t, int mode);
    // Logical coordinates to device coordinates under the current mapping.
    QTransform logicalToDevice() const;

    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void polyline(const QPolygonF& points);
    void polylineTo(const QPolygonF& points);
    void polygon(const QPolygonF& points);
    void polyPolygon(const std::vector<QPolygonF>& polygons);
    void polyPolyline(const std::vector<QPolygonF>& polylines);
    void polyBezier(const QPolygonF& points);
    void polyBezierTo(const QPolygonF& points);
    void polyDraw(const QPolygonF& points, const std::vector<std::uint8_t>& types);
    void rectangle(const QRectF& r);
    void roundRect(const QRectF& r, QSizeF corner);
    void ellipse(const QRectF& r);
    void arc(const QRectF& box, QPointF start, QPointF end, ArcKind kind);
    void angleArc(QPointF center, double radius, double startDeg, double sweepDeg);
    void setPixel(QPointF p, const QColor& color);
    void fillRect(const QRectF& r, const QBrush& brush); // logical rectangle, no pen
    void fillRegion(const ClipShape& deviceRegion, const BrushSpec& brush);

    void beginPath();
    void endPath() { m_dc.inPath = false; }
    void closeFigure();
    void abortPath();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();
    void flattenPath();
    void widenPath();
    void selectClipPath(int mode);

    void intersectClipRect(const QRectF& r);
    void excludeClipRect(const QRectF& r);
    void offsetClip(QPointF logicalOffset);
    // Combines a device-space region (or none, with RGN_COPY: no clipping) with the clip.
    void selectClipRegion(const ClipShape* deviceRegion, int mode);

    // Draws a string at a logical reference point; dx are logical advances (may be empty).
    // In the advanced graphics mode glyphs follow the whole world transform; in the compatible
    // mode only the reference point and the scale do, and glyphs stay upright.
    void text(QPointF reference, const QString& text, const std::vector<double>& dx,
              std::uint32_t options, const QRectF& rect, bool advanced = false);
    // Draws a bitmap stretched into a logical rectangle with a ternary raster operation.
    void image(const QRectF& dest, const QImage& image, const QRectF& source, std::uint32_t rop);
    // A pattern blit without source (PATCOPY, BLACKNESS, WHITENESS, DSTINVERT ...).
    void patBlt(const QRectF& dest, std::uint32_t rop);

    // Decodes single-byte text by the selected font's character set.
    QString decodeText(const QByteArray& bytes) const;

private:
    void emitShape(DisplayItem::Kind kind, QPainterPath path, QPolygonF polygon, bool stroke,
                   bool fill, const QTransform& xf);
    void emitPathItem(const QPainterPath& logicalPath, bool stroke, bool fill);
    void addToPath(const QPainterPath& logical);
    void ensurePathStart();
    bool applyRop(DisplayItem& item, QPen& pen, QBrush& brush) const;
    QPen makePen(const QTransform& xf, double* margin) const;
    QBrush makeBrush(const BrushSpec& style, bool* devicePattern) const;
    void setClip(ClipShape shape);
    ClipShape currentClipOrAll() const;

    DisplayList& m_list;
    DeviceInfo m_device;
    DeviceContext m_dc;
    std::vector<DeviceContext> m_saved;
    std::vector<GdiObject> m_objects;
    std::size_t m_objectTableSize = gdi::maxObjects;
    bool m_needMove = true; // the next path segment starts a new figure
};

// Family names for the faces maps use, with metric-compatible faces first.
QStringList fontFamiliesFor(const QString& face, int pitchAndFamily);

} // namespace vembra::metafile
