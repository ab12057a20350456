#include "platform/sqlite/sqlite_database.h"
#include "platform/sqlite/sqlite_statement.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vembra::sqlite;

namespace {

class SqliteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = std::make_unique<Database>(path(), Database::Mode::ReadWriteCreate);
        db->exec("create table t (Id integer, Name text, Size double, Data blob)");
    }
    std::string path() const { return dir.filePath(QStringLiteral("t.db")).toStdString(); }

    QTemporaryDir dir;
    std::unique_ptr<Database> db;
};

TEST_F(SqliteTest, BindsByNameAndReadsColumnsByNameInAnyCase)
{
    Statement insert = db->prepare("insert into t values (:nid, :nn, :wd, :map)");
    insert.bind(":nid", 7);
    insert.bind(":nn", std::string_view("AM12"));
    insert.bind(":wd", 1.25);
    const std::uint8_t bytes[] = {1, 2, 3};
    insert.bindBlob(":map", bytes);
    insert.execute();

    Statement select = db->prepare("select * from t where id = :nid");
    select.bind(":nid", 7);
    ASSERT_TRUE(select.step());
    EXPECT_EQ(select.getInt("ID"), 7);
    EXPECT_EQ(select.getText("name"), "AM12");
    EXPECT_DOUBLE_EQ(select.getDouble("SIZE"), 1.25);
    const auto blob = select.getBlob("data");
    ASSERT_EQ(blob.size(), 3u);
    EXPECT_EQ(blob[2], 3);
    EXPECT_FALSE(select.step());
}

TEST_F(SqliteTest, NullReadsAsZeroEmptyTextAndNoBytes)
{
    db->exec("insert into t values (null, null, null, null)");
    Statement select = db->prepare("select * from t");
    ASSERT_TRUE(select.step());
    EXPECT_EQ(select.getInt("id"), 0);
    EXPECT_EQ(select.getText("name"), "");
    EXPECT_EQ(select.getDouble("size"), 0.0);
    EXPECT_TRUE(select.getBlob("data").empty());
    EXPECT_TRUE(select.isNull(0));
}

TEST_F(SqliteTest, EmptyBlobStaysABlobNotNull)
{
    Statement insert = db->prepare("insert into t (id, data) values (1, :map)");
    insert.bindBlob(":map", {});
    insert.execute();
    Statement select = db->prepare("select typeof(data) from t");
    ASSERT_TRUE(select.step());
    EXPECT_EQ(select.textAt(0), "blob");
}

TEST_F(SqliteTest, ErrorsCarrySqliteMessageAndStatement)
{
    try {
        db->prepare("select nosuch from t");
        FAIL() << "prepare of a bad statement succeeded";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("no such column: nosuch"), std::string::npos)
            << e.what();
        EXPECT_NE(std::string(e.what()).find("select nosuch from t"), std::string::npos);
    }
}

TEST_F(SqliteTest, MissingParameterAndColumnAreNamedInTheError)
{
    Statement select = db->prepare("select id from t where id = :nid");
    try {
        select.bind(":ni", 1);
        FAIL() << "binding an unknown parameter succeeded";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find(":ni"), std::string::npos) << e.what();
    }
    db->exec("insert into t (id) values (1)");
    select.bind(":nid", 1);
    ASSERT_TRUE(select.step());
    try {
        (void)select.getInt("code");
        FAIL() << "reading an unknown column succeeded";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("code"), std::string::npos) << e.what();
    }
}

TEST_F(SqliteTest, ConstraintViolationOnStepReportsAndStatementRunsAgain)
{
    db->exec("create table u (id integer primary key)");
    Statement insert = db->prepare("insert into u values (:id)");
    insert.bind(":id", 1);
    insert.execute();
    EXPECT_THROW(insert.execute(), Error);
    insert.bind(":id", 2);
    EXPECT_NO_THROW(insert.execute());
}

TEST_F(SqliteTest, TransactionRollsBackUnlessCommitted)
{
    {
        Transaction tx(*db);
        db->exec("insert into t (id) values (1)");
    }
    {
        Transaction tx(*db);
        db->exec("insert into t (id) values (2)");
        tx.commit();
    }
    Statement count = db->prepare("select group_concat(id) from t");
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.textAt(0), "2");
}

TEST_F(SqliteTest, ForeignKeysAreOnForEveryConnection)
{
    Database other(path());
    EXPECT_EQ(other.pragmaInteger("foreign_keys"), 1);
}

TEST(SqliteOpen, MissingFileFailsWithoutCreatingIt)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("missing.db")).toStdString();
    EXPECT_THROW(Database db(path), Error);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

} // namespace
