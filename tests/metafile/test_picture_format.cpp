// Blob rules and size rules of map pictures, and the Picture object's life cycle.
#include "platform/metafile/metafile_format.h"
#include "platform/metafile/metafile_picture.h"
#include "tests/metafile/emf_writer.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

#include <stdexcept>
#include <string>

namespace {

using vembra::metafile::BlobFormat;
using vembra::metafile::inspectBlob;
using vembra::metafile::Picture;
using vembra::test::EmfWriter;
using vembra::test::WmfWriter;
using Bytes = std::vector<std::uint8_t>;

const QString fixtureDir = QStringLiteral(VEMBRA_TEST_FIXTURES "/metafiles/");

Bytes readFixture(const QString& name)
{
    QFile file(fixtureDir + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    const QByteArray data = file.readAll();
    return Bytes(data.begin(), data.end());
}

TEST(MetafileSize, EmfFrameOnReferenceDeviceGivesRoundedPixels)
{
    EmfWriter emf(42333, 29633, 1024, 768, 320, 240);
    const Bytes bytes = emf.record(43, {0, 0, 10, 10}).bytes(); // EMR_RECTANGLE
    const auto info = inspectBlob(bytes);
    EXPECT_EQ(info.format, BlobFormat::Emf);
    EXPECT_EQ(info.size, QSize(1355, 948));
    EXPECT_EQ(info.length, bytes.size());

    Picture picture;
    ASSERT_TRUE(picture.loadFromData(bytes));
    EXPECT_EQ(picture.naturalSize(), QSize(1355, 948));
    EXPECT_EQ(picture.width(), 1355);
    EXPECT_EQ(picture.height(), 948);
}

TEST(MetafileSize, RoundingIsExactWithTiesToEven)
{
    struct Case {
        std::int64_t numerator, denominator, expected;
    };
    const Case cases[] = {{5, 2, 2},
                          {7, 2, 4},
                          {-5, 2, -2},
                          {-7, 2, -4},
                          {1, 3, 0},
                          {2, 3, 1},
                          {14, 4, 4},
                          {10, 4, 2},
                          {9, -2, -4},
                          {0, 7, 0},
                          {4333300000001, 100, 43333000000}};
    for (const Case& c : cases)
        EXPECT_EQ(vembra::metafile::roundedQuotient(c.numerator, c.denominator), c.expected)
            << c.numerator << " / " << c.denominator;
}

TEST(MetafileSize, PlaceableWmfBoxIsConvertedAtTheScreenResolution)
{
    const Bytes bytes = WmfWriter(24026, 18026, 2540).bytes();
    const auto at96 = inspectBlob(bytes, 96);
    EXPECT_EQ(at96.format, BlobFormat::PlaceableWmf);
    EXPECT_EQ(at96.size, QSize(908, 681));
    EXPECT_EQ(inspectBlob(bytes, 120).size, QSize(1135, 852));
}

// The bytes of a small valid EMF, to be spoiled by the cases below.
Bytes smallEmf()
{
    return EmfWriter().record(43, {0, 0, 100, 100}).bytes();
}

struct BlobCase {
    const char* name;
    Bytes bytes;
};

void PrintTo(const BlobCase& blob, std::ostream* out)
{
    *out << blob.name;
}

class NotAMap : public ::testing::TestWithParam<BlobCase> {};

TEST_P(NotAMap, GivesAnEmptyPicture)
{
    EXPECT_EQ(inspectBlob(GetParam().bytes).format, BlobFormat::None);
    Picture picture;
    EXPECT_FALSE(picture.loadFromData(GetParam().bytes));
    EXPECT_TRUE(picture.isEmpty());
    EXPECT_EQ(picture.naturalSize(), QSize(0, 0));
    EXPECT_EQ(picture.width(), 0);
    EXPECT_EQ(picture.height(), 0);
    EXPECT_TRUE(picture.dump().isEmpty());
}

Bytes truncatedEmf()
{
    Bytes b = smallEmf();
    b.resize(b.size() - 4); // nBytes now larger than what is there
    return b;
}

Bytes emfWithZeroMillimetres()
{
    return EmfWriter(10000, 10000, 1000, 1000, 0, 100).bytes();
}

Bytes textBytes(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

INSTANTIATE_TEST_SUITE_P(
    Blobs, NotAMap,
    ::testing::Values(BlobCase{"emf_shorter_than_nbytes", truncatedEmf()},
                      BlobCase{"wmf_checksum_wrong", WmfWriter(1000, 1000, 1000).bytes(false)},
                      BlobCase{"ten_bytes_of_text", textBytes("not a map!")},
                      BlobCase{"empty", Bytes()},
                      BlobCase{"emf_device_millimetres_zero", emfWithZeroMillimetres()},
                      BlobCase{"wmf_zero_units_per_inch", WmfWriter(1000, 1000, 0).bytes()}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(MetafileBlob, EmfIsTakenUpToItsStatedSize)
{
    Bytes bytes = smallEmf();
    const std::size_t stated = bytes.size();
    bytes.resize(stated + 64, 0xAB); // trailing bytes after the metafile
    const auto info = inspectBlob(bytes);
    EXPECT_EQ(info.format, BlobFormat::Emf);
    EXPECT_EQ(info.length, stated);
    Picture picture;
    EXPECT_TRUE(picture.loadFromData(bytes));
    EXPECT_FALSE(picture.isEmpty());
}

TEST(MetafilePicture, ClearAndDisplaySize)
{
    Picture picture;
    ASSERT_TRUE(picture.loadFromData(smallEmf()));
    EXPECT_EQ(picture.naturalSize(), QSize(1000, 1000));
    picture.setWidth(67);
    picture.setHeight(72);
    EXPECT_EQ(picture.width(), 67);
    EXPECT_EQ(picture.height(), 72);
    EXPECT_EQ(picture.naturalSize(), QSize(1000, 1000));

    Picture moved(std::move(picture));
    EXPECT_EQ(moved.width(), 67);
    EXPECT_FALSE(moved.isEmpty());
    moved.clear();
    EXPECT_TRUE(moved.isEmpty());
    EXPECT_EQ(moved.naturalSize(), QSize(0, 0));
    EXPECT_EQ(moved.width(), 0);
}

TEST(MetafilePicture, UnreadableFileThrowsTheFileErrorText)
{
    Picture picture;
    try {
        picture.loadFromFile(QStringLiteral("/x/_data.pdb"));
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Cannot open file /x/_data.pdb: No such file or directory");
    }
    EXPECT_TRUE(picture.isEmpty());
}

TEST(MetafilePicture, ReadableFileThatIsNoMetafileGivesFalse)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("note.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("just some text, certainly not a drawing of a node");
    file.close();
    Picture picture;
    EXPECT_FALSE(picture.loadFromFile(path));
    EXPECT_TRUE(picture.isEmpty());
}

// Draws into a small image; a crash or hang here is the failure this guards against.
QImage drawSmall(const Picture& picture)
{
    QImage image(64, 48, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture.draw(painter, QRectF(0, 0, 64, 48));
    return image;
}

TEST(MetafileRobustness, TruncatedFilesNeverCrash)
{
    for (const char* name : {"s05_libemf_node.emf", "s04_ink_city.wmf", "s06_lo_raster.emf"}) {
        const Bytes whole = readFixture(QString::fromLatin1(name));
        ASSERT_FALSE(whole.empty());
        const bool emf = std::string(name).ends_with(".emf");
        for (std::size_t length = 0; length < whole.size(); length += whole.size() / 97 + 1) {
            Picture picture;
            const bool loaded = picture.loadFromData(std::span(whole).first(length));
            // A cut EMF is shorter than its stated size: never a map. A cut WMF keeps its
            // placeable header and loads what is there.
            if (emf) {
                EXPECT_FALSE(loaded) << name << " cut at " << length;
            } else if (length >= 40) {
                EXPECT_TRUE(loaded) << name << " cut at " << length;
            }
            drawSmall(picture);
        }
    }
}

TEST(MetafileRobustness, CorruptRecordsNeverCrashAndKeepTheHeader)
{
    for (const char* name : {"s01_lo_city.emf", "s02_lo_city.wmf", "s06_lo_raster.emf"}) {
        const Bytes whole = readFixture(QString::fromLatin1(name));
        Picture reference;
        ASSERT_TRUE(reference.loadFromData(whole));
        std::uint32_t state = 2024;
        for (int round = 0; round < 40; ++round) {
            Bytes spoiled = whole;
            for (int n = 0; n < 25; ++n) {
                state = state * 1664525u + 1013904223u;
                const std::size_t at = 120 + state % (spoiled.size() - 120);
                state = state * 1664525u + 1013904223u;
                spoiled[at] = static_cast<std::uint8_t>(state >> 24);
            }
            Picture picture;
            ASSERT_TRUE(picture.loadFromData(spoiled)) << name << " round " << round;
            EXPECT_EQ(picture.naturalSize(), reference.naturalSize());
            drawSmall(picture);
        }
    }
}

} // namespace
