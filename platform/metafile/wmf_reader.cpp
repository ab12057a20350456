// Windows metafile (WMF) records: a table gives each record its name, minimum size and handler.
#include "platform/metafile/byte_reader.h"
#include "platform/metafile/dib.h"
#include "platform/metafile/record_readers.h"

#include <array>
#include <optional>

namespace vembra::metafile {

namespace {

enum class WmfRecord : std::uint16_t {
    Eof = 0x0000,
    SetBkColor = 0x0201,
    SetBkMode = 0x0102,
    SetMapMode = 0x0103,
    SetRop2 = 0x0104,
    SetRelAbs = 0x0105,
    SetPolyFillMode = 0x0106,
    SetStretchBltMode = 0x0107,
    SetTextCharExtra = 0x0108,
    SetTextColor = 0x0209,
    SetTextJustification = 0x020A,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    SetViewportOrg = 0x020D,
    SetViewportExt = 0x020E,
    OffsetWindowOrg = 0x020F,
    ScaleWindowExt = 0x0410,
    OffsetViewportOrg = 0x0211,
    ScaleViewportExt = 0x0412,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    ExcludeClipRect = 0x0415,
    IntersectClipRect = 0x0416,
    Arc = 0x0817,
    Ellipse = 0x0418,
    FloodFill = 0x0419,
    Pie = 0x081A,
    Rectangle = 0x041B,
    RoundRect = 0x061C,
    PatBlt = 0x061D,
    SaveDc = 0x001E,
    SetPixel = 0x041F,
    OffsetClipRgn = 0x0220,
    TextOut = 0x0521,
    Polygon = 0x0324,
    Polyline = 0x0325,
    Escape = 0x0626,
    RestoreDc = 0x0127,
    FillRegion = 0x0228,
    PaintRegion = 0x012B,
    SelectClipRegion = 0x012C,
    SelectObject = 0x012D,
    SetTextAlign = 0x012E,
    Chord = 0x0830,
    SetMapperFlags = 0x0231,
    ExtTextOut = 0x0A32,
    SetDibToDev = 0x0D33,
    SelectPalette = 0x0234,
    RealizePalette = 0x0035,
    SetPalEntries = 0x0037,
    PolyPolygon = 0x0538,
    ResizePalette = 0x0139,
    DibBitBlt = 0x0940,
    DibStretchBlt = 0x0B41,
    DibCreatePatternBrush = 0x0142,
    StretchDib = 0x0F43,
    SetLayout = 0x0149,
    DeleteObject = 0x01F0,
    CreatePalette = 0x00F7,
    CreatePatternBrush = 0x01F9,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    CreateRegion = 0x06FF,
};

QColor colorRef(std::uint32_t v)
{
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

// WMF stores most coordinates in reverse order: y before x, bottom-right before top-left.
QPointF readYX(ByteReader& r)
{
    const double y = r.i16();
    const double x = r.i16();
    return QPointF(x, y);
}

QRectF readBottomRightTopLeft(ByteReader& r)
{
    const double bottom = r.i16();
    const double right = r.i16();
    const double top = r.i16();
    const double left = r.i16();
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

class WmfReader {
public:
    WmfReader(DisplayList& list, const DeviceInfo& device) : m_gdi(list, device) {}

    void run(std::span<const std::uint8_t> bytes);

private:
    using Handler = void (WmfReader::*)(ByteReader&);
    struct RecordType {
        WmfRecord id;
        const char* name;
        std::uint32_t minSize;
        Handler handler;
    };
    static const RecordType* lookup(std::uint16_t id);

    std::optional<QPolygonF> points(ByteReader& r);
    // DIBBITBLT and DIBSTRETCHBLT without a bitmap: a brush fill; true when painted so.
    bool patBltWithoutBitmap(ByteReader& r, std::uint32_t rop);
    void drawDib(std::span<const std::uint8_t> packed, std::uint32_t usage, const QRectF& dest,
                 QPointF src, QSizeF srcSize, std::uint32_t rop);

    void ignore(ByteReader&) {}
    void setBkColor(ByteReader& r) { m_gdi.dc().bkColor = colorRef(r.u32()); }
    void setBkMode(ByteReader& r);
    void setMapMode(ByteReader& r) { m_gdi.setMapMode(r.i16()); }
    void setRop2(ByteReader& r);
    void setPolyFillMode(ByteReader& r);
    void setTextColor(ByteReader& r) { m_gdi.dc().textColor = colorRef(r.u32()); }
    void setTextAlign(ByteReader& r) { m_gdi.dc().textAlign = r.u16(); }
    void setWindowOrg(ByteReader& r) { m_gdi.setWindowOrg(readYX(r)); }
    void setWindowExt(ByteReader& r) { m_gdi.setWindowExt(readYX(r)); }
    void setViewportOrg(ByteReader& r) { m_gdi.setViewportOrg(readYX(r)); }
    void setViewportExt(ByteReader& r) { m_gdi.setViewportExt(readYX(r)); }
    void offsetWindowOrg(ByteReader& r) { m_gdi.setWindowOrg(m_gdi.dc().windowOrg + readYX(r)); }
    void offsetViewportOrg(ByteReader& r)
    {
        m_gdi.setViewportOrg(m_gdi.dc().viewportOrg + readYX(r));
    }
    void scaleWindowExt(ByteReader& r);
    void scaleViewportExt(ByteReader& r);
    void lineTo(ByteReader& r) { m_gdi.lineTo(readYX(r)); }
    void moveTo(ByteReader& r) { m_gdi.moveTo(readYX(r)); }
    void excludeClip(ByteReader& r) { m_gdi.excludeClipRect(readBottomRightTopLeft(r)); }
    void intersectClip(ByteReader& r) { m_gdi.intersectClipRect(readBottomRightTopLeft(r)); }
    void offsetClip(ByteReader& r) { m_gdi.offsetClip(readYX(r)); }
    void arc(ByteReader& r) { arcAny(r, ArcKind::Arc); }
    void pie(ByteReader& r) { arcAny(r, ArcKind::Pie); }
    void chord(ByteReader& r) { arcAny(r, ArcKind::Chord); }
    void arcAny(ByteReader& r, ArcKind kind);
    void ellipse(ByteReader& r) { m_gdi.ellipse(readBottomRightTopLeft(r)); }
    void rectangle(ByteReader& r) { m_gdi.rectangle(readBottomRightTopLeft(r)); }
    void roundRect(ByteReader& r);
    void patBlt(ByteReader& r);
    void saveDc(ByteReader&) { m_gdi.saveDc(); }
    void restoreDc(ByteReader& r) { m_gdi.restoreDc(r.i16()); }
    void setPixel(ByteReader& r);
    void textOut(ByteReader& r);
    void extTextOut(ByteReader& r);
    void polygon(ByteReader& r)
    {
        if (auto p = points(r))
            m_gdi.polygon(*p);
    }
    void polyline(ByteReader& r)
    {
        if (auto p = points(r))
            m_gdi.polyline(*p);
    }
    void polyPolygon(ByteReader& r);
    void fillRegion(ByteReader& r);
    void paintRegion(ByteReader& r);
    void selectClipRegion(ByteReader& r);
    void selectObject(ByteReader& r) { m_gdi.selectObject(r.u16()); }
    void deleteObject(ByteReader& r) { m_gdi.deleteObject(r.u16()); }
    void createPen(ByteReader& r);
    void createBrush(ByteReader& r);
    void createFont(ByteReader& r);
    void createPalette(ByteReader&) { placeholder(GdiObject::Kind::Palette); }
    void createPatternBrush(ByteReader&);
    void dibCreatePatternBrush(ByteReader& r);
    void createRegion(ByteReader& r);
    void stretchDib(ByteReader& r);
    void dibStretchBlt(ByteReader& r);
    void dibBitBlt(ByteReader& r);
    void setDibToDev(ByteReader& r);
    void placeholder(GdiObject::Kind kind);
    std::optional<ClipShape> regionToDevice(std::uint16_t index);

    static const std::array<RecordType, 63> s_records;
    GdiPlayer m_gdi;
    std::uint16_t m_function = 0;
};

// clang-format off
const std::array<WmfReader::RecordType, 63> WmfReader::s_records = {{
    {WmfRecord::Eof, "EOF", 6, &WmfReader::ignore},
    {WmfRecord::SetBkColor, "SETBKCOLOR", 10, &WmfReader::setBkColor},
    {WmfRecord::SetBkMode, "SETBKMODE", 8, &WmfReader::setBkMode},
    {WmfRecord::SetMapMode, "SETMAPMODE", 8, &WmfReader::setMapMode},
    {WmfRecord::SetRop2, "SETROP2", 8, &WmfReader::setRop2},
    {WmfRecord::SetRelAbs, "SETRELABS", 6, &WmfReader::ignore},
    {WmfRecord::SetPolyFillMode, "SETPOLYFILLMODE", 8, &WmfReader::setPolyFillMode},
    {WmfRecord::SetStretchBltMode, "SETSTRETCHBLTMODE", 6, &WmfReader::ignore},
    {WmfRecord::SetTextCharExtra, "SETTEXTCHAREXTRA", 6, &WmfReader::ignore},
    {WmfRecord::SetTextColor, "SETTEXTCOLOR", 10, &WmfReader::setTextColor},
    {WmfRecord::SetTextJustification, "SETTEXTJUSTIFICATION", 6, &WmfReader::ignore},
    {WmfRecord::SetWindowOrg, "SETWINDOWORG", 10, &WmfReader::setWindowOrg},
    {WmfRecord::SetWindowExt, "SETWINDOWEXT", 10, &WmfReader::setWindowExt},
    {WmfRecord::SetViewportOrg, "SETVIEWPORTORG", 10, &WmfReader::setViewportOrg},
    {WmfRecord::SetViewportExt, "SETVIEWPORTEXT", 10, &WmfReader::setViewportExt},
    {WmfRecord::OffsetWindowOrg, "OFFSETWINDOWORG", 10, &WmfReader::offsetWindowOrg},
    {WmfRecord::ScaleWindowExt, "SCALEWINDOWEXT", 14, &WmfReader::scaleWindowExt},
    {WmfRecord::OffsetViewportOrg, "OFFSETVIEWPORTORG", 10, &WmfReader::offsetViewportOrg},
    {WmfRecord::ScaleViewportExt, "SCALEVIEWPORTEXT", 14, &WmfReader::scaleViewportExt},
    {WmfRecord::LineTo, "LINETO", 10, &WmfReader::lineTo},
    {WmfRecord::MoveTo, "MOVETO", 10, &WmfReader::moveTo},
    {WmfRecord::ExcludeClipRect, "EXCLUDECLIPRECT", 14, &WmfReader::excludeClip},
    {WmfRecord::IntersectClipRect, "INTERSECTCLIPRECT", 14, &WmfReader::intersectClip},
    {WmfRecord::Arc, "ARC", 22, &WmfReader::arc},
    {WmfRecord::Ellipse, "ELLIPSE", 14, &WmfReader::ellipse},
    {WmfRecord::Pie, "PIE", 22, &WmfReader::pie},
    {WmfRecord::Rectangle, "RECTANGLE", 14, &WmfReader::rectangle},
    {WmfRecord::RoundRect, "ROUNDRECT", 18, &WmfReader::roundRect},
    {WmfRecord::PatBlt, "PATBLT", 18, &WmfReader::patBlt},
    {WmfRecord::SaveDc, "SAVEDC", 6, &WmfReader::saveDc},
    {WmfRecord::SetPixel, "SETPIXEL", 14, &WmfReader::setPixel},
    {WmfRecord::OffsetClipRgn, "OFFSETCLIPRGN", 10, &WmfReader::offsetClip},
    {WmfRecord::TextOut, "TEXTOUT", 12, &WmfReader::textOut},
    {WmfRecord::Polygon, "POLYGON", 8, &WmfReader::polygon},
    {WmfRecord::Polyline, "POLYLINE", 8, &WmfReader::polyline},
    {WmfRecord::Escape, "ESCAPE", 10, &WmfReader::ignore},
    {WmfRecord::RestoreDc, "RESTOREDC", 8, &WmfReader::restoreDc},
    {WmfRecord::FillRegion, "FILLREGION", 10, &WmfReader::fillRegion},
    {WmfRecord::PaintRegion, "PAINTREGION", 8, &WmfReader::paintRegion},
    {WmfRecord::SelectClipRegion, "SELECTCLIPREGION", 8, &WmfReader::selectClipRegion},
    {WmfRecord::SelectObject, "SELECTOBJECT", 8, &WmfReader::selectObject},
    {WmfRecord::SetTextAlign, "SETTEXTALIGN", 8, &WmfReader::setTextAlign},
    {WmfRecord::Chord, "CHORD", 22, &WmfReader::chord},
    {WmfRecord::SetMapperFlags, "SETMAPPERFLAGS", 6, &WmfReader::ignore},
    {WmfRecord::ExtTextOut, "EXTTEXTOUT", 14, &WmfReader::extTextOut},
    {WmfRecord::SetDibToDev, "SETDIBTODEV", 24, &WmfReader::setDibToDev},
    {WmfRecord::SelectPalette, "SELECTPALETTE", 6, &WmfReader::ignore},
    {WmfRecord::RealizePalette, "REALIZEPALETTE", 6, &WmfReader::ignore},
    {WmfRecord::SetPalEntries, "SETPALENTRIES", 6, &WmfReader::ignore},
    {WmfRecord::PolyPolygon, "POLYPOLYGON", 8, &WmfReader::polyPolygon},
    {WmfRecord::ResizePalette, "RESIZEPALETTE", 6, &WmfReader::ignore},
    {WmfRecord::DibBitBlt, "DIBBITBLT", 22, &WmfReader::dibBitBlt},
    {WmfRecord::DibStretchBlt, "DIBSTRETCHBLT", 26, &WmfReader::dibStretchBlt},
    {WmfRecord::DibCreatePatternBrush, "DIBCREATEPATTERNBRUSH", 10,
     &WmfReader::dibCreatePatternBrush},
    {WmfRecord::StretchDib, "STRETCHDIB", 28, &WmfReader::stretchDib},
    {WmfRecord::SetLayout, "SETLAYOUT", 6, &WmfReader::ignore},
    {WmfRecord::DeleteObject, "DELETEOBJECT", 8, &WmfReader::deleteObject},
    {WmfRecord::CreatePalette, "CREATEPALETTE", 6, &WmfReader::createPalette},
    {WmfRecord::CreatePatternBrush, "CREATEPATTERNBRUSH", 6, &WmfReader::createPatternBrush},
    {WmfRecord::CreatePenIndirect, "CREATEPENINDIRECT", 16, &WmfReader::createPen},
    {WmfRecord::CreateFontIndirect, "CREATEFONTINDIRECT", 24, &WmfReader::createFont},
    {WmfRecord::CreateBrushIndirect, "CREATEBRUSHINDIRECT", 14, &WmfReader::createBrush},
    {WmfRecord::CreateRegion, "CREATEREGION", 26, &WmfReader::createRegion},
}};
// clang-format on

const WmfReader::RecordType* WmfReader::lookup(std::uint16_t id)
{
    // The low byte of a WMF function number is unique; the high byte hints its size.
    static const auto table = [] {
        std::array<const RecordType*, 256> byLowByte{};
        for (const RecordType& type : s_records)
            byLowByte[static_cast<std::uint16_t>(type.id) & 0xFF] = &type;
        return byLowByte;
    }();
    const RecordType* type = table[id & 0xFF];
    return type && static_cast<std::uint16_t>(type->id) == id ? type : nullptr;
}

void WmfReader::run(std::span<const std::uint8_t> bytes)
{
    ByteReader file(bytes);
    const std::uint16_t headerWords = file.u16At(2);
    const std::uint16_t objects = file.u16At(10);
    if (bytes.size() < 18 || headerWords < 9)
        return;
    m_gdi.setObjectTableSize(objects);
    std::size_t pos = std::size_t(headerWords) * 2;
    while (pos + 6 <= bytes.size()) {
        const std::uint64_t size = std::uint64_t(file.u32At(pos)) * 2;
        const std::uint16_t function = file.u16At(pos + 4);
        if (size < 6 || size > bytes.size() - pos) {
            qCDebug(lcMetafile) << "WMF: record" << Qt::hex << function << "has bad size" << size;
            break;
        }
        if (function == static_cast<std::uint16_t>(WmfRecord::Eof))
            break;
        const RecordType* type = lookup(function);
        if (!type) {
            qCDebug(lcMetafile) << "WMF: record" << Qt::hex << function << "not drawn";
        } else if (size < type->minSize) {
            qCDebug(lcMetafile) << "WMF:" << type->name << "too short:" << size;
        } else {
            ByteReader record(bytes.subspan(pos, std::size_t(size)));
            record.seek(6);
            m_function = function;
            (this->*type->handler)(record);
        }
        pos += std::size_t(size);
    }
}

std::optional<QPolygonF> WmfReader::points(ByteReader& r)
{
    const std::uint16_t count = r.u16();
    if (std::uint64_t(count) * 4 > r.remaining())
        return std::nullopt;
    QPolygonF poly;
    poly.reserve(count);
    for (std::uint16_t i = 0; i < count; ++i) {
        const double x = r.i16();
        poly.append(QPointF(x, r.i16()));
    }
    return poly;
}

void WmfReader::setBkMode(ByteReader& r)
{
    const std::uint16_t mode = r.u16();
    if (mode == gdi::transparent || mode == gdi::opaque)
        m_gdi.dc().bkMode = mode;
}

void WmfReader::setRop2(ByteReader& r)
{
    const std::uint16_t rop = r.u16();
    if (rop >= 1 && rop <= 16)
        m_gdi.dc().rop2 = rop;
}

void WmfReader::setPolyFillMode(ByteReader& r)
{
    const std::uint16_t mode = r.u16();
    if (mode == 1 || mode == 2)
        m_gdi.dc().polyFillMode = mode;
}

void WmfReader::scaleWindowExt(ByteReader& r)
{
    const double yDen = r.i16(), yNum = r.i16(), xDen = r.i16(), xNum = r.i16();
    m_gdi.scaleWindowExt(xNum, xDen, yNum, yDen);
}

void WmfReader::scaleViewportExt(ByteReader& r)
{
    const double yDen = r.i16(), yNum = r.i16(), xDen = r.i16(), xNum = r.i16();
    m_gdi.scaleViewportExt(xNum, xDen, yNum, yDen);
}

void WmfReader::arcAny(ByteReader& r, ArcKind kind)
{
    const QPointF end = readYX(r);
    const QPointF start = readYX(r);
    const QRectF box = readBottomRightTopLeft(r);
    m_gdi.arc(box, start, end, kind);
}

void WmfReader::roundRect(ByteReader& r)
{
    const double h = r.i16();
    const double w = r.i16();
    m_gdi.roundRect(readBottomRightTopLeft(r), QSizeF(w, h));
}

void WmfReader::patBlt(ByteReader& r)
{
    const std::uint32_t rop = r.u32();
    const double h = r.i16(), w = r.i16();
    const QPointF p = readYX(r);
    m_gdi.patBlt(QRectF(p.x(), p.y(), w, h), rop);
}

void WmfReader::setPixel(ByteReader& r)
{
    const QColor color = colorRef(r.u32());
    m_gdi.setPixel(readYX(r), color);
}

void WmfReader::textOut(ByteReader& r)
{
    const std::uint16_t length = r.u16();
    const std::uint64_t padded = (std::uint64_t(length) + 1) & ~std::uint64_t(1);
    if (padded + 4 > r.remaining())
        return;
    const auto raw = r.sliceAt(r.pos(), length);
    r.skip(std::size_t(padded));
    const QPointF p = readYX(r);
    const QString text = m_gdi.decodeText(
        QByteArray(reinterpret_cast<const char*>(raw.data()), qsizetype(raw.size())));
    m_gdi.text(p, text, {}, 0, QRectF());
}

void WmfReader::extTextOut(ByteReader& r)
{
    const QPointF p = readYX(r);
    const std::int16_t length = r.i16();
    const std::uint16_t options = r.u16();
    QRectF rect;
    if (options & (gdi::etoOpaque | gdi::etoClipped)) {
        const double left = r.i16(), top = r.i16(), right = r.i16(), bottom = r.i16();
        rect = QRectF(QPointF(left, top), QPointF(right, bottom));
    }
    if (length < 0 || std::uint64_t(length) > r.remaining())
        return;
    const auto raw = r.sliceAt(r.pos(), std::uint64_t(length));
    r.skip((std::size_t(length) + 1) & ~std::size_t(1));
    const QString text = m_gdi.decodeText(
        QByteArray(reinterpret_cast<const char*>(raw.data()), qsizetype(raw.size())));
    std::vector<double> dx;
    if (r.remaining() >= std::size_t(length) * 2 && text.size() == length) {
        for (int i = 0; i < length; ++i)
            dx.push_back(r.i16());
    }
    m_gdi.text(p, text, dx, options, rect);
}

void WmfReader::polyPolygon(ByteReader& r)
{
    const std::uint16_t polys = r.u16();
    if (std::uint64_t(polys) * 2 > r.remaining())
        return;
    std::vector<std::uint16_t> counts(polys);
    std::uint64_t total = 0;
    for (auto& c : counts) {
        c = r.u16();
        total += c;
    }
    if (total * 4 > r.remaining())
        return;
    std::vector<QPolygonF> result(polys);
    for (std::size_t p = 0; p < polys; ++p) {
        for (std::uint16_t i = 0; i < counts[p]; ++i) {
            const double x = r.i16();
            result[p].append(QPointF(x, r.i16()));
        }
    }
    m_gdi.polyPolygon(result);
}

// ---- objects -------------------------------------------------------------------------------

void WmfReader::placeholder(GdiObject::Kind kind)
{
    GdiObject obj;
    obj.kind = kind;
    m_gdi.storeObjectInFreeSlot(std::move(obj));
}

void WmfReader::createPen(ByteReader& r)
{
    GdiObject obj;
    obj.kind = GdiObject::Kind::Pen;
    obj.pen.style = r.u16() & 0x0F;
    obj.pen.width = std::abs(r.i16());
    r.i16();
    obj.pen.color = colorRef(r.u32());
    m_gdi.storeObjectInFreeSlot(std::move(obj));
}

void WmfReader::createBrush(ByteReader& r)
{
    GdiObject obj;
    obj.kind = GdiObject::Kind::Brush;
    obj.brush.style = r.u16();
    obj.brush.color = colorRef(r.u32());
    obj.brush.hatch = r.u16();
    if (obj.brush.style != gdi::bsSolid && obj.brush.style != gdi::bsNull &&
        obj.brush.style != gdi::bsHatched)
        obj.brush.style = gdi::bsSolid;
    m_gdi.storeObjectInFreeSlot(std::move(obj));
}

void WmfReader::createFont(ByteReader& r)
{
    GdiObject obj;
    obj.kind = GdiObject::Kind::Font;
    FontSpec& f = obj.font;
    f.height = r.i16();
    f.width = r.i16();
    f.escapement = r.i16() % 3600;
    r.i16();
    f.weight = r.i16();
    f.italic = r.u8() != 0;
    f.underline = r.u8() != 0;
    f.strikeOut = r.u8() != 0;
    f.charset = r.u8();
    r.skip(3);
    f.pitchAndFamily = r.u8();
    QByteArray face;
    while (r.remaining() > 0 && face.size() < 32) {
        const char c = static_cast<char>(r.u8());
        if (c == 0)
            break;
        face.append(c);
    }
    f.face = QString::fromLatin1(face);
    m_gdi.storeObjectInFreeSlot(std::move(obj));
}

void WmfReader::createPatternBrush(ByteReader&)
{
    GdiObject obj;
    obj.kind = GdiObject::Kind::Brush;
    obj.brush.style = gdi::bsSolid;
    obj.brush.color = Qt::gray;
    m_gdi.storeObjectInFreeSlot(std::move(obj));
}

void WmfReader::dibCreatePatternBrush(ByteReader& r)
{
    const std::uint16_t style = r.u16();
    const std::uint16_t usage = r.u16();
    GdiObject obj;
    obj.kind = GdiObject::Kind::Brush;
    obj.brush.style = gdi::bsDibPatternPt;
    obj.brush.color = Qt::gray;
    if (style != gdi::bsPattern)
        obj.brush.pattern = decodePackedDib(r.sliceAt(r.pos(), r.remaining()), usage).image;
    m_gdi.storeObjectInFreeSlot(std::move(obj));
}

void WmfReader::createRegion(ByteReader& r)
{
    r.skip(10); // next in chain, object type, object count, region size
    const std::uint16_t scans = r.u16();
    r.skip(2 + 8); // max scan, bounding box
    GdiObject obj;
    obj.kind = GdiObject::Kind::Region;
    QPainterPath path;
    int rects = 0;
    QRectF single;
    for (std::uint16_t s = 0; s < scans && r.ok(); ++s) {
        const std::uint16_t count = r.u16();
        const double top = r.i16();
        const double bottom = r.i16();
        if (std::uint64_t(count) * 2 + 2 > r.remaining())
            break;
        for (std::uint16_t i = 0; i + 1 < count; i += 2) {
            const double left = r.i16();
            const double right = r.i16();
            single = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
            path.addRect(single);
            ++rects;
        }
        r.u16();
    }
    obj.region.isRect = rects == 1;
    obj.region.rect = single;
    obj.region.path = rects > 1 ? path.simplified() : path;
    m_gdi.storeObjectInFreeSlot(std::move(obj));
}

std::optional<ClipShape> WmfReader::regionToDevice(std::uint16_t index)
{
    const GdiObject* obj = m_gdi.object(index);
    if (!obj || obj->kind != GdiObject::Kind::Region)
        return std::nullopt;
    QPainterPath p;
    if (obj->region.isRect)
        p.addRect(obj->region.rect);
    else
        p = obj->region.path;
    ClipShape shape;
    shape.path = m_gdi.logicalToDevice().map(p);
    return shape;
}

void WmfReader::fillRegion(ByteReader& r)
{
    const std::uint16_t region = r.u16();
    const std::uint16_t brush = r.u16();
    const auto shape = regionToDevice(region);
    const GdiObject* b = m_gdi.object(brush);
    if (shape && b && b->kind == GdiObject::Kind::Brush)
        m_gdi.fillRegion(*shape, b->brush);
}

void WmfReader::paintRegion(ByteReader& r)
{
    if (const auto shape = regionToDevice(r.u16()))
        m_gdi.fillRegion(*shape, m_gdi.dc().brush);
}

void WmfReader::selectClipRegion(ByteReader& r)
{
    const std::uint16_t index = r.u16();
    const auto shape = regionToDevice(index);
    m_gdi.selectClipRegion(shape ? &*shape : nullptr, gdi::rgnCopy);
}

// ---- bitmaps -------------------------------------------------------------------------------

void WmfReader::drawDib(std::span<const std::uint8_t> packed, std::uint32_t usage,
                        const QRectF& dest, QPointF src, QSizeF srcSize, std::uint32_t rop)
{
    const DecodedDib dib = decodePackedDib(packed, usage);
    if (dib.image.isNull())
        return;
    QRectF source(src, srcSize);
    if (dib.bottomUp)
        source.moveTop(dib.image.height() - src.y() - srcSize.height());
    m_gdi.image(dest, dib.image, source.normalized(), rop);
}

void WmfReader::stretchDib(ByteReader& r)
{
    const std::uint32_t rop = r.u32();
    const std::uint16_t usage = r.u16();
    const double srcH = r.i16(), srcW = r.i16(), ySrc = r.i16(), xSrc = r.i16();
    const double h = r.i16(), w = r.i16(), y = r.i16(), x = r.i16();
    drawDib(r.sliceAt(r.pos(), r.remaining()), usage, QRectF(x, y, w, h), QPointF(xSrc, ySrc),
            QSizeF(srcW, srcH), rop);
}

bool WmfReader::patBltWithoutBitmap(ByteReader& r, std::uint32_t rop)
{
    // The record's size tells whether a bitmap follows; without one the brush paints.
    if (r.size() / 2 != std::size_t(m_function >> 8) + 3)
        return false;
    r.u16();
    const double h = r.i16(), w = r.i16(), y = r.i16(), x = r.i16();
    m_gdi.patBlt(QRectF(x, y, w, h), rop);
    return true;
}

void WmfReader::dibStretchBlt(ByteReader& r)
{
    const std::uint32_t rop = r.u32();
    if (patBltWithoutBitmap(r, rop))
        return;
    const double srcH = r.i16(), srcW = r.i16(), ySrc = r.i16(), xSrc = r.i16();
    const double h = r.i16(), w = r.i16(), y = r.i16(), x = r.i16();
    drawDib(r.sliceAt(r.pos(), r.remaining()), 0, QRectF(x, y, w, h), QPointF(xSrc, ySrc),
            QSizeF(srcW, srcH), rop);
}

void WmfReader::dibBitBlt(ByteReader& r)
{
    const std::uint32_t rop = r.u32();
    if (patBltWithoutBitmap(r, rop))
        return;
    const double ySrc = r.i16(), xSrc = r.i16();
    const double h = r.i16(), w = r.i16(), y = r.i16(), x = r.i16();
    drawDib(r.sliceAt(r.pos(), r.remaining()), 0, QRectF(x, y, w, h), QPointF(xSrc, ySrc),
            QSizeF(w, h), rop);
}

void WmfReader::setDibToDev(ByteReader& r)
{
    const std::uint16_t usage = r.u16();
    r.skip(4); // scan count, start scan
    const double ySrc = r.i16(), xSrc = r.i16();
    const double h = r.i16(), w = r.i16(), y = r.i16(), x = r.i16();
    drawDib(r.sliceAt(r.pos(), r.remaining()), usage, QRectF(x, y, w, h), QPointF(xSrc, ySrc),
            QSizeF(w, h), 0x00CC0020);
}

} // namespace

void readWmfRecords(std::span<const std::uint8_t> bytes, DisplayList& list,
                    const DeviceInfo& device)
{
    WmfReader reader(list, device);
    reader.run(bytes);
}

} // namespace vembra::metafile
