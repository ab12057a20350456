#include "app/dm/data_module.h"
#include "model/node_loading.h"
#include "platform/sqlite/sqlite_database.h"
#include "tests/support/work_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vembra;

namespace {

class NodeLoadingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("w.mdb"));
        test::copyTemplate(path);
        sqlite::Database db(path.toStdString());
        db.exec("insert into tbl_node (id, node, connectno) values (1, 'N1', 1), (2, 'N2', 2)");
        db.exec("insert into tbl_deviceinfo (id, node_id, code, parent, delay, xpage, ypage, "
                "vexel_id, FVexelID) values "
                "(10, 1, 'FN1', 0, 0.5, 0.5, 0.25, 5, 3), "
                "(11, 1, 'AM12345678901234567890', 10, null, 0.1, 0.9, null, 0), "
                "(12, 1, 'FN2', 11, 1.5, 0, 0, 0, null), "
                "(20, 2, 'TP1', 0, 2.5, 0.5, 0.5, 0, 0)");
        dm.DataModuleCreate(dir.path() + QDir::separator());
        dm.pointLocalComponentsAt(path);
    }
    QTemporaryDir dir;
    QString path;
    TDM dm;
    NodeModel model;
};

TEST_F(NodeLoadingTest, ReadsRowsPlacesThemOnTheMapAndDerivesTheTree)
{
    // A map of 1600 x 1200 (diagonal 2000) with idsize 0.005: marker 12.5, radius 12.
    LoadNodeDevices(model, dm.AQ1, 1, MapGeometry{1600, 1200, 0.005}, true);
    ASSERT_EQ(model.NodeDevices.size(), 3u);
    EXPECT_DOUBLE_EQ(model.MarkerSize, 12.5);
    const auto& fn = model.NodeDevices[0];
    EXPECT_EQ(fn.MapData.Radius, 12);
    EXPECT_EQ(fn.MapData.Size, 24);
    EXPECT_FLOAT_EQ(fn.MapData.X, 800.0f);
    EXPECT_FLOAT_EQ(fn.MapData.Y, 300.0f);
    EXPECT_EQ(fn.IVexelId, 5);
    EXPECT_EQ(fn.FVexelId, 3);
    const auto& am = model.NodeDevices[1];
    EXPECT_EQ(am.Code, QStringLiteral("AM1234567890123"));
    EXPECT_EQ(am.Delay, 0.0);
    EXPECT_EQ(am.IVexelId, 0);
    EXPECT_EQ(am.UpIVexelId, 5);
    EXPECT_EQ(model.NodeDevices[2].Ancestors, (TChildIndexes{1, 0}));
    // The last device whose code contains FN is the fiber node, and the current device.
    EXPECT_EQ(model.FiberNode.Code, QStringLiteral("FN2"));
    EXPECT_DOUBLE_EQ(model.FiberNode.Delay, 1.5);
    EXPECT_EQ(model.CurrentDevice.Code, QStringLiteral("FN2"));
    EXPECT_EQ(model.CurrentDevice.Index, 0);
}

TEST_F(NodeLoadingTest, WithoutTheFVexelColumnNoFVexelIdIsRead)
{
    LoadNodeDevices(model, dm.AQ1, 1, MapGeometry{100, 100, 0.005}, false);
    for (const auto& d : model.NodeDevices) {
        EXPECT_EQ(d.FVexelId, 0);
        EXPECT_EQ(d.UpFVexelId, 0);
    }
}

TEST_F(NodeLoadingTest, NodeWithoutFiberNodeDoesNotKeepThePreviousOne)
{
    LoadNodeDevices(model, dm.AQ1, 1, MapGeometry{100, 100, 0.005}, true);
    LoadNodeDevices(model, dm.AQ1, 2, MapGeometry{100, 100, 0.005}, true);
    ASSERT_EQ(model.NodeDevices.size(), 1u);
    EXPECT_TRUE(model.FiberNode.Code.isEmpty());
    EXPECT_TRUE(model.CurrentDevice.Code.isEmpty());
}

TEST_F(NodeLoadingTest, NodeWithoutRowsLeavesTheConnectionPoints)
{
    LoadNodeDevices(model, dm.AQ1, 1, MapGeometry{100, 100, 0.005}, true);
    LoadNodeDevices(model, dm.AQ1, 99, MapGeometry{0, 0, 0.005}, true);
    EXPECT_TRUE(model.NodeDevices.empty());
    EXPECT_EQ(model.MarkerSize, 0.0);
    EXPECT_EQ(model.FiberNode.Code, QStringLiteral("FN2"));
}

TEST_F(NodeLoadingTest, FailingQueryLeavesThePreviousModel)
{
    LoadNodeDevices(model, dm.AQ1, 1, MapGeometry{100, 100, 0.005}, true);
    {
        sqlite::Database db(path.toStdString());
        db.exec("alter table tbl_deviceinfo rename column delay to latency");
    }
    dm.pointLocalComponentsAt(path);
    EXPECT_THROW(LoadNodeDevices(model, dm.AQ1, 2, MapGeometry{100, 100, 0.005}, true),
                 std::exception);
    EXPECT_EQ(model.NodeDevices.size(), 3u);
}

} // namespace
