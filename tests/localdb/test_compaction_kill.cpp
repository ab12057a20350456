#include "app/dm/local_connections.h"
#include "localdb/compaction.h"
#include "platform/sqlite/sqlite_statement.h"
#include "tests/support/work_files.h"
#include "tools/sample/sample_database.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace vembra;

namespace {

struct Counts {
    long long nodes = -1;
    long long devices = -1;
};

Counts countRows(const QString& path)
{
    const auto db = openWorkingDatabase(path);
    Counts c;
    auto nodes = db->prepare("select count(*) from tbl_node");
    c.nodes = nodes.step() ? nodes.int64At(0) : -1;
    auto devices = db->prepare("select count(*) from tbl_deviceinfo");
    c.devices = devices.step() ? devices.int64At(0) : -1;
    auto check = db->prepare("PRAGMA quick_check");
    EXPECT_TRUE(check.step() && check.textAt(0) == "ok");
    return c;
}

// A process compacting the default database is killed at random moments; every time the default
// database is still there, whole, with every node.
TEST(CompactionKill, DefaultDatabaseSurvivesTwentyKills)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("_data.mdb"));
    sample::writeSampleDatabase(test::templatePath(), source, sample::sizedNodes(12, 1500, 5));
    {
        // Free pages give the compaction work to do.
        const auto db = openWorkingDatabase(source);
        db->exec("delete from tbl_node where id = 12");
    }
    const Counts expected = countRows(source);
    ASSERT_EQ(expected.nodes, 11);

    QRandomGenerator random(20261211);
    int survived = 0;
    int midway = 0;
    for (int kill = 0; kill < 20; ++kill) {
        QProcess victim;
        victim.start(QStringLiteral(VEMBRA_BIN_DIR "/compaction_victim"), {dir.path()});
        ASSERT_TRUE(victim.waitForStarted(5000));
        ASSERT_TRUE(victim.waitForReadyRead(5000));
        QThread::msleep(random.bounded(5, 400));
        victim.kill();
        victim.waitForFinished(5000);
        EXPECT_NE(victim.exitStatus(), QProcess::NormalExit)
            << victim.readAllStandardError().toStdString();

        ASSERT_TRUE(QFile::exists(source)) << "kill " << kill << " lost the default database";
        midway += QFile::exists(dir.filePath(QStringLiteral("data~.mdb")));
        const Counts after = countRows(source);
        EXPECT_EQ(after.nodes, expected.nodes) << "kill " << kill;
        EXPECT_EQ(after.devices, expected.devices) << "kill " << kill;
        survived += after.nodes == expected.nodes && after.devices == expected.devices;
    }
    EXPECT_EQ(survived, 20);
    EXPECT_GT(midway, 0) << "no kill landed while a copy was being written";
    // The next start removes whatever copy a kill left and compacts again.
    compactWorkingDatabase(source, dir.filePath(QStringLiteral("data~.mdb")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("data~.mdb"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("data~.mdb-journal"))));
    EXPECT_EQ(countRows(source).devices, expected.devices);
}

} // namespace
