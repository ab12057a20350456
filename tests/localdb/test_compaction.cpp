#include "app/dm/local_connections.h"
#include "localdb/compaction.h"
#include "platform/sqlite/sqlite_statement.h"
#include "tests/support/work_files.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vembra;

namespace {

class CompactionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        source = dir.filePath(QStringLiteral("_data.mdb"));
        temp = dir.filePath(QStringLiteral("data~.mdb"));
        test::copyTemplate(source);
        auto db = openWorkingDatabase(source);
        db->exec("insert into tbl_node (id, node, connectno, map) values "
                 "(1, 'N1', 1, zeroblob(200000)), (2, 'N2', 2, x'01')");
        db->exec("insert into tbl_deviceinfo (id, node_id, code) values (5, 2, 'FN5')");
        db->exec("delete from tbl_node where id = 1");
    }
    long long count(const char* sql)
    {
        auto db = openWorkingDatabase(source);
        auto st = db->prepare(sql);
        return st.step() ? st.int64At(0) : -1;
    }

    QTemporaryDir dir;
    QString source;
    QString temp;
};

TEST_F(CompactionTest, ShrinksTheFileAndKeepsEveryRow)
{
    const qint64 before = QFileInfo(source).size();
    compactWorkingDatabase(source, temp);
    EXPECT_LT(QFileInfo(source).size(), before);
    EXPECT_FALSE(QFile::exists(temp));
    EXPECT_EQ(count("select count(*) from tbl_node"), 1);
    EXPECT_EQ(count("select count(*) from tbl_deviceinfo where code = 'FN5'"), 1);
    EXPECT_EQ(count("PRAGMA application_id"), kWorkingDatabaseApplicationId);
}

TEST_F(CompactionTest, LeftOverTemporaryFileIsReplaced)
{
    test::writeAll(temp, "left over by an interrupted run");
    compactWorkingDatabase(source, temp);
    EXPECT_FALSE(QFile::exists(temp));
    EXPECT_EQ(count("select count(*) from tbl_node"), 1);
}

TEST_F(CompactionTest, FailureLeavesTheSourceAsItWas)
{
    test::writeAll(source, "not a database at all, just some bytes of text");
    const QByteArray bytes = test::readAll(source);
    EXPECT_THROW(compactWorkingDatabase(source, temp), std::exception);
    EXPECT_EQ(test::readAll(source), bytes);
    EXPECT_FALSE(QFile::exists(temp));

    QFile::remove(source);
    EXPECT_THROW(compactWorkingDatabase(source, temp), std::exception);
    EXPECT_FALSE(QFile::exists(source));
}

} // namespace
