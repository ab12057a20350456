#pragma once

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

namespace vembra::sample {

// A colour as the metafile stores it: 0x00BBGGRR.
constexpr std::uint32_t rgb(int r, int g, int b)
{
    return std::uint32_t(r & 0xFF) | (std::uint32_t(g & 0xFF) << 8) |
           (std::uint32_t(b & 0xFF) << 16);
}

// Writes an enhanced metafile of the records our drawings need. Coordinates are logical units,
// one per pixel of the picture (MM_TEXT). Objects are created into numbered handles that the
// caller selects and deletes.
class EmfWriter {
public:
    // A picture of width x height pixels on a reference device of 1024 x 768 pixels, 320 x 240 mm.
    EmfWriter(int width, int height);

    std::uint32_t createPen(int style, int width, std::uint32_t colour);
    std::uint32_t createBrush(int style, std::uint32_t colour, int hatch = 0);
    // A font of the given character height in pixels (negative in the record), weight and charset.
    std::uint32_t createFont(const QString& face, int height, int weight = 400, int escapement = 0,
                             std::uint8_t charset = 0);
    void selectObject(std::uint32_t handle);
    void deleteObject(std::uint32_t handle);
    void selectStock(int index) { selectObject(0x80000000u | std::uint32_t(index)); }

    void setBkMode(int mode);
    void setTextColour(std::uint32_t colour);
    void setTextAlign(int align);
    void polygon(const std::vector<QPoint>& points);
    void polyline(const std::vector<QPoint>& points);
    void rectangle(const QRect& box);
    void ellipse(const QRect& box);
    // UTF-16 text at a point, as laid out by the font.
    void textOut(const QPoint& at, const QString& text);

    // The finished metafile: header, records, end of file.
    QByteArray finish();

    // Stock objects and modes used by our drawings.
    static constexpr int kNullBrush = 5;
    static constexpr int kNullPen = 8;
    static constexpr int kTransparent = 1;
    static constexpr int kTextBaselineCentre = 24 | 6;
    static constexpr int kTextTopLeft = 0;
    static constexpr int kPenSolid = 0;
    static constexpr int kPenDash = 1;
    static constexpr int kPenDot = 2;

private:
    void record(std::uint32_t type, const QByteArray& payload);
    void poly(std::uint32_t type, const std::vector<QPoint>& points);
    void include(const QRect& box);
    std::uint32_t allocateHandle();

    int m_width;
    int m_height;
    QByteArray m_records;
    std::uint32_t m_recordCount = 0;
    std::uint32_t m_nextHandle = 1;
    std::uint32_t m_maxHandle = 0;
    std::vector<std::uint32_t> m_freeHandles;
    QRect m_bounds;
};

} // namespace vembra::sample
