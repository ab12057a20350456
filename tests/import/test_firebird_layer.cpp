// Our Firebird layer against the test server and against files opened directly.
#include "platform/firebird/firebird_attachment.h"
#include "platform/firebird/firebird_error.h"
#include "platform/firebird/firebird_service.h"
#include "platform/firebird/firebird_statement.h"
#include "tests/import/import_fixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vembra;
using namespace vembra::test;

namespace {

// A database with one table of every type the import reads, on the server or as a file.
class FirebirdLayer : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        const bool served = GetParam();
        if (served) {
            requireServer();
            path = serverDataFolder() +
                   uniqueFileName(QStringLiteral("layer"), QStringLiteral(".fdb"));
            connection = (firebirdServer() + QLatin1Char(':') + path).toStdString();
        } else {
            ASSERT_TRUE(dir.isValid());
            path = dir.path() + QStringLiteral("/layer.fdb");
            connection = path.toStdString();
        }
        db = firebird::Attachment::create(connection, systemLogin());
        db.executeImmediate("create table t (id integer, name varchar(60), code char(8), "
                            "small smallint, wide integer, d double precision, "
                            "amount numeric(9,2), b blob sub_type 0)");
    }
    void TearDown() override
    {
        if (db.isAttached())
            db.detach();
        if (GetParam())
            QFile::remove(path);
    }

    QTemporaryDir dir;
    QString path;
    std::string connection;
    firebird::Attachment db;
};

TEST_P(FirebirdLayer, NamedParametersBindAndColumnsReadByNameOrPosition)
{
    firebird::Transaction tx(db, firebird::Transaction::Access::ReadWrite);
    firebird::Statement insert(db, tx);
    insert.setSql("insert into t (id, name, code, small, wide, d, amount, b) "
                  "values (:id, :name, :code, :id, :wide, :d, :amount, :b)");
    std::vector<std::uint8_t> big(200000);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = std::uint8_t((i * 31 + 7) & 0xFF);
    insert.setParam(":id", std::int64_t(7));
    insert.setParam("NAME", std::string("Узел Ёлкино № 3"));
    insert.setParam("code", std::string("TP12"));
    insert.setParam("wide", std::int64_t(40000));
    insert.setParam("d", 0.125);
    insert.setParam("amount", 12.25);
    insert.setParam("b", firebird::Bytes{big});
    insert.execute();
    insert.setParam("id", std::int64_t(8));
    insert.setParam("name", firebird::Value());
    insert.setParam("code", firebird::Value());
    insert.setParam("wide", std::int64_t(70000));
    insert.setParam("d", firebird::Value());
    insert.setParam("amount", firebird::Value());
    insert.setParam("b", firebird::Value());
    insert.execute();

    firebird::Statement select(db, tx);
    select.setSql("select id, name, code, small, wide, d, amount, b from t where id >= :low "
                  "order by id");
    select.setParam("low", std::int64_t(7));
    select.execute();
    ASSERT_FALSE(select.eof());
    EXPECT_EQ(select.asInt32("ID"), 7);
    EXPECT_EQ(select.asText("name"), "Узел Ёлкино № 3");
    EXPECT_EQ(select.asText("code"), "TP12") << "CHAR columns lose their padding";
    EXPECT_EQ(select.asInt16("small"), 7);
    EXPECT_EQ(select.asInt16("wide"), -25536) << "the low 16 bits of 40000, signed";
    EXPECT_EQ(select.asInt32("wide"), 40000);
    EXPECT_DOUBLE_EQ(select.asDouble("d"), 0.125);
    EXPECT_DOUBLE_EQ(select.asDouble("amount"), 12.25);
    EXPECT_EQ(select.asText("amount"), "12.25");
    EXPECT_EQ(select.asBlob("b"), big) << "a blob above 64 KB comes back whole";
    EXPECT_EQ(select.asText(4), "40000");
    select.next();
    ASSERT_FALSE(select.eof());
    EXPECT_EQ(select.asInt16("wide"), 4464) << "the low 16 bits of 70000";
    EXPECT_TRUE(select.isNull("name"));
    EXPECT_EQ(select.asText("name"), "");
    EXPECT_EQ(select.asInt32("d"), 0);
    EXPECT_DOUBLE_EQ(select.asDouble("amount"), 0.0);
    EXPECT_TRUE(select.asBlob("b").empty());
    select.next();
    EXPECT_TRUE(select.eof());

    select.setParam("low", firebird::Value()); // NULL matches nothing
    select.execute();
    EXPECT_TRUE(select.eof());
}

TEST_P(FirebirdLayer, ErrorsCarryTheClientsTextAndName)
{
    firebird::Transaction tx(db, firebird::Transaction::Access::ReadOnly);
    firebird::Statement st(db, tx);
    st.setSql("select id from t where id = :nid");
    try {
        st.setParam("nname", std::int64_t(1));
        FAIL() << "an unknown parameter was accepted";
    } catch (const firebird::Error& e) {
        EXPECT_NE(std::string(e.what()).find("nname"), std::string::npos) << e.what();
    }
    st.execute();
    try {
        (void)st.columnIndex("fullname");
        FAIL() << "an unknown column was found";
    } catch (const firebird::Error& e) {
        EXPECT_NE(std::string(e.what()).find("fullname"), std::string::npos) << e.what();
    }
    st.setSql("select nothing from tbl_nowhere");
    try {
        st.execute();
        FAIL() << "a select of a missing table ran";
    } catch (const firebird::Error& e) {
        EXPECT_NE(e.clientMessage().find("TBL_NOWHERE"), std::string::npos) << e.what();
        EXPECT_NE(e.context().find("select nothing from tbl_nowhere"), std::string::npos);
    }
}

TEST_P(FirebirdLayer, VersionOfTheEngineNamesItsPlatform)
{
    const std::string version = db.firebirdVersion();
    EXPECT_EQ(version.substr(0, 4), "LI-V") << version;
}

INSTANTIATE_TEST_SUITE_P(ServedAndDirect, FirebirdLayer, ::testing::Values(true, false),
                         [](const auto& tp) { return tp.param ? "Served" : "Direct"; });

TEST(FirebirdServer, ServiceManagerTellsVersionAndImplementation)
{
    requireServer();
    const firebird::ServerVersion v = firebird::queryServerVersion(
        firebirdServer().toStdString(), "SYSDBA", systemLogin().password);
    EXPECT_EQ(v.implementation, "Firebird/Linux/AMD/Intel/x64");
    EXPECT_EQ(v.version.substr(0, 4), "LI-V") << v.version;
}

TEST(FirebirdServer, AWrongPasswordIsRefusedWithTheClientsText)
{
    requireServer();
    try {
        firebird::queryServerVersion(firebirdServer().toStdString(), "SYSDBA", "wrong!!!");
        FAIL() << "the server took a wrong password";
    } catch (const firebird::Error& e) {
        EXPECT_NE(std::string(e.what()).find("password"), std::string::npos) << e.what();
        EXPECT_NE(e.context().find("service_mgr"), std::string::npos);
    }
}

} // namespace
