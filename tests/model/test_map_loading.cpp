#include "app/dm/data_module.h"
#include "model/map_loading.h"
#include "platform/metafile/metafile_picture.h"
#include "platform/sqlite/sqlite_database.h"
#include "platform/sqlite/sqlite_statement.h"
#include "platform/zlib/zlib_inflate.h"
#include "tests/support/work_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <zlib.h>

#include <gtest/gtest.h>

#include <optional>

using namespace vembra;

namespace {

QByteArray compressed(const QByteArray& bytes)
{
    uLongf size = compressBound(uLong(bytes.size()));
    QByteArray out(qsizetype(size), '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size,
              reinterpret_cast<const Bytef*>(bytes.constData()), uLong(bytes.size()), 6);
    out.resize(qsizetype(size));
    return out;
}

class MapLoadingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("w.mdb"));
        test::copyTemplate(path);
        dm.DataModuleCreate(dir.path() + QDir::separator());
    }
    void store(int id, const std::optional<QByteArray>& map, std::optional<double> idSize)
    {
        sqlite::Database db(path.toStdString());
        auto st = db.prepare("insert into tbl_node (id, node, connectno, map, idsize) "
                             "values (:id, :name, 1, :map, :is)");
        st.bind(":id", id);
        st.bind(":name", std::to_string(id));
        if (map)
            st.bindBlob(":map", std::span(reinterpret_cast<const std::uint8_t*>(map->constData()),
                                          std::size_t(map->size())));
        else
            st.bindNull(":map");
        if (idSize)
            st.bind(":is", *idSize);
        else
            st.bindNull(":is");
        st.execute();
    }
    NodeMapResult load(int id)
    {
        dm.pointLocalComponentsAt(path);
        return LoadNodeMap(dm.AQ1, id, picture);
    }
    static QByteArray emf()
    {
        QFile file(QStringLiteral(VEMBRA_TEST_FIXTURES "/pin.emf"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QTemporaryDir dir;
    QString path;
    TDM dm;
    metafile::Picture picture;
};

TEST_F(MapLoadingTest, MarkerSizeOutsideItsRangeBecomesTheDefault)
{
    const struct {
        std::optional<double> stored;
        double loaded;
    } cases[] = {{0.000001, 0.005}, {0.0000011, 0.0000011}, {0.999, 0.999},
                 {1.0, 0.005},      {std::nullopt, 0.005},  {-0.2, 0.005}};
    int id = 1;
    for (const auto& c : cases) {
        store(id, compressed(emf()), c.stored);
        const NodeMapResult r = load(id);
        EXPECT_DOUBLE_EQ(r.idSize, c.loaded) << id;
        EXPECT_TRUE(r.mapLoaded);
        ++id;
    }
}

TEST_F(MapLoadingTest, BlobsThatAreNoMapLoadNothingWithoutAnError)
{
    const QByteArray pin = emf();
    const struct {
        const char* name;
        std::optional<QByteArray> blob;
    } cases[] = {
        {"a zlib stream of 10 bytes of text", compressed("some text.")},
        {"an empty blob", QByteArray()},
        {"no blob at all", std::nullopt},
        {"a truncated metafile", compressed(pin.left(pin.size() - 20))},
        {"a truncated zlib stream", compressed(pin).left(40)},
    };
    int id = 1;
    for (const auto& c : cases) {
        store(id, c.blob, 0.005);
        picture.loadFromData(std::span(reinterpret_cast<const std::uint8_t*>(pin.constData()),
                                       std::size_t(pin.size())));
        NodeMapResult r;
        EXPECT_NO_THROW(r = load(id)) << c.name;
        EXPECT_FALSE(r.mapLoaded) << c.name;
        EXPECT_TRUE(picture.isEmpty()) << c.name;
        EXPECT_EQ(picture.width(), 0) << c.name;
        ++id;
    }
    // A node id that names no row: no map, no error.
    EXPECT_FALSE(load(99).mapLoaded);
}

TEST_F(MapLoadingTest, CorruptStreamsFailWithZlibsText)
{
    QByteArray corrupt = compressed(emf());
    corrupt[corrupt.size() / 2] = char(corrupt[corrupt.size() / 2] ^ 0x5A);
    const struct {
        const char* name;
        QByteArray blob;
    } cases[] = {
        {"random bytes", QByteArray::fromHex("a1b2c3d4e5f60718293a")},
        {"a damaged stream", corrupt},
    };
    int id = 1;
    for (const auto& c : cases) {
        store(id, c.blob, 0.005);
        try {
            load(id);
            ADD_FAILURE() << c.name << " loaded";
        } catch (const zlib::Error& e) {
            EXPECT_STREQ(e.what(), "data error") << c.name;
        }
        ++id;
    }
}

TEST_F(MapLoadingTest, BytesAfterTheStreamAreIgnored)
{
    store(1, compressed(emf()) + QByteArray("trailing bytes"), 0.005);
    const NodeMapResult r = load(1);
    EXPECT_TRUE(r.mapLoaded);
    EXPECT_EQ(picture.naturalSize(), QSize(67, 72));
}

} // namespace
