#include "app/dm/data_module.h"
#include "model/map_loading.h"
#include "model/node_loading.h"
#include "model/node_tree.h"
#include "platform/metafile/metafile_picture.h"
#include "platform/zlib/zlib_inflate.h"
#include "tests/support/work_files.h"
#include "tools/sample/map_drawing.h"
#include "tools/sample/sample_database.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vembra;
using namespace vembra::sample;

namespace {

NodeDeviceList asModel(const std::vector<PlantDevice>& plant)
{
    NodeDeviceList devices;
    for (const PlantDevice& p : plant) {
        TFullDBDeviceListFromNode d;
        d.Id = p.id;
        d.Parent = p.parent;
        d.Code = p.code;
        d.Delay = p.delay;
        devices.push_back(d);
    }
    DeriveNodeTree(devices);
    return devices;
}

TEST(SamplePlant, IsATreeBelowItsFiberNodeWithDelaysGrowingAlongEveryPath)
{
    for (const int size : {20, 700, 5000}) {
        PlantOptions options;
        options.seed = 42;
        options.devices = size;
        const std::vector<PlantDevice> plant = generatePlant(options);
        ASSERT_EQ(int(plant.size()), size);
        EXPECT_TRUE(plant[0].code.startsWith(QStringLiteral("FN")));
        const NodeDeviceList d = asModel(plant);
        EXPECT_EQ(int(d[0].Descendants.size()), size - 1) << "not every device hangs below FN";
        QSet<QString> codes;
        for (std::size_t i = 0; i < d.size(); ++i) {
            codes.insert(d[i].Code);
            EXPECT_GE(plant[i].xpage, 0.0);
            EXPECT_LE(plant[i].xpage, 1.0);
            EXPECT_GE(plant[i].ypage, 0.0);
            EXPECT_LE(plant[i].ypage, 1.0);
            EXPECT_LE(plant[i].code.size(), 15);
            EXPECT_GE(plant[i].iVexel, 0);
            EXPECT_LE(plant[i].iVexel, 99);
            EXPECT_LE(plant[i].fVexel, 99);
            if (i > 0) {
                ASSERT_GE(d[i].ParentIndex, 0) << "device " << i << " is a second root";
                EXPECT_GT(d[i].Delay, d[std::size_t(d[i].ParentIndex)].Delay) << i;
            }
        }
        EXPECT_EQ(codes.size(), qsizetype(size)) << "codes repeat within a node";
    }
}

TEST(SamplePlant, OddCodesAppearOnlyWhenAsked)
{
    PlantOptions options;
    options.devices = 300;
    options.irregularCodes = true;
    options.duplicateCode = true;
    const std::vector<PlantDevice> plant = generatePlant(options);
    bool twoTypes = false, lower = false, longCode = false;
    QSet<QString> codes;
    for (const PlantDevice& p : plant) {
        twoTypes |= p.code.startsWith(QStringLiteral("DCSP"));
        lower |= p.code.startsWith(QStringLiteral("tp"));
        longCode |= p.code.size() > 15;
        codes.insert(p.code);
    }
    EXPECT_TRUE(twoTypes);
    EXPECT_TRUE(lower);
    EXPECT_TRUE(longCode);
    EXPECT_EQ(codes.size(), qsizetype(plant.size()) - 1);
}

TEST(SamplePlant, ProbesFollowTheOptions)
{
    PlantOptions options;
    options.devices = 3000;
    options.fVexelProbes = false;
    int iVexel = 0;
    for (const PlantDevice& p : generatePlant(options)) {
        EXPECT_EQ(p.fVexel, 0);
        iVexel += p.iVexel > 0;
        if (p.iVexel > 0) {
            EXPECT_TRUE(p.kind == DeviceKind::Amplifier || p.kind == DeviceKind::Coupler);
        }
    }
    EXPECT_GT(iVexel, 0);
}

class SampleDatabaseTest : public ::testing::Test {
protected:
    QString write(const char* name, const std::vector<SampleNode>& nodes)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        writeSampleDatabase(test::templatePath(), path, nodes);
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(SampleDatabaseTest, SameSeedGivesTheSameBytes)
{
    const QString a = write("a.mdb", demoNodes(3));
    const QString b = write("b.mdb", demoNodes(3));
    const QString c = write("c.mdb", demoNodes(4));
    EXPECT_EQ(test::readAll(a), test::readAll(b));
    EXPECT_NE(test::readAll(a), test::readAll(c));
    EXPECT_THROW(write("a.mdb", demoNodes(3)), std::exception); // never over a file
}

TEST_F(SampleDatabaseTest, DemoMapsLoadThroughTheMapLoading)
{
    const std::vector<SampleNode> nodes = demoNodes(1);
    const QString path = write("demo.mdb", nodes);
    TDM dm;
    dm.DataModuleCreate(dir.path() + QDir::separator());
    dm.pointLocalComponentsAt(path);
    for (const SampleNode& node : nodes) {
        metafile::Picture picture;
        switch (node.map) {
        case MapState::Drawing: {
            const NodeMapResult r = LoadNodeMap(dm.AQ1, node.id, picture);
            EXPECT_TRUE(r.mapLoaded) << node.name.toStdString();
            EXPECT_EQ(picture.naturalSize(), QSize(node.plant.mapWidth, node.plant.mapHeight))
                << node.name.toStdString();
            EXPECT_DOUBLE_EQ(r.idSize, idSizeInRange(node.idSize.value_or(0.0)));
            break;
        }
        case MapState::Empty: {
            const NodeMapResult r = LoadNodeMap(dm.AQ1, node.id, picture);
            EXPECT_FALSE(r.mapLoaded);
            EXPECT_TRUE(picture.isEmpty());
            break;
        }
        case MapState::NotZlib:
            try {
                LoadNodeMap(dm.AQ1, node.id, picture);
                ADD_FAILURE() << "a map that is no zlib stream loaded";
            } catch (const zlib::Error& e) {
                EXPECT_STREQ(e.what(), "data error");
            }
            break;
        }
    }
    // Every node's devices load into the model as one tree below the fiber node.
    NodeModel model;
    for (const SampleNode& node : nodes) {
        LoadNodeDevices(model, dm.AQ1, node.id, MapGeometry{1600, 1200, 0.005}, true);
        ASSERT_EQ(int(model.NodeDevices.size()), node.plant.devices);
        EXPECT_EQ(int(model.NodeDevices[0].Descendants.size()), node.plant.devices - 1);
    }
}

TEST(SampleMaps, PinMeasures67By72)
{
    const QByteArray pin = drawPin();
    metafile::Picture picture;
    ASSERT_TRUE(picture.loadFromData(std::span(
        reinterpret_cast<const std::uint8_t*>(pin.constData()), std::size_t(pin.size()))));
    EXPECT_EQ(picture.naturalSize(), QSize(67, 72));
}

} // namespace
