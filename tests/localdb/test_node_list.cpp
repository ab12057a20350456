#include "app/dm/data_module.h"
#include "localdb/node_list.h"
#include "platform/sqlite/sqlite_database.h"
#include "tests/support/work_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vembra;

namespace {

class NodeListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("w.mdb"));
        test::copyTemplate(path);
        dm.DataModuleCreate(dir.path() + QDir::separator());
    }
    void exec(const char* sql)
    {
        sqlite::Database db(path.toStdString());
        db.exec(sql);
    }
    TNodeList read(bool hasFVexelColumn)
    {
        dm.pointLocalComponentsAt(path);
        TNodeList list;
        readNodeList(dm.AQ1, dm.aQ2, hasFVexelColumn,
                     [&](const TNodeListEntry& e) { list.push_back(e); });
        return list;
    }
    QTemporaryDir dir;
    QString path;
    TDM dm;
};

TEST_F(NodeListTest, EmptyDatabaseListsNothing)
{
    EXPECT_TRUE(read(true).empty());
    EXPECT_EQ(nodeListLabel(0), QStringLiteral("1. Select NODE"));
    EXPECT_EQ(nodeListLabel(3), QStringLiteral("1. Select NODE [3]"));
}

TEST_F(NodeListTest, NodesComeInConnectionNumberOrderWithTheirProbes)
{
    exec("insert into tbl_node (id, node, connectno) values (1, 'North', 30), (2, 'South', 10), "
         "(3, 'East', 20), (4, 'West', 20), "
         "(5, 'A node name of thirty-five chars!!!', 40)");
    exec("insert into tbl_deviceinfo (id, node_id, code, vexel_id, FVexelID) values "
         "(1, 1, 'FN1', 5, null), (2, 2, 'FN2', null, 0), (3, 2, 'AM1', 0, 0), "
         "(4, 3, 'FN3', 0, 7), (5, 4, 'FN4', -1, 0)");
    const TNodeList list = read(true);
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[0].Node, QStringLiteral("South"));
    EXPECT_EQ(list[0].ConnectNo, 10);
    // Equal connection numbers stay next to each other.
    EXPECT_EQ(list[1].ConnectNo, 20);
    EXPECT_EQ(list[2].ConnectNo, 20);
    EXPECT_EQ(list[3].Node, QStringLiteral("North"));
    EXPECT_TRUE(list[3].IVexelProbes);
    EXPECT_FALSE(list[0].IVexelProbes); // vexel_id NULL and 0 both mean no probe
    const auto& east = list[1].Node == QStringLiteral("East") ? list[1] : list[2];
    EXPECT_TRUE(east.FVexelProbes);
    EXPECT_FALSE(east.IVexelProbes);
    EXPECT_EQ(list[4].Node.size(), 30);
    EXPECT_EQ(list[4].FullName.size(), 35);

    EXPECT_EQ(NodeIdByName(list, QStringLiteral("East")), 3);
    EXPECT_EQ(NodeIdByName(list, QStringLiteral("A node name of thirty-five chars!!!")), 5);
    EXPECT_EQ(NodeIdByName(list, QStringLiteral("Nowhere")), 0);
    EXPECT_EQ(ConnectNoOfNode(list, 2), QStringLiteral("10"));
    EXPECT_EQ(ConnectNoOfNode(list, 99), QString());
}

TEST_F(NodeListTest, WithoutTheFVexelColumnNoFVexelProbeCounts)
{
    exec("insert into tbl_node (id, node, connectno) values (3, 'East', 20)");
    exec("insert into tbl_deviceinfo (id, node_id, code, FVexelID) values (4, 3, 'FN3', 7)");
    EXPECT_FALSE(read(false).front().FVexelProbes);
    EXPECT_TRUE(read(true).front().FVexelProbes);
}

} // namespace

namespace {

TEST_F(NodeListTest, ReadingLeavesNoLockOnTheFile)
{
    exec("insert into tbl_node (id, node, connectno) values (1, 'A', 1), (2, 'B', 2)");
    exec("insert into tbl_deviceinfo (id, node_id, code, vexel_id) values (1, 1, 'FN1', 3)");
    read(true);
    // Another connection can write at once: no result is left half-read.
    sqlite::Database other(path.toStdString());
    other.exec("PRAGMA busy_timeout = 0");
    EXPECT_NO_THROW(other.exec("insert into tbl_node (id, node, connectno) values (3, 'C', 3)"));
}

} // namespace
