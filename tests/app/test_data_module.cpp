#include "app/dm/connection_string.h"
#include "app/dm/data_module.h"
#include "app/dm/passwords.h"
#include "localdb/local_statements.h"
#include "localdb/table_fields.h"
#include "platform/sqlite/sqlite_database.h"
#include "tests/support/work_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vembra;
using namespace vembra::test;

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

class DataModuleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        appData = dir.path() + QDir::separator();
        dm.DataModuleCreate(appData);
    }
    QString folder() const { return appData + s("Norv/VembraNavigator/"); }

    QTemporaryDir dir;
    QString appData;
    TDM dm;
};

TEST(Passwords, AreBuiltToTheirLengths)
{
    LocalPasswordBuffer local;
    buildLocalPassword(local);
    EXPECT_EQ(passwordText(local).size(), 9u);
    EXPECT_EQ(local[9], '\0');
    SystemPasswordBuffer system;
    buildSystemPassword(system);
    EXPECT_EQ(passwordText(system).size(), 8u);
}

TEST_F(DataModuleTest, CreationPointsEveryLocalComponentAtTheDefaultDatabase)
{
    const QString path = TDM::defaultDatabasePath(appData);
    EXPECT_EQ(path, QDir::toNativeSeparators(folder() + s("_data.mdb")));
    const QString expected = s("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path +
                             s(";Mode=ReadWrite|Share Deny None;Persist Security Info=True;"
                               "Jet OLEDB:Database Password=") +
                             dm.localPassword() + s(";");
    for (const LocalComponent* c :
         {static_cast<const LocalComponent*>(&dm.T1), static_cast<const LocalComponent*>(&dm.T2),
          static_cast<const LocalComponent*>(&dm.Cmd1), static_cast<const LocalComponent*>(&dm.AQ1),
          static_cast<const LocalComponent*>(&dm.aQ2)})
        EXPECT_EQ(c->connectionString(), expected);
    EXPECT_FALSE(dm.T1.isOpen());
    EXPECT_FALSE(dm.T2.isOpen());
    EXPECT_EQ(dm.localPassword().size(), 9);
}

TEST_F(DataModuleTest, PointingAtAnotherFileOpensBothTablesAndChangesOnlyThePath)
{
    const QString before = dm.AQ1.connectionString();
    const QString other = folder() + s("net1.mdb");
    copyTemplate(other);
    dm.pointLocalComponentsAt(other);
    EXPECT_TRUE(dm.T1.isOpen());
    EXPECT_TRUE(dm.T2.isOpen());
    const QString after = dm.T1.connectionString();
    for (const QString& cs : {dm.T2.connectionString(), dm.Cmd1.connectionString(),
                              dm.AQ1.connectionString(), dm.aQ2.connectionString()})
        EXPECT_EQ(cs, after);
    QString expected = before;
    expected.replace(dataSourceOf(before), other);
    EXPECT_EQ(after, expected);
    EXPECT_EQ(dataSourceOf(after), other);
    EXPECT_TRUE(TableHasField(dm.T2, s("FVexelID")));
    EXPECT_FALSE(TableHasField(dm.T2, s("fvexelid")));
}

TEST_F(DataModuleTest, FilesThatAreNoWorkingDatabaseFailAndStayUntouched)
{
    struct Case {
        const char* name;
        std::function<void(const QString&)> make;
        const char* message;
    };
    const Case cases[] = {
        {"random bytes",
         [](const QString& p) { writeAll(p, QByteArray(4096, '\x5a') + "garbage"); },
         "file is not a database"},
        {"another SQLite file",
         [](const QString& p) {
             sqlite::Database db(p.toStdString(), sqlite::Database::Mode::ReadWriteCreate);
             db.exec("create table tbl_node (id integer); create table tbl_deviceinfo (id int)");
         },
         "not a working database"},
        {"missing tables",
         [](const QString& p) {
             sqlite::Database db(p.toStdString(), sqlite::Database::Mode::ReadWriteCreate);
             db.exec("PRAGMA application_id = 1447969110; create table tbl_node (id integer)");
         },
         "not a working database"},
        {"empty file", [](const QString& p) { writeAll(p, QByteArray()); },
         "not a working database"},
    };
    for (const auto& c : cases) {
        const QString path = folder() + s(c.name) + s(".mdb");
        c.make(path);
        const QByteArray bytes = readAll(path);
        try {
            dm.pointLocalComponentsAt(path);
            ADD_FAILURE() << c.name << " opened as a working database";
        } catch (const std::exception& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
                << c.name << ": " << e.what();
        }
        EXPECT_EQ(readAll(path), bytes) << c.name;
        EXPECT_FALSE(QFile::exists(path + s("-journal"))) << c.name;
        EXPECT_FALSE(dm.T1.isOpen()) << c.name;
    }
    try {
        dm.pointLocalComponentsAt(folder() + s("missing.mdb"));
        ADD_FAILURE() << "a missing file opened";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("missing.mdb"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(QFile::exists(folder() + s("missing.mdb")));
}

TEST_F(DataModuleTest, SharedQueryBindsNamedParametersAndWalksRows)
{
    const QString path = folder() + s("q.mdb");
    copyTemplate(path);
    dm.pointLocalComponentsAt(path);
    for (int id = 1; id <= 3; ++id) {
        dm.AQ1.setSql(s(statements::kInsertNode));
        dm.AQ1.setParam(s("ni"), id);
        dm.AQ1.setParam(s("nn"), std::string("Node ") + std::to_string(id));
        dm.AQ1.setParam(s("cn"), 10 - id);
        dm.AQ1.setParam(s("map"), QByteArray("\x78\x9c", 2));
        dm.AQ1.setParam(s("is"), id == 2 ? ParamValue{} : ParamValue{0.005});
        dm.AQ1.execSql();
    }
    dm.AQ1.setSql(s(statements::kNodeList));
    dm.AQ1.prepare();
    dm.AQ1.open();
    EXPECT_EQ(dm.AQ1.recordCount(), 3);
    QStringList names;
    while (!dm.AQ1.eof()) {
        names << dm.AQ1.fieldAsString(s("NODE"));
        if (dm.AQ1.fieldAsInteger(s("id")) == 2) {
            EXPECT_EQ(dm.AQ1.fieldAsFloat(s("IdSize")), 0.0); // NULL reads as 0
        }
        dm.AQ1.next();
    }
    EXPECT_EQ(names, QStringList({s("Node 3"), s("Node 2"), s("Node 1")}));

    dm.aQ2.setSql(s(statements::kNodeMap));
    dm.aQ2.setParam(s("nid"), 2);
    dm.aQ2.open();
    ASSERT_FALSE(dm.aQ2.eof());
    EXPECT_EQ(dm.aQ2.recNo(), 1);
    EXPECT_EQ(dm.aQ2.fieldAsBytes(s("map")).size(), 2u);
    dm.aQ2.setParam(s("nid"), 99);
    dm.aQ2.open();
    EXPECT_TRUE(dm.aQ2.eof());
    EXPECT_EQ(dm.aQ2.recordCount(), 0);
}

} // namespace
