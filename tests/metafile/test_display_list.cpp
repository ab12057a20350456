// The display list built from small hand-made records: device-context state, the object table,
// record validation, mapping, text, bitmaps and the spatial index.
#include "platform/metafile/metafile_picture.h"
#include "tests/metafile/emf_writer.h"

#include <QImage>
#include <QPainter>
#include <QStringList>

#include <gtest/gtest.h>

#include <ostream>

#include <functional>
#include <string>

namespace {

using vembra::metafile::Picture;
using vembra::test::EmfWriter;
using vembra::test::WmfWriter;
using Bytes = std::vector<std::uint8_t>;

// EMF record types used below.
enum : std::uint32_t {
    PolylineRec = 4,
    SetWindowExt = 9,
    SetViewportExt = 11,
    SetMapMode = 17,
    SetBkMode = 18,
    SetRop2 = 20,
    SetTextColor = 24,
    MoveTo = 27,
    IntersectClip = 30,
    SaveDc = 33,
    RestoreDc = 34,
    SelectObject = 37,
    CreatePen = 38,
    CreateBrush = 39,
    DeleteObject = 40,
    Ellipse = 42,
    Rectangle = 43,
    LineTo = 54,
    Comment = 70,
    StretchDiBits = 81,
    ExtCreateFont = 82,
    ExtTextOutA = 83
};

constexpr std::int64_t red = 0x0000FF, blue = 0xFF0000, green = 0x00FF00;

QStringList dumpLines(const Bytes& bytes)
{
    Picture picture;
    EXPECT_TRUE(picture.loadFromData(bytes));
    const QString dump = picture.dump();
    return dump.isEmpty() ? QStringList() : dump.split(QLatin1Char('\n'));
}

struct DumpCase {
    const char* name;
    std::function<void(EmfWriter&)> records;
    std::vector<const char*> expected; // each a fragment of the line with the same index
};

void PrintTo(const DumpCase& dumpCase, std::ostream* out)
{
    *out << dumpCase.name;
}

class EmfDump : public ::testing::TestWithParam<DumpCase> {};

TEST_P(EmfDump, ListsTheExpectedItems)
{
    EmfWriter emf;
    GetParam().records(emf);
    const QStringList lines = dumpLines(emf.bytes());
    ASSERT_EQ(lines.size(), qsizetype(GetParam().expected.size()))
        << lines.join(u'\n').toStdString();
    for (std::size_t i = 0; i < GetParam().expected.size(); ++i)
        EXPECT_TRUE(lines[qsizetype(i)].contains(QString::fromUtf8(GetParam().expected[i])))
            << "line " << i << ": " << lines[qsizetype(i)].toStdString() << "\nwanted "
            << GetParam().expected[i];
}

void redAndBluePens(EmfWriter& e)
{
    e.record(CreatePen, {1, 0, 0, 0, red}).record(CreatePen, {2, 0, 0, 0, blue});
}

const DumpCase dumpCases[] = {
    {"restore_relative_brings_back_the_saved_pen",
     [](EmfWriter& e) {
         redAndBluePens(e);
         e.record(SelectObject, {1}).record(SaveDc, {}).record(SelectObject, {2});
         e.record(Rectangle, {0, 0, 10, 10}).record(RestoreDc, {-1});
         e.record(Rectangle, {0, 0, 10, 10});
     },
     {"pen=solid #0000ff", "pen=solid #ff0000"}},
    {"restore_absolute_and_bad_indexes",
     [](EmfWriter& e) {
         redAndBluePens(e);
         e.record(SelectObject, {1}).record(SaveDc, {}).record(SaveDc, {});
         e.record(SelectObject, {2});
         e.record(RestoreDc, {5}).record(RestoreDc, {-3}).record(RestoreDc, {0}); // all ignored
         e.record(Rectangle, {0, 0, 10, 10});
         e.record(RestoreDc, {1}).record(Rectangle, {0, 0, 10, 10});
         e.record(RestoreDc, {-1}).record(Rectangle, {0, 0, 10, 10}); // stack empty: ignored
     },
     {"pen=solid #0000ff", "pen=solid #ff0000", "pen=solid #ff0000"}},
    {"object_table_bad_indexes_are_ignored",
     [](EmfWriter& e) {
         redAndBluePens(e);
         e.record(SelectObject, {1});
         e.record(SelectObject, {9999}).record(SelectObject, {0x7FFFFFF0});
         e.record(CreatePen, {70000, 0, 0, 0, green}).record(SelectObject, {70000});
         e.record(DeleteObject, {123456});
         e.record(Rectangle, {0, 0, 10, 10});
         e.record(DeleteObject, {2}).record(SelectObject, {2}); // deleted: ignored
         e.record(Rectangle, {0, 0, 10, 10});
     },
     {"pen=solid #ff0000", "pen=solid #ff0000"}},
    {"stock_objects",
     [](EmfWriter& e) {
         e.record(SelectObject, {0x80000005}).record(SelectObject, {0x80000008});
         e.record(Rectangle, {0, 0, 10, 10}); // NULL pen and NULL brush: nothing drawn
         e.record(SelectObject, {0x80000001}).record(SelectObject, {0x80000007});
         e.record(Rectangle, {0, 0, 10, 10});
     },
     {"pen=solid #000000 w=1px brush=solid #c0c0c0"}},
    {"short_record_skipped_without_losing_step",
     [](EmfWriter& e) {
         e.rawRecord(LineTo, 12, {5}); // LINETO needs 16 bytes
         e.record(Rectangle, {0, 0, 10, 10});
     },
     {"polygon n=4"}},
    {"record_size_not_a_multiple_of_four_ends_the_list",
     [](EmfWriter& e) {
         e.record(Rectangle, {0, 0, 10, 10});
         e.rawRecord(Rectangle, 26, {0, 0, 10, 10});
         e.record(Rectangle, {0, 0, 20, 20});
     },
     {"polygon n=4 pen=solid #000000 w=1px brush=solid #ffffff bounds=-2,-2,12,12"}},
    {"unknown_records_and_emf_plus_comments_are_skipped",
     [](EmfWriter& e) {
         e.record(Comment, {8, 0x2B464D45, 0x4001, 0}); // "EMF+" header-like comment
         e.record(107, {1, 2, 3});                      // no such record
         e.record(LineTo, {5, 5});
     },
     {"polyline n=2"}},
    {"anisotropic_mapping_scales_into_device_units",
     [](EmfWriter& e) {
         e.record(SetMapMode, {8}).record(SetWindowExt, {1000, 1000});
         e.record(SetViewportExt, {100, 200});
         e.record(SelectObject, {0x80000008});
         e.record(Rectangle, {0, 0, 500, 500});
     },
     {"bounds=0,0,50,100"}},
    {"metric_mapping_turns_y_up",
     [](EmfWriter& e) {
         e.record(SetMapMode, {2}); // MM_LOMETRIC: 0.1 mm, device 10 px per mm
         e.record(SelectObject, {0x80000008});
         e.record(Rectangle, {0, 0, 100, -50});
     },
     {"bounds=0,0,100,50"}},
    {"clip_rectangle_and_raster_operations",
     [](EmfWriter& e) {
         e.record(IntersectClip, {0, 0, 50, 50});
         e.record(SetRop2, {11}).record(Rectangle, {0, 0, 10, 10}); // R2_NOP draws nothing
         e.record(SetRop2, {7}).record(Rectangle, {0, 0, 10, 10});  // R2_XORPEN
         e.record(SetRop2, {1}).record(Rectangle, {0, 0, 10, 10});  // R2_BLACK
     },
     {"clip=0,0,50,50 rop=", "pen=solid #000000 w=1px brush=solid #000000"}},
    {"empty_clip_drops_items",
     [](EmfWriter& e) {
         e.record(IntersectClip, {0, 0, 50, 50}).record(IntersectClip, {60, 60, 80, 80});
         e.record(Rectangle, {0, 0, 100, 100});
     },
     {}},
    {"huge_counts_are_refused",
     [](EmfWriter& e) {
         e.record(PolylineRec, {0, 0, 0, 0, 0x40000000, 1, 2, 3, 4}); // count past the record
         e.record(Ellipse, {0, 0, 10, 10});
     },
     {"path"}},
};

INSTANTIATE_TEST_SUITE_P(Records, EmfDump, ::testing::ValuesIn(dumpCases),
                         [](const auto& param) { return std::string(param.param.name); });

// EXTCREATEFONTINDIRECTW body: index, LOGFONTW with the given height, charset and face.
std::vector<std::uint8_t> fontRecord(std::uint32_t index, std::int32_t height, std::uint8_t charset,
                                     const std::u16string& face)
{
    vembra::test::LittleEndianBytes b;
    b.u32(index);
    b.i32(height);
    b.i32(0);
    b.i32(0);
    b.i32(0);
    b.i32(400);
    b.u8(0);
    b.u8(0);
    b.u8(0);
    b.u8(charset);
    b.u32(0);
    for (std::size_t i = 0; i < 32; ++i)
        b.u16(i < face.size() ? face[i] : 0);
    return b.data();
}

// EXTTEXTOUTA body with single-byte text and, optionally, spacing.
std::vector<std::uint8_t> ansiTextRecord(const std::vector<std::uint8_t>& text, bool withDx)
{
    vembra::test::LittleEndianBytes b;
    for (int i = 0; i < 4; ++i)
        b.i32(0); // bounds
    b.u32(1);     // GM_COMPATIBLE
    b.u32(0);
    b.u32(0);
    b.i32(100); // reference point
    b.i32(200);
    b.u32(static_cast<std::uint32_t>(text.size()));
    const std::uint32_t offString = 8 + 68;
    b.u32(offString);
    b.u32(0); // options
    for (int i = 0; i < 4; ++i)
        b.i32(0);
    const std::uint32_t padded = static_cast<std::uint32_t>((text.size() + 3) / 4 * 4);
    b.u32(withDx ? offString + padded : 0);
    b.bytes(text);
    while ((b.data().size() + 8) % 4 != 0)
        b.u8(0);
    if (withDx)
        for (std::size_t i = 0; i < text.size(); ++i)
            b.i32(30);
    return b.data();
}

TEST(EmfText, SingleByteTextIsDecodedByTheFontCharset)
{
    struct Case {
        std::uint8_t charset;
        std::vector<std::uint8_t> bytes;
        const char16_t* expected;
    };
    const Case cases[] = {
        {204, {0xCF, 0xF0, 0xE8}, u"При"},      // RUSSIAN_CHARSET: cp1251
        {0, {0x43, 0x61, 0x66, 0xE9}, u"Café"}, // ANSI_CHARSET: cp1252
        {0, {0x80}, u"€"},
    };
    for (const Case& c : cases) {
        EmfWriter emf;
        emf.recordBytes(ExtCreateFont, fontRecord(1, -20, c.charset, u"Arial"));
        emf.record(SelectObject, {1});
        emf.recordBytes(ExtTextOutA, ansiTextRecord(c.bytes, false));
        const QStringList lines = dumpLines(emf.bytes());
        ASSERT_EQ(lines.size(), 1);
        const QString want = QStringLiteral("text \"%1\"").arg(QString::fromUtf16(c.expected));
        EXPECT_TRUE(lines[0].startsWith(want)) << lines[0].toStdString();
        EXPECT_TRUE(lines[0].contains(QStringLiteral("font=\"Liberation Sans\"")))
            << lines[0].toStdString();
    }
}

TEST(EmfText, SpacingArrayPlacesTheCharacters)
{
    // Three characters 30 units apart, drawn from x = 100 with left alignment: the text's
    // bounds run from about 100 to 190 whatever the glyph widths.
    EmfWriter emf;
    emf.recordBytes(ExtCreateFont, fontRecord(1, -20, 0, u"Courier New"));
    emf.record(SelectObject, {1}).record(SetBkMode, {1});
    emf.recordBytes(ExtTextOutA, ansiTextRecord({'i', 'i', 'i'}, true));
    const QStringList lines = dumpLines(emf.bytes());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("font=\"Liberation Mono\"")));
    const QString bounds = lines[0].section(QStringLiteral("bounds="), 1).section(u' ', 0, 0);
    const QStringList edges = bounds.split(u',');
    ASSERT_EQ(edges.size(), 4);
    EXPECT_NEAR(edges[0].toInt(), 100, 3);
    EXPECT_NEAR(edges[2].toInt(), 190, 3);
}

// STRETCHDIBITS of a 2 x 2 bitmap across the rectangle (0, 0)-(100, 100).
std::vector<std::uint8_t> stretchDiBits(std::uint16_t bitCount, std::uint32_t headerSize,
                                        const std::vector<std::uint8_t>& palette,
                                        const std::vector<std::uint8_t>& bits)
{
    vembra::test::LittleEndianBytes b;
    for (int i = 0; i < 4; ++i)
        b.i32(0);
    b.i32(0); // xDest
    b.i32(0);
    b.i32(0); // xSrc
    b.i32(0);
    b.i32(2); // cxSrc
    b.i32(2);
    const std::uint32_t offBmi = 80;
    const std::uint32_t cbBmi = 40 + static_cast<std::uint32_t>(palette.size());
    b.u32(offBmi);
    b.u32(cbBmi);
    b.u32(offBmi + cbBmi);
    b.u32(static_cast<std::uint32_t>(bits.size()));
    b.u32(0);          // DIB_RGB_COLORS
    b.u32(0x00CC0020); // SRCCOPY
    b.i32(100);
    b.i32(100);
    b.u32(headerSize);
    b.i32(2);
    b.i32(2); // bottom-up
    b.u16(1);
    b.u16(bitCount);
    for (int i = 0; i < 6; ++i)
        b.u32(0);
    b.bytes(palette);
    b.bytes(bits);
    return b.data();
}

TEST(EmfBitmaps, DibsOfEveryDepthAreDecodedBottomUp)
{
    // Bottom row (stored first): red, green; top row: blue, white.
    struct Case {
        const char* name;
        std::uint16_t bitCount;
        std::vector<std::uint8_t> palette, bits;
    };
    const std::vector<std::uint8_t> pal = {0,   0, 255, 0, 0,   255, 0,   0,
                                           255, 0, 0,   0, 255, 255, 255, 0};
    const Case cases[] = {
        {"24bpp", 24, {}, {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0}},
        {"32bpp", 32, {}, {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0}},
        {"8bpp", 8, pal, {0, 1, 0, 0, 2, 3, 0, 0}},
        {"4bpp", 4, pal, {0x01, 0, 0, 0, 0x23, 0, 0, 0}},
        {"16bpp", 16, {}, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0xFF, 0x7F}},
    };
    for (const Case& c : cases) {
        EmfWriter emf;
        emf.recordBytes(StretchDiBits, stretchDiBits(c.bitCount, 40, c.palette, c.bits));
        Picture picture;
        ASSERT_TRUE(picture.loadFromData(emf.bytes()));
        ASSERT_TRUE(picture.dump().startsWith(QStringLiteral("image 2x2"))) << c.name;
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        picture.draw(painter, QRectF(0, 0, 1000, 1000)); // frame is 1000 device pixels
        painter.end();
        EXPECT_EQ(QColor(image.pixel(10, 90)), QColor(Qt::red)) << c.name;
        EXPECT_EQ(QColor(image.pixel(90, 90)), QColor(Qt::green)) << c.name;
        EXPECT_EQ(QColor(image.pixel(10, 10)), QColor(Qt::blue)) << c.name;
        EXPECT_EQ(QColor(image.pixel(90, 10)), QColor(Qt::white)) << c.name;
    }
}

TEST(EmfBitmaps, BadHeadersAndShortBitsDrawNothing)
{
    const std::vector<std::uint8_t> bits24 = {0,   0, 255, 0, 255, 0,   0,   0,
                                              255, 0, 0,   0, 255, 255, 255, 0};
    struct Case {
        const char* name;
        std::vector<std::uint8_t> body;
    };
    std::vector<Case> cases = {
        {"header_size_odd", stretchDiBits(24, 37, {}, bits24)},
        {"bit_count_7", stretchDiBits(7, 40, {}, bits24)},
        {"bits_too_short", stretchDiBits(24, 40, {}, {0, 0, 255})},
    };
    Case offsets{"bits_offset_outside", stretchDiBits(24, 40, {}, bits24)};
    offsets.body[51] = 0x7F; // offBitsSrc far past the record
    cases.push_back(offsets);
    for (const Case& c : cases) {
        EmfWriter emf;
        emf.recordBytes(StretchDiBits, c.body);
        emf.record(Rectangle, {0, 0, 10, 10});
        const QStringList lines = dumpLines(emf.bytes());
        ASSERT_EQ(lines.size(), 1) << c.name;
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("polygon"))) << c.name;
    }
}

TEST(WmfObjects, CreatedObjectsTakeTheLowestFreeSlot)
{
    WmfWriter wmf(1000, 1000, 1000);
    const auto pen = [&wmf](std::int32_t colorLow, std::int32_t colorHigh) {
        wmf.record(0x02FA, {0, 0, 0, colorLow, colorHigh}); // CREATEPENINDIRECT
    };
    pen(0x00FF, 0);                        // red, slot 0
    wmf.record(0x02FC, {0, 0xFF00, 0, 0}); // green brush, slot 1
    wmf.record(0x01F0, {0});               // delete slot 0
    pen(0, 0x00FF);                        // blue takes slot 0 again
    wmf.record(0x012D, {0}).record(0x012D, {1});
    wmf.record(0x012D, {7});              // empty slot: ignored
    wmf.record(0x041B, {100, 100, 0, 0}); // RECTANGLE bottom, right, top, left
    const QStringList lines = dumpLines(wmf.bytes());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("pen=solid #0000ff")));
    EXPECT_TRUE(lines[0].contains(QStringLiteral("brush=solid #00ff00")));
}

TEST(WmfMapping, WindowMapsOntoThePlaceableBox)
{
    WmfWriter wmf(2000, 1000, 1000);
    wmf.record(0x020C, {100, 200});                          // SETWINDOWEXT y, x
    wmf.record(0x012D, {0}).record(0x02FA, {5, 0, 0, 0, 0}); // nothing selectable yet
    wmf.record(0x041B, {50, 100, 0, 0});                     // half the window
    const QStringList lines = dumpLines(wmf.bytes());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("bounds=-2,-2,1002,502")))
        << lines[0].toStdString();
}

TEST(SpatialIndex, ClippedPaintMatchesTheFullPaintInsideTheClip)
{
    // Many small shapes in drawing order, overlapping their neighbours, so order and culling
    // both show in the pixels.
    EmfWriter emf;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            const std::int64_t color = ((x * 37 + y * 11) % 255) | ((x * 5) % 255) << 8;
            emf.record(CreateBrush, {1, 0, color, 0}).record(SelectObject, {1});
            emf.record(Ellipse, {x * 25, y * 25, x * 25 + 40, y * 25 + 40});
        }
    }
    Picture picture;
    ASSERT_TRUE(picture.loadFromData(emf.bytes()));
    const QRectF target(0, 0, 2000, 2000); // twice the device size
    QImage full(400, 300, QImage::Format_RGB32);
    full.fill(Qt::white);
    {
        QPainter painter(&full);
        painter.translate(-700, -900);
        picture.draw(painter, target);
    }
    QImage clipped(400, 300, QImage::Format_RGB32);
    clipped.fill(Qt::white);
    const QRect window(120, 80, 150, 100);
    {
        QPainter painter(&clipped);
        painter.setClipRect(window);
        painter.translate(-700, -900);
        picture.draw(painter, target);
    }
    int differing = 0;
    for (int y = window.top(); y <= window.bottom(); ++y)
        for (int x = window.left(); x <= window.right(); ++x)
            differing += full.pixel(x, y) != clipped.pixel(x, y);
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(clipped.pixel(10, 10), QColor(Qt::white).rgb()); // outside the clip: untouched
    EXPECT_NE(full.pixel(10, 10), QColor(Qt::white).rgb());
}

} // namespace
