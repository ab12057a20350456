// Enhanced metafile records: a table gives each record its name, minimum size and handler.
#include "platform/metafile/byte_reader.h"
#include "platform/metafile/dib.h"
#include "platform/metafile/record_readers.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

Q_LOGGING_CATEGORY(lcMetafile, "vembra.metafile", QtWarningMsg)

namespace vembra::metafile {

namespace {

enum class EmfRecord : std::uint32_t {
    Header = 1,
    PolyBezier = 2,
    Polygon = 3,
    Polyline = 4,
    PolyBezierTo = 5,
    PolylineTo = 6,
    PolyPolyline = 7,
    PolyPolygon = 8,
    SetWindowExtEx = 9,
    SetWindowOrgEx = 10,
    SetViewportExtEx = 11,
    SetViewportOrgEx = 12,
    SetBrushOrgEx = 13,
    Eof = 14,
    SetPixelV = 15,
    SetMapperFlags = 16,
    SetMapMode = 17,
    SetBkMode = 18,
    SetPolyFillMode = 19,
    SetRop2 = 20,
    SetStretchBltMode = 21,
    SetTextAlign = 22,
    SetColorAdjustment = 23,
    SetTextColor = 24,
    SetBkColor = 25,
    OffsetClipRgn = 26,
    MoveToEx = 27,
    SetMetaRgn = 28,
    ExcludeClipRect = 29,
    IntersectClipRect = 30,
    ScaleViewportExtEx = 31,
    ScaleWindowExtEx = 32,
    SaveDc = 33,
    RestoreDc = 34,
    SetWorldTransform = 35,
    ModifyWorldTransform = 36,
    SelectObject = 37,
    CreatePen = 38,
    CreateBrushIndirect = 39,
    DeleteObject = 40,
    AngleArc = 41,
    Ellipse = 42,
    Rectangle = 43,
    RoundRect = 44,
    Arc = 45,
    Chord = 46,
    Pie = 47,
    SelectPalette = 48,
    CreatePalette = 49,
    SetPaletteEntries = 50,
    ResizePalette = 51,
    RealizePalette = 52,
    ExtFloodFill = 53,
    LineTo = 54,
    ArcTo = 55,
    PolyDraw = 56,
    SetArcDirection = 57,
    SetMiterLimit = 58,
    BeginPath = 59,
    EndPath = 60,
    CloseFigure = 61,
    FillPath = 62,
    StrokeAndFillPath = 63,
    StrokePath = 64,
    FlattenPath = 65,
    WidenPath = 66,
    SelectClipPath = 67,
    AbortPath = 68,
    Comment = 70,
    FillRgn = 71,
    FrameRgn = 72,
    InvertRgn = 73,
    PaintRgn = 74,
    ExtSelectClipRgn = 75,
    BitBlt = 76,
    StretchBlt = 77,
    MaskBlt = 78,
    PlgBlt = 79,
    SetDiBitsToDevice = 80,
    StretchDiBits = 81,
    ExtCreateFontIndirectW = 82,
    ExtTextOutA = 83,
    ExtTextOutW = 84,
    PolyBezier16 = 85,
    Polygon16 = 86,
    Polyline16 = 87,
    PolyBezierTo16 = 88,
    PolylineTo16 = 89,
    PolyPolyline16 = 90,
    PolyPolygon16 = 91,
    PolyDraw16 = 92,
    CreateMonoBrush = 93,
    CreateDibPatternBrushPt = 94,
    ExtCreatePen = 95,
    PolyTextOutA = 96,
    PolyTextOutW = 97,
    SetIcmMode = 98,
    SmallTextOut = 108,
    AlphaBlend = 114,
    SetLayout = 115,
    TransparentBlt = 116,
    GradientFill = 118,
};

constexpr std::uint32_t maxRecordId = 122;

QColor colorRef(std::uint32_t v)
{
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

QRectF readRectL(ByteReader& r)
{
    const double left = r.i32();
    const double top = r.i32();
    const double right = r.i32();
    const double bottom = r.i32();
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QPointF readPointL(ByteReader& r)
{
    const double x = r.i32();
    const double y = r.i32();
    return QPointF(x, y);
}

QTransform readXform(ByteReader& r)
{
    const double m11 = r.f32();
    const double m12 = r.f32();
    const double m21 = r.f32();
    const double m22 = r.f32();
    const double dx = r.f32();
    const double dy = r.f32();
    return QTransform(m11, m12, m21, m22, dx, dy);
}

// A region (RgnData) as a union of rectangles; nullopt when malformed.
std::optional<ClipShape> readRegion(ByteReader& r, std::uint64_t offset, std::uint64_t size)
{
    if (size < 32 || !r.contains(offset, size))
        return std::nullopt;
    ByteReader region(r.sliceAt(offset, size));
    region.u32(); // header size
    region.u32(); // type
    const std::uint32_t count = region.u32();
    region.u32();
    region.skip(16);
    if (std::uint64_t(count) * 16 > region.remaining())
        return std::nullopt;
    ClipShape shape;
    if (count == 1) {
        shape.isRect = true;
        shape.rect = readRectL(region).normalized();
        return shape;
    }
    for (std::uint32_t i = 0; i < count; ++i)
        shape.path.addRect(readRectL(region).normalized());
    shape.path = shape.path.simplified();
    return shape;
}

class EmfReader {
public:
    EmfReader(DisplayList& list, const DeviceInfo& device) : m_gdi(list, device) {}

    void run(std::span<const std::uint8_t> bytes);

private:
    using Handler = void (EmfReader::*)(ByteReader&);
    struct RecordType {
        EmfRecord id;
        const char* name;
        std::uint32_t minSize;
        Handler handler;
    };
    static const RecordType* lookup(std::uint32_t id);

    std::optional<QPolygonF> points(ByteReader& r, bool small);
    std::optional<std::vector<QPolygonF>> polyPoints(ByteReader& r, bool small);
    void drawBitmap(ByteReader& r, const QRectF& dest, QPointF src, QSizeF srcSize,
                    std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
                    std::uint32_t cbBits, std::uint32_t usage, std::uint32_t rop);
    void textOut(ByteReader& r, bool wide);

    void ignore(ByteReader&) {}
    void polyBezier(ByteReader& r)
    {
        if (auto p = points(r, false))
            m_gdi.polyBezier(*p);
    }
    void polygon(ByteReader& r)
    {
        if (auto p = points(r, false))
            m_gdi.polygon(*p);
    }
    void polyline(ByteReader& r)
    {
        if (auto p = points(r, false))
            m_gdi.polyline(*p);
    }
    void polyBezierTo(ByteReader& r)
    {
        if (auto p = points(r, false))
            m_gdi.polyBezierTo(*p);
    }
    void polylineTo(ByteReader& r)
    {
        if (auto p = points(r, false))
            m_gdi.polylineTo(*p);
    }
    void polyBezier16(ByteReader& r)
    {
        if (auto p = points(r, true))
            m_gdi.polyBezier(*p);
    }
    void polygon16(ByteReader& r)
    {
        if (auto p = points(r, true))
            m_gdi.polygon(*p);
    }
    void polyline16(ByteReader& r)
    {
        if (auto p = points(r, true))
            m_gdi.polyline(*p);
    }
    void polyBezierTo16(ByteReader& r)
    {
        if (auto p = points(r, true))
            m_gdi.polyBezierTo(*p);
    }
    void polylineTo16(ByteReader& r)
    {
        if (auto p = points(r, true))
            m_gdi.polylineTo(*p);
    }
    void polyPolyline(ByteReader& r)
    {
        if (auto p = polyPoints(r, false))
            m_gdi.polyPolyline(*p);
    }
    void polyPolygon(ByteReader& r)
    {
        if (auto p = polyPoints(r, false))
            m_gdi.polyPolygon(*p);
    }
    void polyPolyline16(ByteReader& r)
    {
        if (auto p = polyPoints(r, true))
            m_gdi.polyPolyline(*p);
    }
    void polyPolygon16(ByteReader& r)
    {
        if (auto p = polyPoints(r, true))
            m_gdi.polyPolygon(*p);
    }
    void polyDraw(ByteReader& r) { polyDrawAny(r, false); }
    void polyDraw16(ByteReader& r) { polyDrawAny(r, true); }
    void polyDrawAny(ByteReader& r, bool small);

    void setWindowExt(ByteReader& r) { m_gdi.setWindowExt(readPointL(r)); }
    void setWindowOrg(ByteReader& r) { m_gdi.setWindowOrg(readPointL(r)); }
    void setViewportExt(ByteReader& r) { m_gdi.setViewportExt(readPointL(r)); }
    void setViewportOrg(ByteReader& r) { m_gdi.setViewportOrg(readPointL(r)); }
    void scaleViewportExt(ByteReader& r);
    void scaleWindowExt(ByteReader& r);
    void setMapMode(ByteReader& r) { m_gdi.setMapMode(r.i32()); }
    void setBkMode(ByteReader& r);
    void setPolyFillMode(ByteReader& r);
    void setRop2(ByteReader& r);
    void setTextAlign(ByteReader& r) { m_gdi.dc().textAlign = r.u32(); }
    void setTextColor(ByteReader& r) { m_gdi.dc().textColor = colorRef(r.u32()); }
    void setBkColor(ByteReader& r) { m_gdi.dc().bkColor = colorRef(r.u32()); }
    void setArcDirection(ByteReader& r) { m_gdi.dc().clockwise = r.u32() == 2; }
    void setMiterLimit(ByteReader& r);
    void setPixel(ByteReader& r);
    void offsetClip(ByteReader& r) { m_gdi.offsetClip(readPointL(r)); }
    void moveTo(ByteReader& r) { m_gdi.moveTo(readPointL(r)); }
    void lineTo(ByteReader& r) { m_gdi.lineTo(readPointL(r)); }
    void excludeClip(ByteReader& r) { m_gdi.excludeClipRect(readRectL(r)); }
    void intersectClip(ByteReader& r) { m_gdi.intersectClipRect(readRectL(r)); }
    void saveDc(ByteReader&) { m_gdi.saveDc(); }
    void restoreDc(ByteReader& r) { m_gdi.restoreDc(r.i32()); }
    void setWorldTransform(ByteReader& r);
    void modifyWorldTransform(ByteReader& r);
    void selectObject(ByteReader& r) { m_gdi.selectObject(r.u32()); }
    void deleteObject(ByteReader& r) { m_gdi.deleteObject(r.u32()); }
    void createPen(ByteReader& r);
    void extCreatePen(ByteReader& r);
    void createBrush(ByteReader& r);
    void createPatternBrush(ByteReader& r);
    void createFont(ByteReader& r);
    void angleArc(ByteReader& r);
    void ellipse(ByteReader& r) { m_gdi.ellipse(readRectL(r)); }
    void rectangle(ByteReader& r) { m_gdi.rectangle(readRectL(r)); }
    void roundRect(ByteReader& r);
    void arc(ByteReader& r) { arcAny(r, ArcKind::Arc); }
    void arcTo(ByteReader& r) { arcAny(r, ArcKind::ArcTo); }
    void chord(ByteReader& r) { arcAny(r, ArcKind::Chord); }
    void pie(ByteReader& r) { arcAny(r, ArcKind::Pie); }
    void arcAny(ByteReader& r, ArcKind kind);
    void beginPath(ByteReader&) { m_gdi.beginPath(); }
    void endPath(ByteReader&) { m_gdi.endPath(); }
    void closeFigure(ByteReader&) { m_gdi.closeFigure(); }
    void fillPath(ByteReader&) { m_gdi.fillPath(); }
    void strokeAndFillPath(ByteReader&) { m_gdi.strokeAndFillPath(); }
    void strokePath(ByteReader&) { m_gdi.strokePath(); }
    void flattenPath(ByteReader&) { m_gdi.flattenPath(); }
    void widenPath(ByteReader&) { m_gdi.widenPath(); }
    void abortPath(ByteReader&) { m_gdi.abortPath(); }
    void selectClipPath(ByteReader& r) { m_gdi.selectClipPath(r.i32()); }
    void extSelectClipRgn(ByteReader& r);
    void fillRgn(ByteReader& r);
    void paintRgn(ByteReader& r);
    void bitBlt(ByteReader& r);
    void stretchBlt(ByteReader& r);
    void stretchDiBits(ByteReader& r);
    void setDiBitsToDevice(ByteReader& r);
    void extTextOutA(ByteReader& r) { textOut(r, false); }
    void extTextOutW(ByteReader& r) { textOut(r, true); }
    void smallTextOut(ByteReader& r);

    static const std::array<RecordType, 91> s_records;
    GdiPlayer m_gdi;
};

// clang-format off
const std::array<EmfReader::RecordType, 91> EmfReader::s_records = {{
    {EmfRecord::Header, "HEADER", 88, &EmfReader::ignore},
    {EmfRecord::PolyBezier, "POLYBEZIER", 28, &EmfReader::polyBezier},
    {EmfRecord::Polygon, "POLYGON", 28, &EmfReader::polygon},
    {EmfRecord::Polyline, "POLYLINE", 28, &EmfReader::polyline},
    {EmfRecord::PolyBezierTo, "POLYBEZIERTO", 28, &EmfReader::polyBezierTo},
    {EmfRecord::PolylineTo, "POLYLINETO", 28, &EmfReader::polylineTo},
    {EmfRecord::PolyPolyline, "POLYPOLYLINE", 32, &EmfReader::polyPolyline},
    {EmfRecord::PolyPolygon, "POLYPOLYGON", 32, &EmfReader::polyPolygon},
    {EmfRecord::SetWindowExtEx, "SETWINDOWEXTEX", 16, &EmfReader::setWindowExt},
    {EmfRecord::SetWindowOrgEx, "SETWINDOWORGEX", 16, &EmfReader::setWindowOrg},
    {EmfRecord::SetViewportExtEx, "SETVIEWPORTEXTEX", 16, &EmfReader::setViewportExt},
    {EmfRecord::SetViewportOrgEx, "SETVIEWPORTORGEX", 16, &EmfReader::setViewportOrg},
    {EmfRecord::SetBrushOrgEx, "SETBRUSHORGEX", 16, &EmfReader::ignore},
    {EmfRecord::Eof, "EOF", 8, &EmfReader::ignore},
    {EmfRecord::SetPixelV, "SETPIXELV", 20, &EmfReader::setPixel},
    {EmfRecord::SetMapperFlags, "SETMAPPERFLAGS", 12, &EmfReader::ignore},
    {EmfRecord::SetMapMode, "SETMAPMODE", 12, &EmfReader::setMapMode},
    {EmfRecord::SetBkMode, "SETBKMODE", 12, &EmfReader::setBkMode},
    {EmfRecord::SetPolyFillMode, "SETPOLYFILLMODE", 12, &EmfReader::setPolyFillMode},
    {EmfRecord::SetRop2, "SETROP2", 12, &EmfReader::setRop2},
    {EmfRecord::SetStretchBltMode, "SETSTRETCHBLTMODE", 12, &EmfReader::ignore},
    {EmfRecord::SetTextAlign, "SETTEXTALIGN", 12, &EmfReader::setTextAlign},
    {EmfRecord::SetColorAdjustment, "SETCOLORADJUSTMENT", 8, &EmfReader::ignore},
    {EmfRecord::SetTextColor, "SETTEXTCOLOR", 12, &EmfReader::setTextColor},
    {EmfRecord::SetBkColor, "SETBKCOLOR", 12, &EmfReader::setBkColor},
    {EmfRecord::OffsetClipRgn, "OFFSETCLIPRGN", 16, &EmfReader::offsetClip},
    {EmfRecord::MoveToEx, "MOVETOEX", 16, &EmfReader::moveTo},
    {EmfRecord::SetMetaRgn, "SETMETARGN", 8, &EmfReader::ignore},
    {EmfRecord::ExcludeClipRect, "EXCLUDECLIPRECT", 24, &EmfReader::excludeClip},
    {EmfRecord::IntersectClipRect, "INTERSECTCLIPRECT", 24, &EmfReader::intersectClip},
    {EmfRecord::ScaleViewportExtEx, "SCALEVIEWPORTEXTEX", 24, &EmfReader::scaleViewportExt},
    {EmfRecord::ScaleWindowExtEx, "SCALEWINDOWEXTEX", 24, &EmfReader::scaleWindowExt},
    {EmfRecord::SaveDc, "SAVEDC", 8, &EmfReader::saveDc},
    {EmfRecord::RestoreDc, "RESTOREDC", 12, &EmfReader::restoreDc},
    {EmfRecord::SetWorldTransform, "SETWORLDTRANSFORM", 32, &EmfReader::setWorldTransform},
    {EmfRecord::ModifyWorldTransform, "MODIFYWORLDTRANSFORM", 36, &EmfReader::modifyWorldTransform},
    {EmfRecord::SelectObject, "SELECTOBJECT", 12, &EmfReader::selectObject},
    {EmfRecord::CreatePen, "CREATEPEN", 28, &EmfReader::createPen},
    {EmfRecord::CreateBrushIndirect, "CREATEBRUSHINDIRECT", 24, &EmfReader::createBrush},
    {EmfRecord::DeleteObject, "DELETEOBJECT", 12, &EmfReader::deleteObject},
    {EmfRecord::AngleArc, "ANGLEARC", 28, &EmfReader::angleArc},
    {EmfRecord::Ellipse, "ELLIPSE", 24, &EmfReader::ellipse},
    {EmfRecord::Rectangle, "RECTANGLE", 24, &EmfReader::rectangle},
    {EmfRecord::RoundRect, "ROUNDRECT", 32, &EmfReader::roundRect},
    {EmfRecord::Arc, "ARC", 40, &EmfReader::arc},
    {EmfRecord::Chord, "CHORD", 40, &EmfReader::chord},
    {EmfRecord::Pie, "PIE", 40, &EmfReader::pie},
    {EmfRecord::SelectPalette, "SELECTPALETTE", 12, &EmfReader::ignore},
    {EmfRecord::CreatePalette, "CREATEPALETTE", 12, &EmfReader::ignore},
    {EmfRecord::SetPaletteEntries, "SETPALETTEENTRIES", 8, &EmfReader::ignore},
    {EmfRecord::ResizePalette, "RESIZEPALETTE", 8, &EmfReader::ignore},
    {EmfRecord::RealizePalette, "REALIZEPALETTE", 8, &EmfReader::ignore},
    {EmfRecord::LineTo, "LINETO", 16, &EmfReader::lineTo},
    {EmfRecord::ArcTo, "ARCTO", 40, &EmfReader::arcTo},
    {EmfRecord::PolyDraw, "POLYDRAW", 28, &EmfReader::polyDraw},
    {EmfRecord::SetArcDirection, "SETARCDIRECTION", 12, &EmfReader::setArcDirection},
    {EmfRecord::SetMiterLimit, "SETMITERLIMIT", 12, &EmfReader::setMiterLimit},
    {EmfRecord::BeginPath, "BEGINPATH", 8, &EmfReader::beginPath},
    {EmfRecord::EndPath, "ENDPATH", 8, &EmfReader::endPath},
    {EmfRecord::CloseFigure, "CLOSEFIGURE", 8, &EmfReader::closeFigure},
    {EmfRecord::FillPath, "FILLPATH", 8, &EmfReader::fillPath},
    {EmfRecord::StrokeAndFillPath, "STROKEANDFILLPATH", 8, &EmfReader::strokeAndFillPath},
    {EmfRecord::StrokePath, "STROKEPATH", 8, &EmfReader::strokePath},
    {EmfRecord::FlattenPath, "FLATTENPATH", 8, &EmfReader::flattenPath},
    {EmfRecord::WidenPath, "WIDENPATH", 8, &EmfReader::widenPath},
    {EmfRecord::SelectClipPath, "SELECTCLIPPATH", 12, &EmfReader::selectClipPath},
    {EmfRecord::AbortPath, "ABORTPATH", 8, &EmfReader::abortPath},
    {EmfRecord::Comment, "COMMENT", 12, &EmfReader::ignore},
    {EmfRecord::FillRgn, "FILLRGN", 32, &EmfReader::fillRgn},
    {EmfRecord::PaintRgn, "PAINTRGN", 28, &EmfReader::paintRgn},
    {EmfRecord::ExtSelectClipRgn, "EXTSELECTCLIPRGN", 16, &EmfReader::extSelectClipRgn},
    {EmfRecord::BitBlt, "BITBLT", 100, &EmfReader::bitBlt},
    {EmfRecord::StretchBlt, "STRETCHBLT", 108, &EmfReader::stretchBlt},
    {EmfRecord::SetDiBitsToDevice, "SETDIBITSTODEVICE", 76, &EmfReader::setDiBitsToDevice},
    {EmfRecord::StretchDiBits, "STRETCHDIBITS", 80, &EmfReader::stretchDiBits},
    {EmfRecord::ExtCreateFontIndirectW, "EXTCREATEFONTINDIRECTW", 104, &EmfReader::createFont},
    {EmfRecord::ExtTextOutA, "EXTTEXTOUTA", 76, &EmfReader::extTextOutA},
    {EmfRecord::ExtTextOutW, "EXTTEXTOUTW", 76, &EmfReader::extTextOutW},
    {EmfRecord::PolyBezier16, "POLYBEZIER16", 28, &EmfReader::polyBezier16},
    {EmfRecord::Polygon16, "POLYGON16", 28, &EmfReader::polygon16},
    {EmfRecord::Polyline16, "POLYLINE16", 28, &EmfReader::polyline16},
    {EmfRecord::PolyBezierTo16, "POLYBEZIERTO16", 28, &EmfReader::polyBezierTo16},
    {EmfRecord::PolylineTo16, "POLYLINETO16", 28, &EmfReader::polylineTo16},
    {EmfRecord::PolyPolyline16, "POLYPOLYLINE16", 32, &EmfReader::polyPolyline16},
    {EmfRecord::PolyPolygon16, "POLYPOLYGON16", 32, &EmfReader::polyPolygon16},
    {EmfRecord::PolyDraw16, "POLYDRAW16", 28, &EmfReader::polyDraw16},
    {EmfRecord::CreateMonoBrush, "CREATEMONOBRUSH", 32, &EmfReader::createPatternBrush},
    {EmfRecord::CreateDibPatternBrushPt, "CREATEDIBPATTERNBRUSHPT", 32,
     &EmfReader::createPatternBrush},
    {EmfRecord::ExtCreatePen, "EXTCREATEPEN", 52, &EmfReader::extCreatePen},
    {EmfRecord::SmallTextOut, "SMALLTEXTOUT", 36, &EmfReader::smallTextOut},
    {EmfRecord::SetIcmMode, "SETICMMODE", 12, &EmfReader::ignore},
}};
// clang-format on

const EmfReader::RecordType* EmfReader::lookup(std::uint32_t id)
{
    static const auto table = [] {
        std::array<const RecordType*, maxRecordId + 1> byId{};
        for (const RecordType& type : s_records)
            byId[static_cast<std::uint32_t>(type.id)] = &type;
        return byId;
    }();
    return id <= maxRecordId ? table[id] : nullptr;
}

void EmfReader::run(std::span<const std::uint8_t> bytes)
{
    ByteReader file(bytes);
    std::size_t pos = 0;
    while (pos + 8 <= bytes.size()) {
        const std::uint32_t id = file.u32At(pos);
        const std::uint32_t size = file.u32At(pos + 4);
        if (size < 8 || size % 4 != 0 || size > bytes.size() - pos) {
            qCDebug(lcMetafile) << "EMF: record" << id << "at" << pos << "has bad size" << size;
            break;
        }
        if (id == static_cast<std::uint32_t>(EmfRecord::Eof))
            break;
        const RecordType* type = lookup(id);
        if (!type) {
            qCDebug(lcMetafile) << "EMF: record" << id << "not drawn";
        } else if (size < type->minSize) {
            qCDebug(lcMetafile) << "EMF:" << type->name << "too short:" << size;
        } else {
            ByteReader record(bytes.subspan(pos, size));
            record.seek(8);
            (this->*type->handler)(record);
        }
        pos += size; // always continue at the record's declared end
    }
}

// ---- points --------------------------------------------------------------------------------

std::optional<QPolygonF> EmfReader::points(ByteReader& r, bool small)
{
    r.skip(16); // bounds
    const std::uint32_t count = r.u32();
    const std::uint64_t need = std::uint64_t(count) * (small ? 4 : 8);
    if (!r.ok() || need > r.remaining())
        return std::nullopt;
    QPolygonF poly;
    poly.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (small) {
            const double x = r.i16();
            poly.append(QPointF(x, r.i16()));
        } else {
            poly.append(readPointL(r));
        }
    }
    return poly;
}

std::optional<std::vector<QPolygonF>> EmfReader::polyPoints(ByteReader& r, bool small)
{
    r.skip(16);
    const std::uint32_t polys = r.u32();
    const std::uint32_t total = r.u32();
    const std::uint64_t need = std::uint64_t(polys) * 4 + std::uint64_t(total) * (small ? 4 : 8);
    if (!r.ok() || need > r.remaining())
        return std::nullopt;
    std::vector<std::uint32_t> counts(polys);
    std::uint64_t sum = 0;
    for (auto& c : counts) {
        c = r.u32();
        sum += c;
    }
    if (sum > total)
        return std::nullopt;
    std::vector<QPolygonF> result(polys);
    for (std::uint32_t p = 0; p < polys; ++p) {
        result[p].reserve(counts[p]);
        for (std::uint32_t i = 0; i < counts[p]; ++i) {
            if (small) {
                const double x = r.i16();
                result[p].append(QPointF(x, r.i16()));
            } else {
                result[p].append(readPointL(r));
            }
        }
    }
    return result;
}

void EmfReader::polyDrawAny(ByteReader& r, bool small)
{
    auto pts = points(r, small);
    if (!pts || std::uint64_t(pts->size()) > r.remaining())
        return;
    std::vector<std::uint8_t> types(std::size_t(pts->size()));
    for (auto& t : types)
        t = r.u8();
    m_gdi.polyDraw(*pts, types);
}

// ---- state ---------------------------------------------------------------------------------

void EmfReader::scaleViewportExt(ByteReader& r)
{
    const double xNum = r.i32(), xDen = r.i32(), yNum = r.i32(), yDen = r.i32();
    m_gdi.scaleViewportExt(xNum, xDen, yNum, yDen);
}

void EmfReader::scaleWindowExt(ByteReader& r)
{
    const double xNum = r.i32(), xDen = r.i32(), yNum = r.i32(), yDen = r.i32();
    m_gdi.scaleWindowExt(xNum, xDen, yNum, yDen);
}

void EmfReader::setBkMode(ByteReader& r)
{
    const std::uint32_t mode = r.u32();
    if (mode == gdi::transparent || mode == gdi::opaque)
        m_gdi.dc().bkMode = int(mode);
}

void EmfReader::setPolyFillMode(ByteReader& r)
{
    const std::uint32_t mode = r.u32();
    if (mode == 1 || mode == 2)
        m_gdi.dc().polyFillMode = int(mode);
}

void EmfReader::setRop2(ByteReader& r)
{
    const std::uint32_t rop = r.u32();
    if (rop >= 1 && rop <= 16)
        m_gdi.dc().rop2 = int(rop);
}

void EmfReader::setMiterLimit(ByteReader& r)
{
    const std::uint32_t raw = r.u32();
    double limit = raw;
    if (raw > 1000) { // some writers store a float here
        float f;
        std::memcpy(&f, &raw, sizeof f);
        limit = f;
    }
    if (std::isfinite(limit) && limit >= 1 && limit <= 1000)
        m_gdi.dc().miterLimit = limit;
}

void EmfReader::setPixel(ByteReader& r)
{
    const QPointF p = readPointL(r);
    m_gdi.setPixel(p, colorRef(r.u32()));
}

void EmfReader::setWorldTransform(ByteReader& r)
{
    const QTransform t = readXform(r);
    m_gdi.modifyWorldTransform(t, 4);
}

void EmfReader::modifyWorldTransform(ByteReader& r)
{
    const QTransform t = readXform(r);
    m_gdi.modifyWorldTransform(t, r.i32());
}

// ---- objects -------------------------------------------------------------------------------

void EmfReader::createPen(ByteReader& r)
{
    const std::uint32_t index = r.u32();
    GdiObject obj;
    obj.kind = GdiObject::Kind::Pen;
    obj.pen.style = int(r.u32() & 0x0F);
    obj.pen.width = std::abs(double(r.i32()));
    r.i32();
    obj.pen.color = colorRef(r.u32());
    m_gdi.storeObject(index, std::move(obj));
}

void EmfReader::extCreatePen(ByteReader& r)
{
    const std::uint32_t index = r.u32();
    r.skip(16); // offBmi, cbBmi, offBits, cbBits: pattern pens are drawn with their colour
    const std::uint32_t style = r.u32();
    const std::uint32_t width = r.u32();
    const std::uint32_t brushStyle = r.u32();
    const QColor color = colorRef(r.u32());
    r.u32(); // hatch
    const std::uint32_t entries = r.u32();
    GdiObject obj;
    obj.kind = GdiObject::Kind::Pen;
    obj.pen.extended = true;
    obj.pen.style = brushStyle == gdi::bsNull ? gdi::psNull : int(style & 0x0F);
    obj.pen.geometric = (style & 0x000F0000) == 0x00010000;
    obj.pen.width = std::min<double>(width, 1.0e7);
    obj.pen.color = color;
    obj.pen.cap = int((style >> 8) & 0x0F);
    obj.pen.join = int((style >> 12) & 0x0F);
    if (obj.pen.style == gdi::psUserStyle && entries <= 64 &&
        std::uint64_t(entries) * 4 <= r.remaining()) {
        for (std::uint32_t i = 0; i < entries; ++i)
            obj.pen.userDashes.push_back(r.u32());
    }
    m_gdi.storeObject(index, std::move(obj));
}

void EmfReader::createBrush(ByteReader& r)
{
    const std::uint32_t index = r.u32();
    GdiObject obj;
    obj.kind = GdiObject::Kind::Brush;
    obj.brush.style = int(r.u32());
    obj.brush.color = colorRef(r.u32());
    obj.brush.hatch = int(r.u32());
    if (obj.brush.style != gdi::bsSolid && obj.brush.style != gdi::bsNull &&
        obj.brush.style != gdi::bsHatched)
        obj.brush.style = gdi::bsSolid;
    m_gdi.storeObject(index, std::move(obj));
}

void EmfReader::createPatternBrush(ByteReader& r)
{
    const std::uint32_t index = r.u32();
    const std::uint32_t usage = r.u32();
    const std::uint32_t offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
    GdiObject obj;
    obj.kind = GdiObject::Kind::Brush;
    obj.brush.style = gdi::bsDibPatternPt;
    obj.brush.color = Qt::gray;
    if (r.contains(offBmi, cbBmi) && r.contains(offBits, cbBits))
        obj.brush.pattern =
            decodeDib(r.sliceAt(offBmi, cbBmi), r.sliceAt(offBits, cbBits), usage).image;
    m_gdi.storeObject(index, std::move(obj));
}

void EmfReader::createFont(ByteReader& r)
{
    const std::uint32_t index = r.u32();
    GdiObject obj;
    obj.kind = GdiObject::Kind::Font;
    FontSpec& f = obj.font;
    f.height = r.i32();
    f.width = r.i32();
    f.escapement = r.i32() % 3600;
    r.i32(); // orientation: compatible mode draws by escapement
    f.weight = r.i32();
    f.italic = r.u8() != 0;
    f.underline = r.u8() != 0;
    f.strikeOut = r.u8() != 0;
    f.charset = r.u8();
    r.skip(3);
    f.pitchAndFamily = r.u8();
    for (int i = 0; i < 32; ++i) {
        const char16_t c = r.u16();
        if (c == 0)
            break;
        f.face.append(QChar(c));
    }
    if (f.height == std::numeric_limits<std::int32_t>::min())
        f.height = 0;
    m_gdi.storeObject(index, std::move(obj));
}

// ---- shapes --------------------------------------------------------------------------------

void EmfReader::angleArc(ByteReader& r)
{
    const QPointF c = readPointL(r);
    const double radius = r.u32();
    const double start = r.f32();
    const double sweep = r.f32();
    m_gdi.angleArc(c, radius, start, sweep);
}

void EmfReader::roundRect(ByteReader& r)
{
    const QRectF box = readRectL(r);
    const double w = r.i32();
    const double h = r.i32();
    m_gdi.roundRect(box, QSizeF(w, h));
}

void EmfReader::arcAny(ByteReader& r, ArcKind kind)
{
    const QRectF box = readRectL(r);
    const QPointF start = readPointL(r);
    const QPointF end = readPointL(r);
    m_gdi.arc(box, start, end, kind);
}

// ---- regions -------------------------------------------------------------------------------

void EmfReader::extSelectClipRgn(ByteReader& r)
{
    const std::uint32_t size = r.u32();
    const int mode = r.i32();
    if (size == 0) {
        m_gdi.selectClipRegion(nullptr, mode);
        return;
    }
    if (auto region = readRegion(r, 16, size))
        m_gdi.selectClipRegion(&*region, mode);
}

void EmfReader::fillRgn(ByteReader& r)
{
    r.skip(16);
    const std::uint32_t size = r.u32();
    const std::uint32_t brushIndex = r.u32();
    const GdiObject* brush = m_gdi.object(brushIndex);
    auto region = readRegion(r, 32, size);
    if (!region)
        return;
    const QTransform xf = m_gdi.logicalToDevice();
    ClipShape device;
    device.path = xf.map(region->isRect ? [&] {
        QPainterPath p;
        p.addRect(region->rect);
        return p;
    }()
                                        : region->path);
    BrushSpec fill = m_gdi.dc().brush;
    if (brush && brush->kind == GdiObject::Kind::Brush)
        fill = brush->brush;
    m_gdi.fillRegion(device, fill);
}

void EmfReader::paintRgn(ByteReader& r)
{
    r.skip(16);
    const std::uint32_t size = r.u32();
    auto region = readRegion(r, 28, size);
    if (!region)
        return;
    const QTransform xf = m_gdi.logicalToDevice();
    ClipShape device;
    QPainterPath p;
    if (region->isRect)
        p.addRect(region->rect);
    else
        p = region->path;
    device.path = xf.map(p);
    m_gdi.fillRegion(device, m_gdi.dc().brush);
}

// ---- bitmaps -------------------------------------------------------------------------------

void EmfReader::drawBitmap(ByteReader& r, const QRectF& dest, QPointF src, QSizeF srcSize,
                           std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
                           std::uint32_t cbBits, std::uint32_t usage, std::uint32_t rop)
{
    if (cbBmi == 0) {
        m_gdi.patBlt(dest, rop);
        return;
    }
    if (!r.contains(offBmi, cbBmi) || !r.contains(offBits, cbBits))
        return;
    const DecodedDib dib = decodeDib(r.sliceAt(offBmi, cbBmi), r.sliceAt(offBits, cbBits), usage);
    if (dib.image.isNull())
        return;
    QRectF source(src, srcSize);
    if (dib.bottomUp)
        source.moveTop(dib.image.height() - src.y() - srcSize.height());
    m_gdi.image(dest, dib.image, source.normalized(), rop);
}

void EmfReader::bitBlt(ByteReader& r)
{
    r.skip(16);
    const double x = r.i32(), y = r.i32(), cx = r.i32(), cy = r.i32();
    const std::uint32_t rop = r.u32();
    const double xSrc = r.i32(), ySrc = r.i32();
    r.skip(24 + 4); // source transform, background colour
    const std::uint32_t usage = r.u32();
    const std::uint32_t offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
    drawBitmap(r, QRectF(x, y, cx, cy), QPointF(xSrc, ySrc), QSizeF(cx, cy), offBmi, cbBmi, offBits,
               cbBits, usage, rop);
}

void EmfReader::stretchBlt(ByteReader& r)
{
    r.skip(16);
    const double x = r.i32(), y = r.i32(), cx = r.i32(), cy = r.i32();
    const std::uint32_t rop = r.u32();
    const double xSrc = r.i32(), ySrc = r.i32();
    r.skip(24 + 4);
    const std::uint32_t usage = r.u32();
    const std::uint32_t offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
    const double cxSrc = r.i32(), cySrc = r.i32();
    drawBitmap(r, QRectF(x, y, cx, cy), QPointF(xSrc, ySrc), QSizeF(cxSrc, cySrc), offBmi, cbBmi,
               offBits, cbBits, usage, rop);
}

void EmfReader::stretchDiBits(ByteReader& r)
{
    r.skip(16);
    const double x = r.i32(), y = r.i32(), xSrc = r.i32(), ySrc = r.i32();
    const double cxSrc = r.i32(), cySrc = r.i32();
    const std::uint32_t offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
    const std::uint32_t usage = r.u32();
    const std::uint32_t rop = r.u32();
    const double cx = r.i32(), cy = r.i32();
    if (cbBmi == 0)
        return;
    drawBitmap(r, QRectF(x, y, cx, cy), QPointF(xSrc, ySrc), QSizeF(cxSrc, cySrc), offBmi, cbBmi,
               offBits, cbBits, usage, rop);
}

void EmfReader::setDiBitsToDevice(ByteReader& r)
{
    r.skip(16);
    const double x = r.i32(), y = r.i32(), xSrc = r.i32(), ySrc = r.i32();
    const double cxSrc = r.i32(), cySrc = r.i32();
    const std::uint32_t offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
    const std::uint32_t usage = r.u32();
    if (cbBmi == 0)
        return;
    drawBitmap(r, QRectF(x, y, cxSrc, cySrc), QPointF(xSrc, ySrc), QSizeF(cxSrc, cySrc), offBmi,
               cbBmi, offBits, cbBits, usage, 0x00CC0020);
}

// ---- text ----------------------------------------------------------------------------------

void EmfReader::textOut(ByteReader& r, bool wide)
{
    r.skip(16);                         // bounds
    const bool advanced = r.u32() == 2; // GM_ADVANCED
    r.skip(8);                          // x and y scale
    const QPointF reference = readPointL(r);
    const std::uint32_t count = r.u32();
    const std::uint32_t offString = r.u32();
    const std::uint32_t options = r.u32();
    const QRectF rect = readRectL(r);
    const std::uint32_t offDx = r.u32();
    const std::uint64_t bytes = std::uint64_t(count) * (wide ? 2 : 1);
    QString text;
    if (count > 0) {
        if (!r.contains(offString, bytes))
            return;
        const auto raw = r.sliceAt(offString, bytes);
        if (wide) {
            text.resize(qsizetype(count));
            for (std::uint32_t i = 0; i < count; ++i)
                text[qsizetype(i)] = QChar(char16_t(raw[2 * i] | raw[2 * i + 1] << 8));
        } else {
            text = m_gdi.decodeText(
                QByteArray(reinterpret_cast<const char*>(raw.data()), qsizetype(raw.size())));
        }
    }
    std::vector<double> dx;
    const std::uint64_t step = (options & 0x2000) ? 8 : 4; // ETO_PDY: pairs of dx, dy
    if (offDx != 0 && count > 0 && r.contains(offDx, std::uint64_t(count) * step) &&
        std::uint64_t(text.size()) == count) {
        ByteReader d(r.sliceAt(offDx, std::uint64_t(count) * step));
        dx.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            dx.push_back(d.i32());
            if (step == 8)
                d.i32();
        }
    }
    m_gdi.text(reference, text, dx, options, rect, advanced);
}

void EmfReader::smallTextOut(ByteReader& r)
{
    const QPointF reference = readPointL(r);
    const std::uint32_t count = r.u32();
    const std::uint32_t options = r.u32();
    const bool advanced = r.u32() == 2;
    r.skip(8); // scales
    QRectF rect;
    if (!(options & 0x100)) // ETO_NO_RECT
        rect = readRectL(r);
    const bool narrow = options & 0x200; // ETO_SMALL_CHARS
    const std::uint64_t bytes = std::uint64_t(count) * (narrow ? 1 : 2);
    if (bytes > r.remaining())
        return;
    const auto raw = r.sliceAt(r.pos(), bytes);
    QString text;
    if (narrow) {
        text = m_gdi.decodeText(
            QByteArray(reinterpret_cast<const char*>(raw.data()), qsizetype(raw.size())));
    } else {
        for (std::uint32_t i = 0; i < count; ++i)
            text.append(QChar(char16_t(raw[2 * i] | raw[2 * i + 1] << 8)));
    }
    m_gdi.text(reference, text, {}, options, rect, advanced);
}

} // namespace

void readEmfRecords(std::span<const std::uint8_t> bytes, DisplayList& list,
                    const DeviceInfo& device)
{
    EmfReader reader(list, device);
    reader.run(bytes);
}

} // namespace vembra::metafile
