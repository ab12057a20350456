#include "app/dm/local_connections.h"
#include "localdb/local_statements.h"
#include "platform/sqlite/sqlite_statement.h"
#include "tests/support/work_files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vembra;

namespace {

class TemplateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("w.mdb"));
        test::copyTemplate(path);
        db = openWorkingDatabase(path);
    }
    void exec(const char* sql) { db->exec(sql); }
    long long scalar(const char* sql)
    {
        auto st = db->prepare(sql);
        return st.step() ? st.int64At(0) : -1;
    }

    QTemporaryDir dir;
    QString path;
    std::shared_ptr<sqlite::Database> db;
};

TEST_F(TemplateTest, IsMarkedAsAWorkingDatabase)
{
    EXPECT_EQ(db->pragmaInteger("application_id"), kWorkingDatabaseApplicationId);
    EXPECT_EQ(db->pragmaInteger("user_version"), 1);
    EXPECT_EQ(scalar("select count(*) from tbl_node"), 0);
}

TEST_F(TemplateTest, DeviceTableListsTheFVexelColumnSpelledExactly)
{
    auto st = db->prepare("select name from pragma_table_info('tbl_DeviceInfo')");
    std::vector<std::string> names;
    while (st.step())
        names.push_back(st.textAt(0));
    const std::vector<std::string> expected = {"id",    "node_id", "code",     "parent",  "delay",
                                               "xpage", "ypage",   "vexel_id", "FVexelID"};
    EXPECT_EQ(names, expected);
}

TEST_F(TemplateTest, DeletingANodeDeletesItsDevices)
{
    exec("insert into tbl_node (id, node, connectno) values (1, 'N1', 5), (2, 'N2', 6)");
    exec("insert into tbl_deviceinfo (id, node_id, code) values (10, 1, 'FN1'), (11, 1, 'AM1'), "
         "(20, 2, 'FN2')");
    auto del = db->prepare(statements::kDeleteNodeByName);
    del.bind(":nn", std::string_view("N1"));
    del.execute();
    EXPECT_EQ(scalar("select count(*) from tbl_deviceinfo where node_id = 1"), 0);
    EXPECT_EQ(scalar("select count(*) from tbl_deviceinfo"), 1);
    exec(statements::kDeleteAllNodes);
    EXPECT_EQ(scalar("select count(*) from tbl_deviceinfo"), 0);
}

TEST_F(TemplateTest, DeviceQueryIsServedByTheIndex)
{
    auto plan = db->prepare(std::string("explain query plan ") + statements::kNodeDevices);
    plan.bind(":nid", 1);
    std::string details;
    while (plan.step())
        details += plan.getText("detail") + "\n";
    EXPECT_NE(details.find("ix_deviceinfo_node_id"), std::string::npos) << details;
    EXPECT_EQ(details.find("TEMP B-TREE"), std::string::npos) << details;
}

TEST_F(TemplateTest, EveryStatementPreparesAndRuns)
{
    auto node = db->prepare(statements::kInsertNode);
    node.bind(":ni", 7);
    node.bind(":nn", std::string_view("Node 7"));
    node.bind(":cn", 70);
    node.bindBlob(":map", {});
    node.bind(":is", 0.005);
    node.execute();
    auto device = db->prepare(statements::kInsertDevice);
    device.bind(":di", 1);
    device.bind(":ni", 7);
    device.bind(":dc", std::string_view("FN1"));
    device.bind(":pd", 0);
    device.bind(":wd", 0.5);
    device.bind(":xp", 0.25);
    device.bind(":yp", 0.75);
    device.bind(":pi", 5);
    device.bind(":fs", 0);
    device.execute();
    for (const char* sql : {statements::kCountIVexel, statements::kCountFVexel}) {
        auto count = db->prepare(sql);
        count.bind(":nid", 7);
        ASSERT_TRUE(count.step()) << sql;
        EXPECT_EQ(count.intAt(0), sql == statements::kCountIVexel ? 1 : 0) << sql;
    }
    auto byName = db->prepare(statements::kNodeIdByName);
    byName.bind(":nn", std::string_view("Node 7"));
    ASSERT_TRUE(byName.step());
    EXPECT_EQ(byName.getInt("id"), 7);
    auto devices = db->prepare(statements::kNodeDevices);
    devices.bind(":nid", 7);
    ASSERT_TRUE(devices.step());
    EXPECT_EQ(devices.getInt("FVEXELID"), 0);
    EXPECT_EQ(devices.getInt("Vexel_ID"), 5);
    auto list = db->prepare(statements::kNodeList);
    ASSERT_TRUE(list.step());
    EXPECT_EQ(list.getText("node"), "Node 7");
    auto map = db->prepare(statements::kNodeMap);
    map.bind(":nid", 7);
    ASSERT_TRUE(map.step());
    EXPECT_TRUE(map.getBlob("map").empty());
}

} // namespace
