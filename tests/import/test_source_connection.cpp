// Opening a source: the server's platform, the connection, the node list, the optional columns
// and the companion settings database.
#include "import/source_connection.h"
#include "tests/import/import_fixture.h"

#include <gtest/gtest.h>

using namespace vembra;
using namespace vembra::test;

namespace {

QStringList namesOf(const std::vector<sample::SystemNode>& nodes)
{
    QStringList names;
    for (const auto& n : nodes)
        names << n.fullName;
    return names;
}

using SourceConnection = ImportTest;

TEST_F(SourceConnection, TheServersPlatformIsLinuxAndItsPathsAreRewritten)
{
    requireServer();
    const PlatformAnswer answer = QueryServerPlatform(dm, firebirdServer(), dm.systemPassword());
    EXPECT_EQ(answer.platform, kPlatformLinux);
    EXPECT_TRUE(
        answer.label.startsWith(QStringLiteral("Remote server: Platform: Linux, version: LI-V3.0")))
        << answer.label.toStdString();
    EXPECT_EQ(dm.srvProp.serverName(), firebirdServer());
    EXPECT_EQ(dm.srvProp.params(),
              QStringList({QStringLiteral("user_name=SYSDBA"),
                           QStringLiteral("password=") + dm.systemPassword()}));

    const QString name =
        serverSourceName(QStringLiteral(" ") + firebirdServer() + " ",
                         QStringLiteral(" c:\\database\\base1\\a.norv "), answer.platform);
    EXPECT_EQ(name, firebirdServer() + QStringLiteral(":/Database/Base1/A.NORV"));
    // The server is asked for the rewritten path, which it names in its error.
    SourceState state;
    try {
        ConnectSource(dm, name, state);
        FAIL() << "a missing database opened";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("/Database/Base1/A.NORV"), std::string::npos)
            << e.what();
    }
    EXPECT_EQ(state.FSourceName, name);
    EXPECT_TRUE(state.status1.isEmpty());
    EXPECT_FALSE(state.listed);
    EXPECT_EQ(serverSourceName(QStringLiteral("h"), QStringLiteral(" d/a.norv "), kPlatformNone),
              QStringLiteral("h:d/a.norv"));
}

TEST_F(SourceConnection, AnUnreachableServiceManagerThrowsTheClientsError)
{
    EXPECT_THROW(QueryServerPlatform(dm, QStringLiteral("127.0.0.1/1"), dm.systemPassword()),
                 std::exception);
}

struct ListCase {
    const char* name;
    bool served;
    sample::SystemSchema schema;
};

void PrintTo(const ListCase& c, std::ostream* os)
{
    *os << c.name;
}

class SourceListing : public ImportTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(SourceListing, ConnectsListsInItsOrderAndProbesColumns)
{
    const ListCase& c = GetParam();
    const auto nodes = smallNodes({3, 4, 2, 5});
    QString name;
    if (c.served) {
        requireServer();
        name = firebirdServer() + QLatin1Char(':') + writeServedSource(c.schema, nodes);
    } else {
        name = writeFileSource(dir.path(), c.schema, nodes);
    }
    SourceState state;
    ConnectSource(dm, name, state);
    EXPECT_EQ(state.FSourceName, name);
    EXPECT_EQ(state.status1, QStringLiteral("Database connected OK"))
        << "failed before the fix: a Linux engine left the first status line empty";
    EXPECT_EQ(state.status2, QStringLiteral("DataSet open OK"));
    ASSERT_TRUE(state.listed);
    QStringList expected = namesOf(nodes);
    if (c.schema.vembraId)
        std::reverse(expected.begin(), expected.end()); // vembraid runs against the ids
    EXPECT_EQ(state.nodes, expected);
    EXPECT_EQ(state.HasJumperDistance, c.schema.jumperDistance);
    EXPECT_TRUE(dm.FDSet.active());
    EXPECT_TRUE(dm.FDSet.eof()) << "nname is left unassigned";
    EXPECT_EQ(SourceColumnExists(dm, QStringLiteral("tbl_deviceinfo"), QStringLiteral("FVexelID")),
              c.schema.fVexelId);
    EXPECT_EQ(SourceColumnExists(dm, QStringLiteral("TBL_DEVICEINFO"), QStringLiteral("PimId")),
              c.schema.pimId);
    EXPECT_FALSE(SourceColumnExists(dm, QStringLiteral("tbl_node"), QStringLiteral("nothing")));
}

INSTANTIATE_TEST_SUITE_P(
    Variants, SourceListing,
    ::testing::Values(ListCase{"ServedAllColumns", true, {true, true, true, true}},
                      ListCase{"ServedNoOptional", true, {false, false, false, false}},
                      ListCase{"FileAllColumns", false, {true, true, true, true}},
                      ListCase{"FileNoOptional", false, {false, false, false, false}}),
    [](const auto& tp) { return std::string(tp.param.name); });

TEST_F(SourceConnection, ASourceWithoutTheNodeTablesShowsTheClientsError)
{
    const QString path = dir.path() + QStringLiteral("/empty.norv");
    firebird::Attachment::create(path.toStdString(), systemLogin()).detach();
    SourceState state;
    EXPECT_THROW(ConnectSource(dm, path, state), std::exception);
    EXPECT_EQ(state.status1, QStringLiteral("Database connected OK"));
    EXPECT_TRUE(state.status2.isEmpty());
    EXPECT_FALSE(state.listed);
    EXPECT_EQ(state.FSourceName, path);
}

struct SettingsCase {
    const char* name;
    QByteArray blob; // empty: no settings database
    int status;
    bool readable;
    bool iVexel;
    bool fVexel;
};

void PrintTo(const SettingsCase& c, std::ostream* os)
{
    *os << c.name;
}

class SourceSettings : public ImportTest, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(SourceSettings, FlagsComeFromTheCompanionDatabase)
{
    const SettingsCase& c = GetParam();
    const QString source =
        writeFileSource(dir.path(), {}, smallNodes({2}), QStringLiteral("city.norv"));
    sample::writeSettingsDatabase((dir.path() + QStringLiteral("/citySettings.norv")).toStdString(),
                                  systemLogin(), {{c.status, c.blob}});
    SourceState state;
    ConnectSource(dm, source, state);
    const auto flags = ReadSourceSettings(dm);
    EXPECT_EQ(flags.has_value(), c.readable);
    if (flags) {
        EXPECT_EQ(flags->iVexel, c.iVexel);
        EXPECT_EQ(flags->fVexel, c.fVexel);
    }
    EXPECT_FALSE(dm.SDB.connected()) << "the settings database is open only while it is read";
}

QByteArray blobWithWord(int size, int word)
{
    QByteArray b(size, '\0');
    if (size >= 52) {
        b[50] = char(word & 0xFF);
        b[51] = char(word >> 8);
    }
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Blobs, SourceSettings,
    ::testing::Values(SettingsCase{"Word96", blobWithWord(52, 96), 0, true, true, true},
                      SettingsCase{"Word64", blobWithWord(52, 64), 0, true, false, true},
                      SettingsCase{"Longer", blobWithWord(80, 32), 0, true, true, false},
                      SettingsCase{"Short", QByteArray(51, char(0x60)), 0, false, false, false},
                      SettingsCase{"OtherStatus", blobWithWord(52, 96), 1, false, false, false}),
    [](const auto& tp) { return std::string(tp.param.name); });

TEST_F(SourceConnection, AMissingSettingsDatabaseIsAnErrorAfterTheList)
{
    const QString source =
        writeFileSource(dir.path(), {}, smallNodes({2}), QStringLiteral("alone.norv"));
    SourceState state;
    ConnectSource(dm, source, state);
    EXPECT_TRUE(state.listed);
    EXPECT_THROW(ReadSourceSettings(dm), std::exception);
    EXPECT_FALSE(dm.SDB.connected());
}

TEST_F(SourceConnection, AnUpperCaseExtensionLooksForNoSettings)
{
    const QString source =
        writeFileSource(dir.path(), {}, smallNodes({2}), QStringLiteral("CITY.NORV"));
    SourceState state;
    ConnectSource(dm, source, state);
    EXPECT_FALSE(ReadSourceSettings(dm).has_value());
}

} // namespace

namespace {

TEST(SystemComponents, DataModuleCreationSetsTheLoginOfBothConnections)
{
    TDM dm;
    EXPECT_TRUE(dm.FDB.login().password.empty()) << "nothing before the creation handler";
    dm.DataModuleCreate(QStringLiteral("/nowhere/"));
    for (const SystemDatabase* db : {&dm.FDB, &dm.SDB}) {
        EXPECT_EQ(db->login().user, "SYSDBA");
        EXPECT_EQ(db->login().password, dm.systemPassword().toStdString());
        EXPECT_EQ(db->login().charset, "WIN1251");
        EXPECT_EQ(db->login().dialect, 3);
        EXPECT_FALSE(db->connected()) << "nothing is opened";
    }
    EXPECT_EQ(dm.systemPassword().size(), 8);
    EXPECT_EQ(dm.FDB.defaultTransaction(), &dm.FTrans);
    EXPECT_EQ(dm.SDB.defaultTransaction(), &dm.STrans);
    EXPECT_EQ(dm.FDSet.sql(),
              QStringLiteral("select n.id, n.fullname, n.connectstr, m.map from tbl_node n, "
                             "tbl_map m where n.fullname = :nname and m.nodeid = n.id"));
}

TEST(SystemComponents, ClosingALostConnectionLeavesItClosed)
{
    TDM dm;
    dm.DataModuleCreate(QStringLiteral("/nowhere/"));
    dm.FDB.setDBName(QStringLiteral("/nowhere/missing.norv"));
    EXPECT_THROW(dm.FDB.open(), std::exception);
    EXPECT_FALSE(dm.FDB.connected());
    EXPECT_NO_THROW(dm.FDB.close());
    EXPECT_THROW(dm.Q1.execQuery(), std::exception) << "no statement runs unconnected";
}

} // namespace
