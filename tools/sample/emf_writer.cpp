#include "tools/sample/emf_writer.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace vembra::sample {

namespace {

// Little-endian appenders.
void u32(QByteArray& out, std::uint32_t v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void i32(QByteArray& out, std::int32_t v)
{
    u32(out, static_cast<std::uint32_t>(v));
}

void u16(QByteArray& out, std::uint16_t v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void f32(QByteArray& out, float v)
{
    std::uint32_t bits;
    static_assert(sizeof bits == sizeof v);
    std::memcpy(&bits, &v, sizeof bits);
    u32(out, bits);
}

void rectl(QByteArray& out, const QRect& r)
{
    i32(out, r.left());
    i32(out, r.top());
    i32(out, r.right());
    i32(out, r.bottom());
}

void pad4(QByteArray& out)
{
    while (out.size() % 4)
        out.append('\0');
}

std::int16_t clamp16(int v)
{
    return static_cast<std::int16_t>(std::clamp(v, -32768, 32767));
}

constexpr std::uint32_t kHeader = 1;
constexpr std::uint32_t kPolygon16 = 86;
constexpr std::uint32_t kPolyline16 = 87;
constexpr std::uint32_t kEof = 14;
constexpr std::uint32_t kSetBkMode = 18;
constexpr std::uint32_t kSetTextAlign = 22;
constexpr std::uint32_t kSetTextColor = 24;
constexpr std::uint32_t kSelectObject = 37;
constexpr std::uint32_t kCreatePen = 38;
constexpr std::uint32_t kCreateBrushIndirect = 39;
constexpr std::uint32_t kDeleteObject = 40;
constexpr std::uint32_t kEllipse = 42;
constexpr std::uint32_t kRectangle = 43;
constexpr std::uint32_t kExtCreateFontIndirectW = 82;
constexpr std::uint32_t kExtTextOutW = 84;

constexpr int kDeviceWidthPx = 1024;
constexpr int kDeviceHeightPx = 768;
constexpr int kDeviceWidthMm = 320;
constexpr int kDeviceHeightMm = 240;

} // namespace

EmfWriter::EmfWriter(int width, int height) : m_width(width), m_height(height)
{
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("a metafile needs a positive size");
}

void EmfWriter::record(std::uint32_t type, const QByteArray& payload)
{
    u32(m_records, type);
    u32(m_records, static_cast<std::uint32_t>(8 + payload.size()));
    m_records.append(payload);
    ++m_recordCount;
}

std::uint32_t EmfWriter::allocateHandle()
{
    // A freed slot is used again before a new one, as players expect of a compact table.
    std::uint32_t handle = m_nextHandle;
    if (!m_freeHandles.empty()) {
        handle = m_freeHandles.back();
        m_freeHandles.pop_back();
    } else {
        ++m_nextHandle;
    }
    m_maxHandle = std::max(m_maxHandle, handle);
    return handle;
}

void EmfWriter::include(const QRect& box)
{
    m_bounds = m_bounds.isNull() ? box : m_bounds.united(box);
}

std::uint32_t EmfWriter::createPen(int style, int width, std::uint32_t colour)
{
    const std::uint32_t handle = allocateHandle();
    QByteArray p;
    u32(p, handle);
    u32(p, static_cast<std::uint32_t>(style));
    i32(p, width);
    i32(p, 0);
    u32(p, colour);
    record(kCreatePen, p);
    return handle;
}

std::uint32_t EmfWriter::createBrush(int style, std::uint32_t colour, int hatch)
{
    const std::uint32_t handle = allocateHandle();
    QByteArray p;
    u32(p, handle);
    u32(p, static_cast<std::uint32_t>(style));
    u32(p, colour);
    u32(p, static_cast<std::uint32_t>(hatch));
    record(kCreateBrushIndirect, p);
    return handle;
}

std::uint32_t EmfWriter::createFont(const QString& face, int height, int weight, int escapement,
                                    std::uint8_t charset)
{
    const std::uint32_t handle = allocateHandle();
    QByteArray p;
    u32(p, handle);
    i32(p, -height);    // negative: the character height
    i32(p, 0);          // width
    i32(p, escapement); // tenths of a degree
    i32(p, escapement); // orientation
    i32(p, weight);
    p.append(char(0)); // italic
    p.append(char(0)); // underline
    p.append(char(0)); // strike-out
    p.append(char(charset));
    p.append(char(0)); // out precision
    p.append(char(0)); // clip precision
    p.append(char(4)); // quality: antialiased
    p.append(char(0)); // pitch and family
    for (int i = 0; i < 32; ++i)
        u16(p, i < face.size() ? face.at(i).unicode() : 0);
    record(kExtCreateFontIndirectW, p);
    return handle;
}

void EmfWriter::selectObject(std::uint32_t handle)
{
    QByteArray p;
    u32(p, handle);
    record(kSelectObject, p);
}

void EmfWriter::deleteObject(std::uint32_t handle)
{
    QByteArray p;
    u32(p, handle);
    record(kDeleteObject, p);
    m_freeHandles.push_back(handle);
}

void EmfWriter::setBkMode(int mode)
{
    QByteArray p;
    u32(p, static_cast<std::uint32_t>(mode));
    record(kSetBkMode, p);
}

void EmfWriter::setTextColour(std::uint32_t colour)
{
    QByteArray p;
    u32(p, colour);
    record(kSetTextColor, p);
}

void EmfWriter::setTextAlign(int align)
{
    QByteArray p;
    u32(p, static_cast<std::uint32_t>(align));
    record(kSetTextAlign, p);
}

void EmfWriter::poly(std::uint32_t type, const std::vector<QPoint>& points)
{
    if (points.empty())
        return;
    int left = points[0].x(), right = left, top = points[0].y(), bottom = top;
    for (const QPoint& pt : points) {
        left = std::min(left, pt.x());
        right = std::max(right, pt.x());
        top = std::min(top, pt.y());
        bottom = std::max(bottom, pt.y());
    }
    const QRect box(QPoint(left, top), QPoint(right, bottom));
    include(box);
    QByteArray p;
    rectl(p, box);
    u32(p, static_cast<std::uint32_t>(points.size()));
    for (const QPoint& pt : points) {
        u16(p, static_cast<std::uint16_t>(clamp16(pt.x())));
        u16(p, static_cast<std::uint16_t>(clamp16(pt.y())));
    }
    pad4(p);
    record(type, p);
}

void EmfWriter::polygon(const std::vector<QPoint>& points)
{
    poly(kPolygon16, points);
}

void EmfWriter::polyline(const std::vector<QPoint>& points)
{
    poly(kPolyline16, points);
}

void EmfWriter::rectangle(const QRect& box)
{
    include(box);
    QByteArray p;
    rectl(p, box);
    record(kRectangle, p);
}

void EmfWriter::ellipse(const QRect& box)
{
    include(box);
    QByteArray p;
    rectl(p, box);
    record(kEllipse, p);
}

void EmfWriter::textOut(const QPoint& at, const QString& text)
{
    const auto chars = static_cast<std::uint32_t>(text.size());
    QByteArray p;
    // Bounds are left empty (0, 0, -1, -1): the player lays the text out with the font.
    rectl(p, QRect(QPoint(0, 0), QPoint(-1, -1)));
    u32(p, 1);      // graphics mode: compatible
    f32(p, 0.0f);   // x scale
    f32(p, 0.0f);   // y scale
    i32(p, at.x()); // reference point
    i32(p, at.y());
    u32(p, chars);
    const std::uint32_t stringOffset = 8 + 16 + 12 + 40;
    u32(p, stringOffset);
    u32(p, 0); // options
    rectl(p, QRect(QPoint(0, 0), QPoint(-1, -1)));
    u32(p, 0); // no spacing array
    for (const QChar c : text)
        u16(p, c.unicode());
    pad4(p);
    record(kExtTextOutW, p);
}

QByteArray EmfWriter::finish()
{
    QByteArray eof;
    u32(eof, 0);
    u32(eof, 16);
    u32(eof, 20);
    QByteArray records = m_records;
    u32(records, kEof);
    u32(records, 20);
    records.append(eof);

    constexpr std::uint32_t headerSize = 108;
    QByteArray h;
    u32(h, kHeader);
    u32(h, headerSize);
    const QRect bounds = m_bounds.isNull() ? QRect(0, 0, 1, 1) : m_bounds;
    rectl(h, bounds);
    // The frame in hundredths of a millimetre, so that the picture measures width x height.
    const QRect frame(
        QPoint(0, 0),
        QPoint(int(std::int64_t(m_width) * kDeviceWidthMm * 100 / kDeviceWidthPx),
               int(std::int64_t(m_height) * kDeviceHeightMm * 100 / kDeviceHeightPx)));
    rectl(h, frame);
    u32(h, 0x464D4520);
    u32(h, 0x10000);
    u32(h, static_cast<std::uint32_t>(headerSize + records.size()));
    u32(h, m_recordCount + 2);
    u16(h, static_cast<std::uint16_t>(m_maxHandle + 1));
    u16(h, 0);
    u32(h, 0); // description
    u32(h, 0);
    u32(h, 0); // palette entries
    i32(h, kDeviceWidthPx);
    i32(h, kDeviceHeightPx);
    i32(h, kDeviceWidthMm);
    i32(h, kDeviceHeightMm);
    u32(h, 0); // pixel format
    u32(h, 0);
    u32(h, 0); // no OpenGL
    i32(h, kDeviceWidthMm * 1000);
    i32(h, kDeviceHeightMm * 1000);
    return h + records;
}

} // namespace vembra::sample
